// libFuzzer's entry for the target "id3v1" (body in targets/id3v1.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::id3v1(data, size);
}
