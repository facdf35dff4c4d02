#ifndef EE_DEBUGGERSERVICES_H
#define EE_DEBUGGERSERVICES_H

#include "frontend/EE_BinaryExpression.h"
#include "frontend/EE_CastExpression.h"
#include "frontend/EE_DecimalSign.h"
#include "frontend/EE_MemberExpression.h"
#include "frontend/EE_TypeDescriptor.h"
#include "frontend/EE_UnaryExpression.h"

class EE_ArraySectionExpression;
class EE_BaseMemberName;
class EE_BaseNameLookupChain;
class EE_ConditionalExpression;
class EE_Declaration;
class EE_DeclarationStore;
class EE_Expression;
class EE_FigConstant;
class EE_FigConstantExpression;
class EE_FunctionCallExpression;
class EE_ImaginaryExpression;
class EE_Label;
class EE_LiteralExpression;
class EE_LiteralValue;
class EE_MemberAccessList;
class EE_Name;
class EE_NameExpression;
class EE_OffsetofExpression;
class EE_Parameter;
class EE_ParenthesesExpression;
class EE_SizeofTypeExpression;
class EE_StorageArena;
class EE_String;
class EE_SubscriptExpression;
class EE_TemplateArgument;
class EE_ThisExpression;
class EE_TypeidOfTypeExpression;
class EE_VectorSubscriptExpression;
struct EE_Token;
struct ArgMode;

// Everything the language-neutral front end and the analyser need of the
// debugged program and of the evaluation back end: the program's predefined
// and derived types, name lookup, the factory of syntax-tree nodes and literal
// values, and the recording of byte code. The front end holds only a
// reference to it.
//
// The order of the virtual operations is part of the contract with the
// analyser; keep it. Besides them the class carries code shared by every
// implementation: folding of integral constant expressions and predicates
// over type kinds.
class EE_DebuggerServices {
public:
    virtual ~EE_DebuggerServices();

    // --- Capabilities and environment -----------------------------------
    virtual bool supportsAssignment() = 0;
    virtual bool supportsDecimalFloatingPoint() = 0;
    // The length in bytes of the multibyte character at the pointer.
    virtual int mblen(const char* text) = 0;
    // Writes the UTF-8 form of a code point into the buffer; the byte count.
    virtual int utf8encode(unsigned int code, char* buffer) = 0;
    virtual bool isFortran() = 0;
    virtual bool isCobol() = 0;
    // The arena that holds the nodes, names and strings of this parse.
    virtual EE_StorageArena& storageArena() = 0;
    virtual EE_DeclarationStore* globalStore() = 0;
    virtual EE_DeclarationStore* currentStore() = 0;
    // Makes `store` current; the previous current store.
    virtual EE_DeclarationStore* setCurrentStore(EE_DeclarationStore& store) = 0;
    // The class of the current member function, or null.
    virtual EE_TypeDescriptor* typeDescriptorOfClosestEnclosingClass() = 0;
    virtual EE_TypeDescriptor* arraySectionTypeDescriptor() = 0;

    // --- Predefined type descriptors, each made once and reused ----------
    virtual EE_TypeDescriptor* boolTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* bool16TypeDescriptor() = 0;
    virtual EE_TypeDescriptor* bool32TypeDescriptor() = 0;
    virtual EE_TypeDescriptor* bool64TypeDescriptor() = 0;
    virtual EE_TypeDescriptor* charTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* wchar_tTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* signedCharTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* unsignedCharTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* signedShortIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* unsignedShortIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* signedIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* unsignedIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* signedLongIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* unsignedLongIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* signedLongLongIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* unsignedLongLongIntTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* sizetTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* ptrdifftTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* floatTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* doubleTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* longDoubleTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* floatQuvHexTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* doubleQuvHexTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* longDoubleQuvHexTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* complexFloatTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* complexDoubleTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* complexLongDoubleTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* complexFloatQuvHexTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* complexDoubleQuvHexTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* complexLongDoubleQuvHexTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* decimal32TypeDescriptor() = 0;
    virtual EE_TypeDescriptor* decimal64TypeDescriptor() = 0;
    virtual EE_TypeDescriptor* decimal128TypeDescriptor() = 0;
    virtual EE_TypeDescriptor* packedDecimalTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* pointerToCharTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* pointerToWchartTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* pointerToFortranCharacterTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* pointerToVoidTypeDescriptor() = 0;
    virtual EE_TypeDescriptor* zonedDecimalTypeDescriptor() = 0;

    // --- Type queries ----------------------------------------------------
    // The type that an alias or a character type such as wchar_t stands for.
    virtual EE_TypeDescriptor* underlyingTypeDescriptor(const EE_TypeDescriptor& type) = 0;
    // The type a bit field's value promotes to (int when its width is less
    // than int's, unsigned int for an unsigned field as wide as int, else its
    // declared width's integer); null when the type is no bit field.
    virtual EE_TypeDescriptor* bitFieldPromotion(const EE_TypeDescriptor&) { return nullptr; }
    virtual unsigned sizeOfInt() = 0;
    virtual unsigned sizeOfLongInt() = 0;
    // True and the size in bytes, or false when the size is not known.
    virtual bool sizeOf(const EE_TypeDescriptor& type, long long& size) const = 0;
    virtual unsigned rankOf(const EE_TypeDescriptor& type) const = 0;
    virtual long long lowerBound(const EE_TypeDescriptor& type, unsigned int dimension) const = 0;
    virtual long long upperBound(const EE_TypeDescriptor& type, unsigned int dimension) const = 0;
    virtual bool isSameAs(const EE_TypeDescriptor& a, const EE_TypeDescriptor& b) const = 0;

    // --- Template arguments ----------------------------------------------
    virtual EE_TemplateArgument* createTemplateArgument(EE_Expression& expression) = 0;
    virtual EE_TemplateArgument* createTemplateArgument(const EE_TypeDescriptor& type) = 0;

    // --- Descriptor find-or-create (the int is the const qualification) ---
    virtual EE_TypeDescriptor* findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Kind kind, int isConst) = 0;
    virtual EE_TypeDescriptor* findOrCreateTypeDescriptor(EE_TypeDescriptor::Kind kind, const EE_TypeDescriptor& type,
                                                          int isConst) = 0;
    virtual EE_TypeDescriptor* findOrCreatePointerTypeDescriptor(const EE_TypeDescriptor& type, int isConst);
    virtual EE_TypeDescriptor* findOrCreateReferenceTypeDescriptor(const EE_TypeDescriptor& type, int isConst);
    virtual EE_TypeDescriptor* findOrCreateAddressOfReferenceTypeDescriptor(const EE_TypeDescriptor& type, int isConst);
    virtual EE_TypeDescriptor* findOrCreateArrayTypeDescriptor(const EE_TypeDescriptor& element,
                                                               EE_Expression& bound) = 0;
    virtual EE_TypeDescriptor* findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                               EE_Declaration& declaration, int isConst) = 0;
    virtual EE_TypeDescriptor* findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int digits,
                                                                    int scale, bool isSigned, EE_DecimalSign sign) = 0;
    virtual EE_TypeDescriptor* findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length,
                                                                    bool, bool, bool, const char* picture) = 0;
    virtual EE_TypeDescriptor* findOrCreateCharstringTypeDescriptor(const EE_TypeDescriptor& type) = 0;
    virtual EE_TypeDescriptor* findOrCreateRefModTypeDescriptor(const EE_TypeDescriptor& type, int) = 0;
    virtual EE_TypeDescriptor* findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                        unsigned int length, bool, bool, bool,
                                                                        const char* picture) = 0;
    virtual EE_TypeDescriptor* findOrCreateNationalStringTypeDescriptor(const EE_TypeDescriptor& type) = 0;
    virtual EE_TypeDescriptor* findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length,
                                                                    bool, bool, bool, const char* picture) = 0;
    virtual EE_TypeDescriptor* findOrCreateDbcsStringTypeDescriptor(const EE_TypeDescriptor& type) = 0;
    virtual EE_TypeDescriptor* findOrCreateIndexDataItemTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                       unsigned int length) = 0;

    // --- Syntax-tree factory: new nodes in the arena ----------------------
    virtual EE_ConditionalExpression* createConditionalExpression(EE_Expression* condition, EE_Expression* whenTrue,
                                                                  EE_Expression* whenFalse) = 0;
    virtual EE_UnaryExpression* createUnaryExpression(EE_UnaryExpression::Kind kind, EE_Expression* operand) = 0;
    // Kind 23 (subscript) makes an EE_SubscriptExpression.
    virtual EE_BinaryExpression* createBinaryExpression(EE_BinaryExpression::Kind kind, EE_Expression* left,
                                                        EE_Expression* right) = 0;
    virtual EE_CastExpression* createCastExpression(EE_CastExpression::Kind kind, EE_TypeDescriptor* type,
                                                    EE_Expression* operand) = 0;
    virtual EE_SizeofTypeExpression* createSizeofTypeExpression(EE_TypeDescriptor* type) = 0;
    virtual EE_TypeidOfTypeExpression* createTypeidOfTypeExpression(EE_TypeDescriptor* type) = 0;
    virtual EE_OffsetofExpression* createOffsetofExpression(EE_Name* name) = 0;
    virtual EE_MemberExpression* createMemberExpression(EE_MemberExpression::Kind kind, EE_Expression* object,
                                                        EE_Name* member) = 0;
    virtual EE_LiteralExpression* createLiteralExpression(EE_LiteralValue* value) = 0;
    virtual EE_FigConstantExpression* createFigConstantExpression(EE_FigConstant* value) = 0;
    // Outside a member function: EE_Exception code 2.
    virtual EE_ThisExpression* createThisExpression() = 0;
    virtual EE_NameExpression* createNameExpression(EE_Name* name) = 0;
    // The same node as createBinaryExpression with kind 23.
    virtual EE_SubscriptExpression* createNameSubrangeExpression(EE_Expression* name, EE_Expression* range) = 0;
    virtual EE_ParenthesesExpression* createParenthesesExpression(EE_Expression* inner) = 0;
    virtual EE_ImaginaryExpression* createImaginaryExpression() = 0;
    virtual EE_Parameter* createParameter(EE_Expression* expression, EE_Parameter* next) = 0;
    virtual EE_FunctionCallExpression* createFunctionCallExpression(EE_Expression* callee, EE_Parameter* parameters,
                                                                    int option) = 0;
    virtual EE_ArraySectionExpression* createArraySectionExpression(EE_Expression* lower, EE_Expression* upper,
                                                                    EE_Expression* stride, unsigned int dimension,
                                                                    int argument) = 0;
    virtual EE_VectorSubscriptExpression* createVectorSubscriptExpression(EE_Parameter* parameters, unsigned int first,
                                                                          unsigned int second) = 0;
    // The COBOL condition-name test that a name stands for, or null.
    virtual EE_Expression* expandConditionNameExpression(EE_Expression& name, int) = 0;

    // --- Literal values ----------------------------------------------------
    virtual EE_LiteralValue* findOrCreateLiteralValue(EE_Token& token) = 0;
    virtual EE_LiteralValue* findOrCreateTrueLiteralValue() = 0;
    virtual EE_LiteralValue* findOrCreateFalseLiteralValue() = 0;
    virtual EE_LiteralValue* findOrCreateDefaultSectionLiteralValue() = 0;
    virtual EE_LiteralValue* createIntegerLiteralValue(long long value) = 0;
    virtual EE_LiteralValue* createFixedPointLiteralValue(long long value) = 0;
    virtual long long integerValue(const EE_LiteralValue& value) = 0;
    virtual EE_FigConstant* findOrCreateFigConstantValue(EE_Token& token) = 0;

    // --- Code generation: each records one operation in the byte code -----
    virtual void logicalNot(const EE_TypeDescriptor& type) const = 0;
    virtual void logicalEqv(const EE_TypeDescriptor& type) const = 0;
    virtual void logicalNeqv(const EE_TypeDescriptor& type) const = 0;
    virtual void negate(const EE_TypeDescriptor& type) const = 0;
    virtual void unaryPlus(const EE_TypeDescriptor& type) const = 0;
    virtual void dereference(const EE_TypeDescriptor& type) const = 0;
    virtual void index(const EE_TypeDescriptor& type) const = 0;
    virtual void rankIndex(const EE_TypeDescriptor& type, const long long& rank) const = 0;
    virtual void rankDereference(const EE_TypeDescriptor& type, const long long& rank) const = 0;
    virtual void realPart(const EE_TypeDescriptor& type) const = 0;
    virtual void imaginaryPart(const EE_TypeDescriptor& type) const = 0;
    virtual void truncateFP(const EE_TypeDescriptor& type) const = 0;
    virtual void convertTo(const EE_TypeDescriptor& type) const = 0;
    // An array item on top becomes the pointer to its first element, as the
    // analysis typed it, unless its address could not be kept in the pointer.
    virtual void decayArray(const EE_TypeDescriptor& array, const EE_TypeDescriptor& pointer) const = 0;
    virtual void convertToString(const EE_TypeDescriptor& type) const = 0;
    virtual void convertToRefMod(bool, const EE_TypeDescriptor& type) const = 0;
    virtual void add(const EE_TypeDescriptor& type) const = 0;
    virtual void subtract(const EE_TypeDescriptor& type) const = 0;
    virtual void multiply(const EE_TypeDescriptor& type) const = 0;
    virtual void power(const EE_TypeDescriptor& type, unsigned int places) const = 0;
    virtual void divide(const EE_TypeDescriptor& type) const = 0;
    virtual void remainder(const EE_TypeDescriptor& type) const = 0;
    virtual void concatenate(const EE_TypeDescriptor& type) const = 0;
    virtual void substring(const EE_TypeDescriptor& type) const = 0;
    virtual void refMod(const EE_TypeDescriptor& type) const = 0;
    virtual void refModLength(const EE_TypeDescriptor& type) const = 0;
    virtual void addressAdd(const EE_TypeDescriptor& type) const = 0;
    virtual void addressSubtract(const EE_TypeDescriptor& type) const = 0;
    virtual void bitwiseNot(const EE_TypeDescriptor& type) const = 0;
    virtual void bitwiseOr(const EE_TypeDescriptor& type) const = 0;
    virtual void bitwiseXor(const EE_TypeDescriptor& type) const = 0;
    virtual void bitwiseAnd(const EE_TypeDescriptor& type) const = 0;
    virtual void shiftLeft(const EE_TypeDescriptor& type) const = 0;
    virtual void shiftRight(const EE_TypeDescriptor& type) = 0;
    virtual void compareNotEqual(const EE_TypeDescriptor& type) const = 0;
    virtual void compareEqual(const EE_TypeDescriptor& type) const = 0;
    virtual void compareGreater(const EE_TypeDescriptor& type) const = 0;
    virtual void compareLess(const EE_TypeDescriptor& type) const = 0;
    virtual void compareGreaterOrEqual(const EE_TypeDescriptor& type) const = 0;
    virtual void compareLessOrEqual(const EE_TypeDescriptor& type) const = 0;
    virtual void load(EE_Declaration& declaration) const = 0;
    virtual void loadAddress(EE_Declaration& declaration) const = 0;
    virtual void loadBaseAddress(const EE_Name& name, const EE_TypeDescriptor& type) const = 0;
    virtual void loadMember(const EE_Name& name, const EE_TypeDescriptor& type) const = 0;
    virtual void loadMemberAddress(const EE_Name& name, const EE_TypeDescriptor& type) const = 0;
    virtual void loadThisPointer() const = 0;
    virtual void loadSizeOf(const EE_TypeDescriptor& type) const = 0;
    virtual void loadOneLiteral(const EE_TypeDescriptor& type) const = 0;
    virtual void loadImaginaryILiteral(const EE_TypeDescriptor& type) const = 0;
    virtual void loadZeroLiteral(const EE_TypeDescriptor& type) const = 0;
    virtual void loadConstant(EE_LiteralValue& value) const = 0;
    virtual void loadFigConstant(EE_FigConstant& value) const = 0;
    virtual void store() const = 0;
    virtual void storeMember(EE_Declaration& declaration) const = 0;
    virtual void duplicate() const = 0;
    virtual void pop() const = 0;
    virtual void functionCall(unsigned long count, bool builtin) const = 0;
    virtual void callCOBOLProgram(ArgMode* modes, unsigned int count) const = 0;
    virtual EE_Label& createLabel() const = 0;
    virtual void defineLabel(EE_Label& label) const = 0;
    virtual void skipIfTrueUntil(EE_Label& label) const = 0;
    virtual void skipIfFalseUntil(EE_Label& label) const = 0;
    virtual void skipUntil(EE_Label& label) const = 0;
    virtual void loadArraySection() const = 0;
    virtual void loadIndex(long long index) const = 0;
    virtual void loadParam(long long number) const = 0;
    virtual void pushArraySection() const = 0;
    virtual void loadVectorSubscript() const = 0;

    // --- The display name of the result -------------------------------------
    virtual void formatEnable() = 0;
    virtual void formatDisable() = 0;
    virtual void formatSignature(const EE_String& text) const = 0;
    virtual void formatString(const char* text) const = 0;
    virtual void formatIntegral() const = 0;

    // --- Names and lookup ----------------------------------------------------
    virtual EE_Name* createName(EE_Declaration& declaration) = 0;
    virtual EE_BaseMemberName* createBaseMemberName(EE_Declaration& declaration, int, EE_DeclarationStore& store) = 0;
    virtual EE_BaseNameLookupChain* createBaseNameLookupChainComponent(EE_DeclarationStore& store) = 0;
    // An unqualified or "::"-qualified name (the int: whether "::" follows),
    // or null.
    virtual EE_Name* lookup(EE_String& name, EE_DeclarationStore* store, int qualified) = 0;
    // A COBOL data name with its OF and IN qualifiers, or null.
    virtual EE_Name* lookup(EE_String& name, EE_MemberAccessList& qualifiers, EE_DeclarationStore* store) = 0;
    // The path from a derived class to a base class, or null (no such base,
    // or more than one part of it in the derived class).
    virtual EE_BaseMemberName* lookupBase(const EE_TypeDescriptor& derived, const EE_TypeDescriptor& base) = 0;
    // The instance of a template for its arguments, or null.
    virtual EE_Name* resolveTemplate(const EE_Name& name, EE_TemplateArgument* arguments) = 0;
    // Extends a member name's base chain; non-zero on success, `ambiguous`
    // set when more than one path was found.
    virtual int prependBaseLookupChain(EE_BaseMemberName& name, EE_DeclarationStore& store, int& ambiguous) = 0;
    virtual EE_TypeDescriptor* determineFunctionReturnType(EE_Name& callee, EE_TypeDescriptor* declared,
                                                           EE_TypeDescriptor* argument) = 0;

    // --- Integral constant folding (signed 64-bit, wrapping) ---------------
    long long computeIntegralConstant(EE_Expression& expression);
    long long computeIntegralConstant(EE_LiteralExpression& expression);
    long long computeIntegralConstant(EE_UnaryExpression& expression);
    long long computeIntegralConstant(EE_BinaryExpression& expression);
    long long computeIntegralConstant(EE_ParenthesesExpression& expression);
    long long computeIntegralConstant(EE_SizeofTypeExpression& expression);
    long long computeIntegralConstant(EE_OffsetofExpression& expression);
    long long computeIntegralConstant(EE_FigConstantExpression& expression);

    // --- Predicates over type kinds ------------------------------------------
    // Each answers by the descriptor's kind; a kind the predicate has no
    // answer for raises EE_Exception code 2 without a node.
    bool isLogical(const EE_TypeDescriptor& type) const;
    bool isArithmetic(const EE_TypeDescriptor& type) const;
    bool isIntegral(const EE_TypeDescriptor& type) const;
    bool isGroup(const EE_TypeDescriptor& type) const;
    bool isMultiElement(const EE_TypeDescriptor& type) const;
    bool isComplex(const EE_TypeDescriptor& type) const;
    bool isExternalFloat(const EE_TypeDescriptor& type) const;
    bool isDecimalFloatingPoint(const EE_TypeDescriptor& type) const;
    bool isBinaryFloatingPoint(const EE_TypeDescriptor& type) const;
    bool isFloatingPoint(const EE_TypeDescriptor& type) const;
    bool typeStoresDigits(const EE_TypeDescriptor& type) const;
    // wchar_t answers for its underlying type.
    bool isSigned(const EE_TypeDescriptor& type);
    // The real kind of a complex kind.
    EE_TypeDescriptor::Kind nonComplexKind(const EE_TypeDescriptor& type) const;
};

// Kept for the debugger's own use; answers 0.
int indebug(const char*);

#endif
