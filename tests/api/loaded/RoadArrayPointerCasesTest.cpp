// End-to-end C cases of an array met with a pointer: the differences
// evaluate to a value of the type validation predicted (the program's
// ptrdiff_t), and compares, a null pointer constant and an array as an
// operand of && answer the test entry point.

#include <vector>

#include "RoadSuite.h"

namespace {

using L = RoadLanguage;
constexpr int skip = RoadCase::noEvaluation;

// int arr[5] = {10, 20, 30, 40, 50}; int *p = &arr[2].
void arrayProgram(RoadProgram& p)
{
    const TYPE_INDEX i32 = p.records().integerType(32, false);
    p.variable("arr", p.records().arrayType(i32, 20), 0x20);
    p.variable("p", p.records().pointerType(i32, p.bits / 8), 0x40);
    std::vector<UBYTE1> values;
    for (UBYTE1 v : {10, 20, 30, 40, 50})
        values.insert(values.end(), {0, 0, 0, v});
    p.poke(0x20, values);
    std::vector<UBYTE1> address;
    const UBYTE8 target = RoadProgram::data + 0x28;
    for (unsigned i = p.bits / 8; i-- > 0;)
        address.push_back(static_cast<UBYTE1>(target >> (8 * i)));
    p.poke(0x40, address);
}

const RoadOracle holds = [](RoadRun& r) { r.expectCondition(0); };
const RoadOracle fails = [](RoadRun& r) { r.expectCondition(10000); };

const RoadCase arrayCases[] = {
    {"a pointer less an array", L::c, arrayProgram, "p - arr", 0, -1, nullptr, 0, "p - arr", nullptr},
    {"an array less a pointer", L::c, arrayProgram, "arr - p", 0, -1, nullptr, 0, "arr - p", nullptr},
    {"the difference counts elements", L::c, arrayProgram, "p - arr == 2", 0, -1, nullptr, skip, nullptr, holds},
    {"the first element's address is the array", L::c, arrayProgram, "&arr[0] == arr", 0, -1, nullptr, 0,
     "&arr[0] == arr", holds},
    {"a pointer into the array is not the array", L::c, arrayProgram, "p == arr", 0, -1, nullptr, 0, "p == arr", fails},
    {"an array is ordered before a pointer past it", L::c, arrayProgram, "arr < p", 0, -1, nullptr, skip, nullptr,
     holds},
    {"an array is no null pointer", L::c, arrayProgram, "arr == 0", 0, -1, nullptr, skip, nullptr, fails},
    {"an array on the right of &&", L::c, arrayProgram, "1 && arr", 0, -1, nullptr, 0, "1 && arr", holds},
    {"a parenthesized array is its first element's address", L::c, arrayProgram, "(arr)", 0, -1, nullptr, 0, "(arr)",
     nullptr},
    {"an array chosen by a condition", L::c, arrayProgram, "p ? arr : p", 0, -1, nullptr, 0, "p ? arr : p", nullptr},
    {"an array after a comma", L::c, arrayProgram, "(p, arr)", 0, -1, nullptr, 0, "(p, arr)", nullptr},
    {"the address of an array", L::c, arrayProgram, "&arr", 0, -1, nullptr, 0, "&arr", nullptr},
    {"the address of the first element through the array", L::c, arrayProgram, "&*arr", 0, -1, nullptr, 0, "&*arr",
     nullptr},
    {"the array's address is its first element's", L::c, arrayProgram, "&arr[0] == &arr", 0, -1, nullptr, 0,
     "&arr[0] == &arr", holds},
    {"the array's address is not its second element's", L::c, arrayProgram, "&arr[1] == &arr", 0, -1, nullptr, 0,
     "&arr[1] == &arr", fails},
    {"back from the array's address", L::c, arrayProgram, "*&arr == arr", 0, -1, nullptr, skip, nullptr, holds},
};

} // namespace

TEST_P(RoadSuite, ArraysMeetPointers)
{
    runAll(arrayCases);
}
