// The tag editor's per-file work on real MP3 files, read back by python3-mutagen (version 2)
// and from the raw trailer bytes (version 1).

#include "RenameJobFixture.h"

#include "jobs/TagEditing.h"
#include "support/Mp3Writer.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

class TagEditingTest : public RenameJobFixture
{
protected:
    QString song(const QString &name, const Mp3Writer::Song &tags) const
    {
        return writeFile(name, Mp3Writer::song(tags));
    }
    static QByteArray pngBytes(int size = 200)
    {
        QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
        png.append(QByteArray(size - png.size(), 'p'));
        return png;
    }
};

} // namespace

TEST_F(TagEditingTest, EditorSaveWritesBothVersionsByTheirRulesAndLoadsBack)
{
    const QString path = song(u"a.mp3"_s, {.title = u"Old"_s, .artist = u"A"_s, .withV1 = true});
    TagEditorFile file = loadTagEditorValues(path);
    ASSERT_TRUE(file.found);
    EXPECT_TRUE(file.hasV1);
    EXPECT_TRUE(file.hasV2);
    EXPECT_EQ(file.values.title, u"Old"_s);

    TagEditorValues v = file.values;
    v.v1Title = u"T1"_s;
    v.v1Year = u"19x9"_s; // not numeric: written empty
    v.v1Track = u"300"_s; // beyond 254: no track
    v.v1Genre = 17;
    v.title = u"T2"_s;
    v.composer = u"Comp"_s;
    v.tempo = u"120"_s;
    v.track = u"4/9"_s;
    v.picture = ID3Picture{pngBytes(), {}};
    const TagFileResult result = saveTagEditorValues(path, v, TagVersions::Both, false);
    EXPECT_TRUE(result.done) << result.text().toStdString();
    EXPECT_TRUE(result.hasV1 && result.hasV2);

    const RawV1 v1 = readRawV1(path);
    EXPECT_EQ(v1.title, u"T1"_s);
    EXPECT_EQ(v1.year, QString());
    EXPECT_EQ(v1.track, -1);
    EXPECT_EQ(v1.genre, 17);
    const QJsonObject v2 = readV2WithMutagen(path);
    EXPECT_EQ(v2.value(u"TIT2"_s).toString(), u"T2"_s);
    EXPECT_EQ(v2.value(u"TPE1"_s).toString(), u"A"_s);
    EXPECT_EQ(v2.value(u"TCOM"_s).toString(), u"Comp"_s);
    EXPECT_EQ(v2.value(u"TBPM"_s).toString(), u"120"_s);
    EXPECT_EQ(v2.value(u"TRCK"_s).toString(), u"4/9"_s);
    EXPECT_EQ(v2.value(u"APICmime"_s).toString(), u"image/png"_s);
    EXPECT_EQ(v2.value(u"APICsize"_s).toInt(), 200);

    // What the editor shows afterwards is what it saved, by the version-1 rules.
    file = loadTagEditorValues(path);
    EXPECT_EQ(file.values.v1Genre, 17);
    EXPECT_EQ(file.values.v1Track, QString());
    EXPECT_EQ(file.values.picture.data, pngBytes());
    EXPECT_EQ(tagEditorInfoLines(path, file).last(), u"ID3 Tag version : ID3v1 + ID3v2"_s);

    EXPECT_FALSE(loadTagEditorValues(tempFile(u"gone.mp3"_s)).found);
    EXPECT_EQ(saveTagEditorValues(tempFile(u"gone.mp3"_s), v, TagVersions::Both, false).text(),
              u"Can't save ID3 Tag informations. File not found."_s);
}

TEST_F(TagEditingTest, VersionTwoModeNeverRewritesTheTrailer)
{
    // A trailer another tool wrote: a title padded with spaces, bytes after the zero that ends
    // the comment, a track the 1.1 layout cannot hold: nothing the fields could carry back.
    QByteArray trailer = Mp3Writer::id3v1({.title = u"Caf\u00e9   "_s, .comment = u"c"_s, .genre = 200});
    trailer[97 + 5] = 'Z';
    const QString path = writeFile(u"a.mp3"_s,
                                   Mp3Writer::id3v2({{"TIT2", u"x"_s}}) + Mp3Writer::cbrFile(1.0) + trailer);
    TagEditorValues v = loadTagEditorValues(path).values;
    v.title = u"A much longer title than fits in the old tag's space"_s;
    v.v1Title = u"ignored in mode 2"_s;
    v.picture = ID3Picture{pngBytes(5000), {}}; // the tag grows: the file is rewritten
    ASSERT_TRUE(saveTagEditorValues(path, v, TagVersions::V2Only, true).done);
    EXPECT_EQ(readAll(path).right(128), trailer);
    EXPECT_EQ(readV2WithMutagen(path).value(u"TIT2"_s).toString(), v.title);
}

TEST_F(TagEditingTest, TrackNumberingFillAndCopies)
{
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << song(u"%1.mp3"_s.arg(i), {.title = u"S%1"_s.arg(i), .album = u"Old"_s, .track = 9});
    for (int k = 1; k <= 5; ++k)
        ASSERT_TRUE(numberTrack(paths.at(k - 1), k, 5, true, TagVersions::Both, false).done);
    EXPECT_EQ(readV2WithMutagen(paths.at(2)).value(u"TRCK"_s).toString(), u"3/5"_s);
    EXPECT_EQ(readRawV1(paths.at(4)).track, 5);

    // Only the version-2 album is ticked: nothing else changes, titles never do.
    FillSwitches switches;
    switches.tick(FillField::Album2);
    TagEditorValues source;
    source.album = u"New"_s;
    source.title = u"not filled"_s;
    source.v1Album = u"not ticked"_s;
    const QByteArray before = readAll(paths.at(0));
    ASSERT_TRUE(fillTags(paths.at(0), switches, source, TagVersions::V2Only, false).done);
    const QJsonObject v2 = readV2WithMutagen(paths.at(0));
    EXPECT_EQ(v2.value(u"TALB"_s).toString(), u"New"_s);
    EXPECT_EQ(v2.value(u"TIT2"_s).toString(), u"S0"_s);
    EXPECT_EQ(v2.value(u"TRCK"_s).toString(), u"1/5"_s);
    EXPECT_EQ(readAll(paths.at(0)).right(128), before.right(128));

    // Version 2 to 1 takes the genre by its name; back to version 2 the name is the table's.
    TagEditorValues v = loadTagEditorValues(paths.at(1)).values;
    v.genre = u"Jazz"_s;
    v.year = u"1999"_s;
    ASSERT_TRUE(saveTagEditorValues(paths.at(1), v, TagVersions::V2Only, false).done);
    ASSERT_TRUE(copyTagsV2ToV1(paths.at(1), false).done);
    RawV1 v1 = readRawV1(paths.at(1));
    EXPECT_EQ(v1.title, u"S1"_s);
    EXPECT_EQ(v1.album, u"Old"_s);
    EXPECT_EQ(v1.year, u"1999"_s);
    EXPECT_EQ(v1.track, 2); // of "2/5" the track alone
    EXPECT_EQ(v1.genre, 8);
    // A genre as a site spells it ("hip-hop") is the list's "Hip-Hop" whatever the letter case.
    v = loadTagEditorValues(paths.at(4)).values;
    v.genre = u"hip-hop"_s;
    ASSERT_TRUE(saveTagEditorValues(paths.at(4), v, TagVersions::V2Only, false).done);
    ASSERT_TRUE(copyTagsV2ToV1(paths.at(4), false).done);
    EXPECT_EQ(readRawV1(paths.at(4)).genre, 7);
    ASSERT_TRUE(copyTagsV1ToV2(paths.at(3), false).done); // no version-1 tag: version 2 emptied
    EXPECT_FALSE(readV2WithMutagen(paths.at(3)).contains(u"TIT2"_s));
}

TEST_F(TagEditingTest, AnEmptyVersionOneTagIsRemovedOnlyWhenTheRenameChoiceIncludesIt)
{
    const QString kept = song(u"k.mp3"_s, {.title = u"K"_s, .withV1 = true});
    const QString removed = song(u"r.mp3"_s, {.title = u"R"_s, .withV1 = true});
    for (const QString &path : {kept, removed}) {
        TagEditorValues v = loadTagEditorValues(path).values;
        v.v1Title.clear();
        v.v1Genre = NoGenreItem;
        const TagFileResult result = saveTagEditorValues(path, v, TagVersions::V1Only, path == removed);
        EXPECT_TRUE(result.done);
        EXPECT_EQ(result.hasV1, path == kept);
    }
    EXPECT_TRUE(readRawV1(kept).present);
    EXPECT_EQ(readRawV1(kept).title, QString());
    EXPECT_FALSE(readRawV1(removed).present);
    EXPECT_EQ(readV2WithMutagen(removed).value(u"TIT2"_s).toString(), u"R"_s);
}

TEST_F(TagEditingTest, PicturesThatAreNoPictureOrHugeAreRefusedBeforeAnythingIsWritten)
{
    const QString path = song(u"a.mp3"_s, {.title = u"A"_s, .withV1 = true});
    const QByteArray before = readAll(path);
    const QString notPicture = u"The file is not a picture: a tag takes JPEG, PNG, GIF or BMP pictures."_s;
    TagEditorValues v = loadTagEditorValues(path).values;
    v.title = u"changed"_s;
    v.picture = ID3Picture{QByteArray(300, 'x'), u"image/jpeg"_s};
    EXPECT_EQ(saveTagEditorValues(path, v, TagVersions::Both, false).text(), notPicture);
    FillSwitches cover;
    cover.tick(FillField::CoverArt);
    cover.tick(FillField::Artist2);
    EXPECT_EQ(fillTags(path, cover, v, TagVersions::Both, false).text(), notPicture);
    QByteArray huge = pngBytes(int(MaxPictureBytes) + 1);
    EXPECT_FALSE(setCoverPicture(path, ID3Picture{huge, {}}).done);
    EXPECT_EQ(readAll(path), before);

    EXPECT_EQ(readPictureFile(writeFile(u"huge.png"_s, huge)).problem,
              u"The picture is too large: a tag takes pictures of up to 16 MiB."_s);
    EXPECT_EQ(readPictureFile(writeFile(u"text.jpg"_s, "hello")).problem, notPicture);
    const PictureFile gif = readPictureFile(writeFile(u"c.gif"_s, QByteArray("GIF89a") + QByteArray(40, 'g')));
    ASSERT_TRUE(gif.problem.isEmpty());
    ASSERT_TRUE(setCoverPicture(path, gif.picture).done);
    EXPECT_EQ(readV2WithMutagen(path).value(u"APICmime"_s).toString(), u"image/gif"_s);
    ASSERT_TRUE(setCoverPicture(path, {}).done);
    EXPECT_EQ(readV2WithMutagen(path).value(u"APIC"_s).toInt(), 0);
}

TEST_F(TagEditingTest, ABatchReportsVanishedReadOnlyAndUnwritableFilesAndGoesOn)
{
    const QString vanished = tempFile(u"gone.mp3"_s);
    const QString readOnly = song(u"ro.mp3"_s, {.title = u"RO"_s});
    QFile::setPermissions(readOnly, QFile::ReadOwner);
    // In a folder that takes no new file, a tag that outgrows its space cannot be written: the
    // file must stay whole and unchanged.
    const QString locked = song(u"locked/l.mp3"_s, {.title = u"L"_s});
    const QString fine = song(u"f.mp3"_s, {.title = u"F"_s});
    const QByteArray lockedBefore = readAll(locked);
    const bool canLock = lockFolder(tempFile(u"locked"_s));

    FillSwitches switches;
    switches.tick(FillField::Composer);
    TagEditorValues source;
    source.composer = QString(3000, u'c');
    QStringList lines;
    for (const QString &path : {vanished, readOnly, locked, fine})
        lines << fillTags(path, switches, source, TagVersions::V2Only, false).text();
    EXPECT_EQ(lines.at(0), u"Can't save ID3 Tag informations. File not found."_s);
    EXPECT_EQ(lines.at(1), QString()); // made writable, then saved
    EXPECT_EQ(readV2WithMutagen(readOnly).value(u"TCOM"_s).toString(), source.composer);
    if (canLock) {
        EXPECT_EQ(lines.at(2), u"Can't save ID3v2 Tag informations."_s);
        EXPECT_EQ(readAll(locked), lockedBefore);
    }
    EXPECT_EQ(lines.at(3), QString());
    EXPECT_EQ(readV2WithMutagen(fine).value(u"TCOM"_s).toString(), source.composer);

    EXPECT_EQ(removeTags(vanished, TagVersions::Both, RemovalScope::OneFile).text(),
              u"Can't delete file. File not found."_s);
    EXPECT_EQ(removeTags(vanished, TagVersions::Both, RemovalScope::AllFiles).text(),
              u"Can't delete ID3 Tag. File not found."_s);
    if (canLock) {
        EXPECT_EQ(removeTags(locked, TagVersions::V2Only, RemovalScope::AllFiles).text(),
                  u"Can't delete ID3v2 Tag informations."_s);
    }
    const TagFileResult removed = removeTags(fine, TagVersions::V2Only, RemovalScope::AllFiles);
    EXPECT_TRUE(removed.done);
    EXPECT_FALSE(removed.hasV2);
    EXPECT_FALSE(readV2WithMutagen(fine).value(u"v2"_s).toBool());
}
