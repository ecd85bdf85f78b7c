#pragma once
// Building the new path of a track from the naming mask, the album fields and the options.

#include "foundation/Common.h"
#include "naming/NamingInput.h"

#include <QString>

/// The destination texts that the destination drop-down offers besides a folder path.
namespace Destination {
inline QString mp3Directory() { return QStringLiteral("MP3 directory"); }
inline QString parentDirectory() { return QStringLiteral("Parent directory"); }
} // namespace Destination

/// Returns the full path of the track's new file, ending in ".mp3": the destination folder,
/// the mask with every variable replaced, the text effects applied to the levels that come from
/// the mask's variables. currentDirectory is the folder of the listed files, without trailing
/// separator; parentFolderExists says whether its parent folder exists (for "Parent directory";
/// see parentFolderExists()). The mask's "\" (and a "/" typed in it) becomes the path style's
/// separator. Reads and changes nothing on disk.
///
/// Every inserted value loses its control characters, and none can open a folder level: the
/// separators in it become "-" (artist, album, title and comment are cleaned of every character
/// a file name may not hold; year, genre, track text and file name only of the separators). A
/// level of the mask that comes out as "." or ".." gets "_" for its dots, and a path built
/// without destination never starts at the root, so no value can place the file outside the
/// destination. A name longer than the file system allows is not cut here.
/// The style names the spelling of currentDirectory, the destination and the result.
[[nodiscard]] QString buildNewFileName(const AlbumFields &album, const NamingOptions &options,
                                       const QString &currentDirectory, const TrackInput &track,
                                       bool parentFolderExists,
                                       Common::PathStyle style = Common::PathStyle::Native);

/// Applies the chosen text effect and space replacement to the whole text (the album output
/// name); returns text unchanged when neither option is ticked.
[[nodiscard]] QString applyTextEffects(const QString &text, const NamingOptions &options);

/// Returns the destination folder prefix of a new path (with a trailing separator):
/// "MP3 directory" and a blank text give currentDirectory, "Parent directory" its parent when
/// that folder exists (else currentDirectory itself), any other text that folder.
[[nodiscard]] QString destinationPrefix(const QString &destination, const QString &currentDirectory,
                                        bool parentFolderExists,
                                        Common::PathStyle style = Common::PathStyle::Native);

/// Whether the parent folder of currentDirectory exists: what the callers of buildNewFileName
/// pass for "Parent directory".
[[nodiscard]] bool parentFolderExists(const QString &currentDirectory,
                                      Common::PathStyle style = Common::PathStyle::Native);
