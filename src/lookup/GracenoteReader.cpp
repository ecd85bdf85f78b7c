// The Gracenote site (also reached through its older CDDB address): the search field "q" and
// the album page whose artist, disc and track links carry "&f=artist", "&f=disc", "&f=track".
#include "lookup/SearchField.h"
#include "lookup/SiteReaders.h"

using namespace Qt::StringLiterals;

namespace {

bool isTrackLink(const QString &address)
{
    return PageText::containsNoCase(address, u"&f=track"_s) && !PageText::containsNoCase(address, u"&f=track&"_s);
}

} // namespace

bool hackGracenoteHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions)
{
    bool filled = false;
    for (int i = 0; i < doc.elements.size(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (isSearchField(e, {SearchMark::gracenote()})) {
            actions << ElementAction::setAttribute(doc, i, u"value"_s, gracenoteSearchText(search));
            filled = true;
        }
    }
    // Every submit control is clicked, whether or not a field was filled.
    for (int i = 0; i < doc.elements.size(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (e.tagName == u"INPUT" && e.outerHtml.contains(u"type=submit"))
            actions << ElementAction::click(doc, i);
    }
    return filled;
}

void readGracenotePage(const HtmlDocument &doc, LookupContext &lookup)
{
    LookupState &state = lookup.state;
    if (!state.gracenoteSearchSent)
        state.gracenoteSearchSent = hackGracenoteHtml(doc, lookup.search, lookup.actions);
    for (int i = 0; i < doc.images.size(); ++i) {
        if (doc.image(i).address.contains(u"grx/icon_u.gif"))
            state.pageLoaded = true;
    }
    if (!state.pageLoaded)
        return;
    state.timerInterval = 0;

    QString artist;
    QString album;
    bool artistFound = false;
    bool albumFound = false;
    for (const HtmlElement &e : doc.elements) {
        if (e.tagName != u"A")
            continue;
        if (!artistFound && PageText::containsNoCase(e.address, u"&f=artist"_s)) {
            artist = e.innerText;
            artistFound = true;
        }
        if (!albumFound && PageText::containsNoCase(e.address, u"&f=disc"_s)) {
            album = e.innerText;
            albumFound = true;
        }
    }
    int n = 0;
    QString genre;
    for (const HtmlElement &e : doc.elements) {
        if (e.tagName == u"A" && isTrackLink(e.address)) {
            if (!addFoundTrack(lookup.record, lookup.files, ++n, e.innerText, artist, album, genre, {}))
                break;
        }
    }
}
