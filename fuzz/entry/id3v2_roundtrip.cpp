// libFuzzer's entry for the target "id3v2_roundtrip" (body in targets/id3v2_roundtrip.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::id3v2_roundtrip(data, size);
}
