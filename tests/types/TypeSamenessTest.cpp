// Types built apart that are the same type, and those that only look alike.

#include "TypesFixture.h"

#include "types/CreatedTypeItem.h"

namespace {

class TypeSameness : public TypesTest {};

TEST_F(TypeSameness, TypesBuiltApartAreTheSameWhenWhatTheyLeadToIs)
{
    const TYPE_INDEX i32 = records().integerType(32, false);
    const TYPE_INDEX u32 = records().integerType(32, true);
    const TYPE_INDEX i16 = records().integerType(16, false);
    const TYPE_INDEX field = records().integerType(20, false, 4);
    const TypeItem hostInt(i32);
    const TypeItem* madePointer = CreatedTypeItem::findPointerType(hostInt);
    ASSERT_NE(madePointer, nullptr);
    const unsigned wide = env.addressSize();
    struct Case {
        const char* what;
        TypeItem first, second;
        bool same;
    };
    const Case cases[] = {
        {"made and host pointer to one int", *madePointer, TypeItem(records().pointerType(i32, wide)), true},
        {"pointers of two widths", *madePointer, TypeItem(records().pointerType(i32, 12 - wide)), false},
        {"host pointers to two int entries", TypeItem(records().pointerType(i32)),
         TypeItem(records().pointerType(records().integerType(32, false))), true},
        {"host int and the primitive int", hostInt, TypeItem(130u), true},
        {"pointer to int and to unsigned int", *madePointer, TypeItem(records().pointerType(u32, wide)), false},
        {"pointer to int and to short", *madePointer, TypeItem(records().pointerType(i16, wide)), false},
        {"arrays of as many ints", TypeItem(records().arrayType(i32, 16)), TypeItem(records().arrayType(i32, 16)),
         true},
        {"arrays of other lengths", TypeItem(records().arrayType(i32, 16)), TypeItem(records().arrayType(i32, 8)),
         false},
        {"a bit field and an int", TypeItem(field), hostInt, false},
        {"int and float", hostInt, TypeItem(136u), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.first.isSameType(c.second), c.same) << c.what;
        EXPECT_EQ(c.second.isSameType(c.first), c.same) << c.what << " (swapped)";
    }
    // A type the model cannot classify is the same only as itself.
    const TypeItem plainChar(148u);
    EXPECT_TRUE(plainChar.isSameType(plainChar));
    EXPECT_FALSE(plainChar.isSameType(TypeItem(128u)));
}

} // namespace
