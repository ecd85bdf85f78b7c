// The captures the lookup window and the CLI run: a page, a selection on it, pasted text.
#include "lookup/LookupStates.h"
#include "lookup/TrackListReader.h"

namespace TrackList {

bool submitSiteSearch(const HtmlDocument &doc, LookupContext &lookup)
{
    const Site *site = lookup.sites.siteForAddress(doc.url);
    if (!site)
        return false;
    LookupState &state = lookup.state;
    lookup.actions.clear();
    bool *sent = nullptr;
    bool submitted = false;
    switch (site->kind) {
    case SiteKind::Amg:
        sent = &state.amgSearchSent;
        submitted = !*sent && hackAmgHtml(doc, lookup.search, lookup.actions);
        break;
    case SiteKind::Gracenote:
    case SiteKind::Cddb:
        sent = &state.gracenoteSearchSent;
        submitted = !*sent && hackGracenoteHtml(doc, lookup.search, lookup.actions);
        break;
    case SiteKind::Freedb:
        sent = &state.freedbSearchSent;
        submitted = !*sent && hackFreeDBHtml(doc, lookup.search, lookup.actions);
        break;
    case SiteKind::MusicBrainz:
        sent = &state.musicbrainzSearchSent;
        // A release page carries the search field too; only other pages submit.
        submitted = !*sent && releaseIdFromAddress(doc.url).isEmpty()
                    && hackMusicBrainzHtml(doc, lookup.search, lookup.actions);
        break;
    }
    *sent = *sent || submitted;
    return submitted;
}

bool capture(const HtmlDocument &doc, LookupContext &lookup)
{
    const int fileCount = int(lookup.files.filesInPairingOrder().size());
    const CapturedAlbum album = doc.selection.trimmed().isEmpty() ? readPage(doc, fileCount)
                                                                 : readSelection(doc, doc.selection);
    return fillRecord(album, lookup, doc.url);
}

bool captureText(const QString &text, LookupContext &lookup)
{
    return fillRecord(readText(text), lookup, QString());
}

} // namespace TrackList
