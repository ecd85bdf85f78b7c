// libFuzzer's entry for the target "site_freedb" (body in targets/site_freedb.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::site_freedb(data, size);
}
