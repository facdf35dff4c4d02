#include <string>

#include <gtest/gtest.h>

#include "services/Message.h"
#include "services/MessageServerWorkStation.h"
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

TEST_F(MessageTest, CatalogueTextGetsThePrefixAndTheInserts)
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
        {14, {"count", "MAIN", nullptr},
         "ZEMT0014E The name count is ambiguous: %1 is declared in MAIN and in %3."},
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

TEST_F(MessageTest, ElevenInsertsKeepNine)
{
    Message message(0, "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", nullptr);
    EXPECT_EQ(message.insertCount(), 9u);
    EXPECT_EQ(text(message), "1 2 3 4 5 6 7 8 9");
}

TEST_F(MessageTest, TextIsBuiltAgainAfterSetIdOrSetInserts)
{
    Message message(0, "first", nullptr);
    EXPECT_EQ(text(message), "first");
    message.setId(8);  // inserts are kept
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
    text(Message(4));
    ASSERT_TRUE(server->hasServer());
    server->setLocale(EncodedString("en_US", Encoding_UTF8));
    EXPECT_TRUE(server->hasServer());
    server->setType('x');
    EXPECT_TRUE(server->hasServer());
    server->setLocale(EncodedString(L"de_DE"));
    EXPECT_FALSE(server->hasServer());
    // No catalogue for that locale: the default one serves.
    EXPECT_EQ(text(Message(4)), "ZEMT0004E Division by zero.");
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

}  // namespace
