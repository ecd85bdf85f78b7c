#pragma once
// What an interrupted run left in a folder (album/LeftoverScan.h finds it), put right. Temporary
// copies are deleted once the file they were made for is there and verified complete; a file or
// folder left under its letter-case scratch name gets its original name back when that name is
// free. The rename job cleans the folders it touches and logs each step.

#include "album/LeftoverScan.h"

#include <QList>
#include <QString>

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
