// One verdict per row, decided from the disk once: the pre-flight names exactly the rows the
// plan refuses, the job does with each row what its verdict says and logs the verdict's line;
// a disk that changed between planning and running is decided again.

#include "RenameJobFixture.h"

#include "jobs/RenamePlan.h"
#include "jobs/RenamePreflight.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

using Action = RowVerdict::Action;

/// Gives `copy` the modification time of `original`.
void sameTimeAs(const QString &copy, const QString &original)
{
    QFile file(copy);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QFileInfo(original).lastModified(), QFileDevice::FileModificationTime));
}

} // namespace

using RenameVerdictTest = RenameJobFixture;

TEST_F(RenameVerdictTest, PreflightAndJobAgreeOnEveryVerdict)
{
    // Moves between file systems need a second one; without it those cases are left out.
    SmallDisk disk(4 * 1024 * 1024);
    struct Case
    {
        const char *name;
        QString fileName; ///< the album's one file, titled "One", renamed by the mask "%title"
        bool otherDisk; ///< the destination folder is on the small disk
        /// Prepares the destination; gets the source and the destination path.
        std::function<void(const QString &source, const QString &destination)> setUp;
        Action action;
        QString logLine; ///< the row's one line under "Warning and error"; empty for none
    };
    const auto flipped = [](const QString &source, const QString &destination) {
        QByteArray bytes = readAll(source);
        bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x55);
        QFile out(destination);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();
        sameTimeAs(destination, source);
    };
    const auto copied = [](const QString &source, const QString &destination) {
        ASSERT_TRUE(QFile::copy(source, destination));
        sameTimeAs(destination, source);
    };
    const QString different = u"Destination file already exists. File content is different."_s;
    const QString identical = u"An identical copy of this file already exists at the destination. "
                              u"Both files are left as they are."_s;
    const QList<Case> cases {
        {"a free destination", u"a.mp3"_s, false, {}, Action::Move, {}},
        {"a letter-case rename", u"one.mp3"_s, false, {}, Action::Move, {}},
        {"the same file (a second run)", u"One.mp3"_s, false, {}, Action::InPlace,
         u"Destination file already exists. File size is the same"_s},
        {"same size and time, other bytes", u"a.mp3"_s, false, flipped, Action::Refused, different},
        {"an identical copy that is another file", u"a.mp3"_s, false, copied, Action::Refused, identical},
        {"same size and time, other bytes, other file system", u"a.mp3"_s, true, flipped, Action::Refused, different},
        {"an interrupted move (same bytes and time, other file system)", u"a.mp3"_s, true, copied, Action::FinishMove,
         u"Destination file already exists. It is the complete copy left by an interrupted move: the move is finished."_s},
        {"an interrupted move of a read-only file", u"a.mp3"_s, true,
         [&](const QString &source, const QString &destination) {
             copied(source, destination);
             QFile::setPermissions(source, QFileDevice::ReadOwner);
         },
         Action::Refused, identical},
    };
    int number = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherDisk && !disk.isMounted())
            continue;
        const QList<SourceFile> files {{c.fileName, u"One"_s, 1.0}};
        const QString folder = makeAlbum(u"case%1"_s.arg(++number), files);
        const QString out = c.otherDisk ? disk.filePath(u"out%1"_s.arg(number)) : folder;
        QDir().mkpath(out);
        const QString source = folder + u'/' + c.fileName;
        const QString destination = out + u"/One.mp3"_s;
        if (c.setUp)
            c.setUp(source, destination);
        const QByteArray otherBefore = QFileInfo(source) != QFileInfo(destination) ? readAll(destination) : QByteArray();

        const AlbumRenamePlan plan = planAlbumRename(inputFor(folder, files, u"%title"_s, out));
        ASSERT_EQ(plan.rows.size(), 1);
        const RowVerdict &verdict = plan.rows.first().verdict;
        EXPECT_EQ(verdict.action, c.action);
        EXPECT_EQ(verdict.logText, c.logLine);

        // The pre-flight names the row exactly when the plan refuses it.
        const QList<PreflightProblem> problems = preflightRenamePlan(plan);
        if (c.action == Action::Refused) {
            ASSERT_EQ(problems.size(), 1);
            EXPECT_EQ(problems.first().kind, PreflightProblem::Kind::DestinationTaken);
            EXPECT_EQ(problems.first().text,
                      u"File 1 (%1): another file already has its new name: %2"_s.arg(c.fileName, destination));
        } else {
            EXPECT_TRUE(problems.isEmpty()) << problems.value(0).text.toStdString();
        }

        // The old folder is the album's own, or is left behind on the other disk.
        const PlannedOutput *oldFolder = plan.output(PlannedOutput::Kind::OldFolder);
        ASSERT_NE(oldFolder, nullptr);
        EXPECT_EQ(oldFolder->verdict, c.otherDisk ? PlannedOutput::Verdict::Tidy : PlannedOutput::Verdict::Stays);

        // The job does what the verdict says and logs its line.
        const RenameJobOutcome outcome = executeRenamePlan(plan, log);
        EXPECT_EQ(outcome.oldFolderRemoved, c.otherDisk && c.action != Action::Refused);
        EXPECT_EQ(warningsOf(log, 0), c.logLine.isEmpty() ? QStringList() : QStringList {c.logLine});
        EXPECT_EQ(outcome.newPaths.first().isEmpty(), c.action == Action::Refused);
        if (c.action == Action::Refused) {
            EXPECT_TRUE(QFileInfo::exists(source)) << "a refused row keeps its file";
            EXPECT_EQ(readAll(destination), otherBefore) << "the other file is not touched";
        } else {
            EXPECT_EQ(readV2WithMutagen(destination).value(u"TPE1"_s).toString(), u"Foo"_s);
            EXPECT_EQ(QDir(folder).exists(c.fileName), c.action == Action::InPlace) << "the old name is gone";
        }
        QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

TEST_F(RenameVerdictTest, TheJobDecidesARowAgainWhenTheDiskChangedAfterPlanning)
{
    struct Case
    {
        const char *name;
        std::function<void(const QString &source, const QString &destination)> before; ///< before planning
        std::function<void(const QString &source, const QString &destination)> after; ///< after planning
        Action planned;
        bool renamed;
        QString logLine;
    };
    const QList<Case> cases {
        {"another file arrives at a free destination", {},
         [](const QString &, const QString &destination) {
             QFile file(destination);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("someone else's file");
         },
         Action::Move, false, u"Destination file already exists. File size is different."_s},
        {"the file at a taken destination goes",
         [](const QString &, const QString &destination) {
             QFile file(destination);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("someone else's file");
         },
         [](const QString &, const QString &destination) { ASSERT_TRUE(QFile::remove(destination)); }, Action::Refused,
         true, {}},
        {"the missing file comes back",
         [](const QString &source, const QString &) { ASSERT_TRUE(QFile::rename(source, source + u".away"_s)); },
         [](const QString &source, const QString &) { ASSERT_TRUE(QFile::rename(source + u".away"_s, source)); },
         Action::Refused, true, {}},
    };
    int number = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QList<SourceFile> files {{u"a.mp3"_s, u"One"_s, 1.0}};
        const QString folder = makeAlbum(u"case%1"_s.arg(++number), files);
        const QString source = folder + u"/a.mp3"_s;
        const QString destination = folder + u"/One.mp3"_s;
        if (c.before)
            c.before(source, destination);
        const AlbumRenamePlan plan = planAlbumRename(inputFor(folder, files, u"%title"_s, u"MP3 directory"_s));
        ASSERT_EQ(plan.rows.first().verdict.action, c.planned);
        c.after(source, destination);

        const RenameJobOutcome outcome = executeRenamePlan(plan, log);
        EXPECT_EQ(outcome.newPaths.first().isEmpty(), !c.renamed);
        EXPECT_EQ(warningsOf(log, 0), c.logLine.isEmpty() ? QStringList() : QStringList {c.logLine});
        EXPECT_EQ(QFileInfo::exists(source), !c.renamed);
        if (c.renamed)
            EXPECT_EQ(readV2WithMutagen(destination).value(u"TIT2"_s).toString(), u"One"_s);
        else
            EXPECT_EQ(readAll(destination), "someone else's file");
    }
}
