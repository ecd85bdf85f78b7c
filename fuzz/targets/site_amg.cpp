// The Amg site reader over a page snapshot built from the bytes.
#include "FuzzTargets.h"
#include "SitePage.h"

int Fuzz::site_amg(const std::uint8_t *data, std::size_t size)
{
    return FuzzSite::pollPage(SiteKind::Amg, data, size);
}
