// The directory page driven through the real window: scans of real MP3 folders, the totals
// line, icons, the placeholder row, sorting, in-place renames, keys and the trash.
#include "MainWindowFixture.h"
#include "ui/main/UrlRecorder.h"

#include "album/DirectoryListing.h"
#include "jobs/RenameUndo.h"
#include "ui/main/MainContext.h"
#include "ui/main/PageDirectory.h"
#include "ui/widgets/Icons.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include "ui/widgets/ButtonEx.h"
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

bool sameIcon(const QIcon &shown, const QString &key)
{
    return shown.pixmap(16).toImage() == iconForKey(key).pixmap(16).toImage();
}

QTreeWidgetItem *rowNamed(QTreeWidget *list, const QString &name)
{
    const auto found = list->findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.first();
}

void clickHeader(QTreeWidget *list, int column)
{
    QHeaderView *header = list->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class PageDirectoryTest : public MainWindowTest {};

TEST_F(PageDirectoryTest, ScanListsTheFilesWithColumnsIconsAndTotals)
{
    writeSong(u"album/one.mp3"_s, 2.0, false, false);
    writeSong(u"album/two.MP3"_s, 2.0, true, false);
    writeSong(u"album/three.mp3"_s, 2.0, false, true);
    writeSong(u"album/four.mp3"_s, 2.0, true, true);
    writeFile(u"album/notes.txt"_s, "not music");
    writeFile(u"album/.hidden.mp3"_s, Mp3Writer::cbrFile(1.0));
    writeFile(u"album/zz damaged.mp3"_s, QByteArray(4096, '\x11'));
    QDir().mkpath(tempFile(u"album/folder.mp3"_s));
    // A letter-case rename a crash stopped: shown as a warning line, never as a row.
    writeFile(u"album/five.mp3_VARNELT"_s, Mp3Writer::cbrFile(1.0));
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));

    auto window = openWindow();
    QTreeWidget *list = fileList(*window);
    ASSERT_EQ(list->topLevelItemCount(), 5);
    auto *leftovers = window->findChild<QLabel *>(u"lblLeftovers"_s);
    ASSERT_NE(leftovers, nullptr);
    EXPECT_FALSE(leftovers->isHidden());
    EXPECT_EQ(leftovers->text(), u"Warning: File left under a temporary name by an interrupted rename: five.mp3_VARNELT"_s);
    EXPECT_TRUE(QFile::exists(tempFile(u"album/five.mp3_VARNELT"_s))) << "the scan changes nothing";
    // Sorted by name ascending, whatever order the folder gave them in.
    EXPECT_EQ(columnTexts(list, 0),
              QStringList({u"four.mp3"_s, u"one.mp3"_s, u"three.mp3"_s, u"two.MP3"_s, u"zz damaged.mp3"_s}));
    // A file with no audio frame at all warns rather than looking like a good file.
    EXPECT_TRUE(sameIcon(rowNamed(list, u"zz damaged.mp3"_s)->icon(0), u"warning"_s));
    EXPECT_FALSE(rowNamed(list, u"zz damaged.mp3"_s)->toolTip(0).isEmpty());
    EXPECT_TRUE(rowNamed(list, u"one.mp3"_s)->toolTip(0).isEmpty());
    EXPECT_TRUE(sameIcon(rowNamed(list, u"one.mp3"_s)->icon(0), u"FileIcon"_s));
    EXPECT_TRUE(sameIcon(rowNamed(list, u"two.MP3"_s)->icon(0), u"FileIconTag"_s));
    EXPECT_TRUE(sameIcon(rowNamed(list, u"three.mp3"_s)->icon(0), u"FileIconTagV2"_s));
    EXPECT_TRUE(sameIcon(rowNamed(list, u"four.mp3"_s)->icon(0), u"FileIconTagV1+2"_s));

    const QStringList headers = {u"File Name"_s, u"Size"_s, u"Length"_s, u"Bitrate"_s, u"Frequency"_s, u"Mode"_s};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(list->headerItem()->text(c), headers[c]);
    QTreeWidgetItem *one = rowNamed(list, u"one.mp3"_s);
    const qint64 bytes = QFileInfo(tempFile(u"album/one.mp3"_s)).size();
    EXPECT_EQ(one->text(1), QString::number(qRound64(double(bytes) / 1024)));
    EXPECT_EQ(one->text(3), u"128"_s);
    EXPECT_EQ(one->text(4), u"44100"_s);
    EXPECT_EQ(one->textAlignment(1) & Qt::AlignRight, int(Qt::AlignRight));
    EXPECT_FALSE(one->text(2).trimmed().isEmpty());
    EXPECT_FALSE(one->text(5).trimmed().isEmpty());

    auto *totals = window->findChild<QLineEdit *>(u"txtTotalFile"_s);
    EXPECT_EQ(totals->text(), u"MP3 files found : 5   -   Total size : 0 MB   -   Total length : 0:08"_s);
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtDirectoryFiles"_s)->text(), tempFile(u"album/"_s));
    EXPECT_EQ(window->context().currentDirectory, tempFile(u"album"_s));
    EXPECT_TRUE(window->context().filesListed);
    EXPECT_TRUE(window->findChild<QAction *>(u"mnuPlayer"_s)->isEnabled());
    EXPECT_TRUE(window->findChild<ButtonEx *>(u"cmdFindInternet"_s)->isEnabled());
    EXPECT_TRUE(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->isEnabled());
    // The first row is selected, alone.
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().first()->text(0), u"four.mp3"_s);
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(PageDirectoryTest, RowsReadSideBySideShowWhatASingleThreadedListingReads)
{
    const Mp3Writer::Frame mpeg2{.version = 2, .bitrate = 48, .sampleRate = 22050, .mode = Mp3Writer::Mode::Mono};
    for (int i = 0; i < 24; ++i) {
        QByteArray bytes;
        switch (i % 4) {
        case 0: bytes = Mp3Writer::song({.title = u"S"_s, .seconds = 1.0 + i, .withV1 = i % 3 == 0}); break;
        case 1: bytes = Mp3Writer::song({.title = u"P"_s, .seconds = 3.0, .pictureBytes = 20'000}); break;
        case 2: bytes = QByteArray(900, 'J') + Mp3Writer::cbrFile(4.0 + i, 48, mpeg2); break;
        default: bytes = Mp3Writer::vbrStream({}, {96, 192}, 100 + 10 * i); break;
        }
        writeFile(u"mixed/%1.mp3"_s.arg(i, 2, 10, QLatin1Char('0')), bytes);
    }
    const ListingResult reference = listDirectory(tempFile(u"mixed"_s), {.threads = 1});
    ASSERT_EQ(reference.files.size(), 24);

    auto window = openWindow();
    window->pageDirectory()->selectDirectory(tempFile(u"mixed"_s));
    QTreeWidget *list = fileList(*window);
    ASSERT_EQ(list->topLevelItemCount(), 24);
    for (int i = 0; i < 24; ++i) {
        const ListedFile &f = reference.files[i];
        const QTreeWidgetItem *row = list->topLevelItem(i);
        EXPECT_EQ((QStringList{row->text(0), row->text(1), row->text(2), row->text(3), row->text(4), row->text(5)}),
                  (QStringList{f.fileName, f.size, f.length, f.bitrate, f.frequency, f.mode}));
    }
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtTotalFile"_s)->text(), reference.totalsLine);
    EXPECT_EQ(rowNamed(list, u"02.mp3"_s)->text(4), u"22050"_s); // past the junk, not a false frame
}

TEST_F(PageDirectoryTest, TotalsLineGrowsFileByFileAndCountsMinutesAndMegabytes)
{
    writeSong(u"long/a.mp3"_s, 61.0, false, false);
    writeSong(u"long/b.mp3"_s, 2.0, false, false);
    auto window = openWindow();
    auto *totals = window->findChild<QLineEdit *>(u"txtTotalFile"_s);
    QStringList shown;
    QObject::connect(totals, &QLineEdit::textChanged, [&](const QString &text) { shown << text; });

    window->pageDirectory()->selectDirectory(tempFile(u"long"_s));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown.first().startsWith(u"MP3 files found : 1   -   "_s));
    // While files are left to read, the line also shows how far the scan is.
    EXPECT_TRUE(shown.first().endsWith(u"   -   Reading 1 / 2 files..."_s)) << shown.first().toStdString();
    EXPECT_EQ(totals->text(), u"MP3 files found : 2   -   Total size : 1 MB   -   Total length : 1:03"_s);
    EXPECT_EQ(storedSetting(u"Last Directory"_s), tempFile(u"long"_s));
}

TEST_F(PageDirectoryTest, EmptyFolderShowsThePlaceholderAndDisablesTheFileCommands)
{
    writeSong(u"full/a.mp3"_s, 1.0, false, false);
    QDir().mkpath(tempFile(u"empty"_s));
    auto window = openWindow();
    window->pageDirectory()->selectDirectory(tempFile(u"full"_s));
    window->pageDirectory()->selectDirectory(tempFile(u"empty"_s));

    QTreeWidget *list = fileList(*window);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    QTreeWidgetItem *row = list->topLevelItem(0);
    EXPECT_EQ(row->text(0), u"No MP3 files in this directory..."_s);
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(row->text(c), u" "_s);
    EXPECT_TRUE(sameIcon(row->icon(0), u"Info"_s));
    EXPECT_FALSE(row->isSelected());
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtTotalFile"_s)->text(),
        u"MP3 files found : 0   -   Total size : 0 MB   -   Total length : 0:00"_s);
    EXPECT_FALSE(window->context().filesListed);
    EXPECT_FALSE(window->findChild<QAction *>(u"mnuPlayer"_s)->isEnabled());
    EXPECT_FALSE(window->findChild<ButtonEx *>(u"cmdFindInternet"_s)->isEnabled());
    EXPECT_FALSE(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->isEnabled());

    // Keys do nothing on the placeholder: F5 does not list a file that appeared since.
    writeSong(u"empty/new.mp3"_s, 1.0, false, false);
    QTest::keyClick(list, Qt::Key_F5);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
    EXPECT_EQ(answers->count(), 0);

    // A folder that cannot be read says so in the totals line.
    window->pageDirectory()->selectDirectory(tempFile(u"gone"_s));
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtTotalFile"_s)->text(), u"MP3 files found : 0  /  Total size : 0 MB)"_s);
    EXPECT_FALSE(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->isEnabled());
}

TEST_F(PageDirectoryTest, ScanOnAnotherPageListsNamesAndIconsOnly)
{
    writeSong(u"album/a.mp3"_s, 2.0, true, true);
    auto window = openWindow();
    window->affichePage(WizardPage::Result);
    window->pageDirectory()->selectDirectory(tempFile(u"album"_s));
    QTreeWidget *list = fileList(*window);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), u"a.mp3"_s);
    EXPECT_TRUE(sameIcon(list->topLevelItem(0)->icon(0), u"FileIconTagV1+2"_s));
    for (int c = 1; c <= 5; ++c)
        EXPECT_TRUE(list->topLevelItem(0)->text(c).isEmpty());
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtTotalFile"_s)->text(),
        u"MP3 files found : 0   -   Total size : 0 MB   -   Total length : 0:00"_s);
    // Back on the directory page the folder is listed again with its columns.
    window->affichePage(WizardPage::Directory);
    EXPECT_EQ(list->topLevelItem(0)->text(3), u"128"_s);
}

TEST_F(PageDirectoryTest, HeaderClicksSortByTextAndToggleOnTheSameColumn)
{
    writeSong(u"album/a.mp3"_s, 64.0, false, false); // about 1,000 KB: sorted as text it would come first
    writeSong(u"album/b.mp3"_s, 5.0, false, false);  // about 80 KB
    writeSong(u"album/c.mp3"_s, 9.0, false, false);  // about 140 KB
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    QTreeWidget *list = fileList(*window);
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s}));

    // The first click on "File Name" after start-up reverses the order.
    clickHeader(list, 0);
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"c.mp3"_s, u"b.mp3"_s, u"a.mp3"_s}));

    // A new column keeps the direction (descending); the same column again flips it. Sizes
    // sort by their value, not as text ("1,000" would come before "141" and "78").
    clickHeader(list, 1);
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"a.mp3"_s, u"c.mp3"_s, u"b.mp3"_s}));
    clickHeader(list, 1);
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"b.mp3"_s, u"c.mp3"_s, u"a.mp3"_s}));
    EXPECT_EQ(window->pageDirectory()->lastSortColumn(), 1);

    // A rescan sorts by name ascending again but keeps the last clicked column.
    QTest::keyClick(list, Qt::Key_F5);
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s}));
    clickHeader(list, 0);
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s}));
}

TEST_F(PageDirectoryTest, InPlaceRenameRefusesWithTheThreeMessagesAndRenamesOtherwise)
{
    writeSong(u"album/a.MP3"_s, 1.0, false, false);
    writeSong(u"album/b.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    PageDirectory *page = window->pageDirectory();
    QTreeWidget *list = fileList(*window);
    QTreeWidgetItem *upper = rowNamed(list, u"a.MP3"_s);
    QTreeWidgetItem *lower = rowNamed(list, u"b.mp3"_s);

    EXPECT_FALSE(page->renameInPlace(upper, u"c.MP3"_s));
    EXPECT_EQ(answers->lastText(), u"You can't change the extension of the file."_s);
    EXPECT_FALSE(page->renameInPlace(lower, u".mp3"_s));
    EXPECT_EQ(answers->lastText(), u"This is not a valid filename."_s);
    EXPECT_FALSE(page->renameInPlace(upper, u"b.mp3"_s));
    EXPECT_EQ(answers->lastText(),
        u"File rename error. File name already exist, read-only media, not enough rights or file in use"_s);
    EXPECT_TRUE(QFile::exists(tempFile(u"album/a.MP3"_s)));
    EXPECT_EQ(answers->count(), 3);
    EXPECT_TRUE(page->renameInPlace(upper, u"a.MP3.mp3"_s));
    EXPECT_TRUE(QFile::exists(tempFile(u"album/a.MP3.mp3"_s)));
    EXPECT_EQ(answers->count(), 3);
    // A name with a separator would leave the folder.
    QDir().mkpath(tempFile(u"album/sub"_s));
    EXPECT_FALSE(page->renameInPlace(lower, u"sub/b.mp3"_s));
    EXPECT_EQ(answers->lastText(), u"This is not a valid filename."_s);
    EXPECT_TRUE(QFile::exists(tempFile(u"album/b.mp3"_s)));
    for (const Msg::Message &m : answers->messages()) {
        EXPECT_EQ(m.title, u"Error"_s);
        EXPECT_EQ(m.icon, Msg::Icon::Critical);
    }
    EXPECT_EQ(upper->text(0), u"a.MP3.mp3"_s) << "the accepted rename above";

    // Through the real editor: F2, a new name, Enter.
    answers->clear();
    list->setCurrentItem(lower);
    QTest::keyClick(list, Qt::Key_F2);
    auto *editor = list->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, u"renamed.mp3"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(QFile::exists(tempFile(u"album/renamed.mp3"_s)));
    EXPECT_FALSE(QFile::exists(tempFile(u"album/b.mp3"_s)));
    EXPECT_NE(rowNamed(list, u"renamed.mp3"_s), nullptr);
    EXPECT_EQ(answers->count(), 0);
    // Enter only ended the edit: the page stays, and a refused name is reported over it.
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
    QTest::keyClick(list, Qt::Key_F2);
    editor = list->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, u"renamed.wav"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(answers->count(), 1);
    EXPECT_EQ(answers->lastText(), u"You can't change the extension of the file."_s);
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
    EXPECT_TRUE(QFile::exists(tempFile(u"album/renamed.mp3"_s)));
    // Each accepted rename is a change of its own that an undo takes back, the newest first.
    EXPECT_TRUE(RenameUndo::undo().complete());
    EXPECT_TRUE(QFile::exists(tempFile(u"album/b.mp3"_s)) && !QFile::exists(tempFile(u"album/renamed.mp3"_s)));
}

TEST_F(PageDirectoryTest, OnlySelectedFilesFollowsTheSelection)
{
    for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s})
        writeSong(u"album/"_s + name, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    QTreeWidget *list = fileList(*window);
    auto *check = window->findChild<QCheckBox *>(u"chkOnlySelectedFiles"_s);

    const QRect first = list->visualItemRect(list->topLevelItem(0));
    const QRect third = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_FALSE(check->isChecked());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, third.center());
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(window->pageDirectory()->fileNames(true), QStringList({u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s}));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(window->context().selectedFileName, u"c.mp3"_s);

    // "&Work with ID3 tag" with the box ticked but nothing selected is refused.
    list->clearSelection();
    check->setChecked(true);
    window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->click();
    EXPECT_EQ(answers->lastText(), u"Please select at least one file !"_s);
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Directory);
    // Enter on a row opens the tag page; with two rows selected and the box ticked it takes
    // only those.
    list->setCurrentItem(list->topLevelItem(1));
    list->topLevelItem(2)->setSelected(true);
    EXPECT_TRUE(check->isChecked());
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(window->activeWizardPage(), WizardPage::Tag);
    EXPECT_EQ(window->context().selectedFileName, u"b.mp3"_s);
    auto *tagList = window->findChild<QTreeWidget *>(u"lstFilesTag"_s);
    ASSERT_NE(tagList, nullptr);
    EXPECT_EQ(columnTexts(tagList, 0), QStringList({u"b.mp3"_s, u"c.mp3"_s}));
}

TEST_F(PageDirectoryTest, ContextMenuFollowsThePlayerAndRefreshes)
{
    writeSong(u"album/a.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    PageDirectory *page = window->pageDirectory();
    QMenu *menu = page->prepareContextMenu();
    ASSERT_EQ(menu->objectName(), u"mnuContext3"_s);
    QStringList captions;
    for (QAction *action : menu->actions())
        captions << (action->isSeparator() ? u"-"_s : action->text());
    EXPECT_EQ(captions, QStringList({u"&Edit Tag"_s, u"&Play MP3"_s, u"-"_s, u"&Rename"_s, u"&Open"_s,
                            u"&Delete"_s, u"-"_s, u"&Refresh list"_s, u"-"_s, u"Paste track list"_s}));
    auto *play = menu->findChild<QAction *>(u"mnuPlay3"_s);
    EXPECT_TRUE(play->isEnabled());
    window->findChild<QAction *>(u"mnuPlayer"_s)->setEnabled(false);
    page->prepareContextMenu();
    EXPECT_FALSE(play->isEnabled());

    writeSong(u"album/b.mp3"_s, 1.0, false, false);
    menu->findChild<QAction *>(u"mnuRefresh"_s)->trigger();
    EXPECT_EQ(fileList(*window)->topLevelItemCount(), 2);

    // The context-menu key pops it up.
    QTest::keyClick(fileList(*window), Qt::Key_Menu);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(PageDirectoryTest, OpenHandsTheFileToTheDesktop)
{
    writeSong(u"album/a.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(u"file"_s, &recorder, "open");
    window->pageDirectory()->openSelectedFile();
    QDesktopServices::unsetUrlHandler(u"file"_s);
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.first().toLocalFile(), tempFile(u"album/a.mp3"_s));
}

TEST_F(PageDirectoryTest, DeleteAsksThenMovesTheSelectedFilesToTheTrash)
{
    writeSong(u"album/a.mp3"_s, 1.0, false, false);
    writeSong(u"album/b.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"album"_s));
    auto window = openWindow();
    QTreeWidget *list = fileList(*window);
    list->clearSelection();
    rowNamed(list, u"b.mp3"_s)->setSelected(true);

    answers->answerNext(Msg::Answer::No);
    window->pageDirectory()->deleteSelectedFiles();
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().buttons, Msg::Buttons::YesNo);
    EXPECT_TRUE(answers->lastText().contains(u"b.mp3"_s));
    EXPECT_TRUE(QFile::exists(tempFile(u"album/b.mp3"_s)));

    answers->answerNext(Msg::Answer::Yes);
    window->pageDirectory()->deleteSelectedFiles();
    EXPECT_FALSE(QFile::exists(tempFile(u"album/b.mp3"_s)));
    EXPECT_TRUE(QFile::exists(tempFile(u"data/Trash/files/b.mp3"_s)));
    EXPECT_TRUE(QFile::exists(tempFile(u"album/a.mp3"_s)));
    EXPECT_EQ(columnTexts(list, 0), QStringList({u"a.mp3"_s}));
    EXPECT_EQ(answers->count(), 2);
}


TEST_F(PageDirectoryTest, AFolderThatVanishesIsNotReplacedByItsNeighbour)
{
    writeSong(u"music/album/a.mp3"_s, 1.0, false, false);
    writeSong(u"music/other/b.mp3"_s, 1.0, false, false);
    presetSetting(u"Last Directory"_s, tempFile(u"music/album"_s));
    auto window = openWindow();
    auto *tree = window->findChild<QTreeView *>(u"fdvDir"_s);
    ASSERT_EQ(window->context().currentDirectory, tempFile(u"music/album"_s));
    // Let the tree load and watch the folders around the chosen one.
    const QPersistentModelIndex music = tree->currentIndex().parent();
    QTRY_VERIFY(tree->model()->rowCount(music) == 2);
    QTest::qWait(100);

    // Another program (or the rename job's clean-up) removes the folder being shown.
    ASSERT_TRUE(QDir(tempFile(u"music/album"_s)).removeRecursively());
    QTRY_VERIFY_WITH_TIMEOUT(tree->model()->rowCount(music) == 1, 5000);
    QCoreApplication::processEvents();

    // Nobody chose "other": it is neither listed nor remembered, and the tree has no folder
    // current, so a click on any folder (that one included) scans it. The list no longer offers
    // the files that went with the folder.
    EXPECT_EQ(window->context().currentDirectory, tempFile(u"music/album"_s));
    EXPECT_EQ(storedSetting(u"Last Directory"_s), tempFile(u"music/album"_s));
    EXPECT_FALSE(tree->currentIndex().isValid());
    EXPECT_EQ(fileList(*window)->topLevelItemCount(), 0);
    EXPECT_FALSE(window->pageDirectory()->hasFiles());
    EXPECT_EQ(window->findChild<QLineEdit *>(u"txtTotalFile"_s)->text(), u"MP3 files found : 0  /  Total size : 0 MB)"_s);
    EXPECT_FALSE(window->findChild<ButtonEx *>(u"cmdWorkWithTag"_s)->isEnabled());
    EXPECT_EQ(answers->count(), 0);

    // A list made while the tree has no folder (a refresh of the folder by name) still acts on
    // the folder its rows came from, never on the working folder.
    writeSong(u"music/album/c.mp3"_s, 1.0, false, false);
    window->pageDirectory()->selectDirectory(tempFile(u"music/album"_s));
    ASSERT_EQ(columnTexts(fileList(*window), 0), QStringList({u"c.mp3"_s}));
    EXPECT_TRUE(window->pageDirectory()->renameInPlace(fileList(*window)->topLevelItem(0), u"d.mp3"_s));
    EXPECT_TRUE(QFile::exists(tempFile(u"music/album/d.mp3"_s)));
    writeSong(u"music/album/e.mp3"_s, 1.0, false, false);
    QTest::keyClick(fileList(*window), Qt::Key_F5);
    EXPECT_EQ(columnTexts(fileList(*window), 0), QStringList({u"d.mp3"_s, u"e.mp3"_s}));

    // The user's own choice is followed as before.
    EXPECT_TRUE(window->pageDirectory()->navigateTo(tempFile(u"music/other"_s)));
    EXPECT_EQ(window->context().currentDirectory, tempFile(u"music/other"_s));
    EXPECT_EQ(columnTexts(fileList(*window), 0), QStringList({u"b.mp3"_s}));
}
