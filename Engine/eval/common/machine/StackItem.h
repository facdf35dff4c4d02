#ifndef NORVEXA_MACHINE_STACKITEM_H
#define NORVEXA_MACHINE_STACKITEM_H

#include <cstddef>
#include <cstdint>

#include <plomkit/ByteString.h>

#include "HostRecords.h"
#include "services/DebuggeeLocation.h"
#include "types/TypeItem.h"

class AlphaNumericEdited;
class DbcsEdited;
class DecimalFloat;
class EvaluationEnvironment;
class ExternalFloat;
class FixedPointBinary;
class FloatNumber;
class IndexDataItem;
class IndexName;
class NationalDecimal;
class NationalEdited;
class NationalExternalFloat;
class NationalNumericEdited;
class NumericEdited;
class PackedDecimal;
class RootTreeNode;
class RuntimeStack;
class ScopeItem;
class ZonedDecimal;

// A typed value of the evaluation machine, held as the debuggee stores it
// (big-endian, EBCDIC, packed decimal and so on), with its type, the place
// it was read from and the marks that travel with it through the operators.
// Every operand and result on a RuntimeStack is one; the item left on top at
// the end of an evaluation is the result handed to the host.
//
// The base class answers every operation that a kind of data does not
// support with InvalidOp RTRC_IncompatTypes. Operators change this item (the
// left operand) in place.
//
// Items are used by the thread that runs their environment's request.
class StackItem {
public:
    virtual ~StackItem();

    // Items are made and released on every evaluation: their storage is
    // kept for reuse by the thread that releases them (up to a few dozen
    // blocks of each size), so that an evaluation repeated on a warm
    // representation asks the heap for nothing.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    StackItem& operator=(const StackItem&) = delete;

    virtual bool isArray() const;
    virtual bool isString() const;
    // Validates the value's digits (decimal and external-float items).
    virtual void checkValue() const;
    // A new item of the same class and value, owned by the caller.
    virtual StackItem* clone() const = 0;
    // Bytes of the value in the debuggee's layout.
    virtual std::uint64_t size() const = 0;
    // The text of an evaluation error; null for every other item.
    virtual const char* evaluationError() const;
    // Reads the value from a location.
    virtual void load(const DebuggeeLocation& where) = 0;
    // The size() bytes of the value in the debuggee's layout; null when the
    // item has none.
    virtual void* resultBuffer() const;
    // 0 for a value held in the evaluator; InvalidOp RTRC_AssertFail for one
    // in the debuggee whose class does not know its length.
    virtual std::uint64_t stringLength() const;
    virtual const TypeItem& formatType() const;

    virtual void genPointerAdd(const StackItem& right);
    virtual void genAdd(const StackItem& right);
    // The distance of this pointer to right, as a new item.
    virtual StackItem* genPointerSubtract(const StackItem& right);
    virtual void genSubtract(const StackItem& right);
    virtual void genMult(const StackItem& right);
    virtual void genDivide(const StackItem& right);
    virtual void genModulus(const StackItem& right);
    virtual void genPow(const StackItem& right, unsigned int n);
    virtual void genBitAnd(const StackItem& right);
    virtual void genBitOr(const StackItem& right);
    virtual void genBitXor(const StackItem& right);
    virtual void genConcatenate(const StackItem& right);
    virtual void genIndex(const StackItem& subscript, std::int64_t offset);
    virtual void genRankIndex(const StackItem& subscript, std::int64_t lowerBound, std::int64_t stride);
    virtual void genNegate();
    virtual void genComplement();
    virtual void genNot();
    // Makes this item's value from the source's.
    virtual void genConvert(const StackItem& source);
    virtual void genTruncateFP(unsigned int size);
    virtual void genLogicalShiftLeft(const StackItem& right);
    virtual void genLogicalShiftRight(const StackItem& right);
    virtual void genArithmeticShiftRight(const StackItem& right);
    // Comparisons: non-zero when the relation holds.
    virtual int genEQ(const StackItem& right);
    virtual int genNE(const StackItem& right);
    virtual int genLT(const StackItem& right);
    virtual int genLE(const StackItem& right);
    virtual int genGT(const StackItem& right);
    virtual int genGE(const StackItem& right);
    virtual int isZero() const;
    virtual std::uint64_t asUnsigned() const;
    virtual std::int64_t asSigned() const;
    virtual bool isQuvHexFloat() const;
    virtual FloatNumber asLongDouble() const;
    virtual FloatNumber realPart() const;
    virtual FloatNumber imaginaryPart() const;
    virtual DecimalFloat asDecimalFloat() const;
    virtual PackedDecimal asPackedDecimal(const TNpacked_decimal& record) const;
    virtual ZonedDecimal asZonedDecimal(const TNzoned_decimal& record) const;
    virtual NationalDecimal asNationalDecimal(const TNnational_decimal& record) const;
    virtual FixedPointBinary asFixedPointBinary(const TNfixed_point_binary& record) const;
    virtual IndexName asIndexName(const TNindex_name& record) const;
    virtual IndexDataItem asIndexDataItem(const TNindex_data_item& record) const;
    virtual ByteString asCharstring(const TNcharstring& record) const;
    virtual ByteString asNationalString(const TNnational_string& record) const;
    virtual ExternalFloat asExternalFloat(const TNexternal_float& record) const;
    virtual AlphaNumericEdited asAlphaNumericEdited(const TNalpha_numeric_edited& record) const;
    virtual NumericEdited asNumericEdited(const TNnumeric_edited& record) const;
    virtual NationalEdited asNationalEdited(const TNnational_edited& record) const;
    virtual NationalNumericEdited asNationalNumericEdited(const TNnational_numeric_edited& record) const;
    virtual NationalExternalFloat asNationalExternalFloat(const TNnational_external_float& record) const;
    virtual ByteString asDbcsString(const TNdbcs_string& record) const;
    virtual DbcsEdited asDbcsEdited(const TNdbcs_edited& record) const;
    virtual DebuggeeLocation asLocation() const;
    virtual ByteString asAlphaNumericGroup(const TNclass& record) const;
    virtual bool mayBeAddress() const;
    // A new item of the target type converted from this one; this item is
    // deleted when that succeeds (the caller must not use it afterwards) and
    // kept when it fails.
    virtual StackItem* convertType(const TypeItem& target, const LCC_Eval_Context_Info* context);
    // EBCDIC text to national text (UTF-16 big-endian) of as many characters.
    virtual ByteString convertToNational(const ByteString& text) const;
    // National text to EBCDIC of half as many bytes, 0x40 where the host
    // writes nothing.
    virtual ByteString convertToCharacter(const ByteString& text) const;

    // ---- fields ----
    const TypeItem& type() const { return type_; }
    void setType(const TypeItem& type) { type_ = type; }
    const DebuggeeLocation& location() const { return location_; }
    EvaluationEnvironment& environment() const { return environment_; }
    // The scope names of the value are resolved in: the one given, else the
    // current environment's file scope (found when first asked, so that an
    // item can be made where no file scope can be had, such as the item that
    // carries an evaluation error).
    const ScopeItem* scope() const;
    // Null means the file scope.
    void setScope(const ScopeItem* scope) { scope_ = scope; }
    // The program variable the value was loaded from (not owned); null
    // until a load sets it.
    const char* name() const { return name_; }
    void setName(const char* name) { name_ = name; }
    // The item below this one on a value stack (null at the bottom and off
    // every stack), and whether the item is on a stack at all.
    StackItem* next() const { return next_; }
    bool isOnStack() const { return onStack_; }

    // ---- first flag byte ----
    bool holdsAddress() const { return bit(flags1_, 0); }
    void setHoldsAddress(bool on) { setBit(flags1_, 0, on); }
    bool isCompound() const { return bit(flags1_, 1); }
    void setIsCompound(bool on) { setBit(flags1_, 1, on); }
    bool inDebuggerAddressSpace() const { return bit(flags1_, 2); }
    void setInDebuggerAddressSpace() { setBit(flags1_, 2, true); }
    bool fromRegisterVariable() const { return bit(flags1_, 3); }
    void setFromRegisterVariable(bool on) { setBit(flags1_, 3, on); }
    bool fromRegister() const { return bit(flags1_, 4); }
    void setFromRegister(bool on) { setBit(flags1_, 4, on); }
    bool hasValue() const { return bit(flags1_, 5); }
    void setHasValue(bool on) { setBit(flags1_, 5, on); }
    bool isAllocated() const { return bit(flags1_, 6); }
    void setIsAllocated(bool on) { setBit(flags1_, 6, on); }
    bool isAssociated() const { return bit(flags1_, 7); }
    void setIsAssociated(bool on) { setBit(flags1_, 7, on); }
    std::uint8_t firstFlagByte() const { return flags1_; }

    // ---- second flag byte ----
    bool loadedFromVariable() const { return bit(flags2_, 0); }
    void setLoadedFromVariable(bool on) { setBit(flags2_, 0, on); }
    bool playbackGuarded() const { return bit(flags2_, 1); }
    void setPlaybackGuarded(bool on) { setBit(flags2_, 1, on); }
    std::uint8_t secondFlagByte() const { return flags2_; }

    // Sets fromRegisterVariable and fromRegister where other has them (a
    // mark already set stays set).
    void takeRegisterMarks(const StackItem& other);

    // The item's result tree root, made on first use; the item holds one
    // reference on it until it is destroyed.
    RootTreeNode* getTreeRoot();
    // Lets go of the item's result tree root (the next getTreeRoot makes a
    // new one); a root the host still holds stays valid for the host.
    void releaseTreeRoot();
    bool hasTreeRoot() const { return treeRoot_ != nullptr; }

    // Reads size() bytes into buffer from where (the loads' service): a
    // location of kind none, or a missing buffer for a value of non-zero
    // size, clears hasValue and raises RTRC_Other; a value of size 0 reads
    // nothing and becomes a value held in the evaluator.
    void loadBuffer(const DebuggeeLocation& where, void* buffer);
    // Reads count raw bytes from where; the location becomes the item's
    // when all of them were read (RTRC_ReadMemoryFailed otherwise).
    void ReadDebuggeeData(void* buffer, std::uint64_t count, const DebuggeeLocation& where);

protected:
    StackItem(EvaluationEnvironment& environment, const TypeItem& type, const ScopeItem* scope = nullptr);
    StackItem(EvaluationEnvironment& environment, unsigned int builtinIndex, const ScopeItem* scope = nullptr);
    // Of the type exactly as setType would give it (assigned, not copied:
    // not simplified again).
    struct AssignedType {
        const TypeItem& type;
    };
    StackItem(EvaluationEnvironment& environment, AssignedType type);
    // Type, environment, scope and flags, without the register marks; no
    // location, tree root, name or stack link.
    StackItem(const StackItem& other);

    // The scope given to the item; null when it was given none (the file
    // scope, not looked up here).
    const ScopeItem* givenScope() const { return scope_; }
    void clearLocation() { location_.clear(); }
    void clearInDebuggerAddressSpace() { setBit(flags1_, 2, false); }

    TypeItem type_;
    DebuggeeLocation location_;
    EvaluationEnvironment& environment_;

private:
    friend class RuntimeStack;

    static bool bit(std::uint8_t byte, unsigned n) { return (byte >> n) & 1u; }
    static void setBit(std::uint8_t& byte, unsigned n, bool on)
    {
        byte = static_cast<std::uint8_t>(on ? byte | (1u << n) : byte & ~(1u << n));
    }

    mutable const ScopeItem* scope_ = nullptr;
    RootTreeNode* treeRoot_ = nullptr;
    std::uint8_t flags1_;
    std::uint8_t flags2_ = 0;
    const char* name_ = nullptr;
    StackItem* next_ = nullptr;
    bool onStack_ = false;
};

#endif
