#ifndef NORVEXA_EXAMPLES_EXPRESSIONRUN_H
#define NORVEXA_EXAMPLES_EXPRESSIONRUN_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "EntryPoints.h"

class ProgramFile;
class TestHost;

namespace evalhost {

// What one expression came to: the status of each step the library could
// run (none when it was not run), the missing entry point that stopped it,
// and what the host saw.
struct ExpressionOutcome {
    std::string expression;
    // root: DbgBuildRootNodeInfo of the result, kept only when it failed.
    std::optional<unsigned> build, validate, test, evaluate, root, format;
    std::string missing; // the entry point not in this build, if one stopped the road
    std::optional<std::string> resultName;
    std::optional<std::string> errorText; // the extended error text after a failure
    std::optional<std::string> formatted; // the formatted result in the representation asked for
    // The members or elements of an aggregate value, depth first: each with
    // its level below the value (1 for its own members), its name and its
    // value; a line "... N more" after the elements of an array not shown.
    struct Member {
        unsigned level;
        std::string name, value;
    };
    std::vector<Member> members;
    struct Change {
        std::string variable;
        std::vector<std::uint8_t> before, after;
    };
    std::vector<Change> changes;
};

// Runs expressions through the loaded library against the program's
// debuggee: build, validate, test the condition when validation gave 0 (not for an SQL host variable),
// evaluate, fetch the error text after a failure, format where the road
// formats, and release everything handed out.
class ExpressionRun {
public:
    // rep: the representation of the value (0 its default); depth: the
    // levels of members shown below an aggregate.
    ExpressionRun(const EntryPoints& entries, const ProgramFile& program, TestHost& host, unsigned rep = 0,
                  unsigned depth = 2);

    ExpressionOutcome run(const std::string& expression);

private:
    std::vector<std::vector<std::uint8_t>> snapshot() const;
    // Adds the members or elements of an aggregate node, down to the depth.
    void addMembers(ResultItem* result, TreeNode* node, unsigned level, ExpressionOutcome& out) const;
    // A member's text in its default representation (the status's meaning
    // when it has none).
    std::string valueOf(ResultItem* result, TreeNode* node, bool& aggregate) const;

    const EntryPoints& _entries;
    const ProgramFile& _program;
    TestHost& _host;
    unsigned _rep;
    unsigned _depth;
};

} // namespace evalhost

#endif
