#ifndef NORVEXA_API_STATUSMAPPINGS_H
#define NORVEXA_API_STATUSMAPPINGS_H

#include <cstdint>

class ExpressionRepresentation;
class InvalidOp;
class StackItem;

// How the entry points answer the failures of building and evaluating an
// expression: one row per failure, with the status, the catalogue message
// the representation or the result item shows, and its trace.

// A failed build (ParseError kinds 0 to 16; larger kinds take the last
// row): validation answers status and sets message (in COBOL cobolMessage)
// with the error's text as its one insert. Kind 0 shows message 2 in place
// of 1 when the text is empty; kind 1 in COBOL shows message 5 when the
// host's compilation setting 4 is on. Message 0 stands for the text alone.
struct BuildFailure {
    // The trace: the prefix, then the error's text (in quotes when quoted).
    const char* trace;
    bool quoted;
    int message;
    int cobolMessage;
    std::uint16_t status;
};
const BuildFailure& buildFailure(unsigned kind);

// An InvalidOp code met while evaluating (1 to 46; 0 and larger codes take
// a row of their own, 10000 without an item): the status, the catalogue
// message of the COBOL error item (0: none) and what it inserts, and whether
// every language hands out a null item.
struct EvaluationFailure {
    enum Insert : std::uint8_t {
        noInsert,
        insertOrExpression,
        errorText
    };
    std::uint16_t status;
    int cobolMessage;
    Insert insert;
    bool nullItem;
    // Every language's item carries the message, not COBOL's alone.
    bool everyLanguage;
};
const EvaluationFailure& evaluationFailure(int code);

// The function and line number every trace line of DbgValidateExpr
// carries, whichever function and line of the source writes it: they are
// part of the traces' required texts.
inline constexpr char validationTraceFunction[] =
    "UBYTE2 DbgValidateExpr(ExpressionRepresentation*, const LCC_Eval_Context_Info*, StackItem**)";
constexpr unsigned validationTraceLine = 1322;

// Called from a handler of DbgValidateExpr: the status of the exception
// being handled, the representation's message set for it (browse mode
// leaves it as it was). Throws nothing.
std::uint16_t validationFailureStatus(ExpressionRepresentation& rep);

// The status of an evaluation error of the code (the value stack's
// not-allocated mark already applied), and in result the item that carries
// it to the host (null when there is none).
std::uint16_t evaluationFailureStatus(ExpressionRepresentation& rep, int code, const InvalidOp& error,
                                      StackItem*& result);

// Sets the representation's message for an evaluation error of the code, as
// evaluationFailureStatus sets it.
void setEvaluationFailureMessage(ExpressionRepresentation& rep, int code, const InvalidOp& error);

#endif
