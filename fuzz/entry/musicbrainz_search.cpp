// libFuzzer's entry for the target "musicbrainz_search" (body in targets/musicbrainz_search.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::musicbrainz_search(data, size);
}
