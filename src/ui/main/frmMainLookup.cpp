// The main window's two internet search buttons: the lookup window over the active page's files
// and the hand-over of its record into the rename page.
#include "frmMain.h"

#include "MainContext.h"
#include "PageDirectory.h"
#include "PageRename.h"
#include "PageTag.h"
#include "album/AlbumFromTags.h"
#include "album/LookupHandOver.h"
#include "foundation/MessageGateway.h"
#include "lookup/TrackListReader.h"
#include "ui/lookup/frmInternet.h"
#include "ui/lookup/frmTracks.h"
#include "ui/widgets/CoreReports.h"

#include <QApplication>
#include <QClipboard>

using namespace Qt::StringLiterals;

void frmMain::findAlbumOnInternet()
{
    const bool fromTagPage = context_->activeWizardPage == WizardPage::Tag;
    const WorkingList files = fromTagPage ? pageTag_->workingList() : pageDirectory_->workingList();
    // An empty tag list does nothing; the directory page's button is off without files.
    if (files.fileNames.isEmpty())
        return;
    const int selected = int(std::count(files.selected.cbegin(), files.selected.cend(), true));
    if (!hasFilesToProcess(selected, files.onlySelected)) {
        showNoFileSelected();
        return;
    }
    // The engine starts with the window: the hourglass shows until the window is up.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frmInternet internet(context_->currentDirectory, files, this);
    QApplication::restoreOverrideCursor();
    if (internet.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    pageRename_->takeLookup(handOverLookup(internet.handedOverRecord(), context_->currentDirectory,
                                      internet.coverShown(), pageRename_->genreAtFirstEntry()));
    QApplication::restoreOverrideCursor();
    affichePage(WizardPage::Rename);
}

void frmMain::pasteTrackList()
{
    LookupContext lookup;
    lookup.files = pageDirectory_->workingList();
    lookup.search.directory = context_->currentDirectory;
    if (lookup.files.fileNames.isEmpty())
        return;
    const int selected = int(std::count(lookup.files.selected.cbegin(), lookup.files.selected.cend(), true));
    if (!hasFilesToProcess(selected, lookup.files.onlySelected)) {
        showNoFileSelected();
        return;
    }
    if (!TrackList::captureText(QApplication::clipboard()->text(), lookup)) {
        Msg::ask(TrackList::noTrackListInText(), u"Paste track list"_s, Msg::Icon::Exclamation);
        return;
    }
    frmTracks dialog(lookup.record, this);
    // The files' tags and lengths are what best match and the pairs' scores weigh.
    dialog.setFolder(context_->currentDirectory);
    dialog.setWorkingList(lookup.files, lookup.search.directory);
    dialog.fitToRows();
    if (dialog.exec() != QDialog::Accepted)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    pageRename_->takeLookup(handOverLookup(dialog.record(), context_->currentDirectory, dialog.coverShown(),
                                           pageRename_->genreAtFirstEntry()));
    QApplication::restoreOverrideCursor();
    affichePage(WizardPage::Rename);
}
