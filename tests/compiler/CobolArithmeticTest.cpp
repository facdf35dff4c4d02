// COBOL arithmetic through the analyser's entry over names of the simulated
// program: the first pass (operation count, largest fraction digits,
// floating point) and the intermediate precision of each operator.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "AnalyserFixture.h"
#include "compiler/EE_OstrelLiteralValue.h"
#include "frontend/EE_FunctionCallExpression.h"
#include "frontend/EE_LiteralExpression.h"
#include "frontend/EE_Parameter.h"
#include "frontend/EE_UnaryExpression.h"
#include "frontend/EE_ParenthesesExpression.h"
#include "frontend/EE_Parser.h"

namespace {

using BE = EE_BinaryExpression;

class CobolArithmetic : public CobolAnalyserTest {
protected:
    void item(const char* name, TYPE_INDEX type)
    {
        _SYMBOL_ENTRY& e = records().staticVariable(name, type, 1, 0x20 + 0x20 * count++);
        e.statics.attributeD = 1;
        host.declare(*mainContext, e);
    }
    TYPE_INDEX packed(int digits, int fraction, bool isSigned = true)
    {
        return records().packedDecimalType(static_cast<UBYTE1>(digits), static_cast<signed char>(-fraction), isSigned);
    }
    TYPE_INDEX zoned(int digits, int fraction, bool isSigned = true)
    {
        return records().zonedDecimalType(static_cast<UBYTE1>(digits), static_cast<signed char>(-fraction), isSigned,
                                          TN_SignTrailingEmbedded);
    }
    TYPE_INDEX binaryItem(int bytes, int digits, int fraction, bool isSigned = true)
    {
        return records().binaryType(static_cast<UBYTE1>(bytes), static_cast<UBYTE1>(digits),
                                    static_cast<signed char>(-fraction), isSigned);
    }

    // SET text TO TRUE analysed on a fresh analyser: the assignment it
    // becomes, or null (with the failure recorded) when it is refused or is
    // no assignment.
    EE_BinaryExpression* setToTrue(const char* text)
    {
        EE_Parser parser(*services, 0);
        EE_Expression* condition = parser.parseTheExpression(text, 0);
        EE_Expression* truth = services->createLiteralExpression(services->findOrCreateTrueLiteralValue());
        EE_ExpressionEvaluator fresh(*services);
        Outcome o = outcomeOf([&] {
            return &fresh.analyze(*services->createBinaryExpression(BE::CobolSet, condition, truth),
                                  EE_ExpressionEvaluator::LoadValue);
        });
        if (o.node == nullptr) {
            ADD_FAILURE() << "refused with " << o.code;
            return nullptr;
        }
        EE_BinaryExpression* store = o.node->asBinaryExpression();
        if (store == nullptr)
            ADD_FAILURE() << "not a binary expression";
        return store;
    }

    // The literal value under any casts, or null.
    static const EE_OstrelLiteralValue* literalUnderCasts(EE_Expression* e)
    {
        while (EE_CastExpression* c = e->asCastExpression())
            e = c->operand;
        EE_LiteralExpression* literal = e->asLiteralExpression();
        return literal != nullptr ? static_cast<const EE_OstrelLiteralValue*>(literal->value) : nullptr;
    }

    // The right side parsed as COBOL; with a receiving item, the COMPUTE
    // statement's assignment over it.
    EE_Expression& statement(const char* receiver, const char* text)
    {
        EE_Parser parser(*services, 0);
        EE_Expression* right = parser.parseTheExpression(text, 0);
        if (receiver == nullptr)
            return *right;
        return *services->createBinaryExpression(BE::Assign, &name(receiver), right);
    }

    // The analysed statement's arithmetic node: the right side of a COMPUTE.
    const TD& resultOf(EE_Expression* analysed)
    {
        EE_BinaryExpression* b = analysed->asBinaryExpression();
        if (b != nullptr && b->kind == BE::Assign) {
            EE_Expression* right = b->right;
            while (EE_CastExpression* c = right->asCastExpression())
                right = c->operand;
            return *right->typeDescriptor;
        }
        return *analysed->typeDescriptor;
    }

    int count = 0;
};

TEST_F(CobolArithmetic, FirstPassCountsOperationsAndFractionDigits)
{
    item("A", packed(7, 2));
    item("B", packed(7, 4));
    item("C", zoned(5, 1));
    item("X", packed(15, 0));
    item("X3", packed(15, 3));
    item("H", packed(3, 1));
    struct Row {
        const char* receiver;
        const char* text;
        unsigned ops, dmax;
        bool floating;
    } rows[] = {
        {"X", "A + B", 1, 0, false},         {"X3", "A + B", 1, 3, false},
        {"X", "A + B + C", 2, 4, false},     {nullptr, "A + B", 1, 4, false}, // a bare sum counts both operands
        {"X", "A ** 2", 1, 0, false},                                         // squaring keeps the cleared counts
        {"X", "A ** 3", 1, 2, false},        {"X", "A ** 0.5", 1, 2, true},   // a fractional exponent; the base counts
        {"X", "A ** H", 1, 2, true},         {"X", "A * B", 1, 0, false},
        {"X", "A / B", 1, 0, false},         {nullptr, "A / B", 1, 2, false}, // the divisor never counts
        {nullptr, "A + B * C", 2, 4, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.receiver ? r.receiver : "-") + " = " + r.text);
        EE_ExpressionEvaluator fresh(*services);
        EE_Expression& s = statement(r.receiver, r.text);
        fresh.firstPass(s, 1, 0);
        EXPECT_EQ(fresh.numArithOps(), r.ops);
        EXPECT_EQ(fresh.dmax(), r.dmax);
        EXPECT_EQ(fresh.hasFloatingPoint(), r.floating);
        EXPECT_TRUE(fresh.doFProunding());
    }
}

struct Precision {
    const char* what;
    const char* receiver;
    const char* text;
    unsigned kind, digits;
    int scale;
    bool isSigned;
};

TEST_F(CobolArithmetic, IntermediatePrecisionOfEachOperator)
{
    item("P52", packed(5, 2));       // i = 3, f = 2
    item("Z30", zoned(3, 0));        // i = 3
    item("B9", binaryItem(4, 9, 0)); // counts 10 digits
    item("B9U", binaryItem(4, 9, 0, false));
    item("B4", binaryItem(2, 4, 0)); // counts 5 digits
    item("P2", packed(6, 2, false)); // i = 4, f = 2
    item("P4", packed(8, 4, false)); // i = 4, f = 4
    item("R2", packed(31, 2));
    item("R3", packed(18, 3));
    item("X", packed(18, 0));
    item("I12", packed(17, 5)); // i = 12, f = 5
    item("I13", packed(18, 5)); // i = 13, f = 5
    item("I15", packed(20, 5)); // i = 15, f = 5
    item("U5", packed(5, 0, false));
    item("U4", packed(4, 0, false));
    item("U3", zoned(3, 0, false));
    const Precision rows[] = {
        // the common kind is the left's converted toward the right's
        {"packed 5,2 + zoned 3,0", nullptr, "P52 + Z30", TD::ZonedDecimal, 6, -2, true},
        {"two binaries of 9 digits multiplied become packed", nullptr, "B9 * B9", TD::PackedDecimal, 20, 0, true},
        {"unsigned binaries added stay binary", nullptr, "B9U + B9U", TD::FixedPointBinary, 11, 0, false},
        {"short binaries multiplied stay binary", nullptr, "B4 * B4", TD::FixedPointBinary, 10, 0, true},
        {"unsigned minus unsigned is signed", nullptr, "U5 - U4", TD::PackedDecimal, 6, 0, true},
        {"unsigned sum stays unsigned", nullptr, "U5 + U4", TD::PackedDecimal, 6, 0, false},
        {"unsigned zoned meeting packed becomes signed", nullptr, "U5 + U3", TD::ZonedDecimal, 6, 0, true},
        {"division: the larger of f2 - f1 and dmax", "R3", "P2 / P4", TD::PackedDecimal, 11, -3, false},
        {"exponentiation: 31 digits with dmax fraction digits", "R3", "P52 ** 3", TD::PackedDecimal, 31, -3, true},
        {"over 31 digits: dr becomes 31 - ipr", "R2", "I12 * I13", TD::PackedDecimal, 31, -6, true},
        {"over 31 digits: dr becomes dmax when ipr + dmax exceeds 31", "R2", "I15 * I15", TD::PackedDecimal, 31, -2,
         true},
        {"within 31 digits nothing is cut", "R2", "I15 * P52", TD::PackedDecimal, 25, -7, true},
    };
    for (const Precision& r : rows) {
        SCOPED_TRACE(r.what);
        EE_ExpressionEvaluator fresh(*services);
        Outcome o = outcomeOf([&] { return fresh.analyze(statement(r.receiver, r.text)); });
        ASSERT_NE(o.node, nullptr) << "refused with " << o.code;
        const TD& t = resultOf(o.node);
        EXPECT_EQ(t.kind, r.kind);
        EXPECT_EQ(t.digits, r.digits);
        EXPECT_EQ(t.scale, r.scale);
        EXPECT_EQ(t.isSigned != 0, r.isSigned);
        // sign codes: 1 unsigned, 3 signed
        EXPECT_EQ(static_cast<unsigned>(t.decimalSign), r.isSigned ? 3u : 1u);
    }
}

// A signed national decimal result has sign code 4; operands that are not
// numbers are refused, naming the operand.
TEST_F(CobolArithmetic, NationalDecimalSignCodeAndRefusedOperands)
{
    EE_BinaryExpression& sum =
        binary(BE::Add, leaf(fixed(TD::NationalDecimal, 4, -1, true)), leaf(fixed(TD::NationalDecimal, 3, 0, true)));
    const TD& t = *analyser->analyze(sum, EE_ExpressionEvaluator::LoadValue).typeDescriptor;
    EXPECT_EQ(t.kind, TD::NationalDecimal);
    EXPECT_EQ(t.digits, 5u);
    EXPECT_EQ(t.scale, -1);
    EXPECT_EQ(static_cast<unsigned>(t.decimalSign), 4u);

    EE_Expression& text = leaf(alphanumeric(4));
    EE_BinaryExpression& bad = binary(BE::Add, leaf(fixed(TD::PackedDecimal, 4, 0, true)), text);
    Outcome o = outcomeOf([&] { return &analyser->analyze(bad, EE_ExpressionEvaluator::LoadValue); });
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.carried, &text);
    EE_BinaryExpression& rest =
        binary(BE::Remainder, leaf(fixed(TD::PackedDecimal, 4, 0, true)), leaf(fixed(TD::PackedDecimal, 4, 0, true)));
    o = outcomeOf([&] { return &analyser->analyze(rest, EE_ExpressionEvaluator::LoadValue); });
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.carried, &rest);
    EE_BinaryExpression& address =
        binary(BE::Add, leaf(fixed(TD::PackedDecimal, 4, 0, true)), leaf(fixed(TD::PackedDecimal, 4, 0, true)));
    o = outcomeOf([&] { return &analyser->analyze(address, EE_ExpressionEvaluator::LoadAddress); });
    EXPECT_EQ(o.code, 2);
    EXPECT_EQ(o.carried, &address);
}

// SET condition-name TO TRUE stores the condition's first value (of a
// list its first, of a range its low bound), as the numeric literal of the
// number it holds, into the conditional variable;
// any other right operand is refused, naming the condition; a condition
// name takes no part in arithmetic.
TEST_F(CobolArithmetic, SetConditionNameToTrueAssignsItsFirstValue)
{
    const TYPE_INDEX digit = packed(1, 0, false);
    static const unsigned char seven = 0x7F, three = 0x3F, five = 0x5F, nine = 0x9F;
    TNconditionValue single[1] = {{digit, &seven}};
    TNconditionValue list[2] = {{digit, &three}, {digit, &nine}};
    TNconditionRange range[1] = {{{digit, &five}, {digit, &nine}}};
    TNconditionElement elements[3] = {};
    elements[0].name = "IS-SEVEN";
    elements[0].valueCount = 1;
    elements[0].values = single;
    elements[1].name = "IS-ODD";
    elements[1].valueCount = 2;
    elements[1].values = list;
    elements[2].name = "IS-HIGH";
    elements[2].rangeCount = 1;
    elements[2].ranges = range;
    _TYPE_ENTRY& record = records().newType(TE_CONDITION);
    record.condvar.count = 3;
    record.condvar.conditions = elements;
    TYPE_INDEX statusType{};
    _TYPE_ENTRY& qualifier = records().newType(TE_QUALIFIER, &statusType);
    qualifier.qualifier.type = digit;
    qualifier.qualifier.conditions = &record.condvar;
    _SYMBOL_ENTRY& status = records().staticVariable("STATUS-CODE", statusType, 1, 0x40);
    status.statics.attributeD = 1;
    host.declare(*mainContext, status);
    for (const char* n : {"IS-SEVEN", "IS-ODD", "IS-HIGH"}) {
        _SYMBOL_ENTRY& condition = records().newSymbol(SE_QUALIFIED_NAME, n);
        condition.qualified.parent = &status;
        host.declare(*mainContext, condition);
    }
    item("N", packed(3, 0));

    struct Row {
        const char* condition;
        const char* stored; // the literal's text
    } rows[] = {{"IS-SEVEN", "7"}, {"IS-ODD", "3"}, {"IS-HIGH", "5"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.condition);
        EE_BinaryExpression* store = setToTrue(r.condition);
        ASSERT_NE(store, nullptr);
        EXPECT_EQ(store->kind, BE::Assign);
        EXPECT_STREQ(store->left->signature(1).data(), "STATUS-CODE");
        EXPECT_EQ(store->typeDescriptor->kind, TD::PackedDecimal);
        const EE_OstrelLiteralValue* first = literalUnderCasts(store->right);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(std::string(first->text.data(), first->text.length()), r.stored);
    }

    EE_Parser parser(*services, 0);
    EE_Expression* closed = parser.parseTheExpression("IS-SEVEN", 0);
    for (EE_Expression* other :
         {static_cast<EE_Expression*>(services->createLiteralExpression(services->findOrCreateFalseLiteralValue())),
          &name("N")}) {
        EE_ExpressionEvaluator fresh(*services);
        Outcome o = outcomeOf([&] {
            return &fresh.analyze(*services->createBinaryExpression(BE::CobolSet, closed, other),
                                  EE_ExpressionEvaluator::LoadValue);
        });
        EXPECT_EQ(o.code, 4);
        EXPECT_EQ(o.carried, closed);
    }
    // Read, a condition name is not expanded.
    EXPECT_EQ(services->expandConditionNameExpression(*closed, 0), nullptr);
    EE_ExpressionEvaluator fresh(*services);
    BE& sum = *services->createBinaryExpression(BE::Add, &name("N"), services->createParenthesesExpression(closed));
    Outcome o = outcomeOf([&] { return &fresh.analyze(sum, EE_ExpressionEvaluator::LoadValue); });
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.carried, closed);
}

// In a table of conditional variables, SET condition-name(n) TO TRUE
// stores the condition's first value into element n of the table.
TEST_F(CobolArithmetic, SetSubscriptedConditionNameToTrue)
{
    const TYPE_INDEX digit = packed(1, 0, false);
    using Value = HostRecordStore::ConditionValue;
    const HostRecordStore::ConditionTable table =
        records().conditionTable("TBL", "ST", digit, 1, 3, 1, 0x40,
                                 {{"ST-OPEN", {Value{digit, {0x1F}}, Value{digit, {0x2F}}}},
                                  {"ST-SHUT", {}, {{Value{digit, {0x5F}}, Value{digit, {0x9F}}}}}});
    host.declare(*mainContext, *table.group);
    for (_SYMBOL_ENTRY* s : table.conditions)
        host.declare(*mainContext, *s);

    struct Row {
        const char* condition;
        const char* index;
        const char* stored; // the literal's text
    } rows[] = {{"ST-OPEN(2)", "2", "1"}, {"ST-SHUT(3)", "3", "5"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.condition);
        EE_BinaryExpression* store = setToTrue(r.condition);
        ASSERT_NE(store, nullptr);
        EXPECT_EQ(store->kind, BE::Assign);
        EXPECT_EQ(store->typeDescriptor->kind, TD::PackedDecimal);
        EE_Expression* element = store->left;
        while (EE_CastExpression* c = element->asCastExpression())
            element = c->operand;
        EE_BinaryExpression* subscript = element->asBinaryExpression();
        ASSERT_NE(subscript, nullptr);
        EXPECT_EQ(subscript->kind, BE::Subscript);
        EXPECT_STREQ(subscript->left->signature(1).data(), "ST");
        const EE_OstrelLiteralValue* position = literalUnderCasts(subscript->right);
        ASSERT_NE(position, nullptr);
        EXPECT_EQ(std::string(position->text.data(), position->text.length()), r.index);
        const EE_OstrelLiteralValue* first = literalUnderCasts(store->right);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(std::string(first->text.data(), first->text.length()), r.stored);
    }
}

// A CALL passes by reference (an address), by reference of an address (the
// parameter wrapped in ADDRESS OF) and by content (a value); it has no value.
TEST_F(CobolArithmetic, CallParametersByMode)
{
    item("N", packed(3, 0));
    EE_Parser parser(*services, 0);
    EE_Expression* program = parser.parseTheExpression("'PROG'", 0);
    EE_Parameter* third = services->createParameter(&name("N"), nullptr);
    EE_Parameter* second = services->createParameter(&name("N"), third);
    EE_Parameter* first = services->createParameter(&name("N"), second);
    first->mode = 1;
    second->mode = 2;
    third->mode = 3;
    EE_FunctionCallExpression* call = services->createFunctionCallExpression(program, first, 0);
    EE_ExpressionEvaluator fresh(*services);
    fresh.analyze(*call);
    EXPECT_EQ(call->typeDescriptor->kind, TD::Void);
    EXPECT_EQ(call->parameterCount, 3u);
    EXPECT_EQ(first->expression->typeDescriptor->kind, TD::PackedDecimal);
    ASSERT_NE(second->expression->asUnaryExpression(), nullptr);
    EXPECT_EQ(second->expression->asUnaryExpression()->kind, EE_UnaryExpression::AddressOf);
    EXPECT_EQ(second->expression->typeDescriptor->kind, TD::Pointer);
    EXPECT_EQ(third->expression->typeDescriptor->kind, TD::PackedDecimal);
}

// GnuCOBOL's COMPUTE R = A op B into an ample receiver with 6 fraction
// digits (data/cobol_compute.txt, made by gen/gen_cobol_compute.py): the
// intermediate type the analyser gives holds every digit of the result the
// receiver took. Rows over the 31-digit limit carry the limit's answer.
TEST_F(CobolArithmetic, IntermediatesCoverGnuCobolResults)
{
    item("R", packed(24, 6));
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    ASSERT_NE(dir, nullptr);
    std::ifstream in(std::string(dir) + "/cobol_compute.txt");
    std::string line;
    unsigned rows = 0;
    auto kindOf = [](const std::string& usage) {
        return usage == "COMP-3" ? TD::PackedDecimal : usage == "COMP" ? TD::FixedPointBinary : TD::ZonedDecimal;
    };
    // Integer and fraction digits of a decimal text.
    auto digitsOf = [](std::string text, unsigned& integer, unsigned& fraction) {
        if (!text.empty() && text[0] == '-')
            text.erase(0, 1);
        const size_t point = text.find('.');
        std::string whole = text.substr(0, point);
        while (whole.size() > 1 && whole[0] == '0')
            whole.erase(0, 1);
        integer = whole == "0" ? 0 : static_cast<unsigned>(whole.size());
        fraction = point == std::string::npos ? 0 : static_cast<unsigned>(text.size() - point - 1);
    };
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream f(line);
        std::string ua, ub, op, va, vb, result, note;
        unsigned da, fa, sa, db, fb, sb;
        f >> ua >> da >> fa >> sa >> ub >> db >> fb >> sb >> op >> va >> vb >> result >> note;
        SCOPED_TRACE(line);
        ++rows;
        const BE::Kind kind = op == "+" ? BE::Add : op == "-" ? BE::Subtract : op == "*" ? BE::Multiply : BE::Divide;
        EE_ExpressionEvaluator fresh(*services);
        EE_Expression& a = leaf(fixed(kindOf(ua), da, -static_cast<int>(fa), sa != 0));
        EE_Expression& b = leaf(fixed(kindOf(ub), db, -static_cast<int>(fb), sb != 0));
        EE_Expression& compute = binary(BE::Assign, name("R"), binary(kind, a, b));
        Outcome o = outcomeOf([&] { return fresh.analyze(compute); });
        ASSERT_NE(o.node, nullptr) << "refused with " << o.code;
        EXPECT_EQ(fresh.dmax(), 6u);
        const TD& t = resultOf(o.node);
        const unsigned dr = static_cast<unsigned>(-t.scale);
        const unsigned ipr = t.digits - dr;
        if (note == "limit") {
            EXPECT_EQ(t.digits, 31u);
            continue;
        }
        unsigned integer = 0, fraction = 0;
        digitsOf(result, integer, fraction);
        EXPECT_LE(integer, ipr);
        EXPECT_LE(fraction, dr);
        if (result[0] == '-' || op == "-") {
            EXPECT_NE(t.isSigned, 0);
        }
    }
    EXPECT_GT(rows, 1000u);
}

} // namespace
