#ifndef NORVEXA_API_LOCALVARIABLE_H
#define NORVEXA_API_LOCALVARIABLE_H

#include <cstdint>
#include <vector>

#include <plomkit/ByteString.h>

class StackItem;
class SymbolItem;

// One variable of a locals view: its name, its value (owned), the bytes
// shown at the last refresh and whether the value changed since then.
//
// The value item stays the same object for the life of the variable: each
// refresh reloads it in place, so a value handed to the host stays valid
// until the view is freed.
class LocalVariable {
public:
    // How the value changed at the last refresh.
    enum ChangeState : std::int32_t {
        unchanged = 0,
        changed = 1,
        rebuild = 2
    };

    virtual ~LocalVariable();

    LocalVariable(const LocalVariable&) = delete;
    LocalVariable& operator=(const LocalVariable&) = delete;

    // Reloads the value in the frame and decides the change state. Failures
    // are recorded in the state, not thrown, unless a kind says otherwise.
    virtual StackItem* evaluate(int frame) = 0;
    virtual SymbolItem* symbolItem() const = 0;

    const ByteString& name() const { return name_; }
    StackItem* value() const { return value_; }
    const std::vector<unsigned char>& previous() const { return previous_; }
    // What the host gets back for the variable.
    const void* symbolHandle() const { return symbolHandle_; }
    bool failed() const { return failed_; }
    std::int32_t changeState() const { return changeState_; }
    // A refresh that failed outside the variable's own handling: failed,
    // changed, nothing to compare with.
    void recordFailure();

protected:
    LocalVariable(SymbolItem* symbol, const void* handle);

    // Decides the change state from the value's bytes: always changed for a
    // type whose tree may change shape, else changed when the bytes differ
    // from those shown last (which then become the previous bytes).
    void compareWithPrevious(const unsigned char* bytes);

    ByteString name_;
    StackItem* value_ = nullptr;
    std::vector<unsigned char> previous_;
    const void* symbolHandle_;
    bool failed_ = true;
    std::int32_t changeState_ = changed;
    SymbolItem* symbol_;
};

#endif
