// Literal values and figurative constants of the services: the bytes the
// debuggee will hold, the kind and type of each literal form, the folded
// constants of the analyser, and the figurative constants' bytes.

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ServicesFixture.h"
#include "compiler/EE_OstrelFigConstant.h"
#include "compiler/EE_OstrelLiteralValue.h"
#include "frontend/EE_ParamType.h"
#include "frontend/EE_ParseException.h"
#include "frontend/EE_Token.h"

namespace {

std::string bytesOf(const EE_LiteralValue* value)
{
    const auto* v = static_cast<const EE_OstrelLiteralValue*>(value);
    return std::string(v->text.data(), v->text.length());
}

std::string signatureOf(EE_LiteralValue* value)
{
    EE_String s = value->signature();
    return std::string(s.data(), s.length());
}

unsigned typeSize(const EE_TypeDescriptor* type)
{
    return sizeOfType(EE_OstrelTypeDescriptor::typeOf(*type));
}

class LiteralTest : public ServicesTest {
protected:
    explicit LiteralTest(int language = EvaluationEnvironment::languageCPP) : ServicesTest(language) {}

    EE_LiteralValue* literal(unsigned kind, const std::string& spelling, EE_TypeDescriptor* type)
    {
        texts.push_back(spelling);
        EE_Token token;
        token.preset();
        token.kind = kind;
        token.spelling = texts.back().c_str();
        token.length = static_cast<unsigned>(texts.back().size());
        token.type = type;
        return services->findOrCreateLiteralValue(token);
    }

    std::deque<std::string> texts;
};

class CobolLiteralTest : public LiteralTest {
protected:
    CobolLiteralTest() : LiteralTest(EvaluationEnvironment::languageCOBOL) {}

    // The string types the COBOL scanner gives each form: the count of
    // spelled bytes between the delimiters (a doubled delimiter counts one).
    EE_TypeDescriptor* alphanumeric(unsigned n, const char* picture = "x")
    {
        return services->findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::AlphanumericString, n, false, false,
                                                              false, picture);
    }
    EE_TypeDescriptor* national(unsigned n)
    {
        return services->findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::NationalString, n, false, false,
                                                                  false, "x");
    }
    EE_TypeDescriptor* dbcs(unsigned n)
    {
        return services->findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::DbcsString, n, false, false, false,
                                                              "x");
    }
};

// ---------------------------------------------------------------------------

TEST_F(CobolLiteralTest, CobolStringFormsHoldTheirEbcdicOrUtf16Bytes)
{
    struct Case {
        unsigned token;
        std::string spelling;
        EE_TypeDescriptor* type;
        EE_LiteralValue::Kind kind;
        std::string bytes;
        std::string signature;
    };
    const Case cases[] = {
        {0, "'IT''S'", alphanumeric(4), EE_LiteralValue::Alphanumeric, "\xC9\xE3\x7D\xE2", "'IT''S'"},
        {0, "\"A\"\"B\"", alphanumeric(3), EE_LiteralValue::Alphanumeric, "\xC1\x7F\xC2", ""},
        {0, "''", alphanumeric(0), EE_LiteralValue::Alphanumeric, "", "''"},
        {102, "X'C1c2'", alphanumeric(2, nullptr), EE_LiteralValue::Alphanumeric, "\xC1\xC2", ""},
        {102, "X'C1G2'", alphanumeric(2, nullptr), EE_LiteralValue::Alphanumeric, std::string("\xC1\x02", 2), ""},
        {102, "X'C1C'", alphanumeric(1, nullptr), EE_LiteralValue::Alphanumeric, "\xC1", ""},
        {117, "NX'00C1'", national(1), EE_LiteralValue::National, std::string("\x00\xC1", 2), ""},
        {116, "N'AB'", national(2), EE_LiteralValue::National, std::string("\0A\0B", 4), "N'AB'"},
        {116, "N'I''M'", national(3), EE_LiteralValue::National, std::string("\0I\0'\0M", 6), ""},
        {118, "Z'AB'", alphanumeric(3), EE_LiteralValue::Alphanumeric, std::string("\xC1\xC2\0", 3), ""},
        {114,
         "G'\x0E"
         "AB\x0F'",
         dbcs(4), EE_LiteralValue::Dbcs, "\xC1\xC2", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spelling);
        EE_LiteralValue* value = literal(c.token, c.spelling, c.type);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->kind, c.kind);
        EXPECT_EQ(bytesOf(value), c.bytes);
        EXPECT_EQ(typeSize(value->typeDescriptor()), c.bytes.size()) << "typed to its value";
        EXPECT_EQ(value->typeDescriptor()->kind, c.type->kind);
        if (!c.signature.empty()) {
            EXPECT_EQ(signatureOf(value), c.signature);
        }
    }
}

TEST_F(CobolLiteralTest, NonAsciiLiteralsAreTypedToTheLengthOfTheirValue)
{
    // The scanner counts UTF-8 bytes: 'é' two, N'é' two characters' worth.
    EE_TypeDescriptor* spelled = alphanumeric(2);
    EE_LiteralValue* e = literal(0, "'\xC3\xA9'", spelled);
    EXPECT_EQ(bytesOf(e), "\x51");
    EXPECT_EQ(typeSize(e->typeDescriptor()), 1u);
    EXPECT_NE(e->typeDescriptor(), spelled);
    EXPECT_EQ(e->typeDescriptor()->kind, EE_TypeDescriptor::AlphanumericString);

    EE_TypeDescriptor* nationalSpelled = national(2);
    ASSERT_EQ(typeSize(nationalSpelled), 4u);
    EE_LiteralValue* n = literal(116, "N'\xC3\xA9'", nationalSpelled);
    EXPECT_EQ(bytesOf(n), std::string("\x00\xE9", 2));
    EXPECT_EQ(typeSize(n->typeDescriptor()), 2u);
    EXPECT_EQ(n->typeDescriptor()->kind, EE_TypeDescriptor::NationalString);

    // A character above U+FFFF is one surrogate pair: 4 bytes, not a cut unit.
    EE_LiteralValue* clef = literal(116, "N'\xF0\x9D\x84\x9E'", national(4));
    EXPECT_EQ(bytesOf(clef), std::string("\xD8\x34\xDD\x1E", 4));
    EXPECT_EQ(typeSize(clef->typeDescriptor()), 4u);

    EE_LiteralValue* g = literal(114, "G'\x0E\xC3\xA9\x0F'", dbcs(4));
    EXPECT_EQ(bytesOf(g), "\x51");
    EXPECT_EQ(typeSize(g->typeDescriptor()), 1u);
    EXPECT_EQ(g->typeDescriptor()->kind, EE_TypeDescriptor::DbcsString);

    // ASCII literals keep the scanner's descriptor.
    EE_TypeDescriptor* plain = alphanumeric(3);
    EXPECT_EQ(literal(0, "'ABC'", plain)->typeDescriptor(), plain);
}

TEST_F(LiteralTest, NumberFormsKeepTheirSpelling)
{
    auto fixed = [&](EE_TypeDescriptor::Kind kind) {
        return services->findOrCreateFixedPointTypeDescriptor(kind, 4, 2, true, EE_DecimalSignNone);
    };
    struct Case {
        EE_TypeDescriptor* type;
        std::string spelling;
        EE_LiteralValue::Kind kind;
        std::string bytes;
        std::string signature;
    };
    const Case cases[] = {
        {services->signedLongLongIntTypeDescriptor(), "42", EE_LiteralValue::Integral, "42", "42"},
        {services->unsignedLongLongIntTypeDescriptor(), "0x2Au", EE_LiteralValue::Integral, "0x2Au", "0x2Au"},
        {services->doubleTypeDescriptor(), "1.5e3", EE_LiteralValue::Real, "1.5e3", "1.5e3"},
        {services->doubleQuvHexTypeDescriptor(), "2.0", EE_LiteralValue::Real, "2.0", "2.0"},
        {fixed(EE_TypeDescriptor::PackedDecimal), "12.50", EE_LiteralValue::PackedDecimal, "12.50", "12.50"},
        {fixed(EE_TypeDescriptor::ZonedDecimal), "7", EE_LiteralValue::ZonedDecimal, "7", "7"},
        {fixed(EE_TypeDescriptor::FixedPointBinary), "-3", EE_LiteralValue::FixedPointBinary, "-3", "-3"},
        {services->wchar_tTypeDescriptor(), "L'x'", EE_LiteralValue::WideCharacter, "x", "L'x'"},
        {services->pointerToWchartTypeDescriptor(), "L\"ab\"", EE_LiteralValue::WideString,
         std::string("\0\0\0a\0\0\0b", 8), "L\"ab\""},
        {services->pointerToCharTypeDescriptor(), "\"AB\"", EE_LiteralValue::String, "\xC1\xC2", "\"AB\""},
        {services->charTypeDescriptor(), "'A'", EE_LiteralValue::Character, "\xC1", "'A'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spelling);
        EE_LiteralValue* value = literal(0, c.spelling, c.type);
        EXPECT_EQ(value->kind, c.kind);
        EXPECT_EQ(value->typeDescriptor(), c.type);
        EXPECT_EQ(bytesOf(value), c.bytes);
        EXPECT_EQ(signatureOf(value), c.signature);
    }
    // H'...' is typed a pointer to void and kept as spelled.
    EE_LiteralValue* address = literal(115, "H'1F00'", services->pointerToVoidTypeDescriptor());
    EXPECT_EQ(address->kind, EE_LiteralValue::Hexadecimal);
    EXPECT_EQ(signatureOf(address), "H'1F00'");
}

TEST_F(LiteralTest, RefusedTokensAndTypes)
{
    EXPECT_EQ(eeExceptionCode([&] { literal(EE_Token::Identifier, "1", services->signedLongLongIntTypeDescriptor()); }),
              2);
    EXPECT_EQ(eeExceptionCode([&] { literal(0, "1", nullptr); }), 2);
    EXPECT_EQ(eeExceptionCode([&] { literal(0, "1", services->signedIntTypeDescriptor()); }), -1)
        << "kind 20: an int literal";
    EXPECT_EQ(eeExceptionCode([&] { literal(0, "1", services->boolTypeDescriptor()); }), 2) << "kind 11";
    EXPECT_EQ(eeExceptionCode([&] { literal(0, "\"x\"", services->pointerToVoidTypeDescriptor()); }), 2);
    // A C character literal's escape is decoded, then converted to the code
    // page (a newline is 0x25 in EBCDIC); under the alternate character set
    // the spelling is kept for the run time.
    EXPECT_EQ(bytesOf(literal(0, "'\\n'", services->charTypeDescriptor())), "\x25");
    env->setAlternateCharset(1);
    EE_LiteralValue* raw = literal(0, "'\\n'", services->charTypeDescriptor());
    EXPECT_EQ(bytesOf(raw), "\\n") << "unconverted";
}

TEST_F(LiteralTest, CharacterLiteralConvertedLongerThanFourBytesIsConvertedAgain)
{
    // A host that reports 6 bytes for a character: the value takes all six
    // from a second conversion into a buffer of that size.
    // Six bytes are no single character of the target: the literal is refused.
    host.failSlot(HS_ExprEbcdicConvert, 6, 2);
    try {
        literal(0, "'A'", services->charTypeDescriptor());
        ADD_FAILURE() << "a character of six bytes was taken";
    } catch (const EE_ParseException& e) {
        EXPECT_EQ(e.code, EE_ParseException::BadLiteral);
    }
    EXPECT_EQ(host.callCount(HS_ExprEbcdicConvert), 2u);
    EXPECT_NE(host.callsTo(HS_ExprEbcdicConvert)[1].arguments.find("targetLength=6"), std::string::npos);
}

TEST_F(LiteralTest, BooleanAndDefaultSectionLiteralsAreMadeOnce)
{
    EE_LiteralValue* t = services->findOrCreateTrueLiteralValue();
    EXPECT_EQ(services->findOrCreateTrueLiteralValue(), t);
    EXPECT_EQ(bytesOf(t), "1");
    EXPECT_EQ(t->typeDescriptor(), services->boolTypeDescriptor());
    EE_LiteralValue* f = services->findOrCreateFalseLiteralValue();
    EXPECT_EQ(services->findOrCreateFalseLiteralValue(), f);
    EXPECT_EQ(bytesOf(f), "0");
    EXPECT_EQ(f->kind, EE_LiteralValue::Integral);
    EE_LiteralValue* d = services->findOrCreateDefaultSectionLiteralValue();
    EXPECT_EQ(services->findOrCreateDefaultSectionLiteralValue(), d);
    EXPECT_EQ(d->typeDescriptor(), services->signedIntTypeDescriptor());
    EXPECT_EQ(bytesOf(d), "1");
}

TEST_F(LiteralTest, FoldedIntegerAndFixedPointConstants)
{
    EE_LiteralValue* minusOne = services->createIntegerLiteralValue(-1);
    EXPECT_EQ(bytesOf(minusOne), "-1");
    EXPECT_EQ(minusOne->typeDescriptor(), services->unsignedLongLongIntTypeDescriptor());
    EXPECT_NE(services->createIntegerLiteralValue(-1), minusOne) << "a new value every call";

    struct Case {
        long long value;
        EE_LiteralValue::Kind kind;
        EE_TypeDescriptor::Kind type;
        unsigned digits;
        int isSigned;
    };
    const Case cases[] = {
        {999999999999999999LL, EE_LiteralValue::FixedPointBinary, EE_TypeDescriptor::FixedPointBinary, 18, 0},
        {1000000000000000000LL, EE_LiteralValue::PackedDecimal, EE_TypeDescriptor::PackedDecimal, 19, 0},
        {-9223372036854775807LL, EE_LiteralValue::PackedDecimal, EE_TypeDescriptor::PackedDecimal, 19, -1},
        {-5, EE_LiteralValue::FixedPointBinary, EE_TypeDescriptor::FixedPointBinary, 1, -1},
        {0, EE_LiteralValue::FixedPointBinary, EE_TypeDescriptor::FixedPointBinary, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EE_LiteralValue* value = services->createFixedPointLiteralValue(c.value);
        EXPECT_EQ(value->kind, c.kind);
        ASSERT_NE(value->typeDescriptor(), nullptr);
        EXPECT_EQ(value->typeDescriptor()->kind, c.type);
        EXPECT_EQ(value->typeDescriptor()->digits, c.digits);
        EXPECT_EQ(value->typeDescriptor()->scale, 0);
        EXPECT_EQ(value->typeDescriptor()->isSigned, c.isSigned);
        EXPECT_EQ(bytesOf(value), std::to_string(c.value));
        EXPECT_EQ(services->integerValue(*value), c.value);
    }

    EE_LiteralValue* mixed = literal(0, "12ab", services->signedLongLongIntTypeDescriptor());
    EXPECT_EQ(services->integerValue(*mixed), 12);
    EE_LiteralValue* letters = literal(0, "ab", services->signedLongLongIntTypeDescriptor());
    EXPECT_EQ(eeExceptionCode([&] { services->integerValue(*letters); }), 2);
}

TEST_F(LiteralTest, SignaturesOfEveryKindAndTheRefusedOnes)
{
    struct Case {
        EE_LiteralValue::Kind kind;
        const char* signature;
    };
    const Case cases[] = {
        {EE_LiteralValue::Integral, "ab"},         {EE_LiteralValue::Real, "ab"},
        {EE_LiteralValue::DecimalReal, "ab"},      {EE_LiteralValue::PackedDecimal, "ab"},
        {EE_LiteralValue::FixedPointBinary, "ab"}, {EE_LiteralValue::Alphanumeric, "'ab'"},
        {EE_LiteralValue::Character, "'ab'"},      {EE_LiteralValue::WideCharacter, "L'ab'"},
        {EE_LiteralValue::String, "\"ab\""},       {EE_LiteralValue::WideString, "L\"ab\""},
        {EE_LiteralValue::ZonedDecimal, "ab"},     {EE_LiteralValue::National, "N\"ab\""},
        {EE_LiteralValue::Dbcs, "G\"ab\""},        {EE_LiteralValue::Hexadecimal, "H'ab'"},
    };
    for (const Case& c : cases) {
        EE_OstrelLiteralValue value(c.kind, nullptr, "ab", 2, services->storageArena());
        EXPECT_EQ(signatureOf(&value), c.signature) << c.kind;
    }
    EE_OstrelLiteralValue never(EE_LiteralValue::NationalDecimal, nullptr, "ab", 2, services->storageArena());
    EXPECT_EQ(eeExceptionCode([&] { never.signature(); }), 2);
    EE_OstrelLiteralValue beyond(static_cast<EE_LiteralValue::Kind>(15), nullptr, "ab", 2, services->storageArena());
    EXPECT_EQ(eeExceptionCode([&] { beyond.signature(); }), 2);
}

TEST_F(CobolLiteralTest, FigurativeConstantsByteTypeAndSignature)
{
    struct Case {
        unsigned token;
        unsigned char byte;
        const char* signature;
    };
    const Case cases[] = {
        {103, 0xFF, "HIGH-VALUES"}, {120, 0xFF, "HIGH-VALUE"}, {105, 0x00, "LOW-VALUES"}, {121, 0x00, "LOW-VALUE"},
        {106, 0x00, "NULLS"},       {122, 0x00, "NULL"},       {108, 0x7F, "QUOTES"},     {123, 0x7F, "QUOTE"},
        {109, 0x40, "SPACES"},      {124, 0x40, "SPACE"},      {110, 0xF0, "ZEROS"},      {125, 0xF0, "ZERO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signature);
        EE_Token token;
        token.preset();
        token.kind = c.token;
        auto* constant = static_cast<EE_OstrelFigConstant*>(services->findOrCreateFigConstantValue(token));
        ASSERT_NE(constant, nullptr);
        EXPECT_EQ(constant->kind, EE_LiteralValue::Alphanumeric);
        ASSERT_EQ(constant->text.length(), 1u);
        EXPECT_EQ(static_cast<unsigned char>(constant->text.data()[0]), c.byte);
        ASSERT_NE(constant->typeDescriptor(), nullptr);
        EXPECT_EQ(constant->typeDescriptor()->kind, EE_TypeDescriptor::AlphanumericString);
        EXPECT_EQ(typeSize(constant->typeDescriptor()), 1u);
        EE_String signature = constant->signature();
        EXPECT_STREQ(signature.data(), c.signature);
    }
    EE_Token other;
    other.preset();
    other.kind = 104;
    EXPECT_EQ(eeExceptionCode([&] { services->findOrCreateFigConstantValue(other); }), 2);
    EE_OstrelFigConstant odd(104, nullptr, 0, services->storageArena());
    EXPECT_STREQ(odd.signature().data(), "?");
}

TEST_F(CobolLiteralTest, QuoteFollowsCompilationSettingOneAndAnUnansweredSettingIsOff)
{
    EE_Token quote;
    quote.preset();
    quote.kind = 123;
    auto byteOf = [&] {
        auto* c = static_cast<EE_OstrelFigConstant*>(services->findOrCreateFigConstantValue(quote));
        return static_cast<unsigned char>(c->text.data()[0]);
    };
    EXPECT_EQ(byteOf(), 0x7F) << "setting not answered";
    host.setCompilationSetting(1, 1);
    EXPECT_EQ(byteOf(), 0x7D);
    host.setCompilationSetting(1, 0);
    EXPECT_EQ(byteOf(), 0x7F);
    // A host that says it answered but wrote nothing leaves the zeroed value.
    host.setCompilationSetting(1, 1);
    host.failSlot(HS_ExprGetCompilationSettingValue, 1);
    EXPECT_EQ(byteOf(), 0x7F);
}

} // namespace
