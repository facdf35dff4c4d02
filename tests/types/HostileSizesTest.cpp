// Sizes and counts taken from host records and debuggee data that are
// negative, huge or overflow: each gives the one size error, never a
// wrapped number. Sizes within the limit still come through whole.

#include "TypesFixture.h"

#include <functional>
#include <limits>
#include <vector>

#include "services/ObjectSize.h"
#include "testhost/DwarfExpression.h"

namespace {

class HostileSizesTest : public TypesTest {
    // Public: the table of cases builds through them.
public:
    const DwarfBlock* constant(std::int64_t v) { return records().dwarfBlock(dwarf::Builder().constS(v).bytes()); }

    TYPE_INDEX dynamicString(std::int64_t length) { return dynamicStringType(dwarf::Builder().constS(length).bytes()); }

    TYPE_INDEX dynamicArray(std::uint64_t size)
    {
        const std::vector<UBYTE1> expression = dwarf::Builder().constU(size).bytes();
        TYPE_INDEX array = records().arrayType(TYPE_INDEX{0, 130}, 0);
        records().type(array)->array.flags = TNarray_DynamicSize;
        records().type(array)->array.size.sizeExpression = records().bytes(expression);
        records().type(array)->array.sizeExpressionLength = static_cast<UBYTE4>(expression.size());
        return array;
    }

    TYPE_INDEX dynamicClass(std::uint64_t size)
    {
        const std::vector<UBYTE1> expression = dwarf::Builder().constU(size).bytes();
        TYPE_INDEX klass = records().classType({.name = "x", .byteSize = 0, .flags = TNclass_DynamicSize});
        records().type(klass)->klass.size.sizeExpression = records().bytes(expression);
        records().type(klass)->klass.sizeExpressionLength = static_cast<UBYTE4>(expression.size());
        return klass;
    }

    // A one-dimensional descriptor of 4-byte elements with the given bounds
    // (no upper bound when extent is given).
    TYPE_INDEX descriptor(std::int64_t lower, std::optional<std::int64_t> upper,
                          std::optional<std::int64_t> extent = std::nullopt, TYPE_INDEX element = TYPE_INDEX{0, 130},
                          UBYTE2 dimension = 1, UBYTE2 rank = 1)
    {
        TYPE_INDEX t;
        TNf90descarray& r = records().newType(TE_F90_DESC_ARRAY, &t).f90descarray;
        r.elementType = element;
        r.dimension = dimension;
        r.rank = rank;
        r.lowerBound = constant(lower);
        if (upper)
            r.upperBound = constant(*upper);
        if (extent)
            r.extent = constant(*extent);
        return t;
    }
};

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::uint64_t limit = ObjectSize::limit;

TEST_F(HostileSizesTest, SizesFromRecordsAreCheckedNotWrapped)
{
    env.setAddressSize(8);
    struct Case {
        const char* what;
        std::function<TYPE_INDEX(HostileSizesTest&)> make;
        std::uint64_t size; // 0 with error set: the size error
        bool error;
    };
    const Case cases[] = {
        {"string of length 300", [](auto& t) { return t.dynamicString(300); }, 300, false},
        {"string of the limit", [](auto& t) { return t.dynamicString(limit); }, limit, false},
        {"string of length -1", [](auto& t) { return t.dynamicString(-1); }, 0, true},
        {"string of the limit plus one", [](auto& t) { return t.dynamicString(limit + 1); }, 0, true},
        {"string of 2^32 + 5", [](auto& t) { return t.dynamicString((std::int64_t(1) << 32) + 5); }, 0, true},
        {"array of 96", [](auto& t) { return t.dynamicArray(96); }, 96, false},
        {"array of 2^32 + 16 (high word)", [](auto& t) { return t.dynamicArray((1ull << 32) + 16); }, 0, true},
        {"array of all ones", [](auto& t) { return t.dynamicArray(~0ull); }, 0, true},
        {"class of 2^33", [](auto& t) { return t.dynamicClass(1ull << 33); }, 0, true},
        {"class of the limit", [](auto& t) { return t.dynamicClass(limit); }, limit, false},
        {"descriptor 1..10", [](auto& t) { return t.descriptor(1, 10); }, 40, false},
        {"descriptor of 2^30+4 elements of 4 bytes", [](auto& t) { return t.descriptor(1, std::int64_t(1 << 30) + 4); },
         0, true},
        {"descriptor extent 2^62 (product overflows)",
         [](auto& t) { return t.descriptor(1, std::nullopt, std::int64_t(1) << 62); }, 0, true},
        {"uninitialised descriptor: upper max, lower -1 (count overflows)",
         [](auto& t) { return t.descriptor(-1, int64Max); }, 0, true},
        {"uninitialised descriptor: upper min, lower 2 (count overflows)",
         [](auto& t) { return t.descriptor(2, int64Min); }, 0, true},
        {"empty descriptor: upper below lower", [](auto& t) { return t.descriptor(5, 1); }, 0, false},
        {"descriptor with a negative extent", [](auto& t) { return t.descriptor(1, std::nullopt, -3); }, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TYPE_INDEX index = c.make(*this);
        const TypeItem type(index);
        if (c.error) {
            try {
                (void)type.typeSize();
                ADD_FAILURE() << "no size error";
            } catch (const InvalidOp& e) {
                EXPECT_EQ(e.code(), InvalidOp::RTRC_InvalidValue);
            }
        } else {
            EXPECT_EQ(type.typeSize(), c.size);
        }
    }
}

TEST_F(HostileSizesTest, NestedDescriptorDimensionsAreChecked)
{
    // The outer stride of a two-entry descriptor is the inner count times
    // its length; an inner dimension out of range is refused there too.
    TYPE_INDEX inner = descriptor(1, std::int64_t(1) << 40, std::nullopt, TYPE_INDEX{0, 130}, 2, 2);
    TYPE_INDEX outer = descriptor(0, 9, std::nullopt, inner, 1, 2);
    TypeItem::Dimension d;
    EXPECT_EQ(invalidOpCode([&] { TypeItem(outer).getDimension(1, d); }), InvalidOp::RTRC_InvalidValue);

    TYPE_INDEX overflowing = descriptor(int64Min, int64Max, std::nullopt, TYPE_INDEX{0, 130}, 2, 2);
    TYPE_INDEX outer2 = descriptor(0, 9, std::nullopt, overflowing, 1, 2);
    EXPECT_EQ(invalidOpCode([&] { TypeItem(outer2).getDimension(1, d); }), InvalidOp::RTRC_InvalidValue);

    TYPE_INDEX sane = descriptor(1, 3, std::nullopt, TYPE_INDEX{0, 130}, 2, 2);
    TYPE_INDEX matrix = descriptor(0, 9, std::nullopt, sane, 1, 2);
    TypeItem(matrix).getDimension(1, d);
    EXPECT_EQ(d.count, 10);
    EXPECT_EQ(d.length, 12u);
    EXPECT_EQ(TypeItem(matrix).typeSize(), 120u);
}

TEST_F(HostileSizesTest, CobolKeepsItsOwnLengthRule)
{
    // COBOL lengths of 0x8000000 and more, or negative, read as no size.
    const TYPE_INDEX negative = dynamicString(-1);
    const TYPE_INDEX huge = dynamicString(std::int64_t(1) << 33);
    useLanguage(EvaluationEnvironment::languageCOBOL);
    EXPECT_EQ(TypeItem(negative).typeSize(), 0u);
    EXPECT_EQ(TypeItem(huge).typeSize(), 0u);
}

TEST(ObjectSize, ProductAndSignedChecks)
{
    EXPECT_EQ(ObjectSize::product(1024, 1024, "t", 1), 1u << 20);
    EXPECT_EQ(ObjectSize::product(0, ~0ull, "t", 1), 0u);
    EXPECT_EQ(ObjectSize::checkedSigned(0, "t", 1), 0u);
    for (auto f : std::vector<std::function<void()>>{
             [] { ObjectSize::product(1ull << 32, 1ull << 32, "t", 1); }, [] { ObjectSize::product(limit, 2, "t", 1); },
             [] { ObjectSize::checkedSigned(-1, "t", 1); }, [] { ObjectSize::checked(limit + 1, "t", 1); }}) {
        EXPECT_EQ(invalidOpCode(f), InvalidOp::RTRC_InvalidValue);
    }
}

} // namespace
