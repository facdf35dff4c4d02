#include "api/StatusMappings.h"

#include <iterator>

#include "HostStatusCodes.h"
#include "compiler/ParseError.h"

namespace {

const BuildFailure buildFailures[] = {
    {"ParseError::t_errorAt ", true, 1, 1, statusBuildFailed},
    {"ParseError::t_noSymbol ", false, 3, 4, statusUnknownName},
    {"ParseError::t_noType ", false, 6, 6, statusUnknownName},
    {"ParseError::t_notPointer ", false, 7, 7, statusBuildFailed},
    {"ParseError::t_notClassScope ", false, 7, 7, statusBuildFailed},
    {"ParseError::t_badLiteral ", false, 9, 9, statusBuildFailed},
    {"ParseError::t_invalidOperand ", false, 10, 11, statusBuildFailed},
    {"ParseError::t_unexpectedType ", false, 12, 13, statusBuildFailed},
    {"ParseError::t_unexpectedOperator ", false, 14, 14, statusBuildFailed},
    {"ParseError::t_unexpectedOperation ", false, 15, 16, statusBuildFailed},
    {"ParseError::t_unsupportedOperator ", false, 17, 17, statusBuildFailed},
    {"ParseError::t_badRefMod ", false, 32, 32, statusBuildFailed},
    {"ParseError::t_badNumberOfSubscripts ", false, 35, 35, statusBuildFailed},
    {"ParseError::t_noSubscriptAllowed ", false, 36, 36, statusBuildFailed},
    {"ParseError::t_ambigSymbol ", false, 44, 44, statusUnknownName},
    {"ParseError::t_notReady ", false, 42, 42, statusUnknownName},
    {"ParseError::t_notAllocated ", false, 34, 34, statusUnknownName},
    {"Unspecified parser error - ", false, 0, 0, statusBuildFailed},
    {"ParseError::t_tooDeep ", false, 60, 60, statusBuildFailed},
};

using F = EvaluationFailure;
// Row n is InvalidOp code n; row 0 also answers codes above the table.
const EvaluationFailure evaluationFailures[] = {
    /*  0 (none)                          */ {statusFailure, 0, F::noInsert, false, false},
    /*  1 RTRC_NotSupported               */ {statusNotSupported, 0, F::noInsert, false, false},
    /*  2 RTRC_IncompatTypes              */ {statusFailure, 0, F::noInsert, false, false},
    /*  3 RTRC_DivideByZero               */ {statusDivideByZero, 29, F::noInsert, false, false},
    /*  4 RTRC_InvalidSymbol              */ {statusFailure, 0, F::noInsert, false, false},
    /*  5 RTRC_ReadMemoryFailed           */ {statusMemoryAccessFailed, 34, F::insertOrExpression, false, false},
    /*  6 RTRC_WriteMemoryFailed          */ {statusMemoryAccessFailed, 34, F::insertOrExpression, false, false},
    /*  7 RTRC_IntfRoutineFailed          */ {statusFailure, 0, F::noInsert, false, false},
    /*  8 RTRC_NotAllocated               */ {statusNotAllocated, 0, F::noInsert, true, false},
    /*  9 RTRC_InvalidValue               */ {statusFailure, 0, F::noInsert, false, false},
    /* 10 RTRC_SubscriptOutOfBounds       */ {statusSubscriptOutOfBounds, 30, F::insertOrExpression, false, false},
    /* 11 RTRC_NotAssociated              */ {statusNotAssociated, 0, F::noInsert, false, false},
    /* 12 RTRC_Register_Empty             */ {statusFailure, 0, F::noInsert, false, false},
    /* 13 RTRC_Empty_Stack                */ {statusFailure, 0, F::noInsert, false, false},
    /* 14 RTRC_ParserError                */ {statusFailure, 0, F::noInsert, false, false},
    /* 15 RTRC_StackPush                  */ {statusFailure, 0, F::noInsert, false, false},
    /* 16 RTRC_Other                      */ {statusFailure, 0, F::noInsert, false, false},
    /* 17 RTRC_AssertFail                 */ {statusFailure, 0, F::noInsert, false, false},
    /* 18 RTRC_InvalidFormat              */ {statusFailure, 0, F::noInsert, false, false},
    /* 19 RTRC_InvalidString              */ {statusFailure, 0, F::noInsert, false, false},
    /* 20 RTRC_IncompleteSymbol           */ {statusIncompleteSymbol, 0, F::noInsert, false, false},
    /* 21 RTRC_InvalidReference           */ {statusFailure, 0, F::noInsert, false, false},
    /* 22 RTRC_ForceRebuildExpr           */ {statusValidateAgain, 0, F::noInsert, false, false},
    /* 23 RTRC_BadContext                 */ {statusBadContext, 0, F::noInsert, false, false},
    /* 24 RTRC_UpdateSideEffect           */ {statusFailure, 0, F::noInsert, false, false},
    /* 25 RTRC_NotInBrowseMode            */ {statusNotInBrowseMode, 0, F::noInsert, false, false},
    /* 26 RTRC_WriteInPlayback            */ {statusFailure, 40, F::noInsert, false, false},
    /* 27 RTRC_AccessOptVar               */ {statusFailure, 43, F::errorText, false, false},
    /* 28 RTRC_CallFunctionInvalid        */ {statusFailure, 33, F::errorText, false, false},
    /* 29 RTRC_CallFunctionTrap           */ {statusCallTrapped, 0, F::noInsert, false, false},
    /* 30 RTRC_CallFunctionTimeout        */ {statusCallTimedOut, 0, F::noInsert, false, false},
    /* 31 RTRC_CallFunctionUserAbort      */ {statusCallAborted, 0, F::noInsert, false, false},
    /* 32 RTRC_CallCatastrophe            */ {statusCallFailedBadly, 0, F::noInsert, false, false},
    /* 33 RTRC_CallBadParm                */ {statusFailure, 0, F::noInsert, false, false},
    /* 34 RTRC_NonLocalUPCAddress         */ {statusFailure, 52, F::errorText, false, true},
    /* 35 RTRC_NoUPCAddress               */ {statusFailure, 0, F::noInsert, false, false},
    /* 36 RTRC_BadUPCPointer              */ {statusFailure, 51, F::noInsert, false, true},
    /* 37 RTRC_NoReadUPCShared            */ {statusFailure, 0, F::noInsert, false, false},
    /* 38 RTRC_NoWriteUPCShared           */ {statusFailure, 0, F::noInsert, false, false},
    /* 39 RTRC_FortranPointerNotAssociated*/ {statusNotAssociated, 0, F::noInsert, false, false},
    /* 40 RTRC_FortranPointerNotAllocated */ {statusNotAllocated, 0, F::noInsert, true, false},
    /* 41 RTRC_BadRefMod                  */ {statusFailure, 32, F::noInsert, false, false},
    /* 42 RTRC_BadODOObjectValue          */ {statusFailure, 31, F::insertOrExpression, false, false},
    /* 43 RTRC_NonNumericCharsInString    */ {statusFailure, 37, F::noInsert, false, false},
    /* 44 RTRC_BadSignInNumeric           */ {statusFailure, 38, F::insertOrExpression, false, false},
    /* 45 RTRC_BadDataInNumeric           */ {statusFailure, 39, F::insertOrExpression, false, false},
    /* 46 RTRC_FIXME                      */ {statusFailure, 0, F::noInsert, false, false},
};
static_assert(std::size(evaluationFailures) == 47);

} // namespace

const BuildFailure& buildFailure(unsigned kind)
{
    // Kinds the table does not know answer as the unspecified failure.
    const unsigned unspecified = ParseError::t_unspecified;
    return buildFailures[kind < std::size(buildFailures) ? kind : unspecified];
}

const EvaluationFailure& evaluationFailure(int code)
{
    if (code < 0 || code >= static_cast<int>(std::size(evaluationFailures)))
        return evaluationFailures[0];
    return evaluationFailures[code];
}
