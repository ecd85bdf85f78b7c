// libFuzzer's entry for the target "mask_language" (body in targets/mask_language.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::mask_language(data, size);
}
