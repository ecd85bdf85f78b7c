// The page switch of the main window: the button bar of each page, what each page resets,
// the banner view made on first use, the menus, and the browser check at start-up.
#include "MainWindowFixture.h"
#include "ui/main/UrlRecorder.h"

#include "ui/main/BrowserCheck.h"
#include "ui/main/MainContext.h"
#include "ui/main/PageDirectory.h"
#include "jobs/AlbumRenameJob.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include "ui/widgets/ButtonEx.h"
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

const QStringList BarButtons = {u"cmdFindInternet"_s, u"cmdWorkWithTag"_s, u"cmdFindInternetTag"_s,
    u"cmdRenameWithTag"_s, u"cmdRename"_s, u"cmdWorkWithTagRename"_s, u"cmdWorkWithTagLog"_s,
    u"cmdSelectDirectory"_s, u"cmdEnd"_s};

QStringList shownButtons(frmMain &window)
{
    QStringList shown;
    for (const QString &name : BarButtons) {
        auto *button = window.findChild<ButtonEx *>(name);
        if (button && button->isVisible())
            shown << name;
    }
    return shown;
}

} // namespace

class frmMainPagesTest : public MainWindowTest {};

TEST_F(frmMainPagesTest, EachPageShowsItsOwnButtons)
{
    auto window = openWindow();
    const QList<QStringList> expected = {
        {u"cmdFindInternet"_s, u"cmdWorkWithTag"_s, u"cmdEnd"_s},
        {u"cmdFindInternetTag"_s, u"cmdRenameWithTag"_s, u"cmdSelectDirectory"_s, u"cmdEnd"_s},
        {u"cmdRename"_s, u"cmdWorkWithTagRename"_s, u"cmdSelectDirectory"_s, u"cmdEnd"_s},
        {u"cmdWorkWithTagLog"_s, u"cmdSelectDirectory"_s, u"cmdEnd"_s},
    };
    auto *selectDir = window->findChild<QAction *>(u"mnuSelDir"_s);
    for (int page : {0, 1, 2, 3, 2, 1, 0}) {
        window->affichePage(WizardPage(page));
        EXPECT_EQ(window->activeWizardPage(), WizardPage(page));
        EXPECT_EQ(shownButtons(*window), expected[page]) << "page " << page;
        EXPECT_EQ(selectDir->isEnabled(), page != 0) << "page " << page;
    }
    EXPECT_EQ(window->findChild<ButtonEx *>(u"cmdRename"_s)->text(), u"&Rename and tag"_s);
    EXPECT_EQ(window->findChild<ButtonEx *>(u"cmdEnd"_s)->text(), u"&Exit program"_s);
}

TEST_F(frmMainPagesTest, PageSwitchResetsWhatEachPageStartsFrom)
{
    writeSong(u"album/a.mp3"_s, 1.0, false, false);
    writeSong(u"album/b.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    auto *check = window->findChild<QCheckBox *>(u"chkOnlySelectedFiles"_s);

    // The tag page gets the listed files, and comes back empty on the next switch.
    window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->click();
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Tag);
    auto *tagList = window->findChild<QTreeWidget *>(u"lstFilesTag"_s);
    EXPECT_EQ(tagList->topLevelItemCount(), 2);
    window->affichePage(WizardPage::Tag);
    EXPECT_EQ(tagList->topLevelItemCount(), 0);

    // The cover options wait for a downloaded cover on pages 0 and 1.
    EXPECT_FALSE(window->findChild<QWidget *>(u"chkCover"_s)->isEnabled());
    EXPECT_FALSE(window->findChild<QWidget *>(u"cboCoverDir"_s)->isEnabled());

    // Back on page 0 the folder is listed again and the box is clear.
    writeSong(u"album/c.mp3"_s, 1.0, false, false);
    check->setChecked(true);
    window->findChild<QAbstractButton *>(u"imgDir"_s)->click();
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
    EXPECT_EQ(fileList(*window)->topLevelItemCount(), 3);
    EXPECT_FALSE(check->isChecked());
    EXPECT_TRUE(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->isEnabled());

    // The result page starts with empty boxes and the player off.
    window->findChild<QLineEdit *>(u"txtDirectoryLog"_s)->setText(u"old"_s);
    window->affichePage(WizardPage::Result);
    EXPECT_TRUE(window->findChild<QLineEdit *>(u"txtDirectoryLog"_s)->text().isEmpty());
    EXPECT_TRUE(window->findChild<QLineEdit *>(u"txtLogInfo"_s)->text().isEmpty());
    EXPECT_FALSE(window->context().filesListed);
    EXPECT_FALSE(window->findChild<QAction *>(u"mnuPlayer"_s)->isEnabled());
}

TEST_F(frmMainPagesTest, F5OnTheTagPageListsTheFolderAgainAndShowsTheCurrentFile)
{
    writeSong(u"album/a.mp3"_s, 1.0, false, true);
    writeSong(u"album/b.mp3"_s, 1.0, false, true);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->click();
    auto *tagList = window->findChild<QTreeWidget *>(u"lstFilesTag"_s);
    ASSERT_EQ(tagList->topLevelItemCount(), 2);
    tagList->setCurrentItem(tagList->topLevelItem(1));
    tagList->topLevelItem(0)->setSelected(true);
    writeSong(u"album/c.mp3"_s, 1.0, true, false);

    tagList->setFocus();
    QTest::keyClick(tagList, Qt::Key_F5);
    EXPECT_EQ(columnTexts(tagList, 0), (QStringList{u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s}));
    EXPECT_FALSE(window->findChild<QCheckBox *>(u"chkOnlySelectedFilesTag"_s)->isChecked());
    EXPECT_EQ(tagList->currentItem()->text(0), u"b.mp3"_s);
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtFileName"_s)->text(), u"b.mp3"_s);
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Tag);
}

TEST_F(frmMainPagesTest, SelectADirectoryFromTheResultPageGoesToTheDestination)
{
    writeSong(u"old/a.mp3"_s, 1.0, false, false);
    writeSong(u"new/Artist - Album/01 - a.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"old"_s));
    auto window = openWindow();
    window->affichePage(WizardPage::Result);
    window->findChild<QLineEdit *>(u"txtDirectoryLog"_s)->setText(tempFile(u"new/Artist - Album/"_s));
    window->selectDirectoryCommand();
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
    EXPECT_EQ(window->context().currentDirectory, tempFile(u"new/Artist - Album"_s));
    EXPECT_EQ(columnTexts(fileList(*window), 0), QStringList({u"01 - a.mp3"_s}));
    EXPECT_EQ(fileList(*window)->topLevelItem(0)->text(3), u"128"_s);
    EXPECT_TRUE(window->findChild<ButtonEx *>(u"cmdEnd"_s)->isDefault());
}

TEST_F(frmMainPagesTest, BannerViewIsMadeOnTheFirstResultPageAndStaysHiddenWhenUnreachable)
{
    auto window = openWindow();
    EXPECT_EQ(window->bannerView(), nullptr);
    window->affichePage(WizardPage::Result);
    QWebEngineView *banner = window->bannerView();
    ASSERT_NE(banner, nullptr);
    QSignalSpy loaded(banner, &QWebEngineView::loadFinished);
    ASSERT_TRUE(loaded.wait(20000));
    EXPECT_FALSE(loaded.first().first().toBool());
    EXPECT_FALSE(banner->isVisible());
    window->affichePage(WizardPage::Directory);
    window->affichePage(WizardPage::Result);
    EXPECT_EQ(window->bannerView(), banner);
}

TEST_F(frmMainPagesTest, BannerViewShowsOnceItsPageHasLoaded)
{
    // A one-page web server on the loopback address plays the maker's site.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                socket->readAll();
                const QByteArray page = "<html><body>Banner</body></html>";
                socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: "
                    + QByteArray::number(page.size()) + "\r\n\r\n" + page);
                socket->disconnectFromHost();
            });
        }
    });
    auto window = openWindow();
    window->setBannerUrl(u"http://127.0.0.1:%1/rennab/"_s.arg(server.serverPort()));
    window->affichePage(WizardPage::Result);
    QWebEngineView *banner = window->bannerView();
    ASSERT_NE(banner, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(banner->isVisible(), 15000);
    EXPECT_EQ(banner->url(), QUrl(u"http://127.0.0.1:%1/rennab/"_s.arg(server.serverPort())));
}

TEST_F(frmMainPagesTest, HelpMenuOpensTheMakersPagesAndMail)
{
    auto window = openWindow();
    UrlRecorder recorder;
    for (const QString &scheme : {u"https"_s, u"mailto"_s, u"file"_s})
        QDesktopServices::setUrlHandler(scheme, &recorder, "open");
    for (const QString &item : {u"mnuWeb"_s, u"mnuHistory"_s, u"mnuFeedback"_s, u"mnuReportBugs"_s, u"mnuLicense"_s})
        window->findChild<QAction *>(item)->trigger();
    for (const QString &scheme : {u"https"_s, u"mailto"_s, u"file"_s})
        QDesktopServices::unsetUrlHandler(scheme);

    ASSERT_EQ(recorder.urls.size(), 5);
    EXPECT_EQ(recorder.urls[0].toString(), frmMain::homePage());
    EXPECT_TRUE(recorder.urls[1].path().endsWith(u"/history/"_s));
    EXPECT_EQ(recorder.urls[2].scheme(), u"mailto"_s);
    EXPECT_EQ(recorder.urls[2].path(), frmMain::feedbackAddress());
    EXPECT_EQ(recorder.urls[2].query(QUrl::FullyDecoded),
        u"Subject=Varnelt 2.0 alpha 1 [version for beta testers] - Feedback"_s);
    EXPECT_EQ(recorder.urls[3].path(), frmMain::bugReportAddress());
    EXPECT_TRUE(recorder.urls[3].query(QUrl::FullyDecoded).endsWith(u" - Bug"_s));
    EXPECT_EQ(recorder.urls[4].toLocalFile(), appFolder() + u"/license.txt"_s);
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(frmMainPagesTest, MenusHoldTheirCommandsInOrder)
{
    auto window = openWindow();
    const auto captions = [](const QMenu *menu) {
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << (action->isSeparator() ? u"-"_s : action->text());
        return texts;
    };
    QStringList bar;
    for (const QAction *action : window->menuBar()->actions())
        bar << action->text();
    EXPECT_EQ(bar, QStringList({u"&File"_s, u"&Tools"_s, u"&?"_s}));
    EXPECT_EQ(captions(window->findChild<QMenu *>(u"mnuFile"_s)),
        QStringList({u"&Select a directory"_s, u"&Undo"_s, u"Undo &history..."_s, u"-"_s, u"&MP3 Player..."_s, u"-"_s, u"&Exit"_s}));
    // The mask editor is a tool, not a file command.
    EXPECT_EQ(captions(window->findChild<QMenu *>(u"mnuTools"_s)), QStringList({u"&Mask editor..."_s}));
    EXPECT_EQ(captions(window->findChild<QMenu *>(u"mnuHelp"_s)),
        QStringList({u"&Varnelt web site"_s, u"&Version history"_s, u"&Check for update..."_s, u"-"_s,
            u"&Feedback"_s, u"&Report a bug"_s, u"-"_s, u"&License"_s, u"&About..."_s}));
}

TEST(BrowserCheckRules, VersionFiveAndLaterPassWithoutAQuestion)
{
    for (const QString &version : {u"5.50.4134.600"_s, u"6.0.2900.5512"_s, u"102.0.5005.177"_s}) {
        const BrowserCheck::Outcome outcome = BrowserCheck::evaluate(version);
        EXPECT_FALSE(outcome.mustAsk) << version.toStdString();
        EXPECT_EQ(outcome.webEngineVersion, version);
    }
}

TEST(BrowserCheckRules, OlderOrUnknownVersionsAskNamingTheLeadingNumber)
{
    const QString tail = u", and you must have version 5.0 at least to use all the fonctionnality.\r\n"
                         u"Would you like to continue anyway ?"_s;
    BrowserCheck::Outcome old = BrowserCheck::evaluate(u"4.72.3110.0"_s);
    EXPECT_TRUE(old.mustAsk);
    EXPECT_EQ(old.question, u"Your version of Internet Explorer is 4.72"_s + tail);
    EXPECT_EQ(old.webEngineVersion, u"4.72.3110.0"_s);

    BrowserCheck::Outcome none = BrowserCheck::evaluate(std::nullopt);
    EXPECT_TRUE(none.mustAsk);
    EXPECT_EQ(none.question, u"Your version of Internet Explorer is unknow"_s + tail);
    EXPECT_EQ(none.webEngineVersion, u"N/A"_s);

    BrowserCheck::Outcome empty = BrowserCheck::evaluate(QString());
    EXPECT_TRUE(empty.mustAsk);
    EXPECT_EQ(empty.question, u"Your version of Internet Explorer is unknow"_s + tail);
    EXPECT_EQ(empty.webEngineVersion, u"N/A"_s);
    EXPECT_EQ(BrowserCheck::questionTitle(), u"Internet Explorer version check"_s);
}

TEST(BrowserCheckRules, TheBuiltInEngineReportsARecentVersion)
{
    const auto version = BrowserCheck::engineVersion();
    ASSERT_TRUE(version.has_value());
    EXPECT_FALSE(BrowserCheck::evaluate(version).mustAsk) << version->toStdString();
}

TEST_F(frmMainPagesTest, TabSkipsTheReadOnlyBoxesOfEveryPage)
{
    writeSong(u"album/a.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (int page : {0, 1, 2, 3}) {
        window->affichePage(WizardPage(page));
        QStringList readOnlyReached;
        QSet<QWidget *> seen;
        for (int i = 0; i < 60; ++i) {
            QWidget *focused = QApplication::focusWidget();
            ASSERT_NE(focused, nullptr) << page;
            if (auto *box = qobject_cast<QLineEdit *>(focused); box && box->isReadOnly())
                readOnlyReached << box->objectName();
            seen.insert(focused);
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        EXPECT_GT(seen.size(), 2) << "Tab moves between controls on page " << page;
        EXPECT_TRUE(readOnlyReached.isEmpty()) << page << ": " << readOnlyReached.join(u' ').toStdString();
    }
}

TEST_F(frmMainPagesTest, NoAtTheBrowserCheckEndsWithoutTouchingTheSettings)
{
    presetSetting(u"Last Mask"_s, u"%artist\\%title"_s);
    presetSetting(u"Check Cover"_s, u"0"_s);
    frmMain window;
    window.setEngineVersionSource([] { return std::optional<QString>(u"4.72.3110.0"_s); });
    answers->answerNext(Msg::Answer::No);
    EXPECT_FALSE(window.startUp());
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"Internet Explorer version check"_s);
    EXPECT_EQ(answers->messages().first().icon, Msg::Icon::Critical);
    EXPECT_EQ(answers->messages().first().buttons, Msg::Buttons::YesNo);
    window.show();
    EXPECT_FALSE(window.isVisible());
    window.close();
    EXPECT_EQ(storedSetting(u"Last Mask"_s), u"%artist\\%title"_s);
    EXPECT_EQ(storedSetting(u"Check Cover"_s), u"0"_s);
    EXPECT_EQ(storedSetting(u"AppWindowState"_s), u"<none>"_s);
}

TEST_F(frmMainPagesTest, YesAtTheBrowserCheckGoesOnWithStartUp)
{
    frmMain window;
    window.setEngineVersionSource([] { return std::nullopt; });
    answers->answerNext(Msg::Answer::Yes);
    EXPECT_TRUE(window.startUp());
    EXPECT_EQ(window.webEngineVersion(), u"N/A"_s);
    EXPECT_EQ(window.context().currentDirectory, homePath());
}

TEST_F(frmMainPagesTest, UndoLastRenameAsksFirstThenPutsTheFilesBackAndSaysWhatItDid)
{
    const QString a = writeSong(u"rip/a.mp3"_s, 1.0, true, true);
    const QString b = writeSong(u"rip/b.mp3"_s, 2.0, false, true);
    const QByteArray aBytes = readAll(a), bBytes = readAll(b);
    RenameJobInput in = ripRename();
    in.outputs.playlist = true;
    ResultLog log;
    ASSERT_TRUE(runAlbumRenameJob(in, log).started);
    const QString playlist = tempFile(u"Foo - Bar/Foo - Bar.pls"_s);
    ASSERT_TRUE(QFileInfo::exists(playlist));
    ASSERT_FALSE(QFileInfo::exists(a));

    auto window = openWindow();
    auto *undo = window->findChild<QAction *>(u"mnuUndoRename"_s);
    ASSERT_TRUE(undo);
    EXPECT_EQ(undo->text(), u"&Undo Album rename (2 files)"_s);
    EXPECT_TRUE(undo->isEnabled());
    answers->clear();
    answers->answerNext(Msg::Answer::No);
    undo->trigger();
    ASSERT_EQ(answers->count(), 1);
    const Msg::Message question = answers->messages().first();
    EXPECT_EQ(question.title, u"Undo Album rename"_s);
    EXPECT_EQ(question.buttons, Msg::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, Msg::Answer::No);
    EXPECT_TRUE(question.text.contains(tempFile(u"rip"_s)));
    EXPECT_FALSE(QFileInfo::exists(a)) << "No leaves the rename as it is";

    answers->answerNext(Msg::Answer::Yes);
    undo->trigger();
    ASSERT_EQ(answers->count(), 3);
    EXPECT_EQ(answers->messages().at(2).icon, Msg::Icon::Information);
    // The playlist the job made is removed, and said so, not under a "Restored:" heading.
    EXPECT_TRUE(answers->lastText().startsWith(u"This change was undone:\nAlbum rename: 2 files in "_s + tempFile(u"rip"_s)
                                               + u"\n\nUndone:\n"_s))
        << answers->lastText().toStdString();
    EXPECT_FALSE(answers->lastText().contains(u"Restored:\n"_s));
    EXPECT_TRUE(answers->lastText().contains(u"Restored: "_s + a));
    EXPECT_TRUE(answers->lastText().contains(u"Removed: "_s + playlist));
    EXPECT_EQ(readAll(a), aBytes);
    EXPECT_EQ(readAll(b), bBytes);
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"Foo - Bar"_s)));

    // Nothing is left to undo: the menu says so, and the command (as a script could call it) tells.
    EXPECT_EQ(undo->text(), u"&Undo"_s);
    EXPECT_FALSE(undo->isEnabled());
    window->undoLastChange();
    EXPECT_EQ(answers->lastText(), u"Nothing to undo: every recorded change was undone."_s);
}
