// libFuzzer's entry for the target "mpeg_listing" (body in targets/mpeg_listing.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::mpeg_listing(data, size);
}
