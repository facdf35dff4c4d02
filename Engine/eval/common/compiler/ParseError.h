#ifndef NORVEXA_COMPILER_PARSEERROR_H
#define NORVEXA_COMPILER_PARSEERROR_H

// The failure of an expression build, made with new and thrown as
// ParseError*; whoever catches it deletes it. It keeps its own copy of the
// text, so that the text outlives the build's storage (a null text is kept
// as the empty text).
class ParseError {
public:
    enum ErrorType : unsigned {
        t_errorAt = 0,
        t_noSymbol = 1,
        t_noType = 2,
        t_notPointer = 3,
        t_notClassScope = 4,
        t_badLiteral = 5,
        t_invalidOperand = 6,
        t_unexpectedType = 7,
        t_unexpectedOperator = 8,
        t_unexpectedOperation = 9,
        t_unsupportedOperator = 10,
        t_badRefMod = 11,
        t_badNumberOfSubscripts = 12,
        t_noSubscriptAllowed = 13,
        t_ambigSymbol = 14,
        t_notReady = 15,
        t_notAllocated = 16,
        t_unspecified = 17,
        t_tooDeep = 18
    };

    ParseError(ErrorType kind, const char* text);
    ~ParseError();

    ParseError(const ParseError&) = delete;
    ParseError& operator=(const ParseError&) = delete;

    ErrorType kind() const { return kind_; }
    const char* text() const { return text_; }

    // The kind of a front-end parse exception's code and of an analysis
    // exception's code.
    static ErrorType ofParseExceptionCode(unsigned code);
    static ErrorType ofExceptionCode(unsigned code);

    // A new ParseError for the exception being handled (to be called from a
    // handler): a text is kept with kind 17; a parse exception keeps its
    // position in the input; an analysis exception the signature of its node
    // (parentheses stepped into; empty without a node and for a bad
    // reference modification); any other front-end exception is
    // "Traceback", anything else "Undefined".
    static ParseError* ofCurrentException();

private:
    ErrorType kind_;
    char* text_;
};

#endif
