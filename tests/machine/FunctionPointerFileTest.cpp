// Function items (entry addresses and procedure descriptors), Fortran
// pointer items and their loads, casts to a pointer to a Fortran pointer,
// and COBOL file items.

#include <cstring>
#include <memory>
#include <vector>

#include "AddressFixture.h"
#include "HostRecordAccess.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemFileDesc.h"
#include "machine/StackItemFortranPointer.h"
#include "machine/StackItemFunction.h"
#include "machine/StackItemS.h"
#include "testhost/DwarfExpression.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes valueOf(const StackItem& item)
{
    const auto* data = static_cast<const unsigned char*>(item.resultBuffer());
    return data == nullptr ? Bytes() : Bytes(data, data + item.size());
}

class FunctionItemTest : public AddressFixture {
protected:
    TYPE_INDEX functionType() { return records().functionType(intType, {}); }

    // A leaf-31 structure of int members at the offsets given.
    TYPE_INDEX structure(UBYTE4 size, const std::vector<std::int32_t>& offsets)
    {
        HostRecordStore::StructSpec spec;
        spec.byteSize = size;
        for (std::size_t i = 0; i < offsets.size(); ++i)
            spec.members.emplace_back("m" + std::to_string(i), intType);
        spec.offsets = offsets;
        return records().structType(spec);
    }

    _SYMBOL_ENTRY& sectionElement(UBYTE4 kind, UBYTE4 section, UBYTE8 offset)
    {
        _SYMBOL_ENTRY& e = records().newSymbol(kind, "element");
        switch (kind) {
        case SE_FUNCTION:
        case SE_ENTRY_FUNCTION:
            e.function.section = section;
            e.function.offsetLow = UBYTE4(offset);
            e.function.offsetHigh = UBYTE4(offset >> 32);
            break;
        case SE_MEMBER_FUNCTION:
            e.memberfunction.section = section;
            e.memberfunction.offsetLow = UBYTE4(offset);
            e.memberfunction.offsetHigh = UBYTE4(offset >> 32);
            break;
        default: // 33 and 36
            e.sectiondata36.section = section;
            e.sectiondata36.offsetLow = UBYTE4(offset);
            e.sectiondata36.offsetHigh = UBYTE4(offset >> 32);
            break;
        }
        return e;
    }

    _SYMBOL_ENTRY& constantElement(const void* bytes) { return records().constant("c", intType, bytes); }

    // A function symbol g whose procedure descriptor names the structure and
    // the elements.
    SymbolItem& describedFunction(TYPE_INDEX structureType, const std::vector<const _SYMBOL_ENTRY*>& elements)
    {
        _SYMBOL_ENTRY& g = declare(records().function("g", functionType(), 1, 0x300));
        g.function.procedureDescriptor = records().procedureDescriptor(structureType, elements);
        return variable("g");
    }
};

} // namespace

TEST_F(FunctionItemTest, EntryAddressBytesAreBigEndianAtTheAddressWidth)
{
    for (unsigned width : {4u, 8u}) {
        use(languageC, width);
        host.addSection(3, width == 8 ? 0x0000000123450000ull : 0x23450000u, width * 8);
        declare(records().function(width == 8 ? "f8" : "f4", functionType(), 3, 0x10));
        StackItemFunction f(rep(), variable(width == 8 ? "f8" : "f4"));
        const Bytes expected =
            width == 8 ? Bytes{0x00, 0x00, 0x00, 0x01, 0x23, 0x45, 0x00, 0x10} : Bytes{0x23, 0x45, 0x00, 0x10};
        EXPECT_EQ(valueOf(f), expected) << width;
        EXPECT_TRUE(f.hasValue());
        EXPECT_TRUE(f.formatType() == variable(width == 8 ? "f8" : "f4").dataType());
        EXPECT_EQ(f.location().kind(), DebuggeeLocation::debuggerBuffer);

        std::unique_ptr<StackItem> copy(f.clone());
        EXPECT_EQ(valueOf(*copy), expected);
        EXPECT_EQ(raisedCode([&] { copy->load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10)))); }),
                  InvalidOp::RTRC_Other);
        EXPECT_FALSE(copy->hasValue());
    }
}

TEST_F(FunctionItemTest, FunctionsOutsideDebuggeeMemory)
{
    // A built-in procedure lives in an evaluator buffer: its value is never
    // the evaluator's own pointer.
    unsigned char buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    _SYMBOL_ENTRY& builtin = declare(records().newSymbol(SE_BUILTIN_PROCEDURE, "bp"));
    builtin.builtin.buffer = buffer;
    builtin.builtin.type = functionType();
    StackItemFunction f(rep(), variable("bp"));
    EXPECT_EQ(valueOf(f), (Bytes{0, 0, 0, 0}));

    // A symbol that is no function.
    declare(records().staticVariable("v", intType, 1, 0x40));
    EXPECT_EQ(raisedCode([&] { StackItemFunction(rep(), variable("v")); }), InvalidOp::RTRC_Other);

    // Made from a type: no value bytes.
    StackItemFunction typed(rep(), TypeItem(functionType()), nullptr);
    EXPECT_EQ(typed.size(), 0u);
    EXPECT_EQ(typed.resultBuffer(), nullptr);
    EXPECT_TRUE(typed.hasValue());
}

TEST_F(FunctionItemTest, DescriptorOfAnEntryAddressAndAConstant)
{
    const unsigned char nine[] = {0, 0, 0, 9};
    const TYPE_INDEX shape = structure(16, {0, 8});
    SymbolItem& g = describedFunction(shape, {&sectionElement(SE_FUNCTION, 1, 0x20), &constantElement(nine)});
    StackItemFunction f(rep(), g);
    EXPECT_EQ(valueOf(f), (Bytes{0x00, 0x01, 0x00, 0x20, 0, 0, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0}));
    EXPECT_TRUE(f.formatType() == TypeItem(shape));
}

TEST_F(FunctionItemTest, DescriptorElementKinds)
{
    use(languageC, 8);
    host.addSection(2, 0x100000000ull, 64);
    struct Case {
        UBYTE4 kind;
        UBYTE8 offset;
    } cases[] = {
        {SE_FUNCTION, 0x10},          {SE_ENTRY_FUNCTION, 0x200000020ull}, {SE_MEMBER_FUNCTION, 0x30},
        {SE_NAMED33, 0x300000040ull}, {SE_SECTION_DATA36, 0x50},
    };
    const TYPE_INDEX shape = structure(8, {0});
    unsigned n = 0;
    for (const Case& c : cases) {
        _SYMBOL_ENTRY& g = declare(records().function("g" + std::to_string(n), functionType(), 1, 0x300));
        g.function.procedureDescriptor = records().procedureDescriptor(shape, {&sectionElement(c.kind, 2, c.offset)});
        StackItemFunction f(rep(), variable(("g" + std::to_string(n++)).c_str()));
        const UBYTE8 address = 0x100000000ull + c.offset;
        Bytes expected(8);
        for (unsigned i = 0; i < 8; ++i)
            expected[i] = static_cast<unsigned char>(address >> (56 - 8 * i));
        EXPECT_EQ(valueOf(f), expected) << c.kind;
    }
}

TEST_F(FunctionItemTest, DescriptorsThatCannotBeBuilt)
{
    const unsigned char nine[] = {0, 0, 0, 9};
    // An element of a kind no descriptor has.
    _SYMBOL_ENTRY& automatic = records().automaticVariable("a", intType, 8);
    SymbolItem& unknown = describedFunction(structure(8, {0}), {&automatic});
    EXPECT_EQ(raisedCode([&] { StackItemFunction(rep(), unknown); }), InvalidOp::RTRC_Other);

    // Members reaching past the end of the value, for an address and for
    // constant bytes.
    struct Past {
        const char* name;
        UBYTE4 size;
        std::int32_t offset;
        bool constant;
    } pasts[] = {{"p1", 8, 6, false}, {"p2", 8, 6, true}, {"p3", 8, -2, false}};
    for (const Past& p : pasts) {
        const TYPE_INDEX shape = structure(p.size, {p.offset});
        _SYMBOL_ENTRY& element = p.constant ? constantElement(nine) : sectionElement(SE_FUNCTION, 1, 0);
        _SYMBOL_ENTRY& h = declare(records().function(p.name, functionType(), 1, 0x300));
        h.function.procedureDescriptor = records().procedureDescriptor(shape, {&element});
        EXPECT_EQ(raisedCode([&] { StackItemFunction(rep(), variable(p.name)); }), InvalidOp::RTRC_Other) << p.name;
    }

    // The structure must be a non-empty leaf-31 structure.
    HostRecordStore::ClassSpec klass;
    klass.name = "K";
    klass.byteSize = 8;
    klass.members = {{"m", intType, 0}};
    _SYMBOL_ENTRY& k = declare(records().function("k", functionType(), 1, 0x300));
    k.function.procedureDescriptor =
        records().procedureDescriptor(records().classType(klass), {&sectionElement(SE_FUNCTION, 1, 0)});
    EXPECT_EQ(raisedCode([&] { StackItemFunction(rep(), variable("k")); }), InvalidOp::RTRC_Other);
}

namespace {

// A Fortran pointer at 0x10060 in the fixture's section: its descriptor
// holds the target's address, then the allocated and associated words.
class FortranPointerTest : public AddressFixture {
protected:
    FortranPointerTest() : AddressFixture(languageFortran, 4) {}

    void SetUp() override
    {
        AddressFixture::SetUp();
        using dwarf::Builder;
        HostRecordStore::FortranBlocks blocks;
        blocks.dataLocation = Builder().pushObjectAddress().derefSize(4).bytes();
        blocks.allocation = Builder().pushObjectAddress().plusUconst(4).derefSize(4).bytes();
        blocks.association = Builder().pushObjectAddress().plusUconst(8).derefSize(4).bytes();
        f90 = records().fortranPointerType(intType, blocks);
        declare(records().staticVariable("fp", f90, 1, 0x60));
        host.memory().storeBigEndian(0x10060, 0x20000, 4);
        host.memory().storeBigEndian(0x20000, 77, 4);
        state(1, 1);
    }

    void state(std::uint32_t allocated, std::uint32_t associated)
    {
        host.memory().storeBigEndian(0x10064, allocated, 4);
        host.memory().storeBigEndian(0x10068, associated, 4);
    }

    // Runs step in each allocation and association state on a fresh stack:
    // not allocated wins over not associated; both set, step succeeds.
    template <class Step>
    void expectCheckedInOrder(Step step)
    {
        struct Case {
            std::uint32_t allocated, associated;
            int code;
        } cases[] = {
            {0, 0, InvalidOp::RTRC_FortranPointerNotAllocated},
            {0, 1, InvalidOp::RTRC_FortranPointerNotAllocated},
            {1, 0, InvalidOp::RTRC_FortranPointerNotAssociated},
            {1, 1, 0},
        };
        for (const Case& c : cases) {
            state(c.allocated, c.associated);
            stack().popAll();
            EXPECT_EQ(raisedCode(step), c.code) << c.allocated << c.associated;
        }
    }

    const DebuggeeLocation descriptor{DebuggeeAddress(std::uint32_t(0x10060))};
    TYPE_INDEX f90{};
};

} // namespace

TEST_F(FortranPointerTest, LoadChecksAllocationFirstThenReadsTheTarget)
{
    StackItemFortranPointer item(rep(), variable("fp").dataType());
    EXPECT_TRUE(item.type() == TypeItem(intType));
    EXPECT_TRUE(item.pointerType().hasFlag(TypeFlags::fortranDescriptor));
    struct Case {
        std::uint32_t allocated, associated;
        int code;
    } cases[] = {
        {0, 0, InvalidOp::RTRC_NotAllocated},
        {0, 1, InvalidOp::RTRC_NotAllocated},
        {1, 0, InvalidOp::RTRC_NotAssociated},
    };
    for (const Case& c : cases) {
        state(c.allocated, c.associated);
        EXPECT_EQ(raisedCode([&] { item.load(descriptor); }), c.code) << c.allocated << c.associated;
        EXPECT_FALSE(item.hasValue());
    }
    state(1, 1);
    item.load(descriptor);
    EXPECT_TRUE(item.hasValue());
    EXPECT_EQ(item.size(), 4u);
    EXPECT_EQ(valueOf(item), (Bytes{0, 0, 0, 77}));
    EXPECT_EQ(item.location().address().addr(), 0x20000u);

    std::unique_ptr<StackItem> copy(item.clone());
    EXPECT_EQ(valueOf(*copy), (Bytes{0, 0, 0, 77}));
    EXPECT_TRUE(copy->hasValue());
}

TEST_F(FortranPointerTest, ShortReadIsAFailureNotAValue)
{
    StackItemFortranPointer item(rep(), variable("fp").dataType());
    host.memory().markUnreadable(0x20002, 2);
    EXPECT_EQ(raisedCode([&] { item.load(descriptor); }), InvalidOp::RTRC_ReadMemoryFailed);
    EXPECT_FALSE(item.hasValue());
}

TEST_F(FortranPointerTest, OnlyFortranPointersMakeTheItem)
{
    EXPECT_EQ(raisedCode([&] { StackItemFortranPointer(rep(), TypeItem(intType)); }), InvalidOp::RTRC_NotSupported);
    EXPECT_EQ(raisedCode([&] { StackItemFortranPointer(rep(), TypeItem(records().pointerType(intType, 4))); }),
              InvalidOp::RTRC_NotSupported);
    std::unique_ptr<StackItem> made(RuntimeStack::makeStackItem(variable("fp").dataType(), nullptr));
    EXPECT_NE(dynamic_cast<StackItemFortranPointer*>(made.get()), nullptr);
}

TEST_F(FortranPointerTest, AddressOfAFortranPointerSymbolIsItsTarget)
{
    SymbolItem& fp = variable("fp");
    expectCheckedInOrder([&] { stack().genLoadAddress(fp); });
    ASSERT_EQ(stack().count(), 1u);
    EXPECT_EQ(stack().top()->asUnsigned(), 0x20000u);
    EXPECT_TRUE(stack().top()->type().pointee() == TypeItem(intType));
}

TEST_F(FortranPointerTest, CastToAPointerToAFortranPointer)
{
    // The pointee's state is read at fixed addresses here: the cast has no
    // symbol to bind the descriptor to.
    using dwarf::Builder;
    HostRecordStore::FortranBlocks blocks;
    blocks.allocation = Builder().constU(0x10064).derefSize(4).bytes();
    blocks.association = Builder().constU(0x10068).derefSize(4).bytes();
    const TypeItem target(records().pointerType(records().fortranPointerType(intType, blocks), 4));
    expectCheckedInOrder([&] {
        stack().push(new StackItemAddress(rep(), 0x10060ull, TypeItem(records().pointerType(intType, 4))));
        stack().genConvert(target);
    });
    EXPECT_EQ(stack().count(), 1u);
    // The new top points where the descriptor at the old top's address points.
    StackItem& top = *stack().top();
    EXPECT_EQ(top.asUnsigned(), 0x20000u);
    EXPECT_TRUE(top.loadedFromVariable());
    EXPECT_TRUE(top.type().pointee() == TypeItem(intType));

    // Only an address in the debuggee is a place to cast from, not one in
    // the evaluator.
    unsigned char inside[8] = {};
    DebuggeeLocation buffer;
    buffer = static_cast<void*>(inside);
    stack().popAll();
    stack().push(new StackItemAddress(rep(), buffer, TypeItem(records().pointerType(intType, 4))));
    EXPECT_EQ(raisedCode([&] { stack().genConvert(target); }), InvalidOp::RTRC_IncompatTypes);
}

namespace {

class FileItemTest : public AddressFixture {
protected:
    FileItemTest() : AddressFixture(languageCOBOL, 4) {}
};

} // namespace

TEST_F(FileItemTest, FileInformationFromTheHost)
{
    const TypeItem fd(records().fileDescriptorType("FD"));
    FILE_INFORMATION info{};
    std::memcpy(info.marker, kFileInformationMarker, sizeof info.marker);
    info.openState = 1;
    host.setFileInformation(0x10090, info);

    StackItemFileDesc file(rep(), fd);
    file.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10090))));
    EXPECT_TRUE(file.hasValue());
    const auto* block = static_cast<const unsigned char*>(file.resultBuffer());
    EXPECT_EQ(std::memcmp(block, kFileInformationMarker, 8), 0);
    EXPECT_EQ(block[24], 1);
    EXPECT_EQ(file.location().address().addr(), 0x10090u);
    std::unique_ptr<StackItem> copy(file.clone());
    EXPECT_EQ(std::memcmp(copy->resultBuffer(), block, 64), 0);

    // The host's refusals (an invalid FIB, an invalid FCB, a buffer too
    // small) pass through and leave no value.
    for (int rc : {-1, -2, -3}) {
        host.failSlot(HS_ExprGetFileInfo, rc);
        EXPECT_EQ(raisedCode([&] { file.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10090)))); }),
                  InvalidOp::RTRC_IntfRoutineFailed)
            << rc;
        EXPECT_FALSE(file.hasValue()) << rc;
    }
    EXPECT_EQ(raisedCode([&] { file.load(DebuggeeLocation()); }), InvalidOp::RTRC_Other);
    EXPECT_FALSE(file.hasValue());
}

TEST_F(FileItemTest, SortFilesAreNotAskedOfTheHost)
{
    StackItemFileDesc sort(rep(), TypeItem(records().fileDescriptorType("SD")));
    host.clearCalls();
    sort.load(DebuggeeLocation());
    EXPECT_STREQ(static_cast<const char*>(sort.resultBuffer()), "SDFILE");
    EXPECT_TRUE(sort.hasValue());
    EXPECT_EQ(host.callCount(HS_ExprGetFileInfo), 0u);
}

TEST_F(FileItemTest, ValueCoversTheTypesSizeBeyondTheBlock)
{
    // A type larger than the block: size() bytes can be read, zero past 64.
    FILE_INFORMATION info{};
    std::memset(&info, 0xEE, sizeof info);
    host.setFileInformation(0x10090, info);
    StackItemFileDesc file(rep(), TypeItem(records().charstringType(100)));
    file.load(DebuggeeLocation(DebuggeeAddress(std::uint32_t(0x10090))));
    ASSERT_EQ(file.size(), 100u);
    const Bytes value = valueOf(file);
    EXPECT_EQ(value[63], 0xEE);
    for (std::size_t i = 64; i < value.size(); ++i)
        EXPECT_EQ(value[i], 0) << i;
    std::unique_ptr<StackItem> copy(file.clone());
    EXPECT_EQ(valueOf(*copy), value);
}
