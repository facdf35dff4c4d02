#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "CobolFixture.h"
#include "services/InvalidOp.h"

// Item arithmetic on COBOL literals and MOVE into decimal pictures, against
// the frozen table of gen/gen_cobol_numeric.py (Python's decimal for the
// arithmetic, GnuCOBOL for the MOVE results).

namespace {

class CobolNumericOracleTest : public CobolFixture {
protected:
    static UBYTE1 binaryLength(unsigned digits) { return digits <= 4 ? 2 : digits <= 9 ? 4 : 8; }

    TYPE_INDEX target(char kind, unsigned digits, unsigned places, bool isSigned, unsigned sign)
    {
        const auto scale = static_cast<signed char>(-static_cast<int>(places));
        if (kind == 'P')
            return records().packedDecimalType(static_cast<UBYTE1>(digits), scale, isSigned);
        if (kind == 'B')
            return records().binaryType(binaryLength(digits), static_cast<UBYTE1>(digits), scale, isSigned);
        if (kind == 'Z')
            return records().zonedDecimalType(static_cast<UBYTE1>(digits), scale, isSigned,
                                              static_cast<TN_DecimalSign>(sign));
        return records().nationalDecimalType(static_cast<UBYTE1>(digits), scale, isSigned,
                                             static_cast<TN_DecimalSign>(sign));
    }

    std::vector<std::uint8_t> expectedImage(char kind, const std::string& result, unsigned digits, bool isSigned,
                                            unsigned sign)
    {
        if (kind == 'P')
            return decimalimage::packed(result, digits, isSigned);
        if (kind == 'B')
            return decimalimage::binary(std::stoll(result), binaryLength(digits));
        if (kind == 'Z')
            return decimalimage::zoned(result, digits, isSigned, static_cast<TN_DecimalSign>(sign));
        return decimalimage::national(result, digits, isSigned, static_cast<TN_DecimalSign>(sign));
    }

    // -1, 0 or 1 from the stack's comparisons of two literals.
    int compared(char lk, const std::string& a, char rk, const std::string& b)
    {
        pushLiteral(lk, a);
        pushLiteral(rk, b);
        stack().genLT();
        std::unique_ptr<StackItem> lt(stack().pop());
        pushLiteral(lk, a);
        pushLiteral(rk, b);
        stack().genGT();
        std::unique_ptr<StackItem> gt(stack().pop());
        return lt->asSigned() ? -1 : gt->asSigned() ? 1 : 0;
    }
};

// Calls row with the fields after the tag of every line of that tag;
// answers how many there were.
template <class Row>
unsigned forEachRow(const std::string& tag, Row row)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/cobol_numeric.txt");
    std::string line;
    unsigned rows = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string first;
        if (!(fields >> first) || first != tag)
            continue;
        SCOPED_TRACE(line);
        ++rows;
        row(fields);
    }
    return rows;
}

} // namespace

TEST_F(CobolNumericOracleTest, ArithmeticOnLiterals)
{
    const unsigned rows = forEachRow("ARITH", [&](std::istringstream& fields) {
        std::string lk, rk, op, a, b, result;
        fields >> lk >> rk >> op >> a >> b >> result;
        if (op == "cmp") {
            EXPECT_EQ(std::to_string(compared(lk[0], a, rk[0], b)), result);
            return;
        }
        pushLiteral(lk[0], a);
        pushLiteral(rk[0], b);
        const int code = raisedCode([&] {
            if (op == "add")
                stack().genAdd();
            else if (op == "sub")
                stack().genSubtract();
            else if (op == "mul")
                stack().genMult();
            else
                stack().genDivide();
        });
        std::unique_ptr<StackItem> left(stack().pop());
        if (result == "ERR:3") {
            EXPECT_EQ(code, InvalidOp::RTRC_DivideByZero);
            EXPECT_EQ(plainText(*left), plainText(*literal(lk[0], a))) << "the left value is kept";
        } else {
            ASSERT_EQ(code, 0);
            EXPECT_EQ(plainText(*left), result);
            // The item keeps its kind and takes the type of its new value.
            EXPECT_EQ(left->size(), left->type().typeSize());
            EXPECT_EQ(imageOf(*left).size(), left->size());
        }
        EXPECT_EQ(stack().count(), 0u);
    });
    EXPECT_GT(rows, 200u) << "cobol_numeric.txt was not found or is cut short";
}

TEST_F(CobolNumericOracleTest, BinaryArithmetic)
{
    const auto item = [&](unsigned digits, int scale, long long value) {
        const UBYTE1 length = binaryLength(digits);
        return loaded(records().binaryType(length, static_cast<UBYTE1>(digits), static_cast<signed char>(scale), true),
                      decimalimage::binary(value, length));
    };
    const unsigned rows = forEachRow("BINARY", [&](std::istringstream& fields) {
        std::string op, result;
        unsigned ld = 0, rd = 0;
        int ls = 0, rs = 0;
        long long lv = 0, rv = 0;
        fields >> op >> ld >> ls >> lv >> rd >> rs >> rv >> result;
        std::unique_ptr<StackItem> left = item(ld, ls, lv);
        std::unique_ptr<StackItem> right = item(rd, rs, rv);
        if (op == "cmp") {
            const int relation = left->genLT(*right) ? -1 : left->genGT(*right) ? 1 : 0;
            EXPECT_EQ(std::to_string(relation), result);
            EXPECT_EQ(left->genEQ(*right), result == "0" ? 1 : 0);
            return;
        }
        if (op == "add")
            left->genAdd(*right);
        else if (op == "sub")
            left->genSubtract(*right);
        else
            left->genMult(*right);
        EXPECT_EQ(plainText(*left), result);
        EXPECT_EQ(imageOf(*left).size(), left->type().typeEntry()->binary.byteLength);
    });
    EXPECT_GT(rows, 100u) << "cobol_numeric.txt was not found or is cut short";
}

TEST_F(CobolNumericOracleTest, MoveIntoDecimalPictures)
{
    const unsigned rows = forEachRow("MOVE", [&](std::istringstream& fields) {
        std::string sk, source, tk, result;
        unsigned digits = 0, places = 0, isSigned = 0, sign = 0;
        fields >> sk >> source >> tk >> digits >> places >> isSigned >> sign >> result;
        std::unique_ptr<StackItem> from = literal(sk[0], source);
        std::unique_ptr<StackItem> to = made(target(tk[0], digits, places, isSigned != 0, sign));
        to->genConvert(*from);
        EXPECT_EQ(imageOf(*to), expectedImage(tk[0], result, digits, isSigned != 0, sign));
    });
    EXPECT_GT(rows, 150u) << "cobol_numeric.txt was not found or is cut short";
}
