// frmMain's start-up and shut-down: the browser check, the settings and window placement
// restored at start and stored at exit (MainWindowSettings), the last folder, and the download
// folder clean-up.
#include "frmMain.h"

#include "BrowserCheck.h"
#include "MainContext.h"
#include "MainWindowSettings.h"
#include "PageDirectory.h"
#include "PageRename.h"
#include "PageTag.h"
#include "foundation/Basic.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "foundation/Settings.h"
#include "foundation/Version.h"
#include "ui/widgets/StoredControls.h"
#include "ui/widgets/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QScreen>

using namespace Qt::StringLiterals;

void frmMain::setEngineVersionSource(std::function<std::optional<QString>()> source)
{
    engineVersionSource_ = std::move(source);
}

void frmMain::measureCaptionHeight()
{
    captionHeight_ = int(Basic::roundEven((frameGeometry().height() - geometry().height()) * twipsPerPixel(screen())));
}

void frmMain::setVisible(bool visible)
{
    // Showing the window loads it first, as the first reference to a form runs its load event.
    if (visible && !started_ && !startUp())
        return;
    if (visible && stopped_)
        return;
    QMainWindow::setVisible(visible);
    // The frame is known only once the window system has shown the window.
    if (visible)
        measureCaptionHeight();
}

bool frmMain::startUp()
{
    if (started_)
        return !stopped_;
    started_ = true;
    startingUp_ = true;

    // The tag objects and the analyzer live in the context, made with the window.
    if (!browserCheck()) {
        // Nothing was restored yet: storing now would put the controls' blank values over the
        // user's settings, so the window ends without storing anything.
        stopped_ = true;
        startingUp_ = false;
        return false;
    }

    pageRename_->loadMasks();
    const MainWindowSettings kept = keptSettings();
    kept.restoreControls();
    // The first run's width lets names of about 60 characters ("07 - Artist - Title (Live at
    // ...).mp3") show whole.
    kept.restorePlacement(pageDirectory_->preferredWidth(60));
    pageDirectory_->addColumnsLstViewFiles();
    pageTag_->addColumnsLstViewFilesTag();
    fillGenreLists();
    const bool opened = !startPaths_.isEmpty() && openPaths(startPaths_);
    if (!opened)
        selectLastFolder();
    setWindowTitle(Version::caption());
    affichePage(WizardPage::Directory);
    // Showing page 0 unticks "&Use only selected files"; files named on the command line are
    // the ones to work with, as a selection of two or more made by hand would be.
    if (opened)
        pageDirectory_->updateOnlySelectedCheck();
    measureCaptionHeight();
    startingUp_ = false;
    return true;
}

bool frmMain::browserCheck()
{
    const BrowserCheck::Outcome outcome
        = BrowserCheck::evaluate(engineVersionSource_ ? engineVersionSource_() : std::nullopt);
    webEngineVersion_ = outcome.webEngineVersion;
    if (!outcome.mustAsk)
        return true;
    return Msg::ask(outcome.question, BrowserCheck::questionTitle(), Msg::Icon::Critical, Msg::Buttons::YesNo)
        == Msg::Answer::Yes;
}

QList<StoredControl> frmMain::storedControls() const
{
    return pageRename_->storedControls() + pageTag_->storedControls();
}

MainWindowSettings frmMain::keptSettings()
{
    return MainWindowSettings(*this, [this] { return storedControls(); });
}

void frmMain::fillGenreLists()
{
    pageTag_->fillGenreLists();
    pageRename_->fillGenreLists();
}

void frmMain::selectLastFolder()
{
    const Settings settings;
    QString stored = settings.value(SettingsKeys::LastDirectory);
    if (stored.trimmed().isEmpty())
        stored = QDir::toNativeSeparators(QDir::homePath());
    pageDirectory_->navigateTo(stored);
    if (QDir::cleanPath(context_->currentDirectory) == QDir::cleanPath(QDir::fromNativeSeparators(stored)))
        return;
    // The folder is gone: the nearest folder above it that still exists is shown instead.
    QString parent = Common::getParentFolder(stored);
    while (!parent.isEmpty() && !pageDirectory_->navigateTo(parent)) {
        const QString next = Common::getParentFolder(parent);
        if (next == parent)
            break;
        parent = next;
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing the window mid-job would pull the pages out from under the running job.
    if (pageRename_->isRenaming() || pageTag_->isBatchRunning()) {
        event->ignore();
        return;
    }
    if (!started_ || stopped_) {
        event->accept();
        return;
    }
    const WizardPage page = context_->activeWizardPage;
    if ((page == WizardPage::Tag || page == WizardPage::Rename)
        && Msg::ask(u"Are you sure you want to quit ?"_s, u"Exit confirmation"_s, Msg::Icon::Question,
               Msg::Buttons::YesNo)
            != Msg::Answer::Yes) {
        event->ignore();
        return;
    }
    keptSettings().store();
    clearDownloadFolder();
    event->accept();
    // Other windows end with the program, without their own closing steps.
    QCoreApplication::exit(0);
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || startingUp_)
        return;
    if (context_->activeWizardPage == WizardPage::Rename)
        pageRename_->windowActivated();
}

void frmMain::clearDownloadFolder()
{
    const QString folder = Common::addBackslash(Common::downloadFolder());
    if (!Common::folderExists(folder))
        return;
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name == u"." || name == u"..")
            continue;
        (void)Common::deleteFile(folder + name);
    }
    if (!QDir().rmdir(folder))
        Msg::showError(u"Path/File access error ("_s + folder + u")"_s);
}
