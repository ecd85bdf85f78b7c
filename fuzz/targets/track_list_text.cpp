// The track-list reader over pasted text (or a text file, or standard input of the CLI).
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "lookup/TrackListReader.h"

int Fuzz::track_list_text(const std::uint8_t *data, std::size_t size)
{
    const CapturedAlbum album = TrackList::readText(TrackList::textFromBytes(FuzzSupport::bytes(data, size)));
    FUZZ_CHECK(album.tracks.size() <= TrackList::MaxTracks);
    for (const CapturedAlbum::Track &t : album.tracks)
        FUZZ_CHECK(t.title.size() <= TrackList::MaxValueLength && t.lengthMs >= 0);
    LookupContext lookup;
    lookup.files.fileNames = {QStringLiteral("01.mp3"), QStringLiteral("02.mp3")};
    lookup.search.directory = QStringLiteral("/music/Artist - Album");
    const bool filled = TrackList::fillRecord(album, lookup, QStringLiteral("text"));
    FUZZ_CHECK(filled == !album.tracks.isEmpty());
    FUZZ_CHECK(filled || lookup.record.rows.isEmpty());
    return 0;
}
