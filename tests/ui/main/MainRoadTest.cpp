#include <functional>
// The main road through the real main window: list a folder, open the tag page, build the
// rename list from the files' tags, check the preview, rename and tag, read the result page.
#include "MainWindowFixture.h"

#include "audio/ID3Edit.h"
#include "ui/main/MainContext.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFileInfo>
#include <QLineEdit>
#include "ui/widgets/ButtonEx.h"
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class MainRoadTest : public MainWindowTest {};

TEST_F(MainRoadTest, FromTheFolderToRenamedAndTaggedFiles)
{
    const QString folder = tempFile(u"rips/new"_s);
    const QStringList titles{u"Intro"_s, u"Song: Two"_s, u"Outro"_s};
    for (int i = 0; i < titles.size(); ++i) {
        Mp3Writer::Song song;
        song.title = titles.at(i);
        song.artist = u"Foo"_s;
        song.album = u"Bar"_s;
        song.year = u"2001"_s;
        song.track = i + 1;
        song.seconds = 1.0 + i;
        ASSERT_TRUE(Mp3Writer::save(folder + u"/track%1.mp3"_s.arg(i + 1), Mp3Writer::song(song)));
    }
    presetSetting(u"Last Directory"_s, folder);
    presetSetting(u"Last Destination dir"_s, u"MP3 directory"_s);
    presetSetting(u"Check Playlist"_s, u"1"_s);
    auto window = openWindow();
    ASSERT_TRUE(window->isVisible());
    ASSERT_EQ(window->context().currentDirectory, folder);

    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s), Qt::LeftButton);
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Tag);
    auto *tagList = window->findChild<QTreeWidget *>(u"lstFilesTag"_s);
    ASSERT_EQ(tagList->topLevelItemCount(), 3);
    // The page opens on its first file, shown in the editor.
    EXPECT_EQ(tagList->currentItem(), tagList->topLevelItem(0));
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtFileName"_s)->text(), u"track1.mp3"_s);

    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdRenameWithTag"_s), Qt::LeftButton);
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Rename);
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtTotalTrack"_s)->text(), u"3"_s);
    auto *list = window->findChild<QTreeWidget *>(u"lstResult"_s);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    list->setCurrentItem(list->topLevelItem(1));
    EXPECT_EQ(window->findChild<QComboBox *>(u"cboMask"_s)->currentText(), u"%artist - %album\\%track - %title"_s);
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtNewFileName"_s)->text(), folder + u"/Foo - Bar/02 - Song- Two.mp3"_s);

    answers->setDefaultAnswer(Msg::Answer::Yes);
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdRename"_s), Qt::LeftButton);
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Result);
    const QString album = folder + u"/Foo - Bar/"_s;
    EXPECT_TRUE(QFileInfo::exists(album + u"01 - Intro.mp3"_s));
    EXPECT_TRUE(QFileInfo::exists(album + u"03 - Outro.mp3"_s));
    ID3Edit tag;
    ASSERT_EQ(tag.Load(album + u"02 - Song- Two.mp3"_s), ID3Edit::Ok);
    EXPECT_EQ(tag.Title(), u"Song: Two"_s);
    EXPECT_EQ(tag.Track(), u"2/3"_s);
    EXPECT_TRUE(QFileInfo::exists(album + u"Foo - Bar.pls"_s));

    auto *log = window->findChild<QTreeWidget *>(u"trvLog"_s);
    ASSERT_EQ(log->topLevelItemCount(), 4);
    EXPECT_EQ(log->topLevelItem(3)->text(0), u"Playlist"_s);
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtLogInfo"_s)->text(),
              u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtDirectoryLog"_s)->text(), album);
    for (const QString &name : {u"cmdWorkWithTagLog"_s, u"cmdSelectDirectory"_s, u"cmdEnd"_s})
        EXPECT_TRUE(window->findChild<ButtonEx *>(name)->isEnabled()) << name.toStdString();
}

TEST_F(MainRoadTest, NothingLeadsBackToTheFolderWhileTheRenameRuns)
{
    const QString folder = tempFile(u"rips/held"_s);
    for (int i = 1; i <= 3; ++i) {
        Mp3Writer::Song song;
        song.title = u"Song %1"_s.arg(i);
        song.artist = u"Foo"_s;
        song.album = u"Bar"_s;
        song.track = i;
        ASSERT_TRUE(Mp3Writer::save(folder + u"/track%1.mp3"_s.arg(i), Mp3Writer::song(song)));
    }
    presetSetting(u"Last Directory"_s, folder);
    presetSetting(u"Last Destination dir"_s, u"MP3 directory"_s);
    auto window = openWindow();
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s), Qt::LeftButton);
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdRenameWithTag"_s), Qt::LeftButton);
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Rename);

    // Inside the job, when it lets pending events through: the File menu's "&Select a directory"
    // and the folder picture must be as dead as the "&Select a directory" button.
    auto *selectDir = window->findChild<QAction *>(u"mnuSelDir"_s);
    auto *picture = window->findChild<QAbstractButton *>(u"imgDir"_s);
    bool menuEnabled = true;
    bool pictureEnabled = true;
    QTimer::singleShot(0, window.get(), [&] {
        menuEnabled = selectDir->isEnabled();
        pictureEnabled = picture->isEnabled();
        selectDir->trigger();
        picture->click();
    });
    answers->setDefaultAnswer(Msg::Answer::Yes);
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdRename"_s), Qt::LeftButton);

    EXPECT_FALSE(menuEnabled);
    EXPECT_FALSE(pictureEnabled);
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Result);
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtLogInfo"_s)->text(),
              u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);
    // Afterwards both lead back again.
    EXPECT_TRUE(selectDir->isEnabled());
    EXPECT_TRUE(picture->isEnabled());
    picture->click();
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
}

TEST_F(MainRoadTest, CancelStopsTheRenameAndATagBatchAfterTheFileUnderWay)
{
    const QString folder = tempFile(u"rips/long"_s);
    constexpr int Files = 40;
    for (int i = 1; i <= Files; ++i) {
        Mp3Writer::Song song;
        song.title = u"Song %1"_s.arg(i);
        song.artist = u"Foo"_s;
        song.album = u"Bar"_s;
        song.track = i;
        ASSERT_TRUE(Mp3Writer::save(folder + u"/track%1.mp3"_s.arg(i, 2, 10, QChar(u'0')), Mp3Writer::song(song)));
    }
    presetSetting(u"Last Directory"_s, folder);
    presetSetting(u"Last Destination dir"_s, u"MP3 directory"_s);
    auto window = openWindow();
    auto *cancel = window->findChild<ButtonEx *>(u"cmdCancel"_s);
    ASSERT_NE(cancel, nullptr);
    EXPECT_FALSE(cancel->isVisible());
    // Cancel is pressed the first time the running job lets the window answer a click.
    // Events may run before the job shows its button (the question before a batch): wait for it.
    bool cancelOffered = false;
    std::function<void()> pressCancelSoon = [&] {
        QTimer::singleShot(0, window.get(), [&] {
            cancelOffered = cancel->isVisible() && cancel->isEnabled();
            if (cancelOffered)
                QTest::mouseClick(cancel, Qt::LeftButton);
            else
                pressCancelSoon();
        });
    };

    // The tag batch: the files done keep their new tags, the others are untouched.
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s), Qt::LeftButton);
    answers->setDefaultAnswer(Msg::Answer::Yes);
    pressCancelSoon();
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdRemoveAllTag"_s), Qt::LeftButton);
    EXPECT_TRUE(cancelOffered);
    EXPECT_TRUE(answers->lastText().startsWith(u"Stopped by the user."_s)) << answers->lastText().toStdString();
    int untouched = 0;
    for (int i = 1; i <= Files; ++i) {
        ID3Edit tag;
        if (tag.Load(folder + u"/track%1.mp3"_s.arg(i, 2, 10, QChar(u'0'))) == ID3Edit::Ok && !tag.Title().isEmpty())
            ++untouched;
    }
    EXPECT_GT(untouched, 0);
    EXPECT_LT(untouched, Files);
    EXPECT_FALSE(cancel->isVisible());
    EXPECT_TRUE(window->findChild<ButtonEx *>(u"cmdRenameWithTag"_s)->isEnabled());
}

TEST_F(MainRoadTest, CancelStopsTheRenameJobWithTheJournalKept)
{
    const QString folder = tempFile(u"rips/many"_s);
    constexpr int Files = 40;
    for (int i = 1; i <= Files; ++i) {
        Mp3Writer::Song song;
        song.title = u"Song %1"_s.arg(i);
        song.artist = u"Foo"_s;
        song.album = u"Bar"_s;
        song.track = i;
        ASSERT_TRUE(Mp3Writer::save(folder + u"/track%1.mp3"_s.arg(i, 2, 10, QChar(u'0')), Mp3Writer::song(song)));
    }
    presetSetting(u"Last Directory"_s, folder);
    presetSetting(u"Last Destination dir"_s, u"MP3 directory"_s);
    auto window = openWindow();
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s), Qt::LeftButton);
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdRenameWithTag"_s), Qt::LeftButton);
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Rename);
    auto *cancel = window->findChild<ButtonEx *>(u"cmdCancel"_s);
    bool cancelOffered = false;
    QTimer::singleShot(0, window.get(), [&] {
        cancelOffered = cancel->isVisible() && cancel->isEnabled();
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    answers->setDefaultAnswer(Msg::Answer::Yes);
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdRename"_s), Qt::LeftButton);
    EXPECT_TRUE(cancelOffered);
    auto *log = window->findChild<QTreeWidget *>(u"trvLog"_s);
    const QList<QTreeWidgetItem *> stopped = log->findItems(u"Stopped by the user."_s, Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_EQ(stopped.size(), 1);
    int renamed = 0;
    for (int i = 1; i <= Files; ++i)
        renamed += QFileInfo::exists(folder + u"/Foo - Bar/%1 - Song %2.mp3"_s.arg(i, 2, 10, QChar(u'0')).arg(i)) ? 1 : 0;
    EXPECT_GT(renamed, 0);
    EXPECT_LT(renamed, Files);
    EXPECT_FALSE(cancel->isVisible());

    // "&Select a directory" leads to the destination, highlighted in the folder tree.
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdSelectDirectory"_s), Qt::LeftButton);
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Directory);
    auto *tree = window->findChild<QTreeView *>(u"fdvDir"_s);
    const QModelIndex current = tree->currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(QDir::cleanPath(current.data(QFileSystemModel::FilePathRole).toString()), folder + u"/Foo - Bar"_s);
    EXPECT_TRUE(tree->selectionModel()->isSelected(current));

    // The part done is undone from the journal; the result page no longer shows the job.
    window->affichePage(WizardPage::Result);
    answers->setDefaultAnswer(Msg::Answer::Yes);
    window->undoLastChange();
    for (int i = 1; i <= Files; ++i)
        EXPECT_TRUE(QFileInfo::exists(folder + u"/track%1.mp3"_s.arg(i, 2, 10, QChar(u'0')))) << i;
    EXPECT_EQ(log->topLevelItemCount(), 0);
}

TEST_F(MainRoadTest, DeleteInTheFileListTrashesTheSelectedFilesAfterAsking)
{
    const QString folder = tempFile(u"rips/few"_s);
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(Mp3Writer::save(folder + u"/track%1.mp3"_s.arg(i), Mp3Writer::song(Mp3Writer::Song())));
    presetSetting(u"Last Directory"_s, folder);
    auto window = openWindow();
    QTreeWidget *list = fileList(*window);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(1));
    list->topLevelItem(1)->setSelected(true);
    answers->clear();
    answers->answerNext(Msg::Answer::No);
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(answers->count(), 1);
    EXPECT_TRUE(QFileInfo::exists(folder + u"/track2.mp3"_s)) << "No keeps the file";
    list->setCurrentItem(list->topLevelItem(1));
    list->topLevelItem(1)->setSelected(true);
    answers->answerNext(Msg::Answer::Yes);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_FALSE(QFileInfo::exists(folder + u"/track2.mp3"_s));
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"track1.mp3"_s, u"track3.mp3"_s}));
}
