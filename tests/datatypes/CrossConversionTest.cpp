// Every decimal and binary data-item class into every other, checked against
// the table that gen/gen_cross_conversions.py computed with exact decimal
// arithmetic (and, for the MOVEs, GnuCOBOL).

#include "DataItemValues.h"

#include "datatypes/FixedPointBinary.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "types/CreatedTypeItem.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

using namespace dataitemtest;

namespace {

class CrossConversionTest : public DataItemTest {};

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        out.push_back(part);
    return out;
}

struct Spec {
    char cls = 0;
    int p = 0;
    int d = 0;
    int kind = 0;
    bool isSigned = false;
    int length = 0;
    std::string hex;
};

Spec specOf(const std::string& text)
{
    std::vector<std::string> f = split(text, ':');
    Spec s;
    s.cls = f.at(0).at(0);
    s.p = std::stoi(f.at(1));
    s.d = std::stoi(f.at(2));
    s.kind = std::stoi(f.at(3));
    s.isSigned = f.at(4) == "1";
    s.length = std::stoi(f.at(5));
    if (f.size() > 6)
        s.hex = f.at(6);
    return s;
}

using Value = std::variant<PackedDecimal, ZonedDecimal, NationalDecimal, FixedPointBinary>;

// An empty value of a target picture.
Value pictureOf(const Spec& s)
{
    switch (s.cls) {
    case 'P': return PackedDecimal(packedRec(s.p, s.d, s.isSigned), ByteString());
    case 'Z': return ZonedDecimal(zonedRec(s.p, s.d, s.kind, s.isSigned), ByteString());
    case 'N': return NationalDecimal(nationalRec(s.p, s.d, s.kind, s.isSigned), ByteString());
    default:
        // A binary target picture names its decimals: its scale is minus them.
        return FixedPointBinary(binaryRec(s.length, s.p, -s.d, s.isSigned), 0ULL);
    }
}

Value sourceOf(const Spec& s)
{
    if (s.cls == 'B')
        return FixedPointBinary(binaryRec(s.length, s.p, s.d, s.isSigned), std::strtoull(s.hex.c_str(), nullptr, 16));
    Value v = pictureOf(s);
    std::visit(
        [&](auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (!std::is_same_v<T, FixedPointBinary>)
                x = T(x.record(), bs(s.hex));
        },
        v);
    return v;
}

// The keep-digits conversion of a value into class cls.
Value keepInto(char cls, const Value& v)
{
    return std::visit(
        [&](const auto& x) -> Value {
            using T = std::decay_t<decltype(x)>;
            switch (cls) {
            case 'P':
                if constexpr (std::is_same_v<T, PackedDecimal>)
                    return x;
                else
                    return PackedDecimal(x);
            case 'Z':
                if constexpr (std::is_same_v<T, ZonedDecimal>)
                    return x;
                else
                    return ZonedDecimal(x);
            case 'N':
                if constexpr (std::is_same_v<T, NationalDecimal>)
                    return x;
                else
                    return NationalDecimal(x);
            default:
                if constexpr (std::is_same_v<T, FixedPointBinary>)
                    return x;
                else
                    return FixedPointBinary(x);
            }
        },
        v);
}

template <class Record>
std::string decimalText(const ByteString& bytes, const Record& r)
{
    char tail[64];
    std::snprintf(tail, sizeof tail, ":%d:%d:%d:%d:%d", r.precision, r.decimalPlaces, static_cast<int>(r.signKind),
                  (r.flags & TN_DecimalSigned) ? 1 : 0, r.byteLength);
    return hex(bytes) + tail;
}

std::string textOf(const Value& v)
{
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            char text[96];
            if constexpr (std::is_same_v<T, FixedPointBinary>) {
                std::snprintf(text, sizeof text, "%016llX:%d:%d:%d:%d", static_cast<unsigned long long>(x.value()),
                              x.precision(), x.scale(), x.isSigned() ? 1 : 0, x.record().byteLength);
                return text;
            } else if constexpr (std::is_same_v<T, PackedDecimal>) {
                const TNpacked_decimal& r = x.record();
                std::snprintf(text, sizeof text, ":%d:%d:0:%d:%d", r.precision, r.decimalPlaces,
                              (r.flags & TN_DecimalSigned) ? 1 : 0, r.byteLength);
                return hex(x.bytes()) + text;
            } else {
                return decimalText(x.bytes(), x.record());
            }
        },
        v);
}

std::string indexText(unsigned long long value, int length)
{
    char text[40];
    std::snprintf(text, sizeof text, "%016llX:%d", value, length);
    return text;
}

std::string keepIndex(char cls, const Value& v)
{
    return std::visit(
        [&](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if (cls == 'I') {
                IndexName i(x);
                return indexText(i.value(), i.record().byteLength);
            }
            if constexpr (std::is_same_v<T, PackedDecimal> || std::is_same_v<T, ZonedDecimal>) {
                IndexDataItem i(x);
                return indexText(i.value(), i.record().byteLength);
            }
            return "no index data item of this class";
        },
        v);
}

std::string moveInto(const Spec& target, const Value& source)
{
    Value t = pictureOf(target);
    Value converted = keepInto(target.cls, source);
    std::visit([&](auto& x) { x.convert(std::get<std::decay_t<decltype(x)>>(converted)); }, t);
    return textOf(t);
}

} // namespace

namespace {

struct TableCase {
    std::string line;
    std::vector<std::string> fields;
};

std::vector<TableCase> readTable()
{
    std::vector<TableCase> cases;
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    if (dir == nullptr)
        return cases;
    std::ifstream in(std::string(dir) + "/cross_conversions.txt");
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#')
            cases.push_back({line, split(line, ' ')});
    return cases;
}

// The result of one case in the table's notation.
std::string run(const TableCase& c)
{
    const std::vector<std::string>& f = c.fields;
    if (f.size() != 4)
        return "malformed line";
    try {
        const Value value = sourceOf(specOf(f[1]));
        if (f[0] == "keep") {
            const char cls = f[2].at(0);
            return (cls == 'I' || cls == 'X') ? keepIndex(cls, value) : textOf(keepInto(cls, value));
        }
        return moveInto(specOf(f[2]), value);
    } catch (const InvalidOp& e) {
        return "InvalidOp " + std::to_string(e.code());
    }
}

} // namespace

TEST_F(CrossConversionTest, EveryClassIntoEveryOther)
{
    const std::vector<TableCase> cases = readTable();
    ASSERT_GT(cases.size(), 1000u);
    for (const TableCase& c : cases)
        EXPECT_EQ(run(c), c.fields.at(3)) << c.line;
}

TEST_F(CrossConversionTest, ThreadsConvertAtTheSameTime)
{
    // The routines' result areas are per thread and every value copies its
    // result at once: threads converting together get the same answers.
    const std::vector<TableCase> cases = readTable();
    ASSERT_FALSE(cases.empty());
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round)
                for (std::size_t i = static_cast<std::size_t>(t); i < cases.size() + static_cast<std::size_t>(t); ++i) {
                    const TableCase& c = cases[i % cases.size()];
                    if (run(c) != c.fields.at(3))
                        ++wrong;
                }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(CrossConversionTest, ValuesOfCreatedTypesTakeTheirRecords)
{
    // The builders' records size the values made from their types, and a
    // value moved into such a type keeps that record.
    PackedDecimal packed(*CreatedTypeItem::findOrCreatePackedDecimalType(5, -2, true, nullptr));
    EXPECT_EQ(hex(packed.bytes()), "000000");
    packed.convert(PackedDecimal("-12.345"));
    EXPECT_EQ(hex(packed.bytes()), "01234D");

    ZonedDecimal zoned(*CreatedTypeItem::findOrCreateZonedDecimalType(4, -1, true, nullptr, TN_SignLeadingSeparate));
    EXPECT_EQ(zoned.bytes().length(), 5u);
    zoned.convert(ZonedDecimal(PackedDecimal("-12.345")));
    EXPECT_EQ(hex(zoned.bytes()), "60F0F1F2F3");

    NationalDecimal national(*CreatedTypeItem::makeNationalDecimalType(3, 1));
    national.convert(NationalDecimal(zoned));
    EXPECT_EQ(hex(national.bytes()), hex(nat("123-")));

    FixedPointBinary binary(*CreatedTypeItem::findOrCreateFixedPointBinaryType(4, -2, true, nullptr));
    EXPECT_EQ(binary.record().byteLength, 2);
    binary.convert(FixedPointBinary(national));
    EXPECT_EQ(static_cast<long long>(binary.value()), -1230);

    IndexName index(*CreatedTypeItem::findOrCreateIndexNameType(4, 10));
    index.convert(IndexName(IndexName().record(), 3ULL));
    EXPECT_EQ(index.value(), 20u);
    IndexDataItem item(*CreatedTypeItem::findOrCreateIndexDataItemType(2));
    EXPECT_EQ(item.record().byteLength, 2);
}
