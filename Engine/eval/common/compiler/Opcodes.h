#ifndef NORVEXA_COMPILER_OPCODES_H
#define NORVEXA_COMPILER_OPCODES_H

#include <cstddef>
#include <cstdint>

// The byte-code machine: one row per instruction, in the order of its
// number. Everything else that knows an opcode comes from this table: the
// Opcode enum below, the writers (EE_InstructionStream.h), the operand rows
// (EE_OperandLayout.cpp), the replay's dispatch (EE_InstructionStreamReplay.cpp)
// and the decoder's listing, which prints the row's name.
//
//   X(number, name, shape, pops, pushes, "what it does")
//
// name    the writer, the handler (OpcodeHandlers.h) and, for most, the
//         RuntimeStack operation of that name.
// shape   the operand: its fields and their order, which decide the writer's
//         parameters and the handler's arguments (EE_OperandLayout.cpp):
//           plain             none
//           u32 i16 i64 u64   one number of that width
//           type symbol       one TypeItem* / SymbolItem*
//           text16            a 16-bit count, then that many bytes of text
//                             (its NUL included)
//           typedText         a 16-bit count and a TypeItem*, then the bytes
//           text32 modes32    a 32-bit count, then that many bytes of text /
//                             of argument modes
//           call              a u32 (the argument count) and a u8 (built-in)
//           numberAndType     an i64 and a TypeItem*
//           twoTypes          two TypeItem* (base, derived)
//           flagAndType       a u8 flag and a TypeItem*
//           integralConstant  a u64, a TypeItem*, a u8 sign and an i16 length
// pops    the items the instruction takes from the value stack while it
//         runs; "fN + k" is k plus the value of operand field N (the length
//         flag of a reference-modified store, the argument count of a call).
// pushes  the items it leaves in their place. An instruction that only
//         looks at the top item counts it in both: it needs it there.
//
// The machine acts only while running: a dry run or a skip to a label
// leaves the stack as it is. Calls are noticed and never carried out: while
// running they are refused, and their effect is what the call would do.
// clang-format off
#define NORVEXA_OPCODES(X)                                                                                            \
    X(0,  end,                         end,              0,      0, "end of the code")                                \
    X(1,  genPointerAdd,               plain,            2,      1, "address + integer * the pointed-to size")        \
    X(2,  genAdd,                      plain,            2,      1, "left + right")                                   \
    X(3,  genPointerSubtract,          plain,            2,      1, "left address - right address, in elements")      \
    X(4,  genSubtract,                 plain,            2,      1, "left - right")                                   \
    X(5,  genMult,                     plain,            2,      1, "left * right")                                   \
    X(6,  genDivide,                   plain,            2,      1, "left / right")                                   \
    X(7,  genModulus,                  plain,            2,      1, "left % right")                                   \
    X(8,  genConcatenate,              plain,            2,      1, "the right string after the left one")            \
    X(9,  genBitAnd,                   plain,            2,      1, "left & right")                                   \
    X(10, genBitOr,                    plain,            2,      1, "left | right")                                   \
    X(11, genBitXor,                   plain,            2,      1, "left ^ right")                                   \
    X(12, genNegate,                   plain,            1,      1, "-value")                                         \
    X(13, genComplement,               plain,            1,      1, "~value")                                         \
    X(14, genNot,                      plain,            1,      1, "!value")                                         \
    X(15, genRealPart,                 plain,            1,      1, "the real part of a number")                      \
    X(16, genImaginaryPart,            plain,            1,      1, "the imaginary part of a number")                 \
    X(17, genLoadNULL,                 plain,            0,      1, "a null pointer")                                 \
    X(18, genLoadThis,                 plain,            0,      1, "this, of the innermost member function")         \
    X(19, genLogicalShiftLeft,         plain,            2,      1, "left << right")                                  \
    X(20, genLogicalShiftRight,        plain,            2,      1, "left >> right, zeros shifted in")                \
    X(21, genArithmeticShiftRight,     plain,            2,      1, "left >> right, the sign shifted in")             \
    X(22, genEQ,                       plain,            2,      1, "left == right, a boolean")                       \
    X(23, genNE,                       plain,            2,      1, "left != right")                                  \
    X(24, genLT,                       plain,            2,      1, "left < right")                                   \
    X(25, genLE,                       plain,            2,      1, "left <= right")                                  \
    X(26, genGT,                       plain,            2,      1, "left > right")                                   \
    X(27, genGE,                       plain,            2,      1, "left >= right")                                  \
    X(28, genStore,                    plain,            2,      0, "stores the value on top into the target below")  \
    X(29, genDupValue,                 plain,            1,      2, "a copy of the top item")                         \
    X(30, genPop,                      plain,            1,      0, "drops the top item")                             \
    X(31, genArraySection,             plain,            4,      1, "holds array(lo:hi:stride), pushes its count")    \
    X(32, genSubstring,                plain,            3,      1, "string(start:end), of at most 512 bytes")        \
    X(33, formatAppendIntegral,        plain,            1,      1, "the integer on top added to the result's name")  \
    X(34, pushArraySection,            plain,            1,      1, "the held section in place of the top item")      \
    X(35, genVectorSubscript,          plain,            2,      1, "holds array(vector), pushes its count")          \
    X(36, genPow,                      u32,              2,      1, "left ** right, to the operand's digits")         \
    X(37, genLoadI,                    i16,              0,      1, "the imaginary unit 0 + 1i of that size")         \
    X(38, genIndex,                    i64,              2,      1, "base[subscript], elements of operand bytes")     \
    X(39, genLabel,                    u32,              0,      0, "ends a skip that jumped to this label")          \
    X(40, genTrueJump,                 u32,              1,      0, "takes a value; skips to the label if not zero")  \
    X(41, genFalseJump,                u32,              1,      0, "takes a value; skips to the label if zero")      \
    X(42, genJump,                     u32,              0,      0, "skips to the label")                             \
    X(43, genTruncateFP,               type,             1,      1, "a real value cut toward zero, of the type")      \
    X(44, genConvert,                  type,             1,      1, "the value converted to the type")                \
    X(45, genConvertString,            type,             1,      1, "the value, or the bytes it points at, as text")  \
    X(46, genLoad,                     symbol,           0,      1, "the value of a variable or named constant")      \
    X(47, genLoadAddress,              symbol,           0,      1, "a variable's address, or a function itself")     \
    X(48, genLoadMemberSym,            symbol,           1,      1, "a member of the aggregate on top; a condition")  \
    X(49, genLoadMemberOffset,         symbol,           0,      1, "the member's byte offset")                       \
    X(50, genStoreMember,              symbol,           2,      0, "stores the value on top into the member below")  \
    X(51, genLoadIndex,                u64,              0,      1, "the number as an unsigned 4-byte integer")       \
    X(52, genLoadParam,                u64,              0,      1, "the representation's parameter of that number")  \
    X(53, genRefMod,                   type,             2,      1, "item(start:), a slice of the type")              \
    X(54, genRefModLength,             type,             2,      1, "item(:length), a slice of the type")             \
    X(55, genLoadIntegralValue,        text16,           0,      1, "an integer literal")                             \
    X(56, genLoadRealValue,            text16,           0,      1, "a real literal")                                 \
    X(57, genLoadDecimalRealValue,     text16,           0,      1, "a decimal floating-point literal")               \
    X(58, genLoadPackedDecimalValue,   text16,           0,      1, "a COBOL numeric literal as packed decimal")      \
    X(59, genLoadZonedDecimalValue,    text16,           0,      1, "a COBOL numeric literal as zoned decimal")       \
    X(60, genLoadNationalDecimalValue, text16,           0,      1, "a COBOL numeric literal as national decimal")    \
    X(61, formatAppendString,          text16,           0,      0, "appends the text to the result's name")          \
    X(62, genLoadValue,                typedText,        0,      1, "a literal as a value of the type")               \
    X(63, genLoadFigConstant,          typedText,        0,      1, "a figurative constant at the type's size")       \
    X(64, genCall,                     call,             f0 + 1, 1, "f0 arguments, then the function; refused")       \
    X(65, genLoadIndirect,             numberAndType,    1,      1, "the type's value at the top's address + i64")    \
    X(66, genLoadBaseAddress,          twoTypes,         1,      1, "a derived-class pointer as a base-class one")    \
    X(67, genRankIndex,                numberAndType,    2,      1, "array[subscript] in the dimension of that rank") \
    X(68, genLoadIndirectRank,         numberAndType,    1,      1, "the element of that rank at the top's address")  \
    X(69, genConvertRefMod,            flagAndType,      f0 + 2, 1, "start, [length if f0,] value: a slice filled")   \
    X(70, genString,                   text32,           0,      1, "a narrow string literal")                        \
    X(71, genWideString,               text32,           0,      1, "a wide string literal")                          \
    X(72, genLoadChar,                 text32,           0,      1, "a character constant as one unsigned byte")      \
    X(73, genLoadWChar,                text32,           0,      1, "a wide character constant")                      \
    X(74, genCOBOLCall,                modes32,          f0 + 1, 1, "f0 arguments, then the program; refused")        \
    X(75, genLoadIntegralConstant,     integralConstant, 0,      1, "an integer of that sign and length")
// clang-format on

// The opcodes by name.
enum class Opcode : std::uint8_t {
#define NORVEXA_OPCODE_ENUMERATOR(number, name, shape, pops, pushes, what) name = number,
    NORVEXA_OPCODES(NORVEXA_OPCODE_ENUMERATOR)
#undef NORVEXA_OPCODE_ENUMERATOR
};

namespace opcodes {

// A count of stack items: fixed, plus the value of one operand field when
// field is not negative.
struct StackCount {
    constexpr StackCount(int n) : fixed(static_cast<std::uint8_t>(n)) {}
    constexpr StackCount(int n, int operandField)
        : fixed(static_cast<std::uint8_t>(n)), field(static_cast<std::int8_t>(operandField))
    {}

    // The count for an instruction whose operand field `field` holds
    // fieldValue (not used for a fixed count).
    constexpr std::uint64_t of(std::uint64_t fieldValue) const { return fixed + (field >= 0 ? fieldValue : 0); }

    std::uint8_t fixed;
    std::int8_t field = -1;
};

// "f0 + 2" in the table: operand field 0 plus two (the table's counts are
// read inside this namespace).
struct OperandField {
    int index;
};
constexpr StackCount operator+(OperandField f, int n)
{
    return StackCount(n, f.index);
}
inline constexpr OperandField f0{0};

struct Info {
    const char* name;
    StackCount pops;
    StackCount pushes;
    const char* what;
};

// The rows in the order of their numbers.
inline constexpr Info table[] = {
#define NORVEXA_OPCODE_INFO(number, name, shape, pops, pushes, what) {#name, pops, pushes, what},
    NORVEXA_OPCODES(NORVEXA_OPCODE_INFO)
#undef NORVEXA_OPCODE_INFO
};

inline constexpr std::size_t count = sizeof table / sizeof table[0];

// Whether every row has its own number, in order from 0: the enum, the
// operand rows and the dispatch may then index one another by number.
constexpr bool numberedInOrder()
{
    constexpr unsigned numbers[] = {
#define NORVEXA_OPCODE_NUMBER(number, name, shape, pops, pushes, what) number,
        NORVEXA_OPCODES(NORVEXA_OPCODE_NUMBER)
#undef NORVEXA_OPCODE_NUMBER
    };
    for (std::size_t i = 0; i < count; ++i)
        if (numbers[i] != i)
            return false;
    return true;
}
static_assert(numberedInOrder(), "the opcode table must number its rows 0, 1, 2, ... in order");
static_assert(count <= 256, "an opcode is one byte");

// The row of an opcode; null above the last.
constexpr const Info* info(unsigned opcode)
{
    return opcode < count ? &table[opcode] : nullptr;
}

} // namespace opcodes

#endif
