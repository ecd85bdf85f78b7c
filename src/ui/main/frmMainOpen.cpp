// frmMain opening what it is told to: the paths of the command line, a folder or MP3 files
// dropped on the window, a path typed into the folder box.
#include "frmMain.h"

#include "MainContext.h"
#include "PageDirectory.h"
#include "PageRename.h"
#include "PageTag.h"
#include "foundation/MessageGateway.h"
#include "foundation/OpenRequest.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// The local folders and MP3 files among what is dragged; nothing else is taken.
QStringList openablePaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && isOpenablePath(url.toLocalFile()))
            paths << url.toLocalFile();
    }
    return paths;
}

// Taken as a copy whatever the source proposes: a move would let a file manager delete what
// was dropped.
template<typename Event>
bool takeOpenableDrag(Event *event)
{
    if (openablePaths(event->mimeData()).isEmpty())
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

} // namespace

bool frmMain::openPaths(const QStringList &paths)
{
    // A running job or scan works on the listed folder; it must not change under it.
    if (pageRename_->isRenaming() || pageTag_->isBatchRunning() || pageDirectory_->isScanning())
        return false;
    const OpenRequest request = openRequestFor(paths);
    if (request.folder.isEmpty()) {
        Msg::ask(missingPathMessage(request), u"Open"_s, Msg::Icon::Exclamation);
        return false;
    }
    // As "&Select a directory" does from the other pages; start-up is on page 0 already.
    if (context_->activeWizardPage != WizardPage::Directory)
        affichePage(WizardPage::Directory);
    if (!pageDirectory_->navigateTo(request.folder))
        return false;
    pageDirectory_->selectFiles(request.fileNames);
    return true;
}

void frmMain::dragEnterEvent(QDragEnterEvent *event)
{
    takeOpenableDrag(event);
}

void frmMain::dragMoveEvent(QDragMoveEvent *event)
{
    takeOpenableDrag(event);
}

void frmMain::dropEvent(QDropEvent *event)
{
    if (!takeOpenableDrag(event))
        return;
    openPaths(openablePaths(event->mimeData()));
    activateWindow();
}
