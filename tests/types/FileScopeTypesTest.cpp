// Types that depend on names of the program's file scope: the wide-character
// type a program declares as "wchar_t", and the UPC block factor that a
// variable of the file scope holds.

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "SymbolsFixture.h"
#include "testhost/DwarfExpression.h"
#include "types/TypeFlags.h"
#include "types/TypeKind.h"

namespace {

std::pair<int, std::string> failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        const ByteString utf8 = e.text().asUTF8();
        return {e.code(), std::string(reinterpret_cast<const char*>(utf8.data()), utf8.length())};
    }
    return {0, ""};
}

class FileScopeTypesTest : public SymbolsTest {
protected:
    // A compilation unit of its own with a function in it, and an
    // environment current on the function; the fixture's environment is
    // current again when it goes.
    struct Program {
        Program(FileScopeTypesTest& test, const std::string& name)
            : test(test),
              file(&test.host.addContext(name, CS2_FILE)),
              function(&test.host.addContext(name + ".f", CS2_FUNCTION, file)),
              env(std::make_unique<ExpressionRepresentation>(EvaluationEnvironment::languageCPP, nullptr))
        {
            env->makeCurrent(function);
        }
        ~Program() { test.env->makeCurrent(nullptr); }

        FileScopeTypesTest& test;
        LCC_Eval_Context_Info* file;
        LCC_Eval_Context_Info* function;
        std::unique_ptr<ExpressionRepresentation> env;
    };

    // A UPC shared int whose block factor the variable called name holds.
    TYPE_INDEX sharedByVariable(const char* name)
    {
        TYPE_INDEX index{};
        _TYPE_ENTRY& e = records().newType(TE_UPC_SHARED, &index);
        e.upcshared.blockFactorSource = TNupcshared_FromVariable;
        e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
        e.upcshared.source.variableName = records().text(name);
        return index;
    }

    std::uint64_t factorOf(TYPE_INDEX shared)
    {
        return TypeItem(shared, records().type(shared), false).typeFlags().factor();
    }

    // A static variable of the compilation unit at section 1 (base 0x10000).
    void fileVariable(const char* name, TYPE_INDEX type, UBYTE8 offset)
    {
        declare(unit, records().staticVariable(name, type, 1, offset));
    }
};

TEST_F(FileScopeTypesTest, WideCharacterFollowsTheProgramsWcharT)
{
    struct Case {
        unsigned declared;
        unsigned expected;
    };
    const Case cases[] = {
        {129, 149},
        {133, 149},
        {130, 150},
        {134, 150},
        // Any other primitive stands for itself.
        {132, 132},
        {136, 136},
    };
    for (const Case& c : cases) {
        Program program(*this, "unit" + std::to_string(c.declared));
        declare(program.file, records().typeName("wchar_t", TYPE_INDEX{0, c.declared}));
        const TypeItem* wide = TypeItem::wcharType();
        ASSERT_NE(wide, nullptr) << c.declared;
        EXPECT_EQ(wide->typeIndex(), c.expected) << c.declared;
        EXPECT_EQ(TypeItem::simpleType(t_wchar_t)->typeIndex(), c.expected) << c.declared;
        EXPECT_EQ(EvaluationEnvironment::wcharType()->typeIndex(), c.expected) << c.declared;
    }
}

TEST_F(FileScopeTypesTest, WideCharacterOfAHostTypeIsThatType)
{
    const TYPE_INDEX wideEnum = records().enumType("wchar_t", TYPE_INDEX{0, 134}, {{"NUL", 0}});
    declare(unit, records().typeName("wchar_t", wideEnum));
    const TypeItem* wide = TypeItem::wcharType();
    ASSERT_NE(wide, nullptr);
    EXPECT_TRUE(wide->typeIndex() == wideEnum);
    EXPECT_EQ(wide->kind(), t_enum);
    // The name is looked up once; later answers come from the file scope.
    const unsigned asked = searches();
    EXPECT_EQ(TypeItem::wcharType(), wide);
    EXPECT_EQ(searches(), asked);
}

TEST_F(FileScopeTypesTest, WideCharacterWithoutTheProgramsOwn)
{
    // Not declared: the 4-byte wide character, after asking the host.
    EXPECT_EQ(TypeItem::wcharType()->typeIndex(), 150u);
    EXPECT_TRUE(searchedWith("wchar_t"));

    // A declaration in a function is no file-scope name.
    {
        Program program(*this, "local");
        declare(program.function, records().typeName("wchar_t", TYPE_INDEX{0, 129}));
        EXPECT_EQ(TypeItem::wcharType()->typeIndex(), 150u);
    }

    // No context to search in: nothing is asked of the host.
    ExpressionRepresentation contextless(EvaluationEnvironment::languageCPP, nullptr);
    contextless.makeCurrent(nullptr);
    host.clearCalls();
    EXPECT_EQ(TypeItem::wcharType()->typeIndex(), 150u);
    EXPECT_EQ(searches(), 0u);
    env->makeCurrent(nullptr);

    // No environment at all on this thread.
    unsigned onOtherThread = 0;
    std::thread([&] {
        const TypeItem* wide = TypeItem::wcharType();
        onOtherThread = wide != nullptr ? wide->typeIndex().index() : 0;
    }).join();
    EXPECT_EQ(onOtherThread, 150u);
}

TEST_F(FileScopeTypesTest, BlockFactorHeldByAVariable)
{
    // The variable's bytes are the debuggee's big-endian image.
    struct Case {
        const char* name;
        TYPE_INDEX type;
        std::vector<std::uint8_t> image;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {"BF_SHORT", TYPE_INDEX{0, 129}, {0x01, 0x02}, 0x0102},
        {"BF_UINT", TYPE_INDEX{0, 134}, {0x00, 0x01, 0x00, 0x03}, 0x00010003},
        {"BF_LONG", TYPE_INDEX{0, 156}, {0, 0, 0, 2, 0, 0, 0, 1}, 0x0000000200000001ull},
        {"BF_HOST", records().integerType(32, true), {0x00, 0x00, 0x01, 0x00}, 0x100},
    };
    UBYTE8 offset = 0x80;
    for (const Case& c : cases) {
        fileVariable(c.name, c.type, offset);
        host.memory().store(0x10000 + offset, c.image);
        // The bytes after the variable are not readable: only its own size
        // is read.
        host.memory().markUnreadable(0x10000 + offset + c.image.size(), 8);
        EXPECT_EQ(factorOf(sharedByVariable(c.name)), c.expected) << c.name;
        offset += 0x20;
    }
}

TEST_F(FileScopeTypesTest, BlockFactorFailures)
{
    declare(unit, records().typeName("BF_TYPE", TYPE_INDEX{0, 130}));
    fileVariable("BF_NO_ITEM", TYPE_INDEX{0, 131}, 0x40);
    host.memory().store(0x10040, {0x40, 0x10, 0, 0, 0, 0, 0, 0});
    fileVariable("BF_DOUBLE", TYPE_INDEX{0, 137}, 0x50);
    host.memory().store(0x10050, {0x40, 0x10, 0, 0, 0, 0, 0, 0});
    fileVariable("BF_UNMAPPED", TYPE_INDEX{0, 134}, 0x60);
    fileVariable("BF_PARTLY", TYPE_INDEX{0, 134}, 0x70);
    host.memory().store(0x10070, {0, 0});
    // A factor at a computed address with only 4 of its 8 bytes readable.
    host.memory().store(0x3000, {0, 0, 0, 1});
    const UBYTE1* expression = records().bytes({dwarf::DW_OP_const2u, 0x30, 0x00});
    TYPE_INDEX computed{};
    _TYPE_ENTRY& e = records().newType(TE_UPC_SHARED, &computed);
    e.upcshared.blockFactorSource = TNupcshared_FromAddress;
    e.upcshared.qualifiedType = TYPE_INDEX{0, 130};
    e.upcshared.source.addressExpression = expression;
    e.upcshared.factor.expressionLength = 3;

    struct Case {
        const char* what;
        TYPE_INDEX shared;
        const char* text;
    };
    const Case cases[] = {
        {"undeclared", sharedByVariable("BF_NONE"), "No blocking factor symbol"},
        {"type name", sharedByVariable("BF_TYPE"), "No blocking factor symbol"},
        {"no item for the type", sharedByVariable("BF_NO_ITEM"), "No evaluation object"},
        {"partly mapped", sharedByVariable("BF_PARTLY"), "Cannot read block factor"},
        {"computed address", computed, "Cannot read block factor"},
    };
    for (const Case& c : cases) {
        const std::pair<int, std::string> failure = failureOf([&] { factorOf(c.shared); });
        EXPECT_EQ(failure.first, InvalidOp::RTRC_AssertFail) << c.what;
        EXPECT_EQ(failure.second, c.text) << c.what;
    }

    // A floating-point variable gives its value truncated to an integer.
    EXPECT_EQ(factorOf(sharedByVariable("BF_DOUBLE")), 4u);

    // Memory the host cannot read at all is a memory read failure.
    EXPECT_EQ(failureOf([&] { factorOf(sharedByVariable("BF_UNMAPPED")); }).first, InvalidOp::RTRC_ReadMemoryFailed);

    // A failure is not remembered: once the variable can be read, it is.
    const TYPE_INDEX partly = sharedByVariable("BF_PARTLY");
    TypeItem late(partly, records().type(partly), false);
    EXPECT_EQ(failureOf([&] { late.typeFlags(); }).second, "Cannot read block factor");
    host.memory().store(0x10072, {0, 4});
    EXPECT_EQ(late.typeFlags().factor(), 4u);

    // Without a context there is no file scope to search.
    ExpressionRepresentation contextless(EvaluationEnvironment::languageCPP, nullptr);
    contextless.makeCurrent(nullptr);
    const TYPE_INDEX held = sharedByVariable("BF_UNMAPPED");
    const std::pair<int, std::string> failure = failureOf([&] { factorOf(held); });
    env->makeCurrent(nullptr);
    EXPECT_EQ(failure.first, InvalidOp::RTRC_AssertFail);
    EXPECT_EQ(failure.second, "No file scope");
}

} // namespace
