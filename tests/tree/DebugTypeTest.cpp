#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tree/DebugType.h"
#include "tree/TreeFixture.h"

namespace {

std::vector<unsigned> typesOf(unsigned language)
{
    unsigned count = 0;
    unsigned* list = nullptr;
    DebugType::instance().QueryTypes(count, list, language);
    return std::vector<unsigned>(list, list + count);
}

TEST(DebugTypeTest, LanguageListsInRegistrationOrder)
{
    const std::vector<unsigned> head{1, 19, 3, 1, 2, 4, 22, 5, 20, 6, 7, 21, 18};
    auto with = [&](std::vector<unsigned> tail) {
        std::vector<unsigned> all = head;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    struct Case {
        unsigned language;
        std::vector<unsigned> codes;
    } cases[] = {
        {1, with({26, 9})},       {99, with({26, 9})},
        {2, with({26, 15})},      {11, with({26, 25})},
        {15, with({26, 23, 24})}, {6, with({15, 9, 11, 10, 27, 40, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(typesOf(c.language), c.codes) << "language " << c.language;
    EXPECT_EQ(typesOf(1).size(), 15u);
    EXPECT_EQ(typesOf(15).size(), 16u);
    EXPECT_EQ(typesOf(6).size(), 31u);
}

TEST(DebugTypeTest, RepresentationsOfTypesWithAndWithoutRows)
{
    DebugType& table = DebugType::instance();
    struct Case {
        int type;
        std::vector<unsigned> reps;
    } rows[] = {
        {1, {22, 2, 1, 4, 3, 5}}, {2, {8, 1}}, {4, {19, 9, 10, 11}}, {5, {23, 9, 10, 11, 19, 6}}, {15, {12}},
        {25, {19, 9, 10}},        {37, {22}},  {40, {22, 1}},
    };
    for (const Case& c : rows) {
        unsigned count = 0;
        unsigned* list = nullptr;
        ASSERT_EQ(table.QueryTypeRepresentations(c.type, count, list), 0) << c.type;
        EXPECT_EQ(std::vector<unsigned>(list, list + count), c.reps) << c.type;
    }
    EXPECT_EQ(table.byType(15)->result(0), 4);
    EXPECT_EQ(table.byType(4)->result(3), 3);
    EXPECT_EQ(table.byType(4)->result(4), DebugType::unusedResult);
    for (int type : {0, 8, 12, 13, 14, 16, 17, 41, -1, 1000}) {
        unsigned count = 7;
        unsigned* list = reinterpret_cast<unsigned*>(&count);
        EXPECT_EQ(table.QueryTypeRepresentations(type, count, list), 10000) << type;
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(list, nullptr);
    }
    // The 16-bit form fills the results only when asked to.
    unsigned short count = 0;
    unsigned short* reps = nullptr;
    unsigned short* results = nullptr;
    ASSERT_EQ(table.QueryTypeRepresentations(6, count, reps, results), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(reps[0], 11);
    EXPECT_EQ(results, nullptr);
    unsigned short marker = 0;
    results = &marker;
    ASSERT_EQ(table.QueryTypeRepresentations(6, count, reps, results), 0);
    EXPECT_EQ(results[0], 3);
    EXPECT_EQ(results[1], 1);
}

TEST(DebugTypeTest, DefaultRepresentationChangesOnlyWhenOffered)
{
    DebugType& table = DebugType::instance();
    ASSERT_EQ(table.SetDefaultRep(1, 4), 0);
    EXPECT_EQ(table.byType(1)->defaultIndex(), 3u);
    EXPECT_EQ(table.byListIndex(0)->defaultIndex(), 3u) << "both indexes keep the second row of type 1";
    EXPECT_EQ(table.SetDefaultRep(1, 8), 10000);
    EXPECT_EQ(table.byType(1)->defaultIndex(), 3u);
    EXPECT_EQ(table.SetDefaultRep(8, 2), 10000);
    EXPECT_EQ(table.SetDefaultRep(41, 2), 10000);
    EXPECT_EQ(table.SetDefaultRep(0, 2), 10000);

    // Type 15's by-type row is not the row that SQL structures report.
    ASSERT_EQ(table.SetDefaultRep(15, 12), 0);
    EXPECT_NE(table.byType(15), table.byListIndex(13));
    EXPECT_EQ(table.byListIndex(13)->result(0), 2);
    EXPECT_EQ(table.byType(15)->result(0), 4);

    EXPECT_EQ(table.SetDefaultRep(1, 22), 0);
    EXPECT_EQ(table.byType(1)->defaultIndex(), 0u);
}

TEST(DebugTypeTest, FirstUseOnSeveralThreadsMakesOneTable)
{
    std::vector<DebugType*> seen(8, nullptr);
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &DebugType::instance(); });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(std::set<DebugType*>(seen.begin(), seen.end()).size(), 1u);
}

class ResultTypesTest : public TreeTest {};

TEST_F(ResultTypesTest, EverySqlCodeOfTheTableGivesItsRow)
{
    struct Family {
        std::vector<unsigned> codes;
        int dataType;
        unsigned listIndex;
    } families[] = {
        {{480, 481, 996, 997}, 2, 1},
        {{484, 485}, 9, 14},
        {{492, 493, 496, 497, 500, 501}, 11, 15},
        {{504, 505}, 10, 21},
        {{916, 917, 920, 921, 924, 925, 1000}, 15, 13},
        {{404, 405, 408, 409, 412, 413, 448, 449, 452, 453, 456, 457, 464, 465, 468, 469, 472,  473,
          904, 905, 908, 909, 912, 913, 960, 961, 964, 965, 968, 969, 972, 973, 976, 977, 65984},
         40,
         16},
    };
    DebugType& table = DebugType::instance();
    for (const Family& f : families) {
        for (unsigned code : f.codes) {
            const DebugType::FormatInfo* row = table.resultTypes(sqlType(code, 4), 0);
            EXPECT_EQ(row, table.byListIndex(f.listIndex)) << code;
            EXPECT_EQ(row->type(), f.dataType) << code;
        }
    }
    EXPECT_EQ(table.resultTypes(sqlType(1000, 136), 0)->result(0), 2) << "SQL structures report result 2";
    // An array of any code reports data type 6.
    for (unsigned code : {452u, 494u, 0u})
        EXPECT_EQ(table.resultTypes(sqlType(code, 4, 3), 0)->type(), 6) << code;
}

TEST_F(ResultTypesTest, CodesOutsideTheTableAreRefused)
{
    DebugType& table = DebugType::instance();
    for (unsigned code : {494u, 495u, 460u, 461u, 462u, 463u, 0u, 498u, 1001u})
        EXPECT_EQ(raisedCode([&] { table.resultTypes(sqlType(code, 4), 0); }), InvalidOp::RTRC_Other) << code;
    // A type that shows no value: void.
    EXPECT_EQ(raisedCode([&] { table.resultTypes(TypeItem(151u), 0); }), InvalidOp::RTRC_Other);
}

TEST_F(ResultTypesTest, EveryProgramTypeHasTheRowOfItsDataType)
{
    DebugType& table = DebugType::instance();
    HostRecordStore& r = host.records();
    const TYPE_INDEX intType{0, 130};
    struct Case {
        const char* what;
        TypeItem type;
        DBG_TYPE dataType;
        DBG_REPS first;
    } cases[] = {
        {"char", TypeItem(148u), 1, 22},
        {"signed char", TypeItem(128u), 1, 22},
        {"wchar_t", TypeItem(149u), 19, 22},
        {"int", TypeItem(130u), 3, 2},
        {"unsigned long long", TypeItem(156u), 3, 2},
        {"double", TypeItem(137u), 2, 8},
        {"hexadecimal float", TypeItem(196u), 2, 8},
        {"complex", TypeItem(141u), 2, 8},
        {"_Decimal64", TypeItem(192u), 2, 8},
        {"bool", TypeItem(144u), 18, 17},
        {"int *", TypeItem(130u | 32u), 4, 19},
        {"char *", TypeItem(148u | 32u), 5, 23},
        {"void *", TypeItem(183u), 22, 9},
        {"pointer to a struct", TypeItem(r.pointerType(r.classType({.name = "S", .byteSize = 4, .members = {}}))), 4,
         19},
        {"int[4]", TypeItem(r.arrayType(intType, 16)), 6, 11},
        {"char[8]", TypeItem(r.arrayType(TYPE_INDEX{0, 148}, 8)), 7, 23},
        {"struct", TypeItem(r.classType({.name = "T", .byteSize = 4, .members = {}})), 15, 12},
        {"packed decimal", TypeItem(r.packedDecimalType(5, -2, true, nullptr)), 9, 2},
        {"zoned decimal", TypeItem(r.zonedDecimalType(3, 0, true, TN_SignTrailingEmbedded, nullptr)), 10, 2},
        {"binary", TypeItem(r.binaryType(4, 9, 0, true)), 11, 2},
        {"alphanumeric", TypeItem(r.charstringType(8)), 40, 22},
        {"index data item", TypeItem(r.indexDataItemType(4)), 30, 2},
    };
    for (const Case& c : cases) {
        const DebugType::FormatInfo* row = nullptr;
        EXPECT_EQ(raisedCode([&] { row = table.resultTypes(c.type, 0); }), 0) << c.what;
        if (row == nullptr)
            continue;
        EXPECT_EQ(row->type(), c.dataType) << c.what;
        EXPECT_EQ(DebugType::defaultRepresentation(*row), c.first) << c.what;
    }
}

} // namespace
