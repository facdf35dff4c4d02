#ifndef NORVEXA_TESTS_COMPILER_ROADFIXTURE_H
#define NORVEXA_TESTS_COMPILER_ROADFIXTURE_H

// The road from text to value in-process: a simulated program, the
// expression built in the scope of its function "main" and replayed on the
// representation's value stack, the value read from the stack top. The
// program's address size is 8 or 4 bytes (the context's location type).

#include <cstdint>
#include <memory>
#include <string>

#include "../types/SymbolsFixture.h"
#include "compiler/EE_InstructionDecoder.h"
#include "compiler/ExpressionBuild.h"
#include "compiler/ParseError.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"

// One build: its record (freed with the stream) and what it raised.
struct Build {
    expression_info info{};
    int parseErrorKind = -1; // the ParseError kind when the build failed
    std::string parseErrorText;

    Build() = default;
    Build(const Build&) = delete;
    Build& operator=(const Build&) = delete;
    ~Build()
    {
        if (info.instructions != nullptr)
            exprFree(&info);
    }
};

class RoadTest : public SymbolsTest {
protected:
    explicit RoadTest(int language = 1) : SymbolsTest(language) {}

    // The address size of the program: its context's location type.
    void useAddressSize(unsigned bytes)
    {
        mainContext->locationType = bytes == 8 ? 4 : 2;
        unit->locationType = mainContext->locationType;
        scope = env->initializeAndMakeCurrent(mainContext);
    }

    RuntimeStack& stack() { return env->runtimeStack(); }

    // A variable of main in section 1 at the offset.
    void variable(const std::string& name, TYPE_INDEX type, std::uint64_t offset)
    {
        declare(mainContext, records().staticVariable(name, type, 1, offset));
    }

    // Builds text into b; a ParseError is recorded, not thrown.
    void build(Build& b, const std::string& text)
    {
        try {
            exprBuild(text.c_str(), scope, &b.info);
        } catch (ParseError* e) {
            b.parseErrorKind = static_cast<int>(e->kind());
            b.parseErrorText = e->text();
            delete e;
        }
    }

    // Replays a built expression on an emptied stack (left as it ends).
    void replay(Build& b)
    {
        stack().popAll();
        exprEval(&b.info);
    }

    // The value of text as a signed number; fails the test when the build
    // fails or the stack does not end with one item.
    std::int64_t value(const std::string& text)
    {
        Build b;
        build(b, text);
        EXPECT_EQ(b.parseErrorKind, -1) << text << ": " << b.parseErrorText;
        if (b.parseErrorKind != -1)
            return INT64_MIN;
        const int failure = symbolsInvalidOpCode([&] { replay(b); });
        EXPECT_EQ(failure, 0) << text << ": the replay raised InvalidOp " << failure << "\n"
                              << EE_InstructionDecoder::listing(*b.info.instructions);
        EXPECT_EQ(stack().count(), 1u) << text;
        const std::int64_t v = stack().top() != nullptr ? stack().top()->asSigned() : INT64_MIN;
        stack().popAll();
        return v;
    }

    // The InvalidOp code the replay of text raises (0: none).
    int replayFailure(const std::string& text)
    {
        Build b;
        build(b, text);
        EXPECT_EQ(b.parseErrorKind, -1) << text << ": " << b.parseErrorText;
        const int code = symbolsInvalidOpCode([&] { replay(b); });
        stack().popAll();
        return code;
    }

    // The big-endian number of size bytes at offset in section 1.
    std::uint64_t word(std::uint64_t offset, unsigned size = 4)
    {
        std::uint64_t v = 0;
        for (unsigned i = 0; i < size; ++i)
            v = (v << 8) | host.memory().bytes(kData + offset + i, 1)[0];
        return v;
    }

    // Stops in D::f of class B { int m; }; class D : B { int n; int f(); }
    // (B at 4), with this at 0x50 of section 1 pointing to an object at 0x200
    // that holds n = 3 and m = 5; addresses of width bytes.
    void enterMemberFunctionOfDerived(unsigned width)
    {
        const TYPE_INDEX i32 = records().integerType(32, false);
        HostRecordStore::ClassSpec base;
        base.name = "B";
        base.byteSize = 4;
        base.isStruct = false;
        base.members = {{"m", i32, 0}};
        const TYPE_INDEX b = records().classType(base);
        HostRecordStore::ClassSpec derived;
        derived.name = "D";
        derived.byteSize = 8;
        derived.isStruct = false;
        derived.bases = {{b, 4, 0}};
        derived.members = {{"n", i32, 0}};
        const TYPE_INDEX d = records().classType(derived);

        LCC_Eval_Context_Info& method = host.addContext("D::f", CS2_MEMBER_FUNCTION, unit);
        method.locationType = width == 8 ? 4 : 2;
        unit->locationType = method.locationType;
        TYPE_INDEX f{};
        _TYPE_ENTRY& type = records().newType(TE_MEMBERFUNCTION, &f);
        type.memberfunction.functionType = records().functionType(i32, {});
        _SYMBOL_ENTRY& symbol = records().newSymbol(SE_MEMBER_FUNCTION, "f");
        symbol.memberfunction.type = f;
        symbol.memberfunction.classType = d;
        symbol.memberfunction.functionName = records().text("D::f");
        method.blockSymbol = &symbol;
        host.declare(method, records().staticVariable("this", records().pointerType(d, width), 1, 0x50));
        host.memory().storeBigEndian(kData + 0x50, kData + 0x200, width);
        host.memory().storeBigEndian(kData + 0x200, 3, 4); // n
        host.memory().storeBigEndian(kData + 0x204, 5, 4); // m
        scope = env->initializeAndMakeCurrent(&method);
    }

    static constexpr std::uint64_t kData = 0x10000;
};

#endif
