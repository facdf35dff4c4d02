#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

const std::vector<FuzzTarget>& fuzzTargets()
{
    static const std::vector<FuzzTarget> targets = {
        {"c-parse", &fuzzCParse},  {"cobol-parse", &fuzzCobolParse},
        {"decimal", &fuzzDecimal}, {"sql-readers", &fuzzSqlReaders},
        {"road", &fuzzRoad},       {"update", &fuzzUpdate},
    };
    return targets;
}

void failFuzzCheck(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::fflush(stderr);
    std::abort();
}
