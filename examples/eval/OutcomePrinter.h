#ifndef NORVEXA_EXAMPLES_OUTCOMEPRINTER_H
#define NORVEXA_EXAMPLES_OUTCOMEPRINTER_H

#include <ostream>

#include "ExpressionRun.h"

namespace evalhost {

// Writes an expression's outcome for a reader (a block of labelled lines)
// or for scripts (one tab-separated line: expression, build, validate and
// evaluate statuses, test answer, result name, changed bytes as
// VAR=BEFORE>AFTER separated by commas, the value, the error text; "-" for
// what did not happen).
class OutcomePrinter {
public:
    OutcomePrinter(std::ostream& out, bool tsv) : _out(out), _tsv(tsv) {}

    void print(const ExpressionOutcome& outcome);

private:
    void printText(const ExpressionOutcome& outcome);
    void printTsv(const ExpressionOutcome& outcome);

    std::ostream& _out;
    bool _tsv;
};

} // namespace evalhost

#endif
