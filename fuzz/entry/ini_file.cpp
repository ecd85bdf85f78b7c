// libFuzzer's entry for the target "ini_file" (body in targets/ini_file.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::ini_file(data, size);
}
