#include "album/DirectoryListing.h"

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

class DirectoryListingTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        // The size column groups thousands with the user's separator: fix it for the test.
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        album_ = tempFile(u"album"_s);
        QDir().mkpath(album_);
    }
    void TearDown() override
    {
        QLocale::setDefault(previousLocale_);
        VarneltTest::TearDown();
    }

    QString put(const QString &name, const QByteArray &bytes) const
    {
        const QString path = album_ + u'/' + name;
        Mp3Writer::save(path, bytes);
        return path;
    }

    QString album_;

private:
    QLocale previousLocale_;
};

QStringList namesOf(const ListingResult &result)
{
    QStringList names;
    for (const ListedFile &f : result.files)
        names << f.fileName;
    return names;
}

} // namespace

TEST(TotalsLineText, ShowsCountMegabytesAndMinutesWithTwoDigitSeconds)
{
    EXPECT_EQ(totalsZeroText(), u"MP3 files found : 0   -   Total size : 0 MB   -   Total length : 0:00"_s);
    EXPECT_EQ(totalsLineText(3, 5 * 1024, 61), u"MP3 files found : 3   -   Total size : 5 MB   -   Total length : 1:01"_s);
    EXPECT_EQ(totalsLineText(1, 0, 59).right(4), u"0:59"_s);
    // Minutes are not wrapped into hours.
    EXPECT_EQ(totalsLineText(1, 0, 3 * 3600 + 5).right(6), u"180:05"_s);
}

TEST(TotalsLineText, RoundsMegabytesHalfToEven)
{
    // 1.5 MB -> 2, 2.5 MB -> 2, 2.5001 MB -> 3.
    EXPECT_TRUE(totalsLineText(1, 1536, 0).contains(u"Total size : 2 MB"_s));
    EXPECT_TRUE(totalsLineText(1, 2560, 0).contains(u"Total size : 2 MB"_s));
    EXPECT_TRUE(totalsLineText(1, 2561, 0).contains(u"Total size : 3 MB"_s));
}

TEST(TotalsLineText, FailureTextKeepsItsClosingParenthesis)
{
    EXPECT_EQ(totalsFailureText(0), u"MP3 files found : 0  /  Total size : 0 MB)"_s);
    EXPECT_EQ(totalsFailureText(12), u"MP3 files found : 12  /  Total size : 0 MB)"_s);
}

TEST(FileIconKey, FollowsTheTagState)
{
    EXPECT_EQ(fileIconKey(false, false), u"FileIcon"_s);
    EXPECT_EQ(fileIconKey(true, false), u"FileIconTag"_s);
    EXPECT_EQ(fileIconKey(false, true), u"FileIconTagV2"_s);
    EXPECT_EQ(fileIconKey(true, true), u"FileIconTagV1+2"_s);
}

TEST_F(DirectoryListingTest, ListsMp3FilesInAnyLetterCaseAndLeavesOutHiddenFilesAndFolders)
{
    const QByteArray audio = Mp3Writer::cbrFile(1.0);
    put(u"b.mp3"_s, audio);
    put(u"A.MP3"_s, audio);
    put(u"c.Mp3"_s, audio);
    put(u".hidden.mp3"_s, audio);
    put(u"notes.txt"_s, "text");
    put(u"song.mp3.bak"_s, audio);
    QDir(album_).mkdir(u"folder.mp3"_s);

    bool readable = false;
    EXPECT_EQ(findMp3Files(album_, ListingOrder::FileName, &readable),
              (QStringList{u"A.MP3"_s, u"b.mp3"_s, u"c.Mp3"_s}));
    EXPECT_TRUE(readable);
    QStringList unordered = findMp3Files(album_, ListingOrder::Enumeration);
    unordered.sort(Qt::CaseInsensitive);
    EXPECT_EQ(unordered, (QStringList{u"A.MP3"_s, u"b.mp3"_s, u"c.Mp3"_s}));
}

TEST_F(DirectoryListingTest, OrdersNamesIgnoringCaseThenByExactSpelling)
{
    const QByteArray audio = Mp3Writer::cbrFile(0.5);
    for (const QString &name : {u"b.mp3"_s, u"B.mp3"_s, u"a2.mp3"_s, u"A10.mp3"_s, u"10.mp3"_s})
        put(name, audio);
    EXPECT_EQ(findMp3Files(album_, ListingOrder::FileName),
              (QStringList{u"10.mp3"_s, u"A10.mp3"_s, u"a2.mp3"_s, u"B.mp3"_s, u"b.mp3"_s}));
}

TEST_F(DirectoryListingTest, MissingFolderGivesTheFailureTotalsLine)
{
    int calls = 0;
    const ListingResult result
        = listDirectory(tempFile(u"nowhere"_s), {}, [&](const ListedFile &, int, const QString &) { ++calls; });
    EXPECT_FALSE(result.folderReadable);
    EXPECT_TRUE(result.files.isEmpty());
    EXPECT_EQ(result.totalsLine, totalsFailureText(0));
    EXPECT_EQ(calls, 0);
}

TEST_F(DirectoryListingTest, EmptyFolderKeepsTheZeroTotalsLine)
{
    put(u"readme.txt"_s, "no music");
    const ListingResult result = listDirectory(album_);
    EXPECT_TRUE(result.folderReadable);
    EXPECT_TRUE(result.files.isEmpty());
    EXPECT_EQ(result.totalsLine, totalsZeroText());
}

TEST_F(DirectoryListingTest, SizeIsKilobytesRoundedHalfToEvenWithGroupSeparator)
{
    // Not audio at all: the size column does not depend on the file's content.
    put(u"a.mp3"_s, QByteArray(1536, 'x'));
    put(u"b.mp3"_s, QByteArray(2560, 'x'));
    put(u"c.mp3"_s, QByteArray(1234 * 1024 + 600, 'x'));
    const ListingResult result = listDirectory(album_);
    ASSERT_EQ(result.files.size(), 3);
    EXPECT_EQ(result.files[0].size, u"2"_s);
    EXPECT_EQ(result.files[1].size, u"2"_s);
    EXPECT_EQ(result.files[2].size, u"1,235"_s);
    EXPECT_EQ(result.files[2].sizeBytes, 1234 * 1024 + 600);
}

TEST_F(DirectoryListingTest, ReadsAudioColumnsAndTagStateOfEachFile)
{
    Mp3Writer::Song plain{.title = u"One"_s, .seconds = 5.0, .withV2 = false};
    put(u"01 none.mp3"_s, Mp3Writer::song(plain));
    Mp3Writer::Song v1 = plain;
    v1.withV1 = true;
    put(u"02 v1.mp3"_s, Mp3Writer::song(v1));
    Mp3Writer::Song v2 = plain;
    v2.withV2 = true;
    put(u"03 v2.mp3"_s, Mp3Writer::song(v2));
    Mp3Writer::Song both = v2;
    both.withV1 = true;
    put(u"04 both.mp3"_s, Mp3Writer::song(both));

    const ListingResult result = listDirectory(album_);
    ASSERT_EQ(namesOf(result), (QStringList{u"01 none.mp3"_s, u"02 v1.mp3"_s, u"03 v2.mp3"_s, u"04 both.mp3"_s}));
    const QStringList icons{u"FileIcon"_s, u"FileIconTag"_s, u"FileIconTagV2"_s, u"FileIconTagV1+2"_s};
    const QStringList states{u"none"_s, u"v1"_s, u"v2"_s, u"v1+v2"_s};
    for (int i = 0; i < 4; ++i) {
        const ListedFile &f = result.files[i];
        SCOPED_TRACE(f.fileName.toStdString());
        EXPECT_EQ(f.iconKey, icons[i]);
        EXPECT_EQ(f.tagState(), states[i]);
        EXPECT_EQ(f.length, u"0:05"_s);
        EXPECT_EQ(f.bitrate, u"128"_s);
        EXPECT_EQ(f.frequency, u"44100"_s);
        EXPECT_EQ(f.mode, u"Joint Stereo"_s);
        EXPECT_EQ(f.durationSeconds, 5);
        EXPECT_FALSE(f.usedAnalyzer);
    }
    EXPECT_EQ(result.totalsLine.right(4), u"0:20"_s);
}

TEST_F(DirectoryListingTest, FileWithPictureIsReadPastItsTag)
{
    // The tag is skipped by its size, never parsed: a large cover neither hides the audio nor
    // counts as playing time.
    Mp3Writer::Song song{.title = u"Cover"_s, .seconds = 4.0, .pictureBytes = 300'000};
    put(u"cover.mp3"_s, Mp3Writer::song(song));
    const ListingResult result = listDirectory(album_);
    ASSERT_EQ(result.files.size(), 1);
    const ListedFile &f = result.files.first();
    EXPECT_FALSE(f.usedAnalyzer);
    EXPECT_EQ(f.iconKey, u"FileIconTagV2"_s);
    EXPECT_EQ(f.length, u"0:04"_s);
    EXPECT_EQ(f.bitrate, u"128"_s);
    EXPECT_EQ(f.frequency, u"44100"_s);
    EXPECT_EQ(f.mode, u"Joint Stereo"_s);
}

TEST_F(DirectoryListingTest, ValidMpeg2FileNeverShowsEmptyColumns)
{
    Mp3Writer::Frame frame{.version = 2, .layer = 3, .bitrate = 64, .sampleRate = 24000, .mode = Mp3Writer::Mode::Mono};
    put(u"low.mp3"_s, Mp3Writer::cbrFile(10.0, 64, frame));
    const ListedFile f = listDirectory(album_).files.value(0);
    EXPECT_FALSE(f.usedAnalyzer);
    EXPECT_EQ(f.length, u"0:10"_s);
    EXPECT_EQ(f.bitrate, u"64"_s);
    EXPECT_EQ(f.frequency, u"24000"_s);
    EXPECT_EQ(f.mode, u"Mono"_s);
}

TEST_F(DirectoryListingTest, UnreadableAudioNeverShowsTheValuesOfAnotherFile)
{
    Mp3Writer::Song good{.title = u"Good"_s, .seconds = 3.0, .pictureBytes = 500};
    put(u"a good.mp3"_s, Mp3Writer::song(good));
    // A picture tag followed by no audio at all: the analyzer fails on it.
    put(u"b broken.mp3"_s, Mp3Writer::id3v2({{"TIT2", u"Broken"_s}}, 500) + QByteArray(3000, 'z'));
    put(u"c noise.mp3"_s, QByteArray(4096, '\x11'));

    const ListingResult result = listDirectory(album_);
    ASSERT_EQ(result.files.size(), 3);
    EXPECT_EQ(result.files[0].bitrate, u"128"_s);
    for (int i = 1; i < 3; ++i) {
        const ListedFile &f = result.files[i];
        SCOPED_TRACE(f.fileName.toStdString());
        EXPECT_FALSE(f.usedAnalyzer);
        EXPECT_EQ(f.bitrate, u"0"_s);
        EXPECT_EQ(f.frequency, u"0"_s);
        EXPECT_EQ(f.length, u"0:00"_s);
        EXPECT_EQ(f.durationSeconds, 0);
        // Neither reader found a frame: the row warns instead of looking like a good file.
        EXPECT_TRUE(f.noAudioFrame);
        EXPECT_EQ(f.iconKey, u"warning"_s);
    }
    EXPECT_FALSE(result.files[0].noAudioFrame);
    EXPECT_EQ(result.files[0].iconKey, u"FileIconTagV2"_s);
    EXPECT_EQ(result.totalsLine.right(4), u"0:03"_s);
}

TEST_F(DirectoryListingTest, TotalsLineGrowsFileByFileThroughTheCallback)
{
    put(u"1.mp3"_s, Mp3Writer::cbrFile(40.0));
    put(u"2.mp3"_s, Mp3Writer::cbrFile(21.0));
    QStringList lines;
    QList<int> indexes;
    const ListingResult result = listDirectory(album_, {}, [&](const ListedFile &f, int index, const QString &line) {
        indexes << index;
        lines << line;
        EXPECT_FALSE(f.fileName.isEmpty());
    });
    EXPECT_EQ(indexes, (QList<int>{0, 1}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(u"MP3 files found : 1   -   Total size : 1 MB"_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(u"Total length : 0:40"_s));
    EXPECT_TRUE(lines[1].startsWith(u"MP3 files found : 2   -   "_s));
    EXPECT_TRUE(lines[1].endsWith(u"Total length : 1:01"_s));
    EXPECT_EQ(result.totalsLine, lines[1]);
}

TEST_F(DirectoryListingTest, WithoutAudioColumnsOnlyNamesAndIconsAreListed)
{
    Mp3Writer::Song song{.title = u"x"_s, .seconds = 2.0, .withV1 = true};
    put(u"tagged.mp3"_s, Mp3Writer::song(song));
    const ListingResult result = listDirectory(album_, {.audioColumns = false});
    ASSERT_EQ(result.files.size(), 1);
    const ListedFile &f = result.files.first();
    EXPECT_EQ(f.iconKey, u"FileIconTagV1+2"_s);
    EXPECT_FALSE(f.audioRead);
    EXPECT_TRUE(f.size.isEmpty());
    EXPECT_TRUE(f.length.isEmpty());
    EXPECT_EQ(result.totalsLine, totalsZeroText());
}
