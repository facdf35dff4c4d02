#include "SampleDebuggee.h"

#include <stdexcept>
#include <string>

#include "api/PluginEntryPoints.h"
#include "testhost/HostRecordStore.h"

namespace {

const TYPE_INDEX intType{0, 130};

} // namespace

SampleDebuggee& SampleDebuggee::instance()
{
    static SampleDebuggee debuggee;
    return debuggee;
}

SampleDebuggee::SampleDebuggee()
{
    // Initialised as a host initialises the library: validation and
    // evaluation through the entry points wait for it.
    if (!host_.install() || DbgInitialize(host_.activate()) != 1)
        throw std::runtime_error("the evaluator refused the simulated host");
    host_.addSection(1, 0x10000);
    cMain_ = &declareC(1, 0);
    cobolMain_ = &declareCobol(1, 0);
    // The programs of the road target: one of 8-byte and one of 4-byte
    // addresses, each in a section of its own, with a frame on its stack.
    for (unsigned bits : {64u, 32u}) {
        const UBYTE4 section = roadSection(bits);
        host_.addSection(section, roadBase(bits), bits);
        LCC_Eval_Context_Info& c = declareC(section, bits);
        LCC_Eval_Context_Info& cobol = declareCobol(section, bits);
        host_.addFrame(&c, bits == 64 ? 0x40000 : 0x50000, bits);
        host_.addFrame(&cobol, bits == 64 ? 0x60000 : 0x70000, bits);
        roadContexts_[{languageC, bits}] = &c;
        roadContexts_[{languageCobol, bits}] = &cobol;
    }
    for (int language : {languageC, languageCpp, languageCobol})
        representations_[language] = std::make_unique<ExpressionRepresentation>(language, nullptr);
}

// A C unit: ints a, b, c, i; int* p; int arr[10]; struct S { int x; int
// arr[4]; } s and a pointer ps to it; char text[16]; a function f(int) and
// a typedef T of int. The variables live in the section; bits 0 leaves the
// contexts' location type unset.
LCC_Eval_Context_Info& SampleDebuggee::declareC(UBYTE4 section, unsigned bits)
{
    HostRecordStore& records = host_.records();
    LCC_Eval_Context_Info& unit = host_.addContext("sample.c", CS2_FILE);
    LCC_Eval_Context_Info& main = host_.addContext("main", CS2_FUNCTION, &unit);
    setLocationType(unit, main, bits);
    main.blockSymbol = &records.function("main", records.functionType(intType, {}), section, 0x100);
    unsigned long offset = 0x1000;
    for (const char* name : {"a", "b", "c", "i"}) {
        host_.declare(main, records.staticVariable(name, intType, section, offset));
        offset += 4;
    }
    host_.declare(main, records.staticVariable("p", records.pointerType(intType), section, 0x1020));
    host_.declare(main, records.staticVariable("arr", records.arrayType(intType, 40), section, 0x1040));
    HostRecordStore::ClassSpec s;
    s.name = "S";
    s.byteSize = 20;
    s.members = {{"x", intType, 0}, {"arr", records.arrayType(intType, 16), 4}};
    const TYPE_INDEX sType = records.classType(s);
    host_.declare(main, records.staticVariable("s", sType, section, 0x1080));
    host_.declare(main, records.staticVariable("ps", records.pointerType(sType), section, 0x10A0));
    host_.declare(main, records.staticVariable("text", records.charstringType(16), section, 0x10C0));
    host_.declare(unit, records.function("f", records.functionType(intType, {intType}), section, 0x200));
    host_.declare(unit, records.typeName("T", intType));
    return main;
}

// A COBOL program: packed A, B and TOTAL (S9(5), S9(7)V99 COMP-3), zoned
// QTY (S9(4)), PRICE (9(5)V99), a text NAME (X(10)) and a group GRP of
// 12 bytes holding FLD (S9(3) COMP-3).
LCC_Eval_Context_Info& SampleDebuggee::declareCobol(UBYTE4 section, unsigned bits)
{
    HostRecordStore& records = host_.records();
    LCC_Eval_Context_Info& unit = host_.addContext("SAMPLE", CS2_FILE);
    LCC_Eval_Context_Info& main = host_.addContext("SAMPLE", CS2_FUNCTION, &unit);
    setLocationType(unit, main, bits);
    main.blockSymbol = &records.function("SAMPLE", records.functionType(intType, {}), section, 0x400);
    struct Item {
        const char* name;
        TYPE_INDEX type;
    };
    HostRecordStore::ClassSpec group;
    group.name = "GRP";
    group.byteSize = 12;
    group.leaf = TE_GROUP;
    group.members = {{"FLD", records.packedDecimalType(3, 0, true), 0}};
    const Item items[] = {
        {"A", records.packedDecimalType(5, 0, true)},
        {"B", records.packedDecimalType(5, 0, true)},
        {"TOTAL", records.packedDecimalType(9, 2, true)},
        {"QTY", records.zonedDecimalType(4, 0, true, TN_SignTrailingEmbedded)},
        {"PRICE", records.zonedDecimalType(7, 2, false, TN_SignNone)},
        {"NAME", records.charstringType(10)},
        {"GRP", records.classType(group)},
    };
    unsigned long offset = 0x2000;
    _SYMBOL_ENTRY* groupEntry = nullptr;
    for (const Item& item : items) {
        _SYMBOL_ENTRY& entry = records.staticVariable(item.name, item.type, section, offset);
        entry.statics.attributeD = 1; // allocated
        groupEntry = &host_.declare(main, entry);
        offset += 0x20;
    }
    // GRP is the last: FLD is a name qualified by it.
    _SYMBOL_ENTRY& field = records.newSymbol(SE_QUALIFIED_NAME, "FLD");
    field.qualified.parent = groupEntry;
    host_.declare(main, field);
    return main;
}

void SampleDebuggee::setLocationType(LCC_Eval_Context_Info& unit, LCC_Eval_Context_Info& main, unsigned bits)
{
    if (bits == 0)
        return;
    unit.locationType = bits == 64 ? 4 : 2;
    main.locationType = unit.locationType;
}

LCC_Eval_Context_Info* SampleDebuggee::roadContext(int language, unsigned bits)
{
    host_.clearCalls();
    host_.clearLines();
    return roadContexts_.at({language, bits});
}

ScopeItem* SampleDebuggee::enter(int language)
{
    auto found = representations_.find(language);
    if (found == representations_.end())
        throw std::logic_error("no sample program in language " + std::to_string(language));
    // Nothing of the host's call log is read: keep it from growing.
    host_.clearCalls();
    host_.clearLines();
    return found->second->initializeAndMakeCurrent(language == languageCobol ? cobolMain_ : cMain_);
}
