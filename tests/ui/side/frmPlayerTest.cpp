// The player on the main window's lists: through a folder of real MP3 files to the last one,
// the buttons at both ends, the list's selection untouched, a damaged file reported once, a
// machine without a sound output told so.
#include "ui/main/MainWindowFixture.h"
#include "ui/side/frmPlayer.h"
#include "ui/widgets/Desktop.h"

#include <QAction>
#include <QApplication>
#include <QMediaPlayer>
#include <QAbstractButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using namespace Qt::StringLiterals;

class frmPlayerTest : public MainWindowTest
{
protected:
    // The tests play to a sound output whether or not the machine has one.
    void SetUp() override
    {
        MainWindowTest::SetUp();
        realSoundCheck_ = Desktop::setSoundCheck([] { return true; });
    }
    void TearDown() override
    {
        Desktop::setSoundCheck(realSoundCheck_);
        MainWindowTest::TearDown();
    }
    Desktop::SoundCheck realSoundCheck_;

    /// Runs `drive` on the player once the command has opened it modally; false when the
    /// command opened no player.
    static bool withPlayer(const std::function<void()> &command, const std::function<void(frmPlayer &)> &drive)
    {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto *player = qobject_cast<frmPlayer *>(QApplication::activeModalWidget());
            if (!player)
                return;
            opened = true;
            drive(*player);
            if (player->isVisible())
                player->findChild<QAbstractButton *>(u"cmdEnd"_s)->click();
        });
        command();
        return opened;
    }

    static QAbstractButton *button(frmPlayer &player, const QString &name) { return player.findChild<QAbstractButton *>(name); }
};

TEST_F(frmPlayerTest, PlaysFromTheSelectedRowToTheLastAndLeavesTheSelection)
{
    for (const QString &name : {u"1.mp3"_s, u"2.mp3"_s, u"3.mp3"_s})
        writeSong(u"album/"_s + name, 0.4, false, true);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    QTreeWidget *list = fileList(*window);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    list->setCurrentItem(list->topLevelItem(0));
    const QByteArray before = readAll(tempFile(u"album/2.mp3"_s));

    QAction *menu = window->findChild<QAction *>(u"mnuPlayer"_s);
    const bool opened = withPlayer([menu] { menu->trigger(); }, [&](frmPlayer &player) {
        EXPECT_EQ(player.windowTitle(), u"1.mp3"_s);
        EXPECT_FALSE(button(player, u"cmdPrev"_s)->isEnabled());
        EXPECT_TRUE(button(player, u"cmdNext"_s)->isEnabled());
        // Each file runs to its end and the next one starts, until the last row.
        QTRY_COMPARE_WITH_TIMEOUT(player.windowTitle(), u"2.mp3"_s, 10000);
        EXPECT_TRUE(button(player, u"cmdPrev"_s)->isEnabled());
        EXPECT_TRUE(button(player, u"cmdNext"_s)->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(player.windowTitle(), u"3.mp3"_s, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(player.mediaPlayer()->mediaStatus(), QMediaPlayer::EndOfMedia, 10000);
        QTest::qWait(300);
        EXPECT_EQ(player.offset(), 2);
        EXPECT_EQ(player.windowTitle(), u"3.mp3"_s);
        EXPECT_FALSE(button(player, u"cmdNext"_s)->isEnabled());
        EXPECT_TRUE(button(player, u"cmdPrev"_s)->isEnabled());
        EXPECT_TRUE(player.findChild<QWidget *>(u"sldPosition"_s) != nullptr);
        button(player, u"cmdPrev"_s)->click();
        EXPECT_EQ(player.currentPath(), tempFile(u"album/2.mp3"_s));
        EXPECT_EQ(answers->count(), 0) << answers->lastText().toStdString();
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem *>{list->topLevelItem(0)});
    EXPECT_EQ(readAll(tempFile(u"album/2.mp3"_s)), before);

    // On the tag page Enter in its list opens the player at the row the list is on.
    window->workWithTagCommand();
    auto *tags = window->findChild<QTreeWidget *>(u"lstFilesTag"_s);
    ASSERT_EQ(tags->topLevelItemCount(), 3);
    tags->setCurrentItem(tags->topLevelItem(1));
    EXPECT_TRUE(withPlayer([tags] { QTest::keyClick(tags, Qt::Key_Return); }, [&](frmPlayer &player) {
        EXPECT_EQ(player.currentPath(), tempFile(u"album/2.mp3"_s));
        EXPECT_TRUE(button(player, u"cmdPrev"_s)->isEnabled());
        EXPECT_TRUE(button(player, u"cmdNext"_s)->isEnabled());
    }));
    EXPECT_EQ(tags->currentItem(), tags->topLevelItem(1));
}

TEST_F(frmPlayerTest, ADamagedOnlyFileIsReportedOnceAndTheWindowStaysUsable)
{
    QByteArray junk;
    while (junk.size() < 20000)
        junk += "this is no MPEG audio at all. ";
    const QString path = writeFile(u"album/broken.mp3"_s, junk);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    ASSERT_EQ(fileList(*window)->topLevelItemCount(), 1);
    fileList(*window)->setCurrentItem(fileList(*window)->topLevelItem(0));

    QAction *menu = window->findChild<QAction *>(u"mnuPlayer"_s);
    bool closed = false;
    EXPECT_TRUE(withPlayer([menu] { menu->trigger(); }, [&](frmPlayer &player) {
        EXPECT_FALSE(button(player, u"cmdPrev"_s)->isEnabled());
        EXPECT_FALSE(button(player, u"cmdNext"_s)->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(answers->count(), 1, 10000);
        // The player has given up on the file: every error it had to report has come.
        QTRY_COMPARE_WITH_TIMEOUT(player.mediaPlayer()->mediaStatus(), QMediaPlayer::InvalidMedia, 10000);
        QCoreApplication::processEvents();
        EXPECT_EQ(answers->count(), 1);
        EXPECT_EQ(answers->messages().first().title, u"Error"_s);
        EXPECT_TRUE(answers->lastText().contains(path)) << answers->lastText().toStdString();
        button(player, u"cmdPause"_s)->click();
        button(player, u"cmdEnd"_s)->click();
        closed = !player.isVisible();
    }));
    EXPECT_TRUE(closed);
    EXPECT_EQ(readAll(path), junk);
}

TEST_F(frmPlayerTest, WithoutASoundOutputThePlayerSaysSo)
{
    writeSong(u"album/1.mp3"_s, 0.4, false, true);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    fileList(*window)->setCurrentItem(fileList(*window)->topLevelItem(0));
    Desktop::setSoundCheck([] { return false; });
    QAction *menu = window->findChild<QAction *>(u"mnuPlayer"_s);
    EXPECT_TRUE(withPlayer([menu] { menu->trigger(); }, [&](frmPlayer &player) {
        EXPECT_EQ(player.currentPath(), tempFile(u"album/1.mp3"_s));
    }));
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"Error"_s);
    EXPECT_TRUE(answers->lastText().contains(u"No sound output"_s)) << answers->lastText().toStdString();
}
