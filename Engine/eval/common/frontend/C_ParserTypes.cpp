// The type-id rules of the C and C++ grammar (type-specifier sequences and
// abstract declarators), the template-argument rules and the two parse
// entries.

#include <array>
#include <cstdint>
#include <vector>

#include "frontend/C_Parser.h"
#include "frontend/EE_Token.h"

namespace {

using K = EE_Token::Kind;
using TypeAction = void (*)(C_Parser_LL_Universe&, void*, void*&);

// The words of a type-specifier sequence.
enum Word : unsigned {
    WBool,
    WChar,
    WShort,
    WInt,
    WLong,
    WSigned,
    WUnsigned,
    WFloat,
    WDouble,
    WVoid,
    WWchar,
    WComplex,
    WImaginary,
    WTypeName,
    WClassKey,
    WordCount
};
using Counts = std::array<std::uint8_t, WordCount>;

int wordOf(unsigned kind)
{
    switch (kind) {
    case K::KwBool:
    case K::KwUBool: return WBool;
    case K::KwChar: return WChar;
    case K::KwShort: return WShort;
    case K::KwInt: return WInt;
    case K::KwLong: return WLong;
    case K::KwSigned: return WSigned;
    case K::KwUnsigned: return WUnsigned;
    case K::KwFloat: return WFloat;
    case K::KwDouble: return WDouble;
    case K::KwVoid: return WVoid;
    case K::KwWcharT: return WWchar;
    case K::KwUComplex: return WComplex;
    case K::KwUImaginary: return WImaginary;
    case K::TypeName: return WTypeName;
    case K::KwClass:
    case K::KwStruct:
    case K::KwUnion:
    case K::KwEnum: return WClassKey;
    default: return -1;
    }
}

// One accepted combination of words (in any order) and the type it makes; a
// null action stands for the type of the named declaration.
struct Combination {
    Counts counts;
    TypeAction action;
};

Combination combination(std::initializer_list<Word> words, TypeAction action)
{
    Combination c{{}, action};
    for (Word w : words)
        ++c.counts[w];
    return c;
}

const std::vector<Combination>& combinations()
{
    static const std::vector<Combination> table = {
        combination({WBool}, C_Parser_LL_boolIsSpecified),
        combination({WChar}, C_Parser_LL_charIsSpecified),
        combination({WSigned, WChar}, C_Parser_LL_signedCharIsSpecified),
        combination({WUnsigned, WChar}, C_Parser_LL_unsignedCharIsSpecified),
        combination({WShort}, C_Parser_LL_signedShortIntIsSpecified),
        combination({WShort, WInt}, C_Parser_LL_signedShortIntIsSpecified),
        combination({WSigned, WShort}, C_Parser_LL_signedShortIntIsSpecified),
        combination({WSigned, WShort, WInt}, C_Parser_LL_signedShortIntIsSpecified),
        combination({WUnsigned, WShort}, C_Parser_LL_unsignedShortIntIsSpecified),
        combination({WUnsigned, WShort, WInt}, C_Parser_LL_unsignedShortIntIsSpecified),
        combination({WInt}, C_Parser_LL_signedIntIsSpecified),
        combination({WSigned}, C_Parser_LL_signedIntIsSpecified),
        combination({WSigned, WInt}, C_Parser_LL_signedIntIsSpecified),
        combination({WUnsigned}, C_Parser_LL_unsignedIntIsSpecified),
        combination({WUnsigned, WInt}, C_Parser_LL_unsignedIntIsSpecified),
        combination({WLong}, C_Parser_LL_signedLongIntIsSpecified),
        combination({WLong, WInt}, C_Parser_LL_signedLongIntIsSpecified),
        combination({WSigned, WLong}, C_Parser_LL_signedLongIntIsSpecified),
        combination({WSigned, WLong, WInt}, C_Parser_LL_signedLongIntIsSpecified),
        combination({WUnsigned, WLong}, C_Parser_LL_unsignedLongIntIsSpecified),
        combination({WUnsigned, WLong, WInt}, C_Parser_LL_unsignedLongIntIsSpecified),
        combination({WLong, WLong}, C_Parser_LL_signedLongLongIntIsSpecified),
        combination({WLong, WLong, WInt}, C_Parser_LL_signedLongLongIntIsSpecified),
        combination({WSigned, WLong, WLong}, C_Parser_LL_signedLongLongIntIsSpecified),
        combination({WSigned, WLong, WLong, WInt}, C_Parser_LL_signedLongLongIntIsSpecified),
        combination({WUnsigned, WLong, WLong}, C_Parser_LL_unsignedLongLongIntIsSpecified),
        combination({WUnsigned, WLong, WLong, WInt}, C_Parser_LL_unsignedLongLongIntIsSpecified),
        combination({WFloat}, C_Parser_LL_floatIsSpecified),
        combination({WDouble}, C_Parser_LL_doubleIsSpecified),
        combination({WLong, WDouble}, C_Parser_LL_longDoubleIsSpecified),
        combination({WFloat, WComplex}, C_Parser_LL_complexFloatIsSpecified),
        combination({WDouble, WComplex}, C_Parser_LL_complexDoubleIsSpecified),
        combination({WLong, WDouble, WComplex}, C_Parser_LL_complexLongDoubleIsSpecified),
        combination({WFloat, WImaginary}, C_Parser_LL_imaginaryFloatIsSpecified),
        combination({WDouble, WImaginary}, C_Parser_LL_imaginaryDoubleIsSpecified),
        combination({WLong, WDouble, WImaginary}, C_Parser_LL_imaginaryLongDoubleIsSpecified),
        combination({WVoid}, C_Parser_LL_voidIsSpecified),
        combination({WWchar}, C_Parser_LL_wchartIsSpecified),
        combination({WTypeName}, nullptr),
        combination({WClassKey, WTypeName}, nullptr),
    };
    return table;
}

// Whether the words seen so far can still grow into a combination.
bool startsCombination(const Counts& seen)
{
    for (const Combination& c : combinations()) {
        bool within = true;
        for (unsigned w = 0; w < WordCount && within; ++w)
            within = seen[w] <= c.counts[w];
        if (within)
            return true;
    }
    return false;
}

const Combination* exactCombination(const Counts& seen)
{
    for (const Combination& c : combinations())
        if (c.counts == seen)
            return &c;
    return nullptr;
}

// The tokens that end a type-specifier sequence.
bool endsSpecifiers(unsigned kind)
{
    switch (kind) {
    case K::Star:
    case K::Ampersand:
    case K::Greater:
    case K::Comma:
    case K::LeftParen:
    case K::RightParen:
    case K::LeftBracket:
    case K::TemplateClose: return true;
    default: return false;
    }
}

// The tokens before which an abstract declarator may be empty, and that end
// a run of array bounds.
bool endsDeclarator(unsigned kind)
{
    return kind == K::Greater || kind == K::Comma || kind == K::RightParen || kind == K::TemplateClose;
}

} // namespace

bool C_Parser_LL_startsType(unsigned kind)
{
    return kind == K::KwConst || wordOf(kind) >= 0;
}

// TypeId := DeclSpecifierSequence OptionalAbstractDeclarator
bool C_Parser_LL_nonterminalSymbol_TypeId(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* type = nullptr;
    return C_Parser_LL_nonterminalSymbol_DeclSpecifierSequence(u, kind, type) &&
           C_Parser_LL_nonterminalSymbol_OptionalAbstractDeclarator(u, kind, type, result);
}

// DeclSpecifierSequence := [isFalse] TypeSpecifierSequence, when the token can start a type
bool C_Parser_LL_nonterminalSymbol_DeclSpecifierSequence(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    if (!C_Parser_LL_startsType(kind))
        return u.failSyntax();
    void* constSeen = nullptr;
    C_Parser_LL_isFalse(u, constSeen);
    return C_Parser_LL_nonterminalSymbol_TypeSpecifierSequence(u, kind, constSeen, result);
}

// TypeSpecifierSequence := { "const" [constSpecified] | type-word | type-name [getTypeName]
//                           | ("class" | "struct" | "union" | "enum") [lookUpNextNameAsType] type-name [getClassName] }
//                          [<type>IsSpecified | nameIsSpecified] [checkTagKind after a class key]
// The words form one of the accepted combinations, in any order; "const"
// stands at most once anywhere among them. The sequence ends at "*", "&",
// ">", ",", "(", ")", "[" or 81.
bool C_Parser_LL_nonterminalSymbol_TypeSpecifierSequence(C_Parser_LL_Universe& u, unsigned& kind, void* constSeen,
                                                         void*& result)
{
    Counts seen{};
    void* name = nullptr;
    unsigned classKey = 0;
    void* tag = nullptr;
    for (;;) {
        if (kind == K::KwConst) {
            C_Parser_LL_constSpecified(u, constSeen, constSeen);
            u.getToken(kind);
            continue;
        }
        int word = wordOf(kind);
        if (word >= 0) {
            ++seen[word];
            // A class key names the class that follows it, never one before it.
            if (!startsCombination(seen) || (word == WClassKey && seen[WTypeName] != 0))
                return u.failSyntax();
            if (word == WClassKey) {
                classKey = kind;
                C_Parser_LL_lookUpNextNameAsType(u);
            } else if (word == WTypeName && seen[WClassKey] != 0) {
                tag = u.lex_current();
                C_Parser_LL_getClassName(u, name);
            } else if (word == WTypeName)
                C_Parser_LL_getTypeName(u, name);
            u.getToken(kind);
            continue;
        }
        if (!endsSpecifiers(kind))
            return u.failSyntax();
        const Combination* c = exactCombination(seen);
        if (c == nullptr)
            return u.failSyntax();
        if (c->action != nullptr)
            c->action(u, constSeen, result);
        else
            C_Parser_LL_nameIsSpecified(u, constSeen, name, result);
        if (classKey != 0)
            C_Parser_LL_checkTagKind(u, classKey, tag, result);
        return true;
    }
}

// OptionalAbstractDeclarator := AbstractDeclarator | <nothing> before ">" "," ")" 81
bool C_Parser_LL_nonterminalSymbol_OptionalAbstractDeclarator(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                              void*& result)
{
    switch (kind) {
    case K::Star:
    case K::Ampersand:
    case K::LeftParen:
    case K::LeftBracket: return C_Parser_LL_nonterminalSymbol_AbstractDeclarator(u, kind, type, result);
    default:
        if (!endsDeclarator(kind))
            return u.failSyntax();
        result = type;
        return true;
    }
}

// AbstractDeclarator := PtrOperator OptionalAbstractDeclarator | DirectAbstractDeclarator
bool C_Parser_LL_nonterminalSymbol_AbstractDeclarator(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                      void*& result)
{
    switch (kind) {
    case K::Star:
    case K::Ampersand: {
        void* pointer = nullptr;
        return C_Parser_LL_nonterminalSymbol_PtrOperator(u, kind, type, pointer) &&
               C_Parser_LL_nonterminalSymbol_OptionalAbstractDeclarator(u, kind, pointer, result);
    }
    case K::LeftParen:
    case K::LeftBracket: return C_Parser_LL_nonterminalSymbol_DirectAbstractDeclarator(u, kind, type, result);
    default: return u.failSyntax();
    }
}

// PtrOperator := "*" "const" [addConstPointer] | "*" [addPointer] | "&" [addReference]
bool C_Parser_LL_nonterminalSymbol_PtrOperator(C_Parser_LL_Universe& u, unsigned& kind, void* type, void*& result)
{
    if (kind == K::Ampersand) {
        C_Parser_LL_addReference(u, type, result);
        u.getToken(kind);
        return true;
    }
    if (kind != K::Star)
        return u.failSyntax();
    u.getToken(kind);
    if (kind == K::KwConst) {
        C_Parser_LL_addConstPointer(u, type, result);
        u.getToken(kind);
        return true;
    }
    if (!endsSpecifiers(kind))
        return u.failSyntax();
    C_Parser_LL_addPointer(u, type, result);
    return true;
}

// DirectAbstractDeclarator := "(" AbstractDeclarator ")" optionalArrayBounds
//                           | "[" Expression "]" optionalArrayBounds
// As in C, the array bounds after a parenthesised declarator apply to the
// type first and the parenthesised declarator to the result: int (*)[3] is a
// pointer to an array of three ints. The parenthesised part is read once to
// find where it ends, then read again over the array type.
bool C_Parser_LL_nonterminalSymbol_DirectAbstractDeclarator(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                            void*& result)
{
    if (kind == K::LeftBracket)
        return C_Parser_LL_nonterminalSymbol_optionalArrayBounds(u, kind, type, result);
    if (kind != K::LeftParen)
        return u.failSyntax();
    Parser_LL_BackupInfo<C_Lexer>* open = u.backupInformation();
    u.getToken(kind);
    void* scratch = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_AbstractDeclarator(u, kind, type, scratch) || !u.expect(kind, K::RightParen))
        return false;
    void* outer = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_optionalArrayBounds(u, kind, type, outer))
        return false;
    Parser_LL_BackupInfo<C_Lexer>* end = u.backupInformation();
    kind = u.backup(*open);
    u.getToken(kind);
    if (!C_Parser_LL_nonterminalSymbol_AbstractDeclarator(u, kind, outer, result))
        return false;
    kind = u.backup(*end);
    u.deleteBackupInfo(open);
    u.deleteBackupInfo(end);
    return true;
}

// optionalArrayBounds := { "[" Expression "]" [addArray] }, ending at ">" "," ")" 81
// The first bound written is the outermost dimension, as in C.
bool C_Parser_LL_nonterminalSymbol_optionalArrayBounds(C_Parser_LL_Universe& u, unsigned& kind, void* type,
                                                       void*& result)
{
    std::vector<void*> bounds;
    while (kind == K::LeftBracket) {
        u.getToken(kind);
        void* bound = nullptr;
        if (!C_Parser_LL_nonterminalSymbol_Expression(u, kind, bound) || !u.expect(kind, K::RightBracket))
            return false;
        bounds.push_back(bound);
    }
    if (!endsDeclarator(kind))
        return u.failSyntax();
    for (auto bound = bounds.rbegin(); bound != bounds.rend(); ++bound)
        C_Parser_LL_addArray(u, type, *bound, type);
    result = type;
    return true;
}

// TemplateArgumentList := TemplateArgument TemplateArgumentsTail [appendTemplateArgumentList]
bool C_Parser_LL_nonterminalSymbol_TemplateArgumentList(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    void* first = nullptr;
    void* rest = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_TemplateArgument(u, kind, first) ||
        !C_Parser_LL_nonterminalSymbol_TemplateArgumentsTail(u, kind, rest))
        return false;
    C_Parser_LL_appendTemplateArgumentList(u, first, rest, result);
    return true;
}

// TemplateArgumentsTail := "," TemplateArgument TemplateArgumentsTail [appendTemplateArgumentList]
//                        | 81 [templateEnder, correctTemplateEnder]
// The closing ">" is turned into the end token, so that the parse entry
// accepts, and back; the lexer stays on it.
bool C_Parser_LL_nonterminalSymbol_TemplateArgumentsTail(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    if (kind == K::Comma) {
        u.getToken(kind);
        void* argument = nullptr;
        void* rest = nullptr;
        if (!C_Parser_LL_nonterminalSymbol_TemplateArgument(u, kind, argument) ||
            !C_Parser_LL_nonterminalSymbol_TemplateArgumentsTail(u, kind, rest))
            return false;
        C_Parser_LL_appendTemplateArgumentList(u, argument, rest, result);
        return true;
    }
    result = nullptr;
    if (kind == K::TemplateClose) {
        C_Parser_LL_templateEnder(u);
        kind = u.currentKind();
        C_Parser_LL_correctTemplateEnder(u);
        return true;
    }
    if (u.appropriateEndToken(kind)) {
        kind = K::EndOfText;
        return true;
    }
    return u.failSyntax();
}

// TemplateArgument := TypeId [templateIsType] | AssignExpression [templateIsExpr]
// The type form is tried first when the token can start a type.
bool C_Parser_LL_nonterminalSymbol_TemplateArgument(C_Parser_LL_Universe& u, unsigned& kind, void*& result)
{
    if (C_Parser_LL_startsType(kind)) {
        Parser_LL_BackupInfo<C_Lexer>* backup = u.backupInformation();
        void* type = nullptr;
        if (C_Parser_LL_nonterminalSymbol_TypeId(u, kind, type) && (kind == K::Comma || kind == K::TemplateClose)) {
            C_Parser_LL_templateIsType(u, type, result);
            u.deleteBackupInfo(backup);
            return true;
        }
        kind = u.backup(*backup);
        u.deleteBackupInfo(backup);
    }
    void* expression = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_AssignExpression(u, kind, expression))
        return false;
    C_Parser_LL_templateIsExpr(u, expression, result);
    return true;
}

namespace {
// The check of a parse entry after its start rule.
bool concludeEntry(C_Parser_LL_Universe& u, bool started, unsigned kind)
{
    if (started) {
        if (kind == K::EndOfText || u.appropriateEndToken(kind))
            return true;
        u.registerSyntaxError();
    }
    u.parseFailure();
    return false;
}
} // namespace

// Interface_Expression := Expression [setExprAnswer]
bool C_Parser_LL_startingNonterminalSymbol_Interface_Expression(C_Parser_LL_Universe& u, unsigned& kind)
{
    void* expression = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_Expression(u, kind, expression))
        return false;
    C_Parser_LL_setExprAnswer(u, expression);
    return true;
}

// TemplateArguments := TemplateArgumentList [templateArgumentList]
bool C_Parser_LL_startingNonterminalSymbol_TemplateArguments(C_Parser_LL_Universe& u, unsigned& kind)
{
    void* list = nullptr;
    if (!C_Parser_LL_nonterminalSymbol_TemplateArgumentList(u, kind, list))
        return false;
    C_Parser_LL_templateArgumentList(u, list);
    return true;
}

bool C_Parser_LL_parse_Interface_Expression(C_Parser_LL_Universe& u)
{
    unsigned kind = u.currentKind();
    bool started = C_Parser_LL_startingNonterminalSymbol_Interface_Expression(u, kind);
    return concludeEntry(u, started, kind);
}

bool C_Parser_LL_parse_TemplateArguments(C_Parser_LL_Universe& u)
{
    unsigned kind = u.currentKind();
    bool started = C_Parser_LL_startingNonterminalSymbol_TemplateArguments(u, kind);
    return concludeEntry(u, started, kind);
}
