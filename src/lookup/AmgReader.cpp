// The All Music Guide site: the search field "sql" with its search type buttons, and the album
// page read from its labelled lines, its "?p=amg&sql=3" track links and its cover picture.
#include "foundation/Basic.h"
#include "lookup/SearchField.h"
#include "lookup/SiteReaders.h"

using namespace Qt::StringLiterals;

namespace {

/// The attribute's value compared as a number with 2, as the page's buttons carry it.
bool isNumericTwo(const QString &value)
{
    return Basic::isNumeric(value) && Basic::val(value) == 2.0;
}

} // namespace

bool hackAmgHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions)
{
    bool clicked = false;
    for (int i = 0; i < doc.elements.size(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (isSearchField(e, {SearchMark::amg()}))
            actions << ElementAction::setAttribute(doc, i, u"value"_s, amgSearchText(search));
        // The search type buttons share the id "buttons"; the one of value 2 searches albums.
        if (e.id == u"buttons" && isNumericTwo(e.value)) {
            actions << ElementAction::click(doc, i);
            clicked = true;
        }
    }
    for (int i = 0; i < doc.elements.size(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (e.tagName == u"INPUT" && e.outerHtml.contains(u"type=image"))
            actions << ElementAction::click(doc, i);
    }
    return clicked;
}

QString amgReleaseYear(const QString &value)
{
    static const QStringList prefixes = {u"199"_s, u"198"_s, u"197"_s, u"196"_s, u"195"_s, u"194"_s,
                                         u"193"_s, u"192"_s, u"191"_s, u"190"_s, u"200"_s, u"201"_s};
    qsizetype p = -1;
    for (const QString &prefix : prefixes) {
        p = value.indexOf(prefix, 0, Qt::CaseInsensitive);
        if (p >= 0)
            break;
    }
    if (p < 0)
        return value;
    const QString w = value.mid(p, 4);
    if (Basic::isNumeric(w))
        return w;
    if (w.size() >= 4 && w.at(3) == u'?')
        return {};
    qsizetype at = value.indexOf(u"19"_s, p + 2);
    if (at < 0)
        at = value.indexOf(u"20"_s, 1);
    return at < 0 ? value : value.mid(at, 4);
}

void readAmgPage(const HtmlDocument &doc, LookupContext &lookup)
{
    LookupState &state = lookup.state;
    if (!state.amgSearchSent)
        state.amgSearchSent = hackAmgHtml(doc, lookup.search, lookup.actions);
    for (int i = 0; i < doc.images.size(); ++i) {
        const QString &address = doc.image(i).address;
        if (address.contains(u"img/Email.gif") || address.contains(u"img/zline.gif"))
            state.pageLoaded = true;
    }
    if (!state.pageLoaded)
        return;
    state.timerInterval = 0;
    lookup.record.coverUrl.clear();
    // The cover is the "amg/cov200/" picture directly followed by the track list's heading image.
    for (int k = 0; k + 1 < doc.images.size(); ++k) {
        if (doc.image(k).address.contains(u"amg/cov200/") && doc.image(k + 1).address.contains(u"/img/htrk1.gif")) {
            lookup.record.coverUrl = cleanPageValue(doc.image(k).address, lookup.record);
            break;
        }
    }
    if (!doc.hasBody)
        return;
    const QString artist = PageText::labelValue(doc.bodyText, u"Artist "_s);
    const QString album = PageText::labelValue(doc.bodyText, u"Album Title "_s);
    QString genre = PageText::labelValue(doc.bodyText, u"Genre "_s);
    // A missing label or line end gives an empty value, and so an empty year.
    const QString year = amgReleaseYear(PageText::labelValue(doc.bodyText, u"Date of Release "_s));
    int n = 0;
    for (const HtmlElement &e : doc.elements) {
        if (e.tagName == u"A" && PageText::containsNoCase(e.address, u"?p=amg&sql=3"_s)
            && !PageText::containsNoCase(e.address, u"#top"_s)) {
            if (!addFoundTrack(lookup.record, lookup.files, ++n, e.innerText, artist, album, genre, year))
                break;
        }
    }
}
