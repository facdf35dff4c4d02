#ifndef NORVEXA_MACHINE_STACKITEMFUNCTION_H
#define NORVEXA_MACHINE_STACKITEMFUNCTION_H

#include <vector>

#include "machine/StackItem.h"

class SymbolItem;

// A function or procedure named in an expression. Its value is the
// function's entry address (big-endian, 4 or 8 bytes), or, where the symbol
// has a procedure descriptor, the descriptor as the program sees it in
// memory, built from the host's description. It is never read from memory.
class StackItemFunction : public StackItem {
public:
    // The type is also the display type; no value bytes.
    StackItemFunction(EvaluationEnvironment& environment, const TypeItem& type, const ScopeItem* scope);
    // The function a symbol names; RTRC_Other for a symbol that is no
    // function, a location that is neither debuggee memory nor an evaluator
    // buffer, or a descriptor that cannot be built.
    StackItemFunction(EvaluationEnvironment& environment, const SymbolItem& symbol);
    StackItemFunction(const StackItemFunction& other);
    ~StackItemFunction() override;

    StackItem* clone() const override;
    std::uint64_t size() const override;
    // Clears hasValue and raises RTRC_Other.
    void load(const DebuggeeLocation& where) override;
    void* resultBuffer() const override;
    const TypeItem& formatType() const override;

private:
    void buildDescriptor(const SymbolItem& symbol, const _TYPE_ENTRY& descriptor);

    TypeItem displayType_;
    std::vector<unsigned char> bytes_;
};

#endif
