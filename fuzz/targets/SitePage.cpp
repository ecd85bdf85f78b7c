#include "SitePage.h"

#include "FuzzSupport.h"

#include "lookup/LookupStates.h"

#include <cstdio>
#include <cstdlib>

int FuzzSite::pollPage(SiteKind kind, const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    const qsizetype lineEnd = input.indexOf('\n');
    const QString path = QString::fromUtf8(lineEnd < 0 ? input : input.left(lineEnd)).trimmed();
    LookupContext lookup;
    const QString url = QStringLiteral("http://") + lookup.sites.site(kind).domain + u'/' + path;
    const HtmlDocument doc = FuzzSupport::snapshotFromHtml(url, lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1));
    lookup.files.fileNames = {QStringLiteral("01.mp3"), QStringLiteral("02.mp3"), QStringLiteral("03.mp3")};
    lookup.search.directory = QStringLiteral("/music/Artist - Album");
    navigationCompleted(lookup, url);
    documentCompleted(lookup, url);
    // Three ticks: a search is submitted once per visit, a page is read once it is complete.
    for (int tick = 0; tick < 3; ++tick) {
        const bool finished = pollTick(doc, lookup);
        for (const ElementAction &a : lookup.actions) {
            FUZZ_CHECK(a.element >= 0 && a.element < doc.elements.size());
            FUZZ_CHECK(a.tagName == doc.elements.at(a.element).tagName);
        }
        if (std::getenv("VARNELT_FUZZ_DEBUG"))
            std::fprintf(stderr, "tick %d: %d elements, %d links, %d rows, %d actions, finished %d\n", tick,
                         int(doc.elements.size()), int(doc.links.size()), int(lookup.record.rows.size()),
                         int(lookup.actions.size()), int(finished));
        if (finished) {
            FUZZ_CHECK(lookup.state.timerInterval == 0);
            FUZZ_CHECK(lookup.record.rows.size() >= lookup.files.fileNames.size());
            break;
        }
    }
    return 0;
}
