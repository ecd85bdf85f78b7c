#pragma once
// The main window's shared state: what the pages read and change, owned by frmMain and
// handed to every page. Plain values and the long-lived tag and analyzer objects.

#include "WizardPage.h"

#include "album/RenameList.h"
#include "jobs/ResultLog.h"
#include "naming/NamingInput.h"

#include <QObject>
#include <QString>
#include <QStringList>

class MainContext : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    /// The folder whose files are listed, without a trailing separator.
    QString currentDirectory;
    /// True when the last scan found at least one file.
    bool filesListed = false;
    /// The name of the file last clicked or chosen with the keyboard in the file list.
    QString selectedFileName;
    /// The page shown.
    WizardPage activeWizardPage = WizardPage::Directory;
    /// The destination folder last chosen with the browse button.
    QString selectedDestinationDirectory;
    /// The result log of the last rename job: the rename page fills it, the result page shows it.
    ResultLog resultLog;

signals:
    /// Emitted by whoever changes currentDirectory, after the change.
    void currentDirectoryChanged(const QString &directory);
    /// Emitted when the user picks an entry of either tag version drop-down (the tag page's
    /// mode or the rename page's version), and when start-up restores the mode: the other one
    /// follows to the same position.
    void id3ModeChosen(int index);
    /// The same for the ID3v2 revision drop-downs (the tag page's and the rename page's).
    void id3v2VersionChosen(int index);
    /// The tag page built the rename list and album fields from the files' own tags; the rename
    /// page takes them.
    void renameListFromTags(const AlbumFields &album, const RenameList &rows, const QStringList &iconKeys,
                            const QString &totalTrack);
};
