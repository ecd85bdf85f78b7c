// The track-list reader on snapshots of the page shapes that hold an album's track list beside
// other lists, and on pasted lists of several shapes, hostile ones included.
#include "TrackListPages.h"
#include "lookup/TrackListReader.h"
#include "naming/QStringPrinter.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

QStringList titles(const CapturedAlbum &album)
{
    QStringList list;
    for (const CapturedAlbum::Track &t : album.tracks)
        list << t.title;
    return list;
}

QList<int> seconds(const CapturedAlbum &album)
{
    QList<int> list;
    for (const CapturedAlbum::Track &t : album.tracks)
        list << t.lengthMs / 1000;
    return list;
}

} // namespace

TEST(TrackListPage, EncyclopediaTableWithQuotedTitlesWritersAndATotalRow)
{
    TreeBuilder page(u"http://127.0.0.1/wiki/Salt_and_Cedar"_s, u"Salt and Cedar (album) - Encyclopedia"_s);
    page.open(u"DIV"_s, u"vector-menu"_s).list(u"UL"_s, {u"Main page"_s, u"Contents"_s, u"Random"_s}).close()
        .leaf(u"H1"_s, u"Salt and Cedar (album)"_s)
        .open(u"TABLE"_s, u"infobox"_s).row({u"Studio album by The Quiet Fields"_s})
        .row({u"Released"_s, u"12 May 1999"_s}).row({u"Length"_s, u"38:49"_s}).close()
        .line(u"Salt and Cedar is the second album by the band."_s)
        .leaf(u"H2"_s, u"Track listing"_s)
        .open(u"TABLE"_s, u"tracklist"_s)
        .row({u"No."_s, u"Title"_s, u"Writer(s)"_s, u"Length"_s}, u"TH"_s)
        .row({u"1."_s, u"\"Salt and Cedar\" (featuring Ana Lee)"_s, u"J. Doe"_s, u"3:49"_s})
        .row({u"2."_s, u"“Night Ferry”"_s, u"J. Doe, M. Roe"_s, u"4:05"_s})
        .row({u"3."_s, u"\"Lanterns (Reprise)\" [a]"_s, u"M. Roe"_s, u"10:02"_s})
        .row({u"4."_s, u"Open Water"_s, u"J. Doe"_s, u"20:53"_s})
        .row({u"Total length:"_s, u"38:49"_s})
        .close()
        .leaf(u"H2"_s, u"Personnel"_s).list(u"UL"_s, {u"J. Doe – vocals, guitar"_s, u"M. Roe – bass"_s, u"A. Lee – vocals on 1"_s, u"K. Moe – drums"_s})
        .leaf(u"H2"_s, u"See also"_s).list(u"UL"_s, {u"1. First album"_s, u"2. Third album"_s, u"3. Live album"_s, u"4. Box set"_s});
    const CapturedAlbum album = TrackList::readPage(page.doc(), 4);
    EXPECT_EQ(titles(album), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns (Reprise)"_s, u"Open Water"_s}));
    EXPECT_EQ(seconds(album), QList<int>({229, 245, 602, 1253}));
    EXPECT_EQ(album.artist, u"The Quiet Fields"_s);
    EXPECT_EQ(album.album, u"Salt and Cedar"_s);
    EXPECT_EQ(album.year, u"1999"_s);
}

TEST(TrackListPage, ShopPageWithVinylSidesACreditsListAndAMenuOfTheSameLength)
{
    TreeBuilder page(u"http://127.0.0.1/shop/harbour-lights"_s, u"Harbour Lights | Record Shop"_s);
    page.open(u"UL"_s, u"main-menu"_s).leaf(u"LI"_s, u"Vinyl"_s).leaf(u"LI"_s, u"CDs"_s).leaf(u"LI"_s, u"Merch"_s)
        .leaf(u"LI"_s, u"Contact"_s).close()
        .leaf(u"H1"_s, u"The Quiet Fields – Harbour Lights"_s)
        .line(u"Label: Tidewater Records"_s).line(u"Released: 3 March 2003"_s)
        .open(u"DIV"_s).list(u"UL"_s, {u"A1\tSalt and Cedar (Demo)\t3:49"_s, u"A2 Night Ferry 4:05"_s,
                                      u"B1 Lanterns – 5:10"_s, u"B2 ‘Don’t Wake the Sea’ (bonus) 2:58"_s})
        .close()
        .leaf(u"H3"_s, u"Credits"_s)
        .list(u"UL"_s, {u"Bass – M. Roe"_s, u"Written-By – J. Doe"_s, u"Mastered By – K. Moe"_s, u"Artwork – A. Lee"_s});
    const CapturedAlbum album = TrackList::readPage(page.doc(), 4);
    EXPECT_EQ(titles(album), QStringList({u"Salt and Cedar (Demo)"_s, u"Night Ferry"_s, u"Lanterns"_s,
                                          u"Don’t Wake the Sea"_s}));
    EXPECT_EQ(seconds(album), QList<int>({229, 245, 310, 178}));
    EXPECT_EQ(album.artist, u"The Quiet Fields"_s);
    EXPECT_EQ(album.album, u"Harbour Lights"_s);
    EXPECT_EQ(album.year, u"2003"_s);
}

TEST(TrackListPage, ArtistShopTableWithLengthsInsideTheTitleCell)
{
    TreeBuilder page(u"http://127.0.0.1/store/album"_s, u"Harbour Lights"_s);
    page.leaf(u"H1"_s, u"Harbour Lights"_s).line(u"by The Quiet Fields"_s)
        .open(u"TABLE"_s, u"track_table"_s)
        .row({u"▶"_s, u"1"_s, u"Salt and Cedar 03:49"_s, u"Buy"_s})
        .row({u"▶"_s, u"2"_s, u"Night Ferry (4:05)"_s, u"Buy"_s})
        .row({u"▶"_s, u"3"_s, u"Lanterns 1:02:03"_s, u"Buy"_s})
        .close()
        .list(u"UL"_s, {u"Home"_s, u"Music"_s, u"Community"_s});
    const CapturedAlbum album = TrackList::readPage(page.doc(), 3);
    EXPECT_EQ(titles(album), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns"_s}));
    EXPECT_EQ(seconds(album), QList<int>({229, 245, 3723}));
    EXPECT_EQ(album.artist, u"The Quiet Fields"_s);
    EXPECT_EQ(album.album, u"Harbour Lights"_s);
}

TEST(TrackListPage, ArticleWhoseNavigationAndRelatedItemsStandBesideTheTrackList)
{
    // The track list is an unmarked ordered list; navigation and related items have as many
    // entries as there are files, are links, and one is even numbered.
    TreeBuilder page(u"http://127.0.0.1/review"_s, u"Review: Harbour Lights"_s);
    page.open(u"NAV"_s).list(u"UL"_s, {u"News"_s, u"Reviews"_s, u"Interviews"_s, u"Features"_s, u"Shop"_s}).close()
        .open(u"DIV"_s, u"topnav"_s).list(u"OL"_s, {u"Home"_s, u"Albums"_s, u"Singles"_s, u"Tours"_s, u"About"_s}).close()
        .leaf(u"H1"_s, u"Review: Harbour Lights"_s)
        .line(u"The band's fourth record is their quietest yet."_s)
        .list(u"OL"_s, {u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns"_s, u"Open Water"_s})
        .line(u"Rating: 8/10"_s)
        .leaf(u"H3"_s, u"You may also like"_s)
        .list(u"OL"_s, {u"1. Other Band – Low Tide (2:10)"_s, u"2. Another – Dunes"_s, u"3. Third – Pines"_s,
                        u"4. Fourth – Gulls"_s, u"5. Fifth – Kelp"_s})
        .open(u"DIV"_s, u"related-items"_s).list(u"UL"_s, {u"01 Low Tide 3:10"_s, u"02 Dunes 3:20"_s}).close();
    const CapturedAlbum album = TrackList::readPage(page.doc(), 5);
    EXPECT_EQ(titles(album), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns"_s, u"Open Water"_s}));

    // A page with menus only has no track list.
    TreeBuilder menus;
    menus.open(u"NAV"_s).list(u"OL"_s, {u"1. Home"_s, u"2. Shop"_s, u"3. About"_s}).close()
        .list(u"UL"_s, {u"Terms"_s, u"Privacy"_s, u"Cookies"_s});
    EXPECT_TRUE(TrackList::readPage(menus.doc(), 3).tracks.isEmpty());
}

TEST(TrackListPage, TwoDiscPageListsEveryDiscInOrder)
{
    TreeBuilder tables(u"http://127.0.0.1/deluxe"_s);
    tables.leaf(u"H1"_s, u"The Quiet Fields - Harbour Lights (Deluxe)"_s).leaf(u"H2"_s, u"Track listing"_s)
        .leaf(u"H3"_s, u"Disc 1"_s)
        .open(u"TABLE"_s).row({u"1."_s, u"Salt and Cedar"_s, u"3:49"_s}).row({u"2."_s, u"Night Ferry"_s, u"4:05"_s}).close()
        .leaf(u"H3"_s, u"Disc 2"_s)
        .open(u"TABLE"_s).row({u"1."_s, u"Lanterns (Live)"_s, u"5:10"_s}).row({u"2."_s, u"Open Water (Live)"_s, u"6:00"_s})
        .row({u"3."_s, u"Salt and Cedar (Demo)"_s, u"3:30"_s}).close()
        .leaf(u"H2"_s, u"Charts"_s)
        .open(u"TABLE"_s).row({u"1."_s, u"Country A"_s, u"12"_s}).row({u"2."_s, u"Country B"_s, u"40"_s}).close();
    const CapturedAlbum album = TrackList::readPage(tables.doc(), 5);
    EXPECT_EQ(titles(album), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns (Live)"_s,
                                          u"Open Water (Live)"_s, u"Salt and Cedar (Demo)"_s}));
    EXPECT_EQ(album.album, u"Harbour Lights (Deluxe)"_s);

    // The same release written as lines of text with disc headings between the groups.
    TreeBuilder text(u"http://127.0.0.1/deluxe-text"_s);
    text.leaf(u"H1"_s, u"Harbour Lights"_s).line(u"CD 1"_s).line(u"1-01 Salt and Cedar 3:49"_s)
        .line(u"1-02 Night Ferry 4:05"_s).line(u"CD 2"_s).line(u"CD2-01 Lanterns (Live) 5:10"_s)
        .line(u"CD2-02 Open Water (Live) 6:00"_s).line(u"Total: 19:04"_s).line(u"Add to basket"_s);
    const CapturedAlbum fromText = TrackList::readPage(text.doc(), 0);
    EXPECT_EQ(titles(fromText), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns (Live)"_s,
                                             u"Open Water (Live)"_s}));
}

TEST(TrackListText, PastedListsOfSeveralShapes)
{
    // Numbered, with the album's line, a header, disc headings, quotes and a total.
    const CapturedAlbum numbered = TrackList::readText(
        u"The Quiet Fields - Harbour Lights (2003)\n"
        "No. Title Writer(s) Length\n"
        "Disc 1\n"
        "1. \"Salt and Cedar\" (J. Doe) – 3:49\n"
        "02 - Night Ferry (4:05)\n"
        "3) Lanterns 1:02:03\n"
        "Side B\n"
        "#4 “Open Water” – with strings\n"
        "1-05 Salt and Cedar (Demo)\n"
        "A6. Gulls\n"
        "CD2-07 1979\n"
        "Total length: 1:12:49\n"_s);
    EXPECT_EQ(titles(numbered), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns"_s, u"Open Water"_s,
                                             u"Salt and Cedar (Demo)"_s, u"Gulls"_s, u"1979"_s}));
    EXPECT_EQ(seconds(numbered), QList<int>({229, 245, 3723, 0, 0, 0, 0}));
    EXPECT_EQ(numbered.artist, u"The Quiet Fields"_s);
    EXPECT_EQ(numbered.album, u"Harbour Lights"_s);
    EXPECT_EQ(numbered.year, u"2003"_s);

    // One title a line, no numbers; blank lines and CR LF ends.
    const CapturedAlbum plain = TrackList::readText(u"Salt and Cedar\r\n\r\nNight Ferry 4:05\r\nTime\r\n'Til Dawn\r\n"_s);
    EXPECT_EQ(titles(plain), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Time"_s, u"'Til Dawn"_s}));
    EXPECT_TRUE(plain.artist.isEmpty());

    // Copied from a table: tab-separated cells, the header naming the title's column.
    const CapturedAlbum copied = TrackList::readText(
        u"#\tWriter\tTitle\tTime\n1\tJ. Doe\tSalt and Cedar\t3:49\n2\tM. Roe\tNight Ferry\t4:05\n"_s);
    EXPECT_EQ(titles(copied), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s}));
    EXPECT_EQ(seconds(copied), QList<int>({229, 245}));

    EXPECT_TRUE(TrackList::readText(u"\n  \nTotal length: 38:49\nDisc 1\n"_s).tracks.isEmpty());
}

TEST(TrackListText, HostileTextIsBoundedAndCleaned)
{
    // Control characters, bidi and zero-width marks, a byte order mark.
    const CapturedAlbum marks = TrackList::readText(
        u"\uFEFF1. \u202ESalt\u200B and\u0007Cedar\u202C\n2.\u00A0Night\u0000Ferry\n"_s);
    EXPECT_EQ(titles(marks), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s}));

    // Invalid UTF-8 is read as Latin-1, valid UTF-8 as UTF-8.
    EXPECT_EQ(TrackList::textFromBytes("Caf\xe9 Noir"), u"Café Noir"_s);
    EXPECT_EQ(TrackList::textFromBytes("Caf\xc3\xa9 Noir"), u"Café Noir"_s);

    // 100,000 lines: 999 tracks and a note; a single 10 MB line: one bounded title.
    QString many;
    for (int i = 1; i <= 100000; ++i)
        many += u"%1. Track %1\n"_s.arg(i % 1000);
    QElapsedTimer timer;
    timer.start();
    const CapturedAlbum capped = TrackList::readText(many);
    EXPECT_EQ(capped.tracks.size(), TrackList::MaxTracks);
    EXPECT_EQ(capped.notes.size(), 1);
    const CapturedAlbum huge = TrackList::readText(u"1. "_s + QString(10 * 1024 * 1024, u'x'));
    ASSERT_EQ(huge.tracks.size(), 1);
    EXPECT_EQ(huge.tracks.first().title.size(), TrackList::MaxValueLength);
    EXPECT_FALSE(huge.notes.isEmpty());
    EXPECT_LT(timer.elapsed(), 20000) << "hostile text must not make the reader crawl";
}

TEST(TrackListRecord, CaptureFillsTheRecordAsASiteReaderDoes)
{
    LookupContext lookup;
    lookup.search.directory = u"/music/The Quiet Fields - Harbour Lights [2003]/"_s;
    lookup.files.fileNames = {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s};
    lookup.files.selected = {true, false, false};
    lookup.record.rows.append(TrackRow{u"01 - Left over"_s, u"x.mp3"_s, u"FileIcon"_s});

    CapturedAlbum none;
    EXPECT_FALSE(TrackList::fillRecord(none, lookup, u"http://127.0.0.1/x"_s));
    EXPECT_EQ(lookup.record.rows.size(), 1) << "nothing found leaves the record as it was";

    const CapturedAlbum album = TrackList::readText(u"1. Salt and Cedar 3:49\n2. Night Ferry\n"_s);
    ASSERT_TRUE(TrackList::fillRecord(album, lookup, u"http://127.0.0.1/x"_s));
    const AlbumRecord &r = lookup.record;
    // No album line in the text: the folder's search text names artist and album.
    EXPECT_EQ(r.artist, u"The Quiet Fields"_s);
    EXPECT_EQ(r.album, u"Harbour Lights"_s);
    ASSERT_EQ(r.rows.size(), 3);
    EXPECT_EQ(r.rows.at(0), (TrackRow{u"01 - Salt and Cedar"_s, u"a.mp3"_s, u"FileIcon"_s, 229000}));
    EXPECT_EQ(r.rows.at(1), (TrackRow{u"02 - Night Ferry"_s, u"b.mp3"_s, u"FileIcon"_s, 0}));
    EXPECT_EQ(r.rows.at(2), (TrackRow{u"***** Not Found *****"_s, u"c.mp3"_s, u"TrackError"_s, 0}));
    EXPECT_EQ(lookup.lastResultUrl, u"http://127.0.0.1/x"_s);

    // A list of file names, each line naming the album's artist first: the titles alone.
    ASSERT_TRUE(TrackList::fillRecord(TrackList::readText(u"01 - The Quiet Fields - Salt and Cedar.mp3\n"
                                                          "02 - the quiet fields - Night Ferry.FLAC\n"_s),
                                      lookup, QString()));
    EXPECT_EQ(lookup.record.rows.at(0).text, u"01 - Salt and Cedar"_s);
    EXPECT_EQ(lookup.record.rows.at(1).text, u"02 - Night Ferry"_s);
    // A shared first part that is not the artist stays ("Suite - Part 1").
    ASSERT_TRUE(TrackList::fillRecord(TrackList::readText(u"1. Suite - Part 1\n2. Suite - Part 2\n"_s), lookup, QString()));
    EXPECT_EQ(lookup.record.rows.at(0).text, u"01 - Suite - Part 1"_s);
}

TEST(TrackListPage, TwoDiscShopPageOutweighsALongerListOfRelatedProducts)
{
    // Each disc is shorter than the numbered list of related products; together they are the
    // release, nearest the number of files.
    TreeBuilder page(u"http://127.0.0.1/dp/B000"_s, u"Harbour Lights (Deluxe Edition): Music"_s);
    page.open(u"DIV"_s, u"nav-belt"_s).list(u"UL"_s, {u"All"_s, u"Deals"_s, u"Service"_s}).close()
        .leaf(u"H1"_s, u"Harbour Lights (Deluxe Edition)"_s)
        .list(u"UL"_s, {u"Label : Tidewater"_s, u"Original Release Date : 2003"_s, u"Number of Discs : 2"_s})
        .leaf(u"H2"_s, u"Track Listings"_s)
        .leaf(u"H3"_s, u"Disc: 1"_s)
        .open(u"TABLE"_s).row({u"1"_s, u"Salt and Cedar"_s}).row({u"2"_s, u"Night Ferry"_s}).row({u"3"_s, u"Lanterns"_s})
        .row({u"4"_s, u"Open Water"_s}).close()
        .leaf(u"H3"_s, u"Disc: 2"_s)
        .open(u"TABLE"_s).row({u"1"_s, u"Salt and Cedar (Demo)"_s}).row({u"2"_s, u"Night Ferry (Live)"_s})
        .row({u"3"_s, u"Gulls"_s}).close()
        .leaf(u"H2"_s, u"Products related to this item"_s)
        .list(u"OL"_s, {u"1. Low Tide"_s, u"2. Dunes"_s, u"3. Pines"_s, u"4. Gulls"_s, u"5. Kelp"_s, u"6. Reef"_s, u"7. Cove"_s});
    const CapturedAlbum album = TrackList::readPage(page.doc(), 8);
    EXPECT_EQ(titles(album), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns"_s, u"Open Water"_s,
                                          u"Salt and Cedar (Demo)"_s, u"Night Ferry (Live)"_s, u"Gulls"_s}));
    EXPECT_EQ(album.album, u"Harbour Lights (Deluxe Edition)"_s);
    EXPECT_EQ(album.year, u"2003"_s);
}

TEST(TrackListPage, ReviewPostAndPlayerPageWithEachTrackOverSeveralLines)
{
    // The list is a paragraph of numbered lines; the heading carries a "review" label.
    TreeBuilder review(u"http://127.0.0.1/blog/harbour"_s, u"Album review: The Quiet Fields – Harbour Lights | Blog"_s);
    review.open(u"UL"_s, u"menu-main"_s).leaf(u"LI"_s, u"Home"_s).leaf(u"LI"_s, u"Reviews"_s).close()
        .leaf(u"H1"_s, u"Album review: The Quiet Fields – Harbour Lights"_s)
        .line(u"Here is the running order:"_s)
        .line(u"1. Salt and Cedar (3:49)"_s).line(u"2. Night Ferry (4:05)"_s).line(u"3. Lanterns (5:10)"_s)
        .line(u"Rating: 9/10"_s)
        .leaf(u"H3"_s, u"Popular posts"_s).list(u"OL"_s, {u"1. Ten best records"_s, u"2. Interview"_s});
    const CapturedAlbum post = TrackList::readPage(review.doc(), 3);
    EXPECT_EQ(titles(post), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns"_s}));
    EXPECT_EQ(post.artist, u"The Quiet Fields"_s);
    EXPECT_EQ(post.album, u"Harbour Lights"_s);

    // Without a main heading the page's title names the album, label and site name left out.
    TreeBuilder untitled(u"http://127.0.0.1/blog/harbour-2"_s, u"Album review: The Quiet Fields – Harbour Lights | Blog"_s);
    untitled.line(u"1. Salt and Cedar (3:49)"_s).line(u"2. Night Ferry (4:05)"_s);
    const CapturedAlbum fromTitle = TrackList::readPage(untitled.doc(), 2);
    EXPECT_EQ(titles(fromTitle), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s}));
    EXPECT_EQ(fromTitle.artist, u"The Quiet Fields"_s);
    EXPECT_EQ(fromTitle.album, u"Harbour Lights"_s);

    // A player's grid of blocks: number, title, artist and length each on a line of their own.
    TreeBuilder player(u"http://127.0.0.1/album/1"_s, u"Harbour Lights - Album by The Quiet Fields"_s);
    player.leaf(u"H1"_s, u"Harbour Lights"_s).line(u"The Quiet Fields • 2003 • 3 songs"_s)
        .line(u"#"_s).line(u"Title"_s).line(u"Duration"_s);
    for (const auto &[n, title, length] : {std::tuple{u"1"_s, u"Salt and Cedar"_s, u"3:49"_s},
                                           std::tuple{u"2"_s, u"7 Seconds"_s, u"4:05"_s},
                                           std::tuple{u"3"_s, u"Lanterns"_s, u"5:10"_s}})
        player.line(n).line(title).line(u"The Quiet Fields"_s).line(length);
    player.line(u"3 March 2003"_s).line(u"© 2003 Tidewater"_s);
    const CapturedAlbum grid = TrackList::readPage(player.doc(), 3);
    EXPECT_EQ(titles(grid), QStringList({u"Salt and Cedar"_s, u"7 Seconds"_s, u"Lanterns"_s}));
    EXPECT_EQ(seconds(grid), QList<int>({229, 245, 310}));
}

TEST(TrackListText, PastedListsCopiedFromPlayersAndTypedByHand)
{
    // Copied from a player: each track over several lines, the artist among them.
    const CapturedAlbum stacked = TrackList::readText(
        u"1\nSalt and Cedar\nThe Quiet Fields\n3:49\n2\nNight Ferry\nThe Quiet Fields, Ana Lee\n4:05\n"
        "3\n1979\nThe Quiet Fields\n5:10\n"_s);
    EXPECT_EQ(titles(stacked), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"1979"_s}));
    EXPECT_EQ(seconds(stacked), QList<int>({229, 245, 310}));

    // "Track 1:" numbers, a "Tracklist:" label, disc headings written "Disc: 1" and "CD 2 of 2".
    const CapturedAlbum labelled = TrackList::readText(
        u"Tracklist:\nDisc: 1\nTrack 1: Salt and Cedar\nTrack 2: Night Ferry\nCD 2 of 2\nTrack 3: Lanterns\n"_s);
    EXPECT_EQ(titles(labelled), QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s, u"Lanterns"_s}));
    EXPECT_TRUE(labelled.album.isEmpty()) << "a label line names no album";

    // Bare two-digit numbers.
    EXPECT_EQ(titles(TrackList::readText(u"01 Salt and Cedar\n02 Night Ferry 4:05\n"_s)),
              QStringList({u"Salt and Cedar"_s, u"Night Ferry"_s}));

    // Unnumbered titles that start with digits keep them.
    const CapturedAlbum plain =
        TrackList::readText(u"Salt and Cedar - 3:49\n99 Red Boats - 3:50\n7 Seconds\nLanterns\nGulls\n"_s);
    EXPECT_EQ(titles(plain), QStringList({u"Salt and Cedar"_s, u"99 Red Boats"_s, u"7 Seconds"_s, u"Lanterns"_s, u"Gulls"_s}));
    EXPECT_EQ(seconds(plain), QList<int>({229, 230, 0, 0, 0}));
}
