// The descriptor kinds and the model's TypeKinds, both ways, from one table.

#include <map>
#include <set>

#include <gtest/gtest.h>

#include "compiler/TypeDescriptorKinds.h"
#include "frontend/EE_Exception.h"

namespace {

// {descriptor kind, TypeKind}: every pair there is.
const std::pair<int, int> pairs[] = {
    {0, 26},  {1, 24},  {2, 29},  {3, 27},  {5, 33},  {7, 28},  {8, 25},  {9, 39},  {11, 0},  {12, 1},
    {13, 2},  {14, 3},  {15, 4},  {16, 5},  {17, 6},  {18, 7},  {19, 8},  {20, 9},  {21, 10}, {22, 11},
    {23, 12}, {24, 13}, {25, 14}, {26, 15}, {27, 17}, {28, 19}, {29, 16}, {30, 18}, {31, 20}, {32, 21},
    {33, 22}, {34, 23}, {35, 59}, {36, 60}, {37, 61}, {38, 31}, {39, 32}, {40, 34}, {41, 35}, {42, 36},
    {43, 37}, {44, 38}, {45, 40}, {46, 41}, {47, 42}, {48, 43}, {49, 44}, {50, 45}, {51, 46}, {52, 47},
    {53, 48}, {54, 49}, {55, 50}, {56, 51}, {57, 52}, {58, 53}, {59, 54}, {60, 57}, {61, 58}, {63, 56},
};

template <class F>
bool refusedPlainly(F&& f)
{
    try {
        f();
    } catch (const EE_Exception& e) {
        return e.code == 2 && e.node == nullptr;
    }
    return false;
}

TEST(TypeDescriptorKinds, MapBothWaysAndRefuseWhatHasNoCounterpart)
{
    std::map<int, int> typeKindOf, kindOf;
    for (auto [kind, typeKind] : pairs) {
        typeKindOf[kind] = typeKind;
        kindOf[typeKind] = kind;
    }
    for (int kind = 0; kind <= 70; ++kind) {
        SCOPED_TRACE(kind);
        if (typeKindOf.count(kind) != 0)
            EXPECT_EQ(int(ostrelTypeKind(kind)), typeKindOf[kind]);
        else
            EXPECT_TRUE(refusedPlainly([&] { ostrelTypeKind(kind); }));
    }
    for (int typeKind = -1; typeKind <= 70; ++typeKind) {
        SCOPED_TRACE(typeKind);
        if (kindOf.count(typeKind) != 0)
            EXPECT_EQ(int(typeDescriptorKindOf(typeKind)), kindOf[typeKind]);
        else
            EXPECT_TRUE(refusedPlainly([&] { typeDescriptorKindOf(typeKind); }));
    }
    // What refuses, as listed for each direction.
    std::set<int> noTypeKind, noKind;
    for (int kind = 0; kind <= 70; ++kind)
        if (typeKindOf.count(kind) == 0)
            noTypeKind.insert(kind);
    for (int typeKind = 0; typeKind <= 63; ++typeKind)
        if (kindOf.count(typeKind) == 0)
            noKind.insert(typeKind);
    EXPECT_EQ(std::set<int>(noTypeKind.begin(), noTypeKind.find(64)), (std::set<int>{4, 6, 10, 62}));
    EXPECT_EQ(noKind, (std::set<int>{30, 55, 62, 63}));
}

} // namespace
