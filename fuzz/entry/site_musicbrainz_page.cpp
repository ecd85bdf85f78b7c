// libFuzzer's entry for the target "site_musicbrainz_page" (body in targets/site_musicbrainz_page.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::site_musicbrainz_page(data, size);
}
