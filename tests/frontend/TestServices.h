#ifndef TESTS_FRONTEND_TESTSERVICES_H
#define TESTS_FRONTEND_TESTSERVICES_H

#include <map>
#include <memory>
#include <tuple>
#include <string>
#include <vector>

#include "frontend/EE_Declaration.h"
#include "frontend/EE_DeclarationStore.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_FigConstant.h"
#include "frontend/EE_LiteralValue.h"
#include "frontend/EE_StorageArena.h"
#include "frontend/EE_TypeDescriptor.h"

// A services object for testing the front end without the analyser: it
// answers names from a small declarative symbol table, makes every node and
// descriptor in its own arena, and records code generation as text lines.
//
//   TestServices s({{"x", TestServices::Variable, EE_TypeDescriptor::Int},
//                   {"T", TestServices::Type, EE_TypeDescriptor::Class},
//                   {"m", TestServices::Variable, EE_TypeDescriptor::Int, "T"}});
//
// A symbol with a scope is a member of the class or namespace of that name
// (which must come earlier in the table). A symbol of category Template is a
// class template when it has a type kind, else a function template.
class TestServices : public EE_DebuggerServices {
public:
    enum Category {
        Variable,
        Type,
        Template,
        Function
    };

    struct Symbol {
        std::string name;
        Category category;
        EE_TypeDescriptor::Kind kind; // the type of a variable, or the kind of a type
        std::string scope;            // "" for the global scope
    };

    class Store;

    class Declaration : public EE_Declaration {
    public:
        Declaration(const char* name, Store* owner, EE_StorageArena& arena, Category category, Store* inner)
            : EE_Declaration(name, owner, arena), category(category), inner(inner)
        {}

        EE_DeclarationStore* enclosingDeclarationStore() override { return store; }
        bool isBuiltinProcedure() const override { return false; }
        bool isProcedure() const override { return category == Function; }
        bool isType() const override { return category == Type; }
        bool isTemplate() const override { return category == Template; }
        bool isSymbol() const override { return category == Variable || category == Function; }
        EE_DeclarationStore* declarationStore() override;
        bool isConditionName() const override { return false; }
        bool isStaticMember() const override { return false; }
        EE_TypeDescriptor* setTypeDescriptor() override { return typeDescriptor; }
        EE_TypeDescriptor* analyze() override { return typeDescriptor; }

        Category category;
        Store* inner; // the scope a class or namespace opens, else null
    };

    class Store : public EE_DeclarationStore {
    public:
        Store(EE_Name* name, int global, Store* enclosing, TestServices& services)
            : EE_DeclarationStore(name, global), enclosing(enclosing), services(services)
        {}

        EE_DeclarationStore* enclosingDeclarationStore() const override { return enclosing; }
        EE_DeclarationStore* owningClass() override { return nullptr; }
        EE_Name* qualifiedScopeLookup(const char* text, int typeOnly) override;
        EE_Name* qualifiedScopeLookup(const char* text, EE_MemberAccessList& qualifiers) override;
        EE_TypeDescriptor* findTypeInScope(const EE_String& text) override;
        bool prependBaseLookupChain(EE_BaseMemberName&, EE_DeclarationStore&, int&) override { return false; }

        Store* enclosing;
        TestServices& services;
        std::map<std::string, Declaration*> declarations;
    };

    class LiteralValue final : public EE_LiteralValue {
    public:
        LiteralValue(Kind kind, EE_TypeDescriptor* type, std::string text)
            : EE_LiteralValue(kind), type(type), text(std::move(text))
        {}
        ~LiteralValue() = default;
        EE_TypeDescriptor* typeDescriptor() const override { return type; }
        EE_String signature() override;

        EE_TypeDescriptor* type;
        std::string text;
        long long value = 0;
    };

    explicit TestServices(const std::vector<Symbol>& symbols = {});
    ~TestServices() override;

    // Settings the tests change.
    bool cobol = false;
    bool fortran = false;
    bool decimalFloatingPoint = false;
    bool assignment = true;
    EE_TypeDescriptor* enclosingClass = nullptr;
    // Sizes by type kind; a kind not listed has no known size.
    std::map<unsigned, long long> sizes;
    // Code generation, one line per operation.
    mutable std::vector<std::string> generated;

    // A literal value of the given kind and text (the integral value is read
    // from the text for the integral kinds).
    LiteralValue* literal(EE_LiteralValue::Kind kind, const std::string& text, EE_TypeDescriptor* type = nullptr);
    // A descriptor of a basic kind, with a scale for the digit kinds.
    EE_TypeDescriptor* descriptor(EE_TypeDescriptor::Kind kind, short scale = 0);
    Store* global() { return globalScope; }

    bool supportsAssignment() override { return assignment; }
    bool supportsDecimalFloatingPoint() override { return decimalFloatingPoint; }
    int mblen(const char* text) override;
    int utf8encode(unsigned int code, char* buffer) override;
    bool isFortran() override { return fortran; }
    bool isCobol() override { return cobol; }
    EE_StorageArena& storageArena() override { return arena; }
    EE_DeclarationStore* globalStore() override { return globalScope; }
    EE_DeclarationStore* currentStore() override { return current; }
    EE_DeclarationStore* setCurrentStore(EE_DeclarationStore& store) override;
    EE_TypeDescriptor* typeDescriptorOfClosestEnclosingClass() override { return enclosingClass; }
    EE_TypeDescriptor* arraySectionTypeDescriptor() override { return predefined(EE_TypeDescriptor::ArraySection); }

    EE_TypeDescriptor* boolTypeDescriptor() override { return predefined(EE_TypeDescriptor::Bool); }
    EE_TypeDescriptor* bool16TypeDescriptor() override { return predefined(EE_TypeDescriptor::Logical16); }
    EE_TypeDescriptor* bool32TypeDescriptor() override { return predefined(EE_TypeDescriptor::Logical32); }
    EE_TypeDescriptor* bool64TypeDescriptor() override { return predefined(EE_TypeDescriptor::Logical64); }
    EE_TypeDescriptor* charTypeDescriptor() override { return predefined(EE_TypeDescriptor::Char); }
    EE_TypeDescriptor* wchar_tTypeDescriptor() override { return predefined(EE_TypeDescriptor::WcharT); }
    EE_TypeDescriptor* signedCharTypeDescriptor() override { return predefined(EE_TypeDescriptor::SignedChar); }
    EE_TypeDescriptor* unsignedCharTypeDescriptor() override { return predefined(EE_TypeDescriptor::UnsignedChar); }
    EE_TypeDescriptor* signedShortIntTypeDescriptor() override { return predefined(EE_TypeDescriptor::Short); }
    EE_TypeDescriptor* unsignedShortIntTypeDescriptor() override
    {
        return predefined(EE_TypeDescriptor::UnsignedShort);
    }
    EE_TypeDescriptor* signedIntTypeDescriptor() override { return predefined(EE_TypeDescriptor::Int); }
    EE_TypeDescriptor* unsignedIntTypeDescriptor() override { return predefined(EE_TypeDescriptor::UnsignedInt); }
    EE_TypeDescriptor* signedLongIntTypeDescriptor() override { return predefined(EE_TypeDescriptor::Long); }
    EE_TypeDescriptor* unsignedLongIntTypeDescriptor() override { return predefined(EE_TypeDescriptor::UnsignedLong); }
    EE_TypeDescriptor* signedLongLongIntTypeDescriptor() override { return predefined(EE_TypeDescriptor::LongLong); }
    EE_TypeDescriptor* unsignedLongLongIntTypeDescriptor() override
    {
        return predefined(EE_TypeDescriptor::UnsignedLongLong);
    }
    EE_TypeDescriptor* sizetTypeDescriptor() override { return predefined(EE_TypeDescriptor::UnsignedLong); }
    EE_TypeDescriptor* ptrdifftTypeDescriptor() override { return predefined(EE_TypeDescriptor::Long); }
    EE_TypeDescriptor* floatTypeDescriptor() override { return predefined(EE_TypeDescriptor::Float); }
    EE_TypeDescriptor* doubleTypeDescriptor() override { return predefined(EE_TypeDescriptor::Double); }
    EE_TypeDescriptor* longDoubleTypeDescriptor() override { return predefined(EE_TypeDescriptor::LongDouble); }
    EE_TypeDescriptor* floatQuvHexTypeDescriptor() override { return predefined(EE_TypeDescriptor::HexFloat); }
    EE_TypeDescriptor* doubleQuvHexTypeDescriptor() override { return predefined(EE_TypeDescriptor::HexDouble); }
    EE_TypeDescriptor* longDoubleQuvHexTypeDescriptor() override
    {
        return predefined(EE_TypeDescriptor::HexLongDouble);
    }
    EE_TypeDescriptor* complexFloatTypeDescriptor() override { return predefined(EE_TypeDescriptor::ComplexFloat); }
    EE_TypeDescriptor* complexDoubleTypeDescriptor() override { return predefined(EE_TypeDescriptor::ComplexDouble); }
    EE_TypeDescriptor* complexLongDoubleTypeDescriptor() override
    {
        return predefined(EE_TypeDescriptor::ComplexLongDouble);
    }
    EE_TypeDescriptor* complexFloatQuvHexTypeDescriptor() override
    {
        return predefined(EE_TypeDescriptor::HexComplexFloat);
    }
    EE_TypeDescriptor* complexDoubleQuvHexTypeDescriptor() override
    {
        return predefined(EE_TypeDescriptor::HexComplexDouble);
    }
    EE_TypeDescriptor* complexLongDoubleQuvHexTypeDescriptor() override
    {
        return predefined(EE_TypeDescriptor::HexComplexLongDouble);
    }
    EE_TypeDescriptor* decimal32TypeDescriptor() override { return predefined(EE_TypeDescriptor::Decimal32); }
    EE_TypeDescriptor* decimal64TypeDescriptor() override { return predefined(EE_TypeDescriptor::Decimal64); }
    EE_TypeDescriptor* decimal128TypeDescriptor() override { return predefined(EE_TypeDescriptor::Decimal128); }
    EE_TypeDescriptor* packedDecimalTypeDescriptor() override { return predefined(EE_TypeDescriptor::PackedDecimal); }
    EE_TypeDescriptor* pointerToCharTypeDescriptor() override;
    EE_TypeDescriptor* pointerToWchartTypeDescriptor() override;
    EE_TypeDescriptor* pointerToFortranCharacterTypeDescriptor() override;
    EE_TypeDescriptor* pointerToVoidTypeDescriptor() override;
    EE_TypeDescriptor* zonedDecimalTypeDescriptor() override { return predefined(EE_TypeDescriptor::ZonedDecimal); }

    EE_TypeDescriptor* underlyingTypeDescriptor(const EE_TypeDescriptor& type) override;
    unsigned sizeOfInt() override { return 4; }
    unsigned sizeOfLongInt() override { return 8; }
    bool sizeOf(const EE_TypeDescriptor& type, long long& size) const override;
    unsigned rankOf(const EE_TypeDescriptor& type) const override;
    long long lowerBound(const EE_TypeDescriptor&, unsigned int) const override { return 0; }
    long long upperBound(const EE_TypeDescriptor& type, unsigned int) const override { return type.arrayBound - 1; }
    bool isSameAs(const EE_TypeDescriptor& a, const EE_TypeDescriptor& b) const override { return &a == &b; }

    EE_TemplateArgument* createTemplateArgument(EE_Expression& expression) override;
    EE_TemplateArgument* createTemplateArgument(const EE_TypeDescriptor& type) override;

    EE_TypeDescriptor* findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Kind kind, int isConst) override;
    EE_TypeDescriptor* findOrCreateTypeDescriptor(EE_TypeDescriptor::Kind kind, const EE_TypeDescriptor& type,
                                                  int isConst) override;
    EE_TypeDescriptor* findOrCreateArrayTypeDescriptor(const EE_TypeDescriptor& element, EE_Expression& bound) override;
    EE_TypeDescriptor* findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Kind kind, EE_Declaration& declaration,
                                                       int isConst) override;
    EE_TypeDescriptor* findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int digits,
                                                            int scale, bool isSigned, EE_DecimalSign sign) override;
    EE_TypeDescriptor* findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                            bool, bool, const char*) override;
    EE_TypeDescriptor* findOrCreateCharstringTypeDescriptor(const EE_TypeDescriptor& type) override;
    EE_TypeDescriptor* findOrCreateRefModTypeDescriptor(const EE_TypeDescriptor& type, int) override;
    EE_TypeDescriptor* findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                                bool, bool, const char*) override;
    EE_TypeDescriptor* findOrCreateNationalStringTypeDescriptor(const EE_TypeDescriptor& type) override;
    EE_TypeDescriptor* findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                            bool, bool, const char*) override;
    EE_TypeDescriptor* findOrCreateDbcsStringTypeDescriptor(const EE_TypeDescriptor& type) override;
    EE_TypeDescriptor* findOrCreateIndexDataItemTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                               unsigned int length) override;

    EE_ConditionalExpression* createConditionalExpression(EE_Expression* condition, EE_Expression* whenTrue,
                                                          EE_Expression* whenFalse) override;
    EE_UnaryExpression* createUnaryExpression(EE_UnaryExpression::Kind kind, EE_Expression* operand) override;
    EE_BinaryExpression* createBinaryExpression(EE_BinaryExpression::Kind kind, EE_Expression* left,
                                                EE_Expression* right) override;
    EE_CastExpression* createCastExpression(EE_CastExpression::Kind kind, EE_TypeDescriptor* type,
                                            EE_Expression* operand) override;
    EE_SizeofTypeExpression* createSizeofTypeExpression(EE_TypeDescriptor* type) override;
    EE_TypeidOfTypeExpression* createTypeidOfTypeExpression(EE_TypeDescriptor* type) override;
    EE_OffsetofExpression* createOffsetofExpression(EE_Name* name) override;
    EE_MemberExpression* createMemberExpression(EE_MemberExpression::Kind kind, EE_Expression* object,
                                                EE_Name* member) override;
    EE_LiteralExpression* createLiteralExpression(EE_LiteralValue* value) override;
    EE_FigConstantExpression* createFigConstantExpression(EE_FigConstant* value) override;
    EE_ThisExpression* createThisExpression() override;
    EE_NameExpression* createNameExpression(EE_Name* name) override;
    EE_SubscriptExpression* createNameSubrangeExpression(EE_Expression* name, EE_Expression* range) override;
    EE_ParenthesesExpression* createParenthesesExpression(EE_Expression* inner) override;
    EE_ImaginaryExpression* createImaginaryExpression() override;
    EE_Parameter* createParameter(EE_Expression* expression, EE_Parameter* next) override;
    EE_FunctionCallExpression* createFunctionCallExpression(EE_Expression* callee, EE_Parameter* parameters,
                                                            int option) override;
    EE_ArraySectionExpression* createArraySectionExpression(EE_Expression* lower, EE_Expression* upper,
                                                            EE_Expression* stride, unsigned int dimension,
                                                            int argument) override;
    EE_VectorSubscriptExpression* createVectorSubscriptExpression(EE_Parameter* parameters, unsigned int first,
                                                                  unsigned int second) override;
    EE_Expression* expandConditionNameExpression(EE_Expression&, int) override { return nullptr; }

    EE_LiteralValue* findOrCreateLiteralValue(EE_Token& token) override;
    EE_LiteralValue* findOrCreateTrueLiteralValue() override;
    EE_LiteralValue* findOrCreateFalseLiteralValue() override;
    EE_LiteralValue* findOrCreateDefaultSectionLiteralValue() override;
    EE_LiteralValue* createIntegerLiteralValue(long long value) override;
    EE_LiteralValue* createFixedPointLiteralValue(long long value) override;
    long long integerValue(const EE_LiteralValue& value) override;
    EE_FigConstant* findOrCreateFigConstantValue(EE_Token& token) override;

    void logicalNot(const EE_TypeDescriptor& t) const override { record("logicalNot", t); }
    void logicalEqv(const EE_TypeDescriptor& t) const override { record("logicalEqv", t); }
    void logicalNeqv(const EE_TypeDescriptor& t) const override { record("logicalNeqv", t); }
    void negate(const EE_TypeDescriptor& t) const override { record("negate", t); }
    void unaryPlus(const EE_TypeDescriptor& t) const override { record("unaryPlus", t); }
    void dereference(const EE_TypeDescriptor& t) const override { record("dereference", t); }
    void index(const EE_TypeDescriptor& t) const override { record("index", t); }
    void rankIndex(const EE_TypeDescriptor& t, const long long&) const override { record("rankIndex", t); }
    void rankDereference(const EE_TypeDescriptor& t, const long long&) const override { record("rankDereference", t); }
    void realPart(const EE_TypeDescriptor& t) const override { record("realPart", t); }
    void imaginaryPart(const EE_TypeDescriptor& t) const override { record("imaginaryPart", t); }
    void truncateFP(const EE_TypeDescriptor& t) const override { record("truncateFP", t); }
    void convertTo(const EE_TypeDescriptor& t) const override { record("convertTo", t); }
    void decayArray(const EE_TypeDescriptor&, const EE_TypeDescriptor& t) const override { record("decayArray", t); }
    void convertToString(const EE_TypeDescriptor& t) const override { record("convertToString", t); }
    void convertToRefMod(bool, const EE_TypeDescriptor& t) const override { record("convertToRefMod", t); }
    void add(const EE_TypeDescriptor& t) const override { record("add", t); }
    void subtract(const EE_TypeDescriptor& t) const override { record("subtract", t); }
    void multiply(const EE_TypeDescriptor& t) const override { record("multiply", t); }
    void power(const EE_TypeDescriptor& t, unsigned int) const override { record("power", t); }
    void divide(const EE_TypeDescriptor& t) const override { record("divide", t); }
    void remainder(const EE_TypeDescriptor& t) const override { record("remainder", t); }
    void concatenate(const EE_TypeDescriptor& t) const override { record("concatenate", t); }
    void substring(const EE_TypeDescriptor& t) const override { record("substring", t); }
    void refMod(const EE_TypeDescriptor& t) const override { record("refMod", t); }
    void refModLength(const EE_TypeDescriptor& t) const override { record("refModLength", t); }
    void addressAdd(const EE_TypeDescriptor& t) const override { record("addressAdd", t); }
    void addressSubtract(const EE_TypeDescriptor& t) const override { record("addressSubtract", t); }
    void bitwiseNot(const EE_TypeDescriptor& t) const override { record("bitwiseNot", t); }
    void bitwiseOr(const EE_TypeDescriptor& t) const override { record("bitwiseOr", t); }
    void bitwiseXor(const EE_TypeDescriptor& t) const override { record("bitwiseXor", t); }
    void bitwiseAnd(const EE_TypeDescriptor& t) const override { record("bitwiseAnd", t); }
    void shiftLeft(const EE_TypeDescriptor& t) const override { record("shiftLeft", t); }
    void shiftRight(const EE_TypeDescriptor& t) override { record("shiftRight", t); }
    void compareNotEqual(const EE_TypeDescriptor& t) const override { record("compareNotEqual", t); }
    void compareEqual(const EE_TypeDescriptor& t) const override { record("compareEqual", t); }
    void compareGreater(const EE_TypeDescriptor& t) const override { record("compareGreater", t); }
    void compareLess(const EE_TypeDescriptor& t) const override { record("compareLess", t); }
    void compareGreaterOrEqual(const EE_TypeDescriptor& t) const override { record("compareGreaterOrEqual", t); }
    void compareLessOrEqual(const EE_TypeDescriptor& t) const override { record("compareLessOrEqual", t); }
    void load(EE_Declaration&) const override { record("load"); }
    void loadAddress(EE_Declaration&) const override { record("loadAddress"); }
    void loadBaseAddress(const EE_Name&, const EE_TypeDescriptor& t) const override { record("loadBaseAddress", t); }
    void loadMember(const EE_Name&, const EE_TypeDescriptor& t) const override { record("loadMember", t); }
    void loadMemberAddress(const EE_Name&, const EE_TypeDescriptor& t) const override
    {
        record("loadMemberAddress", t);
    }
    void loadThisPointer() const override { record("loadThisPointer"); }
    void loadSizeOf(const EE_TypeDescriptor& t) const override { record("loadSizeOf", t); }
    void loadOneLiteral(const EE_TypeDescriptor& t) const override { record("loadOneLiteral", t); }
    void loadImaginaryILiteral(const EE_TypeDescriptor& t) const override { record("loadImaginaryILiteral", t); }
    void loadZeroLiteral(const EE_TypeDescriptor& t) const override { record("loadZeroLiteral", t); }
    void loadConstant(EE_LiteralValue&) const override { record("loadConstant"); }
    void loadFigConstant(EE_FigConstant&) const override { record("loadFigConstant"); }
    void store() const override { record("store"); }
    void storeMember(EE_Declaration&) const override { record("storeMember"); }
    void duplicate() const override { record("duplicate"); }
    void pop() const override { record("pop"); }
    void functionCall(unsigned long, bool) const override { record("functionCall"); }
    void callCOBOLProgram(ArgMode*, unsigned int) const override { record("callCOBOLProgram"); }
    // Labels belong to the byte code, which these services do not keep.
    EE_Label& createLabel() const override;
    void defineLabel(EE_Label&) const override { record("defineLabel"); }
    void skipIfTrueUntil(EE_Label&) const override { record("skipIfTrueUntil"); }
    void skipIfFalseUntil(EE_Label&) const override { record("skipIfFalseUntil"); }
    void skipUntil(EE_Label&) const override { record("skipUntil"); }
    void loadArraySection() const override { record("loadArraySection"); }
    void loadIndex(long long) const override { record("loadIndex"); }
    void loadParam(long long) const override { record("loadParam"); }
    void pushArraySection() const override { record("pushArraySection"); }
    void loadVectorSubscript() const override { record("loadVectorSubscript"); }

    void formatEnable() override { record("formatEnable"); }
    void formatDisable() override { record("formatDisable"); }
    void formatSignature(const EE_String&) const override { record("formatSignature"); }
    void formatString(const char*) const override { record("formatString"); }
    void formatIntegral() const override { record("formatIntegral"); }

    EE_Name* createName(EE_Declaration& declaration) override;
    EE_BaseMemberName* createBaseMemberName(EE_Declaration& declaration, int, EE_DeclarationStore& store) override;
    EE_BaseNameLookupChain* createBaseNameLookupChainComponent(EE_DeclarationStore& store) override;
    EE_Name* lookup(EE_String& name, EE_DeclarationStore* store, int qualified) override;
    EE_Name* lookup(EE_String& name, EE_MemberAccessList& qualifiers, EE_DeclarationStore* store) override;
    EE_BaseMemberName* lookupBase(const EE_TypeDescriptor&, const EE_TypeDescriptor&) override { return nullptr; }
    // A template resolves to a new declaration named by the template and its
    // arguments ("f<int,3>"): a type of the template's kind, or a function
    // when the template symbol has no type kind. No arguments: null.
    EE_Name* resolveTemplate(const EE_Name& name, EE_TemplateArgument* arguments) override;
    int prependBaseLookupChain(EE_BaseMemberName&, EE_DeclarationStore&, int&) override { return 0; }
    EE_TypeDescriptor* determineFunctionReturnType(EE_Name&, EE_TypeDescriptor* declared, EE_TypeDescriptor*) override
    {
        return declared;
    }

private:
    EE_TypeDescriptor* predefined(EE_TypeDescriptor::Kind kind)
    {
        return findOrCreatePredefinedTypeDescriptor(kind, 0);
    }
    void record(const char* operation) const { generated.emplace_back(operation); }
    void record(const char* operation, const EE_TypeDescriptor& type) const;
    Declaration* declare(const Symbol& symbol);

    EE_StorageArena arena;
    Store* globalScope;
    Store* current;
    std::map<std::pair<unsigned, int>, EE_TypeDescriptor*> basic;
    std::map<std::tuple<unsigned, const EE_TypeDescriptor*, int>, EE_TypeDescriptor*> derived;
    std::vector<std::unique_ptr<LiteralValue>> literals;
    std::vector<std::unique_ptr<Store>> stores;
    std::map<std::string, Declaration*> scopes;
};

#endif
