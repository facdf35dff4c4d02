#ifndef NORVEXA_SERVICES_INVALIDOP_H
#define NORVEXA_SERVICES_INVALIDOP_H

#include <plomkit/EncodedString.h>

// The evaluation error: thrown by value and caught by reference for every
// failure that is not a syntax or semantic error of the user's expression.
// Building one writes a trace line naming the reason, the raising operation
// and its source line.
class InvalidOp {
public:
    enum InvalidOperation {
        RTRC_NotSupported = 1,
        RTRC_IncompatTypes = 2,
        RTRC_DivideByZero = 3,
        RTRC_InvalidSymbol = 4,
        RTRC_ReadMemoryFailed = 5,
        RTRC_WriteMemoryFailed = 6,
        RTRC_IntfRoutineFailed = 7,
        RTRC_NotAllocated = 8,
        RTRC_InvalidValue = 9,
        RTRC_SubscriptOutOfBounds = 10,
        RTRC_NotAssociated = 11,
        RTRC_Register_Empty = 12,
        RTRC_Empty_Stack = 13,
        RTRC_ParserError = 14,
        RTRC_StackPush = 15,
        RTRC_Other = 16,
        RTRC_AssertFail = 17,
        RTRC_InvalidFormat = 18,
        RTRC_InvalidString = 19,
        RTRC_IncompleteSymbol = 20,
        RTRC_InvalidReference = 21,
        RTRC_ForceRebuildExpr = 22,
        RTRC_BadContext = 23,
        RTRC_UpdateSideEffect = 24,
        RTRC_NotInBrowseMode = 25,
        RTRC_WriteInPlayback = 26,
        RTRC_AccessOptVar = 27,
        RTRC_CallFunctionInvalid = 28,
        RTRC_CallFunctionTrap = 29,
        RTRC_CallFunctionTimeout = 30,
        RTRC_CallFunctionUserAbort = 31,
        RTRC_CallCatastrophe = 32,
        RTRC_CallBadParm = 33,
        RTRC_NonLocalUPCAddress = 34,
        RTRC_NoUPCAddress = 35,
        RTRC_BadUPCPointer = 36,
        RTRC_NoReadUPCShared = 37,
        RTRC_NoWriteUPCShared = 38,
        RTRC_FortranPointerNotAssociated = 39,
        RTRC_FortranPointerNotAllocated = 40,
        RTRC_BadRefMod = 41,
        RTRC_BadODOObjectValue = 42,
        RTRC_NonNumericCharsInString = 43,
        RTRC_BadSignInNumeric = 44,
        RTRC_BadDataInNumeric = 45,
        RTRC_FIXME = 46,
    };

    // One row of the name table: a code and its name. The table lists the
    // codes in order and ends with a row whose name is null.
    struct NameEntry {
        int code;
        const char* name;
    };
    static const NameEntry nameTable[];

    // The name of a code in the table, "Unknown" for a code not in it.
    static const char* codeName(int code);

    // function is the raising operation's signature text (a static string,
    // not copied; may be null); text is UTF-8 and may be null.
    InvalidOp(InvalidOperation code, const char* function, unsigned line);
    InvalidOp(InvalidOperation code, const char* function, unsigned line, const char* text);

    InvalidOp(const InvalidOp&) = default;
    InvalidOp& operator=(const InvalidOp&) = default;
    ~InvalidOp() = default;

    // Writes the error's trace line when tracing is on.
    void trace() const;

    InvalidOperation code() const { return _code; }
    const EncodedString& text() const { return _text; }
    const char* function() const { return _function; }
    unsigned line() const { return _line; }

private:
    EncodedString _text;
    const char* _function;
    unsigned _line;
    InvalidOperation _code;
};

#endif
