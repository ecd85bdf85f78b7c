// libFuzzer's entry for the target "site_gracenote" (body in targets/site_gracenote.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::site_gracenote(data, size);
}
