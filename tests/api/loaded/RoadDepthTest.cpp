// Deeply nested text, end to end on a host thread of a 256 KB stack: the
// deepest syntax tree the evaluator accepts (256 levels, in C and in COBOL
// alike) is built, validated, evaluated, presented (its result node and
// name) and freed there; one level more is refused as nesting too deeply,
// and so are texts far deeper (thousands of parentheses, unary operators,
// long flat chains), which once overflowed the host's stack. The sanitizer
// build runs the same cases on a stack as much larger as its frames are.

#include <pthread.h>

#include <functional>
#include <string>
#include <vector>

#include "RoadSuite.h"
#include "testhost/DecimalImages.h"

namespace {

using L = RoadLanguage;

constexpr unsigned deepest = 256; // levels of the deepest syntax tree accepted
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NORVEXA_DEPTH_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(NORVEXA_DEPTH_SANITIZED)
// AddressSanitizer's unoptimised frames are some fifteen times larger.
constexpr std::size_t hostStack = 16 * 256 * 1024;
#else
constexpr std::size_t hostStack = 256 * 1024;
#endif
constexpr int tooDeep = 60; // "The expression nests too deeply."
constexpr int buildFailed = 11000;

std::string repeated(const std::string& piece, unsigned n)
{
    std::string out;
    for (unsigned i = 0; i < n; ++i)
        out += piece;
    return out;
}

// The text nested in n parentheses: a tree of n + 1 levels.
std::string parenthesised(const std::string& inner, unsigned n)
{
    return repeated("(", n) + inner + repeated(")", n);
}

// n terms joined by the operator: a left-deep tree of n levels.
std::string chain(const std::string& term, const std::string& op, unsigned n)
{
    return term + repeated(" " + op + " " + term, n - 1);
}

// int a = 3; int b = 0.
void cProgram(RoadProgram& p)
{
    const TYPE_INDEX i32 = p.records().integerType(32, false);
    p.variable("a", i32, 0x20);
    p.variable("b", i32, 0x24);
    p.poke(0x20, {0, 0, 0, 3, 0, 0, 0, 0});
}

// 01 A PIC S9(3) COMP-3 VALUE 12.
void cobolProgram(RoadProgram& p)
{
    p.variable("A", p.records().packedDecimalType(3, 0, true), 0x120, 1);
    p.poke(0x120, decimalimage::packed("12", 3, true));
}

// The result is presented: its root node and its name (the text again).
void presented(RoadRun& r)
{
    EXPECT_NE(r.root(), nullptr);
    EXPECT_NE(r.name, nullptr);
}

// Presented, and b holds the value stored.
RoadOracle stores(std::int32_t value)
{
    return [value](RoadRun& r) {
        presented(r);
        const auto v = static_cast<std::uint32_t>(value);
        EXPECT_EQ(r.program.peek(0x24, 4),
                  (std::vector<UBYTE1>{static_cast<UBYTE1>(v >> 24), static_cast<UBYTE1>(v >> 16),
                                       static_cast<UBYTE1>(v >> 8), static_cast<UBYTE1>(v)}));
    };
}

// Runs the work on a new host thread of the given stack size and waits.
void onStackOf(std::size_t size, const std::function<void()>& work)
{
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, size), 0);
    auto* job = new std::function<void()>(work);
    pthread_t thread;
    const int started = pthread_create(
        &thread, &attributes,
        [](void* argument) -> void* {
            auto* own = static_cast<std::function<void()>*>(argument);
            (*own)();
            delete own;
            return nullptr;
        },
        job);
    pthread_attr_destroy(&attributes);
    if (started != 0) {
        delete job;
        FAIL() << "no thread";
    }
    pthread_join(thread, nullptr);
}

struct DepthCase {
    const char* what;
    L language;
    RoadFixture fixture;
    std::string text;
    bool accepted;
    RoadOracle oracle; // for an accepted case
};

// "b = " and a tree of n levels: n + 1 levels.
std::string intoB(const std::string& tree)
{
    return "b = " + tree;
}

std::vector<DepthCase> depthCases()
{
    const auto sum = static_cast<std::int32_t>(3 * (deepest - 1));
    return {
        {"parentheses, deepest", L::c, cProgram, intoB(parenthesised("a", deepest - 2)), true, stores(3)},
        {"parentheses, one level more", L::c, cProgram, intoB(parenthesised("a", deepest - 1)), false, nullptr},
        {"4,000 parentheses", L::c, cProgram, parenthesised("a", 4000), false, nullptr},
        {"unary minus, deepest", L::c, cProgram, intoB(repeated("- ", deepest - 2) + "a"), true, stores(3)},
        {"unary minus, one level more", L::c, cProgram, intoB(repeated("- ", deepest - 1) + "a"), false, nullptr},
        {"30,000 logical nots", L::c, cProgram, repeated("!", 30000) + "a", false, nullptr},
        {"casts, deepest", L::c, cProgram, intoB(repeated("(int)", deepest - 2) + "a"), true, stores(3)},
        {"casts, one level more", L::c, cProgram, intoB(repeated("(int)", deepest - 1) + "a"), false, nullptr},
        {"a flat sum, deepest", L::c, cProgram, intoB(chain("a", "+", deepest - 1)), true, stores(sum)},
        {"a flat sum, one level more", L::c, cProgram, intoB(chain("a", "+", deepest)), false, nullptr},
        {"a flat sum of 40,000 terms", L::c, cProgram, chain("a", "+", 40000), false, nullptr},
        {"(a) 500 times", L::c, cProgram, repeated("(a)", 500), false, nullptr},
        {"COBOL parentheses, deepest", L::cobol, cobolProgram, parenthesised("A", deepest - 1), true, presented},
        {"COBOL parentheses, one level more", L::cobol, cobolProgram, parenthesised("A", deepest), false, nullptr},
        {"a COBOL sum, deepest", L::cobol, cobolProgram, chain("A", "+", deepest), true, presented},
        {"a COBOL sum, one level more", L::cobol, cobolProgram, chain("A", "+", deepest + 1), false, nullptr},
        {"a COBOL sum of 5,000 terms", L::cobol, cobolProgram, chain("A", "+", 5000), false, nullptr},
    };
}

} // namespace

TEST_P(RoadSuite, DeepestTextsRunOnASmallHostStack)
{
    for (const DepthCase& d : depthCases()) {
        const RoadCase c = d.accepted
                               ? RoadCase{d.what, d.language, d.fixture, d.text.c_str(), d.language == L::c ? 1003 : 0,
                                          -1,     nullptr,    0,         nullptr,        d.oracle}
                               : RoadCase{d.what,      d.language, d.fixture, d.text.c_str(),
                                          buildFailed, tooDeep,    nullptr,   RoadCase::noEvaluation,
                                          nullptr,     nullptr};
        onStackOf(hostStack, [&] { run(c); });
    }
}
