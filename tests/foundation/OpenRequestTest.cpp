// What the program opens when it is told paths: the folder, the files to select, what is missing.
#include "foundation/OpenRequest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(OpenRequest, FirstExistingPathDecidesTheFolderAndItsFilesAreSelected)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir(dir.path()).mkpath(u"A/Sub"_s);
    QDir(dir.path()).mkpath(u"B"_s);
    for (const QString &name : {u"A/1.mp3"_s, u"A/2.MP3"_s, u"A/notes.txt"_s, u"B/3.mp3"_s}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString a = QDir::toNativeSeparators(dir.filePath(u"A"_s));

    OpenRequest request = openRequestFor({dir.filePath(u"missing"_s), dir.filePath(u"A/Sub/../2.MP3"_s),
        dir.filePath(u"B/3.mp3"_s), dir.filePath(u"A/1.mp3"_s), dir.filePath(u"A/2.MP3"_s), dir.filePath(u"A"_s)});
    EXPECT_EQ(request.folder, a);
    EXPECT_EQ(request.fileNames, QStringList({u"2.MP3"_s, u"1.mp3"_s}));
    EXPECT_EQ(request.missing, QStringList({dir.filePath(u"missing"_s)}));

    // A folder with a trailing separator opens itself, selecting nothing.
    request = openRequestFor({dir.filePath(u"A/"_s)});
    EXPECT_EQ(request.folder, a);
    EXPECT_TRUE(request.fileNames.isEmpty());

    // Nothing exists: no folder, and the message names the first path printably.
    request = openRequestFor({u"  "_s, dir.filePath(u"x\ny"_s)});
    EXPECT_TRUE(request.folder.isEmpty());
    EXPECT_EQ(missingPathMessage(openRequestFor({dir.filePath(u"x\ny"_s)})),
        u"The folder or file \""_s + dir.filePath(u"x\\ny"_s) + u"\" does not exist."_s);

    // What a drop takes: folders and MP3 files, whatever the letter case.
    EXPECT_TRUE(isOpenablePath(dir.filePath(u"A"_s)));
    EXPECT_TRUE(isOpenablePath(dir.filePath(u"A/2.MP3"_s)));
    EXPECT_FALSE(isOpenablePath(dir.filePath(u"A/notes.txt"_s)));
    EXPECT_FALSE(isOpenablePath(dir.filePath(u"missing.mp3"_s)));
}
