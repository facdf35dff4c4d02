#ifndef NORVEXA_EXAMPLES_STATUSMEANINGS_H
#define NORVEXA_EXAMPLES_STATUSMEANINGS_H

#include <string>

namespace evalhost {

// The step of a request whose status is told.
enum class Step {
    Build,
    Validate,
    Test,
    Evaluate,
    Root,
    Format
};

// What a status of the evaluator's interface means after a step.
std::string statusMeaning(Step step, unsigned status);

} // namespace evalhost

#endif
