// Best match: files paired with tracks by their titles, numbers and lengths, the whole album at
// once, on real MP3 files whose tags and lengths are read as the dialog reads them.
#include "lookup/Assignment.h"
#include "lookup/BestMatch.h"
#include "lookup/FileEvidence.h"
#include "naming/QStringPrinter.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QRandomGenerator>
#include <algorithm>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

struct TestFile
{
    QString name;
    int seconds = 0;
    QString title{};
    QString track{};
};

/// A small MP3 file that plays for `seconds`: a Xing frame counting the frames of that time.
QByteArray timedSong(const TestFile &file)
{
    QList<Mp3Writer::TextFrame> frames;
    if (!file.title.isEmpty())
        frames.append({"TIT2", file.title});
    if (!file.track.isEmpty())
        frames.append({"TRCK", file.track});
    const Mp3Writer::Frame f;
    return (frames.isEmpty() ? QByteArray() : Mp3Writer::id3v2(frames))
           + Mp3Writer::xingFrame(f, quint32(Mp3Writer::framesFor(file.seconds, f))) + Mp3Writer::frames(f, 3);
}

/// The five tracks of the test album and their lengths.
const QStringList Titles = {u"Intro"_s, u"Long Song"_s, u"Ballad"_s, u"Short One"_s, u"Finale"_s};
const QList<int> Lengths = {65, 312, 241, 140, 450};

class BestMatchTest : public VarneltTest
{
protected:
    /// Writes the files and returns the record with the files paired by position, as a reader
    /// leaves it, and the files' evidence.
    AlbumRecord album(const QList<TestFile> &files, bool withLengths = true)
    {
        WorkingList list;
        for (const TestFile &file : files) {
            EXPECT_TRUE(Mp3Writer::save(tempFile(file.name), timedSong(file)));
            list.fileNames << file.name;
        }
        AlbumRecord record;
        QString genre;
        for (int n = 1; n <= Titles.size(); ++n)
            addFoundTrack(record, list, n, Titles.at(n - 1), u"Artist"_s, u"Album"_s, genre, u"2001"_s);
        addNotFoundRows(record, list);
        if (withLengths)
            record.trackLengths = Lengths;
        evidence = readFileEvidence(tempPath(), list.fileNames);
        return record;
    }

    static QStringList pairs(const AlbumRecord &record)
    {
        QStringList result;
        for (const TrackRow &row : record.rows)
            result << row.text + u" = "_s + row.fileName;
        return result;
    }

    QList<FileEvidence> evidence;
};

} // namespace

TEST_F(BestMatchTest, NamesThatSayNothingArePairedByTheirLengths)
{
    AlbumRecord record = album({{u"a.mp3"_s, 313}, {u"b.mp3"_s, 449}, {u"c.mp3"_s, 66}, {u"d.mp3"_s, 241},
                                {u"e.mp3"_s, 138}});
    ASSERT_EQ(evidence.size(), 5);
    EXPECT_EQ(evidence.at(0).lengthSeconds, 313) << "the length read from the file";
    const QList<PairScore> scores = pairByBestMatch(record, evidence);
    EXPECT_EQ(pairs(record), QStringList({u"01 - Intro = c.mp3"_s, u"02 - Long Song = a.mp3"_s,
                                          u"03 - Ballad = d.mp3"_s, u"04 - Short One = e.mp3"_s,
                                          u"05 - Finale = b.mp3"_s}));
    EXPECT_EQ(scores.at(0), (PairScore{100, u"length 1:06 / 1:05"_s}));
    EXPECT_EQ(scores.at(3), (PairScore{100, u"length 2:18 / 2:20"_s}));
    EXPECT_EQ(scoreCurrentPairing(record, evidence), scores) << "the pairing scores as it was made";

    // Without lengths in the record nothing is known of these files: none is paired by guess.
    AlbumRecord bare = album({{u"a.mp3"_s, 313}, {u"b.mp3"_s, 449}}, false);
    const QList<PairScore> none = pairByBestMatch(bare, evidence);
    EXPECT_EQ(bare.rows.size(), 7);
    EXPECT_EQ(bare.rows.at(0).fileName, AlbumRecord::notFound());
    EXPECT_EQ(bare.rows.at(5), (TrackRow{AlbumRecord::notFound(), u"a.mp3"_s, u"TrackError"_s}));
    EXPECT_EQ(none.at(5), PairScore{});
}

TEST_F(BestMatchTest, TrackNumbersAndTitlesOnlyInTheTags)
{
    // Names of codes: no title in them. Track numbers in both forms, no lengths in the record.
    AlbumRecord numbered = album({{u"qwz.mp3"_s, 100, {}, u"3/5"_s}, {u"plk.mp3"_s, 100, {}, u"1"_s},
                                  {u"vrt.mp3"_s, 100, {}, u"5/5"_s}, {u"bnm.mp3"_s, 100, {}, u"02"_s},
                                  {u"hjk.mp3"_s, 100, {}, u"4"_s}}, false);
    const QList<PairScore> byNumber = pairByBestMatch(numbered, evidence);
    EXPECT_EQ(pairs(numbered), QStringList({u"01 - Intro = plk.mp3"_s, u"02 - Long Song = bnm.mp3"_s,
                                            u"03 - Ballad = qwz.mp3"_s, u"04 - Short One = hjk.mp3"_s,
                                            u"05 - Finale = vrt.mp3"_s}));
    EXPECT_EQ(byNumber.at(2), (PairScore{100, u"track 3"_s}));

    // Tag titles written otherwise than the record's: letter case, accents, reissue noise.
    AlbumRecord titled = album({{u"track_a.mp3"_s, 450, u"FINALE (2011 Remaster)"_s},
                                {u"track_b.mp3"_s, 140, u"short one - bonus track"_s},
                                {u"track_c.mp3"_s, 65, u"Intro"_s},
                                {u"track_d.mp3"_s, 241, u"Balläd"_s},
                                {u"track_e.mp3"_s, 300, u"Long Song [Live]"_s}});
    const QList<PairScore> byTitle = pairByBestMatch(titled, evidence);
    EXPECT_EQ(pairs(titled), QStringList({u"01 - Intro = track_c.mp3"_s, u"02 - Long Song = track_e.mp3"_s,
                                          u"03 - Ballad = track_d.mp3"_s, u"04 - Short One = track_b.mp3"_s,
                                          u"05 - Finale = track_a.mp3"_s}));
    EXPECT_EQ(byTitle.at(4), (PairScore{100, u"title 100 %, length 7:30 / 7:30"_s}));
    EXPECT_EQ(byTitle.at(2).reason, u"title 100 %, length 4:01 / 4:01"_s) << "accents ignored";
    EXPECT_LT(byTitle.at(1).score, 100) << "a live take twelve seconds off and its own title: a weaker pair";
    EXPECT_GE(byTitle.at(1).score, PairThreshold);
}

TEST_F(BestMatchTest, APartialAlbumAndFilesAlreadyNamedRight)
{
    // Two of the five tracks and a file of another album: the two find their tracks, the third
    // and the three other tracks stay open.
    AlbumRecord partial = album({{u"05 - Finale.mp3"_s, 450}, {u"Something Else Entirely.mp3"_s, 139},
                                 {u"02 - Long Song.mp3"_s, 311}});
    const QList<PairScore> scores = pairByBestMatch(partial, evidence);
    EXPECT_EQ(pairs(partial), QStringList({u"01 - Intro = ***** Not Found *****"_s,
                                           u"02 - Long Song = 02 - Long Song.mp3"_s,
                                           u"03 - Ballad = ***** Not Found *****"_s,
                                           u"04 - Short One = ***** Not Found *****"_s,
                                           u"05 - Finale = 05 - Finale.mp3"_s,
                                           u"***** Not Found ***** = Something Else Entirely.mp3"_s}));
    EXPECT_EQ(scores.at(1), (PairScore{100, u"title 100 %, length 5:11 / 5:12, track 2"_s}));
    EXPECT_EQ(partial.rows.last().iconKey, u"TrackError"_s);

    // More files than tracks: the five find their tracks by length, the two of other lengths
    // are left over in their order.
    AlbumRecord crowded = album({{u"f.mp3"_s, 600}, {u"a.mp3"_s, 141}, {u"b.mp3"_s, 64}, {u"g.mp3"_s, 20},
                                 {u"c.mp3"_s, 449}, {u"d.mp3"_s, 312}, {u"e.mp3"_s, 242}});
    pairByBestMatch(crowded, evidence);
    EXPECT_EQ(pairs(crowded), QStringList({u"01 - Intro = b.mp3"_s, u"02 - Long Song = d.mp3"_s,
                                           u"03 - Ballad = e.mp3"_s, u"04 - Short One = a.mp3"_s,
                                           u"05 - Finale = c.mp3"_s, u"***** Not Found ***** = f.mp3"_s,
                                           u"***** Not Found ***** = g.mp3"_s}));

    // Named right and in order: best match changes nothing.
    QList<TestFile> right;
    for (int i = 0; i < Titles.size(); ++i)
        right.append({u"Artist - Album - %1 - %2.mp3"_s.arg(i + 1, 2, 10, QLatin1Char('0')).arg(Titles.at(i)),
                      Lengths.at(i)});
    AlbumRecord named = album(right);
    const QList<TrackRow> before = named.rows;
    const QList<PairScore> kept = pairByBestMatch(named, evidence);
    EXPECT_EQ(named.rows, before);
    for (const PairScore &score : kept)
        EXPECT_EQ(score.score, 100) << score.reason.toStdString();
}

TEST(Assignment, FindsTheLeastCostOnSmallMatricesLikeTryingEveryPermutation)
{
    QRandomGenerator random(25);
    for (int round = 0; round < 200; ++round) {
        const int n = 1 + int(random.bounded(6));
        std::vector<long long> cost(size_t(n * n));
        for (long long &c : cost)
            c = random.bounded(round % 2 ? 4 : 1000);
        std::vector<int> order(static_cast<size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        long long best = -1;
        do {
            long long sum = 0;
            for (int i = 0; i < n; ++i)
                sum += cost[size_t(i * n + order[size_t(i)])];
            best = best < 0 ? sum : std::min(best, sum);
        } while (std::next_permutation(order.begin(), order.end()));
        const std::vector<int> column = solveAssignment(cost, n);
        ASSERT_EQ(int(column.size()), n);
        long long sum = 0;
        std::vector<char> used(size_t(n), 0);
        for (int i = 0; i < n; ++i) {
            ASSERT_TRUE(column[size_t(i)] >= 0 && column[size_t(i)] < n);
            EXPECT_FALSE(used[size_t(column[size_t(i)])]) << "a column taken twice";
            used[size_t(column[size_t(i)])] = 1;
            sum += cost[size_t(i * n + column[size_t(i)])];
        }
        EXPECT_EQ(sum, best) << "round " << round;
    }
    // Fewer rows than columns (a dozen tracks against a folder of files): each row its own
    // column, the least sum over every choice of columns.
    for (int round = 0; round < 200; ++round) {
        const int rows = 1 + int(random.bounded(4));
        const int columns = rows + 1 + int(random.bounded(3));
        std::vector<long long> cost(size_t(rows * columns));
        for (long long &c : cost)
            c = random.bounded(round % 2 ? 4 : 1000);
        std::vector<int> order(static_cast<size_t>(columns));
        std::iota(order.begin(), order.end(), 0);
        long long best = -1;
        do {
            long long sum = 0;
            for (int i = 0; i < rows; ++i)
                sum += cost[size_t(i * columns + order[size_t(i)])];
            best = best < 0 ? sum : std::min(best, sum);
        } while (std::next_permutation(order.begin(), order.end()));
        const std::vector<int> column = solveAssignment(cost, rows, columns);
        ASSERT_EQ(int(column.size()), rows);
        long long sum = 0;
        std::vector<char> used(size_t(columns), 0);
        for (int i = 0; i < rows; ++i) {
            ASSERT_TRUE(column[size_t(i)] >= 0 && column[size_t(i)] < columns);
            EXPECT_FALSE(used[size_t(column[size_t(i)])]) << "a column taken twice";
            used[size_t(column[size_t(i)])] = 1;
            sum += cost[size_t(i * columns + column[size_t(i)])];
        }
        EXPECT_EQ(sum, best) << "rectangular round " << round;
    }
}
