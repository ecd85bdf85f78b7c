#pragma once
// Building the new path of a track from the naming mask, the album fields and the options.

#include "naming/NamingInput.h"

#include <QString>

/// The destination texts that the destination drop-down offers besides a folder path.
namespace Destination {
inline QString mp3Directory() { return QStringLiteral("MP3 directory"); }
inline QString parentDirectory() { return QStringLiteral("Parent directory"); }
} // namespace Destination

/// Returns the full path of the track's new file, ending in ".mp3": the destination folder,
/// the mask with every variable replaced, the text effects applied to the part that comes from
/// the mask's variables. currentDirectory is the folder of the listed files, without trailing
/// separator. The mask's "\" becomes the platform's separator. Changes nothing on disk.
[[nodiscard]] QString buildNewFileName(const AlbumFields &album, const NamingOptions &options,
                                       const QString &currentDirectory, const TrackInput &track);

/// Applies the chosen text effect and space replacement to the part of path that comes from the
/// mask's variables (the destination and fixed leading mask folders keep their spelling);
/// returns path unchanged when neither option is ticked.
[[nodiscard]] QString applyTextEffects(const QString &path, const NamingOptions &options);
