// The track-list reader over a page snapshot built from the bytes (first line: the address).
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "lookup/TrackListReader.h"

int Fuzz::track_list_page(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    const qsizetype lineEnd = input.indexOf('\n');
    const QString url = QStringLiteral("http://example.org/") + QString::fromUtf8(lineEnd < 0 ? input : input.left(lineEnd));
    const HtmlDocument doc = FuzzSupport::snapshotFromHtml(url, lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1),
                                                           HtmlDocument::trackListTextTags());
    const CapturedAlbum album = TrackList::readPage(doc, 3);
    FUZZ_CHECK(album.tracks.size() <= TrackList::MaxTracks);
    for (const CapturedAlbum::Track &t : album.tracks)
        FUZZ_CHECK(t.title.size() <= TrackList::MaxValueLength && t.lengthMs >= 0);
    const CapturedAlbum selected = TrackList::readSelection(doc, doc.bodyText.left(2000));
    FUZZ_CHECK(selected.tracks.size() <= TrackList::MaxTracks);
    return 0;
}
