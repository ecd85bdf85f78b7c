#pragma once
// Replacing a file by an edited copy of itself, so that a crash, a full disk or a failed write
// never leaves a damaged file: the copy is made beside the original, edited and checked, and
// only a whole, checked copy is renamed over the original.

#include <QString>
#include <QtGlobal>
#include <functional>

namespace SafeFileRewrite {

enum class Outcome {
    Ok,
    CannotCreate, ///< no new file can be made in the file's folder
    CopyFailed, ///< reading the original or writing the copy failed
    EditFailed, ///< the edit reported a failure
    VerifyFailed, ///< the edited copy did not pass the check
    ReplaceFailed, ///< the copy could not take the original's place
    Replaced, ///< the original was moved away or replaced while the copy was made: nothing written
};

/// Edits the copy of a file; gets the copy's path, answers true on success.
using Step = std::function<bool(const QString &copyPath)>;

/// Copies the file to a new file in its folder, runs edit and then verify on the copy, and puts
/// the copy in the original's place (with the original's permissions). On any failure the copy
/// is removed and the original is left as it was.
[[nodiscard]] Outcome replaceWithEditedCopy(const QString &path, const Step &edit, const Step &verify);

/// True when the bytes of file a from offset fromA to its end equal those of file b from fromB.
[[nodiscard]] bool sameTail(const QString &a, qint64 fromA, const QString &b, qint64 fromB);

/// True when the file has none of the write permission bits of its owner (or cannot be written).
[[nodiscard]] bool isReadOnlyFile(const QString &path);

} // namespace SafeFileRewrite
