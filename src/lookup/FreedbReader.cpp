// The freedb site: the search page's "words" field and the album page read from its heading
// and bold titles.
#include "foundation/Basic.h"
#include "lookup/SearchField.h"
#include "lookup/SiteReaders.h"

using namespace Qt::StringLiterals;

bool hackFreeDBHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions)
{
    bool filled = false;
    for (int i = 0; i < doc.elements.size(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (isSearchField(e, {SearchMark::freedb()})) {
            actions << ElementAction::setAttribute(doc, i, u"value"_s, freedbSearchText(search));
            filled = true;
        }
    }
    if (filled) {
        for (int i = 0; i < doc.elements.size(); ++i) {
            const HtmlElement &e = doc.elements.at(i);
            if (e.tagName == u"INPUT" && e.outerHtml.contains(u"type=image")) {
                actions << ElementAction::click(doc, i);
                break;
            }
        }
    }
    return filled;
}

void readFreedbPage(const HtmlDocument &doc, LookupContext &lookup)
{
    LookupState &state = lookup.state;
    if (!state.freedbSearchSent)
        state.freedbSearchSent = hackFreeDBHtml(doc, lookup.search, lookup.actions);
    const QString gnu = gnuHomePage();
    for (int i = 0; i < doc.links.size(); ++i) {
        if (doc.link(i).address.contains(gnu))
            state.pageLoaded = true;
    }
    const QString albumLink = lookup.sites.site(SiteKind::Freedb).domain + u"/freedb/"_s;
    bool albumLinkFound = false;
    for (int i = 0; i < doc.links.size() && !albumLinkFound; ++i)
        albumLinkFound = doc.link(i).address.contains(albumLink);
    if (!state.pageLoaded || !albumLinkFound)
        return;
    state.timerInterval = 0;
    if (!doc.hasBody)
        return;

    // Genre and year sit on their own lines of the page text ("genre: Rock", "year: 1999").
    QString genre = PageText::labelValue(doc.bodyText, u"genre:"_s);
    const QString year = PageText::labelValue(doc.bodyText, u"year: "_s);
    QString artist;
    QString album;
    bool headingSeen = false;
    int n = 0;
    for (const HtmlElement &e : doc.elements) {
        if (!headingSeen) {
            if (e.tagName == u"H2") {
                headingSeen = true;
                const qsizetype slash = e.innerText.indexOf(u'/');
                if (slash < 0) {
                    album = Basic::trim(e.innerText);
                } else {
                    artist = Basic::trim(e.innerText.left(slash));
                    album = Basic::trim(e.innerText.mid(slash + 1));
                }
            }
        } else if (e.tagName == u"B") {
            if (!addFoundTrack(lookup.record, lookup.files, ++n, e.innerText, artist, album, genre, year))
                break;
        }
    }
}
