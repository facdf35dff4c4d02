#include <string>

#include <gtest/gtest.h>

#include "api/DemangleBinding.h"
#include "api/SimpleName.h"
#include "tree/SqlHostVariable.h"

namespace {

TEST(SimpleNameTest, IsSimpleNameBesideSimpleName)
{
    // isSimpleName skips groups in parentheses and brackets and takes '.'
    // as an identifier character; simpleName knows neither brackets nor '.'.
    struct Case {
        const char* text;
        bool isSimple;
        bool simple;
    } cases[] = {
        {"a.b", true, false},
        {"arr[i+1]", true, false},
        {"f(x, y)", true, true},
        {"m[1][3]", true, false},
        {"s.arr[f(a[1]) + 2]", true, false},
        {"a+b", false, false},
        {"a b", false, false},
        {"x)", false, false},
        {"x]", false, false},
        {"*p", false, false},
        {"(*q)", true, true},
        {"TAB OF REC", false, false},
        {"$x@#_9", true, true},
        {"", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isSimpleName(c.text), c.isSimple) << c.text;
        EXPECT_EQ(simpleName(reinterpret_cast<const unsigned char*>(c.text)), c.simple) << c.text;
    }
    EXPECT_TRUE(isSimpleName(static_cast<const char*>(nullptr)));
}

TEST(DemangleTest, LanguagesDemangledAsCpp)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the demangler companion is a Linux library";
#endif
    struct Case {
        int language;
        const char* mangled;
        std::uint16_t status;
        const char* readable;
        const char* name;
    } cases[] = {
        {0, "_ZN2ns1fEi", 0, "ns::f(int)", "ns::f"},
        {3, "_ZN2ns1fEi", 0, "ns::f(int)", "ns::f"},
        {4, "_ZN2ns1fEi", 0, "ns::f(int)", "ns::f"},
        {0, "_ZNK1A1gEv", 0, "A::g() const", "A::g"},
        {0, "_ZN1AclEi", 0, "A::operator()(int)", "A::operator()"},
        {0, "_ZZ4mainE1x", 0, "main::x", "main::x"},
        {0, "_ZN2ns1xE", 0, "ns::x", "ns::x"},
        {5, "_ZN2ns1fEi", 10002, "", ""},
        {1, "_ZN2ns1fEi", 10002, "", ""},
        {0, "not a mangled name", 10002, "", ""},
        {0, "_ZN2ns", 10002, "", ""},
        {0, nullptr, 10002, "", ""},
    };
    for (const Case& c : cases) {
        ByteString readable, name;
        EXPECT_EQ(DemangleBinding::demangle(c.language, c.mangled, readable, name), c.status)
            << (c.mangled ? c.mangled : "null") << " in " << c.language;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(readable.data())), c.readable);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(name.data())), c.name);
    }
}

TEST(DemangleTest, WithoutTheCompanionEveryNameIsRefused)
{
#if defined(_WIN32)
    GTEST_SKIP() << "the demangler companion is a Linux library";
#endif
    ASSERT_NE(DemangleBinding::entry(), nullptr);
    EXPECT_EQ(DemangleBinding::bind(L"norvexanosuchlibrary"), nullptr);
    ByteString readable, name;
    EXPECT_EQ(DemangleBinding::demangle(0, "_ZN2ns1fEi", readable, name, nullptr), 10002);
    EXPECT_TRUE(readable.empty());
    EXPECT_TRUE(name.empty());
}

} // namespace
