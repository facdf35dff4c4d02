// The string operations of the value stack: C string literals (moves,
// indexes, joins, retyping), substrings, string casts, and COBOL reference
// modification; the text constant loads and the factory's text rows.

#include <memory>
#include <string>

#include "TextFixture.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemFigConstant.h"
#include "machine/StackItemNationalString.h"
#include "machine/StackItemS.h"
#include "machine/StackItemString.h"
#include "types/CreatedTypeItem.h"

namespace {

class TextStackTest : public TextFixture {
protected:
    explicit TextStackTest(int language = languageC) : TextFixture(language) {}

    void pushInt(long long value) { stack().genLoadIntegralConstant(static_cast<std::uint64_t>(value), 1, 8); }
    void pushText(const std::string& text) { stack().genString(text.data(), static_cast<unsigned>(text.size())); }

    StackItemString& literal()
    {
        auto* item = dynamic_cast<StackItemString*>(stack().top());
        if (item == nullptr)
            throw std::runtime_error("no literal on top");
        return *item;
    }
    // The characters of the literal on top from its position.
    std::string literalText()
    {
        const StackItemString& item = literal();
        return std::string(static_cast<const char*>(item.resultBuffer()), static_cast<std::size_t>(item.size()));
    }
    std::string popText()
    {
        std::string text = literalText();
        delete stack().pop();
        return text;
    }
    TypeItem pointerTo(unsigned builtin) { return TypeItem(records().pointerType(TYPE_INDEX{0, builtin}, 4)); }
};

class CobolTextStackTest : public TextStackTest {
protected:
    CobolTextStackTest() : TextStackTest(languageCOBOL) {}
};

} // namespace

TEST_F(TextStackTest, LiteralMovesWithinItsText)
{
    pushText("abc");
    pushInt(2);
    stack().genPointerAdd();
    EXPECT_EQ(literal().stringLength(), 1u);
    EXPECT_EQ(literalText(), "c");
    // Moved on by 3 it is at the terminating null, no character left; by 4
    // it would leave the literal.
    pushInt(1);
    stack().genPointerAdd();
    EXPECT_EQ(literal().position(), 3u);
    EXPECT_EQ(literal().stringLength(), 0u);
    EXPECT_EQ(literal().readableSize(), 1u);
    pushInt(1);
    EXPECT_EQ(raisedCode([&] { stack().genPointerAdd(); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(literal().position(), 3u);

    // Back by 3 is position 0; back by one more is refused.
    pushInt(3);
    stack().genPointerSubtract();
    EXPECT_EQ(literal().position(), 0u);
    EXPECT_EQ(literalText(), "abc");
    pushInt(1);
    EXPECT_EQ(raisedCode([&] { stack().genPointerSubtract(); }), InvalidOp::RTRC_NotSupported);

    // A negative amount reaches back from the position.
    stack().popAll();
    pushText("abc");
    pushInt(2);
    stack().genPointerAdd();
    pushInt(-1);
    stack().genPointerAdd();
    EXPECT_EQ(literalText(), "bc");
}

TEST_F(TextStackTest, LiteralIndexesCountElements)
{
    pushText("abcdef");
    pushInt(2);
    stack().genIndex(2);
    EXPECT_EQ(literalText(), "ef");
    pushInt(-1);
    stack().genIndex(1);
    EXPECT_EQ(literalText(), "def");
    // Index 3 is the terminating null; 4 is past the literal.
    pushInt(4);
    EXPECT_EQ(raisedCode([&] { stack().genIndex(1); }), InvalidOp::RTRC_NotSupported);
    pushInt(3);
    stack().genIndex(1);
    EXPECT_EQ(literalText(), "");
    EXPECT_EQ(literal().readableSize(), 1u);
    pushInt(-3);
    stack().genIndex(1);
    EXPECT_EQ(literalText(), "def");

    // The rank index may reach the end of the text itself.
    StackItemString& item = literal();
    StackItemS8 seven(rep(), 7);
    item.genRankIndex(seven, 4, 1);
    EXPECT_EQ(item.size(), 0u);
    StackItemS8 eight(rep(), 8);
    EXPECT_EQ(raisedCode([&] { item.genRankIndex(eight, 4, 1); }), InvalidOp::RTRC_NotSupported);
}

TEST_F(TextStackTest, LiteralsJoinAndShareTheirText)
{
    pushText("ab");
    pushText("cd");
    stack().genConcatenate();
    EXPECT_EQ(literal().position(), 0u);
    EXPECT_EQ(popText(), "abcd");

    pushText("ab");
    pushInt(1);
    stack().genPointerAdd();
    pushText("cd");
    stack().genConcatenate();
    EXPECT_EQ(popText(), "bcd");

    // Identical texts are stored once.
    pushText("same");
    const ByteString* first = literal().text();
    pushText("same");
    EXPECT_EQ(literal().text(), first);
    stack().popAll();

    // Narrow with wide is refused; a literal joins only a literal.
    pushText("ab");
    stack().genWideString("\0c", 2);
    EXPECT_EQ(raisedCode([&] { stack().genConcatenate(); }), InvalidOp::RTRC_ParserError);
    stack().popAll();
    pushText("ab");
    pushInt(1);
    EXPECT_EQ(raisedCode([&] { stack().genConcatenate(); }), InvalidOp::RTRC_Other);
}

TEST_F(TextStackTest, LiteralIsNoNumberAndNoDebuggeeAddress)
{
    pushText("ab");
    StackItemString& item = literal();
    EXPECT_EQ(raisedCode([&] { item.asUnsigned(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { item.asLongDouble(); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(raisedCode([&] { item.load(at(0x20000)); }), InvalidOp::RTRC_Other);
    EXPECT_EQ(item.asLocation().kind(), DebuggeeLocation::debuggerBuffer);
    EXPECT_TRUE(item.isString());

    // A literal minus a pointer is refused.
    std::unique_ptr<StackItem> pointer(RuntimeStack::makeStackItem(pointerTo(148), nullptr));
    EXPECT_EQ(raisedCode([&] { delete item.genPointerSubtract(*pointer); }), InvalidOp::RTRC_IncompatTypes);
}

TEST_F(TextStackTest, LiteralTakesCharacterPointerAndArrayTypes)
{
    struct Case {
        const char* name;
        TypeItem target;
        bool wide;
        int code;
    } cases[] = {
        {"char *", pointerTo(148), false, 0},
        {"unsigned char *", pointerTo(132), false, 0},
        {"signed char *", pointerTo(128), false, 0},
        {"char[]", TypeItem(records().arrayType(TYPE_INDEX{0, 148}, 8)), false, 0},
        {"int *", pointerTo(130), false, InvalidOp::RTRC_IncompatTypes},
        {"int", TypeItem(130u), false, InvalidOp::RTRC_IncompatTypes},
        {"narrow to wchar_t *", pointerTo(150), false, InvalidOp::RTRC_IncompatTypes},
        {"wide to its own wchar_t *", StackItemString::pointerType(true), true, 0},
        {"wide to char *", pointerTo(148), true, InvalidOp::RTRC_IncompatTypes},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        StackItemString item(rep(), ByteString(reinterpret_cast<const unsigned char*>("ab"), 2), c.wide);
        StackItem* result = nullptr;
        EXPECT_EQ(raisedCode([&] { result = item.convertType(c.target, nullptr); }), c.code);
        if (c.code == 0) {
            EXPECT_EQ(result, &item);
            EXPECT_TRUE(item.type() == c.target);
        }
    }
}

TEST_F(TextStackTest, SubstringsOfHeldStrings)
{
    struct Case {
        const char* name;
        std::string text;
        long long start, end;
        std::string expected;
    } cases[] = {
        {"s(0:3) is s(1:3)", "abcdef", 0, 3, "abc"},
        {"s(2:4)", "abcdef", 2, 4, "bcd"},
        {"s(5:4) is empty", "abcdef", 5, 4, ""},
        {"padded past the text", "abc", 2, 6, "bc   "},
        {"600 characters give 512", std::string(700, 'x'), 1, 600, std::string(512, 'x')},
        {"negative end", "abc", 1, -1, ""},
        {"start far past the text", "abc", 0x100000001LL, 0x100000002LL, "  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pushText(c.text);
        pushInt(c.end);
        pushInt(c.start);
        stack().genSubstring();
        EXPECT_EQ(stack().count(), 1u);
        EXPECT_EQ(popText(), c.expected);
    }
}

TEST_F(TextStackTest, SubstringOfMemoryNeedsAnAddress)
{
    // A character array in memory, loaded as an array item.
    store(0x20000, "hello world");
    std::unique_ptr<StackItem> array(
        RuntimeStack::makeStackItem(TypeItem(records().arrayType(TYPE_INDEX{0, 148}, 11)), nullptr));
    array->load(at(0x20000));
    ASSERT_TRUE(array->holdsAddress());
    stack().push(array.release());
    pushInt(20);
    pushInt(7);
    stack().genSubstring();
    EXPECT_EQ(popText(), "world");

    pushInt(1);
    pushInt(3);
    pushInt(1);
    EXPECT_EQ(raisedCode([&] { stack().genSubstring(); }), InvalidOp::RTRC_InvalidReference);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(TextStackTest, StringCastOnAnEmptyStackFails)
{
    const TypeItem array(records().arrayType(TYPE_INDEX{0, 148}, 2));
    EXPECT_EQ(raisedCode([&] { stack().genConvert(array); }), InvalidOp::RTRC_Empty_Stack);
}

// ---------------------------------------------------------------------------
// Reference modification

namespace {

class RefModTest : public CobolTextStackTest {
protected:
    // A loaded item of the type at the address, pushed.
    void pushLoaded(const TypeItem& type, std::uint32_t address)
    {
        std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(type, nullptr));
        item->load(at(address));
        stack().push(item.release());
    }
    std::string popValue()
    {
        std::unique_ptr<StackItem> item(stack().pop());
        return valueOf(*item);
    }
};

} // namespace

TEST_F(RefModTest, StartPositionsWithinTheItem)
{
    store(0x20000, ebcdic("ABCDEFGHIJ"));
    const TypeItem ten = alphanumeric(10);
    struct Case {
        long long start;
        int code;
        std::string expected;
    } cases[] = {
        {1, 0, ebcdic("ABCDEFGHIJ")},        {4, 0, ebcdic("DEFGHIJ")},          {10, 0, ebcdic("J")},
        {11, InvalidOp::RTRC_BadRefMod, ""}, {0, InvalidOp::RTRC_BadRefMod, ""}, {-1, InvalidOp::RTRC_BadRefMod, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        pushLoaded(ten, 0x20000);
        pushInt(c.start);
        EXPECT_EQ(raisedCode([&] { stack().genRefMod(ten); }), c.code);
        if (c.code != 0) {
            EXPECT_EQ(stack().count(), 0u);
            continue;
        }
        const auto* slice = dynamic_cast<const StackItemCharstring*>(stack().top());
        ASSERT_NE(slice, nullptr);
        EXPECT_EQ(slice->size(), c.expected.size());
        EXPECT_EQ(slice->location().address().addr(), 0x20000u + (c.start - 1));
        EXPECT_EQ(popValue(), hex(c.expected));
    }
}

// A computed value has no place in memory: the slice is its own bytes.
TEST_F(RefModTest, ComputedValueKeepsItsOwnBytes)
{
    const TypeItem ten = alphanumeric(10);
    stack().genLoadCharstringConstant("\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xD1", 10, ten);
    std::unique_ptr<StackItem> constant(stack().pop());
    stack().push(new StackItemCharstring(rep(), "\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xD1", 10, ten));
    pushInt(8);
    stack().genRefMod(ten);
    EXPECT_EQ(popValue(), hex(ebcdic("HIJ")));

    const TypeItem six = national(6);
    stack().push(new StackItemNationalString(rep(), "\0A\0B\0C", 6, six));
    pushInt(2);
    stack().genRefMod(six);
    EXPECT_EQ(popValue(), hex(utf16("BC")));
}

TEST_F(RefModTest, LengthsWithinTheItem)
{
    store(0x20000, utf16("ABCDE"));
    const TypeItem five = national(10);
    pushLoaded(five, 0x20000);
    pushInt(5);
    stack().genRefModLength(five);
    EXPECT_EQ(stack().top()->size(), 10u);
    EXPECT_EQ(popValue(), hex(utf16("ABCDE")));

    pushLoaded(five, 0x20000);
    pushInt(2);
    stack().genRefModLength(five);
    EXPECT_EQ(popValue(), hex(utf16("AB")));

    for (long long length : {6LL, 0LL, -2LL}) {
        SCOPED_TRACE(length);
        pushLoaded(five, 0x20000);
        pushInt(length);
        EXPECT_EQ(raisedCode([&] { stack().genRefModLength(five); }), InvalidOp::RTRC_BadRefMod);
    }

    // The target and the item must be of one kind; a target that is no
    // text is refused with 1 too.
    pushLoaded(five, 0x20000);
    pushInt(1);
    EXPECT_EQ(raisedCode([&] { stack().genRefModLength(alphanumeric(5)); }), InvalidOp::RTRC_NotSupported);
    pushLoaded(five, 0x20000);
    pushInt(1);
    EXPECT_EQ(raisedCode([&] { stack().genRefMod(TypeItem(130u)); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(stack().count(), 0u);
}

TEST_F(RefModTest, ConvertIntoAReferenceModifiedTarget)
{
    const TypeItem ten = alphanumeric(10);
    // An empty stack, and a stack without the start.
    EXPECT_EQ(raisedCode([&] { stack().genConvertRefMod(false, ten); }), InvalidOp::RTRC_Empty_Stack);
    stack().push(new StackItemCharstring(rep(), "\xC1", 1, alphanumeric(1)));
    EXPECT_EQ(raisedCode([&] { stack().genConvertRefMod(false, ten); }), InvalidOp::RTRC_Empty_Stack);

    struct Case {
        const char* name;
        long long start;
        bool lengthGiven;
        long long length;
        int code;
        std::string expected;
    } cases[] = {
        {"(3:4)", 3, true, 4, 0, ebcdic("AB  ")},
        {"(3:)", 3, false, 0, 0, ebcdic("AB      ")},
        {"(10:1)", 10, true, 1, 0, ebcdic("A")},
        {"(8:4) runs past", 8, true, 4, InvalidOp::RTRC_BadRefMod, ""},
        {"(0:2)", 0, true, 2, InvalidOp::RTRC_BadRefMod, ""},
        {"(2:0)", 2, true, 0, InvalidOp::RTRC_BadRefMod, ""},
        {"(11:)", 11, false, 0, InvalidOp::RTRC_BadRefMod, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pushInt(c.start);
        if (c.lengthGiven)
            pushInt(c.length);
        auto* value = new StackItemCharstring(rep(), "\xC1\xC2", 2, alphanumeric(2));
        value->setFromRegister(true);
        stack().push(value);
        EXPECT_EQ(raisedCode([&] { stack().genConvertRefMod(c.lengthGiven, ten); }), c.code);
        if (c.code != 0) {
            EXPECT_EQ(stack().count(), 0u);
            continue;
        }
        ASSERT_EQ(stack().count(), 1u);
        EXPECT_TRUE(stack().top()->fromRegister());
        EXPECT_FALSE(stack().top()->fromRegisterVariable());
        EXPECT_EQ(stack().top()->location().kind(), DebuggeeLocation::none);
        EXPECT_EQ(popValue(), hex(c.expected));
    }

    // A national target counts characters of two bytes.
    pushInt(2);
    pushInt(2);
    stack().push(new StackItemNationalString(rep(), "\0X", 2, national(2)));
    stack().genConvertRefMod(true, national(10));
    EXPECT_EQ(popValue(), hex(utf16("X ")));
}

// ---------------------------------------------------------------------------
// Text constant loads and the factory's text rows

TEST_F(TextStackTest, TextConstantLoads)
{
    stack().genLoadCharstringConstant("\xC1\xC2", 2, alphanumeric(4));
    EXPECT_NE(dynamic_cast<StackItemFigConstant*>(stack().top()), nullptr);
    EXPECT_EQ(valueOf(*stack().top()), "C1C24040");
    stack().genLoadNationalStringConstant("\0A", 2, national(4));
    EXPECT_NE(dynamic_cast<StackItemNationalString*>(stack().top()), nullptr);
    EXPECT_EQ(valueOf(*stack().top()), "00410020");
    stack().genLoadDbcsStringConstant("\x42\xC1", 2, dbcs(4));
    EXPECT_NE(dynamic_cast<StackItemDbcsString*>(stack().top()), nullptr);
    EXPECT_EQ(valueOf(*stack().top()), "42C14040");

    // LOW-VALUE is a zero byte, kept with its length.
    stack().genLoadFigConstant("\0", 1, alphanumeric(1));
    const auto* low = dynamic_cast<StackItemFigConstant*>(stack().top());
    ASSERT_NE(low, nullptr);
    EXPECT_TRUE(low->isNull());
    EXPECT_EQ(stack().count(), 4u);

    EXPECT_EQ(raisedCode([&] { stack().genLoadFigConstant("\xF0", 1, TypeItem(130u)); }), InvalidOp::RTRC_NotSupported);
    stack().setSkipState(RuntimeStack::skipping);
    stack().genLoadFigConstant("\x40", 1, alphanumeric(1));
    stack().genString("ab", 2);
    EXPECT_EQ(stack().count(), 4u);
}

TEST_F(TextStackTest, FactoryMakesBlankTextItems)
{
    struct Case {
        TypeItem type;
        std::string value;
    } cases[] = {
        {alphanumeric(3), "404040"},
        {national(4), "00200020"},
        {dbcs(4), "40404040"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(c.type, nullptr));
        EXPECT_EQ(valueOf(*item), c.value);
        EXPECT_TRUE(item->type() == c.type);
    }
}
