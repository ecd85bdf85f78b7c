// The MusicBrainz site reader over a page snapshot built from the bytes.
#include "FuzzTargets.h"
#include "SitePage.h"

int Fuzz::site_musicbrainz_page(const std::uint8_t *data, std::size_t size)
{
    return FuzzSite::pollPage(SiteKind::MusicBrainz, data, size);
}
