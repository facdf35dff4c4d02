// COBOL comparisons (the relational conversion, operand A by operand B) and
// the assignment compatibility of receiving and sending items.

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "AnalyserFixture.h"
#include "compiler/EE_OstrelTypeDescriptor.h"
#include "frontend/EE_FigConstantExpression.h"
#include "frontend/EE_Parser.h"

namespace {

using BE = EE_BinaryExpression;
using Make = std::function<EE_Expression&()>;

class CobolOperands : public CobolAnalyserTest {
protected:
    EE_Expression& figurative(const char* word)
    {
        EE_Parser parser(*services, 0);
        EE_Expression* e = parser.parseTheExpression(word, 0);
        if (e->asFigConstantExpression() == nullptr)
            throw std::runtime_error(std::string("not a figurative constant: ") + word);
        return analyser->analyze(*e, EE_ExpressionEvaluator::LoadValue);
    }
    EE_Expression& item(TD* type) { return leaf(type); }
    // A COBOL literal as the scanner types it.
    EE_Expression& literal(const char* text)
    {
        EE_Parser parser(*services, 0);
        EE_Expression* e = parser.parseTheExpression(text, 0);
        if (e->asLiteralExpression() == nullptr)
            throw std::runtime_error(std::string("not a literal: ") + text);
        return analyser->analyze(*e, EE_ExpressionEvaluator::LoadValue);
    }
    TD* zoned(unsigned digits, int scale) { return fixed(TD::ZonedDecimal, digits, scale, true); }
    TD* packed(unsigned digits, int scale) { return fixed(TD::PackedDecimal, digits, scale, true); }
    TD* group() { return alphanumericGroup(); }
    TD* dbcs(unsigned length)
    {
        return services->findOrCreateDbcsStringTypeDescriptor(TD::DbcsString, length, false, false, false, nullptr);
    }
    TD* national(unsigned length)
    {
        return services->findOrCreateNationalStringTypeDescriptor(TD::NationalString, length, false, false, false,
                                                                  nullptr);
    }
    // A string item of the program whose host entry marks it as not
    // receiving or sending numbers (bit 5 of its flags).
    TD* textOnly(unsigned length)
    {
        TYPE_INDEX t;
        _TYPE_ENTRY& e = records().newType(TE_CHARSTRING, &t);
        e.charstring.size.length = length;
        e.charstring.flags |= 0x20;
        return services->findOrCreateTypeDescriptor(hostType(t));
    }
    TD* indexName() { return services->findOrCreateTypeDescriptor(hostType(records().indexNameType(4, 10))); }
    TD* indexDataItem() { return services->findOrCreateIndexDataItemTypeDescriptor(TD::IndexDataItem, 4); }
    TD* pointer() { return services->findOrCreatePointerTypeDescriptor(*services->signedIntTypeDescriptor(), 0); }
};

// What became of an operand: kept, or cast (to a kind, with a length or
// digit count where it matters).
struct Became {
    int kind = -1; // -1: kept
    unsigned size = 0;
    bool checkScale = false;
    int scale = 0;
};
Became kept()
{
    return {};
}
Became castTo(int kind, unsigned size = 0)
{
    return {kind, size};
}
// A cast to a number that keeps this scale (its places).
Became castKeeping(int kind, unsigned size, int scale)
{
    return {kind, size, true, scale};
}

TEST_F(CobolOperands, ComparisonsConvertOrRefuseByKind)
{
    struct Row {
        const char* what;
        Make left, right;
        bool allowed;
        Became leftBecame, rightBecame;
    };
    const Row rows[] = {
        {"alphanumeric against zoned 5,0 compares 5 bytes", [&]() -> EE_Expression& { return item(alphanumeric(5)); },
         [&]() -> EE_Expression& { return item(zoned(5, 0)); }, true, kept(), castTo(TD::AlphanumericString, 5)},
        {"alphanumeric against zoned with fraction digits",
         [&]() -> EE_Expression& { return item(alphanumeric(5)); },
         [&]() -> EE_Expression& { return item(zoned(5, -2)); },
         false,
         {},
         {}},
        {"alphanumeric against a double",
         [&]() -> EE_Expression& { return item(alphanumeric(5)); },
         [&]() -> EE_Expression& { return item(services->doubleTypeDescriptor()); },
         false,
         {},
         {}},
        {"group against zoned with fraction digits",
         [&]() -> EE_Expression& { return item(group()); },
         [&]() -> EE_Expression& { return item(zoned(5, -1)); },
         false,
         {},
         {}},
        {"group against an integral zoned item", [&]() -> EE_Expression& { return item(group()); },
         [&]() -> EE_Expression& { return item(zoned(5, 0)); }, true, kept(), kept()},
        {"group against a packed item",
         [&]() -> EE_Expression& { return item(group()); },
         [&]() -> EE_Expression& { return item(packed(5, 0)); },
         false,
         {},
         {}},
        {"DBCS against SPACE", [&]() -> EE_Expression& { return item(dbcs(8)); },
         [&]() -> EE_Expression& { return figurative("SPACE"); }, true, kept(), castTo(TD::DbcsString)},
        {"DBCS against ZERO",
         [&]() -> EE_Expression& { return item(dbcs(8)); },
         [&]() -> EE_Expression& { return figurative("ZERO"); },
         false,
         {},
         {}},
        {"ZERO against packed", [&]() -> EE_Expression& { return figurative("ZERO"); },
         [&]() -> EE_Expression& { return item(packed(5, -2)); }, true, castTo(TD::HexLongDouble), kept()},
        {"HIGH-VALUE against zoned with fraction digits",
         [&]() -> EE_Expression& { return figurative("HIGH-VALUE"); },
         [&]() -> EE_Expression& { return item(zoned(4, -1)); },
         false,
         {},
         {}},
        {"HIGH-VALUE against an integral zoned item", [&]() -> EE_Expression& { return figurative("HIGH-VALUE"); },
         [&]() -> EE_Expression& { return item(zoned(4, 0)); }, true, castTo(TD::AlphanumericString, 4),
         castTo(TD::AlphanumericString, 4)},
        // The binary keeps its own digits (10 for 9) and scale: cast to the
        // packed item's picture, 6.5 would compare as 6.
        {"packed against binary", [&]() -> EE_Expression& { return item(packed(7, -2)); },
         [&]() -> EE_Expression& { return item(fixed(TD::FixedPointBinary, 9, 0, true)); }, true, kept(),
         castKeeping(TD::PackedDecimal, 10, 0)},
        {"binary of more places against zoned",
         [&]() -> EE_Expression& { return item(fixed(TD::FixedPointBinary, 4, -3, true)); },
         [&]() -> EE_Expression& { return item(zoned(3, 0)); }, true, castKeeping(TD::ZonedDecimal, 5, -3), kept()},
        {"national decimal against binary",
         [&]() -> EE_Expression& {
             return item(fixed(TD::NationalDecimal, 3, 0, false, EE_DecimalSignTrailingSeparate));
         },
         [&]() -> EE_Expression& { return item(fixed(TD::FixedPointBinary, 4, -1, true)); }, true, kept(),
         castKeeping(TD::NationalDecimal, 0, -1)},
        {"index name against packed with fraction digits",
         [&]() -> EE_Expression& { return item(indexName()); },
         [&]() -> EE_Expression& { return item(packed(5, -1)); },
         false,
         {},
         {}},
        {"index name against an integral zoned item", [&]() -> EE_Expression& { return item(indexName()); },
         [&]() -> EE_Expression& { return item(zoned(3, 0)); }, true, kept(), kept()},
        {"index data item against an index name", [&]() -> EE_Expression& { return item(indexDataItem()); },
         [&]() -> EE_Expression& { return item(indexName()); }, true, kept(), castTo(TD::IndexDataItem)},
        {"index data item against packed",
         [&]() -> EE_Expression& { return item(indexDataItem()); },
         [&]() -> EE_Expression& { return item(packed(3, 0)); },
         false,
         {},
         {}},
        {"national against alphanumeric of 3 bytes", [&]() -> EE_Expression& { return item(national(6)); },
         [&]() -> EE_Expression& { return item(alphanumeric(3)); }, true, kept(), castTo(TD::NationalString, 6)},
        {"national against a hexadecimal literal, byte for byte", [&]() -> EE_Expression& { return item(national(2)); },
         [&]() -> EE_Expression& { return literal("X'00C1'"); }, true, kept(), kept()},
        {"hexadecimal literal against national", [&]() -> EE_Expression& { return literal("X'00C1'"); },
         [&]() -> EE_Expression& { return item(national(2)); }, true, kept(), kept()},
        {"national against a one-byte literal", [&]() -> EE_Expression& { return item(national(2)); },
         [&]() -> EE_Expression& { return literal("'A'"); }, true, kept(), castTo(TD::NationalString, 2)},
        {"one-byte literal against national", [&]() -> EE_Expression& { return literal("'A'"); },
         [&]() -> EE_Expression& { return item(national(2)); }, true, castTo(TD::NationalString, 2), kept()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EE_Expression& left = r.left();
        EE_Expression& right = r.right();
        BE& node = binary(BE::Equal, left, right);
        Outcome o = outcomeOf([&] { return &analyser->analyze(node, EE_ExpressionEvaluator::LoadValue); });
        if (!r.allowed) {
            EXPECT_EQ(o.code, 2);
            EXPECT_EQ(o.carried, &node);
            continue;
        }
        ASSERT_EQ(o.node, &node) << "refused with " << o.code;
        EXPECT_EQ(node.typeDescriptor->kind, TD::Bool);
        for (auto [now, was, became] :
             {std::tuple{node.left, &left, r.leftBecame}, std::tuple{node.right, &right, r.rightBecame}}) {
            if (became.kind < 0) {
                EXPECT_EQ(now, was);
                continue;
            }
            ASSERT_NE(now->asCastExpression(), nullptr);
            EXPECT_EQ(static_cast<int>(now->typeDescriptor->kind), became.kind);
            if (became.checkScale) {
                EXPECT_EQ(now->typeDescriptor->scale, became.scale);
            }
            if (became.size != 0 && now->typeDescriptor->kind == TD::PackedDecimal)
                EXPECT_EQ(now->typeDescriptor->digits, became.size);
            else if (became.size != 0) {
                long long size = 0;
                ASSERT_TRUE(services->sizeOf(*now->typeDescriptor, size));
                EXPECT_EQ(size, static_cast<long long>(became.size));
            }
        }
    }
    // Two figurative constants are refused, naming the left.
    EE_Expression& zero = figurative("ZERO");
    Outcome o = outcomeOf([&] {
        return &analyser->analyze(binary(BE::Equal, zero, figurative("SPACE")), EE_ExpressionEvaluator::LoadValue);
    });
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.carried, &zero);
}

// A hexadecimal literal's type carries its mark wherever the type is found
// again: a second literal of its length shares it, a plain literal of that
// length does not, and copies keep it.
TEST_F(CobolOperands, HexadecimalLiteralMarkSurvivesTypeLookups)
{
    auto typeOf = [](EE_Expression& e) { return EE_OstrelTypeDescriptor::typeOf(*e.typeDescriptor); };
    const TypeItem* hex = typeOf(literal("X'C1C2'"));
    const TypeItem* plain = typeOf(literal("'AB'"));
    ASSERT_NE(hex, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_TRUE(hex->isHexadecimalLiteral());
    EXPECT_FALSE(plain->isHexadecimalLiteral());
    EXPECT_NE(hex, plain);
    EXPECT_EQ(typeOf(literal("X'00c1'")), hex);
    EXPECT_EQ(typeOf(literal("'CD'")), plain);
    EXPECT_TRUE(TypeItem(*hex).isHexadecimalLiteral());
    TypeItem assigned;
    assigned = *hex;
    EXPECT_TRUE(assigned.isHexadecimalLiteral());
    EXPECT_FALSE(TypeItem().isHexadecimalLiteral());
    // After a plain literal of the length was made, the marked type is
    // still the one found for the next hexadecimal literal.
    EXPECT_EQ(typeOf(literal("X'FFFF'")), hex);
}

TEST_F(CobolOperands, AssignmentCompatibility)
{
    struct Row {
        const char* what;
        Make receiver, sender;
        bool allowed;
    };
    const Row rows[] = {
        {"alphanumeric from a group", [&]() -> EE_Expression& { return item(alphanumeric(8)); },
         [&]() -> EE_Expression& { return item(group()); }, true},
        {"alphanumeric from an integral packed item", [&]() -> EE_Expression& { return item(alphanumeric(8)); },
         [&]() -> EE_Expression& { return item(packed(5, 0)); }, true},
        {"text-only alphanumeric from an integral packed item", [&]() -> EE_Expression& { return item(textOnly(8)); },
         [&]() -> EE_Expression& { return item(packed(5, 0)); }, false},
        {"alphanumeric from packed with fraction digits", [&]() -> EE_Expression& { return item(alphanumeric(8)); },
         [&]() -> EE_Expression& { return item(packed(5, -1)); }, false},
        {"alphanumeric edited from an integral packed item",
         [&]() -> EE_Expression& {
             return item(services->findOrCreateAlphaNumericEditedTypeDescriptor(TD::AlphanumericEdited, 8));
         },
         [&]() -> EE_Expression& { return item(packed(5, 0)); }, true},
        {"alphanumeric from NULL", [&]() -> EE_Expression& { return item(alphanumeric(8)); },
         [&]() -> EE_Expression& { return figurative("NULL"); }, false},
        {"numeric from an alphanumeric item", [&]() -> EE_Expression& { return item(packed(5, 0)); },
         [&]() -> EE_Expression& { return item(alphanumeric(5)); }, true},
        {"numeric from a text-only alphanumeric item", [&]() -> EE_Expression& { return item(packed(5, 0)); },
         [&]() -> EE_Expression& { return item(textOnly(5)); }, false},
        {"numeric from ZERO", [&]() -> EE_Expression& { return item(packed(5, 0)); },
         [&]() -> EE_Expression& { return figurative("ZERO"); }, true},
        {"numeric from a pointer", [&]() -> EE_Expression& { return item(zoned(5, 0)); },
         [&]() -> EE_Expression& { return item(pointer()); }, false},
        {"numeric from NULL", [&]() -> EE_Expression& { return item(zoned(5, 0)); },
         [&]() -> EE_Expression& { return figurative("NULL"); }, false},
        {"pointer from NULL", [&]() -> EE_Expression& { return item(pointer()); },
         [&]() -> EE_Expression& { return figurative("NULLS"); }, true},
        {"pointer from a pointer", [&]() -> EE_Expression& { return item(pointer()); },
         [&]() -> EE_Expression& { return item(pointer()); }, true},
        {"pointer from a number", [&]() -> EE_Expression& { return item(pointer()); },
         [&]() -> EE_Expression& { return item(packed(5, 0)); }, false},
        {"group from an index name", [&]() -> EE_Expression& { return item(group()); },
         [&]() -> EE_Expression& { return item(indexName()); }, false},
        {"group from a number", [&]() -> EE_Expression& { return item(group()); },
         [&]() -> EE_Expression& { return item(packed(5, -2)); }, true},
        {"index data item from an index name", [&]() -> EE_Expression& { return item(indexDataItem()); },
         [&]() -> EE_Expression& { return item(indexName()); }, true},
        {"index data item from a number", [&]() -> EE_Expression& { return item(indexDataItem()); },
         [&]() -> EE_Expression& { return item(packed(3, 0)); }, false},
        {"index name from an integral item", [&]() -> EE_Expression& { return item(indexName()); },
         [&]() -> EE_Expression& { return item(zoned(3, 0)); }, true},
        {"index name from a fraction", [&]() -> EE_Expression& { return item(indexName()); },
         [&]() -> EE_Expression& { return item(zoned(3, -1)); }, false},
        {"DBCS from alphanumeric", [&]() -> EE_Expression& { return item(dbcs(8)); },
         [&]() -> EE_Expression& { return item(alphanumeric(8)); }, false},
        {"DBCS from DBCS", [&]() -> EE_Expression& { return item(dbcs(8)); },
         [&]() -> EE_Expression& { return item(dbcs(4)); }, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EE_Expression& receiver = r.receiver();
        BE& node = binary(BE::Assign, receiver, r.sender());
        Outcome o = outcomeOf([&] { return &analyser->analyze(node, EE_ExpressionEvaluator::LoadValue); });
        if (!r.allowed) {
            EXPECT_EQ(o.code, 0);
            EXPECT_EQ(o.carried, &receiver);
            continue;
        }
        ASSERT_EQ(o.node, &node) << "refused with " << o.code;
        // The sender is converted to the receiving type unless it is of it.
        EXPECT_TRUE(services->isSameAs(*node.right->typeDescriptor, *node.typeDescriptor) ||
                    node.typeDescriptor->kind == TD::Class);
    }
}

} // namespace
