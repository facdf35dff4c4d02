// Evaluates one C expression of the road's program again and again on the
// benchmarks' host, for callgrind to count the instructions of a warm
// replay: scripts/bench.sh runs it twice under
// `valgrind --tool=callgrind --toggle-collect=DbgEvaluateExpr` with two
// counts and divides the difference of the totals by the difference of the
// counts, so that the first evaluations and the setup drop out.
//
//     norvexa_replay_count EXPRESSION COUNT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchHost.h"
#include "RoadPrograms.h"
#include "api/ExpressionEntryPoints.h"
#include "api/PluginEntryPoints.h"
#include "testhost/ProgramFile.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: norvexa_replay_count EXPRESSION COUNT\n");
        return 2;
    }
    std::string text = argv[1];
    const long count = std::strtol(argv[2], nullptr, 10);
    BenchHost& bench = BenchHost::instance();
    if (DbgInitialize(&bench.host.table()) != 1)
        return 1;
    ProgramFile::Options options;
    options.section = 2;
    const ProgramFile program = ProgramFile::read(cProgram, bench.host, options);
    ExpressionRepresentation* rep = nullptr;
    StackItem* type = nullptr;
    if (DbgBuildExprIntRep(reinterpret_cast<unsigned char*>(text.data()), program.context(),
                           static_cast<UBYTE4>(program.languageCode()), 0, &rep) != 0 ||
        DbgValidateExpr(rep, program.context(), &type) >= 10000) {
        std::fprintf(stderr, "%s does not validate\n", argv[1]);
        return 1;
    }
    for (long run = 0; run < count; ++run) {
        StackItem* result = nullptr;
        UBYTE1* name = nullptr;
        if (DbgEvaluateExpr(rep, program.context(), &result, &name) != 0) {
            std::fprintf(stderr, "%s does not evaluate\n", argv[1]);
            return 1;
        }
        DbgFreeEvalResultInfo(result);
    }
    DbgFreeTypeResultInfo(type);
    DbgFreeExprIntRep(rep);
    return 0;
}
