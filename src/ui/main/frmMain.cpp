#include "frmMain.h"

#include "BrowserCheck.h"
#include "ChangeUndo.h"
#include "MainContext.h"
#include "PageDirectory.h"
#include "PageRename.h"
#include "PageResult.h"
#include "PageTag.h"
#include "ui/side/dlgUndoHistory.h"
#include "ui/widgets/CoreReports.h"
#include "ui/widgets/StoredControls.h"
#include "foundation/AppFolder.h"
#include "foundation/Common.h"
#include "foundation/MakerSite.h"
#include "foundation/MessageGateway.h"
#include "foundation/Version.h"
#include "album/AlbumFromTags.h"
#include "jobs/RenameUndo.h"
#include "jobs/TagQuestions.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include "ui/widgets/ButtonEx.h"
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

ButtonEx *barButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new ButtonEx(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(u"frmMain"_s);
    context_ = new MainContext(this);
    engineVersionSource_ = &BrowserCheck::engineVersion;
    bannerUrl_ = bannerPage();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    fraWizard_ = new QStackedWidget(central);
    fraWizard_->setObjectName(u"fraWizard"_s);
    layout->addWidget(fraWizard_, 1);
    buildPages();
    // Read-only boxes (folder lines, totals, summaries) can be clicked to copy from, but Tab
    // skips them on its way between the controls that do something.
    for (QLineEdit *box : fraWizard_->findChildren<QLineEdit *>()) {
        if (box->isReadOnly())
            box->setFocusPolicy(Qt::ClickFocus);
    }
    buildButtonBar(central);
    setButtonBar(WizardPage::Directory);
    setCentralWidget(central);
    buildMenus();
    connectPages();
    setWindowTitle(Version::caption());
    setAcceptDrops(true);
}

frmMain::~frmMain() = default;

void frmMain::buildPages()
{
    pageDirectory_ = new PageDirectory(*context_, fraWizard_);
    pageTag_ = new PageTag(*context_, fraWizard_);
    pageRename_ = new PageRename(*context_, fraWizard_);
    pageResult_ = new PageResult(*context_, fraWizard_);
    // In the order of WizardPage, whose value is the page's position in the wizard.
    fraWizard_->addWidget(pageDirectory_);
    fraWizard_->addWidget(pageTag_);
    fraWizard_->addWidget(pageRename_);
    fraWizard_->addWidget(pageResult_);
}

void frmMain::buildButtonBar(QWidget *host)
{
    auto *bar = new QHBoxLayout;
    // The File menu has Alt+F: the lookup buttons answer to Alt+A.
    cmdFindInternet_ = barButton(u"cmdFindInternet"_s, u"Find &album informations on Internet"_s, host);
    cmdWorkWithTag_ = barButton(u"cmdWorkWithTag"_s, u"&Work with ID3 tag"_s, host);
    cmdFindInternetTag_ = barButton(u"cmdFindInternetTag"_s, u"Find &album informations on Internet"_s, host);
    cmdRenameWithTag_ = barButton(u"cmdRenameWithTag"_s, u"&Use ID3 to rename files"_s, host);
    cmdRename_ = barButton(u"cmdRename"_s, u"&Rename and tag"_s, host);
    cmdWorkWithTagRename_ = barButton(u"cmdWorkWithTagRename"_s, u"&Work with ID3 tag"_s, host);
    cmdWorkWithTagLog_ = barButton(u"cmdWorkWithTagLog"_s, u"&Work with ID3 tag"_s, host);
    cmdSelectDirectory_ = barButton(u"cmdSelectDirectory"_s, u"&Select a directory"_s, host);
    cmdEnd_ = barButton(u"cmdEnd"_s, u"&Exit program"_s, host);
    cmdEnd_->setDefault(true);
    cmdCancel_ = barButton(u"cmdCancel"_s, u"&Cancel"_s, host);
    cmdCancel_->hide();

    // The folder picture: on the other pages a click goes back to the folder, as the button does.
    imgDir_ = new QToolButton(host);
    imgDir_->setObjectName(u"imgDir"_s);
    imgDir_->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
    imgDir_->setAutoRaise(true);
    imgDir_->setFocusPolicy(Qt::NoFocus);
    imgDir_->setToolTip(u"Select a directory"_s);
    connect(imgDir_, &QToolButton::clicked, this, [this] {
        if (context_->activeWizardPage != WizardPage::Directory)
            selectDirectoryCommand();
    });
    bar->addWidget(imgDir_);
    bar->addWidget(cmdSelectDirectory_);
    bar->addStretch(1);
    for (ButtonEx *button : {cmdFindInternet_, cmdWorkWithTag_, cmdFindInternetTag_, cmdRenameWithTag_, cmdRename_,
             cmdWorkWithTagRename_, cmdWorkWithTagLog_, cmdCancel_, cmdEnd_})
        bar->addWidget(button);
    static_cast<QVBoxLayout *>(host->layout())->addLayout(bar);

    connect(cmdFindInternet_, &ButtonEx::clicked, this, &frmMain::findAlbumOnInternet);
    connect(cmdFindInternetTag_, &ButtonEx::clicked, this, &frmMain::findAlbumOnInternet);
    connect(cmdWorkWithTag_, &ButtonEx::clicked, this, &frmMain::workWithTagCommand);
    connect(cmdRenameWithTag_, &ButtonEx::clicked, pageTag_, &PageTag::renameWithTag);
    connect(cmdRename_, &ButtonEx::clicked, pageRename_, &PageRename::renameAndTag);
    connect(cmdWorkWithTagRename_, &ButtonEx::clicked, this, [this] { workWithTagFromLaterPage(false); });
    connect(cmdWorkWithTagLog_, &ButtonEx::clicked, this, [this] { workWithTagFromLaterPage(true); });
    connect(cmdSelectDirectory_, &ButtonEx::clicked, this, &frmMain::selectDirectoryCommand);
    connect(cmdEnd_, &ButtonEx::clicked, this, &QWidget::close);
    connect(cmdCancel_, &ButtonEx::clicked, this, [this] {
        pageRename_->requestStop();
        pageTag_->requestStop();
    });
}

void frmMain::buildMenus()
{
    auto addItem = [this](QMenu *menu, const QString &name, const QString &caption, auto slot) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu *file = menuBar()->addMenu(u"&File"_s);
    file->setObjectName(u"mnuFile"_s);
    mnuSelDir_ = addItem(file, u"mnuSelDir"_s, u"&Select a directory"_s, [this] { affichePage(WizardPage::Directory); });
    mnuUndoRename_ = addItem(file, u"mnuUndoRename"_s, u"&Undo"_s, [this] { undoLastChange(); });
    mnuUndoHistory_ = addItem(file, u"mnuUndoHistory"_s, u"Undo &history..."_s, [this] { undoHistoryCommand(); });
    // A change can end outside any job the window follows (the editor's save, a list's rename):
    // the caption is brought up to date whenever the menu opens.
    connect(file, &QMenu::aboutToShow, this, &frmMain::refreshUndoMenu);
    refreshUndoMenu();
    file->addSeparator();
    mnuPlayer_ = addItem(file, u"mnuPlayer"_s, u"&MP3 Player..."_s, [this] { playerCommand(); });
    mnuPlayer_->setEnabled(false);
    file->addSeparator();
    addItem(file, u"mnuQuit"_s, u"&Exit"_s, [this] { close(); });

    QMenu *tools = menuBar()->addMenu(u"&Tools"_s);
    tools->setObjectName(u"mnuTools"_s);
    addItem(tools, u"mnuMask"_s, u"&Mask editor..."_s, [this] {
        if (auto *page = qobject_cast<PageRename *>(pageRename_))
            page->openMaskEditor();
    });

    QMenu *help = menuBar()->addMenu(u"&?"_s);
    help->setObjectName(u"mnuHelp"_s);
    addItem(help, u"mnuWeb"_s, u"&Varnelt web site"_s, [this] { openDocument(homePage()); });
    addItem(help, u"mnuHistory"_s, u"&Version history"_s, [this] { openDocument(homePage() + u"history/"_s); });
    addItem(help, u"mnuCheckUpdate"_s, u"&Check for update..."_s, [this] { checkUpdateCommand(); });
    help->addSeparator();
    addItem(help, u"mnuFeedback"_s, u"&Feedback"_s, [this] {
        openDocument(u"mailto:"_s + feedbackAddress() + u"?Subject="_s + Version::caption() + u" - Feedback"_s);
    });
    addItem(help, u"mnuReportBugs"_s, u"&Report a bug"_s, [this] {
        openDocument(u"mailto:"_s + bugReportAddress() + u"?Subject="_s + Version::caption() + u" - Bug"_s);
    });
    help->addSeparator();
    addItem(help, u"mnuLicense"_s, u"&License"_s, [this] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(AppFolder::places().licenseFile));
    });
    addItem(help, u"mnuAbout"_s, u"&About..."_s, [this] { aboutCommand(); });

    // The rename list's pop-up menu.
    auto *context2 = new QMenu(this);
    context2->setObjectName(u"mnuContext2"_s);
    QAction *play = addItem(context2, u"mnuPlay2"_s, u"&Play MP3"_s, [this] { playerCommand(); });
    context2->addSeparator();
    addItem(context2, u"mnuEditTrack"_s, u"&Edit track"_s, [this] { pageRename_->editSelectedTrack(); });
    connect(pageRename_, &PageRename::contextMenuWanted, this, [this, context2, play](const QPoint &pos) {
        play->setEnabled(mnuPlayer_->isEnabled());
        context2->popup(pos);
    });
    pageDirectory_->setPlayerAction(mnuPlayer_);
    pageTag_->setPlayerAction(mnuPlayer_);
}

void frmMain::connectPages()
{
    connect(pageDirectory_, &PageDirectory::fileButtonsEnabled, this, [this](bool enabled) {
        cmdFindInternet_->setEnabled(enabled);
        cmdWorkWithTag_->setEnabled(enabled);
    });
    connect(pageDirectory_, &PageDirectory::filesListedChanged, mnuPlayer_, &QAction::setEnabled);
    connect(pageDirectory_, &PageDirectory::workWithTagRequested, this, &frmMain::workWithTagCommand);
    connect(pageDirectory_, &PageDirectory::pathEntered, this, [this](const QString &path) { openPaths({path}); });
    connect(pageDirectory_, &PageDirectory::playRequested, this, &frmMain::openPlayer);
    connect(pageDirectory_, &PageDirectory::pasteTrackListRequested, this, &frmMain::pasteTrackList);
    connect(pageTag_, &PageTag::requestPage, this, &frmMain::affichePage);
    connect(pageTag_, &PageTag::playRequested, this, &frmMain::openPlayer);
    connect(pageTag_, &PageTag::rescanRequested, this, [this] {
        refreshUndoMenu();
        pageDirectory_->refresh();
        pageTag_->fillTagList(pageDirectory_->fileNames(pageDirectory_->onlySelectedFiles()));
    });
    connect(pageRename_, &PageRename::requestPage, this, &frmMain::affichePage);
    connect(pageRename_, &PageRename::busyChanged, this, &frmMain::setBusy);
    connect(pageTag_, &PageTag::busyChanged, this, &frmMain::setBusy);
    connect(pageRename_, &PageRename::playRequested, this, &frmMain::openPlayer);
    connect(pageResult_, &PageResult::requestPage, this, &frmMain::affichePage);
}

void frmMain::setBusy(bool busy)
{
    // While a job runs the window takes clicks and keys, for Cancel: everything else that could
    // start other work is held. The folder picture leads back to the folder as "&Select a
    // directory" does.
    for (QWidget *control : std::initializer_list<QWidget *>{cmdWorkWithTagLog_, cmdEnd_, cmdSelectDirectory_,
             cmdRename_, cmdWorkWithTagRename_, cmdFindInternetTag_, cmdRenameWithTag_, imgDir_})
        control->setEnabled(!busy);
    menuBar()->setEnabled(!busy);
    mnuSelDir_->setEnabled(!busy);
    busy_ = busy;
    mnuUndoHistory_->setEnabled(!busy);
    // A job that ends has recorded a change the menu now names.
    refreshUndoMenu();
    cmdCancel_->setVisible(busy);
    cmdCancel_->setEnabled(busy);
    if (busy)
        cmdCancel_->setFocus();
}

WizardPage frmMain::activeWizardPage() const
{
    return context_->activeWizardPage;
}

void frmMain::setButtonBar(WizardPage page)
{
    cmdFindInternet_->setVisible(page == WizardPage::Directory);
    cmdWorkWithTag_->setVisible(page == WizardPage::Directory);
    cmdFindInternetTag_->setVisible(page == WizardPage::Tag);
    cmdRenameWithTag_->setVisible(page == WizardPage::Tag);
    cmdRename_->setVisible(page == WizardPage::Rename);
    cmdWorkWithTagRename_->setVisible(page == WizardPage::Rename);
    cmdWorkWithTagLog_->setVisible(page == WizardPage::Result);
    cmdSelectDirectory_->setVisible(page != WizardPage::Directory);
    cmdEnd_->setVisible(true);
}

void frmMain::affichePage(WizardPage page)
{
    const WizardPage previous = context_->activeWizardPage;
    context_->activeWizardPage = page;
    fraWizard_->setCurrentIndex(int(page));

    setButtonBar(page);
    if (page == WizardPage::Directory) {
        if (previous != WizardPage::Directory) {
            cmdFindInternet_->setEnabled(false);
            cmdWorkWithTag_->setEnabled(false);
        }
        cmdFindInternet_->setEnabled(pageDirectory_->hasFiles());
        cmdWorkWithTag_->setEnabled(pageDirectory_->hasFiles());
    } else if (page == WizardPage::Rename) {
        pageRename_->focusRenameList();
    } else if (page == WizardPage::Result) {
        showBanner();
        pageResult_->focusLog();
    }

    if (page == WizardPage::Tag)
        pageTag_->resetForShow();

    if (page == WizardPage::Directory) {
        if (previous != WizardPage::Directory)
            pageDirectory_->listDirectory(context_->currentDirectory);
        pageDirectory_->setOnlySelectedFiles(false);
        cmdSelectDirectory_->hide();
        mnuSelDir_->setEnabled(false);
        pageDirectory_->focusFolderTree();
    } else {
        cmdSelectDirectory_->show();
        mnuSelDir_->setEnabled(true);
    }

    if (page == WizardPage::Directory || page == WizardPage::Tag) {
        // No cover was downloaded for what these pages start, so the cover options wait for one.
        pageRename_->holdCoverOptions();
    }

    if (page == WizardPage::Result) {
        pageResult_->clearFolderAndSummary();
        context_->filesListed = false;
        mnuPlayer_->setEnabled(false);
    }
    update();
}

void frmMain::showBanner()
{
    if (bannerLoaded_)
        return;
    bannerLoaded_ = true;
    if (!pageResult_->bannerArea())
        return;
    // The view is made on first use: starting the web engine is slow, and most runs never
    // reach the result page.
    webbanner_ = new QWebEngineView(pageResult_);
    webbanner_->setObjectName(u"webbanner"_s);
    webbanner_->setFixedHeight(90);
    webbanner_->hide();
    pageResult_->bannerArea()->addWidget(webbanner_);
    connect(webbanner_, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (ok && webbanner_->url() == QUrl(bannerUrl_))
            webbanner_->show();
    });
    webbanner_->load(QUrl(bannerUrl_));
}

void frmMain::selectDirectoryCommand()
{
    cmdEnd_->setDefault(false);
    cmdEnd_->setFocus();
    if (context_->activeWizardPage == WizardPage::Result) {
        const QString folder = pageResult_->destinationFolder();
        if (!folder.isEmpty())
            pageDirectory_->navigateTo(folder);
    }
    cmdSelectDirectory_->hide();
    affichePage(WizardPage::Directory);
    cmdEnd_->setDefault(true);
}

void frmMain::workWithTagCommand()
{
    const bool onlySelected = pageDirectory_->onlySelectedFiles();
    if (!hasFilesToProcess(int(pageDirectory_->fileNames(true).size()), onlySelected)) {
        showNoFileSelected();
        return;
    }
    affichePage(WizardPage::Tag);
    pageTag_->fillTagList(pageDirectory_->fileNames(onlySelected));
    // An editor left empty would invite a save with nothing loaded; the first file is shown.
    pageTag_->focusFirstRow();
}

void frmMain::workWithTagFromLaterPage(bool fromLog)
{
    if (fromLog) {
        const QString folder = pageResult_->destinationFolder();
        if (!folder.isEmpty())
            pageDirectory_->navigateTo(folder);
    }
    affichePage(WizardPage::Tag);
    // The page switch empties the tag list; it is filled again from the directory list so the
    // tag page shows the files it came back to.
    pageTag_->fillTagList(pageDirectory_->fileNames(pageDirectory_->onlySelectedFiles()));
    pageTag_->focusFirstRow();
}

QString frmMain::getId3ModeCaption() const
{
    const std::optional<TagVersions> versions = pageTag_->chosenTagVersions();
    return versions ? id3ModeCaption(*versions) : QString();
}

void frmMain::undoLastChange()
{
    const std::optional<JournalContents> next = RenameUndo::nextToUndo();
    const bool ran = next ? ChangeUndo::run(*next) : ChangeUndo::run();
    // Nothing undone may still mean the menu named a change that is gone.
    refreshUndoMenu();
    if (ran)
        afterUndo(*next);
}

void frmMain::undoHistoryCommand()
{
    // Modal to the window, which cannot start a change meanwhile, without an event loop of its own.
    auto *dialog = new dlgUndoHistory([](const JournalContents &change) { return ChangeUndo::run(change); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &dlgUndoHistory::changeUndone, this, &frmMain::afterUndo);
    connect(dialog, &QDialog::finished, this, &frmMain::refreshUndoMenu);
    dialog->open();
}

void frmMain::refreshUndoMenu()
{
    const std::optional<JournalContents> next = RenameUndo::nextToUndo();
    mnuUndoRename_->setText(ChangeUndo::menuCaption(next));
    mnuUndoRename_->setEnabled(next.has_value() && !busy_);
}

void frmMain::afterUndo(const JournalContents &change)
{
    refreshUndoMenu();
    // The result page shows the last album rename: when that may be the one undone, it shows
    // nothing of it any more.
    if (!change.valid || change.kind == ChangeKind::Rename) {
        context_->resultLog.clear();
        pageResult_->clearFolderAndSummary();
    }
    // The listed folder may be one the undo changed: it is read again.
    if (activeWizardPage() == WizardPage::Directory && !context_->currentDirectory.isEmpty()) {
        pageDirectory_->listDirectory(context_->currentDirectory);
    } else if (activeWizardPage() == WizardPage::Tag) {
        // The tag list and the editor showed the tags the undo took back: a save would write
        // them once more. Both are read again from the files.
        pageDirectory_->refresh();
        workWithTagFromLaterPage(false);
    }
}

void frmMain::notAvailableYet()
{
    Msg::ask(u"This command is not available yet."_s, Version::caption(), Msg::Icon::Information);
}

void frmMain::openDocument(const QString &address)
{
    // What the desktop does with the address (a missing mail program, an unreachable page)
    // is its own matter.
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

QString frmMain::homePage()
{
    return MakerSite::home();
}

QString frmMain::bannerPage()
{
    return MakerSite::page(u"rennab/"_s);
}

QString frmMain::feedbackAddress()
{
    return MakerSite::feedbackAddress();
}

QString frmMain::bugReportAddress()
{
    return MakerSite::bugReportAddress();
}
