// libFuzzer's entry for the target "mpeg_analyzer" (body in targets/mpeg_analyzer.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::mpeg_analyzer(data, size);
}
