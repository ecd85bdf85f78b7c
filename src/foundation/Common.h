#pragma once
// Stateless path, folder and file helpers used by every window and job.
//
// Paths use the platform's separator: "\" on Windows, "/" elsewhere. The pure string helpers take
// an optional PathStyle so both spellings can be worked on from any platform; getFileName always
// accepts both separators. Failures come back as results (false, empty text, codes), never as
// message boxes: the callers decide what to tell the user.

#include <QString>
#include <QtGlobal>

namespace Common {

/// Which path spelling a string helper works on.
enum class PathStyle {
    Native,  ///< the platform's own: Windows on Windows, Posix elsewhere
    Windows, ///< "\" separator, drive ("C:\") and network ("\\server\share\") roots
    Posix,   ///< "/" separator, the single root "/"
};

/// Returns the separator character of a path style ("\" or "/").
[[nodiscard]] QChar separator(PathStyle style = PathStyle::Native);

/// Returns Windows or Posix for Native, the style itself otherwise.
[[nodiscard]] PathStyle resolvedStyle(PathStyle style);

/// Returns the path trimmed of spaces with a separator appended unless it ends in one; an empty or
/// all-spaces path comes back unchanged.
[[nodiscard]] QString addBackslash(const QString &path, PathStyle style = PathStyle::Native);

/// Returns the text after the last "\" or "/", the whole path without either, empty when it ends in one.
[[nodiscard]] QString getFileName(const QString &path);

/// Returns getFileName cut before its last "." (the name whole when it holds no ".").
[[nodiscard]] QString getFileTitle(const QString &path);

/// Returns the text up to and including the last separator; empty when there is none.
[[nodiscard]] QString getFolderPath(const QString &path, PathStyle style = PathStyle::Native);

/// Returns the text before the last separator that is not the final character (C:\a\b\ -> C:\a,
/// C:\a -> C:, /a/b -> /a, /a -> "/"); empty when there is no such separator.
[[nodiscard]] QString getParentFolder(const QString &path, PathStyle style = PathStyle::Native);

/// Returns the text after the last separator (empty when the path ends in one, the whole path
/// when it holds none).
[[nodiscard]] QString getLastPathPart(const QString &path, PathStyle style = PathStyle::Native);

/// Returns the root of a path with its closing separator ("C:\", "\\server\share\", "/"), or
/// an empty text when the path has no usable root.
[[nodiscard]] QString getPathRoot(const QString &path, PathStyle style = PathStyle::Native);

/// Replaces every occurrence of find; text inserted by a replacement is never searched again.
[[nodiscard]] QString replaceText(const QString &text, const QString &find, const QString &replacement,
                                  Qt::CaseSensitivity mode = Qt::CaseSensitive);

/// True when the path names an existing file (not a folder); false on any error.
[[nodiscard]] bool fileExists(const QString &path);

/// True when both files exist and hold exactly the same bytes.
[[nodiscard]] bool sameContent(const QString &a, const QString &b);

/// True when the path (one trailing separator ignored) names an existing folder.
[[nodiscard]] bool folderExists(const QString &path);

/// Creates every missing level of an absolute folder path; true when the folder exists at the end.
/// Levels created before a failure stay.
[[nodiscard]] bool createFolderPath(const QString &path);

/// Returns the path of the folder "Download" (without a trailing separator): beside the program,
/// or in the user's cache folder when installed (AppFolder).
[[nodiscard]] QString downloadFolder();

/// True when the folder "Download" in the application folder exists or could be created.
[[nodiscard]] bool checkDownloadFolder();

/// The result of moveFile; the values are the codes the rename job's log is built on.
enum class MoveResult : int {
    Moved = 0,             ///< moved (or copied from an optical medium) and the destination exists
    SourceMissing = 1,     ///< the source file does not exist
    DestinationExists = 2, ///< a file with the destination name already exists
    FolderMissing = 3,     ///< the destination folder does not exist
    MoveFailed = 4,        ///< the move failed, or the rename to the temporary name failed
    NotThere = 5,          ///< the copy failed, or the destination is not there afterwards
    Error = 6,             ///< any other error during the operation
};

/// The suffix appended to a file's full path while its name changes only in letter case.
inline constexpr const char16_t *CaseRenameSuffix = u"_VARNELT";

/// Moves (renames) a file; across file systems it copies, verifies and removes the source, and
/// from an optical medium it copies and leaves the source. Never overwrites an existing file.
[[nodiscard]] MoveResult moveFile(const QString &source, const QString &destination);

/// The system's reason for the last failed moveFile of this thread ("No space left on device");
/// empty when it gave none. lastMoveFoundNoSpace: that reason is a full disk (or quota).
[[nodiscard]] QString lastMoveError();
[[nodiscard]] bool lastMoveFoundNoSpace();

/// True when `destination` is what a move between file systems leaves when a crash stops it after
/// the copy was complete: the source's verified copy (same size, time and bytes, on another file
/// system). The rename job and its pre-flight both decide by it.
[[nodiscard]] bool isInterruptedMoveCopy(const QString &source, const QString &destination);
/// Finishes such a move: when isInterruptedMoveCopy(), removes the source and answers true;
/// otherwise changes nothing.
[[nodiscard]] bool finishInterruptedMove(const QString &source, const QString &destination);

/// Deletes a file for good; true when it no longer exists. A file without the owner's write
/// permission is read-only and is refused, as is a folder or a missing file.
[[nodiscard]] bool deleteFile(const QString &path);

/// Moves the files of a NUL-separated list of full paths to the desktop trash (no question
/// asked: the caller confirms). Returns how many files ended up in the trash; a file that
/// cannot be moved there stays where it was.
int shellDeleteFiles(const QString &fileList, quint32 flags = 0);

/// Writes the text and one CR LF as UTF-8 into a temporary file beside the file, checked and
/// flushed to disk, then puts it in the file's place; returns an empty text on success, otherwise
/// the description of the error (an existing file then stays as it was).
[[nodiscard]] QString writeTextFile(const QString &fileName, const QString &text);

/// The bytes writeTextFile writes for a text.
[[nodiscard]] QByteArray textFileBytes(const QString &text);

/// Creates a new empty file that must not exist yet; returns its handle, or -1 when it exists
/// already or the name cannot be created. Close the handle with closeFileHandle.
[[nodiscard]] int createNewFile(const QString &fileName);

/// Closes a handle from createNewFile; true when it was closed.
bool closeFileHandle(int handle);

/// Returns the kind of drive a path (or, on Windows, a drive letter) lives on: "Removable",
/// "Drive Fixed", "Remote", "CD-Rom", "Ram disk" or "Unrecognized".
[[nodiscard]] QString getDriveTypeName(const QString &driveOrPath);

/// Returns the drive kind text for a mounted file system type ("iso9660", "nfs", "tmpfs", ...)
/// and whether its block device is removable; an empty type gives "Unrecognized".
[[nodiscard]] QString driveTypeNameForFileSystem(const QString &fileSystemType, bool removableDevice);

/// True when the path lives on an optical medium ("CD-Rom").
[[nodiscard]] bool isOnOpticalMedium(const QString &path);

/// Returns the system library folder: with -1 (true) ending in a separator, with 0 without one,
/// otherwise as the system gives it.
[[nodiscard]] QString getSystemFolder(int flag);

/// Returns the product version of a Windows program file ("6.0.2900.5512"), an empty text when it
/// has no version resource (or is no such file), "N/A" when the resource is damaged or unreadable.
[[nodiscard]] QString getFileVersion(const QString &fileName);

} // namespace Common
