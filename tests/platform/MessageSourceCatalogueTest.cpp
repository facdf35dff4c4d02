// The message catalogue read from its source (how Windows reads it) gives
// what gencat compiles from the same source and catgets reads back.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "MessageSourceCatalogue.h"
#include "PortableEnvironment.h"

#include <plomkit/XPG4MsgServer.h>

namespace {

namespace fs = std::filesystem;

const char* const fixtureSource = "$ A catalogue with each form gencat reads.\n"
                                  "$quote \"\n"
                                  "1 \"plain\"\n"
                                  "2 \"a \\\"quoted\\\" word\"\n"
                                  "3 \"continued \\\n"
                                  "on the next line\"\n"
                                  "4 unquoted text\n"
                                  "5 \"tab\\tnew line\\noctal \\101\\\\\"\n"
                                  "\n"
                                  "$set 3 a comment after the number\n"
                                  "1 \"set three\"\n"
                                  "2 \n"
                                  "$set 4\n"
                                  "1 \"kept: only an older catalogue's set is dropped\"\n"
                                  "$delset 4\n"
                                  "$set 5\n"
                                  "$quote\n"
                                  "1 \"no quoting here\"\n"
                                  "7\n";

struct Case {
    int set;
    int id;
    const char* text; // null: no such message
};

const Case fixtureCases[] = {
    {1, 1, "plain"},
    {1, 2, "a \"quoted\" word"},
    {1, 3, "continued on the next line"},
    {1, 4, "unquoted text"},
    {1, 5, "tab\tnew line\noctal A\\"},
    {1, 6, nullptr},
    {1, 7, nullptr},
    {3, 1, "set three"},
    {3, 2, ""},
    {4, 1, "kept: only an older catalogue's set is dropped"},
    {5, 1, "\"no quoting here\""},
    {5, 7, ""},
    {2, 1, nullptr},
};

std::string utf8(const EncodedString& s)
{
    ByteString bytes = s.asUTF8();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}

class MessageSourceCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("norvexa-msgsource-" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / "fixture.msg", std::ios::binary) << fixtureSource;
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
};

TEST_F(MessageSourceCatalogueTest, EveryFormReadsAsGencatReadsIt)
{
    auto catalogue = plomkit_detail::MessageSourceCatalogue::load((dir / "fixture.msg").string());
    ASSERT_NE(catalogue, nullptr);
    for (const Case& c : fixtureCases) {
        SCOPED_TRACE(testing::Message() << c.set << "." << c.id);
        std::string text;
        ASSERT_EQ(catalogue->find(c.set, c.id, text), c.text != nullptr);
        if (c.text != nullptr) {
            EXPECT_EQ(text, c.text);
        }
    }
}

TEST_F(MessageSourceCatalogueTest, TheServerReadsTheCatalogueOfThisSystem)
{
#if !defined(_WIN32)
    // The oracle: gencat's compilation of the same source, read by catgets.
    const std::string command =
        "gencat '" + (dir / "fixture.cat").string() + "' '" + (dir / "fixture.msg").string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "gencat is not available";
#endif
    setenv("NORVEXA_CATALOG_DIR", dir.string().c_str(), 1);
    XPG4MsgServer server(EncodedString(L"C"), "fixture");
    unsetenv("NORVEXA_CATALOG_DIR");
    ASSERT_TRUE(server.isOpen());
    for (const Case& c : fixtureCases) {
        SCOPED_TRACE(testing::Message() << c.set << "." << c.id);
        std::string text = utf8(server.getMessage(c.set, c.id));
        if (c.text != nullptr) {
            EXPECT_EQ(text, c.text);
        } else {
            EXPECT_NE(text.find("not available"), std::string::npos) << text;
        }
    }
}

TEST(MessageSourceCatalogue, MalformedSourceOrMissingFileOpensNothing)
{
    for (const char* source :
         {"x1 \"not a number\"\n", "12\"no separator\"\n", "$set\n", "3 \"once\"\n3 \"twice\"\n"}) {
        SCOPED_TRACE(source);
        std::istringstream in(source);
        plomkit_detail::MessageSourceCatalogue catalogue;
        EXPECT_FALSE(catalogue.read(in));
    }
    EXPECT_EQ(plomkit_detail::MessageSourceCatalogue::load("/nonexistent-directory/rmq.msg"), nullptr);
}

#if !defined(_WIN32)
// Every text of the evaluator's catalogue, read from the source, equals the
// one catgets reads from the compiled catalogue of the build.
TEST(MessageSourceCatalogue, TheEvaluatorsCatalogueReadsTheSameFromItsSource)
{
    auto source = plomkit_detail::MessageSourceCatalogue::load(NORVEXA_TEST_CATALOG_SOURCE);
    ASSERT_NE(source, nullptr);
    XPG4MsgServer compiled(EncodedString(L"C"), "rmq");
    ASSERT_TRUE(compiled.isOpen());
    int found = 0;
    for (int set = 1; set <= 3; ++set)
        for (int id = 1; id <= 300; ++id) {
            std::string text;
            if (!source->find(set, id, text)) {
                EXPECT_NE(utf8(compiled.getMessage(set, id)).find("not available"), std::string::npos);
                continue;
            }
            ++found;
            EXPECT_EQ(text, utf8(compiled.getMessage(set, id))) << set << "." << id;
        }
    EXPECT_GT(found, 10);
}
#endif

} // namespace
