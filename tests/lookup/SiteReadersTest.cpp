// The three page readers and their fillers on hand-made pages that carry exactly the sites'
// marks, and on pages that nearly do.
#include "PageBuilder.h"
#include "support/RawSettings.h"
#include "lookup/LookupStates.h"
#include "naming/QStringPrinter.h"
#include "foundation/Settings.h"
#include "support/TestEnv.h"

using namespace Qt::StringLiterals;

namespace {

QStringList rowTexts(const AlbumRecord &record)
{
    QStringList texts;
    for (const TrackRow &row : record.rows)
        texts << row.text + u'|' + row.fileName;
    return texts;
}

WorkingList files(int count)
{
    WorkingList list;
    for (int i = 1; i <= count; ++i)
        list.fileNames << u"f%1.mp3"_s.arg(i);
    return list;
}

const QString Freedb = u"http://www.freedb.org/freedb/rock/1234"_s;

} // namespace

TEST(FreedbReader, SearchPageIsFilledOnceThenTheAlbumPageIsRead)
{
    LookupContext lookup;
    lookup.search.directory = u"/music/Some Artist - Some Album [2001]/"_s;
    PageBuilder search(u"http://www.freedb.org/"_s);
    search.field(u"INPUT"_s, u"<INPUT name=words>"_s, true)
        .field(u"INPUT"_s, u"<INPUT type=hidden name=words>"_s, false)
        .field(u"INPUT"_s, u"<INPUT name=words2 type=text>"_s, true)
        .field(u"INPUT"_s, u"<INPUT type=image src=go.gif>"_s)
        .field(u"INPUT"_s, u"<INPUT type=image src=other.gif>"_s);
    pollTick(search.doc(), lookup);
    // Every text field whose outer HTML names "words" is filled; the first image button is clicked.
    ASSERT_EQ(lookup.actions.size(), 3);
    EXPECT_EQ(lookup.actions.at(0), ElementAction::setAttribute(search.doc(), 0, u"value"_s, u"Some Artist - Some Album"_s));
    EXPECT_EQ(lookup.actions.at(1).element, 2);
    EXPECT_EQ(lookup.actions.at(2), ElementAction::click(search.doc(), 3));
    EXPECT_TRUE(lookup.state.freedbSearchSent);
    pollTick(search.doc(), lookup);
    EXPECT_TRUE(lookup.actions.isEmpty()) << "the search is submitted once per visit";

    // A result page links to album pages but not yet to the GNU project: not read.
    navigationCompleted(lookup, Freedb);
    PageBuilder results(Freedb);
    results.link(u"http://www.freedb.org/freedb/rock/1234"_s, u"Some Album"_s).element(u"H2"_s, u"A / B"_s)
        .element(u"B"_s, u"Not a track"_s).body(u"genre: Rock\r\n"_s);
    EXPECT_FALSE(pollTick(results.doc(), lookup));
    EXPECT_EQ(lookup.state.timerInterval, 100);

    // The album page: read as soon as its foot link is there, although the page is not reported complete.
    PageBuilder album(Freedb);
    album.element(u"B"_s, u"Bold before the heading"_s).element(u"H2"_s, u" Some Artist / Some / Album "_s)
        .element(u"H2"_s, u"Second heading"_s);
    for (int i = 1; i <= 12; ++i)
        album.element(u"B"_s, u"Title %1"_s.arg(i));
    album.link(u"http://www.freedb.org/freedb/misc/99"_s).link(u"http://www.gnu.org/"_s)
        .body(u"Genre:  Electronica \r\nYEAR: 1999\r\nyear: 2000\r\n"_s);
    lookup.files = files(10);
    EXPECT_TRUE(pollTick(album.doc(), lookup));
    EXPECT_EQ(lookup.state.timerInterval, 0);
    const AlbumRecord &r = lookup.record;
    EXPECT_EQ(r.artist, u"Some Artist"_s);
    EXPECT_EQ(r.album, u"Some / Album"_s);
    EXPECT_EQ(r.genre, u"Electronic"_s);
    EXPECT_EQ(r.year, u"1999"_s);
    ASSERT_EQ(r.rows.size(), 12);
    EXPECT_EQ(rowTexts(r).mid(0, 1), QStringList{u"01 - Title 1|f1.mp3"_s});
    EXPECT_EQ(rowTexts(r).mid(8, 4), QStringList({u"09 - Title 9|f9.mp3"_s, u"10 - Title 10|f10.mp3"_s,
                                                  u"11 - Title 11|***** Not Found *****"_s,
                                                  u"12 - Title 12|***** Not Found *****"_s}));
    EXPECT_EQ(lookup.lastResultUrl, Freedb);
}

TEST(FreedbReader, PageWithoutItsMarksOrLabelsYieldsNothingOrEmptyValues)
{
    LookupContext lookup;
    // The GNU link but no album link of the freedb domain: not an album page.
    PageBuilder noAlbumLink(Freedb);
    noAlbumLink.element(u"H2"_s, u"A / B"_s).element(u"B"_s, u"T"_s).link(u"http://www.gnu.org/"_s)
        .link(u"http://other.org/freedb/x"_s);
    EXPECT_FALSE(pollTick(noAlbumLink.doc(), lookup));
    EXPECT_TRUE(lookup.state.pageLoaded);
    EXPECT_EQ(lookup.state.timerInterval, 100);

    // Labels without a line end after them, a heading without "/": empty genre and year, the
    // whole heading is the album. The site's domain comes from the settings' table.
    lookup.sites.sites[3].domain = u"127.0.0.1:8001"_s;
    PageBuilder album(u"http://127.0.0.1:8001/x"_s);
    album.element(u"H2"_s, u"  Lonely Album "_s).element(u"B"_s, u"One"_s)
        .link(u"http://127.0.0.1:8001/freedb/rock/1"_s).body(u"genre: Rock"_s);
    EXPECT_TRUE(pollTick(album.doc(), lookup));
    EXPECT_EQ(lookup.record.artist, QString());
    EXPECT_EQ(lookup.record.album, u"Lonely Album"_s);
    EXPECT_EQ(lookup.record.genre, QString());
    EXPECT_EQ(lookup.record.year, QString());
    EXPECT_TRUE(lookup.record.notes.isEmpty());

    // A snapshot cut short says so in the record.
    LookupContext cut;
    cut.sites = lookup.sites;
    cut.state.pageLoaded = true;
    HtmlDocument truncated = album.doc();
    truncated.truncated = true;
    EXPECT_TRUE(pollTick(truncated, cut));
    EXPECT_EQ(cut.record.notes.size(), 1);
}

TEST(GracenoteReader, TrackLinksArtistDiscAndTheSearch)
{
    LookupContext lookup;
    lookup.search = {u"/music/Folder Name_2/"_s, u"Tag Artist"_s, {}};
    PageBuilder search(u"http://www.cddb.com/"_s);
    search.field(u"INPUT"_s, u"<INPUT type=submit value=Go>"_s).field(u"INPUT"_s, u"<INPUT name=q>"_s, true)
        .field(u"INPUT"_s, u"<INPUT name=q>"_s, false).field(u"INPUT"_s, u"<INPUT type=submit>"_s);
    pollTick(search.doc(), lookup);
    EXPECT_EQ(lookup.actions, ElementActions({ElementAction::setAttribute(search.doc(), 1, u"value"_s, u"Tag Artist - "_s),
                                              ElementAction::click(search.doc(), 0), ElementAction::click(search.doc(), 3)}));
    EXPECT_TRUE(lookup.state.gracenoteSearchSent);

    // A page with submit controls but no field: clicked at every poll until a field is found.
    LookupContext other;
    other.search.directory = u"/music/Folder Name_2/"_s;
    PageBuilder noField(u"http://www.gracenote.com/x"_s);
    noField.field(u"INPUT"_s, u"<INPUT type=submit>"_s);
    pollTick(noField.doc(), other);
    pollTick(noField.doc(), other);
    EXPECT_EQ(other.actions.size(), 1);
    EXPECT_FALSE(other.state.gracenoteSearchSent);
    EXPECT_EQ(gracenoteSearchText(other.search), u"Folder Name 2"_s);

    PageBuilder album(u"http://www.gracenote.com/music/album"_s);
    album.link(u"x?q=1&f=track"_s, u"Before the icon"_s)
        .link(u"x?A=1&F=ARTIST"_s, u"The Artist"_s).link(u"x?n=9&f=artist"_s, u"Second Artist"_s)
        .link(u"x?id=2&f=disc"_s, u"The Disc"_s)
        .link(u"x?n=2&F=Track"_s, u"Second"_s).link(u"x?n=3&f=track&x=1"_s, u"Not a track"_s)
        .link(u"x?n=4&f=track#"_s, u"Third"_s);
    EXPECT_FALSE(pollTick(album.doc(), lookup)) << "no completion image yet";
    album.image(u"http://www.gracenote.com/grx/icon_u.gif"_s);
    lookup.files = files(2);
    EXPECT_TRUE(pollTick(album.doc(), lookup));
    EXPECT_EQ(lookup.record.artist, u"The Artist"_s);
    EXPECT_EQ(lookup.record.album, u"The Disc"_s);
    EXPECT_EQ(lookup.record.genre, QString());
    EXPECT_EQ(rowTexts(lookup.record), QStringList({u"01 - Before the icon|f1.mp3"_s, u"02 - Second|f2.mp3"_s,
                                                   u"03 - Third|***** Not Found *****"_s}));
}

TEST(AmgReader, LabelsYearCoverTracksAndSearchButtons)
{
    LookupContext lookup;
    lookup.search.directory = u"/music/Artist - The Album/"_s;
    PageBuilder search(u"https://www.allmusic.com/"_s);
    search.field(u"INPUT"_s, u"<INPUT name=sql>"_s, true)
        .field(u"INPUT"_s, u"<INPUT type=radio id=buttons value=1>"_s, false, u"buttons"_s, u"1"_s)
        .field(u"INPUT"_s, u"<INPUT type=radio id=buttons value=2>"_s, false, u"buttons"_s, u" 2 "_s)
        .field(u"INPUT"_s, u"<INPUT type=image>"_s);
    pollTick(search.doc(), lookup);
    EXPECT_EQ(lookup.actions, ElementActions({ElementAction::setAttribute(search.doc(), 0, u"value"_s, u"The Album"_s),
                                              ElementAction::click(search.doc(), 2), ElementAction::click(search.doc(), 3)}));
    EXPECT_TRUE(lookup.state.amgSearchSent);

    const auto albumPage = [](bool coverPaired) {
        PageBuilder page(u"https://www.allmusic.com/cg/amg.dll?p=amg&sql=10:1"_s);
        page.image(u"https://www.allmusic.com/img/zline.gif"_s)
            .image(u"https://cover.allmusic.com/amg/cov200/drc100/c123.jpg"_s)
            .image(coverPaired ? u"https://www.allmusic.com/img/htrk1.gif"_s : u"https://www.allmusic.com/img/other.gif"_s)
            .image(u"https://www.allmusic.com/img/htrk1.gif"_s)
            .link(u"amg.dll?p=amg&sql=3:100"_s, u"Track One"_s).link(u"amg.dll?P=AMG&SQL=3:100#TOP"_s, u"Top"_s)
            .link(u"amg.dll?p=amg&sql=11:9"_s, u"Artist link"_s).link(u"amg.dll?p=amg&sql=3:101"_s, u"Track Two"_s)
            .body(u"Artist  The Artist \r\nALBUM TITLE The Album\r\nGenre Electronica\r\n"
                  u"Date of Release Mar 14, 1995\r\n"_s);
        return page;
    };
    EXPECT_TRUE(pollTick(albumPage(true).doc(), lookup));
    const AlbumRecord &r = lookup.record;
    EXPECT_EQ(r.artist, u"The Artist"_s);
    EXPECT_EQ(r.album, u"The Album"_s);
    EXPECT_EQ(r.genre, u"Electronic"_s);
    EXPECT_EQ(r.year, u"1995"_s);
    EXPECT_EQ(r.coverUrl, u"https://cover.allmusic.com/amg/cov200/drc100/c123.jpg"_s);
    EXPECT_EQ(rowTexts(r), QStringList({u"01 - Track One|***** Not Found *****"_s, u"02 - Track Two|***** Not Found *****"_s}));

    LookupContext unpaired;
    EXPECT_TRUE(pollTick(albumPage(false).doc(), unpaired));
    EXPECT_EQ(unpaired.record.coverUrl, QString()) << "the cover must be directly followed by the track image";

    EXPECT_EQ(amgReleaseYear(u"Mar 14, 1995"_s), u"1995"_s);
    EXPECT_EQ(amgReleaseYear(u"1989 (reissued 2001)"_s), u"1989"_s);
    EXPECT_EQ(amgReleaseYear(u"2002"_s), u"2002"_s);
    EXPECT_EQ(amgReleaseYear(u"199?"_s), QString());
    EXPECT_EQ(amgReleaseYear(u"March"_s), u"March"_s);
    EXPECT_EQ(amgReleaseYear(u"c. 199x, 1997"_s), u"1997"_s);
    EXPECT_EQ(amgReleaseYear(QString()), QString());
}

TEST(AddFoundTrack, PairingNumbersAndHostileValues)
{
    AlbumRecord record;
    WorkingList list = files(8);
    list.onlySelected = true;
    list.selected = {false, true, false, false, true, false, true, false};
    QString genre = u"electronica"_s;
    for (int n = 1; n <= 4; ++n)
        addFoundTrack(record, list, n, u"T%1"_s.arg(n), u"A"_s, u"B"_s, genre, u"2000"_s);
    // Named as the other sites' "Electronica" is, whatever the letter case.
    EXPECT_EQ(genre, u"Electronic"_s);
    EXPECT_EQ(record.genre, u"Electronic"_s);
    EXPECT_EQ(rowTexts(record), QStringList({u"01 - T1|f2.mp3"_s, u"02 - T2|f5.mp3"_s, u"03 - T3|f7.mp3"_s,
                                            u"04 - T4|***** Not Found *****"_s}));
    EXPECT_EQ(trackNumberText(9), u"09"_s);
    EXPECT_EQ(trackNumberText(100), u"100"_s);

    // Started from neither list page: nothing is paired.
    AlbumRecord unpaired;
    list.activePage = 2;
    addFoundTrack(unpaired, list, 1, u"T"_s, {}, {}, genre, {});
    EXPECT_EQ(unpaired.rows.first().fileName, QString());

    // A hostile page: control characters, thousands of characters, thousands of tracks.
    AlbumRecord hostile;
    const WorkingList none = files(0);
    QString noGenre;
    const QString huge(5000, u'x');
    int added = 0;
    for (int n = 1; n <= 10000; ++n)
        added += addFoundTrack(hostile, none, n, n == 1 ? u"Line\none\tand ../.."_s : huge, huge, u"../../etc"_s,
                               noGenre, {}) ? 1 : 0;
    EXPECT_EQ(added, AlbumRecord::MaxTracks);
    EXPECT_EQ(hostile.rows.size(), 999);
    EXPECT_EQ(hostile.rows.first().text, u"01 - Line one and ../.."_s);
    EXPECT_EQ(hostile.rows.last().text.size(), 6 + 1000);
    EXPECT_EQ(hostile.artist.size(), 1000);
    EXPECT_EQ(hostile.album, u"../../etc"_s) << "path characters are the naming rules' to clean";
    EXPECT_EQ(hostile.notes.size(), 2);
}

TEST(LookupStates, NotFoundRowsNavigationAndSiteTable)
{
    LookupContext lookup;
    lookup.files = files(10);
    QString genre;
    for (int n = 1; n <= 8; ++n)
        addFoundTrack(lookup.record, lookup.files, n, u"T"_s, {}, {}, genre, {});
    finishRecord(lookup, u"x"_s);
    ASSERT_EQ(lookup.record.rows.size(), 10);
    EXPECT_EQ(lookup.record.rows.at(8), (TrackRow{u"***** Not Found *****"_s, u"f9.mp3"_s, u"TrackError"_s}));
    EXPECT_EQ(lookup.record.rows.at(9).fileName, u"f10.mp3"_s);

    AlbumRecord two;
    WorkingList selected = files(8);
    selected.onlySelected = true;
    selected.selected = {true, false, true, false, true, false, true, false};
    addFoundTrack(two, selected, 1, u"T"_s, {}, {}, genre, {});
    addFoundTrack(two, selected, 2, u"T"_s, {}, {}, genre, {});
    addNotFoundRows(two, selected);
    EXPECT_EQ(rowTexts(two), QStringList({u"01 - T|f1.mp3"_s, u"02 - T|f3.mp3"_s,
                                         u"***** Not Found *****|f5.mp3"_s, u"***** Not Found *****|f7.mp3"_s}));

    // Advertising frames and foreign pages leave the state alone; a site page restarts the timer.
    LookupContext nav;
    nav.state = {.pageLoaded = true, .timerInterval = 0};
    navigationCompleted(nav, u"http://ad.doubleclick.net/www.freedb.org"_s);
    navigationCompleted(nav, u"http://example.com/"_s);
    EXPECT_TRUE(nav.state.pageLoaded);
    EXPECT_EQ(nav.state.timerInterval, 0);
    navigationCompleted(nav, u"http://WWW.FREEDB.ORG/x"_s);
    EXPECT_FALSE(nav.state.pageLoaded);
    EXPECT_EQ(nav.state.timerInterval, 1000);
    documentCompleted(nav, u"http://www.freedb.org/x"_s);
    EXPECT_TRUE(nav.state.pageLoaded);

    const SiteTable sites = SiteTable::defaults();
    EXPECT_EQ(sites.lastSiteKey(u"https://www.gracenote.com/a"_s), u"cddb"_s);
    EXPECT_EQ(sites.lastSiteKey(u"https://www.allmusic.com/a"_s), u"amg"_s);
    EXPECT_EQ(sites.lastSiteKey(u"https://musicbrainz.org/release/x"_s), u"musicbrainz"_s);
    EXPECT_EQ(sites.lastSiteKey(u"https://example.com/"_s), QString());
    EXPECT_EQ(sites.siteForLastSite(u"nonsense"_s).key, u"amg"_s);
    EXPECT_EQ(sites.siteForLastSite(u"cddb"_s).home, u"http://www.cddb.com/"_s);
}

class SiteSettings : public VarneltTest {};

TEST_F(SiteSettings, TheGroupSitesOverridesAddresses)
{
    RawSettings store(u"Sites"_s);
    store.setValue(u"freedbHome"_s, u"http://127.0.0.1:8001/"_s);
    store.setValue(u"freedbDomain"_s, u"127.0.0.1:8001"_s);
    store.setValue(u"musicbrainzService"_s, u"http://127.0.0.1:8005/ws/2"_s);
    store.setValue(u"amgDomain"_s, QString());
    store.sync();
    const SiteTable sites = SiteTable::fromSettings();
    EXPECT_EQ(sites.site(SiteKind::Freedb).home, u"http://127.0.0.1:8001/"_s);
    EXPECT_EQ(sites.siteForAddress(u"http://127.0.0.1:8001/freedb/x"_s)->kind, SiteKind::Freedb);
    EXPECT_EQ(sites.musicbrainzService, u"http://127.0.0.1:8005/ws/2"_s);
    EXPECT_EQ(sites.coverArtService, u"https://coverartarchive.org"_s);
    EXPECT_EQ(sites.siteForAddress(u"http://elsewhere/"_s), nullptr) << "an empty domain matches nothing";
}
