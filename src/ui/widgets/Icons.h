#pragma once
// The small pictures behind the image keys of the file lists and the result log, drawn once
// with QPainter so every platform shows the same set.

#include <QIcon>
#include <QString>
#include <QStringList>

namespace Icons {

/// Every image key the program uses: the file lists', the result log's and the mask editor's.
[[nodiscard]] QStringList knownKeys();

} // namespace Icons

/// Returns the picture behind an image key ("FileIcon", "FileIconTag", "FileIconTagV2",
/// "FileIconTagV1+2", "Info", "file", "tag", "errorTop", "info", "taginfo", "warning",
/// "error", "playlist", "cover", "mask", "mask2", "TrackError"); an unknown key gives a null
/// icon.
[[nodiscard]] QIcon iconForKey(const QString &key);
