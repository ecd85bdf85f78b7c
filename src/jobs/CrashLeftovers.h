#pragma once
// What an interrupted run (a crash, a kill, a power cut) can leave in a folder, found and put
// right. Temporary copies (the recognisable ".vnt-....tmp" names, and the ".<name>.mp3.XXXXXX"
// copies of earlier versions) are deleted once the file they were made for is there and verified
// complete; a file or folder left under its letter-case
// scratch name ("..._VARNELT") gets its original name back when that name is free. The directory
// scan only looks (a warning line); the rename job cleans the folders it touches and logs each step.

#include <QList>
#include <QString>

struct CrashLeftover
{
    enum class Kind {
        TemporaryCopy,     ///< a temporary file of the program
        CaseRenamedFile,   ///< a file under its letter-case scratch name
        CaseRenamedFolder, ///< a folder under its letter-case scratch name
    };
    Kind kind = Kind::TemporaryCopy;
    QString path;     ///< the leftover itself
    QString realPath; ///< the file it was made for, or the name it is to get back; empty when unknown
};

/// The leftovers in a folder (not below it), read-only.
[[nodiscard]] QList<CrashLeftover> findCrashLeftovers(const QString &folder);

/// The warning the directory scan shows for a leftover.
[[nodiscard]] QString leftoverWarningText(const CrashLeftover &leftover);

/// One step the job took (or refused) in a folder beside the files, for its log.
struct FolderStep
{
    QString text;
    bool problem = false; ///< something was left in place that should not be: a warning
};

/// Puts right what findCrashLeftovers finds in a folder (with foldersOnly, only folders under
/// their scratch name); returns each step for the log. A temporary copy whose file is not in
/// the folder is left alone.
[[nodiscard]] QList<FolderStep> cleanCrashLeftovers(const QString &folder, bool foldersOnly = false);

/// Deletes the temporary copies that were made for `destination` (a move into it that a crash
/// stopped) once `source`, the file about to be moved there again, is verified complete.
/// `listed` holds the temporary files of the destination's folder (TemporaryFiles::inFolder),
/// listed once for all the files a job moves there; what is deleted leaves it.
[[nodiscard]] QList<FolderStep> dropCopiesMadeFor(const QString &destination, const QString &source,
                                                  QStringList &listed);
