#ifndef NORVEXA_EXAMPLES_EVALOPTIONS_H
#define NORVEXA_EXAMPLES_EVALOPTIONS_H

#include <string>
#include <vector>

namespace evalhost {

// The command line of norvexa-eval:
//     norvexa-eval [--program FILE|c|cobol] [--bits 32|64] [--code-page N] [--rep N] [--depth N] [--tsv]
//                  EXPRESSION...
struct EvalOptions {
    std::string program = "c"; // a file, or the name of a shipped sample
    unsigned bits = 64;
    std::string codePage{};
    unsigned representation = 0; // 0: each value's default
    unsigned depth = 2;          // levels of members and elements shown below an aggregate
    bool tsv = false;
    bool help = false;
    std::vector<std::string> expressions{};

    // Reads the arguments after the program name; a text saying what is
    // wrong, or "" when they are good.
    std::string parse(const std::vector<std::string>& arguments);

    static const char* usage();
};

} // namespace evalhost

#endif
