// libFuzzer's entry for one target, named at compile time by
// NORVEXA_FUZZ_ENTRY (see CMakeLists.txt).

#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return NORVEXA_FUZZ_ENTRY(data, size);
}
