#include "api/LocalVariable.h"

#include <cstring>

#include "machine/StackItem.h"
#include "types/SymbolItem.h"

LocalVariable::LocalVariable(SymbolItem* symbol, const void* handle) : symbolHandle_(handle), symbol_(symbol) {}

LocalVariable::~LocalVariable() = default;

void LocalVariable::compareWithPrevious(const unsigned char* bytes)
{
    if (value_->type().assumeTreeNodeChanges()) {
        changeState_ = changed;
        previous_.clear();
        return;
    }
    const std::uint64_t size = value_->size();
    if (bytes == nullptr || size == 0 || size > 0xFFFFFFFEu) {
        // Nothing to compare with next time.
        changeState_ = changed;
        previous_.clear();
        return;
    }
    const unsigned length = static_cast<unsigned>(size);
    if (!previous_.empty() && previous_.size() == length && std::memcmp(previous_.data(), bytes, length) == 0)
        return;
    changeState_ = changed;
    previous_.assign(bytes, bytes + length);
}

void LocalVariable::recordFailure()
{
    failed_ = true;
    changeState_ = changed;
    previous_.clear();
}
