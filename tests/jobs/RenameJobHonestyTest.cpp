// The rename job reports what really happened: a name at the file system's limit still gets
// its grown tag, an identical copy of another file at the destination is not taken for this
// row's file, and a title never makes a hidden or nameless file.

#include "RenameJobFixture.h"

#include "foundation/TemporaryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

using RenameJobHonestyTest = RenameJobFixture;


TEST_F(RenameJobHonestyTest, EachRowEndsAsItReallyDid)
{
    QList<SourceFile> files = threeSongs();
    files[0].title = QString(246, u'n'); // 250 bytes with ".mp3": the tag rewrite's copy must still fit
    files[0].withV2 = false;             // so the tag grows and the file is rewritten
    files.append({u"d.mp3"_s, u"Four"_s, 4.0});
    files.append({u"e.mp3"_s, u".hidden"_s, 5.0});
    files.append({u"f.mp3"_s, u"\x01\x02"_s, 6.0});
    const QString folder = makeAlbum(u"in"_s, files);
    // "Three" already lies at the destination as an identical copy that is another file.
    const QString out = tempFile(u"out"_s);
    QDir().mkpath(out);
    QFile::copy(folder + u"/c.mp3"_s, out + u"/Three.mp3"_s);
    const QByteArray three = readAll(folder + u"/c.mp3"_s);

    runAlbumRenameJob(inputFor(folder, files, u"%title"_s, out), log);

    const QString longName = QString(246, u'n') + u".mp3"_s;
    EXPECT_EQ(warningsOf(log, 0), QStringList());
    EXPECT_EQ(readV2WithMutagen(out + u'/' + longName).value(u"TIT2"_s).toString(), QString(246, u'n'));
    EXPECT_EQ(warningsOf(log, 2),
              QStringList {u"An identical copy of this file already exists at the destination. "
                           u"Both files are left as they are."_s});
    EXPECT_EQ(readAll(folder + u"/c.mp3"_s), three);
    EXPECT_EQ(readAll(out + u"/Three.mp3"_s), three) << "the other file's copy is not tagged";
    // Titles never make hidden or nameless files.
    QStringList made = QDir(out).entryList(QDir::Files | QDir::Hidden);
    made.sort();
    EXPECT_EQ(made, (QStringList {u"Four.mp3"_s, u"Three.mp3"_s, u"Two.mp3"_s, u"_.mp3"_s, u"_hidden.mp3"_s, longName}));
    EXPECT_EQ(log.summary().toStdString(), "Files renamed : 5 / 6   -   1 warning   -   0 error") << log.toText().toStdString();
}
