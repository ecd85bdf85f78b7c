// The file lists' in-place rename and move to the trash, each journalled, on real files in a
// trash of the test's own: undone newest first they give back the folder as it was; a file whose
// place was taken stays in the trash and is named; a change killed between the move to the
// trash and its note is undone from the trash's own description; a forged note is refused.

#include "RenameJobFixture.h"

#include "foundation/DesktopTrash.h"
#include "jobs/JobJournal.h"
#include "jobs/ListedFileChanges.h"
#include "jobs/RenameUndo.h"
#include "support/SmallDisk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

class ListedFileChangesTest : public RenameJobFixture
{
protected:
    void SetUp() override
    {
        RenameJobFixture::SetUp();
        hadDataHome_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(tempFile(u"data"_s)));
    }
    void TearDown() override
    {
        if (hadDataHome_)
            qputenv("XDG_DATA_HOME", oldDataHome_);
        else
            qunsetenv("XDG_DATA_HOME");
        RenameJobFixture::TearDown();
    }

    /// The files the newest journal says it moved to the trash.
    static QList<JournalTrashed> newestTrashed()
    {
        const QList<JournalContents> listed = JobJournal::list();
        return listed.isEmpty() ? QList<JournalTrashed>() : JobJournal::read(listed.first().path).trashed;
    }

    static QByteArray sha1Of(const QString &path)
    {
        return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1).toHex();
    }

private:
    bool hadDataHome_ = false;
    QByteArray oldDataHome_;
};

} // namespace

TEST_F(ListedFileChangesTest, RenameAndTrashAreUndoneNewestFirstAndATakenPlaceKeepsItsFileInTheTrash)
{
    const QString folder = makeThreeSongAlbum(u"album"_s);
    const auto before = folderState(folder);
    const QString a = folder + u"/a.mp3"_s, b = folder + u"/b.mp3"_s, c = folder + u"/c.mp3"_s;

    ASSERT_EQ(ListedFileChanges::renameFile(a, folder + u"/01 One.mp3"_s), QString());
    // A taken name is refused and leaves no journal an undo would take for the change.
    EXPECT_EQ(ListedFileChanges::renameFile(b, c), ListedFileChanges::renameFailureText());
    const ListedFileChanges::TrashOutcome trashed = ListedFileChanges::trashFiles(folder, {b, c});
    EXPECT_EQ(trashed.moved, 2);
    EXPECT_TRUE(trashed.notMoved.isEmpty());
    EXPECT_EQ(folderState(folder).keys(), QStringList({u"01 One.mp3"_s}));

    const QList<JournalContents> listed = JobJournal::list();
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed.at(0).kind, ChangeKind::Trash);
    EXPECT_EQ(listed.at(0).id, trashed.journalId);
    EXPECT_EQ(listed.at(1).kind, ChangeKind::ListRename);
    const QList<JournalTrashed> inTrash = newestTrashed();
    ASSERT_EQ(inTrash.size(), 2);
    for (const JournalTrashed &t : inTrash) {
        EXPECT_TRUE(Common::isInsideTrash(t.trashedPath)) << t.trashedPath.toStdString();
        EXPECT_TRUE(QFileInfo::exists(t.infoPath));
    }

    const UndoReport trashUndo = RenameUndo::undo();
    EXPECT_TRUE(trashUndo.complete()) << trashUndo.left.join(u'\n').toStdString();
    const UndoReport renameUndo = RenameUndo::undo();
    EXPECT_TRUE(renameUndo.complete()) << renameUndo.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(folder), before);
    for (const JournalTrashed &t : inTrash) {
        EXPECT_FALSE(QFileInfo::exists(t.trashedPath));
        EXPECT_FALSE(QFileInfo::exists(t.infoPath));
    }
    EXPECT_TRUE(RenameUndo::undo().nothingToUndo);

    // Trashed again, and another file is put in one's place: it stays in the trash, named.
    ASSERT_EQ(ListedFileChanges::trashFiles(folder, {b, c}).moved, 2);
    writeFile(u"album/c.mp3"_s, "another file");
    const QString cInTrash = newestTrashed().at(1).trashedPath;
    const UndoReport taken = RenameUndo::undo();
    EXPECT_FALSE(taken.complete());
    ASSERT_EQ(taken.left.size(), 1);
    EXPECT_EQ(taken.left.first(), cInTrash + u": left in the trash, another file is at its place "_s + c);
    EXPECT_EQ(readAll(c), "another file");
    EXPECT_EQ(sha1Of(cInTrash), before.value(u"c.mp3"_s));
    EXPECT_EQ(sha1Of(b), before.value(u"b.mp3"_s));
}

TEST_F(ListedFileChangesTest, TrashKilledBeforeItsNoteAndAForgedNoteAreUndoneFromTheDiskOrRefused)
{
    const QString folder = makeThreeSongAlbum(u"album"_s);
    const auto before = folderState(folder);
    const QString a = folder + u"/a.mp3"_s, b = folder + u"/b.mp3"_s;

    // Killed once the first file is in the trash, before the journal says where it went.
    ASSERT_TRUE(runUntilStep("trashed", [&] { (void)ListedFileChanges::trashFiles(folder, {a, b}); }));
    ASSERT_FALSE(QFileInfo::exists(a));
    ASSERT_FALSE(QDir(tempFile(u"data/Trash/files"_s)).isEmpty());
    const UndoReport killed = RenameUndo::undo();
    EXPECT_TRUE(killed.complete()) << killed.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(folder), before);
    EXPECT_TRUE(QDir(tempFile(u"data/Trash/files"_s)).isEmpty());
    EXPECT_TRUE(QDir(tempFile(u"data/Trash/info"_s)).isEmpty());

    // A note that names a file outside any trash would move that file into the folder.
    ASSERT_EQ(ListedFileChanges::trashFiles(folder, {a}).moved, 1);
    const QString elsewhere = writeFile(u"elsewhere/a.mp3"_s, readAll(newestTrashed().first().trashedPath));
    const QString journal = JobJournal::list().first().path;
    QByteArray lines = readAll(journal);
    const QJsonObject forged {{u"k"_s, u"trash"_s}, {u"n"_s, 1}, {u"path"_s, elsewhere},
                              {u"info"_s, Common::trashInfoOf(elsewhere)}};
    const QByteArray json = QJsonDocument(forged).toJson(QJsonDocument::Compact);
    lines += QCryptographicHash::hash(json, QCryptographicHash::Sha1).left(4).toHex() + ' ' + json + '\n';
    QFile file(journal);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines);
    file.close();
    const UndoReport refused = RenameUndo::undo();
    ASSERT_EQ(refused.left.size(), 1);
    EXPECT_EQ(refused.left.first(), elsewhere + u": refused, the journal names no file of a trash"_s);
    EXPECT_TRUE(QFileInfo::exists(elsewhere));
    EXPECT_FALSE(QFileInfo::exists(a));
}
