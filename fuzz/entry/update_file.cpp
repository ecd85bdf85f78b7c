// libFuzzer's entry for the target "update_file" (body in targets/update_file.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::update_file(data, size);
}
