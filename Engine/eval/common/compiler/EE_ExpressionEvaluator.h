#ifndef EE_EXPRESSIONEVALUATOR_H
#define EE_EXPRESSIONEVALUATOR_H

#include "frontend/EE_TypeDescriptor.h"
#include "frontend/EE_bool.h"

class EE_DebuggerServices;
class EE_Expression;
class EE_NameExpression;
class EE_MemberExpression;
class EE_ThisExpression;
class EE_LiteralExpression;
class EE_FigConstantExpression;
class EE_ImaginaryExpression;
class EE_ParenthesesExpression;
class EE_CastExpression;
class EE_SizeofTypeExpression;
class EE_ConditionalExpression;
class EE_UnaryExpression;
class EE_BinaryExpression;
class EE_FunctionCallExpression;
class EE_ArraySectionExpression;
class EE_VectorSubscriptExpression;
class EE_TypeidOfTypeExpression;
class EE_OffsetofExpression;
class EE_Name;

// The analyser of a syntax tree: it types each node against the program's
// symbols and types, inserts the implicit conversions and, in COBOL, fixes
// the intermediate precision of arithmetic. The C and C++ grammar's
// member-access actions make one over the services, have it analyse the
// object on the left of "." or "->" (so that the member name can be looked
// up in the object's class), and drop it.
class EE_ExpressionEvaluator {
public:
    // How a parent wants a node's value.
    enum LoadContext : unsigned {
        LoadValue = 0,        // the value, references looked through, arrays decayed
        LoadRootValue = 1,    // the value of the whole expression: no decay
        LoadAddress = 2,      // the node as a location
        LoadStoreAddress = 3, // code generation: a receiving item's address kept for a store
        LoadStore = 4         // code generation: the store into that item
    };

    explicit EE_ExpressionEvaluator(EE_DebuggerServices& services) : services(services) {}

    // The entry: in COBOL the first pass over the tree, then the analysis of
    // the root as the whole expression's value. Answers the analysed node
    // (possibly a replacement) with its type descriptor and analysed mark set.
    // Nodes already marked are answered as they are. Failures raise
    // EE_Exception or EE_ParseException.
    EE_Expression* analyze(EE_Expression& expression);

    // One node in a context: the dispatch by node kind.
    EE_Expression& analyze(EE_Expression& expression, LoadContext context);

    // COBOL: fills the operation count, the largest fraction-digit count and
    // the floating-point marks of an arithmetic statement.
    void firstPass(EE_Expression& expression, EE_bool counts, EE_bool inExponent);

    // True when the subtree holds an increment, a decrement or an assignment.
    bool hasSideEffects(EE_Expression& expression);

    // Promotions and conversions.
    EE_TypeDescriptor* typeToPromoteTo(const EE_TypeDescriptor& type);
    EE_Expression& integralPromotion(EE_Expression& operand);
    EE_Expression& pointerConversion(EE_Expression& operand, const EE_TypeDescriptor& type);
    EE_Expression& arithmeticConversion(EE_Expression& operand, const EE_TypeDescriptor& target, int mode,
                                        const EE_TypeDescriptor* source = nullptr);
    int relationalConversion(EE_Expression** first, EE_Expression** second);

    // Binary operators.
    EE_Expression& analyzeArithmeticOperators(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeComparisonOperators(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeLogicalOperators(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeAssignOperators(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& compoundAssignment(EE_BinaryExpression& node, EE_TypeDescriptor& receiving);
    EE_Expression& analyzePointerAssignOperator(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeConcatOperator(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeRefModOperator(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeRefModLengthOperator(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeSubscriptOperator(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyzeCommaOperator(EE_BinaryExpression& node, LoadContext context);

    // One analysis per node class.
    EE_Expression& analyze(EE_NameExpression& node, LoadContext context);
    EE_Expression& analyze(EE_MemberExpression& node, LoadContext context);
    EE_Expression& analyze(EE_ThisExpression& node, LoadContext context);
    EE_Expression& analyze(EE_LiteralExpression& node, LoadContext context);
    EE_Expression& analyze(EE_FigConstantExpression& node, LoadContext context);
    EE_Expression& analyze(EE_ImaginaryExpression& node, LoadContext context);
    EE_Expression& analyze(EE_ParenthesesExpression& node, LoadContext context);
    EE_Expression& analyze(EE_CastExpression& node, LoadContext context);
    EE_Expression& analyze(EE_SizeofTypeExpression& node, LoadContext context);
    EE_Expression& analyze(EE_ConditionalExpression& node, LoadContext context);
    EE_Expression& analyze(EE_UnaryExpression& node, LoadContext context);
    EE_Expression& analyze(EE_BinaryExpression& node, LoadContext context);
    EE_Expression& analyze(EE_FunctionCallExpression& node, LoadContext context);
    EE_Expression& analyze(EE_ArraySectionExpression& node, LoadContext context);
    EE_Expression& analyze(EE_VectorSubscriptExpression& node, LoadContext context);
    EE_Expression& analyze(EE_TypeidOfTypeExpression& node, LoadContext context);
    EE_Expression& analyze(EE_OffsetofExpression& node, LoadContext context);

    // Code generation: the byte code of an analysed tree, appended through the
    // services. The entry generates the root as the whole expression's value
    // and ends an expression with array sections by handing its section over.
    // The reuse flag is 1 when the item's address is already on the value
    // stack, so that only the load through it is emitted.
    void evaluate(EE_Expression& expression);
    void evaluate(EE_Expression& expression, LoadContext context, int reuse);
    void evaluate(EE_NameExpression& node, LoadContext context, int reuse);
    void evaluate(EE_MemberExpression& node, LoadContext context, int reuse);
    void evaluate(EE_CastExpression& node, LoadContext context, int reuse);
    void evaluate(EE_ConditionalExpression& node, LoadContext context, int reuse);
    void evaluate(EE_UnaryExpression& node, LoadContext context, int reuse);
    void evaluate(EE_BinaryExpression& node, LoadContext context, int reuse);
    void evaluate(EE_FunctionCallExpression& node, LoadContext context, int reuse);
    void evaluate(EE_ArraySectionExpression& node, LoadContext context, int reuse);
    void evaluate(EE_VectorSubscriptExpression& node, LoadContext context, int reuse);
    void evaluate(EE_LiteralExpression& node, LoadContext context, int reuse);
    void evaluate(EE_FigConstantExpression& node, LoadContext context, int reuse);
    void evaluate(EE_ImaginaryExpression& node, LoadContext context, int reuse);
    void evaluate(EE_SizeofTypeExpression& node, LoadContext context, int reuse);
    void evaluate(EE_ThisExpression& node, LoadContext context, int reuse);
    void evaluate(EE_ParenthesesExpression& node, LoadContext context, int reuse);
    void evaluate(EE_OffsetofExpression& node, LoadContext context, int reuse);
    void evaluate(EE_TypeidOfTypeExpression& node, LoadContext context, int reuse);
    void evaluateArithmeticOperators(EE_BinaryExpression& node, LoadContext context, int reuse);
    void evaluateComparisonOperators(EE_BinaryExpression& node, LoadContext context, int reuse);
    void evaluateLogicalOperators(EE_BinaryExpression& node, LoadContext context, int reuse);
    void evaluateAssignOperators(EE_BinaryExpression& node, LoadContext context, int reuse);
    void evaluatePointerAssignOperator(EE_BinaryExpression& node, LoadContext context, int reuse);

    // The state of the COBOL first pass and of array sections.
    bool hasArraySection() const { return _hasArraySection; }
    unsigned sectionDimensions() const { return _sectionDimensions; }
    bool hasFloatingPoint() const { return _hasFloatingPoint; }
    bool doFProunding() const { return _doFProunding; }
    unsigned dmax() const { return _dmax; }
    unsigned numArithOps() const { return _numArithOps; }

private:
    // A new implicit conversion of the operand to the type (not analysed).
    EE_Expression& implicitCast(EE_TypeDescriptor* type, EE_Expression& operand);
    // The same, analysed with context 0.
    EE_Expression& convertedTo(EE_TypeDescriptor* type, EE_Expression& operand);
    // The type a name or member declares, with the decays of the context.
    EE_TypeDescriptor* typeOfName(EE_Name& name, LoadContext context);
    // A function type stands for its return type.
    static const EE_TypeDescriptor& valueType(const EE_TypeDescriptor& type);
    // Decimal digits of a digit-storing type (binaries counted 5/10/19/20).
    unsigned decimalDigits(const EE_TypeDescriptor& type);
    // The byte size of a descriptor's type.
    unsigned long long byteSize(const EE_TypeDescriptor& type);
    // The arithmetic result type of mode 0 (the table of target by source).
    EE_TypeDescriptor* usualArithmeticTarget(const EE_TypeDescriptor& target, const EE_TypeDescriptor& source,
                                             EE_Expression& operand, bool complex);
    // The intermediate result of COBOL arithmetic over two digit-storing operands.
    void intermediatePrecision(EE_BinaryExpression& node);
    // Assignment compatibility of COBOL receiving and sending items.
    bool cobolAssignable(EE_Expression& receiver, EE_Expression& sender);
    // An operand of a COBOL AND, OR or NOT must be a condition (a relation,
    // a condition name, or a combination of them); anything else is the rest
    // of an abbreviated combined relation (A = 5 OR 6), refused as a syntax
    // error that says the form is not supported.
    static void requireCobolCondition(EE_Expression& operand);

    // Code generation helpers.
    void evaluateSubscript(EE_BinaryExpression& node, LoadContext context, int reuse);
    void evaluateRefMod(EE_BinaryExpression& node, LoadContext context);
    void evaluateIncrement(EE_UnaryExpression& node, LoadContext context);
    // The change of an increment or decrement applied to the value on top.
    void emitStep(EE_UnaryExpression& node, const EE_TypeDescriptor& operandType);
    // The conversion of a value about to be stored into a receiving item.
    void emitStoreConversion(EE_BinaryExpression& node, EE_Expression& receiver, const EE_TypeDescriptor& receiving);

    EE_DebuggerServices& services;
    bool _hasArraySection = false;
    unsigned _sectionDimensions = 0;
    bool _hasFloatingPoint = false;
    bool _doFProunding = false;
    unsigned _dmax = 0;
    unsigned _numArithOps = 0;
    // A Fortran array subscripted by fewer subscripts than its rank, until a
    // further subscript takes it; met anywhere else it is refused.
    EE_Expression* _partialSubscript = nullptr;
};

#endif
