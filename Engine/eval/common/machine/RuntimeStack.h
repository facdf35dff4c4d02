#ifndef NORVEXA_MACHINE_RUNTIMESTACK_H
#define NORVEXA_MACHINE_RUNTIMESTACK_H

#include <cstdint>

#include "HostRecords.h"

class StackItem;
class SymbolItem;
class TypeItem;
struct ArgMode;

// The machine that replays an expression's byte code: a stack of items
// linked through their next field, top first, owning every item on it, with
// the control state of a run (running, dry run, skipping forward to a label)
// and the marks of what a run met. Every gen operation acts only while
// running, unless it says otherwise.
//
// A stack belongs to one expression representation and is used by the
// thread that runs that representation's request.
class RuntimeStack {
public:
    enum SkipState : std::int32_t {
        running = 0,
        dryRun = 1,
        skipping = 2
    };

    // A new, empty stack owned by the caller.
    static RuntimeStack* allocate();

    // A new item of the type without a value, owned by the caller and made
    // in the current evaluation environment; the context is not used.
    // RTRC_Other for a host leaf code it has no item for, RTRC_NotSupported
    // for such a built-in index.
    static StackItem* makeStackItem(const TypeItem& type, const LCC_Eval_Context_Info* context);

    virtual ~RuntimeStack();

    RuntimeStack(const RuntimeStack&) = delete;
    RuntimeStack& operator=(const RuntimeStack&) = delete;

    // ---- the stack ----
    // Takes ownership of item and puts it on top; an item already on a
    // stack is refused with RTRC_StackPush.
    void push(StackItem* item);
    // Removes the top item and hands it to the caller; RTRC_Empty_Stack when
    // empty.
    StackItem* pop();
    // Deletes every item and a held section that was never pushed, clears
    // the marks and starts running again. The jump label stays.
    void popAll();
    void genPop();
    // While running: pops the top item and answers whether it is zero (the
    // item is deleted also when asking fails). Otherwise false.
    bool ValueOnStackIsZero();
    unsigned count() const { return count_; }
    StackItem* top() const { return top_; }

    // ---- control ----
    SkipState skipState() const { return skipState_; }
    void setSkipState(SkipState state) { skipState_ = state; }
    std::uint32_t jumpLabel() const { return jumpLabel_; }
    void genJump(std::uint32_t label);
    void genLabel(std::uint32_t label);

    // ---- marks ----
    bool notAllocatedSeen() const { return notAllocatedSeen_; }
    void setNotAllocatedSeen() { notAllocatedSeen_ = true; }
    bool storeSeen() const { return storeSeen_; }
    void setStoreSeen() { storeSeen_ = true; }
    bool guardedStoreSeen() const { return guardedStoreSeen_; }
    void setGuardedStoreSeen() { guardedStoreSeen_ = true; }
    bool optimizedAddressSeen() const { return optimizedAddressSeen_; }
    void setOptimizedAddressSeen() { optimizedAddressSeen_ = true; }
    bool userCallSeen() const { return userCallSeen_; }

    // ---- binary operators: the left operand below the right one ----
    void genAdd();
    void genSubtract();
    void genMult();
    void genDivide();
    void genModulus();
    void genPow(unsigned int n);
    void genBitAnd();
    void genBitOr();
    void genBitXor();
    void genLogicalShiftLeft();
    void genLogicalShiftRight();
    void genArithmeticShiftRight();
    void genPointerAdd();
    void genConcatenate();

    // ---- comparisons: a boolean item replaces both operands ----
    void genEQ();
    void genNE();
    void genLT();
    void genLE();
    void genGT();
    void genGE();

    // ---- unary and element operations ----
    void genNegate();
    void genComplement();
    void genNot();
    void genDupValue();
    void genIndex(std::int64_t offset);
    // One subscript of a multi-dimensional array: dimension `rank` of the
    // array type bounds it.
    void genRankIndex(unsigned int rank, const TypeItem* arrayType);
    void genPointerSubtract();
    void genRealPart();
    void genImaginaryPart();
    void genTruncateFP(const TypeItem& type);

    // ---- floating-point constants and literals ----
    // Size 4, 8 or 12 (long double); RTRC_NotSupported for any other.
    void genLoadRealConstant(long double value, std::int16_t size);
    void genLoadComplexConstant(long double real, long double imaginary, std::int16_t size);
    // The imaginary unit 0 + 1i.
    void genLoadI(std::int16_t size);
    // A real literal of C or Fortran, decimal or hexadecimal, read in the C
    // locale and pushed as a long double.
    virtual void genLoadRealValue(const char* text);
    // A decimal floating-point literal with an optional DF, DD or DL suffix
    // (64-bit without one).
    virtual void genLoadDecimalRealValue(const char* text);

    // ---- COBOL numeric literals ----
    // The literal as packed, zoned or national decimal of a created type of
    // exactly its digits and decimal places.
    virtual void genLoadPackedDecimalValue(const char* text);
    virtual void genLoadZonedDecimalValue(const char* text);
    virtual void genLoadNationalDecimalValue(const char* text);
    // The literal as a value of the target type (decimal, binary or
    // pointer); RTRC_NotSupported for any other kind of type.
    virtual void genLoadValue(const char* text, const TypeItem& type);

    // ---- conversion ----
    // Replaces the top item by one of the target type converted from it.
    void genConvert(const TypeItem& target);

    // ---- constant and special loads: each pushes one new item ----
    // The value cut to size (1, 2, 4 or 8 bytes), signed or unsigned;
    // RTRC_NotSupported for another size.
    void genLoadIntegralConstant(std::uint64_t value, int isSigned, std::int16_t size);
    // A wide character of the debuggee's wchar_t width (2 or 4 bytes);
    // RTRC_Other for another width.
    void genLoadWChar(std::uint32_t code);
    // The representation's parameter of that number, as a signed 4-byte item.
    void genLoadParam(std::uint32_t number);
    void genLoadNULL();
    // The member's byte offset, signed, 8 bytes at address size 8, else 4.
    void genLoadMemberOffset(const SymbolItem& member);
    void genLoadIndex(std::uint32_t index);
    // An integer literal as typed, always as an 8-byte item, unsigned with
    // a U suffix; RTRC_ParserError for null, empty or malformed text.
    void genLoadIntegralValue(const char* text);
    // The address of a variable (a function symbol: the function itself).
    void genLoadAddress(const SymbolItem& symbol);
    // Loads of the text constants: length bytes of text (a null text is
    // all blanks), cut or padded with the kind's blank to the type's size.
    // An alphanumeric constant is a figurative-constant item. The first
    // three are reached through the load of a constant symbol, whose caller
    // checks the running state.
    void genLoadCharstringConstant(const char* text, std::uint64_t length, const TypeItem& type);
    void genLoadNationalStringConstant(const char* text, std::uint64_t length, const TypeItem& type);
    void genLoadDbcsStringConstant(const char* text, std::uint64_t length, const TypeItem& type);
    // RTRC_NotSupported for a type that is no character string.
    void genLoadFigConstant(const char* text, std::uint64_t length, const TypeItem& type);

    // ---- strings, substrings and reference modification ----
    // A narrow or wide C string literal of length bytes of text.
    void genString(const char* text, unsigned int length);
    void genWideString(const char* text, unsigned int length);
    // s(start:end): pops the start, the end and the string; pushes at most
    // 512 bytes.
    void genSubstring();
    // item(start:): pops the start and the item.
    void genRefMod(const TypeItem& target);
    // item(:length): pops the length and the item.
    void genRefModLength(const TypeItem& target);
    // A value moved into a reference-modified target: pops the value, the
    // length when one was given, and the start.
    void genConvertRefMod(bool lengthGiven, const TypeItem& target);

    // ---- loads of variables and memory ----
    // The variable's value as seen from the frame (-1: the current one).
    void genLoad(const SymbolItem& symbol, int frame);
    // Replaces the item on top (an address or addressable value) by the
    // value of the type found offset bytes further on.
    void genLoadIndirect(std::int64_t offset, const TypeItem& type);
    // The element of that rank of the type, at the top item's address.
    void genLoadIndirectRank(int rank, const TypeItem& type);
    void genLoadIndirectCommon(std::int64_t offset, const TypeItem& type, bool tellBoundType);
    // Replaces the aggregate on top by the value of its member.
    void genLoadMemberSym(const SymbolItem& member);
    // Pops the address of a COBOL data item and pushes 1 when the condition
    // name holds for its value, else 0.
    void genLoadCondvarSym(const SymbolItem& condition);
    // The object pointer of the innermost member function.
    virtual void genLoadThis();
    // The pointer or reference to the derived class on top becomes one to
    // the base class.
    virtual void genLoadBaseAddress(const TypeItem& base, const TypeItem& derived);
    // The value of a named constant; RTRC_NotSupported for a built-in type
    // it has no load for.
    void genLoadConstant(const SymbolItem& constant);

    // ---- stores: the value on top, the target below ----
    void genStore();
    void genStoreMember(const SymbolItem& member);

    // ---- array sections and formatted text ----
    void genArraySection();
    void genVectorSubscript();
    void formatAppendIntegral();
    void formatAppendArraySection();

    // ---- calls: noticed by the dry run, never carried out ----
    virtual void genCall(std::uint32_t count, bool builtin);
    virtual void genCOBOLCall(ArgMode* modes, unsigned int count);

    // ---- array sections ----
    // Keeps a section item until the end of the expression (owned; a
    // section held before is deleted).
    void holdSection(StackItem* section);
    StackItem* heldSection() const { return heldSection_; }
    // Replaces the top item by the held section.
    void pushArraySection();

    // Makes the top item a string of the target's type (the byte code's
    // string conversion; genConvert reaches it for array targets).
    // RTRC_Empty_Stack on an empty stack.
    void genConvertString(const TypeItem& target);

protected:
    RuntimeStack() = default;

private:
    bool isRunning() const { return skipState_ == running; }
    [[noreturn]] static void emptyStack(const char* function, unsigned line);

    // The frames of the binary operators and the comparisons.
    template <class Operation>
    void binary(bool check, Operation operation);
    template <class Comparison>
    void compare(Comparison comparison);
    // A nested conversion to a built-in type.
    void convertToBuiltin(unsigned int index);
    // A bit field on top becomes the integer its type's kind names, as a
    // load of any other integer is one: the operators work on integers.
    // Anything else stays.
    void bitFieldToInteger();
    // The string conversion of an array or bound-string target (genConvert
    // reaches it too): RTRC_Empty_Stack on an empty stack. adjustString acts
    // while skipping.
    void adjustString(const TypeItem& target);
    // A C character-array constant of length bytes of text.
    void pushBoundString(const char* text, std::uint64_t length, const TypeItem& type);
    // A literal of the bytes, pushed whatever the running state.
    void pushString(const unsigned char* text, unsigned int length, bool wide);

    StackItem* top_ = nullptr;
    StackItem* heldSection_ = nullptr;
    std::uint32_t jumpLabel_ = 0;
    bool notAllocatedSeen_ = false;
    bool storeSeen_ = false;
    bool guardedStoreSeen_ = false;
    bool optimizedAddressSeen_ = false;
    bool userCallSeen_ = false;
    SkipState skipState_ = running;
    unsigned count_ = 0;
};

#endif
