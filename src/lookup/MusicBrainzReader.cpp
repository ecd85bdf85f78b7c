// The MusicBrainz site: its search field "query" with the search type "release", and the
// release pages whose address names the release the web service then delivers.
#include "lookup/LookupStates.h"
#include "lookup/SearchField.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString releaseIdFromAddress(const QString &address)
{
    static const QRegularExpression release(
        u"/release/([0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12})(?:[/?#]|$)"_s);
    const QRegularExpressionMatch match = release.match(address);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool hackMusicBrainzHtml(const HtmlDocument &doc, const SearchInput &search, ElementActions &actions)
{
    const int field = searchFieldIndex(doc, {SearchMark::musicBrainz()});
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
