// libFuzzer's entry for the target "mask_files" (body in targets/mask_files.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::mask_files(data, size);
}
