// The undo of a rename job when things go wrong around it, on real album folders: a journal
// damaged or forged by the test, another job on the same folder, a file moved away under a
// rewrite, a journal read under an address-space limit, full and read-only disks, a source
// folder that is gone.

#include "RenameJobFixture.h"

#include "audio/ID3Edit.h"
#include "audio/SafeFileRewrite.h"
#include "foundation/AppFolder.h"
#include "foundation/FolderLock.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameUndo.h"
#include "support/SmallDisk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString albumMask = u"%artist - %album\\%track - %title"_s;

/// A journal line as anyone who can write the file can make it: the record with its checksum.
QByteArray sealed(const QJsonObject &record)
{
    const QByteArray json = QJsonDocument(record).toJson(QJsonDocument::Compact);
    return QCryptographicHash::hash(json, QCryptographicHash::Sha1).left(4).toHex() + ' ' + json;
}

QJsonObject recordOf(const QByteArray &line)
{
    return QJsonDocument::fromJson(line.mid(9)).object();
}

QList<QByteArray> linesOf(const QString &path)
{
    QList<QByteArray> lines = readAll(path).split('\n');
    lines.removeLast();
    return lines;
}

void writeLines(const QString &path, const QList<QByteArray> &lines)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const QByteArray &line : lines)
        file.write(line + '\n');
}

/// The index of the first line of the kind (and file number, when given).
qsizetype lineOf(const QList<QByteArray> &lines, const QString &kind, int fileNumber = -1)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QJsonObject o = recordOf(lines.at(i));
        if (o.value(u"k"_s).toString() == kind && (fileNumber < 0 || o.value(u"n"_s).toInt() == fileNumber))
            return i;
    }
    return -1;
}

class UndoHostileCasesTest : public RenameJobFixture
{
protected:
    /// The three-song album under music/rip renamed into "music/Foo - Bar" (the old folder goes).
    RenameJobOutcome renameAlbum(const QString &destination = u"Parent directory"_s,
                                 const QString &mask = albumMask)
    {
        folder = makeThreeSongAlbum(u"music/rip"_s);
        before = folderState(tempFile(u"music"_s));
        RenameJobOutcome out = runAlbumRenameJob(inputFor(folder, threeSongs(), mask, destination), log);
        EXPECT_EQ(log.errorCount(), 0);
        journal = JobJournal::list().value(0).path;
        return out;
    }

    QString folder;
    QString journal;
    QMap<QString, QByteArray> before;
};

TEST_F(UndoHostileCasesTest, DamagedRecordIsNamedAndEverythingElseIsUndone)
{
    const RenameJobOutcome out = renameAlbum();
    QList<QByteArray> lines = linesOf(journal);
    const qsizetype at = lineOf(lines, u"file"_s, 2);
    ASSERT_GT(at, 0);
    const qsizetype name = lines[at].indexOf("b.mp3");
    ASSERT_GT(name, 0);
    lines[at][name] = 'x'; // one byte inside the record of the second file
    writeLines(journal, lines);

    const UndoReport report = RenameUndo::undo();
    EXPECT_FALSE(report.complete());
    EXPECT_TRUE(report.left.contains(u"%1: line %2 is damaged; what it recorded is not undone"_s.arg(journal).arg(at + 1)))
        << report.left.join(u'\n').toStdString();
    EXPECT_TRUE(report.left.contains(out.newPaths.at(1) + u": left, its record in the journal is damaged"_s))
        << report.left.join(u'\n').toStdString();
    const auto after = folderState(tempFile(u"music"_s));
    EXPECT_EQ(after.value(u"rip/a.mp3"_s), before.value(u"rip/a.mp3"_s));
    EXPECT_EQ(after.value(u"rip/c.mp3"_s), before.value(u"rip/c.mp3"_s));
    EXPECT_FALSE(after.contains(u"rip/b.mp3"_s));
    EXPECT_TRUE(QFile::exists(out.newPaths.at(1))) << "the file whose record is lost stays where the job put it";
    EXPECT_EQ(JobJournal::list().first().state(), u"partly undone"_s);
    EXPECT_FALSE(RenameUndo::undo().nothingToUndo) << "a job undone in part can be tried again";

    // A damaged job record leaves nothing to go on: the undo says so and touches nothing.
    lines = linesOf(journal);
    lines[0][20] = char(lines[0][20] ^ 1);
    writeLines(journal, lines);
    const auto now = folderState(tempFile(u"music"_s));
    ASSERT_EQ(JobJournal::list().first().state(), u"damaged"_s);
    const UndoReport lost = RenameUndo::undo();
    EXPECT_FALSE(lost.complete());
    EXPECT_FALSE(lost.nothingToUndo);
    EXPECT_EQ(lost.left, QStringList {journal + u": the job record is damaged; nothing of job 1 can be undone"_s});
    EXPECT_EQ(folderState(tempFile(u"music"_s)), now);
}

TEST_F(UndoHostileCasesTest, ForgedRecordsAreRefusedAndNamedAndNothingOutsideTheJobChanges)
{
    const QString victim = tempFile(u"victim"_s);
    QDir().mkpath(victim + u"/emptydir"_s);
    const QString secret = writeFile(u"victim/secret.txt"_s, "not a song");
    const auto outside = folderState(victim);
    renameAlbum();
    const QString music = tempFile(u"music"_s);
    // A link inside the job's folders that leads out of them.
    ASSERT_TRUE(QFile::link(victim, music + u"/link"_s));

    QList<QByteArray> lines = linesOf(journal);
    const qsizetype first = lineOf(lines, u"file"_s, 1);
    QJsonObject withSetId = recordOf(lines[first]);
    withSetId.insert(u"mode"_s, 07777);
    lines[first] = sealed(withSetId);
    const QByteArray evil = "evil";
    const QString evilHash = QString::fromLatin1(JobJournal::hashBytes(evil));
    lines << sealed({{u"k"_s, u"case-folder"_s}, {u"from"_s, victim}, {u"via"_s, QString(victim + u"_VARNELT"_s)},
                     {u"to"_s, tempFile(u"VICTIM"_s)}})
          << sealed({{u"k"_s, u"old-folder"_s}, {u"folder"_s, folder},
                     {u"entries"_s, QJsonArray {QJsonObject {{u"name"_s, u"../../x.txt"_s},
                                                             {u"data"_s, u"eA=="_s}, {u"movedTo"_s, u""_s}}}}})
          << sealed({{u"k"_s, u"mkdir"_s}, {u"levels"_s, QJsonArray {QString(music + u"/Foo - Bar/../../victim/emptydir"_s)}}})
          << sealed({{u"k"_s, u"output"_s}, {u"path"_s, QString(victim + u"/evil.pls"_s)}, {u"existed"_s, true},
                     {u"old"_s, QString::fromLatin1(evil.toBase64())}, {u"oldHash"_s, evilHash}, {u"newHash"_s, u"00"_s}})
          << sealed({{u"k"_s, u"output"_s}, {u"path"_s, QString(music + u"/link/linked.pls"_s)}, {u"existed"_s, true},
                     {u"old"_s, QString::fromLatin1(evil.toBase64())}, {u"oldHash"_s, evilHash}, {u"newHash"_s, u"00"_s}})
          << sealed({{u"k"_s, u"file"_s}, {u"n"_s, 9}, {u"from"_s, QString(folder + u"/stolen.txt"_s)}, {u"to"_s, secret},
                     {u"inPlace"_s, false}, {u"taken"_s, false}, {u"size"_s, 10},
                     {u"hash"_s, QString::fromLatin1(JobJournal::hashFile(secret))}, {u"v2"_s, u""_s},
                     {u"v1"_s, u""_s}, {u"mode"_s, 0644}});
    writeLines(journal, lines);

    const UndoReport report = RenameUndo::undo();
    const QString left = report.left.join(u'\n');
    EXPECT_FALSE(report.complete());
    for (const QString &refused :
         QStringList {victim + u": refused, it is no letter-case rename of the job's folder"_s,
          folder + u": ../../x.txt: refused, the journal names no plain file name"_s,
          music + u"/Foo - Bar/../../victim/emptydir: refused, it lies outside the folders of the job"_s,
          victim + u"/evil.pls: refused, it lies outside the folders of the job"_s,
          music + u"/link/linked.pls: refused, it lies outside the folders of the job"_s,
          secret + u": refused, it lies outside the folders of the job"_s,
          folder + u"/a.mp3: its recorded permissions 7777 are refused (no set-id or sticky bits, nothing beyond "
                   u"0777); they are left as they are"_s})
        EXPECT_TRUE(report.left.contains(refused)) << refused.toStdString() << "\nin:\n" << left.toStdString();
    EXPECT_EQ(report.left.size(), 7) << left.toStdString();
    EXPECT_EQ(folderState(victim), outside) << "nothing outside the job was made, moved or removed";
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"x.txt"_s)));
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"VICTIM"_s)));
    EXPECT_FALSE(QFileInfo::exists(folder + u"/stolen.txt"_s));
    QFile::remove(music + u"/link"_s);
    EXPECT_EQ(folderState(music), before) << "the job's own records are undone";
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(folder + u"/a.mp3"_s).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07000, 0u);
}

TEST_F(UndoHostileCasesTest, AFolderHeldByOneJobRefusesTheOthersAndARewriteKeepsToTheFileItRead)
{
    // A tag rewrite whose file another program renames meanwhile writes nothing under the old name.
    const QString album = makeThreeSongAlbum(u"music/other"_s);
    const QString path = album + u"/a.mp3"_s;
    const QString movedTo = album + u"/01 - One.mp3"_s;
    const QByteArray original = readAll(path);
    StopPoints::setHook([&](const char *step) {
        if (std::strcmp(step, "rewrite-copied") == 0)
            QFile::rename(path, movedTo);
    });
    ID3Edit tagger;
    tagger.Load(path);
    tagger.setTitle(QString(4000, u't')); // outgrows the tag: the file is rewritten
    EXPECT_EQ(tagger.SaveV2(path), ID3Edit::Replaced);
    StopPoints::setHook({});
    EXPECT_FALSE(QFileInfo::exists(path)) << "no second copy under the old name";
    EXPECT_EQ(readAll(movedTo), original);
    EXPECT_TRUE(TemporaryFiles::inFolder(album).isEmpty());

    // While the job runs, its folder refuses a second job, a tag batch's lock and an undo.
    const QString rip = makeThreeSongAlbum(u"music/rip"_s);
    bool checked = false;
    StopPoints::setHook([&](const char *step) {
        if (checked || std::strcmp(step, "journal-record") != 0)
            return;
        checked = true;
        EXPECT_FALSE(FolderLock(rip).isHeld());
        ResultLog second;
        const RenameJobOutcome refused = runAlbumRenameJob(inputFor(rip, threeSongs(), u"%title"_s, u"MP3 directory"_s), second);
        ASSERT_TRUE(refused.failure.has_value());
        EXPECT_EQ(refused.failure->text, FolderLock::busyText() + u"\nImpossible to rename files."_s);
        EXPECT_TRUE(refused.journalId.isEmpty());
    });
    const RenameJobOutcome out = runAlbumRenameJob(inputFor(rip, threeSongs(), albumMask, u"Parent directory"_s), log);
    StopPoints::setHook({});
    EXPECT_TRUE(checked);
    EXPECT_EQ(log.errorCount(), 0);
    EXPECT_EQ(out.journalId, u"1"_s);
    EXPECT_TRUE(FolderLock(rip).isHeld()) << "the job lets go of its folders when it ends";
    {
        const FolderLock held(rip);
        const UndoReport refused = RenameUndo::undo();
        EXPECT_TRUE(refused.refused);
        EXPECT_EQ(refused.why, FolderLock::busyText());
        EXPECT_EQ(JobJournal::list().first().state(), u"finished"_s);
    }
    EXPECT_TRUE(RenameUndo::undo().complete());
}

TEST_F(UndoHostileCasesTest, JournalIsReadWithMemoryThatGrowsWithItsLinesOnly)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address sanitizer reserves more address space than the limit leaves";
#endif
    renameAlbum();
    const pid_t child = ::fork();
    if (child == 0) {
        // Room for the program as it is and 256 MB more: less than the largest record could
        // be, plenty for the records there are.
        long pages = 0;
        if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (rlim_t(256) << 20);
        const rlimit bound {limit, limit};
        if (pages == 0 || ::setrlimit(RLIMIT_AS, &bound) != 0)
            ::_exit(4);
        const UndoReport report = RenameUndo::undo();
        ::_exit(report.complete() ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the undo died under the limit";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(folderState(tempFile(u"music"_s)), before);
}

TEST_F(UndoHostileCasesTest, FullDestinationDiskIsNamedAndItsFilesStillComeBack)
{
    SmallDisk disk(2 * 1024 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small disk can be mounted here";
    renameAlbum(disk.path(), u"%track - %title"_s);
    ASSERT_TRUE(QFileInfo::exists(disk.filePath(u"02 - Two.mp3"_s)));
    disk.fill();

    // The files move back to the disk that has room and get their old tags there.
    const UndoReport report = RenameUndo::undo();
    EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(tempFile(u"music"_s)), before);

    // A move onto the full disk names the cause (the undo freed what the files took).
    QFile::remove(disk.filePath(u"filler.bin"_s));
    disk.fill();
    ResultLog full;
    runAlbumRenameJob(inputFor(folder, threeSongs(), u"%track - %title"_s, disk.path()), full);
    EXPECT_EQ(warningsOf(full, 0), QStringList {u"File move error: No space left on device"_s});
    EXPECT_EQ(folderState(tempFile(u"music"_s)), before);
}

TEST_F(UndoHostileCasesTest, SourceFolderWhoseRecordIsLostIsMadeAgain)
{
    renameAlbum();
    ASSERT_FALSE(QFileInfo::exists(folder)) << "the job took the emptied old folder away";
    // The journal ends inside the record of the old folder, as a kill or a cut copy leaves it.
    const QByteArray bytes = readAll(journal);
    const qsizetype at = bytes.indexOf("\"k\":\"old-folder\"");
    ASSERT_GT(at, 0);
    writeFile(QDir(tempPath()).relativeFilePath(journal), bytes.left(at + 4));

    const UndoReport report = RenameUndo::undo();
    EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
    EXPECT_TRUE(report.restored.contains(u"Old folder made again: "_s + folder));
    EXPECT_EQ(folderState(tempFile(u"music"_s)), before);
}

TEST_F(UndoHostileCasesTest, UndoWhoseOutcomeCannotBeRecordedSaysSo)
{
    SmallDisk disk(1024 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small disk can be mounted here";
    AppFolder::setUserDataOverride(disk.path());
    renameAlbum();
    ASSERT_TRUE(disk.makeReadOnly());

    const UndoReport report = RenameUndo::undo();
    EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
    EXPECT_EQ(report.notRecorded, u"Read-only file system"_s);
    EXPECT_EQ(folderState(tempFile(u"music"_s)), before);
    EXPECT_EQ(JobJournal::list().first().state(), u"finished"_s) << "the journal could not learn of the undo";
}

} // namespace
