#ifndef NORVEXA_COMPILER_CXXEVALINTERFACE_H
#define NORVEXA_COMPILER_CXXEVALINTERFACE_H

#include <cstdint>

#include "types/ClassDescriptor.h"
#include "types/SymbolItem.h"
#include "types/TypeItem.h"

class ScopeItem;
class SymbolList;
class SymbolListEntry;
class TemplateItem;

// The query interface of the symbol model: plain functions through which
// the services implementation asks about symbols, scopes and types, makes
// the types COBOL data need, reads information records of a type's layout,
// resolves C++ template names and reaches a few environment services.
//
// Handles are plain pointers; null is the answer "none". Every type and
// symbol handed out belongs to the current evaluation environment and lives
// as long as it does (answers the model gives by value are interned there
// first). Arguments are checked with the interface guards (InterfaceGuards.h),
// which raise InvalidOp RTRC_Other. Traces are written only while tracing is
// on.

// ---------------------------------------------------------------------------
// Information records. Each type-information function fills the calling
// thread's one record of its kind and answers it; the record stays valid
// until the same function is called again on that thread.

struct CharstringInfoBlock {
    std::uint32_t length;
    std::uint8_t flags; // bits 0-2 the string-kind flags; bit 3 see typeCharstringInfo
};
using NationalStringInfoBlock = CharstringInfoBlock;
using DbcsStringInfoBlock = CharstringInfoBlock;

struct PictureInfoBlock {
    const char* picture;
    std::uint32_t length;
};
using ExternalFloatInfoBlock = PictureInfoBlock;
using NationalExternalFloatInfoBlock = PictureInfoBlock;
using AlphaNumericEditedInfoBlock = PictureInfoBlock;
using NationalEditedInfoBlock = PictureInfoBlock;
using DbcsEditedInfoBlock = PictureInfoBlock;

struct NumericEditedInfoBlock {
    const char* picture;
    std::uint32_t length;
    std::uint32_t digits;
    std::int32_t scale;
};
using NationalNumericEditedInfoBlock = NumericEditedInfoBlock;

struct IndexNameInfoBlock {
    std::uint32_t byteLength;
    std::uint32_t elementLength;
};

struct IndexDataItemInfoBlock {
    std::uint32_t byteLength;
};

struct FixedPointInfoBlock {
    std::uint32_t digits;
    std::int32_t scale;
    std::uint8_t flags; // bit 0 signed
    std::uint32_t signKind;
};

struct EnumInfoBlock {
    std::uint16_t size;
    std::uint8_t flags; // bit 0 no enumerators known, bit 1 always set
};

struct PointerInfoBlock {
    std::uint8_t flags; // bits 4, 5, 6 of the host pointer record's flags
};

using SymbolInfoBlock = SymbolItem::MemberLayout;
using FunctionInfoBlock = TypeItem::FunctionInfoBlock_t;
using ClassInfoBlock = ClassDescriptor;

// What a template name resolves to.
struct TemplateResolution {
    const TypeItem* type;
    const SymbolItem* symbol;
};

// ---------------------------------------------------------------------------
// Symbols

const SymbolInfoBlock* symInfo(const SymbolItem* symbol);
bool hasOwnerSymbol(const SymbolItem* symbol);
const char* symName(const SymbolItem* symbol);
const TypeItem* symType(const SymbolItem* symbol);
const ScopeItem* symScope(const SymbolItem* symbol);
const ScopeItem* scopeClass(const SymbolItem* symbol);
bool symIsConditionName(const SymbolItem* symbol);
bool symIsHiddenInEnclosedScopes(const SymbolItem* symbol);
bool symIsBuiltinProcedure(const SymbolItem* symbol);
bool symIsProcedure(const SymbolItem* symbol);
const TypeItem* returnType(const SymbolItem* symbol);
bool isReturnTypeSameAsArg1(const SymbolItem* symbol);
const SymbolItem* symFindVar(const char* name, const ScopeItem* scope);
const SymbolItem* symFindType(const char* name, const ScopeItem* scope);
const TypeItem* findNamedType(const char* name, const ScopeItem* scope);
int symbolValue(const SymbolItem* symbol, long long* value);

// Symbol lists (owned by their scope).
SymbolList* listFindVars(const char* name, const ScopeItem* scope);
unsigned listSize(const SymbolList* list);
SymbolListEntry* listFirstVar(SymbolList* list);
SymbolListEntry* listNextVar(SymbolList* list);
const SymbolItem* listEntrySymbol(const SymbolListEntry* entry);
unsigned listEntryNumberOfQualifiers(const SymbolListEntry* entry);
const SymbolItem* listEntryNextQualifier(SymbolListEntry* entry);
const SymbolItem* listEntryClosestQualifier(SymbolListEntry* entry);
const SymbolItem* listEntryOutermostQualifier(const SymbolListEntry* entry);
void freeList(SymbolList* list);

// ---------------------------------------------------------------------------
// Scopes

bool scopeIsFile(const ScopeItem* scope);
bool scopeIsBlock(const ScopeItem* scope);
bool scopeIsClass(const ScopeItem* scope);
bool scopeIsMemberFunc(const ScopeItem* scope);
const ScopeItem* scopeContainer(const ScopeItem* scope);
const char* scopeClassName(const ScopeItem* scope);
const TypeItem* scopeType(const ScopeItem* scope);
const ScopeItem* scopeFilescope();
const ScopeItem* scopeDefiningType(const TypeItem* type);
const ScopeItem* memberFuncOwningClassScope(const ScopeItem* scope);

// ---------------------------------------------------------------------------
// Types

const TypeItem* findPredefinedType(int kind);
const TypeItem* typeSizeT();
const TypeItem* typePtrdiffT();
const ScopeItem* typeScope(const TypeItem* type);
const TypeItem* typeReferredTo(const TypeItem* type);
const TypeItem* typePointedTo(const TypeItem* type);
const TypeItem* typeOfPointee(const TypeItem* type);
const char* typeName(const TypeItem* type);
TypeKind typeKind(const TypeItem* type);
const TypeItem* typeOfArrayElement(const TypeItem* type);
const TypeItem* reduceType(const TypeItem* type);
unsigned rankOfType(const TypeItem* type);
long long boundOfType(const TypeItem* type, bool upper, unsigned dimension);
unsigned sizeOfType(const TypeItem* type);
bool isSameType(const TypeItem* first, const TypeItem* second);
const TypeItem* enumType(const TypeItem* type);
const TypeItem* createPointerTo(const TypeItem* type);
const TypeItem* createReferenceTo(const TypeItem* type);
const TypeItem* createAddressOfReferenceTo(const TypeItem* type);
const TypeItem* createArrayOf(const TypeItem* type, unsigned long long count);
const ClassInfoBlock* typeClassInfo(const TypeItem* type);
const FunctionInfoBlock* typeFunctionInfo(const TypeItem* type);
const EnumInfoBlock* typeEnumInfo(const TypeItem* type);

const CharstringInfoBlock* typeCharstringInfo(const TypeItem* type);
const NationalStringInfoBlock* typeNationalStringInfo(const TypeItem* type);
const DbcsStringInfoBlock* typeDbcsStringInfo(const TypeItem* type);
const ExternalFloatInfoBlock* typeExternalFloatInfo(const TypeItem* type);
const NationalExternalFloatInfoBlock* typeNationalExternalFloatInfo(const TypeItem* type);
const AlphaNumericEditedInfoBlock* typeAlphaNumericEditedInfo(const TypeItem* type);
const NationalEditedInfoBlock* typeNationalEditedInfo(const TypeItem* type);
const DbcsEditedInfoBlock* typeDbcsEditedInfo(const TypeItem* type);
const NumericEditedInfoBlock* typeNumericEditedInfo(const TypeItem* type);
const NationalNumericEditedInfoBlock* typeNationalNumericEditedInfo(const TypeItem* type);
const IndexNameInfoBlock* typeIndexNameInfo(const TypeItem* type);
const IndexDataItemInfoBlock* typeIndexDataItemInfo(const TypeItem* type);
const FixedPointInfoBlock* typeFixedPointInfo(const TypeItem* type);
const PointerInfoBlock* typePointerInfo(const TypeItem* type);

// Created COBOL types; the leading kind is not used unless said.
const TypeItem* createCharstringType(int kind, unsigned length, unsigned char flags);
const TypeItem* createNationalStringType(int kind, unsigned length, unsigned char flags);
const TypeItem* createDbcsStringType(int kind, unsigned length, unsigned char flags);
const TypeItem* createExternalFloatType(int kind, const char* picture, unsigned length);
const TypeItem* createNationalExternalFloatType(int kind, const char* picture, unsigned length);
const TypeItem* createAlphaNumericEditedType(int kind, const char* picture, unsigned length);
const TypeItem* createNationalEditedType(int kind, const char* picture, unsigned length);
const TypeItem* createDbcsEditedType(int kind, const char* picture, unsigned length);
const TypeItem* createNumericEditedType(int kind, const char* picture, unsigned length, unsigned digits, int scale);
const TypeItem* createNationalNumericEditedType(int kind, const char* picture, unsigned length, unsigned digits,
                                                int scale);
const TypeItem* createIndexNameType(int kind, unsigned byteLength, unsigned elementLength);
const TypeItem* createIndexDataItemType(int kind, unsigned byteLength);
// Kind 39, 46 or 57: a character, national or DBCS string of the size of
// type; null for other kinds.
const TypeItem* createRefModType(int kind, const TypeItem* type);
// Kind 37, 38, 44 or 45; null for other kinds.
const TypeItem* createFixedPointType(int kind, unsigned digits, int scale, bool isSigned, unsigned signKind);

// ---------------------------------------------------------------------------
// Templates

TemplateItem* startTemplateResolution(const char* name, const ScopeItem* scope);
bool addTemplateTypeParm(TemplateItem* item, const TypeItem* type);
bool addTemplateIntegerParm(TemplateItem* item, unsigned long long value, bool isSigned);
TemplateResolution resolveTemplate(const TemplateItem* item);
bool isTemplateName(const char* name, const ScopeItem* scope);

// ---------------------------------------------------------------------------
// Environment, characters and numbers

bool isTraceEnabled();
// Formats into the calling thread's 8,192-byte buffer (cut when longer) and
// hands the line to the host trace; only while tracing is on.
void trace(const char* format, ...) __attribute__((format(NORVEXA_PRINTF_FORMAT, 1, 2)));
// The current environment's alternate-character-set byte.
unsigned char alternateCharacterSet();
// The UTF-8 form of a code point (at most 6 bytes); answers the byte count,
// 0 for a value above 0x7FFFFFFF.
int utf8Encode(unsigned long code, unsigned char* buffer);
// Decodes one UTF-8 character into out, as wide as the program's wchar_t
// (2 bytes: 16 bits; 4: 32 bits; 8: 64 bits sign-extended); answers the
// bytes used, or -1 when they exceed max, the text is no UTF-8 character, or
// wchar_t has another width.
int MBtowc(void* out, const char* text, unsigned max);
// Parses an integer literal; sets *isSigned and *size (4 or 8).
long long evaluateNumber(const char* text, unsigned length, bool* isSigned, unsigned* size);
// Sets browse mode when on is non-zero, clears it otherwise; answers all
// bits set when it was on before, else 0.
unsigned setBrowseMode(int on);

#endif
