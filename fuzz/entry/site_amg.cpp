// libFuzzer's entry for the target "site_amg" (body in targets/site_amg.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::site_amg(data, size);
}
