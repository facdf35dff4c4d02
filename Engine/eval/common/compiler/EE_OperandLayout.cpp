#include "compiler/EE_OperandLayout.h"

namespace operandlayout {

namespace {

using K = FieldKind;

constexpr Layout plain(const char* name)
{
    return Layout{name, {}, 0, 1, false};
}

constexpr Layout one(const char* name, FieldKind kind, std::uint8_t width)
{
    return Layout{name, {{kind, 0}}, width, width, false};
}

// A count at 0 and the tail right after it.
constexpr Layout text16(const char* name)
{
    return Layout{name, {{K::count16, 0}}, 2, 2, true};
}

constexpr Layout text32(const char* name)
{
    return Layout{name, {{K::count32, 0}}, 4, 4, true};
}

// A count at 0, a type at 8, the tail after the head.
constexpr Layout typedText(const char* name)
{
    return Layout{name, {{K::count16, 0}, {K::type, 8}}, 16, 8, true};
}

// A 64-bit number at 0 and a type at 8.
constexpr Layout numberAndType(const char* name)
{
    return Layout{name, {{K::i64, 0}, {K::type, 8}}, 16, 8, false};
}

// Pointer fields take one native pointer and start at multiples of 8, so a
// 4-byte pointer keeps the order of the fields in the same rows.
const Layout table[lastOpcode + 1] = {
    /*  0 */ plain("end"),
    /*  1 */ plain("genPointerAdd"),
    /*  2 */ plain("genAdd"),
    /*  3 */ plain("genPointerSubtract"),
    /*  4 */ plain("genSubtract"),
    /*  5 */ plain("genMult"),
    /*  6 */ plain("genDivide"),
    /*  7 */ plain("genModulus"),
    /*  8 */ plain("genConcatenate"),
    /*  9 */ plain("genBitAnd"),
    /* 10 */ plain("genBitOr"),
    /* 11 */ plain("genBitXor"),
    /* 12 */ plain("genNegate"),
    /* 13 */ plain("genComplement"),
    /* 14 */ plain("genNot"),
    /* 15 */ plain("genRealPart"),
    /* 16 */ plain("genImaginaryPart"),
    /* 17 */ plain("genLoadNULL"),
    /* 18 */ plain("genLoadThis"),
    /* 19 */ plain("genLogicalShiftLeft"),
    /* 20 */ plain("genLogicalShiftRight"),
    /* 21 */ plain("genArithmeticShiftRight"),
    /* 22 */ plain("genEQ"),
    /* 23 */ plain("genNE"),
    /* 24 */ plain("genLT"),
    /* 25 */ plain("genLE"),
    /* 26 */ plain("genGT"),
    /* 27 */ plain("genGE"),
    /* 28 */ plain("genStore"),
    /* 29 */ plain("genDupValue"),
    /* 30 */ plain("genPop"),
    /* 31 */ plain("genArraySection"),
    /* 32 */ plain("genSubstring"),
    /* 33 */ plain("formatAppendIntegral"),
    /* 34 */ plain("pushArraySection"),
    /* 35 */ plain("genVectorSubscript"),
    /* 36 */ one("genPow", K::u32, 4),
    /* 37 */ one("genLoadI", K::i16, 2),
    /* 38 */ one("genIndex", K::i64, 8),
    /* 39 */ one("genLabel", K::u32, 4),
    /* 40 */ one("genTrueJump", K::u32, 4),
    /* 41 */ one("genFalseJump", K::u32, 4),
    /* 42 */ one("genJump", K::u32, 4),
    /* 43 */ one("genTruncateFP", K::type, sizeof(void*)),
    /* 44 */ one("genConvert", K::type, sizeof(void*)),
    /* 45 */ one("genConvertString", K::type, sizeof(void*)),
    /* 46 */ one("genLoad", K::symbol, sizeof(void*)),
    /* 47 */ one("genLoadAddress", K::symbol, sizeof(void*)),
    /* 48 */ one("genLoadMemberSym", K::symbol, sizeof(void*)),
    /* 49 */ one("genLoadMemberOffset", K::symbol, sizeof(void*)),
    /* 50 */ one("genStoreMember", K::symbol, sizeof(void*)),
    /* 51 */ one("genLoadIndex", K::u64, 8),
    /* 52 */ one("genLoadParam", K::u64, 8),
    /* 53 */ one("genRefMod", K::type, sizeof(void*)),
    /* 54 */ one("genRefModLength", K::type, sizeof(void*)),
    /* 55 */ text16("genLoadIntegralValue"),
    /* 56 */ text16("genLoadRealValue"),
    /* 57 */ text16("genLoadDecimalRealValue"),
    /* 58 */ text16("genLoadPackedDecimalValue"),
    /* 59 */ text16("genLoadZonedDecimalValue"),
    /* 60 */ text16("genLoadNationalDecimalValue"),
    /* 61 */ text16("formatAppendString"),
    /* 62 */ typedText("genLoadValue"),
    /* 63 */ typedText("genLoadFigConstant"),
    /* 64 */ Layout{"genCall", {{K::u32, 0}, {K::u8, 4}}, 5, 4, false},
    /* 65 */ numberAndType("genLoadIndirect"),
    /* 66 */ Layout{"genLoadBaseAddress", {{K::type, 0}, {K::type, 8}}, 16, 8, false},
    /* 67 */ numberAndType("genRankIndex"),
    /* 68 */ numberAndType("genLoadIndirectRank"),
    /* 69 */ Layout{"genConvertRefMod", {{K::u8, 0}, {K::type, 8}}, 16, 8, false},
    /* 70 */ text32("genString"),
    /* 71 */ text32("genWideString"),
    /* 72 */ text32("genLoadChar"),
    /* 73 */ text32("genLoadWChar"),
    /* 74 */ text32("genCOBOLCall"),
    /* 75 */ Layout{"genLoadIntegralConstant", {{K::u64, 0}, {K::type, 8}, {K::u8, 16}, {K::i16, 18}}, 20, 8,
                    false},
};

} // namespace

std::size_t fieldWidth(FieldKind kind)
{
    switch (kind) {
    case K::none: return 0;
    case K::u8: return 1;
    case K::i16:
    case K::u16:
    case K::count16: return 2;
    case K::u32:
    case K::count32: return 4;
    case K::i64:
    case K::u64: return 8;
    case K::type:
    case K::symbol: return sizeof(void*);
    }
    return 0;
}

const char* fieldKindName(FieldKind kind)
{
    switch (kind) {
    case K::none: return "none";
    case K::u8: return "u8";
    case K::i16: return "i16";
    case K::u16: return "u16";
    case K::u32: return "u32";
    case K::i64: return "i64";
    case K::u64: return "u64";
    case K::type: return "type";
    case K::symbol: return "symbol";
    case K::count16: return "n16";
    case K::count32: return "n32";
    }
    return "?";
}

const Layout* layout(unsigned opcode)
{
    return opcode <= lastOpcode ? &table[opcode] : nullptr;
}

} // namespace operandlayout
