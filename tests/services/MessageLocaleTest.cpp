// The message locale belongs to the calling thread: two threads reading the
// same message in different locales at the same time each get their own
// language's text.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <unistd.h>

#include <gtest/gtest.h>

#include "PortableEnvironment.h"
#include "ThreadBarrier.h"

#include "services/Message.h"
#include "services/MessageServerWorkStation.h"
#include "testhost/TestHostFixture.h"

namespace {

namespace fs = std::filesystem;

std::string text(const Message& message)
{
    ByteString bytes = message.textAsByteString();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

// A catalogue directory with one small catalogue per language, compiled with
// gencat (read from its source on Windows), made current through NORVEXA_CATALOG_DIR for the test's life.
class MessageLocaleTest : public TestHostFixture {
protected:
    MessageLocaleTest() : TestHostFixture(false) {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        dir = fs::temp_directory_path() / ("norvexa-locales-" + std::to_string(getpid()));
        for (const auto& [language, words] : {std::pair<std::string, std::string>{"xa", "Teilung durch Null"},
                                              {"xb", "Division par zero"}}) {
            fs::create_directories(dir / language);
            const fs::path source = dir / language / "rmq.msg";
            std::ofstream(source) << "$set 1\n4 $$$$0004E " << words << " (%1).\n";
#if !defined(_WIN32)  // Windows reads the source itself
            const std::string command = "gencat '" + (dir / language / "rmq.cat").string() + "' '" +
                                        source.string() + "' 2>/dev/null";
            if (std::system(command.c_str()) != 0)
                GTEST_SKIP() << "gencat is not available";
#endif
        }
        const char* before = std::getenv("NORVEXA_CATALOG_DIR");
        if (before != nullptr)
            saved = before;
        hadSaved = before != nullptr;
        setenv("NORVEXA_CATALOG_DIR", dir.string().c_str(), 1);
    }

    void TearDown() override
    {
        if (hadSaved)
            setenv("NORVEXA_CATALOG_DIR", saved.c_str(), 1);
        else
            unsetenv("NORVEXA_CATALOG_DIR");
        fs::remove_all(dir);
        TestHostFixture::TearDown();
    }

    fs::path dir;
    std::string saved;
    bool hadSaved = false;
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
