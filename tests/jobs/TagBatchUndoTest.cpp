// The undo journal of the tag editor's save and the tag batches on real files: killed at any
// step (and the files written anew since the last sync then lost, as in a power cut), each is
// undone to byte-identical files; a rename, then a batch, then two undos give back
// the original folder; each change is listed with its kind.

#include "RenameJobFixture.h"

#include "jobs/JobJournal.h"
#include "jobs/RenameUndo.h"
#include "jobs/TagEditing.h"
#include "foundation/TemporaryFiles.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class TagBatchUndoTest : public RenameJobFixture
{
protected:
    /// The album's files with both tags, one without any, so fills grow tags and add trailers.
    QList<SourceFile> songs() const
    {
        return {{u"a.mp3"_s, u"One"_s, 1.0, true, true},
                {u"b.mp3"_s, u"Two"_s, 2.0, true, false},
                {u"c.mp3"_s, u"Three"_s, 3.0, false, false}};
    }

    static quint64 inodeOf(const QString &path)
    {
        struct stat st;
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
    }

    static QStringList pathsIn(const QString &folder)
    {
        QStringList paths;
        for (const QString &name : QDir(folder).entryList({u"*.mp3"_s}, QDir::Files, QDir::Name))
            paths << folder + u'/' + name;
        return paths;
    }
};

/// A change over a folder's files, as the tag page and the CLI run it.
struct Change
{
    const char *name;
    std::function<void(const QString &folder, const QStringList &paths)> run;
};

QList<Change> changes()
{
    return {
        {"fill",
         [](const QString &folder, const QStringList &paths) {
             FillSwitches fill;
             fill.tick(FillField::Album2);
             fill.tick(FillField::Comment2);
             fill.tick(FillField::Artist);
             TagEditorValues source;
             source.album = u"A much longer album name than the tag had room for"_s.repeated(20);
             source.comment = u"filled"_s;
             source.v1Artist = u"Someone"_s;
             TagBatch batch;
             ASSERT_TRUE(batch.begin(ChangeKind::Fill, folder, paths));
             for (int k = 1; k <= paths.size(); ++k)
                 EXPECT_TRUE(fillTags(paths.at(k - 1), fill, source, TagVersions::Both, true, ID3v2Version::V3,
                                      batch.slot(k)).done);
         }},
        {"remove",
         [](const QString &folder, const QStringList &paths) {
             TagBatch batch;
             ASSERT_TRUE(batch.begin(ChangeKind::RemoveTags, folder, paths));
             for (int k = 1; k <= paths.size(); ++k)
                 EXPECT_TRUE(removeTags(paths.at(k - 1), TagVersions::Both, RemovalScope::AllFiles, batch.slot(k)).done);
         }},
        {"editor save",
         [](const QString &, const QStringList &paths) {
             TagEditorValues values = loadTagEditorValues(paths.first()).values;
             values.title = u"Edited"_s;
             values.v1Title = u"Edited v1"_s;
             values.lyrics = u"la la"_s.repeated(500);
             EXPECT_TRUE(saveTagEditorValues(paths.first(), values, TagVersions::Both, true, ID3v2Version::V4).done);
         }},
    };
}

TEST_F(TagBatchUndoTest, ABatchAndAnEditorSaveKilledAtAnyStepAreUndoneToByteIdenticalFiles)
{
    int stops = 0;
    for (const Change &change : changes()) {
        for (int n = 1;; ++n) {
            SCOPED_TRACE(std::string(change.name) + " step " + std::to_string(n));
            const QString folder = makeAlbum(u"kill/%1-%2"_s.arg(QString::fromLatin1(change.name)).arg(n), songs());
            const auto before = folderState(folder);
            const QStringList paths = pathsIn(folder);
            QHash<QString, quint64> inodes;
            for (const QString &path : paths)
                inodes.insert(path, inodeOf(path));
            const bool stopped = runUntilStep(nullptr, [&] { change.run(folder, paths); }, n);
            if (!stopped) {
                ASSERT_NE(folderState(folder), before) << "the change changed nothing";
            } else {
                // A power cut at the kill: a file written anew since the change's last sync (its
                // original still linked beside it) lost its bytes, as a file system that delays
                // its writes leaves it.
                const QStringList temporary = TemporaryFiles::inFolder(folder);
                for (const QString &path : paths) {
                    const auto keptFor = [&](const QString &name) {
                        return TemporaryFiles::belongsTo(name, QFileInfo(path).fileName());
                    };
                    if (inodeOf(path) != inodes.value(path)
                        && std::any_of(temporary.cbegin(), temporary.cend(), keptFor)) {
                        ASSERT_TRUE(QFile::resize(path, 0));
                    }
                }
            }
            const UndoReport report = RenameUndo::undo();
            EXPECT_TRUE(report.complete() || report.nothingToUndo) << report.left.join(u'\n').toStdString();
            EXPECT_EQ(folderState(folder), before);
            if (!stopped) {
                const QList<JournalContents> listed = JobJournal::list();
                ASSERT_FALSE(listed.isEmpty());
                EXPECT_EQ(listed.first().state(), u"undone"_s);
                break;
            }
            ++stops;
            ASSERT_LT(n, 100);
        }
    }
    EXPECT_GT(stops, 12);
}

TEST_F(TagBatchUndoTest, RenameThenABatchThenTwoUndosGiveBackTheOriginalFolder)
{
    const QString root = tempFile(u"music"_s);
    const QString folder = makeAlbum(u"music/rip"_s, songs());
    const auto original = folderState(root);
    const RenameJobOutcome renamed =
        runAlbumRenameJob(inputFor(folder, songs(), u"%artist - %album\\%track - %title"_s, u"Parent directory"_s), log);
    ASSERT_TRUE(renamed.started);
    const QString album = root + u"/Foo - Bar"_s;
    const auto afterRename = folderState(root);
    ASSERT_NE(afterRename, original);

    // A removal the old net could never take back: now journalled, and undone first.
    const QStringList paths = pathsIn(album);
    ASSERT_EQ(paths.size(), 3);
    {
        TagBatch batch;
        ASSERT_TRUE(batch.begin(ChangeKind::RemoveTags, album, paths));
        for (int k = 1; k <= paths.size(); ++k)
            ASSERT_TRUE(removeTags(paths.at(k - 1), TagVersions::Both, RemovalScope::AllFiles, batch.slot(k)).done);
    }
    // The editor's save of one file is a change of its own.
    TagEditorValues values = loadTagEditorValues(paths.last()).values;
    values.title = u"Typed"_s;
    ASSERT_TRUE(saveTagEditorValues(paths.last(), values, TagVersions::V2Only, false).done);

    const QList<JournalContents> listed = JobJournal::list();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed.at(0).kind, ChangeKind::EditorSave);
    EXPECT_EQ(listed.at(0).description, u"Write ID3 tag: 1 file in "_s + album);
    EXPECT_EQ(listed.at(1).kind, ChangeKind::RemoveTags);
    EXPECT_EQ(listed.at(1).description, u"Remove tags: 3 files in "_s + album);
    EXPECT_EQ(listed.at(2).kind, ChangeKind::Rename);

    EXPECT_TRUE(RenameUndo::undo().complete());
    EXPECT_TRUE(RenameUndo::undo().complete());
    EXPECT_EQ(folderState(root), afterRename);
    const UndoReport last = RenameUndo::undo();
    EXPECT_TRUE(last.complete()) << last.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(root), original);
    EXPECT_TRUE(RenameUndo::undo().nothingToUndo);

    // A save that changed nothing leaves no journal behind.
    const QString first = pathsIn(folder).first();
    ASSERT_TRUE(saveTagEditorValues(first, loadTagEditorValues(first).values, TagVersions::V2Only, false).done);
    EXPECT_EQ(JobJournal::list().size(), 3);
}

} // namespace
