#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/Message.h"
#include "services/MessageServerWorkStation.h"
#include "ScratchCatalogues.h"
#include "testhost/TestHostFixture.h"

namespace {

std::string text(const Message& message)
{
    ByteString bytes = message.textAsByteString();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

std::string utf8(const EncodedString& s)
{
    ByteString bytes = s.asUTF8();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

class MessageTest : public TestHostFixture {
protected:
    MessageTest() : TestHostFixture(false) {}
    void TearDown() override
    {
        Message::MessageServer::instance()->setLocale(EncodedString(L"en_US"));
        TestHostFixture::TearDown();
    }
};

TEST_F(MessageTest, NumberZeroJoinsItsInserts)
{
    EXPECT_EQ(text(Message(0, "a", "b", "c", nullptr)), "a b c");
    EXPECT_EQ(text(Message()), "");
    EXPECT_EQ(text(Message(0)), "");
    EXPECT_EQ(text(Message(0, nullptr)), "");
}

// Texts with several markers, some repeated, from a catalogue of the test's
// own, read in its locale.
class MessageMarkerTest : public MessageTest {
protected:
    void SetUp() override
    {
        MessageTest::SetUp();
        if (!catalogues.compiled())
            GTEST_SKIP() << "gencat is not available";
        Message::MessageServer::instance()->setLocale(EncodedString(L"xm_XM"));
    }

    ScratchCatalogues catalogues{{
        {"xm", "$quote \"\n$set 1\n"
               "1 \"$$$$0001E The expression could not be evaluated: %1\"\n"
               "4 \"$$$$0004E Division by zero.\"\n"
               "8 \"$$$$0008E %1 is not allocated.\"\n"
               "10 \"$$$$0010E Subscript %1 is out of bounds for %2.\"\n"
               "14 \"$$$$0014E The name %1 is ambiguous: %1 is declared in %2 and in %3.\"\n"},
    }};
};

TEST_F(MessageMarkerTest, CatalogueTextGetsThePrefixAndTheInserts)
{
    struct {
        int id;
        std::vector<const char*> inserts;
        const char* expected;
    } cases[] = {
        // The prefix marker and insert 1.
        {1, {"x + y", nullptr}, "ZEMT0001E The expression could not be evaluated: x + y"},
        // No inserts given: the marker stays.
        {1, {nullptr}, "ZEMT0001E The expression could not be evaluated: %1"},
        // Only the first occurrence of a marker is replaced; %3 has no insert.
        {14, {"count", "MAIN", nullptr}, "ZEMT0014E The name count is ambiguous: %1 is declared in MAIN and in %3."},
        // An insert holding a marker is not substituted again.
        {10, {"a%2b", "TABLE", nullptr}, "ZEMT0010E Subscript a%2b is out of bounds for TABLE."},
        // Inserts in reverse order of their markers.
        {10, {"1", "%1", nullptr}, "ZEMT0010E Subscript 1 is out of bounds for %1."},
        {4, {"unused", nullptr}, "ZEMT0004E Division by zero."},
    };
    for (const auto& c : cases) {
        Message message(c.id);
        switch (c.inserts.size()) {
        case 1: message.setInserts(c.inserts[0], nullptr); break;
        case 2: message.setInserts(c.inserts[0], c.inserts[1], nullptr); break;
        case 3: message.setInserts(c.inserts[0], c.inserts[1], c.inserts[2], nullptr); break;
        }
        EXPECT_EQ(text(message), c.expected) << c.id;
        EXPECT_EQ(utf8(message.textInUnicode()), c.expected) << c.id;
    }
}

TEST_F(MessageTest, TheCatalogueHoldsEveryMessageTheEvaluatorShows)
{
    // Each message the entry points and the result trees show reads with its
    // own number after the prefix; one insert where the message takes one.
    const int numbers[] = {1,  2,  3,  4,  5,  6,  7,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                           21, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 51};
    for (int n : numbers) {
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "ZEMT%04d", n);
        const std::string read = text(Message(n, "NAME", nullptr));
        EXPECT_EQ(read.rfind(prefix, 0), 0u) << read;
        EXPECT_EQ(read.find('%'), std::string::npos) << read;
    }
    struct {
        int id;
        const char* insert;
        const char* expected;
    } cases[] = {
        {1, "+ )", "ZEMT0001E The expression has a syntax error at: + )"},
        {3, "nosuch", "ZEMT0003E The name nosuch is not defined in the current context."},
        {20, "struct empty", "ZEMT0020E The class or structure struct empty has no members to show."},
        {21, "ignored", "ZEMT0021E The expression could not be evaluated."},
        {29, nullptr, "ZEMT0029E Division by zero."},
        {41, nullptr, "ZEMT0041W The expression changed the value of a data item."},
        {44, "FLD", "ZEMT0044E The name FLD is ambiguous: it names more than one item. Qualify it."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(Message(c.id, c.insert, nullptr)), c.expected);
}

TEST_F(MessageTest, ElevenInsertsKeepNine)
{
    Message message(0, "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", nullptr);
    EXPECT_EQ(message.insertCount(), 9u);
    EXPECT_EQ(text(message), "1 2 3 4 5 6 7 8 9");
}

TEST_F(MessageMarkerTest, TextIsBuiltAgainAfterSetIdOrSetInserts)
{
    Message message(0, "first", nullptr);
    EXPECT_EQ(text(message), "first");
    message.setId(8); // inserts are kept
    EXPECT_EQ(text(message), "ZEMT0008E first is not allocated.");
    message.setInserts("second", nullptr);
    EXPECT_EQ(text(message), "ZEMT0008E second is not allocated.");
    Message copy(message);
    message.setId(0);
    EXPECT_EQ(text(message), "second");
    EXPECT_EQ(text(copy), "ZEMT0008E second is not allocated.");
}

TEST_F(MessageTest, InsertsKeepNonAsciiText)
{
    Message message(0, "K\xc3\xa4se", "\xe2\x82\xac", nullptr);
    EXPECT_EQ(text(message), "K\xc3\xa4se \xe2\x82\xac");
    EXPECT_EQ(message.textInUnicode(), EncodedString(L"K\u00e4se \u20ac"));
}

TEST_F(MessageTest, MissingMessageReadsAsANoteNotAsNothing)
{
    std::string missing = text(Message(9999));
    EXPECT_NE(missing.find("9999"), std::string::npos);
}

TEST_F(MessageTest, SameLocaleKeepsTheOpenCatalogue)
{
    auto* server = static_cast<MessageServerWorkStation*>(Message::MessageServer::instance());
    EXPECT_EQ(server, Message::MessageServer::instance());
    text(Message(29));
    ASSERT_TRUE(server->hasServer());
    server->setLocale(EncodedString("en_US", Encoding_UTF8));
    EXPECT_TRUE(server->hasServer());
    server->setType('x');
    EXPECT_TRUE(server->hasServer());
    server->setLocale(EncodedString(L"de_DE"));
    EXPECT_FALSE(server->hasServer());
    // No catalogue for that locale: the default one serves.
    EXPECT_EQ(text(Message(29)), "ZEMT0029E Division by zero.");
    EXPECT_TRUE(server->hasServer());
}

class MessageTraceTest : public TestHostFixture {};

TEST_F(MessageTraceTest, SettingInsertsTracesTheMessage)
{
    Message message(3, "a", nullptr);
    ASSERT_EQ(host.lines().size(), 1u);
    char expected[64];
    std::snprintf(expected, sizeof expected, "Message=%p", static_cast<const void*>(&message));
    EXPECT_NE(host.lines()[0].text.find(expected), std::string::npos) << host.lines()[0].text;
    EXPECT_EQ(host.lines()[0].text.rfind(" void Message::setInserts(", 0), 0u);
}

} // namespace
