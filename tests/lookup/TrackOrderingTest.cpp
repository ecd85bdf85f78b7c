// Automatic ordering: the word score, the distinguishing text, pairing by best title, the album
// score and moving files up and down.
#include "lookup/TrackOrdering.h"
#include "naming/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

int score(const QString &fileName, const QString &title, QStringList used = {})
{
    int best = 0;
    QString bestTrack;
    int points = -1;
    autoOrderScore(fileName, title, best, bestTrack, points, used);
    return points;
}

QList<TrackRow> rows(const QStringList &titles, const QStringList &files)
{
    QList<TrackRow> list;
    for (int i = 0; i < titles.size(); ++i)
        list.append(TrackRow{titles.at(i), files.at(i), u"FileIcon"_s});
    return list;
}

QStringList fileNames(const QList<TrackRow> &list)
{
    QStringList names;
    for (const TrackRow &row : list)
        names << row.fileName;
    return names;
}

} // namespace

TEST(AutoOrderScore, WordsWholeOrInsideOthers)
{
    EXPECT_EQ(score(u"01 Intro "_s, u"intro"_s), 5);
    EXPECT_EQ(score(u"01 Intro "_s, u"The Intro"_s), 15);
    EXPECT_EQ(score(u"x "_s, u"max"_s), 1);
    EXPECT_EQ(score(u"abc "_s, u"abc def"_s), 9);
    EXPECT_EQ(score(u"love song "_s, u"my love song"_s), 12 + 12);
    EXPECT_EQ(score(u"love  song "_s, u"lovesong"_s), 4 + 4) << "words found inside, the empty word scores nothing";
    EXPECT_EQ(score(u"mid x end "_s, u"a mid b"_s), 9);
    EXPECT_EQ(score(u" "_s, u"anything"_s), 0);

    int best = 10;
    QString bestTrack = u"old"_s;
    int points = 0;
    autoOrderScore(u"abc "_s, u"abc"_s, best, bestTrack, points, {});
    EXPECT_EQ(points, 3);
    EXPECT_EQ(bestTrack, u"old"_s) << "only a strictly better score replaces the best track";
    autoOrderScore(u"abc "_s, u"abc x"_s, best, bestTrack, points, {u"abc x"_s});
    EXPECT_EQ(bestTrack, u"old"_s) << "a title already taken is never chosen";
}

TEST(OrderTracks, PairsFilesByBestTitleAndScoresThePairing)
{
    // Files in the wrong order; their shared prefix "Band" is no part of the comparison (blanks stay).
    QList<TrackRow> list = rows({u"01 - Sunrise"_s, u"02 - Rain Song"_s, u"03 - Night Drive"_s},
                                {u"Band - night drive.mp3"_s, u"Band - sunrise.mp3"_s, u"Band - rain song.mp3"_s});
    EXPECT_EQ(distinguishingText(list, 0), u"   night drive"_s);
    const int before = orderTracks(list, true);
    EXPECT_EQ(fileNames(list).first(), u"Band - night drive.mp3"_s) << "scoring alone moves nothing";
    EXPECT_LT(before, 200);
    const int after = orderTracks(list, false);
    EXPECT_EQ(fileNames(list), QStringList({u"Band - sunrise.mp3"_s, u"Band - rain song.mp3"_s,
                                            u"Band - night drive.mp3"_s}));
    EXPECT_EQ(after, 1000);
    EXPECT_EQ(orderTracks(list, true), 1000);
    EXPECT_EQ(albumScoreText(after), u"Album score : 1000/1000"_s);

    // Up on the first row and Down on the last change nothing; Down swaps files, titles stay.
    EXPECT_EQ(moveTrackFile(list, 0, -1), 0);
    EXPECT_EQ(moveTrackFile(list, 2, +1), 2);
    EXPECT_EQ(moveTrackFile(list, 0, +1), 1);
    EXPECT_EQ(fileNames(list).mid(0, 2), QStringList({u"Band - rain song.mp3"_s, u"Band - sunrise.mp3"_s}));
    EXPECT_EQ(list.first().text, u"01 - Sunrise"_s);
    EXPECT_LT(orderTracks(list, true), 1000);
}

TEST(OrderTracks, TiesContestedTitlesAndNothingToScore)
{
    // Both files score best on "Blue Sky": the upper file gets it, the other its next best title.
    QList<TrackRow> contested = rows({u"01 - Blue Sky"_s, u"02 - Blue Moon"_s, u"03 - Zz"_s, u"04 - Other"_s},
                                     {u"blue sky.mp3"_s, u"sky blue.mp3"_s, u"zz.mp3"_s, u"nothing alike.mp3"_s});
    orderTracks(contested, false);
    EXPECT_EQ(fileNames(contested), QStringList({u"blue sky.mp3"_s, u"sky blue.mp3"_s, u"zz.mp3"_s,
                                                 u"***** Not Found *****"_s}))
        << "a file that matches no title is paired with none";

    // Equal scores for two titles: the upper title wins.
    QList<TrackRow> equal = rows({u"01 - Song"_s, u"02 - Song"_s}, {u"a song.mp3"_s, u"bb song.mp3"_s});
    orderTracks(equal, false);
    EXPECT_EQ(fileNames(equal).first(), u"a song.mp3"_s);

    // One file: every character is shared with itself, nothing is left to score.
    QList<TrackRow> single = rows({u"01 - Intro"_s}, {u"intro.mp3"_s});
    EXPECT_EQ(distinguishingText(single, 0), QString());
    EXPECT_EQ(orderTracks(single, true), 0);
    EXPECT_EQ(orderTracks(single, false), 0);
    QList<TrackRow> none;
    EXPECT_EQ(orderTracks(none, true), 0);
}
