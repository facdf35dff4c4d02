#ifndef NORVEXA_COMPILER_EE_OSTRELSERVICES_H
#define NORVEXA_COMPILER_EE_OSTRELSERVICES_H

#include <cstddef>
#include <string>

#include "compiler/EE_OstrelTypeDescriptorTable.h"
#include "compiler/StoreTable.h"
#include "frontend/EE_DebuggerServices.h"
#include "frontend/EE_LiteralValue.h"
#include "frontend/EE_StorageArena.h"

class EE_ImplicitMemberName;
struct EE_Token;
class EE_InstructionStream;
class EE_OstrelDeclaration;
class EE_OstrelDeclarationStore;
class EE_OstrelLiteralValue;
class EE_ParamType;
class ScopeItem;
class SymbolItem;
class TemplateItem;
class TypeItem;

// The front end's services over the symbol model, one per expression build:
// the parser and the analyser ask it about names and types and have it
// make nodes, literal values, declarations, declaration stores and type
// descriptors, all in its own arena, which goes with it at the end of the
// build. Nothing in it is shared between threads.
//
// Every refusal is EE_Exception {2, no node}; lookups that the user's text
// makes fail (an ambiguous COBOL name, an item not allocated, an unusable
// return type) raise EE_ParseException with the name or signature.
class EE_OstrelServices : public EE_DebuggerServices {
public:
    // Takes the environment flags of the moment. A constructor that throws
    // leaves nothing behind.
    EE_OstrelServices(const ScopeItem* currentScope, const ScopeItem* fileScope);
    ~EE_OstrelServices() override;

    EE_OstrelServices(const EE_OstrelServices&) = delete;
    EE_OstrelServices& operator=(const EE_OstrelServices&) = delete;

    // --- Capabilities and environment ----------------------------------
    bool supportsAssignment() override;
    bool supportsDecimalFloatingPoint() override;
    int mblen(const char* text) override;
    int utf8encode(unsigned int code, char* buffer) override;
    bool isFortran() override;
    bool isCobol() override;
    EE_StorageArena& storageArena() override;
    EE_DeclarationStore* globalStore() override;
    EE_DeclarationStore* currentStore() override;
    EE_DeclarationStore* setCurrentStore(EE_DeclarationStore& store) override;
    EE_TypeDescriptor* typeDescriptorOfClosestEnclosingClass() override;
    EE_TypeDescriptor* arraySectionTypeDescriptor() override;

    // --- Predefined type descriptors, each made once and reused ---------
    EE_TypeDescriptor* boolTypeDescriptor() override;
    EE_TypeDescriptor* bool16TypeDescriptor() override;
    EE_TypeDescriptor* bool32TypeDescriptor() override;
    EE_TypeDescriptor* bool64TypeDescriptor() override;
    EE_TypeDescriptor* charTypeDescriptor() override;
    EE_TypeDescriptor* wchar_tTypeDescriptor() override;
    EE_TypeDescriptor* signedCharTypeDescriptor() override;
    EE_TypeDescriptor* unsignedCharTypeDescriptor() override;
    EE_TypeDescriptor* signedShortIntTypeDescriptor() override;
    EE_TypeDescriptor* unsignedShortIntTypeDescriptor() override;
    EE_TypeDescriptor* signedIntTypeDescriptor() override;
    EE_TypeDescriptor* unsignedIntTypeDescriptor() override;
    EE_TypeDescriptor* signedLongIntTypeDescriptor() override;
    EE_TypeDescriptor* unsignedLongIntTypeDescriptor() override;
    EE_TypeDescriptor* signedLongLongIntTypeDescriptor() override;
    EE_TypeDescriptor* unsignedLongLongIntTypeDescriptor() override;
    EE_TypeDescriptor* sizetTypeDescriptor() override;
    EE_TypeDescriptor* ptrdifftTypeDescriptor() override;
    EE_TypeDescriptor* floatTypeDescriptor() override;
    EE_TypeDescriptor* doubleTypeDescriptor() override;
    EE_TypeDescriptor* longDoubleTypeDescriptor() override;
    EE_TypeDescriptor* floatQuvHexTypeDescriptor() override;
    EE_TypeDescriptor* doubleQuvHexTypeDescriptor() override;
    EE_TypeDescriptor* longDoubleQuvHexTypeDescriptor() override;
    EE_TypeDescriptor* complexFloatTypeDescriptor() override;
    EE_TypeDescriptor* complexDoubleTypeDescriptor() override;
    EE_TypeDescriptor* complexLongDoubleTypeDescriptor() override;
    EE_TypeDescriptor* complexFloatQuvHexTypeDescriptor() override;
    EE_TypeDescriptor* complexDoubleQuvHexTypeDescriptor() override;
    EE_TypeDescriptor* complexLongDoubleQuvHexTypeDescriptor() override;
    EE_TypeDescriptor* decimal32TypeDescriptor() override;
    EE_TypeDescriptor* decimal64TypeDescriptor() override;
    EE_TypeDescriptor* decimal128TypeDescriptor() override;
    EE_TypeDescriptor* packedDecimalTypeDescriptor() override;
    EE_TypeDescriptor* pointerToCharTypeDescriptor() override;
    EE_TypeDescriptor* pointerToWchartTypeDescriptor() override;
    EE_TypeDescriptor* pointerToFortranCharacterTypeDescriptor() override;
    EE_TypeDescriptor* pointerToVoidTypeDescriptor() override;
    EE_TypeDescriptor* zonedDecimalTypeDescriptor() override;

    // --- Type queries ---------------------------------------------------
    EE_TypeDescriptor* underlyingTypeDescriptor(const EE_TypeDescriptor& type) override;
    EE_TypeDescriptor* bitFieldPromotion(const EE_TypeDescriptor& type) override;
    unsigned sizeOfInt() override;
    unsigned sizeOfLongInt() override;
    bool sizeOf(const EE_TypeDescriptor& type, long long& size) const override;
    unsigned rankOf(const EE_TypeDescriptor& type) const override;
    long long lowerBound(const EE_TypeDescriptor& type, unsigned int dimension) const override;
    long long upperBound(const EE_TypeDescriptor& type, unsigned int dimension) const override;
    bool isSameAs(const EE_TypeDescriptor& a, const EE_TypeDescriptor& b) const override;

    // --- Template arguments ---------------------------------------------
    EE_TemplateArgument* createTemplateArgument(EE_Expression& expression) override;
    EE_TemplateArgument* createTemplateArgument(const EE_TypeDescriptor& type) override;

    // --- Descriptor find-or-create (the int is the const qualification) --
    EE_TypeDescriptor* findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Kind kind, int isConst) override;
    EE_TypeDescriptor* findOrCreateTypeDescriptor(EE_TypeDescriptor::Kind kind, const EE_TypeDescriptor& type,
                                                  int isConst) override;
    EE_TypeDescriptor* findOrCreatePointerTypeDescriptor(const EE_TypeDescriptor& type, int isConst) override;
    EE_TypeDescriptor* findOrCreateReferenceTypeDescriptor(const EE_TypeDescriptor& type, int isConst) override;
    EE_TypeDescriptor* findOrCreateAddressOfReferenceTypeDescriptor(const EE_TypeDescriptor& type,
                                                                    int isConst) override;
    EE_TypeDescriptor* findOrCreateArrayTypeDescriptor(const EE_TypeDescriptor& element, EE_Expression& bound) override;
    EE_TypeDescriptor* findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Kind kind, EE_Declaration& declaration,
                                                       int isConst) override;
    EE_TypeDescriptor* findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int digits,
                                                            int scale, bool isSigned, EE_DecimalSign sign) override;
    EE_TypeDescriptor* findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                            bool, bool, const char* picture) override;
    EE_TypeDescriptor* findOrCreateCharstringTypeDescriptor(const EE_TypeDescriptor& type) override;
    EE_TypeDescriptor* findOrCreateRefModTypeDescriptor(const EE_TypeDescriptor& type, int) override;
    EE_TypeDescriptor* findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                                bool, bool, const char* picture) override;
    EE_TypeDescriptor* findOrCreateNationalStringTypeDescriptor(const EE_TypeDescriptor& type) override;
    EE_TypeDescriptor* findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length, bool,
                                                            bool, bool, const char* picture) override;
    EE_TypeDescriptor* findOrCreateDbcsStringTypeDescriptor(const EE_TypeDescriptor& type) override;
    EE_TypeDescriptor* findOrCreateIndexDataItemTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                               unsigned int length) override;

    // --- Syntax-tree factory: new nodes in the arena ---------------------
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
    EE_Expression* expandConditionNameExpression(EE_Expression& name, int) override;

    // --- Literal values ---------------------------------------------------
    EE_LiteralValue* findOrCreateLiteralValue(EE_Token& token) override;
    EE_LiteralValue* findOrCreateTrueLiteralValue() override;
    EE_LiteralValue* findOrCreateFalseLiteralValue() override;
    EE_LiteralValue* findOrCreateDefaultSectionLiteralValue() override;
    EE_LiteralValue* createIntegerLiteralValue(long long value) override;
    EE_LiteralValue* createFixedPointLiteralValue(long long value) override;
    long long integerValue(const EE_LiteralValue& value) override;
    EE_FigConstant* findOrCreateFigConstantValue(EE_Token& token) override;

    // --- Code generation: each records one operation in the byte code ----
    void logicalNot(const EE_TypeDescriptor& type) const override;
    void logicalEqv(const EE_TypeDescriptor& type) const override;
    void logicalNeqv(const EE_TypeDescriptor& type) const override;
    void negate(const EE_TypeDescriptor& type) const override;
    void unaryPlus(const EE_TypeDescriptor& type) const override;
    void dereference(const EE_TypeDescriptor& type) const override;
    void index(const EE_TypeDescriptor& type) const override;
    void rankIndex(const EE_TypeDescriptor& type, const long long& rank) const override;
    void rankDereference(const EE_TypeDescriptor& type, const long long& rank) const override;
    void realPart(const EE_TypeDescriptor& type) const override;
    void imaginaryPart(const EE_TypeDescriptor& type) const override;
    void truncateFP(const EE_TypeDescriptor& type) const override;
    void convertTo(const EE_TypeDescriptor& type) const override;
    void decayArray(const EE_TypeDescriptor& array, const EE_TypeDescriptor& pointer) const override;
    void convertToString(const EE_TypeDescriptor& type) const override;
    void convertToRefMod(bool, const EE_TypeDescriptor& type) const override;
    void add(const EE_TypeDescriptor& type) const override;
    void subtract(const EE_TypeDescriptor& type) const override;
    void multiply(const EE_TypeDescriptor& type) const override;
    void power(const EE_TypeDescriptor& type, unsigned int places) const override;
    void divide(const EE_TypeDescriptor& type) const override;
    void remainder(const EE_TypeDescriptor& type) const override;
    void concatenate(const EE_TypeDescriptor& type) const override;
    void substring(const EE_TypeDescriptor& type) const override;
    void refMod(const EE_TypeDescriptor& type) const override;
    void refModLength(const EE_TypeDescriptor& type) const override;
    void addressAdd(const EE_TypeDescriptor& type) const override;
    void addressSubtract(const EE_TypeDescriptor& type) const override;
    void bitwiseNot(const EE_TypeDescriptor& type) const override;
    void bitwiseOr(const EE_TypeDescriptor& type) const override;
    void bitwiseXor(const EE_TypeDescriptor& type) const override;
    void bitwiseAnd(const EE_TypeDescriptor& type) const override;
    void shiftLeft(const EE_TypeDescriptor& type) const override;
    void shiftRight(const EE_TypeDescriptor& type) override;
    void compareNotEqual(const EE_TypeDescriptor& type) const override;
    void compareEqual(const EE_TypeDescriptor& type) const override;
    void compareGreater(const EE_TypeDescriptor& type) const override;
    void compareLess(const EE_TypeDescriptor& type) const override;
    void compareGreaterOrEqual(const EE_TypeDescriptor& type) const override;
    void compareLessOrEqual(const EE_TypeDescriptor& type) const override;
    void load(EE_Declaration& declaration) const override;
    void loadAddress(EE_Declaration& declaration) const override;
    void loadBaseAddress(const EE_Name& name, const EE_TypeDescriptor& type) const override;
    void loadMember(const EE_Name& name, const EE_TypeDescriptor& type) const override;
    void loadMemberAddress(const EE_Name& name, const EE_TypeDescriptor& type) const override;
    void loadThisPointer() const override;
    void loadSizeOf(const EE_TypeDescriptor& type) const override;
    void loadOneLiteral(const EE_TypeDescriptor& type) const override;
    void loadImaginaryILiteral(const EE_TypeDescriptor& type) const override;
    void loadZeroLiteral(const EE_TypeDescriptor& type) const override;
    void loadConstant(EE_LiteralValue& value) const override;
    void loadFigConstant(EE_FigConstant& value) const override;
    void store() const override;
    void storeMember(EE_Declaration& declaration) const override;
    void duplicate() const override;
    void pop() const override;
    void functionCall(unsigned long count, bool builtin) const override;
    void callCOBOLProgram(ArgMode* modes, unsigned int count) const override;
    EE_Label& createLabel() const override;
    void defineLabel(EE_Label& label) const override;
    void skipIfTrueUntil(EE_Label& label) const override;
    void skipIfFalseUntil(EE_Label& label) const override;
    void skipUntil(EE_Label& label) const override;
    void loadArraySection() const override;
    void loadIndex(long long index) const override;
    void loadParam(long long number) const override;
    void pushArraySection() const override;
    void loadVectorSubscript() const override;

    // --- The display name of the result ------------------------------------
    void formatEnable() override;
    void formatDisable() override;
    void formatSignature(const EE_String& text) const override;
    void formatString(const char* text) const override;
    void formatIntegral() const override;

    // --- Names and lookup ---------------------------------------------------
    EE_Name* createName(EE_Declaration& declaration) override;
    EE_BaseMemberName* createBaseMemberName(EE_Declaration& declaration, int, EE_DeclarationStore& store) override;
    EE_BaseNameLookupChain* createBaseNameLookupChainComponent(EE_DeclarationStore& store) override;
    EE_Name* lookup(EE_String& name, EE_DeclarationStore* store, int qualified) override;
    EE_Name* lookup(EE_String& name, EE_MemberAccessList& qualifiers, EE_DeclarationStore* store) override;
    EE_BaseMemberName* lookupBase(const EE_TypeDescriptor& derived, const EE_TypeDescriptor& base) override;
    EE_Name* resolveTemplate(const EE_Name& name, EE_TemplateArgument* arguments) override;
    int prependBaseLookupChain(EE_BaseMemberName& name, EE_DeclarationStore& store, int& ambiguous) override;
    EE_TypeDescriptor* determineFunctionReturnType(EE_Name& callee, EE_TypeDescriptor* declared,
                                                   EE_TypeDescriptor* argument) override;

    // --- Operations of these services alone ---------------------------------
    virtual EE_TypeDescriptor* findOrCreateExternalFloatTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                       unsigned int length);
    virtual EE_TypeDescriptor* findOrCreateAlphaNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                            unsigned int length);
    virtual EE_TypeDescriptor* findOrCreateNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                       unsigned int length);
    virtual EE_TypeDescriptor* findOrCreateNationalExternalFloatTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                               unsigned int length);
    virtual EE_TypeDescriptor* findOrCreateNationalEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                        unsigned int length);
    virtual EE_TypeDescriptor* findOrCreateNationalNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                               unsigned int length);
    virtual EE_TypeDescriptor* findOrCreateDbcsEditedTypeDescriptor(EE_TypeDescriptor::Kind kind, unsigned int length);
    // A parameter of a function type, after `previous` in the chain.
    virtual EE_ParamType* createTypeParameter(EE_TypeDescriptor* type, EE_ParamType* previous);
    // The scope of the global store.
    virtual const ScopeItem* globalScopeHandle();
    virtual EE_ImplicitMemberName* createImplicitMemberName(EE_Expression* object, EE_Declaration& declaration);

    // --- Type descriptors of the model's types --------------------------------
    // The one descriptor of a type of the symbol model.
    EE_OstrelTypeDescriptor* findOrCreateTypeDescriptor(const TypeItem* type);
    EE_OstrelTypeDescriptorTable& descriptorTable() { return descriptors; }

    // --- Declarations and stores ----------------------------------------------
    // Each call makes a new declaration.
    EE_OstrelDeclaration* findOrCreateDeclaration(const SymbolItem* symbol, const char* name,
                                                  EE_DeclarationStore* store);
    EE_OstrelDeclaration* findOrCreateDeclaration(TemplateItem* item, const char* name, EE_DeclarationStore* store);
    EE_OstrelDeclaration* findOrCreateDeclaration(const TypeItem* type, const char* name, EE_DeclarationStore* store);
    EE_OstrelDeclaration* findOrCreateOstrelDeclaration(const TypeItem* type, const char* name,
                                                        EE_DeclarationStore* store);
    // The declaration of a predefined descriptor (kinds 11-63) in the global
    // store, named by the kind, with that descriptor.
    EE_OstrelDeclaration* findOrCreatePredefinedDeclaration(const TypeItem* type, EE_TypeDescriptor& descriptor);
    // The name of a predefined kind's declaration; null for a kind without one.
    static const char* predefinedName(unsigned kind);
    // The one store of a scope; a file scope's is the global store. A
    // services object made without a current scope has a store of its own
    // for it, with no enclosing store.
    EE_OstrelDeclarationStore* findOrCreateDeclarationStore(const ScopeItem* scope);
    EE_OstrelDeclarationStore* findOrCreateDeclarationStoreFromSymbol(const SymbolItem* symbol);

    // The text copied into the arena, for exceptions that outlive the text.
    const char* arenaText(const EE_String& text);
    // A compilation setting of the current context as one byte; 0 when the
    // host does not answer.
    unsigned char compilationSetting(unsigned setting);
    // The store of the services' current scope, as the concrete class.
    EE_OstrelDeclarationStore* currentOstrelStore() { return current; }

    // --- Code generation --------------------------------------------------------
    // The stream code generation writes to.
    void setMachine(EE_InstructionStream* stream) { machine = stream; }
    EE_InstructionStream* currentMachine() const { return machine; }
    bool formatting() const { return formatFlag != 0; }
    const ScopeItem* currentScope() const { return scope; }

private:
    friend unsigned EE_setServicesEnvironmentFlags(EE_OstrelServices& services, unsigned flags);

    EE_OstrelDeclarationStore* createGlobalDeclarationStore(const ScopeItem* fileScope);
    EE_OstrelLiteralValue* newLiteral(EE_LiteralValue::Kind kind, EE_TypeDescriptor* type, const char* bytes,
                                      std::size_t length);
    EE_TypeDescriptor* sizedToValue(EE_TypeDescriptor& type, std::size_t length);
    EE_LiteralValue* cobolStringLiteral(const EE_Token& token, EE_TypeDescriptor& type);
    EE_LiteralValue* characterLiteral(const EE_Token& token, EE_TypeDescriptor& type);
    EE_LiteralValue* stringLiteral(const EE_Token& token, EE_TypeDescriptor& type);
    EE_LiteralValue* literalOfToken(const EE_Token& token, EE_TypeDescriptor& type);
    std::string narrowText(const EE_Token& token, unsigned prefix);
    [[noreturn]] void badLiteral(const EE_Token& token);
    EE_InstructionStream& stream() const;
    long long sizeOrRefuse(const EE_TypeDescriptor& type) const;
    void baseSteps(const EE_Name& name) const;
    void integralConstant(unsigned long long value, const EE_TypeDescriptor& type) const;

    EE_OstrelTypeDescriptor* descriptorOfPredefinedKind(EE_TypeDescriptor::Kind kind);
    unsigned cachedSize(unsigned& cache, EE_TypeDescriptor* type);

    EE_StorageArena arena;
    const ScopeItem* scope;
    StoreTable stores;
    EE_OstrelDeclarationStore* global;
    EE_OstrelDeclarationStore* current;
    EE_OstrelTypeDescriptorTable descriptors;
    unsigned sizeOfIntCache = 0;
    unsigned sizeOfLongIntCache = 0;
    int constantOperand = 8; // the size operand of the literals one and zero
    EE_OstrelLiteralValue* trueLiteral = nullptr;
    EE_OstrelLiteralValue* falseLiteral = nullptr;
    EE_OstrelLiteralValue* defaultSectionLiteral = nullptr;
    unsigned labelCounter = 0;
    unsigned environmentFlags;
    EE_InstructionStream* machine = nullptr;
    unsigned char formatFlag = 0;
};

#endif
