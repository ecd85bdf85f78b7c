// The tag page's list and "&Use ID3 to rename files" on real MP3 files, with its questions
// answered through the message gateway.
#include "PagesFixture.h"

#include "ui/main/PageRename.h"
#include "ui/main/PageTag.h"
#include "ui/main/RenameListView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

Mp3Writer::Song song(const QString &title, const QString &album, int track)
{
    Mp3Writer::Song s;
    s.title = title;
    s.artist = u"Foo"_s;
    s.album = album;
    s.year = u"2001"_s;
    s.genre = u"Rock"_s;
    s.track = track;
    s.seconds = 1.0 + track * 0.25;
    return s;
}

} // namespace

class PageTagTest : public PagesTest
{
protected:
    QTreeWidget *tagList() const { return control<QTreeWidget>(u"lstFilesTag"_s); }

    void listFiles(const QStringList &names)
    {
        showPage(WizardPage::Tag);
        pageTag->fillTagList(names);
    }

    QStringList renameTitles() const
    {
        QStringList titles;
        for (const RenameRow &row : pageRename->renameRows())
            titles << row.title;
        return titles;
    }
};

TEST_F(PageTagTest, ListsEachFileWithItsTagsAndIcon)
{
    Mp3Writer::Song bare;
    bare.withV2 = false;
    Mp3Writer::Song both = song(u"Intro"_s, u"Bar"_s, 7);
    both.withV1 = true;
    makeAlbum(u"album"_s, {both, bare}, {u"a.mp3"_s, u"b.mp3"_s});
    listFiles({u"a.mp3"_s, u"b.mp3"_s});

    ASSERT_EQ(tagList()->topLevelItemCount(), 2);
    QStringList headers;
    for (int c = 0; c < tagList()->columnCount(); ++c)
        headers << tagList()->headerItem()->text(c);
    EXPECT_EQ(headers, (QStringList{u"File Name"_s, u"Title"_s, u"Artist"_s, u"Album"_s, u"Year"_s, u"Genre"_s,
                                    u"Comment"_s, u"T."_s}));
    const QTreeWidgetItem *a = tagList()->topLevelItem(0);
    EXPECT_EQ(a->text(0), u"a.mp3"_s);
    EXPECT_EQ(a->text(1), u"Intro"_s);
    EXPECT_EQ(a->text(3), u"Bar"_s);
    EXPECT_EQ(a->text(5), u"Rock"_s);
    EXPECT_EQ(a->text(7), u"07"_s);
    EXPECT_EQ(a->data(0, Qt::UserRole + 1).toString(), u"FileIconTagV1+2"_s);
    const QTreeWidgetItem *b = tagList()->topLevelItem(1);
    EXPECT_EQ(b->text(1), u" "_s);
    EXPECT_EQ(b->text(7), u" "_s);
    EXPECT_EQ(b->data(0, Qt::UserRole + 1).toString(), u"FileIcon"_s);
    // Read back for the rename, a lone space is an empty value again.
    EXPECT_TRUE(pageTag->tagListRows().at(1).title.isEmpty());
}

TEST_F(PageTagTest, OneAlbumGivesTheRenameListTotalAndAlbumFields)
{
    Mp3Writer::Song untracked = song(u"Two"_s, u"Bar"_s, 0);
    Mp3Writer::Song untitled = song(QString(), u"Bar"_s, 3);
    makeAlbum(u"album"_s, {song(u"One"_s, u"Bar"_s, 1), untracked, untitled},
              {u"a.mp3"_s, u"b.mp3"_s, u"Third Song.mp3"_s});
    listFiles({u"a.mp3"_s, u"b.mp3"_s, u"Third Song.mp3"_s});
    control<QLineEdit>(u"txtCommentEdit"_s)->setText(u"kept"_s);
    tagList()->setCurrentItem(tagList()->topLevelItem(0));

    pageTag->renameWithTag();
    EXPECT_EQ(answers->count(), 0);
    EXPECT_EQ(requestedPages, QList<WizardPage>{WizardPage::Rename});
    const RenameList rows = pageRename->renameRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0), (RenameRow{u"One"_s, u"a.mp3"_s, u"01"_s}));
    EXPECT_EQ(rows.at(1), (RenameRow{u"Two"_s, u"b.mp3"_s, u"02"_s}));
    EXPECT_EQ(rows.at(2), (RenameRow{u"Third Song"_s, u"Third Song.mp3"_s, u"03"_s}));
    EXPECT_EQ(control<RenameListView>(u"lstResult"_s)->iconKeyAt(0), u"FileIconTagV2"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtTotalTrack"_s)->text(), u"3"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtArtistEdit"_s)->text(), u"Foo"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtAlbumEdit"_s)->text(), u"Bar"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtYearEdit"_s)->text(), u"2001"_s);
    EXPECT_EQ(control<QComboBox>(u"cboGenreEdit"_s)->currentText(), u"Rock"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtCommentEdit"_s)->text(), u"kept"_s);
}

TEST_F(PageTagTest, AnotherAlbumAsksOnceAndNoChangesNothing)
{
    makeAlbum(u"album"_s, {song(u"One"_s, u"Bar"_s, 1), song(u"Two"_s, u"Other"_s, 2), song(u"Three"_s, u"Bar"_s, 3)},
              {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s});
    listFiles({u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s});
    pageRename->setRenameList({{u"Before"_s, u"x.mp3"_s, u"09"_s}});

    answers->answerNext(Msg::Answer::No);
    pageTag->renameWithTag();
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"Rename files with tag warning"_s);
    EXPECT_EQ(answers->messages().first().icon, Msg::Icon::Exclamation);
    EXPECT_TRUE(requestedPages.isEmpty());
    EXPECT_EQ(renameTitles(), QStringList{u"Before"_s});

    answers->answerNext(Msg::Answer::Yes);
    pageTag->renameWithTag();
    EXPECT_EQ(answers->count(), 2);
    EXPECT_EQ(requestedPages, QList<WizardPage>{WizardPage::Rename});
    EXPECT_EQ(renameTitles(), (QStringList{u"One"_s, u"Two"_s, u"Three"_s}));
    EXPECT_EQ(control<QLineEdit>(u"txtTotalTrack"_s)->text(), u"3"_s);
}

TEST_F(PageTagTest, OnlySelectedWithNothingSelectedSaysSoAndKeepsTheList)
{
    makeThreeSongAlbum();
    listFiles({u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s});
    pageRename->setRenameList({{u"Before"_s, u"x.mp3"_s, u"09"_s}});
    tagList()->clearSelection();
    control<QCheckBox>(u"chkOnlySelectedFilesTag"_s)->setChecked(true);

    pageTag->renameWithTag();
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages().first().title, u"No file selected"_s);
    EXPECT_EQ(answers->messages().first().text, u"Please select at least one file !"_s);
    EXPECT_TRUE(requestedPages.isEmpty());
    EXPECT_EQ(renameTitles(), QStringList{u"Before"_s});
}

TEST_F(PageTagTest, SelectingTwoRowsTicksOnlySelectedAndTheRenameUsesThem)
{
    makeThreeSongAlbum();
    listFiles({u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s});
    auto *only = control<QCheckBox>(u"chkOnlySelectedFilesTag"_s);
    tagList()->topLevelItem(0)->setSelected(true);
    EXPECT_FALSE(only->isChecked());
    tagList()->topLevelItem(2)->setSelected(true);
    EXPECT_TRUE(only->isChecked());

    pageTag->renameWithTag();
    EXPECT_EQ(renameTitles(), (QStringList{u"One"_s, u"Three"_s}));
    EXPECT_EQ(control<QLineEdit>(u"txtTotalTrack"_s)->text(), u"2"_s);
}

TEST_F(PageTagTest, AnEmptyListDoesNothingAndTheResetEmptiesTheEditor)
{
    showPage(WizardPage::Tag);
    pageTag->renameWithTag();
    EXPECT_EQ(answers->count(), 0);
    EXPECT_TRUE(requestedPages.isEmpty());

    makeThreeSongAlbum();
    pageTag->fillTagList({u"a.mp3"_s});
    control<QLineEdit>(u"txtTitle"_s)->setText(u"x"_s);
    control<QLineEdit>(u"txtTrack2"_s)->setText(u"3"_s);
    control<QComboBox>(u"cboGenre"_s)->setCurrentIndex(5);
    pageTag->resetForShow();
    EXPECT_EQ(tagList()->topLevelItemCount(), 0);
    EXPECT_TRUE(control<QLineEdit>(u"txtTitle"_s)->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>(u"txtTrack2"_s)->text().isEmpty());
    EXPECT_EQ(control<QComboBox>(u"cboGenre"_s)->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>(u"cboGenre"_s)->itemData(0).toInt(), 254);
    EXPECT_TRUE(control<QLineEdit>(u"txtTitle"_s)->isEnabled());
}

TEST_F(PageTagTest, ListHandlersRenameInPlaceSortKeysAndMenu)
{
    makeAlbum(u"album"_s, {song(u"One"_s, u"Bar"_s, 1), song(u"Two"_s, u"Bar"_s, 2), song(u"Three"_s, u"Bar"_s, 3)},
              {u"a.MP3"_s, u"b.mp3"_s, u"c.mp3"_s});
    listFiles({u"a.MP3"_s, u"b.mp3"_s, u"c.mp3"_s});
    QTreeWidgetItem *upper = tagList()->topLevelItem(0);

    // Any letter case of ".mp3" is kept; the three refusals with their words.
    const auto refused = [&](const QString &name, const QString &why) {
        answers->clear();
        EXPECT_FALSE(pageTag->renameInPlace(upper, name)) << name.toStdString();
        ASSERT_EQ(answers->count(), 1);
        EXPECT_EQ(answers->lastText(), why);
        EXPECT_EQ(answers->messages().last().title, u"Error"_s);
        EXPECT_EQ(answers->messages().last().icon, Msg::Icon::Critical);
    };
    refused(u"a.ogg"_s, u"You can't change the extension of the file."_s);
    refused(u".Mp3"_s, u"This is not a valid filename."_s);
    refused(u"sub/d.mp3"_s, u"This is not a valid filename."_s);
    refused(u"b.mp3"_s, u"File rename error. File name already exist, read-only media, not enough rights or file in use"_s);
    EXPECT_TRUE(QFile::exists(context->currentDirectory + u"/a.MP3"_s));
    answers->clear();
    EXPECT_TRUE(pageTag->renameInPlace(upper, u"First.Mp3"_s));
    EXPECT_EQ(answers->count(), 0);
    EXPECT_TRUE(QFile::exists(context->currentDirectory + u"/First.Mp3"_s));
    EXPECT_EQ(upper->text(0), u"First.Mp3"_s);
    EXPECT_EQ(control<QLineEdit>(u"txtFileName"_s)->text(), u"First.Mp3"_s);

    // Sorting: a second click on the same column reverses; another column keeps the order.
    pageTag->sortByHeader(PageTag::TitleColumn);
    EXPECT_EQ(tagList()->topLevelItem(0)->text(1), u"One"_s);
    pageTag->sortByHeader(PageTag::TitleColumn);
    EXPECT_EQ(tagList()->topLevelItem(0)->text(1), u"Two"_s);
    pageTag->sortByHeader(PageTag::TrackColumn);
    EXPECT_EQ(tagList()->topLevelItem(0)->text(7), u"03"_s);
    // Years sort by value, either way round: as text 999 would come between 20 and 1000.
    const QStringList years {u"999"_s, u"20"_s, u"1000"_s};
    for (int i = 0; i < 3; ++i)
        tagList()->topLevelItem(i)->setText(PageTag::YearColumn, years.at(i));
    pageTag->sortByHeader(PageTag::YearColumn);
    QStringList sorted;
    for (int i = 0; i < 3; ++i)
        sorted << tagList()->topLevelItem(i)->text(PageTag::YearColumn);
    EXPECT_TRUE(sorted == QStringList({u"20"_s, u"999"_s, u"1000"_s}) || sorted == QStringList({u"1000"_s, u"999"_s, u"20"_s}))
        << sorted.join(u' ').toStdString();

    // F2 edits the current row's name; Enter asks for the player on it.
    tagList()->setCurrentItem(tagList()->topLevelItem(0));
    tagList()->setFocus();
    QTest::keyClick(tagList(), Qt::Key_F2);
    const QList<QLineEdit *> editors = tagList()->viewport()->findChildren<QLineEdit *>();
    ASSERT_EQ(editors.size(), 1);
    EXPECT_EQ(editors.first()->text(), tagList()->currentItem()->text(0));
    QTest::keyClick(editors.first(), Qt::Key_Escape);
    int playedRow = -1;
    QObject::connect(pageTag, &PageTag::playRequested, [&](const QStringList &, int row) { playedRow = row; });
    QTest::keyClick(tagList(), Qt::Key_Return);
    EXPECT_EQ(playedRow, 0);

    // The context menu: its entries in order, "&Play MP3" following the player menu item.
    QAction player(u"&MP3 Player..."_s);
    player.setEnabled(false);
    pageTag->setPlayerAction(&player);
    QStringList entries;
    QMenu *menu = pageTag->prepareContextMenu();
    for (QAction *action : menu->actions())
        entries << (action->isSeparator() ? u"-"_s : action->text());
    EXPECT_EQ(entries, (QStringList{u"&Play MP3"_s, u"-"_s, u"&Rename"_s, u"&Open"_s, u"&Delete"_s, u"-"_s,
                                    u"&Refresh list"_s}));
    EXPECT_FALSE(menu->actions().first()->isEnabled());

    // "&Delete" asks first; No leaves the selected file where it is.
    tagList()->topLevelItem(0)->setSelected(true);
    answers->answerNext(Msg::Answer::No);
    menu->actions().at(4)->trigger();
    EXPECT_EQ(answers->messages().last().title, u"Confirm file delete"_s);
    EXPECT_TRUE(QFile::exists(context->currentDirectory + u'/' + tagList()->topLevelItem(0)->text(0)));
}
