// The shell delete sends files to the desktop trash under XDG_DATA_HOME, and never anywhere else.

#include "support/TestEnv.h"

#include "foundation/Common.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

class CommonTrash : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        hadDataHome_ = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        oldDataHome_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
        oldHome_ = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(tempFile(u"home"_s)));
        oldCwd_ = QDir::currentPath();
        // Work from a folder of our own so a file misplaced "under the working folder" shows.
        QDir().mkpath(tempFile(u"cwd"_s));
        QDir::setCurrent(tempFile(u"cwd"_s));
    }
    void TearDown() override
    {
        QDir::setCurrent(oldCwd_);
        qputenv("HOME", oldHome_);
        if (hadDataHome_)
            qputenv("XDG_DATA_HOME", oldDataHome_);
        else
            qunsetenv("XDG_DATA_HOME");
        VarneltTest::TearDown();
    }
    [[nodiscard]] QString dataHome() const { return tempFile(u"data"_s); }
    [[nodiscard]] QStringList trashed() const
    {
        return QDir(dataHome() + u"/Trash/files"_s).entryList(QDir::Files, QDir::Name);
    }

private:
    bool hadDataHome_ = false;
    QByteArray oldDataHome_;
    QByteArray oldHome_;
    QString oldCwd_;
};

} // namespace

TEST_F(CommonTrash, MovesEveryListedFileIntoTheTrash)
{
    ASSERT_FALSE(QFileInfo::exists(dataHome())); // the trash does not exist yet
    const QString a = writeFile(u"album/01 a.mp3"_s, "one");
    const QString b = writeFile(u"album/02 b.mp3"_s, "two");
    const QString list = a + QChar(u'\0') + b;

    EXPECT_EQ(Common::shellDeleteFiles(list, 64), 2);
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_FALSE(QFileInfo::exists(b));
    EXPECT_EQ(trashed(), (QStringList{u"01 a.mp3"_s, u"02 b.mp3"_s}));
    EXPECT_EQ(readAll(dataHome() + u"/Trash/files/02 b.mp3"_s), "two");
    EXPECT_EQ(QDir(dataHome() + u"/Trash/info"_s).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(QDir(tempFile(u"cwd"_s)).isEmpty());
}

TEST_F(CommonTrash, SkipsMissingEntriesAndCountsOnlyWhatMoved)
{
    const QString a = writeFile(u"a.mp3"_s, "a");
    const QString list = tempFile(u"gone.mp3"_s) + QChar(u'\0') + a + QChar(u'\0');
    EXPECT_EQ(Common::shellDeleteFiles(list, 64), 1);
    EXPECT_EQ(trashed(), QStringList{u"a.mp3"_s});
    EXPECT_EQ(Common::shellDeleteFiles(QString(), 64), 0);
}

TEST_F(CommonTrash, AFileThatCannotReachTheTrashStaysInPlace)
{
    // A trash whose "files" is a plain file cannot take anything.
    QDir().mkpath(dataHome() + u"/Trash/info"_s);
    writeFile(u"data/Trash/files"_s, "in the way");
    const QString a = writeFile(u"keep.mp3"_s, "keep");
    EXPECT_EQ(Common::shellDeleteFiles(a, 64), 0);
    EXPECT_EQ(readAll(a), "keep");
    EXPECT_TRUE(QDir(tempFile(u"cwd"_s)).isEmpty());
}

TEST_F(CommonTrash, ATrashThatCannotBeMadeLeavesTheFileInPlace)
{
    // The data folder is a plain file: no trash folder can be made below it.
    writeFile(u"data"_s, "in the way");
    const QString a = writeFile(u"keep.mp3"_s, "keep");
    EXPECT_EQ(Common::shellDeleteFiles(a, 64), 0);
    EXPECT_EQ(readAll(a), "keep");
    EXPECT_TRUE(QDir(tempFile(u"cwd"_s)).isEmpty())
        << QDir(tempFile(u"cwd"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).join(u' ').toStdString();
}
