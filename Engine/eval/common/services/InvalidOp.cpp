#include "services/InvalidOp.h"

#include <string>

#include "services/SVC.h"

const InvalidOp::NameEntry InvalidOp::nameTable[] = {
    {RTRC_NotSupported, "RTRC_NotSupported"},
    {RTRC_IncompatTypes, "RTRC_IncompatTypes"},
    {RTRC_DivideByZero, "RTRC_DivideByZero"},
    {RTRC_InvalidSymbol, "RTRC_InvalidSymbol"},
    {RTRC_ReadMemoryFailed, "RTRC_ReadMemoryFailed"},
    {RTRC_WriteMemoryFailed, "RTRC_WriteMemoryFailed"},
    {RTRC_IntfRoutineFailed, "RTRC_IntfRoutineFailed"},
    {RTRC_NotAllocated, "RTRC_NotAllocated"},
    {RTRC_InvalidValue, "RTRC_InvalidValue"},
    {RTRC_SubscriptOutOfBounds, "RTRC_SubscriptOutOfBounds"},
    {RTRC_NotAssociated, "RTRC_NotAssociated"},
    {RTRC_Register_Empty, "RTRC_Register_Empty"},
    {RTRC_Empty_Stack, "RTRC_Empty_Stack"},
    {RTRC_ParserError, "RTRC_ParserError"},
    {RTRC_StackPush, "RTRC_StackPush"},
    {RTRC_Other, "RTRC_Other"},
    {RTRC_AssertFail, "RTRC_AssertFail"},
    {RTRC_InvalidFormat, "RTRC_InvalidFormat"},
    {RTRC_InvalidString, "RTRC_InvalidString"},
    {RTRC_IncompleteSymbol, "RTRC_IncompleteSymbol"},
    {RTRC_InvalidReference, "RTRC_InvalidReference"},
    {RTRC_ForceRebuildExpr, "RTRC_ForceRebuildExpr"},
    {RTRC_BadContext, "RTRC_BadContext"},
    {RTRC_UpdateSideEffect, "RTRC_UpdateSideEffect"},
    {RTRC_NotInBrowseMode, "RTRC_NotInBrowseMode"},
    {RTRC_WriteInPlayback, "RTRC_WriteInPlayback"},
    {RTRC_AccessOptVar, "RTRC_AccessOptVar"},
    {RTRC_CallFunctionInvalid, "RTRC_CallFunctionInvalid"},
    {RTRC_CallFunctionTrap, "RTRC_CallFunctionTrap"},
    {RTRC_CallFunctionTimeout, "RTRC_CallFunctionTimeout"},
    {RTRC_CallFunctionUserAbort, "RTRC_CallFunctionUserAbort"},
    {RTRC_CallCatastrophe, "RTRC_CallCatastrophe"},
    {RTRC_CallBadParm, "RTRC_CallBadParm"},
    {RTRC_NonLocalUPCAddress, "RTRC_NonLocalUPCAddress"},
    {RTRC_NoUPCAddress, "RTRC_NoUPCAddress"},
    {RTRC_BadUPCPointer, "RTRC_BadUPCPointer"},
    {RTRC_NoReadUPCShared, "RTRC_NoReadUPCShared"},
    {RTRC_NoWriteUPCShared, "RTRC_NoWriteUPCShared"},
    {RTRC_FortranPointerNotAssociated, "RTRC_FortranPointerNotAssociated"},
    {RTRC_FortranPointerNotAllocated, "RTRC_FortranPointerNotAllocated"},
    {RTRC_BadRefMod, "RTRC_BadRefMod"},
    {RTRC_BadODOObjectValue, "RTRC_BadODOObjectValue"},
    {RTRC_NonNumericCharsInString, "RTRC_NonNumericCharsInString"},
    {RTRC_BadSignInNumeric, "RTRC_BadSignInNumeric"},
    {RTRC_BadDataInNumeric, "RTRC_BadDataInNumeric"},
    {RTRC_FIXME, "RTRC_FIXME"},
    {0, nullptr},
};

const char* InvalidOp::codeName(int code)
{
    for (const NameEntry* row = nameTable; row->name != nullptr; ++row)
        if (row->code == code)
            return row->name;
    return "Unknown";
}

InvalidOp::InvalidOp(InvalidOperation code, const char* function, unsigned line)
    : _function(function), _line(line), _code(code)
{
    trace();
}

InvalidOp::InvalidOp(InvalidOperation code, const char* function, unsigned line, const char* text)
    : _text(text, Encoding_UTF8), _function(function), _line(line), _code(code)
{
    trace();
}

void InvalidOp::trace() const
{
    if (!*SVC::traceEnabled())
        return;
    ByteString text = _text.asUTF8();
    const char* textBytes = reinterpret_cast<const char*>(text.data());
    if (_function == nullptr)
        SVC::pTrace("InvalidOp %s(%d)  %s", codeName(_code), static_cast<int>(_code), textBytes);
    else
        SVC::pTrace("InvalidOp %s(%d) at %s(%u)  %s", codeName(_code), static_cast<int>(_code), _function, _line,
                    textBytes);
}
