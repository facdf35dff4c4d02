#ifndef NORVEXA_API_CLASSTHISVALUE_H
#define NORVEXA_API_CLASSTHISVALUE_H

class RuntimeStack;
class StackItem;
class SymbolItem;
class TypeItem;

// The "this" pointer of a member function's object, or its conversion to a
// base class, computed once per refresh and kept until reset.
class ClassThisValue {
public:
    // The object itself, through the symbol "this".
    explicit ClassThisValue(SymbolItem& thisSymbol);
    // The conversion of derived's pointer to the base class.
    ClassThisValue(ClassThisValue& derived, const TypeItem& base);
    ~ClassThisValue();

    ClassThisValue(const ClassThisValue&) = delete;
    ClassThisValue& operator=(const ClassThisValue&) = delete;

    // Pushes the pointer on the stack (computing it when not kept).
    void pushThis(RuntimeStack& stack, int frame);
    // A new item (owned by the caller) of the member's value in the object.
    StackItem* value(SymbolItem& member, int frame);
    // Forgets the kept pointer.
    void reset();

    const TypeItem* classType() const { return classType_; }
    ClassThisValue* derived() const { return derived_; }
    StackItem* cached() const { return cached_; }

private:
    const TypeItem* classType_;
    SymbolItem* thisSymbol_ = nullptr;
    ClassThisValue* derived_ = nullptr;
    StackItem* cached_ = nullptr;
};

#endif
