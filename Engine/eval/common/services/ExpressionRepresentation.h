#ifndef NORVEXA_SERVICES_EXPRESSIONREPRESENTATION_H
#define NORVEXA_SERVICES_EXPRESSIONREPRESENTATION_H

#include <cstdint>
#include <memory>
#include <vector>

#include <plomkit/ByteString.h>
#include <plomkit/List.h>

#include "services/EvaluationEnvironment.h"

class RuntimeStack;
struct expression_info;

// The handle the host holds for one expression between requests: its text,
// its built form, the last validation result and the value stack its byte
// code runs on, with the expression's parameters.
class ExpressionRepresentation : public EvaluationEnvironment {
public:
    ExpressionRepresentation();
    // A null text gives an empty expression.
    ExpressionRepresentation(int language, const unsigned char* text);
    ~ExpressionRepresentation() override;

    // The expression's text; the item is not used.
    ByteString expression(StackItem* item) const override;
    // The text itself, for handing out by pointer: valid while the
    // representation lives.
    const ByteString& text() const { return text_; }
    ExpressionRepresentation* asExprRepresentation() override;
    // The environment's reset; then the validation result is forgotten, the
    // value stack emptied and the built expression released.
    void reset() override;

    // Saving expression information takes it over and frees the information
    // held before; the validation result is not owned.
    virtual void saveExprInfo(expression_info* info);
    virtual expression_info* exprInfo() const;
    virtual void saveValidationResult(StackItem* result);
    virtual StackItem* validationResult() const;

    // n parameters of the built expression become -2, ..., -2, -1 and are
    // marked set; nothing changes when the expression has none.
    void initParameters();
    // The parameters become a copy of list; bit 0 of set marks them set.
    void setParameters(const List<int>& list, int set);
    // Parameter i, or -1 when the expression has none.
    int readParameter(unsigned i) const;
    bool isArrayAssignment() const;
    const List<int>& parameters() const { return parameters_; }

    StackItem* evaluationResult() const { return evaluationResult_; }
    void setEvaluationResult(StackItem* result) { evaluationResult_ = result; }
    RuntimeStack& runtimeStack() const { return *stack_; }
    List<std::uint64_t>& evaluationValues() { return evaluationValues_; }
    // How many COBOL subscripts an evaluation records into evaluationValues
    // (0 without expression information).
    unsigned expectedSubscriptCount() const;
    std::uint8_t flags() const { return flags_; }
    // Validation found that the expression stores a value: flag bit 0x02,
    // which makes an expression with parameters an array assignment.
    void markStores() { flags_ |= arrayAssignment; }
    // The name the byte code builds for the result while it runs (array
    // sections and formatted values are appended); setParameters empties it.
    const ByteString& formattedResultName() const { return formattedName_; }
    void appendFormattedResultName(const char* text);
    // Empties the result name (a validation builds it anew).
    void clearFormattedResultName() { formattedName_ = ByteString(); }

    // Keeps an object the representation's results depend on until the
    // representation is destroyed (the type entries validation makes for
    // them, which its type results carry).
    void keepUntilFreed(std::shared_ptr<void> object) { kept_.push_back(std::move(object)); }

    enum : std::uint8_t {
        parametersSet = 1,
        arrayAssignment = 2
    };

private:
    // First: destroyed after every other member.
    std::vector<std::shared_ptr<void>> kept_;
    ByteString text_;
    expression_info* exprInfo_ = nullptr;
    StackItem* validationResult_ = nullptr;
    StackItem* evaluationResult_ = nullptr;
    RuntimeStack* stack_;
    List<int> parameters_;
    List<std::uint64_t> evaluationValues_;
    ByteString formattedName_;
    std::uint8_t flags_ = 0;
};

#endif
