// The MusicBrainz web service's release answer, read into the album record.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "lookup/MusicBrainz.h"

int Fuzz::musicbrainz_json(const std::uint8_t *data, std::size_t size)
{
    LookupContext lookup;
    lookup.files.fileNames = {QStringLiteral("01.mp3"), QStringLiteral("02.mp3")};
    const QString problem =
        readMusicBrainzRelease(FuzzSupport::bytes(data, size), QStringLiteral("http://127.0.0.1:9/caa"), lookup);
    if (!problem.isEmpty()) {
        // An answer that is no release leaves the record untouched and says so in one line.
        FUZZ_CHECK(lookup.record.rows.isEmpty() && lookup.record.artist.isEmpty());
        FUZZ_CHECK(!problem.contains(u'\n'));
    }
    return 0;
}
