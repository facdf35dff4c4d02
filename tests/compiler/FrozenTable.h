#ifndef NORVEXA_TESTS_COMPILER_FROZENTABLE_H
#define NORVEXA_TESTS_COMPILER_FROZENTABLE_H

// The rows of a frozen oracle table of this area's data folder (the folder
// the test environment names in NORVEXA_TEST_DATA), comments and empty lines
// left out; no rows when the folder or the file is missing.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

inline std::vector<std::string> frozenRows(const std::string& file)
{
    std::vector<std::string> rows;
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    if (dir == nullptr)
        return rows;
    std::ifstream in(std::string(dir) + "/" + file);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#')
            rows.push_back(line);
    return rows;
}

#endif
