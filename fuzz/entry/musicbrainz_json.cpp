// libFuzzer's entry for the target "musicbrainz_json" (body in targets/musicbrainz_json.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::musicbrainz_json(data, size);
}
