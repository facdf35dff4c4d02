#include "StatusMeanings.h"

namespace evalhost {

std::string statusMeaning(Step step, unsigned status)
{
    switch (status) {
    case 0:
        switch (step) {
        case Step::Validate: return "valid expression without side effect";
        case Step::Test: return "true";
        default: return "success";
        }
    case 3: return "a COBOL evaluation stored a value while that is refused (the result is an error item)";
    case 1000: return "valid expression that calls a function";
    case 1001: return "valid expression that stores a value (frame-dependent)";
    case 1003: return "valid expression that stores a value";
    case 1012: return "the formatted value is an aggregate";
    case 1020: return "the result type changed since validation: validate again";
    case 10000: return step == Step::Test ? "false" : "failure";
    case 10002: return "not supported";
    case 10003: return "function call timed out";
    case 10004: return "function call trapped";
    case 10005: return "function call failed badly";
    case 10006: return "not allocated";
    case 10007: return "divide by zero";
    case 10009: return "incomplete symbol";
    case 10010: return "subscript out of bounds";
    case 10011: return "not associated";
    case 10012: return "function call aborted by the user";
    case 10013: return "not allowed in browse mode";
    case 11000: return "the expression could not be built";
    case 11002: return "a name or type is unknown, ambiguous, not ready or not allocated";
    case 11010: return "bad data in a numeric value";
    case 11040:
    case 11041:
    case 11042:
    case 11043: return "the value update was refused";
    case 11050: return "bad context";
    case 11051: return "memory read or write failed";
    default: return "unknown status";
    }
}

} // namespace evalhost
