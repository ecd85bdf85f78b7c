// The rename job reads every tag write back from the disk and checks the audio bytes around it:
// honest writes pass without a word, whatever odd values they carry; a write damaged on purpose
// (a field, the audio, the trailer, the picture) is caught and named in the row's errors.

#include "RenameJobFixture.h"

#include "audio/ID3Edit.h"
#include "jobs/RenameUndo.h"
#include "support/Mp3Writer.h"

#include <QCryptographicHash>
#include <QFile>

using namespace Qt::StringLiterals;

using TagWriteVerificationTest = RenameJobFixture;

namespace {

// A file whose tag cannot grow in place (no padding) and that carries a picture, an APE tag
// and an ID3v1 trailer behind the audio: everything a rewrite through a copy must keep.
QByteArray crowdedSong(const QString &title, double seconds)
{
    return Mp3Writer::id3v2({{"TIT2", title}, {"TPE1", u"Old Artist"_s}}, 3000, 0) + Mp3Writer::cbrFile(seconds)
        + Mp3Writer::apeTag(40) + Mp3Writer::id3v1({.title = title, .track = 1});
}

QStringList verificationErrors(const ResultLog &log)
{
    QStringList found;
    for (const ResultLog::Node &node : log.nodes())
        if (node.kind == ResultLog::Kind::Error && node.text.startsWith(u"Verification failed: "_s))
            found.append(node.text);
    return found;
}

QByteArray sha1Of(const QString &path)
{
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1);
}

void flipByte(const QString &path, qint64 at)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(at < 0 ? file.size() + at : at);
    const char c = file.peek(1).at(0);
    file.write(QByteArray(1, char(c ^ 0x20)));
}

} // namespace

TEST_F(TagWriteVerificationTest, HonestWritesPassSilentlyInEveryTagMode)
{
    const QList<SourceFile> files {{u"a.mp3"_s, u"Ünïcödé — ✓ with a title far longer than thirty"_s, 1.0},
                                   {u"b.mp3"_s, u"Two"_s, 1.5, false, true}};
    for (const TagVersions mode : {TagVersions::Both, TagVersions::V1Only, TagVersions::V2Only}) {
        const QString folder = makeAlbum(u"in%1"_s.arg(int(mode)), files);
        ASSERT_TRUE(Mp3Writer::save(folder + u"/c.mp3"_s, crowdedSong(u"Three"_s, 2.0)));
        QList<SourceFile> rows = files;
        rows.append({u"c.mp3"_s, u"Three"_s});
        RenameJobInput in = inputFor(folder, rows, u"%track - %title"_s, u"MP3 directory"_s);
        in.tagVersions = mode;
        // Values the tag formats keep in their own way: a two-digit year (version 2 keeps
        // four characters), a genre number (read back as its name), a cut comment.
        in.album.year = u"99"_s;
        in.album.genre = u"17"_s;
        in.album.comment = u"A comment longer than the twenty-eight places of the trailer"_s;
        in.totalTracks = true;
        in.totalTrackText = u"3"_s;
        runAlbumRenameJob(in, log);
        EXPECT_EQ(verificationErrors(log), QStringList()) << int(mode);
        EXPECT_EQ(log.errorCount(), 0) << log.toText().toStdString();
        EXPECT_EQ(log.renamedCount(), 3);
    }
}

TEST_F(TagWriteVerificationTest, DamagedWritesAreCaughtNamedAndUndone)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    ASSERT_TRUE(Mp3Writer::save(folder + u"/d.mp3"_s, crowdedSong(u"Four"_s, 2.5)));
    QList<SourceFile> rows = threeSongs();
    rows.append({u"d.mp3"_s, u"Four"_s});
    RenameJobInput in = inputFor(folder, rows, u"%track - %title"_s, u"MP3 directory"_s);
    int row = 0;
    in.afterTagWrite = [&row](const QString &path) {
        ID3Edit other;
        other.Load(path);
        switch (++row) {
        case 1: // another title slipped into the version-2 tag
            other.setTitle(u"Wrong"_s);
            ASSERT_EQ(other.SaveV2(path), ID3Edit::Ok);
            break;
        case 2: // one byte of the audio in the middle of the file
            flipByte(path, QFile(path).size() / 2);
            break;
        case 3: // the trailer's artist, beyond what the check of the title sees
            flipByte(path, -128 + 33);
            break;
        case 4: // the picture lost from the version-2 tag
            other.setPicture({});
            ASSERT_EQ(other.SaveV2(path), ID3Edit::Ok);
            break;
        }
    };
    QList<QByteArray> hashesBefore;
    for (const SourceFile &file : std::as_const(rows))
        hashesBefore.append(sha1Of(folder + u'/' + file.fileName));
    const RenameJobOutcome outcome = runAlbumRenameJob(in, log);

    const QString putBack = u"The file was put back as it was before the job."_s;
    EXPECT_EQ(warningsOf(log, 0),
              (QStringList {u"Verification failed: ID3v2 Title reads \"Wrong\" instead of \"One\""_s, putBack}));
    EXPECT_EQ(warningsOf(log, 1), (QStringList {u"Verification failed: the audio data changed"_s, putBack}));
    EXPECT_EQ(warningsOf(log, 2),
              (QStringList {u"Verification failed: ID3v1 Artist reads \"foo\" instead of \"Foo\""_s, putBack}));
    EXPECT_EQ(warningsOf(log, 3),
              (QStringList {u"Verification failed: the ID3v2 picture is missing or changed"_s, putBack}));
    EXPECT_EQ(log.errorCount(), 4);
    // Each file is at its new name with every byte it had before the job, and its read-back
    // lines show the old tags it has again.
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(sha1Of(outcome.newPaths.at(i)), hashesBefore.at(i)) << outcome.newPaths.at(i).toStdString();
    EXPECT_EQ(log.childTexts(log.findChild(log.roots().at(0), u"ID3 Tag Info"_s)).first(), u"Title : One"_s);
    EXPECT_TRUE(log.childTexts(log.findChild(log.roots().at(0), u"ID3 Tag Info"_s)).contains(u"Artist : Old Artist"_s));

    // The journal sees the files as put back: an undo takes each to its old name unchanged.
    const UndoReport undone = RenameUndo::undo();
    EXPECT_TRUE(undone.complete()) << undone.left.join(u'\n').toStdString();
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(sha1Of(folder + u'/' + rows.at(i).fileName), hashesBefore.at(i)) << i;
}

TEST_F(TagWriteVerificationTest, WithoutTheBytesInMemoryTheJournalPutsTheTagsBackButNotTheAudio)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = inputFor(folder, threeSongs(), u"%track - %title"_s, u"MP3 directory"_s);
    in.tagVersions = TagVersions::V1Only;
    in.keptBytes = 0;
    int row = 0;
    in.afterTagWrite = [&row](const QString &path) { flipByte(path, ++row == 1 ? -128 + 3 : 1000); };
    const QByteArray before = sha1Of(folder + u"/a.mp3"_s);
    const RenameJobOutcome outcome = runAlbumRenameJob(in, log);

    EXPECT_EQ(warningsOf(log, 0), (QStringList {u"Verification failed: ID3v1 Title reads \"one\" instead of \"One\""_s,
                                                u"The file was put back as it was before the job."_s}));
    EXPECT_EQ(sha1Of(outcome.newPaths.at(0)), before);
    EXPECT_EQ(warningsOf(log, 1), (QStringList {u"Verification failed: the audio data changed"_s,
                                                u"The file could not be put back as it was before the job: "
                                                u"its audio is not the original's"_s}));
}
