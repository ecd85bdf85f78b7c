#pragma once
// The audio facts of one file as the tag editor shows them in its information box, and the
// tag version line under them. varnelt-cli prints the same lines.

#include <QString>
#include <QStringList>

class ID3Edit;

/// The information box's lines for a file whose tags `tagV2` holds (already loaded): size,
/// length, encoding type, bitrate, frequency, mode, padding, CRCs, copyright, original, private
/// bit, emphasis, an empty line, then "ID3 Tag version : ..." by the tags present. The audio
/// values come from the reader the file list uses for the file.
[[nodiscard]] QStringList mp3InfoLines(const QString &path, const ID3Edit &tagV2);
/// The same for a file whose tag state is already known.
[[nodiscard]] QStringList mp3InfoLines(const QString &path, bool tagHasPicture, bool hasV1, bool hasV2);

/// "ID3v1 + ID3v2", "ID3v1", "ID3v2" or "ID3 not found".
[[nodiscard]] QString tagVersionText(bool hasV1, bool hasV2);
