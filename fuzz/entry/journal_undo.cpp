// libFuzzer's entry for the target "journal_undo" (body in targets/journal_undo.cpp).
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    return Fuzz::journal_undo(data, size);
}
