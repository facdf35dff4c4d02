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

// The item that carries an evaluation failure to the host, or null.
StackItem* failureItem(ExpressionRepresentation& rep, const EvaluationFailure& row, const InvalidOp& error)
{
    if (row.nullItem)
        return new StackItemNull(rep);
    const bool cobol = rep.language() == EvaluationEnvironment::languageCOBOL;
    if (row.cobolMessage == 0 || !(cobol || row.everyLanguage))
        return nullptr;
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
    return new StackItemEvalError(rep, message.textAsByteString());
}

}  // namespace

UBYTE2 evaluationFailureStatus(ExpressionRepresentation& rep, int code, const InvalidOp& error, StackItem*& result)
{
    const EvaluationFailure& row = evaluationFailure(code);
    result = failureItem(rep, row, error);
    return row.status;
}
