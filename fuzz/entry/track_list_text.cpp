// libFuzzer's entry for the target "track_list_text" (body in targets/track_list_text.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::track_list_text(data, size);
}
