#include "lookup/LookupStates.h"

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
