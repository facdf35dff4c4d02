#include <cstdint>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <plomkit/List.h>
#include <plomkit/StdException.h>
#include <plomkit/StdThread.h>
#include <plomkit/UnicodeUtilities.h>

namespace {

template <class T>
std::vector<T> contents(const List<T>& list)
{
    std::vector<T> out;
    for (unsigned i = 0; i < list.count(); ++i)
        out.push_back(list[i]);
    return out;
}

TEST(List, AppendInsertRemoveInOrder)
{
    List<int> list;
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.items(), nullptr);
    for (int i = 0; i < 20; ++i) // beyond several growth steps
        list.append(i);
    list.insert_at(0, -1);
    list.insert_at(5, 100);
    list.insert_at(99, 200); // past the end: appended
    list.remove(1);
    list.remove(99); // nothing there
    std::vector<int> expected = {-1, 1, 2, 3, 100, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 200};
    EXPECT_EQ(contents(list), expected);
    EXPECT_THROW(list[list.count()], std::out_of_range);
}

TEST(List, ElementsOfEightBytesAndRecords)
{
    List<std::uint64_t> wide;
    wide.append(0x1122334455667788ull);
    wide.insert_at(0, 1);
    EXPECT_EQ(contents(wide), (std::vector<std::uint64_t>{1, 0x1122334455667788ull}));
    EXPECT_EQ(wide.elementSize(), 8u);

    struct Member {
        const char* name;
        unsigned offset;
        std::uint64_t type;
    };
    List<Member> members;
    members.append({"a", 0, 1});
    members.append({"b", 8, 2});
    members.insert_at(1, Member{"c", 4, 3});
    EXPECT_STREQ(members[1].name, "c");
    EXPECT_EQ(members[2].offset, 8u);
}

TEST(List, AppendingAndInsertingItsOwnItemsIsSafe)
{
    List<int> list;
    for (int i = 0; i < 8; ++i) // exactly full: the next append regrows
        list.append(i);
    list.appendItems(list.items(), list.count());
    EXPECT_EQ(list.count(), 16u);
    EXPECT_EQ(list[15], 7);
    list.insert_at(0, list[15]);
    EXPECT_EQ(list[0], 7);
    EXPECT_EQ(list[1], 0);
}

TEST(List, CopiesAreDeepAndDeleteItemsEmpties)
{
    int values[] = {5, 6, 7};
    List<int> list(values, 3);
    List<int> copy(list);
    list[0] = 50;
    EXPECT_EQ(copy[0], 5);
    copy = list;
    EXPECT_EQ(copy[0], 50);
    int target = 9;
    List<int*> pointers;
    pointers.append(&target);
    pointers.deleteItems(); // the array only: the pointed-to value stays
    EXPECT_EQ(pointers.count(), 0u);
    EXPECT_EQ(target, 9);
    pointers.append(&target);
    EXPECT_EQ(*pointers[0], 9);
}

TEST(StdThread, KeyedValuesArePerThreadAndStable)
{
    StdThread* self = StdThread::currentThread();
    EXPECT_EQ(self, StdThread::currentThread());
    void** slot = self->_getKeyValue("EvaluationEnvironment");
    EXPECT_EQ(*slot, nullptr);
    int here = 1;
    *slot = &here;
    for (int i = 0; i < 100; ++i) // other keys do not move the slot
        self->_getKeyValue(std::to_string(i).c_str());
    EXPECT_EQ(slot, self->_getKeyValue("EvaluationEnvironment"));
    EXPECT_EQ(*self->_getKeyValue("EvaluationEnvironment"), &here);
    EXPECT_EQ(*self->_getKeyValue("other"), nullptr);

    void* seenThere = &here;
    StdThread* otherThread = nullptr;
    std::thread([&] {
        otherThread = StdThread::currentThread();
        seenThere = *otherThread->_getKeyValue("EvaluationEnvironment");
    }).join();
    EXPECT_NE(otherThread, self);
    EXPECT_EQ(seenThere, nullptr);
    *slot = nullptr;
}

TEST(UnicodeUtilities, LengthFromTheFirstByte)
{
    struct {
        unsigned char first;
        int length;
    } cases[] = {
        {0x00, 1}, {'A', 1},  {0x7F, 1}, {0x80, 0}, {0xBF, 0}, {0xC0, 0}, {0xC1, 0}, {0xC2, 2},
        {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 4}, {0xF4, 4}, {0xF5, 0}, {0xFF, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnicodeUtilities::mblen(c.first), c.length) << int(c.first);
}

TEST(StdException, CarriesWhereWhatAndCode)
{
    try {
        throw StdException("void load()", 12, "library not found", 3);
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "library not found");
        const auto& se = dynamic_cast<const StdException&>(e);
        EXPECT_STREQ(se.function(), "void load()");
        EXPECT_EQ(se.line(), 12u);
        EXPECT_EQ(se.code(), 3);
    }
    StdException empty(nullptr, 0, nullptr, 0);
    EXPECT_STREQ(empty.what(), "");
}

} // namespace
