#pragma once
// Replacing a file by a new version of itself, so that a crash, a full disk or a failed write
// never leaves a damaged file: the new file is written beside the original and checked, and
// only a whole, checked file is renamed over the original.

#include <QFile>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

namespace SafeFileRewrite {

enum class Outcome {
    Ok,
    CannotCreate, ///< no new file can be made in the file's folder
    CopyFailed, ///< reading the original or writing the copy failed
    VerifyFailed, ///< the edited copy did not pass the check
    ReplaceFailed, ///< the copy could not take the original's place
    Replaced, ///< the original was moved away or replaced while the copy was made: nothing written
};

/// Checks the new file; gets its path, answers true when it is right.
using Step = std::function<bool(const QString &copyPath)>;

/// Writes the new file; gets the original open for reading and the new file open for writing
/// (empty), answers true on success.
using Fill = std::function<bool(QFile &original, QFile &copy)>;

/// Rewrites that share one sync to the disk instead of one each: before a new file takes its
/// original's name, the original stays reachable under a temporary name beside it (a second
/// link to the same bytes, nothing is copied); settle() puts every new file on the disk with one
/// sync of each file system and then removes those names. A crash before that leaves each
/// original whole under its temporary name, where an undo finds it.
class SyncGroup
{
public:
    SyncGroup() = default;
    SyncGroup(const SyncGroup &) = delete;
    SyncGroup &operator=(const SyncGroup &) = delete;
    ~SyncGroup() { (void)settle(); }

    /// Keeps the original at `target` under a temporary name; false when that cannot be done
    /// (the file system has no links): the rewrite then syncs on its own.
    [[nodiscard]] bool keep(const QString &target);
    /// Syncs the file systems of the kept files and removes the kept names; false when a sync
    /// failed (the kept names then stay). Nothing to do leaves it true.
    [[nodiscard]] bool settle();

private:
    QStringList kept_;
};

/// Writes a new file in the file's folder with `fill` (one write of the bytes where an edit in
/// place would move the whole file), runs verify on it, and puts it in the original's place
/// (with the original's permissions). On any failure the new file is removed and the original
/// is left as it was. With a group, the new file is synced when the group settles.
[[nodiscard]] Outcome replaceWithWrittenCopy(const QString &path, const Fill &fill, const Step &verify,
                                             SyncGroup *group = nullptr);

/// Appends the bytes of `source` from `offset` to its end to `target`; false on a short read or write.
[[nodiscard]] bool appendFrom(QFile &source, qint64 offset, QFile &target);

/// True when the bytes of file a from offset fromA to its end equal those of file b from fromB.
[[nodiscard]] bool sameTail(const QString &a, qint64 fromA, const QString &b, qint64 fromB);

/// True when the file has none of the write permission bits of its owner (or cannot be written).
[[nodiscard]] bool isReadOnlyFile(const QString &path);

} // namespace SafeFileRewrite
