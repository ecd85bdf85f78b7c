// The undo journal of the rename job on real album folders: a rename and its undo give back
// every file byte for byte at its old path, whether the job finished or was killed after any
// step; a journal that cannot be written stops the job before it changes anything.

#include "RenameJobFixture.h"

#include "audio/ID3Edit.h"
#include "foundation/AppFolder.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameUndo.h"
#include "support/Mp3Writer.h"
#include "support/SmallDisk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString albumMask = u"%artist - %album\\%track - %title"_s;

/// How one scenario sets up its album under a root folder and what the job is asked.
struct Scenario
{
    const char *name;
    QString folder; ///< the album's folder under the root
    QList<RenameJobFixture::SourceFile> files;
    QString mask;
    QString destination; ///< "MP3 directory", "Parent directory" or a folder under the root
    bool playlist = false;
    int playlistDir = 0;
    bool cover = false;
    int coverDir = 0;
    QStringList extraFiles; ///< files under the root made before the job (earlier outputs)
    bool htmlAndEmbeddedCover = false; ///< the album page beside the playlist, the cover in every tag
};

QList<Scenario> scenarios()
{
    const QList<RenameJobFixture::SourceFile> mixed {{u"a.mp3"_s, u"One"_s, 1.0, true, true},
                                                     {u"b.mp3"_s, u"Two"_s, 2.0, false, true},
                                                     {u"c.mp3"_s, u"Three"_s, 3.0, false, false}};
    const QList<RenameJobFixture::SourceFile> lower {{u"01 - one.mp3"_s, u"One"_s, 1.0},
                                                     {u"02 - two.mp3"_s, u"Two"_s, 2.0, true, true}};
    return {
        // A new album folder beside the old one; outputs in both places; the old folder, with its
        // earlier playlist and picture, removed.
        {"album folder", u"rips/incoming"_s, mixed, albumMask, u"Parent directory"_s, true, 0, true, 1,
         {u"rips/incoming/incoming.pls"_s, u"rips/incoming/incoming.jpg"_s}},
        // Renamed in place; an earlier playlist and cover replaced.
        {"in place", u"Foo - Bar"_s, mixed, u"%track - %title"_s, u"MP3 directory"_s, true, 0, true, 0,
         {u"Foo - Bar/Foo - Bar.pls"_s, u"Foo - Bar/Foo - Bar.jpg"_s}},
        // Only the letter case of the folder changes.
        {"folder case", u"mp3/foo - bar"_s, mixed, albumMask, u"Parent directory"_s, false, 0, false, 0, {}},
        // Only the letter case of the file names changes.
        {"file case", u"Foo - Bar"_s, lower, u"%track - %title"_s, u"MP3 directory"_s, true, 0, false, 0, {}},
        // A second run over files that already carry their new names: tagged where they are.
        {"second run", u"Foo - Bar"_s, {{u"01 - One.mp3"_s, u"One"_s, 1.0, true, true}, {u"02 - Two.mp3"_s, u"Two"_s, 2.0}},
         u"%track - %title"_s, u"MP3 directory"_s, false, 0, false, 0, {}},
        // A typed destination with levels to create, per-row folder levels among them.
        {"typed destination", u"in/album"_s, mixed, u"%artist\\%album\\%track\\%title"_s, u"out/deep"_s, false, 0,
         true, 1, {}},
        // The album page beside the playlist (an earlier one replaced) and the cover in every tag.
        {"page and embedded cover", u"Foo - Bar"_s, mixed, u"%track - %title"_s, u"MP3 directory"_s, true, 0, true, 0,
         {u"Foo - Bar/Foo - Bar.htm"_s}, true},
    };
}

class RenameUndoTest : public RenameJobFixture
{
protected:
    /// Makes the scenario's album under `root` and returns the job's input.
    RenameJobInput prepare(const Scenario &s, const QString &root)
    {
        const QString folder = makeAlbum(QDir(tempPath()).relativeFilePath(root) + u'/' + s.folder, s.files);
        for (const QString &extra : s.extraFiles) {
            if (extra.endsWith(u".pls"_s))
                writeFile(QDir(tempPath()).relativeFilePath(root + u'/' + extra),
                          "[playlist]\r\nFile1=a.mp3\r\nNumberOfEntries=1\r\n");
            else
                writeFile(QDir(tempPath()).relativeFilePath(root + u'/' + extra), "old picture " + extra.toUtf8());
        }
        const QString destination =
            s.destination.contains(u"directory"_s) ? s.destination : root + u'/' + s.destination;
        RenameJobInput in = inputFor(folder, s.files, s.mask, destination);
        in.outputs.playlist = s.playlist;
        in.outputs.playlistDir = outputFolderOf(s.playlistDir);
        if (s.cover) {
            in.outputs.cover = in.outputs.coverShown = true;
            in.outputs.coverDir = outputFolderOf(s.coverDir);
            in.outputs.coverDownloadFileName = writeFile(u"download/cover.jpg"_s, "\xff\xd8 new cover");
        }
        if (s.htmlAndEmbeddedCover) {
            in.outputs.html = true;
            QFile::remove(in.outputs.coverDownloadFileName);
            QFile::copy(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/site/amg/amg/cov200/drc/c12345.jpg"_s,
                        in.outputs.coverDownloadFileName);
            in.embedCover = {true, in.outputs.coverDownloadFileName, {}};
        }
        return in;
    }
};

TEST_F(RenameUndoTest, RenameThenUndoGivesBackEveryFileByteForByteAtItsOldPath)
{
    for (const Scenario &s : scenarios()) {
        SCOPED_TRACE(s.name);
        const QString root = tempFile(QString::fromLatin1(s.name));
        const RenameJobInput in = prepare(s, root);
        const auto before = folderState(root);

        const RenameJobOutcome out = runAlbumRenameJob(in, log);
        ASSERT_EQ(log.errorCount(), 0);
        ASSERT_FALSE(out.journalId.isEmpty());
        ASSERT_NE(folderState(root), before) << "the job changed nothing";

        const UndoReport report = RenameUndo::undo();
        EXPECT_EQ(report.id, out.journalId);
        EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
        EXPECT_EQ(folderState(root), before);
        EXPECT_EQ(JobJournal::list().first().state(), u"undone"_s);
        EXPECT_TRUE(RenameUndo::undo().nothingToUndo) << "an undone job is not undone twice";
    }
    EXPECT_EQ(JobJournal::list().size(), qsizetype(scenarios().size()));
}

TEST_F(RenameUndoTest, FileChangedSinceTheJobIsLeftAndNamedTheOthersComeBack)
{
    const Scenario s = scenarios().first();
    const QString root = tempFile(u"music"_s);
    const RenameJobInput in = prepare(s, root);
    const RenameJobOutcome out = runAlbumRenameJob(in, log);
    const QString changed = out.newPaths.at(1);
    QFile file(changed);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("x");
    file.close();

    const UndoReport report = RenameUndo::undo(out.journalId);
    // The folder the job made keeps the file that stays.
    EXPECT_EQ(report.left.join(u'\n'), changed + u": left, it was changed since the job\n"_s + root
                                            + u"/rips/Foo - Bar: left, the folder the job made is not empty"_s);
    EXPECT_TRUE(QFile::exists(in.currentDirectory + u"/a.mp3"_s));
    EXPECT_TRUE(QFile::exists(in.currentDirectory + u"/c.mp3"_s));
    EXPECT_TRUE(QFile::exists(changed));
    EXPECT_EQ(JobJournal::list().first().state(), u"partly undone"_s);
}

TEST_F(RenameUndoTest, RestoreFileGivesARunningJobsFileItsOriginalBytesAndRefusesOtherAudio)
{
    const QString folder = makeThreeSongAlbum(u"music/album"_s);
    const QString path = folder + u"/a.mp3"_s;
    const QByteArray original = readAll(path);
    JobJournal journal;
    ASSERT_TRUE(journal.begin(folder, folder, 1));
    ASSERT_TRUE(journal.recordFile(1, path, path));
    ID3Edit tagger;
    tagger.setTitle(u"A much longer title than the padding of the old tag can hold, surely"_s);
    ASSERT_EQ(tagger.SaveV2(path), ID3Edit::Ok);
    ASSERT_NE(readAll(path), original);

    const FileRestore restored = journal.restoreFile(1);
    EXPECT_TRUE(restored.ok) << restored.message.toStdString();
    EXPECT_EQ(readAll(path), original);

    QByteArray damaged = original;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x55);
    writeFile(u"music/album/a.mp3"_s, damaged);
    const FileRestore refused = journal.restoreFile(1);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, u"its audio is not the original's"_s);
    EXPECT_EQ(readAll(path), damaged) << "a refused restore writes nothing";
    EXPECT_FALSE(journal.restoreFile(2).ok);
}

TEST_F(RenameUndoTest, JobKilledAfterAnyStepIsUndoneToTheStateBeforeIt)
{
    // Every step point (each journal record, and inside the moves and writes) is a kill point.
    int stops = 0;
    for (const Scenario &s : scenarios()) {
        for (int n = 1;; ++n) {
            SCOPED_TRACE(std::string(s.name) + " step " + std::to_string(n));
            const QString root = tempFile(u"kill/%1-%2"_s.arg(QString::fromLatin1(s.name)).arg(n));
            const RenameJobInput in = prepare(s, root);
            const auto before = folderState(root);
            ResultLog childLog;
            const bool stopped = runUntilStep(nullptr, [&] { (void)runAlbumRenameJob(in, childLog); }, n);
            const UndoReport report = RenameUndo::undo();
            EXPECT_TRUE(report.complete() || report.nothingToUndo) << report.left.join(u'\n').toStdString();
            EXPECT_EQ(folderState(root), before);
            if (!stopped)
                break;
            ++stops;
            ASSERT_LT(n, 200);
        }
    }
    EXPECT_GT(stops, 90);
}

TEST_F(RenameUndoTest, UnwritableJournalStopsTheJobBeforeAnyChange)
{
    const QString root = tempFile(u"music"_s);
    const RenameJobInput in = prepare(scenarios().first(), root);
    const auto before = folderState(root);
    QDir().mkpath(journalFolder());
    if (!lockFolder(journalFolder()))
        GTEST_SKIP() << "this system lets the test write into a locked folder";

    const RenameJobOutcome out = runAlbumRenameJob(in, log);
    ASSERT_TRUE(out.failure.has_value());
    EXPECT_EQ(out.failure->title, u"Undo journal error"_s);
    EXPECT_TRUE(out.failure->text.startsWith(
        u"Unable to write the undo journal. Disk full, read-only media or not enough rights.\n"_s + journalFolder()));
    EXPECT_TRUE(out.failure->text.endsWith(u"\nImpossible to rename files."_s));
    EXPECT_FALSE(out.started);
    EXPECT_EQ(log.errorCount(), 1);
    EXPECT_EQ(folderState(root), before);

    // A full disk under the data folder: the same stop.
    SmallDisk disk(64 * 1024);
    if (!disk.isMounted())
        return;
    AppFolder::setUserDataOverride(disk.path());
    disk.fill();
    ResultLog second;
    const RenameJobOutcome full = runAlbumRenameJob(in, second);
    ASSERT_TRUE(full.failure.has_value());
    EXPECT_EQ(full.failure->title, u"Undo journal error"_s);
    EXPECT_EQ(folderState(root), before);
}

TEST_F(RenameUndoTest, JournalThatCannotBeWrittenMidJobStopsTheJobBeforeTheNextChange)
{
    SmallDisk disk(256 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small disk can be mounted here";
    AppFolder::setUserDataOverride(disk.path());
    // Each file's tag holds a picture, so its record needs more room than the journal has left.
    const QString folder = tempFile(u"music/rip"_s);
    QList<SourceFile> files = threeSongs();
    for (const SourceFile &f : files) {
        Mp3Writer::Song song {.title = f.title, .seconds = f.seconds, .pictureBytes = 16000};
        ASSERT_TRUE(Mp3Writer::save(folder + u'/' + f.fileName, Mp3Writer::song(song)));
    }
    const auto before = folderState(tempFile(u"music"_s));
    int records = 0;
    StopPoints::setHook([&](const char *step) {
        if (std::strcmp(step, "journal-record") == 0 && ++records == 2)
            disk.fill(); // after the job's first record and the folder it makes
    });
    const RenameJobOutcome out = runAlbumRenameJob(inputFor(folder, files, albumMask, u"Parent directory"_s), log);
    StopPoints::setHook({});

    ASSERT_TRUE(out.failure.has_value());
    EXPECT_EQ(out.failure->title, u"Undo journal error"_s);
    EXPECT_EQ(log.summary(), u"Files renamed : 0 / 3   -   0 warning   -   1 error"_s);
    // Every file is recorded before the first is touched: the job stops before its first file.
    EXPECT_TRUE(log.roots().isEmpty());
    EXPECT_TRUE(out.failure->text.contains(u"No space left on device"_s)) << "a full disk is named as such: "
                                                                           << out.failure->text.toStdString();
    for (const SourceFile &f : files)
        EXPECT_TRUE(QFile::exists(folder + u'/' + f.fileName)) << "no file moved without its record";

    // What the job did before (the album folder) is in the journal, and undone.
    QFile::remove(disk.filePath(u"filler.bin"_s));
    const UndoReport report = RenameUndo::undo();
    EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(tempFile(u"music"_s)), before);
}

TEST_F(RenameUndoTest, OnlyTheLastHundredJournalsAreKeptAndATornRecordIsIgnored)
{
    const QString folder = makeThreeSongAlbum(u"music/album"_s);
    for (int i = 0; i < JobJournal::KeptJobs + 3; ++i) {
        JobJournal journal;
        ASSERT_TRUE(journal.begin(folder, folder, 3));
        ASSERT_TRUE(journal.recordMakeFolders({folder + u"/x"_s}));
        journal.finish();
    }
    const QList<JournalContents> jobs = JobJournal::list();
    ASSERT_EQ(jobs.size(), JobJournal::KeptJobs);
    EXPECT_EQ(jobs.first().id, QString::number(JobJournal::KeptJobs + 3));
    EXPECT_EQ(jobs.last().id, u"4"_s);
    EXPECT_EQ(jobs.first().state(), u"finished"_s);

    // A record a kill tore apart is ignored, and an undo's note still counts behind it.
    const QString newest = jobs.first().path;
    QFile file(newest);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("1234abcd {\"k\":\"mkdir\",\"levels\":[\"/x");
    file.close();
    EXPECT_EQ(JobJournal::read(newest).madeFolders.size(), 1);
    ASSERT_TRUE(JobJournal::noteUndo(newest, true));
    EXPECT_EQ(JobJournal::read(newest).state(), u"undone"_s);
    EXPECT_EQ(JobJournal::readSummary(newest).state(), u"undone"_s);

    // The list reads a journal's first line and its end only: a big record in between is skipped.
    JobJournal big;
    ASSERT_TRUE(big.begin(folder, folder, 3));
    ASSERT_TRUE(big.recordOutput(writeFile(u"music/album/cover.jpg"_s, QByteArray(200000, 'c')), "00"));
    big.finish();
    const JournalContents summary = JobJournal::readSummary(big.path());
    EXPECT_GT(QFileInfo(big.path()).size(), 200000);
    EXPECT_EQ(summary.id, QString::number(JobJournal::KeptJobs + 4));
    EXPECT_EQ(summary.folder, folder);
    EXPECT_EQ(summary.state(), u"finished"_s);
    EXPECT_TRUE(summary.outputs.isEmpty());
    EXPECT_EQ(JobJournal::read(big.path()).outputs.size(), 1);
    EXPECT_EQ(JobJournal::read(newest).madeFolders.size(), 1);
}

} // namespace

TEST_F(RenameUndoTest, AJobStoppedByTheUserLeavesEveryFileWholeAndItsPartIsUndone)
{
    const Scenario s = scenarios().first(); // album folder, playlist and cover beside it
    const QString root = tempFile(u"stopped"_s);
    RenameJobInput in = prepare(s, root);
    const auto before = folderState(root);
    int asked = 0;
    in.stopRequested = [&asked] { return ++asked == 2; };
    const RenameJobOutcome out = runAlbumRenameJob(in, log);
    EXPECT_TRUE(out.stopped);
    EXPECT_EQ(asked, 2);
    // Two of three files moved, the third where it was; no playlist or cover, the old folder kept.
    EXPECT_EQ(out.newPaths.size(), 3);
    EXPECT_FALSE(out.newPaths.at(1).isEmpty());
    EXPECT_TRUE(out.newPaths.at(2).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(root + u'/' + s.folder + u"/c.mp3"_s));
    EXPECT_FALSE(out.oldFolderRemoved);
    EXPECT_LT(log.findRoot(u"Playlist"_s), 0);
    const int folders = log.findRoot(u"Folders"_s);
    ASSERT_GE(folders, 0);
    EXPECT_TRUE(log.childTexts(folders).contains(u"Stopped by the user."_s));
    EXPECT_EQ(log.errorCount(), 0);

    // The journal was kept: the part done is undone.
    ASSERT_FALSE(out.journalId.isEmpty());
    const UndoReport report = RenameUndo::undo();
    EXPECT_EQ(report.id, out.journalId);
    EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(root), before);
}
