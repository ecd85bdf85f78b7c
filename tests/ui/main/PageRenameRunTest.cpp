// "&Rename and tag" from the rename page on real MP3 folders: the one-time question, the files
// really renamed and tagged, the result page filled live, the buttons held while it runs.
#include "PagesFixture.h"

#include "audio/ID3Edit.h"
#include "ui/main/PageRename.h"
#include "ui/main/PageResult.h"
#include "ui/widgets/MessageBoxPresenter.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class PageRenameRunTest : public PagesTest
{
protected:
    void prepareAlbum()
    {
        folder = makeThreeSongAlbum();
        control<QComboBox>(u"cboMask"_s)->addItem(u"%artist - %album\\%track - %title"_s);
        pageRename->setRenameList({{u"One"_s, u"a.mp3"_s, u"01"_s},
                                   {u"Two"_s, u"b.mp3"_s, u"02"_s},
                                   {u"Three"_s, u"c.mp3"_s, u"03"_s}});
        pageRename->setAlbumFields({u"Foo"_s, u"Bar"_s, u"2001"_s, u"Rock"_s, u"ripped"_s}, false);
        pageRename->setTotalTrack(u"3"_s);
        control<QCheckBox>(u"chkTotalTracks"_s)->setChecked(true);
        control<QCheckBox>(u"chkPlayList"_s)->setChecked(false);
        showPage(WizardPage::Rename);
    }

    QString folder;
};

TEST_F(PageRenameRunTest, RenamesAndTagsEveryFileAndShowsTheLog)
{
    prepareAlbum();
    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();

    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"Rename and tag warning"_s);
    EXPECT_EQ(answers->messages().first().text,
              u"For the moment the rename and tag function is only for albums !\nWould you like to continue ?"_s);
    EXPECT_EQ(answers->messages().first().buttons, Msg::Buttons::YesNo);
    EXPECT_EQ(requestedPages, QList<WizardPage>{WizardPage::Result});
    EXPECT_EQ(context->activeWizardPage, WizardPage::Result);

    const QString album = folder + u"/Foo - Bar/"_s;
    const QStringList titles{u"One"_s, u"Two"_s, u"Three"_s};
    for (int i = 0; i < 3; ++i) {
        const QString path = album + u"0%1 - %2.mp3"_s.arg(i + 1).arg(titles.at(i));
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        ID3Edit tag;
        ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
        EXPECT_EQ(tag.Title(), titles.at(i));
        EXPECT_EQ(tag.Artist(), u"Foo"_s);
        EXPECT_EQ(tag.Album(), u"Bar"_s);
        EXPECT_EQ(tag.Track(), u"%1/3"_s.arg(i + 1));
        EXPECT_TRUE(tag.HasV1());
        EXPECT_EQ(tag.V1Track(), i + 1);
    }
    for (const QString &old : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s})
        EXPECT_FALSE(QFileInfo::exists(folder + u'/' + old));

    auto *log = control<QTreeWidget>(u"trvLog"_s);
    ASSERT_EQ(log->topLevelItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QTreeWidgetItem *entry = log->topLevelItem(i);
        EXPECT_EQ(entry->text(0), titles.at(i));
        ASSERT_EQ(entry->childCount(), 3);
        EXPECT_EQ(entry->child(0)->text(0), u"File Info"_s);
        EXPECT_EQ(entry->child(1)->text(0), u"ID3 Tag Info"_s);
        EXPECT_EQ(entry->child(2)->text(0), u"Warning and error"_s);
        EXPECT_EQ(entry->child(0)->childCount(), 2);
        EXPECT_EQ(entry->child(1)->childCount(), 7);
        EXPECT_EQ(entry->child(1)->child(0)->text(0), u"Title : "_s + titles.at(i));
        EXPECT_EQ(entry->child(2)->childCount(), 0);
    }
    EXPECT_EQ(control<QLineEdit>(u"txtLogInfo"_s)->text(),
              u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtDirectoryLog"_s)->text(), album);
    for (const QString &name : {u"cmdEnd"_s, u"cmdSelectDirectory"_s, u"cmdWorkWithTagLog"_s})
        EXPECT_TRUE(control<ButtonEx>(name)->isEnabled()) << name.toStdString();
    EXPECT_TRUE(pageRename->isEnabled());
    EXPECT_FALSE(pageRename->isRenaming());
}

TEST_F(PageRenameRunTest, NoToTheQuestionTouchesNothingAndYesIsAskedOnlyOnce)
{
    prepareAlbum();
    answers->answerNext(Msg::Answer::No);
    pageRename->renameAndTag();
    EXPECT_TRUE(requestedPages.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(folder + u"/a.mp3"_s));
    EXPECT_EQ(control<QTreeWidget>(u"trvLog"_s)->topLevelItemCount(), 0);

    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();
    EXPECT_EQ(answers->count(), 2);
    EXPECT_FALSE(QFileInfo::exists(folder + u"/a.mp3"_s));

    // A second click asks no more than the pre-flight's question: the rows still name the old
    // files, which have gone. Going on anyway, each row reports its missing source.
    showPage(WizardPage::Rename);
    answers->clear();
    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"Rename and tag problems"_s);
    EXPECT_EQ(requestedPages, (QList<WizardPage>{WizardPage::Result, WizardPage::Result}));
    EXPECT_EQ(control<QLineEdit>(u"txtLogInfo"_s)->text(),
              u"Files renamed : 0 / 3   -   0 warning   -   3 error(s)"_s);
    EXPECT_EQ(control<QTreeWidget>(u"trvLog"_s)->topLevelItemCount(), 3);
    EXPECT_TRUE(QFileInfo::exists(folder + u"/Foo - Bar/01 - One.mp3"_s));
}

TEST_F(PageRenameRunTest, ProblemsFoundBeforehandAreToldAndNoIsTheDefaultThatTouchesNothing)
{
    prepareAlbum();
    const QString taken = writeFile(u"album/Foo - Bar/02 - Two.mp3"_s, "someone else's file");
    const auto hashes = [this] {
        QStringList all;
        for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s, u"Foo - Bar/02 - Two.mp3"_s})
            all << QString::fromLatin1(QCryptographicHash::hash(readAll(folder + u'/' + name),
                                                                QCryptographicHash::Sha256).toHex());
        return all;
    };
    const QStringList before = hashes();
    pageRename->renameAndTag(); // the recorder answers with the default button

    ASSERT_EQ(answers->count(), 1);
    const Msg::Message &question = answers->messages().first();
    EXPECT_EQ(question.title, u"Rename and tag problems"_s);
    EXPECT_EQ(question.buttons, Msg::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, Msg::Answer::No);
    EXPECT_EQ(question.text, u"Some files cannot be renamed as planned:\n\n"
                             u"File 2 (b.mp3): another file already has its new name: "_s + taken
                                 + u"\n\nGo on anyway? The files with problems are left as they are, the others are "
                                   u"renamed and tagged."_s);
    EXPECT_TRUE(requestedPages.isEmpty());
    EXPECT_EQ(hashes(), before);
    EXPECT_FALSE(QFileInfo::exists(folder + u"/Foo - Bar/01 - One.mp3"_s));

    // Yes goes on: the one-time warning follows, then the rows without problems are done.
    answers->clear();
    answers->answerNext(Msg::Answer::Yes);
    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();
    EXPECT_EQ(answers->count(), 2);
    EXPECT_EQ(control<QLineEdit>(u"txtLogInfo"_s)->text(), u"Files renamed : 2 / 3   -   0 warning   -   1 error"_s);
    EXPECT_TRUE(QFileInfo::exists(folder + u"/b.mp3"_s));
    EXPECT_EQ(readAll(taken), QByteArray("someone else's file"));
}

TEST_F(PageRenameRunTest, HoldsTheButtonsAndTheWindowWhileTheJobRuns)
{
    prepareAlbum();
    answers->answerNext(Msg::Answer::Yes);
    bool sawDisabled = false;
    bool closed = true;
    // Runs inside the job, when it lets pending events through after a row.
    QTimer::singleShot(0, host.get(), [&] {
        sawDisabled = pageRename->isRenaming() && !control<ButtonEx>(u"cmdEnd"_s)->isEnabled()
            && !control<ButtonEx>(u"cmdSelectDirectory"_s)->isEnabled()
            && !control<ButtonEx>(u"cmdWorkWithTagLog"_s)->isEnabled() && !pageRename->isEnabled();
        closed = host->close();
        pageRename->renameAndTag(); // a second start while running is ignored
    });
    pageRename->renameAndTag();
    EXPECT_TRUE(sawDisabled);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(requestedPages, QList<WizardPage>{WizardPage::Result});
    EXPECT_TRUE(control<ButtonEx>(u"cmdEnd"_s)->isEnabled());
    EXPECT_TRUE(host->close());
}

TEST_F(PageRenameRunTest, AFileThatCannotMoveIsLoggedAndTheOthersGoOn)
{
    prepareAlbum();
    QFile::remove(folder + u"/b.mp3"_s);
    answers->answerNext(Msg::Answer::Yes); // the pre-flight's question: go on anyway
    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();

    auto *log = control<QTreeWidget>(u"trvLog"_s);
    ASSERT_EQ(log->topLevelItemCount(), 3);
    QTreeWidgetItem *failed = log->topLevelItem(1);
    EXPECT_EQ(failed->child(0)->childCount(), 2);
    EXPECT_EQ(failed->child(1)->childCount(), 0);
    ASSERT_EQ(failed->child(2)->childCount(), 1);
    EXPECT_EQ(failed->child(2)->child(0)->text(0), u"Source file not found"_s);
    // The error line is scrolled into view: its branch is open.
    EXPECT_TRUE(failed->isExpanded());
    EXPECT_TRUE(failed->child(2)->isExpanded());
    EXPECT_EQ(control<QLineEdit>(u"txtLogInfo"_s)->text(),
              u"Files renamed : 2 / 3   -   0 warning   -   1 error"_s);
    EXPECT_TRUE(QFileInfo::exists(folder + u"/Foo - Bar/03 - Three.mp3"_s));
}

TEST_F(PageRenameRunTest, AJolietShorteningShowsTheEntryOpenWithItsWarning)
{
    prepareAlbum();
    const QString longTitle = u"A title long enough to pass the sixty four characters of Joliet names"_s;
    pageRename->setRenameList({{longTitle, u"a.mp3"_s, u"01"_s}});
    control<QCheckBox>(u"chkJoliet"_s)->setChecked(true);
    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();

    auto *log = control<QTreeWidget>(u"trvLog"_s);
    ASSERT_EQ(log->topLevelItemCount(), 1);
    QTreeWidgetItem *entry = log->topLevelItem(0);
    EXPECT_TRUE(entry->isExpanded());
    EXPECT_TRUE(entry->child(0)->isExpanded());
    ASSERT_EQ(entry->child(2)->childCount(), 1);
    EXPECT_TRUE(entry->child(2)->isExpanded());
    EXPECT_TRUE(entry->child(2)->child(0)->text(0).startsWith(
        u"Joliet error. The length of the file name is more than 64 caracters : "_s));
    EXPECT_EQ(control<QLineEdit>(u"txtLogInfo"_s)->text(),
              u"Files renamed : 1 / 1   -   1 warning   -   0 error"_s);
    const QString shortened = QString(u"01 - "_s + longTitle).left(60) + u".mp3"_s;
    EXPECT_EQ(shortened.size(), 64);
    EXPECT_TRUE(QFileInfo::exists(folder + u"/Foo - Bar/"_s + shortened)) << shortened.toStdString();
}

TEST_F(PageRenameRunTest, AMaskTooLongToBeKeptIsRefusedAndNothingIsRenamed)
{
    prepareAlbum();
    auto *mask = control<QComboBox>(u"cboMask"_s);
    mask->setFocus();
    mask->lineEdit()->selectAll();
    QTest::keyClicks(mask->lineEdit(), u"%track "_s + QString(250, u'x'));
    answers->answerNext(Msg::Answer::Yes);
    pageRename->renameAndTag();
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->lastText(), u"The mask is too long (257 characters, at most 254)."_s);
    EXPECT_EQ(answers->messages().last().title, u"Invalid mask"_s);
    EXPECT_EQ(answers->messages().last().icon, Msg::Icon::Critical);
    EXPECT_TRUE(requestedPages.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(folder + u"/a.mp3"_s));
}

TEST_F(PageRenameRunTest, AlbumWarningsAskWithYesAsDefaultAndTheJobRunsAsPlannedWithItsPage)
{
    prepareAlbum();
    // Track 1 twice and 2 missing; the record says the third track lasts ten minutes.
    pageRename->setRenameList({{u"One"_s, u"a.mp3"_s, u"01"_s},
                               {u"Two"_s, u"b.mp3"_s, u"01"_s},
                               {u"Three"_s, u"c.mp3"_s, u"03"_s, 600000}});
    control<QCheckBox>(u"chkHtml"_s)->setChecked(true);
    control<QComboBox>(u"cboHtmlDir"_s)->setCurrentIndex(1);
    const QStringList warnings {u"File 1 (a.mp3) and File 2 (b.mp3) have the same track number 1"_s,
                                u"Track numbers missing between 1 and 3: 2"_s,
                                u"File 3 (c.mp3): it lasts 0:02, its track 10:00 (much shorter)"_s};

    // No to the warnings changes nothing.
    answers->answerNext(Msg::Answer::No);
    pageRename->renameAndTag();
    ASSERT_EQ(answers->count(), 1);
    const Msg::Message question = answers->messages().first();
    EXPECT_EQ(question.title, u"Rename and tag warnings"_s);
    EXPECT_EQ(question.buttons, Msg::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, Msg::Answer::Yes);
    EXPECT_EQ(question.text, u"The album may not be what you expect:\n\n"_s + warnings.join(u'\n')
                                 + u"\n\nRename and tag anyway? Every file is renamed and tagged as planned."_s);
    EXPECT_TRUE(requestedPages.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(folder + u"/a.mp3"_s));

    // Enter (the default buttons): the one-time question follows, then every file is renamed
    // as without warnings, and the page lies above the album folder.
    answers->clear();
    pageRename->renameAndTag();
    ASSERT_EQ(answers->count(), 2);
    EXPECT_EQ(answers->messages().at(0).title, u"Rename and tag warnings"_s);
    EXPECT_EQ(answers->messages().at(1).title, u"Rename and tag warning"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtLogInfo"_s)->text(), u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);
    const QByteArray page = readAll(folder + u"/Foo - Bar.htm"_s);
    EXPECT_TRUE(page.contains("<a href=\"Foo%20-%20Bar/03%20-%20Three.mp3\">Three</a>")) << page.toStdString();
}

TEST_F(PageRenameRunTest, GrabOfThePageWithThePreflightQuestionShowingWarnings)
{
    // The real message box over the page, for a look (also saved under VARNELT_GRAB_DIR).
    prepareAlbum();
    pageRename->setRenameList({{u"One"_s, u"a.mp3"_s, u"01"_s},
                               {u"Two"_s, u"b.mp3"_s, u"01"_s},
                               {u"Three"_s, u"c.mp3"_s, u"04"_s, 600000}});
    control<QCheckBox>(u"chkHtml"_s)->setChecked(true);
    host->resize(1100, 780);
    host->show();
    QApplication::processEvents();
    QString boxText;
    bool grabbed = false;
    // Polls for the box (the question blocks in its own loop); gives up after about 10 s.
    QTimer poll;
    int tries = 0;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box && ++tries < 100)
            return;
        poll.stop();
        if (!box)
            return;
        for (const QLabel *label : box->findChildren<QLabel *>())
            boxText += label->text();
        QPixmap shot = host->grab();
        const QPixmap boxShot = box->grab();
        QPainter painter(&shot);
        painter.fillRect(shot.rect(), QColor(0, 0, 0, 50));
        const QPoint at((shot.width() - boxShot.width()) / 2, (shot.height() - boxShot.height()) / 2);
        painter.drawPixmap(at, boxShot);
        painter.setPen(QColor(80, 80, 80));
        painter.drawRect(QRect(at, boxShot.size()).adjusted(-1, -1, 0, 0));
        painter.end();
        shot.save(tempFile(u"rename-preflight-warnings.png"_s));
        if (const QString dir = qEnvironmentVariable("VARNELT_GRAB_DIR"); !dir.isEmpty())
            shot.save(QDir(dir).filePath(u"rename-preflight-warnings.png"_s));
        grabbed = boxShot.width() > 50;
        QTest::keyClick(box, Qt::Key_Escape); // No
    });
    poll.start();
    const Msg::Presenter recorder = Msg::setPresenter(&MessageBoxPresenter::present);
    pageRename->renameAndTag();
    Msg::setPresenter(recorder);
    EXPECT_TRUE(grabbed);
    EXPECT_TRUE(boxText.contains(u"Track numbers missing between 1 and 4: 2-3"_s)) << boxText.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + u"/a.mp3"_s)) << "Escape answers No";
}
