#include "lookup/LookupPoll.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

bool isAdvertising(const QString &address)
{
    return PageText::containsNoCase(address, u"ad."_s) || PageText::containsNoCase(address, u"doubleclick."_s);
}

} // namespace

void navigationCompleted(LookupContext &lookup, const QString &address)
{
    if (isAdvertising(address) || !lookup.sites.siteForAddress(address))
        return;
    lookup.state.pageLoaded = false;
    if (lookup.state.timerInterval == 0)
        lookup.state.timerInterval = 1000;
}

void documentCompleted(LookupContext &lookup, const QString &address)
{
    if (!isAdvertising(address) && lookup.sites.siteForAddress(address))
        lookup.state.pageLoaded = true;
}

bool pollTick(const HtmlDocument &doc, LookupContext &lookup)
{
    lookup.record.coverUrl.clear();
    lookup.actions.clear();
    if (const Site *site = lookup.sites.siteForAddress(doc.url)) {
        switch (site->kind) {
        case SiteKind::Amg:
            readAmgPage(doc, lookup);
            break;
        case SiteKind::Gracenote:
        case SiteKind::Cddb:
            readGracenotePage(doc, lookup);
            break;
        case SiteKind::Freedb:
            readFreedbPage(doc, lookup);
            break;
        case SiteKind::MusicBrainz:
            readMusicBrainzPage(doc, lookup);
            break;
        }
    }
    if (lookup.record.rows.isEmpty())
        return false;
    if (doc.truncated)
        lookup.record.notes << u"The page is larger than a lookup reads: only its beginning was read."_s;
    if (doc.tooDeep)
        lookup.record.notes << HtmlDocument::tooDeepText();
    finishRecord(lookup, doc.url);
    return true;
}

void finishRecord(LookupContext &lookup, const QString &address)
{
    addNotFoundRows(lookup.record, lookup.files);
    lookup.lastResultUrl = address;
    lookup.state.timerInterval = 0;
}

QString releaseIdFromAddress(const QString &address)
{
    static const QRegularExpression release(
        u"/release/([0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12})(?:[/?#]|$)"_s);
    const QRegularExpressionMatch match = release.match(address);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool hackMusicBrainzHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions)
{
    int field = -1;
    for (int i = 0; i < doc.elements.size() && field < 0; ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (e.textEditing && e.tagName == u"INPUT" && e.outerHtml.contains(u"name=query"))
            field = i;
    }
    if (field < 0)
        return false;
    actions << ElementAction::setAttribute(doc, field, u"value"_s, gracenoteSearchText(search));
    // The search type is a drop-down named "type"; "release" searches releases.
    for (int i = 0; i < doc.elements.size(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if (e.tagName == u"SELECT" && e.outerHtml.contains(u"name=type")) {
            actions << ElementAction::setAttribute(doc, i, u"value"_s, u"release"_s);
            break;
        }
    }
    // The first submit control after the field submits its form.
    for (int i = field + 1; i < doc.elements.size(); ++i) {
        const HtmlElement &e = doc.elements.at(i);
        if ((e.tagName == u"INPUT" || e.tagName == u"BUTTON") && e.outerHtml.contains(u"type=submit")) {
            actions << ElementAction::click(doc, i);
            break;
        }
    }
    return true;
}

void readMusicBrainzPage(const HtmlDocument &doc, LookupContext &lookup)
{
    LookupState &state = lookup.state;
    const QString id = releaseIdFromAddress(doc.url);
    if (id.isEmpty()) {
        // Release pages carry the site's search field too: the search is submitted elsewhere only.
        if (!state.musicbrainzSearchSent)
            state.musicbrainzSearchSent = hackMusicBrainzHtml(doc, lookup.search, lookup.actions);
        return;
    }
    state.timerInterval = 0;
    lookup.pendingRelease = id;
}
