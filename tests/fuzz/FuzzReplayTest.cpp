// Every saved input of every fuzz target, run again through the target's
// own function: the inputs that once showed a fault (fuzz/regressions/
// <target>/, each named by the fault) and the seed corpus (fuzz/corpus/
// <target>/). An input that shows a fault again aborts the program after
// its name is printed.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FuzzTargets.h"

namespace {

namespace fs = std::filesystem;

// The files of a folder, sorted by name.
std::vector<fs::path> filesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    if (fs::is_directory(folder))
        for (const fs::directory_entry& e : fs::directory_iterator(folder))
            if (e.is_regular_file() && e.path().filename() != ".gitkeep")
                files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Runs every file of the folder through the target; the number run.
unsigned replay(const FuzzTarget& target, const fs::path& folder)
{
    unsigned count = 0;
    for (const fs::path& file : filesIn(folder)) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "replaying %s\n", file.string().c_str());
        EXPECT_EQ(target.run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0) << file;
        ++count;
    }
    return count;
}

TEST(FuzzReplay, RegressionsOfEveryTargetRunClean)
{
    for (const FuzzTarget& target : fuzzTargets())
        replay(target, fs::path(NORVEXA_FUZZ_DIR) / "regressions" / target.name);
}

TEST(FuzzReplay, SeedsOfEveryTargetRunClean)
{
    for (const FuzzTarget& target : fuzzTargets())
        EXPECT_GT(replay(target, fs::path(NORVEXA_FUZZ_DIR) / "corpus" / target.name), 0u) << target.name;
    // scripts/fuzz.sh knows the targets by their corpus folders.
    for (const fs::directory_entry& e : fs::directory_iterator(fs::path(NORVEXA_FUZZ_DIR) / "corpus")) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(std::any_of(fuzzTargets().begin(), fuzzTargets().end(),
                                [&](const FuzzTarget& t) { return name == t.name; }))
            << "a corpus folder of no target: " << name;
    }
}

} // namespace
