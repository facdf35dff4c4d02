#ifndef NORVEXA_MACHINE_STACKITEMEVALERROR_H
#define NORVEXA_MACHINE_STACKITEMEVALERROR_H

#include <plomkit/ByteString.h>

#include "machine/StackItem.h"

// The text of an evaluation error handed to the host as the result itself.
// The text is held in the evaluator; it is the item's value and length.
class StackItemEvalError : public StackItem {
public:
    StackItemEvalError(EvaluationEnvironment& environment, const ByteString& text);
    StackItemEvalError(const StackItemEvalError& other);
    ~StackItemEvalError() override;

    bool isString() const override;
    StackItem* clone() const override;
    std::uint64_t size() const override;
    std::uint64_t stringLength() const override;
    void* resultBuffer() const override;
    const char* evaluationError() const override;
    // Nothing to read: the text is the value.
    void load(const DebuggeeLocation& where) override;

private:
    ByteString text_;
};

#endif
