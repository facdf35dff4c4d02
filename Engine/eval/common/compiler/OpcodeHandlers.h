#ifndef NORVEXA_COMPILER_OPCODEHANDLERS_H
#define NORVEXA_COMPILER_OPCODEHANDLERS_H

#include <cstdint>

class SymbolItem;
class TypeItem;
struct ArgMode;

// The opcode handlers: one plain function per byte-code instruction, named
// as the instruction and taking its operand fields. Each traces, checks its
// operands with the interface guards, and applies its operation to the value
// stack of the calling thread's current expression representation (looked
// up on every call; another kind of environment raises InvalidOp
// RTRC_AssertFail with the handler's signature).
//
// genConvertString retypes a string on top of the stack to its type operand;
// an item that holds an address is replaced by the text read there (its
// type's size, at most 511 bytes) with that type.

void genPointerAdd();
void genAdd();
void genPointerSubtract();
void genSubtract();
void genMult();
void genDivide();
void genModulus();
void genConcatenate();
void genBitAnd();
void genBitOr();
void genBitXor();
void genNegate();
void genComplement();
void genNot();
void genRealPart();
void genImaginaryPart();
void genLoadNULL();
void genLoadThis();
void genLogicalShiftLeft();
void genLogicalShiftRight();
void genArithmeticShiftRight();
void genEQ();
void genNE();
void genLT();
void genLE();
void genGT();
void genGE();
void genStore();
void genDupValue();
void genPop();
void genArraySection();
void genSubstring();
void formatAppendIntegral();
void pushArraySection();
void genVectorSubscript();

void genPow(unsigned int exponent);
void genLoadI(short size);
void genIndex(long long elementSize);
void genLabel(unsigned int label);
void genTrueJump(unsigned int label);
void genFalseJump(unsigned int label);
void genJump(unsigned int label);
void genTruncateFP(const TypeItem* type);
void genConvert(const TypeItem* type);
void genConvertString(const TypeItem* type);
void genLoad(const SymbolItem* symbol);
void genLoadAddress(const SymbolItem* symbol);
void genLoadMemberSym(const SymbolItem* symbol);
void genLoadMemberOffset(const SymbolItem* symbol);
void genStoreMember(const SymbolItem* symbol);
void genLoadIndex(unsigned long long index);
void genLoadParam(unsigned long long parameter);
void genRefMod(const TypeItem* type);
void genRefModLength(const TypeItem* type);
void genLoadIntegralValue(const char* text);
void genLoadRealValue(const char* text);
void genLoadDecimalRealValue(const char* text);
void genLoadPackedDecimalValue(const char* text);
void genLoadZonedDecimalValue(const char* text);
void genLoadNationalDecimalValue(const char* text);
void formatAppendString(const char* text);
void genLoadValue(const char* value, const TypeItem* type);
void genLoadFigConstant(const char* value, const TypeItem* type);
void genCall(unsigned int function, bool builtin);
void genLoadIndirect(long long offset, const TypeItem* type);
void genLoadBaseAddress(const TypeItem* base, const TypeItem* derived);
void genRankIndex(long long rank, const TypeItem* type);
void genLoadIndirectRank(long long rank, const TypeItem* type);
void genConvertRefMod(bool lengthGiven, const TypeItem* type);
void genString(const char* text, unsigned int n);
void genWideString(const char* text, unsigned int n);
void genLoadChar(const char* text, unsigned int n);
void genLoadWChar(const char* text, unsigned int n);
void genCOBOLCall(const ArgMode* modes, unsigned int byteCount);
void genLoadIntegralConstant(std::uint64_t value, const TypeItem* type, bool sign, short length);

// Two more of the family that no opcode reaches.
bool ValueOnStackIsZero();
void genLoadRealConstant(long double value, short size);

#endif
