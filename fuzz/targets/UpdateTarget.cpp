// The update target: the first byte chooses one of a table of variables of
// fixed size (C integers, floats and bit fields; COBOL packed, zoned and
// edited items; SQL host variables of the integer, decimal, float and
// character families) in the program of 8- or 4-byte addresses, the second
// the representation the text is read in; the rest is the text. The
// variable is evaluated through the entry points, and the text written
// through DbgUpdateTreeValue on its root node. Rules checked: every write
// the simulated host logs lies within the variable's own bytes (a bit
// field's: its storage unit), a bit field's update keeps every other bit of
// its unit, and an update that answers a failure writes nothing (a
// numeric-edited item refuses every text but a group's bytes).

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "FuzzTargets.h"
#include "SampleDebuggee.h"
#include "api/ExpressionEntryPoints.h"
#include "api/TreeNodeEntryPoints.h"
#include "testhost/HostRecordStore.h"

namespace {

struct Variable {
    int program;      // SampleDebuggee's language code of the program
    UBYTE4 language;  // the language of the expression
    const char* text; // the expression naming it
    UBYTE8 offset;    // of its storage in the program's section
    unsigned size;    // of its storage
    // A bit field: its bit offset and width in the big-endian storage unit
    // of size bytes (width 0: no bit field).
    unsigned bitOffset = 0;
    unsigned bitWidth = 0;
};

// The variables of the road programs (SampleDebuggee) the update reaches,
// and those declared here from offset 0x3000 on. New variables go at the
// end: the seeds choose them by their place.
const Variable variables[] = {
    {SampleDebuggee::languageC, 1, "a", 0x1000, 4},
    {SampleDebuggee::languageC, 1, "s.x", 0x1080, 4},
    {SampleDebuggee::languageC, 1, "arr[3]", 0x1040 + 12, 4},
    {SampleDebuggee::languageC, 1, "d", 0x3000, 8},
    {SampleDebuggee::languageC, 1, "fl", 0x3010, 4},
    {SampleDebuggee::languageC, 1, "u8", 0x3018, 1},
    {SampleDebuggee::languageC, 1, "i16", 0x301A, 2},
    {SampleDebuggee::languageC, 1, "u64", 0x3020, 8},
    {SampleDebuggee::languageC, 1, "bits.low", 0x3030, 4, 0, 3},
    {SampleDebuggee::languageCobol, 6, "A", 0x2000, 3},
    {SampleDebuggee::languageCobol, 6, "TOTAL", 0x2040, 5},
    {SampleDebuggee::languageCobol, 6, "QTY", 0x2060, 4},
    {SampleDebuggee::languageCobol, 6, "PRICE", 0x2080, 7},
    {SampleDebuggee::languageCobol, 6, "FLD OF GRP", 0x20C0, 2},
    {SampleDebuggee::languageCobol, 18, ":SMALL", 0x3000, 2},
    {SampleDebuggee::languageCobol, 18, ":COUNT", 0x3008, 4},
    {SampleDebuggee::languageCobol, 18, ":BIG", 0x3010, 8},
    {SampleDebuggee::languageCobol, 18, ":AMOUNT", 0x3018, 4},
    {SampleDebuggee::languageCobol, 18, ":RATE", 0x3020, 8},
    {SampleDebuggee::languageCobol, 18, ":CODE", 0x3028, 6},
    {SampleDebuggee::languageCobol, 18, ":NOTE", 0x3030, 12},
    {SampleDebuggee::languageC, 1, "bits.mid", 0x3030, 4, 7, 5},
    {SampleDebuggee::languageC, 1, "bits.odd", 0x3030, 4, 20, 3},
    {SampleDebuggee::languageC, 1, "bits.wide", 0x3030, 8, 30, 6},
    {SampleDebuggee::languageCobol, 6, "EDITED", 0x3050, 7},
    {SampleDebuggee::languageCobol, 6, "LABEL", 0x3060, 5},
};

// Declares the variables of offset 0x3000 on in both road programs.
void declareVariables()
{
    SampleDebuggee& debuggee = SampleDebuggee::instance();
    HostRecordStore& records = debuggee.host().records();
    for (unsigned bits : {64u, 32u}) {
        const UBYTE4 section = SampleDebuggee::roadSection(bits);
        LCC_Eval_Context_Info& c = *debuggee.roadContext(SampleDebuggee::languageC, bits);
        const auto variable = [&](const char* name, TYPE_INDEX type, UBYTE8 offset) {
            debuggee.host().declare(c, records.staticVariable(name, type, section, offset));
        };
        variable("d", TYPE_INDEX{0, 137}, 0x3000);
        variable("fl", TYPE_INDEX{0, 136}, 0x3010);
        variable("u8", records.integerType(8, true), 0x3018);
        variable("i16", records.integerType(16, false), 0x301A);
        variable("u64", records.integerType(64, true), 0x3020);
        HostRecordStore::ClassSpec spec;
        spec.name = "B";
        spec.byteSize = 8;
        spec.members = {{"low", records.integerType(3, true, 0), 0},
                        {"mid", records.integerType(5, true, 7), 0},
                        {"odd", records.integerType(3, false, 20), 0},
                        {"wide", records.integerType(6, false, 30), 0}};
        variable("bits", records.classType(spec), 0x3030);

        // The programs' storage, readable and writable from the start.
        const std::vector<unsigned char> zeros(0x2100, 0);
        debuggee.host().memory().write(SampleDebuggee::roadBase(bits) + 0x1000, zeros.size(), zeros.data());
        // The bit fields' unit holds ones and zeros beside every field.
        const unsigned char pattern[8] = {0xA5, 0x5A, 0xA5, 0x5A, 0xA5, 0x5A, 0xA5, 0x5A};
        debuggee.host().memory().write(SampleDebuggee::roadBase(bits) + 0x3030, sizeof pattern, pattern);

        LCC_Eval_Context_Info& cobol = *debuggee.roadContext(SampleDebuggee::languageCobol, bits);
        struct Sql {
            const char* name;
            UBYTE4 type;
            UBYTE4 length;
            UBYTE8 offset;
        };
        const Sql sql[] = {
            {":SMALL", 500, 2, 0x3000},           {":COUNT", 496, 4, 0x3008}, {":BIG", 492, 8, 0x3010},
            {":AMOUNT", 484, 7 << 8 | 2, 0x3018}, {":RATE", 480, 8, 0x3020},  {":CODE", 452, 6, 0x3028},
            {":NOTE", 448, 10, 0x3030},
        };
        // EDITED PIC -ZZ9.99 (numeric-edited) and LABEL PIC XXBXX
        // (alphanumeric-edited).
        TYPE_INDEX edited{}, label{};
        _TYPE_ENTRY& numeric = records.newType(TE_NUMERIC_EDITED, &edited);
        numeric.numericEdited.length = 7;
        numeric.numericEdited.precision = 5;
        numeric.numericEdited.scale = -2;
        numeric.numericEdited.picture = records.text("-ZZ9.99");
        _TYPE_ENTRY& alphanumeric = records.newType(TE_ALPHA_NUMERIC_EDITED, &label);
        alphanumeric.externalFloat.length = 5;
        alphanumeric.externalFloat.picture = records.text("XXBXX");
        for (auto [name, type, offset] : {std::tuple{"EDITED", edited, 0x3050}, std::tuple{"LABEL", label, 0x3060}}) {
            _SYMBOL_ENTRY& entry = records.staticVariable(name, type, section, offset);
            entry.statics.attributeD = 1; // allocated
            debuggee.host().declare(cobol, entry);
        }
        for (const Sql& v : sql) {
            HostRecordStore::SqlVariable h;
            h.sqlType = v.type;
            h.length = v.length;
            h.address = SampleDebuggee::roadBase(bits) + v.offset;
            h.addressWidth = bits;
            debuggee.host().declare(cobol, records.sqlHostVariable(v.name, h));
        }
    }
}

// The variable's bytes as the program holds them.
std::vector<unsigned char> bytesOf(UBYTE8 first, unsigned size)
{
    std::vector<unsigned char> bytes(size);
    SampleDebuggee::instance().host().memory().read(first, size, bytes.data());
    return bytes;
}

// Every write the host logged lies within [first, first + size); an
// update that failed logged none.
void checkWrites(UBYTE8 first, unsigned size, UBYTE2 status)
{
    for (const TestHost::Call& call : SampleDebuggee::instance().host().callsTo(HS_Expr2WriteMemory)) {
        std::uint64_t address = 0;
        unsigned width = 0, count = 0;
        const std::size_t at = call.arguments.find("address=");
        if (at == std::string::npos || std::sscanf(call.arguments.c_str() + at, "address=0x%" SCNx64 "/%u count=%u",
                                                   &address, &width, &count) != 3)
            continue; // an invalid address: nothing written
        if (count != 0 && status != 0) {
            std::fprintf(stderr, "write %s, status %u\n", call.arguments.c_str(), status);
            failFuzzCheck("an update that fails writes nothing");
        }
        if (count != 0 && (address < first || address + count > first + size)) {
            std::fprintf(stderr, "write %s outside 0x%" PRIx64 " + %u\n", call.arguments.c_str(),
                         static_cast<std::uint64_t>(first), size);
            failFuzzCheck("an update writes within the variable's own bytes");
        }
    }
}

// A bit field's update changed no bit of its unit outside the field.
void checkOtherBits(const Variable& v, const std::vector<unsigned char>& before,
                    const std::vector<unsigned char>& after)
{
    for (unsigned bit = 0; bit < 8 * v.size; ++bit) {
        if (bit >= v.bitOffset && bit < v.bitOffset + v.bitWidth)
            continue;
        const unsigned mask = 0x80u >> (bit % 8);
        if ((before[bit / 8] & mask) != (after[bit / 8] & mask)) {
            std::fprintf(stderr, "bit %u of %s changed\n", bit, v.text);
            failFuzzCheck("a bit field's update keeps the other bits of its unit");
        }
    }
}

} // namespace

int fuzzUpdate(const std::uint8_t* data, std::size_t size)
{
    static std::once_flag declared;
    std::call_once(declared, declareVariables);
    if (size < 2)
        return 0;
    const Variable& v = variables[(data[0] & 0x7F) % std::size(variables)];
    const unsigned bits = data[0] & 0x80 ? 32 : 64;
    const UBYTE2 rep = data[1] % 8;
    LCC_Eval_Context_Info* context = SampleDebuggee::instance().roadContext(v.program, bits);
    std::vector<unsigned char> expression(v.text, v.text + std::char_traits<char>::length(v.text) + 1);
    std::vector<unsigned char> text(data + 2, data + 2 + std::min<std::size_t>(size - 2, fuzzTextLimit));
    text.erase(std::find(text.begin(), text.end(), 0), text.end());
    text.push_back(0);
    try {
        ExpressionRepresentation* representation = nullptr;
        if (DbgBuildExprIntRep(expression.data(), context, v.language, 0, &representation) != 0)
            failFuzzCheck("the update target's variable builds");
        StackItem* typeResult = nullptr;
        StackItem* result = nullptr;
        UBYTE1* name = nullptr;
        UpdateTreeNode* root = nullptr;
        if (DbgValidateExpr(representation, context, &typeResult) != 0)
            failFuzzCheck("the update target's variable validates");
        if (DbgEvaluateExpr(representation, context, &result, &name) == 0 && result != nullptr &&
            DbgBuildRootNodeInfo(result, &root) == 0 && root != nullptr) {
            const UBYTE8 first = SampleDebuggee::roadBase(bits) + v.offset;
            const std::vector<unsigned char> before = bytesOf(first, v.size);
            SampleDebuggee::instance().host().clearCalls();
            const UBYTE2 status = DbgUpdateTreeValue(context, result, root, rep, text.data());
            checkWrites(first, v.size, status);
            if (v.bitWidth != 0)
                checkOtherBits(v, before, bytesOf(first, v.size));
        }
        DbgFreeTreeNodeInfo(root);
        DbgFreeEvalResultInfo(result);
        DbgFreeTypeResultInfo(typeResult);
        DbgFreeExprIntRep(representation);
    } catch (...) {
        failFuzzCheck("an exception left an entry point");
    }
    return 0;
}
