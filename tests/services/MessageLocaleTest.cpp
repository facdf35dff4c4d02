// The message locale belongs to the calling thread: two threads reading the
// same message in different locales at the same time each get their own
// language's text.

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "ThreadBarrier.h"

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

// A catalogue directory with one small catalogue per language, compiled with
// gencat, made current through NORVEXA_CATALOG_DIR for the test's life.
class MessageLocaleTest : public TestHostFixture {
protected:
    MessageLocaleTest() : TestHostFixture(false) {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        if (!catalogues.compiled())
            GTEST_SKIP() << "gencat is not available";
    }

    ScratchCatalogues catalogues{{
        {"xa", "$set 1\n4 $$$$0004E Teilung durch Null (%1).\n"},
        {"xb", "$set 1\n4 $$$$0004E Division par zero (%1).\n"},
    }};
};

TEST_F(MessageLocaleTest, EachThreadReadsItsOwnLocale)
{
    Message::MessageServer* server = Message::MessageServer::instance();
    ThreadBarrier together(2);
    std::string seen[2][3];
    auto reader = [&](int n, const wchar_t* locale) {
        server->setLocale(EncodedString(locale));
        // Both threads have set their locales before either reads.
        together.arrive_and_wait();
        for (int round = 0; round < 3; ++round) {
            seen[n][round] = text(Message(4, n == 0 ? "a" : "b", nullptr));
            together.arrive_and_wait();
        }
    };
    std::thread first(reader, 0, L"xa_XA");
    std::thread second(reader, 1, L"xb_XB");
    first.join();
    second.join();
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(seen[0][round], "ZEMT0004E Teilung durch Null (a).") << "round " << round;
        EXPECT_EQ(seen[1][round], "ZEMT0004E Division par zero (b).") << "round " << round;
    }

    // This thread never set a locale: it reads en_US, which the catalogue
    // directory here does not hold, so the text is the catalogue's stand-in
    // and not either thread's language.
    const std::string mine = text(Message(4));
    EXPECT_EQ(mine.find("Teilung"), std::string::npos) << mine;
    EXPECT_EQ(mine.find("Division par"), std::string::npos) << mine;
}

TEST_F(MessageLocaleTest, LocaleIsPerThreadAndPerServer)
{
    MessageServerWorkStation one, two;
    one.setLocale(EncodedString(L"xa_XA"));
    EXPECT_EQ(std::wstring(one.locale().text()), L"xa_XA");
    EXPECT_EQ(std::wstring(two.locale().text()), L"en_US") << "another server keeps its own";
    std::thread([&] {
        EXPECT_EQ(std::wstring(one.locale().text()), L"en_US") << "another thread keeps its own";
        EXPECT_FALSE(one.hasServer());
    }).join();
    EXPECT_FALSE(one.hasServer());
    const ByteString read = one.getMessage(1, 4).asUTF8();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read.data()), read.length()),
              "$$$$0004E Teilung durch Null (%1).");
    EXPECT_TRUE(one.hasServer());
    one.setLocale(EncodedString("xa_XA", Encoding_UTF8));
    EXPECT_TRUE(one.hasServer()) << "the same locale keeps the open catalogue";
}

} // namespace
