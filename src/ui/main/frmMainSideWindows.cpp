// The main window's commands that open the side windows: the player, the update check and the
// about window.
#include "frmMain.h"

#include "MainContext.h"
#include "PageDirectory.h"
#include "PageRename.h"
#include "PageTag.h"
#include "foundation/Common.h"
#include "ui/side/frmAbout.h"
#include "ui/side/frmPlayer.h"
#include "ui/side/frmUpdate.h"

#include <QApplication>

namespace {

/// Builds a side window under the hourglass pointer, then shows it modally with the normal one.
template <typename Window, typename... Args>
void showModal(Args &&...args)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Window window(std::forward<Args>(args)...);
    QApplication::restoreOverrideCursor();
    window.exec();
}

} // namespace

void frmMain::playerCommand()
{
    switch (context_->activeWizardPage) {
    case WizardPage::Directory:
        if (context_->filesListed)
            pageDirectory_->playCurrent();
        break;
    case WizardPage::Tag:
        pageTag_->playCurrent();
        break;
    case WizardPage::Rename:
        pageRename_->playCurrent();
        break;
    case WizardPage::Result:
        break;
    }
}

void frmMain::openPlayer(const QStringList &fileNames, int row)
{
    if (fileNames.isEmpty() || row < 0 || row >= fileNames.size())
        return;
    const QString folder = Common::addBackslash(context_->currentDirectory);
    QStringList paths;
    paths.reserve(fileNames.size());
    for (const QString &name : fileNames)
        paths << folder + name;
    showModal<frmPlayer>(paths, row, this);
}

void frmMain::checkUpdateCommand()
{
    showModal<frmUpdate>(this);
}

void frmMain::aboutCommand()
{
    showModal<frmAbout>(webEngineVersion_, this);
}
