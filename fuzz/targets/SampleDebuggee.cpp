#include "SampleDebuggee.h"

#include <stdexcept>
#include <string>

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
    if (!host_.install())
        throw std::runtime_error("the evaluator refused the simulated host");
    host_.addSection(1, 0x10000);
    declareC();
    declareCobol();
    for (int language : {languageC, languageCpp, languageCobol})
        representations_[language] = std::make_unique<ExpressionRepresentation>(language, nullptr);
}

// A C unit: ints a, b, c, i; int* p; int arr[10]; struct S { int x; int
// arr[4]; } s and a pointer ps to it; char text[16]; a function f(int) and
// a typedef T of int.
void SampleDebuggee::declareC()
{
    HostRecordStore& records = host_.records();
    LCC_Eval_Context_Info& unit = host_.addContext("sample.c", CS2_FILE);
    cMain_ = &host_.addContext("main", CS2_FUNCTION, &unit);
    cMain_->blockSymbol = &records.function("main", records.functionType(intType, {}), 1, 0x100);
    unsigned long offset = 0x1000;
    for (const char* name : {"a", "b", "c", "i"}) {
        host_.declare(*cMain_, records.staticVariable(name, intType, 1, offset));
        offset += 4;
    }
    host_.declare(*cMain_, records.staticVariable("p", records.pointerType(intType), 1, 0x1020));
    host_.declare(*cMain_, records.staticVariable("arr", records.arrayType(intType, 40), 1, 0x1040));
    HostRecordStore::ClassSpec s;
    s.name = "S";
    s.byteSize = 20;
    s.members = {{"x", intType, 0}, {"arr", records.arrayType(intType, 16), 4}};
    const TYPE_INDEX sType = records.classType(s);
    host_.declare(*cMain_, records.staticVariable("s", sType, 1, 0x1080));
    host_.declare(*cMain_, records.staticVariable("ps", records.pointerType(sType), 1, 0x10A0));
    host_.declare(*cMain_, records.staticVariable("text", records.charstringType(16), 1, 0x10C0));
    host_.declare(unit, records.function("f", records.functionType(intType, {intType}), 1, 0x200));
    host_.declare(unit, records.typeName("T", intType));
}

// A COBOL program: packed A, B and TOTAL (S9(5), S9(7)V99 COMP-3), zoned
// QTY (S9(4)), PRICE (9(5)V99), a text NAME (X(10)) and a group GRP of
// 12 bytes holding FLD (S9(3) COMP-3).
void SampleDebuggee::declareCobol()
{
    HostRecordStore& records = host_.records();
    LCC_Eval_Context_Info& unit = host_.addContext("SAMPLE", CS2_FILE);
    cobolMain_ = &host_.addContext("SAMPLE", CS2_FUNCTION, &unit);
    cobolMain_->blockSymbol = &records.function("SAMPLE", records.functionType(intType, {}), 1, 0x400);
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
        _SYMBOL_ENTRY& entry = records.staticVariable(item.name, item.type, 1, offset);
        entry.statics.attributeD = 1;  // allocated
        groupEntry = &host_.declare(*cobolMain_, entry);
        offset += 0x20;
    }
    // GRP is the last: FLD is a name qualified by it.
    _SYMBOL_ENTRY& field = records.newSymbol(SE_QUALIFIED_NAME, "FLD");
    field.qualified.parent = groupEntry;
    host_.declare(*cobolMain_, field);
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
