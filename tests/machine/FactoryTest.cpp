#include <map>
#include <memory>
#include <set>
#include <typeindex>
#include <typeinfo>

#include <gtest/gtest.h>

#include "machine/RuntimeStack.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemArray.h"
#include "machine/StackItemArraySection.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemComplexFloat.h"
#include "machine/StackItemCompound.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemDecimalFloat.h"
#include "machine/StackItemDecimalNumber.h"
#include "machine/StackItemFileDesc.h"
#include "machine/StackItemFloat.h"
#include "machine/StackItemFortranPointer.h"
#include "machine/StackItemFunction.h"
#include "machine/StackItemNationalString.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemS.h"
#include "machine/StackItemSqltype.h"
#include "machine/StackItemU.h"
#include "testhost/inprocess/MachineFixture.h"

namespace {

class FactoryTest : public MachineFixture {};

// The item class made for a type, or the code of the refusal.
struct Answer {
    const std::type_info* itemClass = nullptr;
    int refusal = 0;
};

Answer factoryAnswer(const TypeItem& type)
{
    Answer answer;
    try {
        std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(type, nullptr));
        const StackItem& made = *item;
        answer.itemClass = &typeid(made);
    } catch (const InvalidOp& e) {
        answer.refusal = e.code();
    }
    return answer;
}

} // namespace

TEST_F(FactoryTest, BuiltinIndexes)
{
    // The built-in indexes that make an item today; every other index from
    // 0 to 255 is refused with RTRC_NotSupported (1), the rows whose item
    // classes are not built yet among them.
    const std::map<unsigned, std::type_index> made = {
        {128, typeid(StackItemS1)},
        {129, typeid(StackItemS2)},
        {130, typeid(StackItemS4)},
        {132, typeid(StackItemU1)},
        {133, typeid(StackItemU2)},
        {134, typeid(StackItemU4)},
        {144, typeid(StackItemU1)},
        {145, typeid(StackItemU2)},
        {146, typeid(StackItemU4)},
        {148, typeid(StackItemU1)},
        {149, typeid(StackItemU2)},
        {150, typeid(StackItemU4)},
        {151, typeid(StackItemNull)},
        {155, typeid(StackItemS8)},
        {156, typeid(StackItemU8)},
        {157, typeid(StackItemU8)},
        {136, typeid(StackItemF)},
        {137, typeid(StackItemD)},
        {138, typeid(StackItemLD)},
        {139, typeid(StackItemLD)},
        {196, typeid(StackItemF)},
        {197, typeid(StackItemD)},
        {198, typeid(StackItemLD)},
        {140, typeid(StackItemComplexF)},
        {141, typeid(StackItemComplexD)},
        {142, typeid(StackItemComplexLD)},
        {143, typeid(StackItemComplexLD)},
        {203, typeid(StackItemComplexF)},
        {204, typeid(StackItemComplexD)},
        {205, typeid(StackItemComplexLD)},
        {159, typeid(StackItemDecimalFloat32)},
        {192, typeid(StackItemDecimalFloat64)},
        {193, typeid(StackItemDecimalFloat128)},
        {195, typeid(StackItemArraySection)},
    };
    for (unsigned index = 0; index < 256; ++index) {
        const Answer answer = factoryAnswer(TypeItem(index));
        if (TypeItem(index).hasFlag(TypeFlags::pointer)) {
            // A built-in type marked as a pointer is an address item, whatever
            // its index, typed with the requested type.
            ASSERT_NE(answer.itemClass, nullptr) << index;
            EXPECT_EQ(std::type_index(*answer.itemClass), std::type_index(typeid(StackItemAddress))) << index;
            std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(TypeItem(index), nullptr));
            EXPECT_TRUE(item->type().typeIndex() == index) << index;
            continue;
        }
        const auto row = made.find(index);
        if (row == made.end()) {
            EXPECT_EQ(answer.refusal, InvalidOp::RTRC_NotSupported) << index;
            continue;
        }
        ASSERT_NE(answer.itemClass, nullptr) << index;
        EXPECT_EQ(std::type_index(*answer.itemClass), row->second) << index;

        // The item is empty, belongs to the current representation and is
        // typed with the requested type (bool stays bool, not unsigned char).
        std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(TypeItem(index), nullptr));
        EXPECT_TRUE(item->type().typeIndex() == index) << index;
        EXPECT_EQ(&item->environment(), &rep()) << index;
        const bool complex = (index >= 140 && index <= 143) || (index >= 203 && index <= 205);
        if (complex || index == 195) {
            EXPECT_TRUE(item->isZero()) << index; // no integer view; a section of stride 0
        } else if (index != 151) {
            EXPECT_EQ(item->asUnsigned(), 0u) << index;
        }
    }
}

TEST_F(FactoryTest, HostLeafCodes)
{
    // Leaf codes with an item class; the rest of 0 to 100 is refused with
    // RTRC_Other (16). The classes of the rows not built yet are refused with
    // RTRC_NotSupported (1). A zero-filled integer entry is no plain integer:
    // a compound item, as a bit field is.
    const std::set<unsigned> rows = {1,  4,  5,  6,  11, 15, 18, 21, 25, 26, 27, 31, 50, 52, 53, 60, 63, 64, 65, 66,
                                     68, 69, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 85, 86, 87, 89};
    const std::map<unsigned, std::type_index> built = {
        {1, typeid(StackItemArray)},         {15, typeid(StackItemFunction)},
        {21, typeid(StackItemFunction)},     {25, typeid(StackItemAddress)},
        {26, typeid(StackItemFunction)},     {27, typeid(StackItemAddress)},
        {60, typeid(StackItemAddress)},      {63, typeid(StackItemArray)},
        {71, typeid(StackItemArray)},        {72, typeid(StackItemFortranPointer)},
        {83, typeid(StackItemArray)},        {85, typeid(StackItemFileDesc)},
        {5, typeid(StackItemCharstring)},    {74, typeid(StackItemNationalString)},
        {86, typeid(StackItemDbcsString)},   {4, typeid(StackItemCompound)},
        {6, typeid(StackItemCompound)},      {11, typeid(StackItemCompound)},
        {18, typeid(StackItemCompound)},     {31, typeid(StackItemCompound)},
        {52, typeid(StackItemCompound)},     {53, typeid(StackItemCompound)},
        {64, typeid(StackItemCompound)},     {65, typeid(StackItemCompound)},
        {66, typeid(StackItemCompound)},     {50, typeid(StackItemPackedDecimal)},
        {69, typeid(StackItemZonedDecimal)}, {73, typeid(StackItemNationalDecimal)},
        {89, typeid(StackItemSqltype)},
    };
    // Binary and index records of length 0 (as zero-filled) hold no value;
    // external-float and edited records without a picture neither.
    const std::set<unsigned> lengthless = {68, 75, 76, 77, 78, 79, 80, 81, 82, 87};
    for (unsigned leaf = 0; leaf <= 100; ++leaf) {
        TYPE_INDEX index{};
        _TYPE_ENTRY& entry = host.records().newType(leaf, &index);
        const Answer answer = factoryAnswer(TypeItem(index, &entry, false));
        const auto row = built.find(leaf);
        if (row != built.end()) {
            ASSERT_NE(answer.itemClass, nullptr) << leaf;
            EXPECT_EQ(std::type_index(*answer.itemClass), row->second) << leaf;
            continue;
        }
        if (lengthless.count(leaf)) {
            EXPECT_EQ(answer.refusal, InvalidOp::RTRC_Other) << leaf;
            continue;
        }
        EXPECT_EQ(answer.refusal, rows.count(leaf) ? InvalidOp::RTRC_NotSupported : InvalidOp::RTRC_Other) << leaf;
    }
}

TEST_F(FactoryTest, HostIntegersOfPlainWidth)
{
    struct Case {
        UBYTE4 bits;
        bool isUnsigned;
        UBYTE1 offset;
        const std::type_info* itemClass; // null: a bit field, a compound item
    } cases[] = {
        {8, false, 0, &typeid(StackItemS1)},
        {8, true, 0, &typeid(StackItemU1)},
        {16, false, 0, &typeid(StackItemS2)},
        {16, true, 0, &typeid(StackItemU2)},
        {32, false, 0, &typeid(StackItemS4)},
        {32, true, 0, &typeid(StackItemU4)},
        {64, false, 0, &typeid(StackItemS8)},
        {64, true, 0, &typeid(StackItemU8)},
        {8, true, 3, nullptr},
        {24, false, 0, nullptr},
        {1, true, 0, nullptr},
        {0, true, 0, nullptr},
    };
    for (const Case& c : cases) {
        const TypeItem type(host.records().integerType(c.bits, c.isUnsigned, c.offset));
        const Answer answer = factoryAnswer(type);
        if (c.itemClass == nullptr) {
            ASSERT_NE(answer.itemClass, nullptr) << c.bits << "/" << int(c.offset);
            EXPECT_EQ(std::type_index(*answer.itemClass), std::type_index(typeid(StackItemCompound)))
                << c.bits << "/" << int(c.offset);
            continue;
        }
        ASSERT_NE(answer.itemClass, nullptr) << c.bits;
        EXPECT_EQ(std::type_index(*answer.itemClass), std::type_index(*c.itemClass)) << c.bits;
        std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(type, nullptr));
        EXPECT_TRUE(item->type() == type) << c.bits;
        EXPECT_NE(item->type().typeEntry(), nullptr) << c.bits;
        EXPECT_EQ(item->size(), c.bits / 8) << c.bits;
    }
}
