#include "album/AlbumFromTags.h"

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

class AlbumFromTagsTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        folder_ = tempFile(u"album"_s);
        QDir().mkpath(folder_);
    }

    /// Writes a song and returns its tag list row as the tag page would list it.
    TagListRow add(const QString &name, const Mp3Writer::Song &song, bool selected = false)
    {
        Mp3Writer::save(folder_ + u'/' + name, Mp3Writer::song(song));
        TagListRow row = readTagListRow(folder_, name);
        row.selected = selected;
        rows_.append(row);
        return row;
    }

    static Mp3Writer::Song song(const QString &title, const QString &album, int track)
    {
        return Mp3Writer::Song{.title = title, .artist = u"Foo"_s, .album = album, .year = u"2001"_s,
                               .genre = u"Rock"_s, .track = track};
    }

    /// "&Use ID3 to rename files" as the tag page runs it: questions and the "No file selected"
    /// message through the message gateway; true when the rename list was built.
    static bool fromTags(const QList<TagListRow> &rows, bool onlySelected, const QString &folder, int albumRow,
                         const QString &comment, RenameFromTags &result, QString &total)
    {
        const FromTagsStatus status
            = renameWithTag(rows, onlySelected, folder, albumRow, comment, Msg::viaGateway(), result, total);
        if (status == FromTagsStatus::NothingSelected)
            Msg::ask(noFileSelected());
        return status == FromTagsStatus::Built;
    }

    QString folder_;
    QList<TagListRow> rows_;
};

QStringList titles(const RenameList &rows)
{
    QStringList t;
    for (const RenameRow &r : rows)
        t << r.title;
    return t;
}

QStringList tracks(const RenameList &rows)
{
    QStringList t;
    for (const RenameRow &r : rows)
        t << r.trackText;
    return t;
}

} // namespace

TEST(HasFilesToProcess, NeedsASelectionOnlyWhenOnlySelectedFilesAreWanted)
{
    EXPECT_FALSE(hasFilesToProcess(0, true));
    EXPECT_TRUE(hasFilesToProcess(1, true));
    EXPECT_TRUE(hasFilesToProcess(0, false));
    EXPECT_FALSE(hasFilesToProcess(QList<TagListRow>{}, true));
    EXPECT_TRUE(hasFilesToProcess(QList<TagListRow>{}, false));
    QList<TagListRow> rows(2);
    rows[0].fileName = u"a.mp3"_s;
    rows[1].fileName = u"b.mp3"_s;
    rows[1].selected = true;
    EXPECT_TRUE(hasFilesToProcess(rows, true));
    EXPECT_EQ(rowsToProcess(rows, true), QList<int>{1});
    EXPECT_EQ(rowsToProcess(rows, false), (QList<int>{0, 1}));
}

TEST_F(AlbumFromTagsTest, ReadsTheTagListRowFromBothTagVersions)
{
    const TagListRow row = add(u"a.mp3"_s, song(u"Intro"_s, u"Bar"_s, 7));
    EXPECT_EQ(row.title, u"Intro"_s);
    EXPECT_EQ(row.artist, u"Foo"_s);
    EXPECT_EQ(row.album, u"Bar"_s);
    EXPECT_EQ(row.year, u"2001"_s);
    EXPECT_EQ(row.genre, u"Rock"_s);
    EXPECT_EQ(row.track, u"07"_s);

    // Only a version-1 tag: the genre number is shown by its name.
    Mp3Writer::Song v1{.seconds = 1.0, .withV2 = false};
    Mp3Writer::save(folder_ + u"/b.mp3"_s,
                    Mp3Writer::song(v1) + Mp3Writer::id3v1({.title = u"Old"_s, .album = u"Bar"_s, .track = 12, .genre = 17}));
    const TagListRow old = readTagListRow(folder_, u"b.mp3"_s);
    EXPECT_EQ(old.title, u"Old"_s);
    EXPECT_EQ(old.genre, u"Rock"_s);
    EXPECT_EQ(old.track, u"12"_s);
}

TEST_F(AlbumFromTagsTest, OneAlbumGivesItsTotalAndTheTracksFromTheTags)
{
    add(u"x.mp3"_s, song(u"Third"_s, u"Bar"_s, 3));
    add(u"y.mp3"_s, song(u"Untracked"_s, u"Bar"_s, 0));
    add(u"z.mp3"_s, song(u"First"_s, u"Bar"_s, 1));
    RenameFromTags result;
    QString total = u"old"_s;
    ASSERT_TRUE(fromTags(rows_, false, folder_, -1, u"kept comment"_s, result, total));
    EXPECT_EQ(answers->count(), 0);
    EXPECT_EQ(total, u"3"_s);
    EXPECT_EQ(titles(result.rows), (QStringList{u"Third"_s, u"Untracked"_s, u"First"_s}));
    // The file without a track number takes its position in the list.
    EXPECT_EQ(tracks(result.rows), (QStringList{u"03"_s, u"02"_s, u"01"_s}));
    EXPECT_EQ(result.rows[1].fileName, u"y.mp3"_s);
    EXPECT_EQ(result.iconKeys, (QStringList{u"FileIconTagV2"_s, u"FileIconTagV2"_s, u"FileIconTagV2"_s}));
    EXPECT_EQ(result.album.artist, u"Foo"_s);
    EXPECT_EQ(result.album.album, u"Bar"_s);
    EXPECT_EQ(result.album.year, u"2001"_s);
    EXPECT_EQ(result.album.genre, u"Rock"_s);
    EXPECT_EQ(result.album.comment, u"kept comment"_s);
}

TEST_F(AlbumFromTagsTest, NothingSelectedShowsTheMessageAndChangesNothing)
{
    add(u"a.mp3"_s, song(u"A"_s, u"Bar"_s, 1));
    RenameFromTags result;
    result.rows.append(RenameRow{u"before"_s, u"before.mp3"_s, u"01"_s});
    QString total = u"9"_s;
    EXPECT_FALSE(fromTags(rows_, true, folder_, -1, {}, result, total));
    ASSERT_EQ(answers->count(), 1);
    EXPECT_EQ(answers->messages()[0].text, u"Please select at least one file !"_s);
    EXPECT_EQ(answers->messages()[0].title, u"No file selected"_s);
    EXPECT_EQ(answers->messages()[0].icon, Msg::Icon::Exclamation);
    EXPECT_EQ(answers->messages()[0].buttons, Msg::Buttons::Ok);
    EXPECT_EQ(result.rows.size(), 1);
    EXPECT_EQ(total, u"9"_s);
    // An empty list does nothing at all, not even the message.
    answers->clear();
    EXPECT_FALSE(fromTags({}, true, folder_, -1, {}, result, total));
    EXPECT_EQ(answers->count(), 0);
}

TEST_F(AlbumFromTagsTest, AnotherAlbumAsksOnceAndNoLeavesEverythingAsItWas)
{
    add(u"1.mp3"_s, song(u"A"_s, u"Bar"_s, 1));
    add(u"2.mp3"_s, song(u"B"_s, u"Other"_s, 2));
    add(u"3.mp3"_s, song(u"C"_s, u"Third"_s, 3));
    RenameFromTags result;
    QString total = u"5"_s;
    answers->answerNext(Msg::Answer::No);
    EXPECT_FALSE(fromTags(rows_, false, folder_, -1, {}, result, total));
    ASSERT_EQ(answers->count(), 1);
    const Msg::Message &question = answers->messages()[0];
    EXPECT_EQ(question.title, u"Rename files with tag warning"_s);
    EXPECT_EQ(question.text, u"For the moment the rename files with tag function is only for albums !\n"
                             u"Would you like to continue anyway ?"_s);
    EXPECT_EQ(question.buttons, Msg::Buttons::YesNo);
    // Enter must not carry on with a mixed selection.
    EXPECT_EQ(question.defaultButton, Msg::Answer::No);
    EXPECT_EQ(question.icon, Msg::Icon::Exclamation);
    EXPECT_TRUE(result.rows.isEmpty());
    EXPECT_EQ(total, u"5"_s);
}

TEST_F(AlbumFromTagsTest, YesListsEveryRowAndTheTotalCountsThemAll)
{
    add(u"1.mp3"_s, song(u"A"_s, u"Bar"_s, 1));
    add(u"2.mp3"_s, song(u"B"_s, u"Bar"_s, 2));
    add(u"3.mp3"_s, song(u"C"_s, u"Other"_s, 3));
    add(u"4.mp3"_s, song(u"D"_s, u"Another"_s, 4));
    RenameFromTags result;
    QString total;
    answers->answerNext(Msg::Answer::Yes);
    ASSERT_TRUE(fromTags(rows_, false, folder_, -1, {}, result, total));
    EXPECT_EQ(answers->count(), 1);
    // Four files renamed: "4/4", never "4/2".
    EXPECT_EQ(total, u"4"_s);
    EXPECT_EQ(titles(result.rows), (QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s}));
}

TEST_F(AlbumFromTagsTest, AFileWithoutTagsNeitherAsksNorEmptiesTheAlbumWhereverItStands)
{
    Mp3Writer::save(folder_ + u"/untagged.mp3"_s, Mp3Writer::cbrFile(1.0));
    const TagListRow untagged = readTagListRow(folder_, u"untagged.mp3"_s);
    const TagListRow a = add(u"a.mp3"_s, song(u"A"_s, u"Bar"_s, 1));
    const TagListRow b = add(u"b.mp3"_s, song(u"B"_s, u"Bar"_s, 2));
    for (int place = 0; place < 3; ++place) {
        SCOPED_TRACE(place);
        QList<TagListRow> rows{a, b};
        rows.insert(place, untagged);
        rows[place].album = u" "_s; // as the tag list shows an empty value
        RenameFromTags result;
        QString total;
        ASSERT_TRUE(fromTags(rows, false, folder_, -1, {}, result, total));
        EXPECT_EQ(answers->count(), 0);
        EXPECT_EQ(total, u"3"_s);
        EXPECT_EQ(result.album.album, u"Bar"_s);
        EXPECT_EQ(result.album.artist, u"Foo"_s);
        EXPECT_EQ(result.album.year, u"2001"_s);
        EXPECT_EQ(result.album.genre, u"Rock"_s);
        // The selected untagged row gives no field; each comes from the first row that has it.
        ASSERT_TRUE(fromTags(rows, false, folder_, place, {}, result, total));
        EXPECT_EQ(result.album.album, u"Bar"_s);
        EXPECT_EQ(result.album.genre, u"Rock"_s);
    }
}

TEST_F(AlbumFromTagsTest, OnlySelectedRowsAreUsedAndTheSelectedRowGivesTheAlbumFields)
{
    add(u"1.mp3"_s, song(u"A"_s, u"Bar"_s, 0), false);
    add(u"2.mp3"_s, song(u"B"_s, u"Bar"_s, 0), true);
    Mp3Writer::Song third = song(u"C"_s, u"Bar"_s, 0);
    third.artist = u"Guest"_s;
    third.genre = u"  Jazz  "_s;
    third.title.clear();
    add(u"3 no title.mp3"_s, third, true);
    rows_[2].genre = u"  Jazz  "_s;

    RenameFromTags result;
    QString total;
    ASSERT_TRUE(fromTags(rows_, true, folder_, 2, {}, result, total));
    EXPECT_EQ(total, u"2"_s);
    ASSERT_EQ(result.rows.size(), 2);
    // Positions count over the whole list, not over the rows used.
    EXPECT_EQ(tracks(result.rows), (QStringList{u"02"_s, u"03"_s}));
    // A file without title is listed under its name without extension.
    EXPECT_EQ(result.rows[1].title, u"3 no title"_s);
    EXPECT_EQ(result.album.artist, u"Guest"_s);
    EXPECT_EQ(result.album.genre, u"Jazz"_s);
}
