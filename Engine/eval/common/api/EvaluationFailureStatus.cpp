// How an evaluation that failed answers: its status and the item that
// carries the failure to the host.

#include "HostStatusCodes.h"
#include "api/StatusMappings.h"
#include "machine/StackItemEvalError.h"
#include "machine/StackItemNull.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "services/Message.h"

namespace {

constexpr int messageNotEvaluated = 21;

// The message of a failure: the row's, with its insert.
Message failureMessage(ExpressionRepresentation& rep, const EvaluationFailure& row, const InvalidOp& error)
{
    Message message(row.cobolMessage);
    const ByteString errorText = error.text().asUTF8();
    switch (row.insert) {
    case EvaluationFailure::noInsert: break;
    case EvaluationFailure::insertOrExpression: {
        const ByteString insert = errorText.empty() ? rep.text() : errorText;
        message.setInserts(reinterpret_cast<const char*>(insert.data()), nullptr);
        break;
    }
    case EvaluationFailure::errorText:
        message.setInserts(reinterpret_cast<const char*>(errorText.data()), nullptr);
        break;
    }
    return message;
}

// The item that carries an evaluation failure to the host, or null.
StackItem* failureItem(ExpressionRepresentation& rep, const EvaluationFailure& row, const InvalidOp& error)
{
    if (row.nullItem)
        return new StackItemNull(rep);
    const bool cobol = rep.language() == EvaluationEnvironment::languageCOBOL;
    if (row.cobolMessage == 0 || !(cobol || row.everyLanguage))
        return nullptr;
    return new StackItemEvalError(rep, failureMessage(rep, row, error).textAsByteString());
}

} // namespace

void setEvaluationFailureMessage(ExpressionRepresentation& rep, int code, const InvalidOp& error)
{
    const EvaluationFailure& row = evaluationFailure(code);
    // The host's error text says what failed, in every language: the row's
    // message, else that the expression could not be evaluated.
    rep.message() = row.cobolMessage != 0 ? failureMessage(rep, row, error) : Message(messageNotEvaluated);
}

UBYTE2 evaluationFailureStatus(ExpressionRepresentation& rep, int code, const InvalidOp& error, StackItem*& result)
{
    const EvaluationFailure& row = evaluationFailure(code);
    setEvaluationFailureMessage(rep, code, error);
    result = failureItem(rep, row, error);
    return row.status;
}
