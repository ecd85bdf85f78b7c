#pragma once
// One Varnelt job at a time changes a folder. Every writing command and window action (a rename
// job, its undo, a tag save or batch, a rename or deletion in a file list) holds the lock of each
// folder it changes for as long as it changes it; a second job that finds a lock held is
// refused with busyText() and changes nothing. The lock is advisory: a lock file per folder in
// "Locks" of the per-user data folder, named after the folder's resolved path, locked by the
// system for the job's process: a job that dies lets go of it with its process. Where no lock
// file can be made (a full or read-only data folder) the job goes on without one, and meets
// the same disk when it writes its journal.

#include <QString>
#include <QStringList>

#include <vector>

class FolderLock
{
public:
    /// Takes the locks of the folders (empty entries and repeats are skipped) without waiting:
    /// all of them, or none when one is held by another job.
    explicit FolderLock(const QStringList &folders);
    explicit FolderLock(const QString &folder) : FolderLock(QStringList {folder}) {}
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    /// True when every lock was taken.
    [[nodiscard]] bool isHeld() const { return held_; }

    /// "Another Varnelt job is changing this folder."
    [[nodiscard]] static QString busyText();

private:
    void release();
    std::vector<int> handles_;
    bool held_ = false;
};
