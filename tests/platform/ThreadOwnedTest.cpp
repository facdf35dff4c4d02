#include <algorithm>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <plomkit/ThreadOwned.h>

// Objects of a thread: one per thread and call site, destroyed whole when
// the thread ends.

namespace {

std::mutex seenLock;
std::vector<std::string> seenAtDestruction;

// Records, when destroyed, the text it held: a destructor that ran on freed
// or reused memory records something else, or fails.
struct Probe {
    std::string text;
    ~Probe()
    {
        std::lock_guard<std::mutex> hold(seenLock);
        seenAtDestruction.push_back(text);
    }
};

Probe& probe()
{
    return threadOwned<Probe>([] {});
}

std::string& firstSite()
{
    return threadOwned<std::string>([] {});
}

std::string& secondSite()
{
    return threadOwned<std::string>([] {});
}

std::string& made(int count)
{
    return threadOwned<std::string>([] {}, count, 'x');
}

} // namespace

TEST(ThreadOwned, OnePerThreadAndCallSite)
{
    EXPECT_EQ(&firstSite(), &firstSite());
    EXPECT_NE(&firstSite(), &secondSite());
    firstSite() = "main";
    std::string* there = nullptr;
    std::string seenThere = "untouched";
    std::thread([&] {
        there = &firstSite();
        seenThere = *there;
    }).join();
    EXPECT_NE(there, &firstSite());
    EXPECT_EQ(seenThere, "");
    EXPECT_EQ(firstSite(), "main");

    // The arguments make the thread's object on its first use only.
    EXPECT_EQ(made(3), "xxx");
    EXPECT_EQ(made(5), "xxx");
    std::string madeThere;
    std::thread([&] { madeThere = made(2); }).join();
    EXPECT_EQ(madeThere, "xx");
}

TEST(ThreadOwned, DestroyedWholeWhenTheThreadEnds)
{
    {
        std::lock_guard<std::mutex> hold(seenLock);
        seenAtDestruction.clear();
    }
    // Texts longer than any in-place buffer: each owns heap memory that its
    // destructor frees.
    std::vector<std::string> expected;
    for (int round = 0; round < 3; ++round) {
        std::vector<std::thread> threads;
        for (int i = 0; i < 4; ++i) {
            std::string text = "the object of thread " + std::to_string(round * 4 + i) + std::string(64, '.');
            expected.push_back(text);
            threads.emplace_back([text] { probe().text = text; });
        }
        for (std::thread& t : threads)
            t.join();
    }
    std::lock_guard<std::mutex> hold(seenLock);
    std::vector<std::string> seen = seenAtDestruction;
    std::sort(seen.begin(), seen.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seen, expected);
}
