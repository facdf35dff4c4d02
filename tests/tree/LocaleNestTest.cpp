#include <future>
#include <string>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "tree/LocaleNest.h"
#include "tree/TreeFixture.h"

// The guard switches locale objects, which only the Linux build has.
#if !defined(_WIN32)

namespace {

class LocaleNestTest : public TreeTest {};

TEST_F(LocaleNestTest, NestedGuardsSwitchOnceAndRestoreOnce)
{
    const locale_t environment = LocaleNest::environmentLocale();
    ASSERT_NE(environment, locale_t(nullptr));
    auto node = root(TypeItem(130u));
    const locale_t before = uselocale(locale_t(nullptr));
    const locale_t elsewhere = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    ASSERT_NE(elsewhere, locale_t(nullptr));
    {
        LocaleNest outer(*node);
        EXPECT_EQ(uselocale(locale_t(nullptr)), environment);
        EXPECT_EQ(LocaleNest::depth(), 1);
        // An inner guard neither switches nor restores: a locale set between
        // them survives it.
        uselocale(elsewhere);
        {
            LocaleNest inner(*node);
            EXPECT_EQ(uselocale(locale_t(nullptr)), elsewhere);
            EXPECT_EQ(LocaleNest::depth(), 2);
        }
        EXPECT_EQ(uselocale(locale_t(nullptr)), elsewhere);
        EXPECT_EQ(LocaleNest::depth(), 1);
    }
    EXPECT_EQ(uselocale(locale_t(nullptr)), before);
    EXPECT_EQ(LocaleNest::depth(), 0);
    freelocale(elsewhere);
}

TEST_F(LocaleNestTest, OtherThreadsKeepTheirLocale)
{
    auto node = root(TypeItem(130u));
    const std::string globalCtype = setlocale(LC_CTYPE, nullptr);
    LocaleNest guard(*node);
    // While this thread formats under the guard, another thread sees the
    // process's locale and no guard of its own.
    auto other = std::async(std::launch::async, [] {
        return std::make_tuple(uselocale(locale_t(nullptr)) == LC_GLOBAL_LOCALE,
                               std::string(setlocale(LC_CTYPE, nullptr)), LocaleNest::depth());
    });
    auto [global, ctype, depth] = other.get();
    EXPECT_TRUE(global);
    EXPECT_EQ(ctype, globalCtype);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(uselocale(locale_t(nullptr)), LocaleNest::environmentLocale());
}

} // namespace

#endif
