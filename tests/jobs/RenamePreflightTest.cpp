// The rename job's pre-flight on real folders: every kind of problem is found, one line per row,
// without a byte changing; the rows it names are exactly the rows the job then fails.
#include "RenameJobFixture.h"

#include "audio/ID3Edit.h"
#include "jobs/RenamePlan.h"
#include "jobs/RenamePreflight.h"
#include "support/Mp3Writer.h"
#include "support/SmallDisk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMap>

using namespace Qt::StringLiterals;

namespace {

QList<PreflightProblem::Kind> kindsOf(const QList<PreflightProblem> &problems)
{
    QList<PreflightProblem::Kind> kinds;
    for (const PreflightProblem &p : problems)
        kinds.append(p.kind);
    return kinds;
}

} // namespace

class RenamePreflightTest : public RenameJobFixture
{
};

TEST_F(RenamePreflightTest, FindsEveryRowProblemChangesNothingAndNamesTheRowsTheJobFails)
{
    using Kind = PreflightProblem::Kind;
    const QList<SourceFile> files {{u"a.mp3"_s, u"One"_s, 1.0},   {u"b.mp3"_s, u"Two"_s, 2.0},
                                   {u"c.mp3"_s, u"Two"_s, 3.0},   {u"d.mp3"_s, u"Taken"_s, 4.0},
                                   {u"e.mp3"_s, QString(300, u'x'), 5.0}, {u"f.mp3"_s, u"Blocked"_s, 6.0},
                                   {u"g.mp3"_s, u"Locked"_s, 7.0},  {u"h.mp3"_s, u"Twin"_s, 8.0}};
    const QString folder = makeAlbum(u"in"_s, files);
    const QString out = tempFile(u"out"_s);
    RenameJobInput in = inputFor(folder, files, u"%title\\%track"_s, out);
    in.rows[2].trackText = u"02"_s; // "Two" again with the same track: the same new path as b.mp3
    in.rows.append({u"Gone"_s, u"gone\nforged.mp3"_s, u"09"_s});
    // Same size and time as h.mp3 but other bytes: no interrupted move's copy, another file.
    {
        QFile source(folder + u"/h.mp3"_s);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x55);
        writeFile(u"out/Twin/08.mp3"_s, bytes);
        QFile twin(out + u"/Twin/08.mp3"_s);
        ASSERT_TRUE(twin.open(QIODevice::ReadWrite));
        ASSERT_TRUE(twin.setFileTime(source.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime));
    }
    writeFile(u"out/Taken/04.mp3"_s, "someone else's file");
    writeFile(u"out/Blocked"_s, "a file where a folder should be made");
    QDir().mkpath(out + u"/Locked"_s);
    const bool locked = lockFolder(out + u"/Locked"_s);

    const AlbumRenamePlan plan = planAlbumRename(in);
    EXPECT_EQ(plan.rows.at(0).foldersToCreate, QStringList {out + u"/One"_s});
    EXPECT_EQ(plan.rows.at(1).sameDestinationAs, -1);
    EXPECT_EQ(plan.rows.at(2).sameDestinationAs, 1);
    EXPECT_EQ(plan.rows.at(3).foldersToCreate, QStringList());

    const QMap<QString, QByteArray> before = folderState(tempPath());
    const QList<PreflightProblem> problems = preflightRenamePlan(plan);
    EXPECT_EQ(folderState(tempPath()), before) << "the pre-flight changed something";

    QList<Kind> expected {Kind::SameDestination, Kind::DestinationTaken, Kind::NameTooLong, Kind::FolderNotWritable};
    if (locked)
        expected.append(Kind::FolderNotWritable);
    expected.append(Kind::DestinationTaken);
    expected.append(Kind::SourceUnusable);
    ASSERT_EQ(kindsOf(problems), expected);
    QList<int> rows;
    for (const PreflightProblem &p : problems)
        rows.append(p.row);
    EXPECT_EQ(rows, locked ? QList<int>({2, 3, 4, 5, 6, 7, 8}) : QList<int>({2, 3, 4, 5, 7, 8}));
    EXPECT_EQ(problems.at(0).text,
              u"File 3 (c.mp3): it would get the same new name as file 2 (b.mp3): "_s + out + u"/Two/02.mp3"_s);
    EXPECT_EQ(problems.at(1).text, u"File 4 (d.mp3): another file already has its new name: "_s + out
                                       + u"/Taken/04.mp3"_s);
    EXPECT_EQ(problems.at(2).text, u"File 5 (e.mp3): File name too long for the destination: 300 bytes, at most 255"_s);
    EXPECT_EQ(problems.at(3).text, u"File 6 (f.mp3): the folder "_s + out
                                       + u"/Blocked cannot be created: a file of that name is in the way"_s);
    if (locked) {
        EXPECT_EQ(problems.at(4).text, u"File 7 (g.mp3): its new folder cannot be written (read-only or no "
                                       u"permission): "_s + out + u"/Locked"_s);
    }
    EXPECT_EQ(problems.at(problems.size() - 2).text,
              u"File 8 (h.mp3): another file already has its new name: "_s + out + u"/Twin/08.mp3"_s);
    EXPECT_EQ(problems.last().text, u"File 9 (gone\nforged.mp3): the file is not in the folder any more"_s);
    // In the question a name cannot start a line of its own.
    EXPECT_TRUE(preflightQuestion(problems).text.contains(
        u"\nFile 9 (gone\\nforged.mp3): the file is not in the folder any more\n"_s));

    // Going on anyway: exactly the rows named fail, the others are renamed.
    const RenameJobOutcome outcome = executeRenamePlan(plan, log);
    for (int row = 0; row < plan.rows.size(); ++row)
        EXPECT_EQ(outcome.newPaths.at(row).isEmpty(), rows.contains(row)) << "row " << row;
}

TEST_F(RenamePreflightTest, NamesFreedByEarlierRowsAndTheRowsOwnFileAreNoCollision)
{
    // Every name shifted down by one, in place: each row takes the name the row before has
    // just left, and 04.mp3 keeps its own name.
    const QList<SourceFile> files {{u"01.mp3"_s, u"A"_s, 1.0}, {u"02.mp3"_s, u"B"_s, 2.0},
                                   {u"03.mp3"_s, u"C"_s, 3.0}, {u"04.mp3"_s, u"D"_s, 4.0}};
    const QString folder = makeAlbum(u"Foo - Bar"_s, files);
    RenameJobInput in = inputFor(folder, files, u"%track"_s, u"MP3 directory"_s);
    for (int i = 0; i < 3; ++i)
        in.rows[i].trackText = u"0%1"_s.arg(i);
    EXPECT_TRUE(preflightRenamePlan(planAlbumRename(in)).isEmpty());

    // Swapped names: 01.mp3 -> 02.mp3 meets 02.mp3 still there, so it stays, and then so does
    // 02.mp3 -> 01.mp3.
    in.rows[0].trackText = u"02"_s;
    in.rows[1].trackText = u"01"_s;
    in.rows[2].trackText = u"03"_s;
    const QList<PreflightProblem> problems = preflightRenamePlan(planAlbumRename(in));
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems.at(0).row, 0);
    EXPECT_EQ(problems.at(1).row, 1);
    EXPECT_EQ(kindsOf(problems), QList<PreflightProblem::Kind>(2, PreflightProblem::Kind::DestinationTaken));
}

TEST_F(RenamePreflightTest, AFirstFolderTheJobCannotMakeIsToldForTheWholeAlbum)
{
    // Built without a file number, the first folder keeps "%filenumber" as typed: no row goes
    // there, but the job makes it first and stops when it cannot.
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const QString out = tempFile(u"out"_s);
    const QString blocker = writeFile(u"out/%filenumber"_s, "in the way");
    const AlbumRenamePlan plan = planAlbumRename(inputFor(folder, threeSongs(), u"%filenumber\\%title"_s, out));
    const QList<PreflightProblem> problems = preflightRenamePlan(plan);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems.first().row, -1);
    EXPECT_EQ(problems.first().text,
              u"No file can be renamed: the folder "_s + blocker + u" cannot be created: a file of that name is in the way"_s);
    EXPECT_FALSE(executeRenamePlan(plan, log).started);
}

TEST_F(RenamePreflightTest, TagsOutgrowingTheirPaddingNeedFreeSpaceForTheirCopies)
{
    SmallDisk disk(2 << 20);
    const QString root = disk.isMounted() ? disk.path() : tempPath();
    const QList<SourceFile> files {{u"a.mp3"_s, u"One"_s, 2.0}, {u"b.mp3"_s, u"Two"_s, 3.0}};
    const QString folder = root + u"/in"_s;
    QDir().mkpath(folder);
    for (const SourceFile &f : files)
        QFile::copy(makeAlbum(u"src"_s, {f}) + u'/' + f.fileName, folder + u'/' + f.fileName);
    RenameJobInput in = inputFor(folder, files, u"%track"_s, u"MP3 directory"_s);
    in.album.comment = QString(6000, u'c'); // far beyond any padding the files have
    const AlbumRenamePlan plan = planAlbumRename(in);

    // The estimate is what the tag writer really does: the file grows by exactly the difference.
    const QString probe = tempFile(u"probe.mp3"_s);
    QFile::copy(folder + u"/a.mp3"_s, probe);
    ID3Edit tagger;
    setRowV2Fields(tagger, in, in.rows.first());
    const ID3Edit::V2Space space = tagger.PlanSaveV2(probe);
    EXPECT_GT(space.after, space.before + 6000);
    const qint64 oldSize = QFileInfo(probe).size();
    ASSERT_EQ(tagger.SaveV2(probe), ID3Edit::Ok);
    EXPECT_EQ(QFileInfo(probe).size(), oldSize - space.before + space.after);

    // The copy of the larger file plus both files' growth and two trailers.
    const qint64 sizeB = QFileInfo(folder + u"/b.mp3"_s).size();
    const qint64 needed = 2 * (space.after - space.before) + sizeB + space.after - space.before + 256;
    EXPECT_TRUE(preflightRenamePlan(plan).isEmpty()) << "a disk with room is no problem";
    QList<PreflightProblem> problems;
    if (disk.isMounted()) {
        disk.fill(needed / 2);
        const QMap<QString, QByteArray> before = folderState(root);
        problems = preflightRenamePlan(plan);
        EXPECT_EQ(folderState(root), before);
    } else {
        // Without a small disk the free space is given.
        problems = preflightRenamePlan(plan, [](const QString &) { return std::optional<qint64>(1000); });
    }
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems.first().row, -1);
    EXPECT_EQ(problems.first().kind, PreflightProblem::Kind::NotEnoughSpace);
    EXPECT_TRUE(problems.first().text.startsWith(u"Not enough free space in "_s + folder + u": about "_s))
        << problems.first().text.toStdString();
    // The figure named is the sum above, within the rounding of the message.
    const QString figure = QLocale::c().formattedDataSize(needed, 1, QLocale::DataSizeTraditionalFormat);
    EXPECT_TRUE(problems.first().text.contains(u"about "_s + figure + u" needed"_s)) << problems.first().text.toStdString();
}

TEST_F(RenamePreflightTest, AnAlbumMixingNumbersTagsRipsAndLengthsIsWarnedAboutAndRenamedAsPlanned)
{
    using Kind = PreflightProblem::Kind;
    using Mp3Writer::Frame;
    const QString folder = tempFile(u"mix"_s);
    const auto tags = [](const QString &title, const QString &artist, const QString &album) {
        return Mp3Writer::id3v2({{"TIT2", title}, {"TPE1", artist}, {"TALB", album}});
    };
    // a: 40 s where the record says 25 s. b: 20 s where it says 3:20. c: the album's names in
    // another letter case (no warning) but 48 kHz. d: another album, and VBR. e: another
    // artist, 15 s where the record says 10 s (within the margin).
    Mp3Writer::save(folder + u"/a.mp3"_s, tags(u"One"_s, u"Foo"_s, u"Bar"_s) + Mp3Writer::cbrFile(40.0));
    Mp3Writer::save(folder + u"/b.mp3"_s, tags(u"Two"_s, u"Foo"_s, u"Bar"_s) + Mp3Writer::cbrFile(20.0));
    Mp3Writer::save(folder + u"/c.mp3"_s, tags(u"Three"_s, u" foo"_s, u"BAR"_s)
                                              + Mp3Writer::cbrFile(5.0, 128, Frame {.sampleRate = 48000}));
    Mp3Writer::save(folder + u"/d.mp3"_s, tags(u"Four"_s, u"Foo"_s, u"Other Album"_s)
                                              + Mp3Writer::vbrStream(Frame {}, {128, 192, 256}, 200));
    Mp3Writer::save(folder + u"/e.mp3"_s, tags(u"Five"_s, u"Someone Else"_s, u"Bar"_s) + Mp3Writer::cbrFile(15.0));
    RenameJobInput in;
    in.currentDirectory = folder;
    in.rows = {{u"One"_s, u"a.mp3"_s, u"01"_s, 25000},
               {u"Two"_s, u"b.mp3"_s, u"02"_s, 200000},
               {u"Three"_s, u"c.mp3"_s, u"02"_s},
               {u"Four"_s, u"d.mp3"_s, u"05"_s},
               {u"Five"_s, u"e.mp3"_s, u"07"_s, 10000}};
    in.album = {u"Foo"_s, u"Bar"_s, u"2001"_s, u"Rock"_s, QString()};
    in.naming.mask = u"%track - %title"_s;
    in.naming.destination = u"MP3 directory"_s;
    const AlbumRenamePlan plan = planAlbumRename(in);

    const QMap<QString, QByteArray> before = folderState(tempPath());
    const QList<PreflightProblem> warnings = preflightAlbumWarnings(plan);
    EXPECT_EQ(folderState(tempPath()), before) << "the warnings changed something";
    EXPECT_TRUE(preflightRenamePlan(plan).isEmpty()) << "warnings are no problems";

    QStringList texts;
    for (const PreflightProblem &w : warnings) {
        texts.append(w.text);
        EXPECT_TRUE(w.isWarning()) << w.text.toStdString();
    }
    EXPECT_EQ(texts, (QStringList {
                         u"File 2 (b.mp3) and File 3 (c.mp3) have the same track number 2"_s,
                         u"Track numbers missing between 1 and 7: 3-4, 6"_s,
                         u"File 4 (d.mp3): its tags name the album \"Other Album\" (the others: \"Bar\")"_s,
                         u"File 5 (e.mp3): its tags name the artist \"Someone Else\" (the others: \"Foo\")"_s,
                         u"File 3 (c.mp3): its sample rate is 48000 Hz, the others' 44100 Hz (a folder mixing rips?)"_s,
                         u"File 4 (d.mp3): it is VBR, the others are CBR (a folder mixing rips?)"_s,
                         u"File 1 (a.mp3): it lasts 0:40, its track 0:25 (much longer)"_s,
                         u"File 2 (b.mp3): it lasts 0:20, its track 3:20 (much shorter)"_s,
                     }));
    EXPECT_EQ(kindsOf(warnings), (QList<Kind> {Kind::SameTrackNumber, Kind::TrackNumberGap, Kind::OtherAlbum,
                                               Kind::OtherAlbum, Kind::OtherSampleRate, Kind::OtherBitrateMode,
                                               Kind::LengthFarFromTrack, Kind::LengthFarFromTrack}));
    QList<int> rows;
    for (const PreflightProblem &w : warnings)
        rows.append(w.row);
    EXPECT_EQ(rows, (QList<int> {2, -1, 3, 4, 2, 3, 0, 1}));

    // Warnings alone ask with Yes as the default; with a problem, No stays the default and the
    // warnings follow the problems.
    const Msg::Message alone = preflightQuestion({}, warnings);
    EXPECT_EQ(alone.title, u"Rename and tag warnings"_s);
    EXPECT_EQ(alone.defaultButton, Msg::Answer::Yes);
    EXPECT_EQ(alone.text, u"The album may not be what you expect:\n\n"_s + texts.join(u'\n')
                              + u"\n\nRename and tag anyway? Every file is renamed and tagged as planned."_s);
    const PreflightProblem problem {1, Kind::DestinationTaken, u"File 2 (b.mp3): another file already has its new name"_s};
    const Msg::Message both = preflightQuestion({problem}, warnings);
    EXPECT_EQ(both.defaultButton, Msg::Answer::No);
    EXPECT_TRUE(both.text.startsWith(u"Some files cannot be renamed as planned:\n\n"_s + problem.text
                                     + u"\n\nThe album may not be what you expect either:\n\n"_s + texts.first()))
        << both.text.toStdString();
    EXPECT_FALSE(problem.isWarning());

    // The job does what it does without warnings: every file renamed, none logged as a problem.
    const RenameJobOutcome outcome = executeRenamePlan(plan, log);
    EXPECT_EQ(log.renamedCount(), 5);
    EXPECT_EQ(log.errorCount(), 0);
    EXPECT_EQ(log.warningCount(), 0);
    EXPECT_TRUE(QFileInfo::exists(folder + u"/02 - Three.mp3"_s));

    // A plain album, and a compilation (every file its own artist), give no warning.
    const QString plain = makeThreeSongAlbum(u"plain"_s);
    EXPECT_TRUE(preflightAlbumWarnings(planAlbumRename(inputFor(plain, threeSongs(), u"%track"_s, u"MP3 directory"_s))).isEmpty());
    const QString various = tempFile(u"various"_s);
    for (int i = 1; i <= 4; ++i)
        Mp3Writer::save(various + u"/%1.mp3"_s.arg(i), tags(u"T"_s, u"Artist %1"_s.arg(i), u"Hits"_s) + Mp3Writer::cbrFile(2.0));
    RenameJobInput compilation = in;
    compilation.currentDirectory = various;
    compilation.rows.clear();
    for (int i = 1; i <= 4; ++i)
        compilation.rows.append({u"T"_s, u"%1.mp3"_s.arg(i), u"0%1"_s.arg(i)});
    const QList<PreflightProblem> none = preflightAlbumWarnings(planAlbumRename(compilation));
    EXPECT_TRUE(none.isEmpty()) << none.value(0).text.toStdString();
}
