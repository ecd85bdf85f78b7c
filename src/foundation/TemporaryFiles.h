#pragma once
// Every temporary file the program makes beside a user's file (a tag rewrite's copy, a copy
// between file systems, a playlist being written) has one short name pattern:
// ".vnt-" + 8 hex digits naming the real file + "-" + 4 random letters + ".tmp" (22 bytes), so
// a name near the file system's limit still gets one, and what a crash leaves behind can be
// recognised and tied to the file it was made for.
//
// Writing into place: the new content goes into a temporary file in the destination folder,
// every write and the flush to disk are checked, and only then is it renamed over the old file.
// On any failure the old file stays as it was and the temporary file is removed.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>

namespace TemporaryFiles {

/// A new temporary path in the folder of realPath, named for realPath's file name.
[[nodiscard]] QString pathFor(const QString &realPath);

/// Opens a new temporary file for realPath (never an existing file) with the mode (NewOnly is
/// added); false with the file's error when none can be made.
[[nodiscard]] bool openNewFor(QFile &file, const QString &realPath, QIODevice::OpenMode mode);

/// True when a file name has the temporary pattern.
[[nodiscard]] bool isTemporaryName(const QString &fileName);

/// True when a temporary file name was made for the real file name.
[[nodiscard]] bool belongsTo(const QString &temporaryName, const QString &realName);

/// The temporary files in a folder (names only), sorted.
[[nodiscard]] QStringList inFolder(const QString &folder);

/// Writes bytes into place as described above; empty text on success, else the error's description.
[[nodiscard]] QString writeInPlace(const QString &path, const QByteArray &bytes);

/// Copies a file into place (replacing what is there) the same way; empty text on success.
[[nodiscard]] QString copyInPlace(const QString &source, const QString &path);

/// Renames a file over another, replacing it in one step; empty text on success, else the error.
[[nodiscard]] QString renameOver(const QString &from, const QString &to);

/// Flushes a written file's content to the disk; false when the system reports a failure.
[[nodiscard]] bool syncToDisk(int handle);

/// The longest file name and path (in bytes) the file system under a folder takes, measured at
/// the nearest existing level; 255 and 4096 when the system does not say.
struct NameLimits {
    int name = 255;
    int path = 4096;
};
[[nodiscard]] NameLimits nameLimits(const QString &folder);

/// The message for a name or path the destination cannot hold, empty when it fits:
/// "File name too long for the destination: N bytes, at most M".
[[nodiscard]] QString tooLongMessage(const QString &path);

} // namespace TemporaryFiles

namespace StopPoints {

/// Tests stop a job at a named step to see what a crash there leaves behind; the hook never
/// returns when it stops. Without a hook the steps cost nothing.
using Hook = std::function<void(const char *step)>;
void setHook(Hook hook);
/// Marks that a step is done (a copy is complete, a file is renamed into place, ...).
void reached(const char *step);

} // namespace StopPoints
