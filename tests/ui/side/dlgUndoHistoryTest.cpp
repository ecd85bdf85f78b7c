// The undo history: the File menu names the newest change, the history lists every recorded
// change newest first, and Enter on a row undoes that change, after the menu's question.
#include "ui/main/MainWindowFixture.h"
#include "ui/side/dlgUndoHistory.h"

#include "jobs/AlbumRenameJob.h"
#include "jobs/TagBatch.h"
#include "jobs/TagEditing.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>
#include "ui/widgets/ButtonEx.h"

using namespace Qt::StringLiterals;

class dlgUndoHistoryTest : public MainWindowTest {};

TEST_F(dlgUndoHistoryTest, MenuNamesTheNewestChangeAndTheHistoryUndoesTheChosenOne)
{
    // An album rename in one folder, then tags removed in another.
    const QString a = writeSong(u"rip/a.mp3"_s, 1.0, true, true);
    const QString b = writeSong(u"rip/b.mp3"_s, 2.0, false, true);
    const QByteArray aBytes = readAll(a), bBytes = readAll(b);
    RenameJobInput in = ripRename();
    ResultLog log;
    ASSERT_TRUE(runAlbumRenameJob(in, log).started);
    ASSERT_FALSE(QFileInfo::exists(a));
    const QString other = writeSong(u"other/c.mp3"_s, 1.0, true, true);
    const QByteArray otherBytes = readAll(other);
    {
        TagBatch batch;
        ASSERT_TRUE(batch.begin(ChangeKind::RemoveTags, tempFile(u"other"_s), {other}));
        ASSERT_TRUE(removeTags(other, TagVersions::Both, RemovalScope::AllFiles, batch.slot(1)).done);
    }
    const QByteArray stripped = readAll(other);
    ASSERT_NE(stripped, otherBytes);

    auto window = openWindow();
    auto *undo = window->findChild<QAction *>(u"mnuUndoRename"_s);
    auto *history = window->findChild<QAction *>(u"mnuUndoHistory"_s);
    ASSERT_TRUE(undo && history);
    EXPECT_EQ(undo->text(), u"&Undo Remove tags (1 file)"_s);
    EXPECT_TRUE(undo->isEnabled());

    answers->clear();
    history->trigger();
    QPointer<dlgUndoHistory> dialog = window->findChild<dlgUndoHistory *>();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    auto *list = dialog->findChild<QTreeWidget *>(u"lstChanges"_s);
    auto *undoButton = dialog->findChild<ButtonEx *>(u"cmdUndo"_s);
    ASSERT_TRUE(list && undoButton);
    const auto column = [list](int c) {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(c);
        return texts;
    };
    EXPECT_EQ(column(1), (QStringList {u"Remove tags"_s, u"Album rename"_s}));
    EXPECT_EQ(column(2), (QStringList {tempFile(u"other"_s), tempFile(u"rip"_s)}));
    EXPECT_EQ(column(3), (QStringList {u"1"_s, u"2"_s}));
    EXPECT_EQ(column(4), (QStringList {u"finished"_s, u"finished"_s}));
    EXPECT_TRUE(saveGrab(dialog, tempPath(), u"dlgUndoHistory"_s));

    // The older change, chosen with the keyboard and undone with Enter after a Yes.
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Down);
    answers->answerNext(Msg::Answer::Yes);
    QTest::keyClick(list, Qt::Key_Return);
    // The default button shows its press before it acts.
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers->count() >= 2; }, 3000)) << "Enter undoes the chosen change";
    EXPECT_EQ(column(4), (QStringList {u"finished"_s, u"undone"_s}));
    EXPECT_FALSE(undoButton->isEnabled()) << "the row undone stays chosen, and cannot be undone twice";
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_TRUE(!dialog || !dialog->isVisible()) << "Esc closes the history";

    ASSERT_EQ(answers->count(), 2);
    EXPECT_EQ(answers->messages().at(0).buttons, Msg::Buttons::YesNo);
    EXPECT_TRUE(answers->messages().at(0).text.contains(u"Album rename: 2 files in "_s + tempFile(u"rip"_s)))
        << answers->messages().at(0).text.toStdString();
    EXPECT_TRUE(answers->lastText().startsWith(u"This change was undone:\nAlbum rename"_s))
        << answers->lastText().toStdString();
    EXPECT_EQ(readAll(a), aBytes);
    EXPECT_EQ(readAll(b), bBytes);
    EXPECT_EQ(readAll(other), stripped) << "the newer change is left as it is";
    EXPECT_EQ(undo->text(), u"&Undo Remove tags (1 file)"_s);
}

TEST_F(dlgUndoHistoryTest, UndoOnTheTagPageShowsTheTagsItPutBackAndTheMenuNamesLaterChanges)
{
    const QString song = writeSong(u"rip/a.mp3"_s, 1.0, true, true);
    {
        TagBatch batch;
        ASSERT_TRUE(batch.begin(ChangeKind::RemoveTags, tempFile(u"rip"_s), {song}));
        ASSERT_TRUE(removeTags(song, TagVersions::Both, RemovalScope::AllFiles, batch.slot(1)).done);
    }
    presetSetting(u"Last Directory"_s, tempFile(u"rip"_s));
    auto window = openWindow();
    QTest::mouseClick(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s), Qt::LeftButton);
    ASSERT_EQ(window->activeWizardPage(), WizardPage::Tag);
    auto *tags = window->findChild<QTreeWidget *>(u"lstFilesTag"_s);
    ASSERT_TRUE(tags);
    ASSERT_EQ(columnTexts(tags, 1).size(), 1);
    ASSERT_NE(columnTexts(tags, 1), QStringList {u"Song"_s}) << "the file is listed without its tags";

    answers->setDefaultAnswer(Msg::Answer::Yes);
    window->undoLastChange();
    EXPECT_EQ(columnTexts(tags, 1), QStringList {u"Song"_s}) << "the list shows the title the undo put back";
    auto *undo = window->findChild<QAction *>(u"mnuUndoRename"_s);
    EXPECT_EQ(undo->text(), u"&Undo"_s);

    // A change made outside the window's jobs is named once the File menu opens.
    {
        TagBatch batch;
        ASSERT_TRUE(batch.begin(ChangeKind::RemoveTags, tempFile(u"rip"_s), {song}));
        ASSERT_TRUE(removeTags(song, TagVersions::V2Only, RemovalScope::AllFiles, batch.slot(1)).done);
    }
    emit window->findChild<QMenu *>(u"mnuFile"_s)->aboutToShow();
    EXPECT_EQ(undo->text(), u"&Undo Remove tags (1 file)"_s);
    EXPECT_TRUE(undo->isEnabled());
}
