// varnelt-cli undo, run as a separate program after real renames: the list of jobs, the undo of
// the last one or a given one, and the exit status for each outcome.
#include "CliRunner.h"

#include "foundation/AppFolder.h"
#include "foundation/FolderLock.h"
#include "support/Mp3Writer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QMap>

using namespace Qt::StringLiterals;

namespace {

class CliUndoTest : public CliTest
{
protected:
    /// An album folder under music/ with one file per title (artist Foo, album Bar).
    QString makeAlbum(const QString &folder, const QStringList &titles) const
    {
        QList<Mp3Writer::AlbumFile> files;
        for (int i = 0; i < titles.size(); ++i) {
            files.append({u"track%1.mp3"_s.arg(i + 1),
                          {.title = titles[i], .artist = u"Foo"_s, .album = u"Bar"_s, .track = i + 1, .seconds = 1.0 + i}});
        }
        return Mp3Writer::makeAlbum(tempFile(u"music/"_s + folder), files);
    }

    /// Everything under music/ with the hashes of its files.
    QMap<QString, QByteArray> musicState() const { return folderState(tempFile(u"music"_s)); }
};

TEST_F(CliUndoTest, ListsJobsUndoesTheLastOrAGivenOneAndReportsWhatWasLeft)
{
    EXPECT_EQ(run({u"undo"_s}).exitCode, 2) << "nothing recorded yet";
    EXPECT_EQ(run({u"undo"_s, u"--list"_s}).exitCode, 2);

    const QString first = makeAlbum(u"first rip"_s, {u"Intro"_s, u"Outro"_s});
    const auto original = musicState();
    ASSERT_EQ(run({u"rename"_s, first, u"--mask"_s, u"%artist - %album\\%track - %title"_s}).exitCode, 0);
    const QString second = makeAlbum(u"second rip"_s, {u"Alpha"_s});
    const auto renamed = musicState();
    ASSERT_EQ(run({u"rename"_s, second, u"--mask"_s, u"%track %title"_s, u"--dest"_s, u"MP3 directory"_s}).exitCode, 0);

    const CliRun list = run({u"undo"_s, u"--list"_s});
    EXPECT_EQ(list.exitCode, 0);
    ASSERT_EQ(list.lines().size(), 2);
    const QStringList newest = list.lines().at(0).split(u'\t');
    ASSERT_EQ(newest.size(), 6);
    EXPECT_EQ(newest.at(0), u"2"_s);
    EXPECT_TRUE(QDateTime::fromString(newest.at(1), u"yyyy-MM-dd HH:mm:ss"_s).isValid());
    EXPECT_EQ(newest.mid(2), (QStringList {u"Album rename"_s, second, u"1"_s, u"finished"_s}));
    EXPECT_EQ(list.lines().at(1).split(u'\t').mid(2), (QStringList {u"Album rename"_s, first, u"2"_s, u"finished"_s}));

    // The last job: its one file comes back.
    CliRun undo = run({u"undo"_s});
    EXPECT_EQ(undo.exitCode, 0) << undo.err.toStdString();
    EXPECT_EQ(undo.lines(), (QStringList {u"[restored] Restored: "_s + second + u"/track1.mp3"_s, u"Change 2 (Album rename: 1 file in "_s + second + u"): undone"_s}));
    EXPECT_EQ(musicState(), renamed);
    undo = run({u"undo"_s, u"2"_s});
    EXPECT_EQ(undo.exitCode, 2);
    EXPECT_EQ(undo.err, u"varnelt-cli: nothing to undo: job 2 was already undone\n"_s);

    // The earlier job, with one of its files changed since: that file is named and left.
    const QString changed = tempFile(u"music/Foo - Bar/02 - Outro.mp3"_s);
    QFile file(changed);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("edited");
    file.close();
    undo = run({u"undo"_s, u"1"_s});
    EXPECT_EQ(undo.exitCode, 1);
    EXPECT_TRUE(undo.lines().contains(u"[left] "_s + changed + u": left, it was changed since the job"_s)) << undo.out.toStdString();
    EXPECT_TRUE(undo.lines().contains(u"[restored] Restored: "_s + first + u"/track1.mp3"_s)) << undo.out.toStdString();
    EXPECT_EQ(undo.lines().last(), u"Change 1 (Album rename: 2 files in "_s + first + u"): undone in part"_s);
    EXPECT_EQ(musicState().value(u"first rip/track1.mp3"_s), original.value(u"first rip/track1.mp3"_s));
    EXPECT_EQ(run({u"undo"_s, u"--list"_s}).lines().at(1).split(u'\t').last(), u"partly undone"_s);

    EXPECT_EQ(run({u"undo"_s, u"7"_s}).exitCode, 2);
    EXPECT_EQ(run({u"undo"_s, u"--bogus"_s}).exitCode, 2);
    EXPECT_EQ(run({u"undo"_s, u"1"_s, u"2"_s}).exitCode, 2);
}

TEST_F(CliUndoTest, WritingCommandsRefuseAFolderThatAnotherJobIsChanging)
{
    const QString album = makeAlbum(u"rip"_s, {u"Intro"_s, u"Outro"_s});
    ASSERT_EQ(run({u"rename"_s, album, u"--mask"_s, u"%track - %title"_s, u"--dest"_s, u"MP3 directory"_s}).exitCode, 0);
    // This process takes the folder as another job would: through the program's own data folder,
    // found where its journals are.
    QString journals;
    for (QDirIterator it(tempPath(), {u"Journals"_s}, QDir::Dirs | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        journals = it.next();
    ASSERT_FALSE(journals.isEmpty());
    AppFolder::setUserDataOverride(QFileInfo(journals).path());
    const auto renamed = musicState();
    {
        const FolderLock held(album);
        ASSERT_TRUE(held.isHeld());
        for (const QStringList &args :
             {QStringList {u"tag"_s, album, u"--fill"_s, u"v2:Comment=late"_s, u"--yes"_s},
              QStringList {u"rename"_s, album, u"--mask"_s, u"%title"_s, u"--dest"_s, u"MP3 directory"_s, u"--yes"_s},
              QStringList {u"undo"_s}}) {
            const CliRun refused = run(args);
            const QString said = refused.out + refused.err;
            EXPECT_EQ(refused.exitCode, 1) << args.first().toStdString();
            EXPECT_TRUE(said.contains(FolderLock::busyText())) << args.first().toStdString() << ": " << said.toStdString();
        }
        EXPECT_EQ(musicState(), renamed) << "no refused command changed anything";
    }
    const CliRun undo = run({u"undo"_s});
    EXPECT_EQ(undo.exitCode, 0) << undo.out.toStdString();
}

TEST_F(CliUndoTest, ListsEveryKindOfChangeAndUndoesAnOlderOneByItsId)
{
    const QString renamedAlbum = makeAlbum(u"renamed"_s, {u"Intro"_s, u"Outro"_s});
    const QString taggedAlbum = makeAlbum(u"tagged"_s, {u"Alpha"_s});
    const auto original = musicState();
    ASSERT_EQ(run({u"rename"_s, renamedAlbum, u"--mask"_s, u"%track - %title"_s, u"--dest"_s, u"MP3 directory"_s})
                  .exitCode, 0);
    ASSERT_EQ(run({u"tag"_s, taggedAlbum, u"--fill"_s, u"v2:Comment=late"_s, u"--yes"_s}).exitCode, 0);
    const auto changed = musicState();
    ASSERT_NE(changed.value(u"tagged/track1.mp3"_s), original.value(u"tagged/track1.mp3"_s));

    const CliRun list = run({u"undo"_s, u"--list"_s});
    ASSERT_EQ(list.lines().size(), 2) << list.out.toStdString();
    const QStringList batch = list.lines().at(0).split(u'\t');
    const QStringList rename = list.lines().at(1).split(u'\t');
    ASSERT_EQ(batch.size(), 6);
    ASSERT_EQ(rename.size(), 6);
    EXPECT_EQ(batch.first(), u"2"_s);
    EXPECT_EQ(batch.mid(2), (QStringList {u"Fill selected tags"_s, taggedAlbum, u"1"_s, u"finished"_s}));
    EXPECT_EQ(rename.first(), u"1"_s);
    EXPECT_EQ(rename.mid(2), (QStringList {u"Album rename"_s, renamedAlbum, u"2"_s, u"finished"_s}));

    // The older change by its id: the newer one stays as it is.
    CliRun undo = run({u"undo"_s, u"1"_s});
    EXPECT_EQ(undo.exitCode, 0) << undo.out.toStdString();
    EXPECT_EQ(undo.lines().last(), u"Change 1 (Album rename: 2 files in "_s + renamedAlbum + u"): undone"_s);
    auto now = musicState();
    EXPECT_EQ(now.value(u"renamed/track1.mp3"_s), original.value(u"renamed/track1.mp3"_s));
    EXPECT_EQ(now.value(u"renamed/track2.mp3"_s), original.value(u"renamed/track2.mp3"_s));
    EXPECT_EQ(now.value(u"tagged/track1.mp3"_s), changed.value(u"tagged/track1.mp3"_s));

    // Then the newest not undone yet, the batch, without an id.
    undo = run({u"undo"_s});
    EXPECT_EQ(undo.exitCode, 0) << undo.out.toStdString();
    EXPECT_EQ(undo.lines().last(), u"Change 2 (Fill selected tags: 1 file in "_s + taggedAlbum + u"): undone"_s);
    EXPECT_EQ(musicState(), original);
    EXPECT_EQ(run({u"undo"_s}).exitCode, 2);
}

} // namespace
