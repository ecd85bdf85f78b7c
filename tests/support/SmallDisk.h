#pragma once
// A small size-limited file system (tmpfs) mounted for one test, for full disks and moves
// between file systems; and a way to stop an operation at a named step as a crash would.

#include <QString>
#include <QTemporaryDir>

#include <functional>

class SmallDisk
{
public:
    /// Mounts a tmpfs of the size in a new temporary folder; isMounted() is false where the
    /// system does not allow it (not root, no mount namespace): the test then skips.
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    [[nodiscard]] bool isMounted() const { return mounted_; }
    [[nodiscard]] QString path() const { return dir_.path(); }
    [[nodiscard]] QString filePath(const QString &name) const { return dir_.filePath(name); }
    /// Fills the disk with a file until fewer than `leave` bytes are free.
    void fill(qint64 leave = 0) const;
    /// Makes the mounted disk read-only (nothing can be written to it any more); false when the
    /// system refuses.
    bool makeReadOnly() const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

/// Runs the operation in a child process that ends at once (as if killed) when it reaches the
/// named step (any step when null) for the `occurrence`th time; true when it did stop there. The
/// files it leaves are what a crash would leave.
bool runUntilStep(const char *step, const std::function<void()> &operation, int occurrence = 1);
