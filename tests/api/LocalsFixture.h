#ifndef NORVEXA_TESTS_API_LOCALSFIXTURE_H
#define NORVEXA_TESTS_API_LOCALSFIXTURE_H

// A simulated C++ program stopped in a block of main: the unit (file
// scope), main (function scope) and the block, each with variables of
// its own, section 1 at 0x10000 and one call-stack frame whose base is
// 0x80000. Tests build views on it through the locals entry points.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <plomkit/DebuggerParameters.h>

#include "HostStatusCodes.h"
#include "api/LocalVariable.h"
#include "api/LocalsEntryPoints.h"
#include "api/LocalsRepresentation.h"
#include "machine/StackItem.h"
#include "testhost/TestHostFixture.h"

class LocalsFixture : public TestHostFixture {
protected:
    static constexpr TYPE_INDEX intType{0, 130};
    static constexpr TYPE_INDEX charType{0, 128};
    static constexpr UBYTE8 sectionBase = 0x10000;
    static constexpr UBYTE8 frameBase = 0x80000;

    LocalsFixture() : TestHostFixture(false) {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        DebuggerParameters::setStartupKey("");
        unit = &host.addContext("unit", CS2_FILE);
        unit->locationType = 4;
        mainContext = &host.addContext("main", CS2_FUNCTION, unit);
        mainContext->locationType = 4;
        mainContext->blockSymbol = &records().function("main", records().functionType(intType, {}), 1, 0x100);
        block = &host.addContext("block", CS2_BLOCK, mainContext);
        block->locationType = 4;
        block->blockSymbol = &records().newSymbol(SE_BLOCK, "");
        host.addSection(1, sectionBase);
        host.addFrame(block, frameBase);
    }

    void TearDown() override
    {
        for (LocalsRepresentation* view : views)
            DbgFreeLocalVariables(view);
        DebuggerParameters::setStartupKey("");
        TestHostFixture::TearDown();
    }

    HostRecordStore& records() { return host.records(); }

    // A static int of section 1 declared in a context.
    _SYMBOL_ENTRY& staticInt(LCC_Eval_Context_Info& context, const std::string& name, UBYTE8 offset,
                             TYPE_INDEX type = intType)
    {
        return host.declare(context, records().staticVariable(name, type, 1, offset));
    }
    void storeInt(UBYTE8 offset, std::uint32_t value) { host.memory().storeBigEndian(sectionBase + offset, value, 4); }

    // A view of the context, freed at the end of the test.
    LocalsRepresentation* build(const LCC_Eval_Context_Info* context, unsigned flags = 0, int language = 2,
                                UBYTE4* count = nullptr)
    {
        LocalsRepresentation* view = nullptr;
        const UBYTE4 n = DbgBuildLocalVariables(context, language, &view, flags);
        if (count != nullptr)
            *count = n;
        if (view != nullptr)
            views.push_back(view);
        return view;
    }

    // A static int n holding 5 in the block, seen through a view the test
    // frees itself (as a host that may keep nodes beyond it): the view, made
    // current, and n's value.
    StackItem* heldValueOfN(LocalsRepresentation*& view)
    {
        staticInt(*block, "n", 0x10);
        storeInt(0x10, 5);
        view = nullptr;
        EXPECT_EQ(DbgBuildLocalVariables(block, 2, &view, 0), 1u);
        DbgRefreshLocalVariableFrame(view, block, 0);
        StackItem* n = nullptr;
        EXPECT_EQ(DbgGetLocalValue(view, 0, &n), statusLocalChanged);
        view->makeCurrent(block);
        return n;
    }

    // The names of a view's variables in its order.
    static std::vector<std::string> names(LocalsRepresentation* view)
    {
        std::vector<std::string> out;
        for (UBYTE4 i = 0;; ++i) {
            const UBYTE1* name = nullptr;
            StackItem* value = nullptr;
            if (DbgGetLocalVariable(view, i, &name, &value) == 0)
                break;
            out.emplace_back(reinterpret_cast<const char*>(name));
        }
        return out;
    }

    // The index of a variable of a view (-1 when not listed).
    static int indexOf(LocalsRepresentation* view, const std::string& name)
    {
        const std::vector<std::string> all = names(view);
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == name)
                return static_cast<int>(i);
        }
        return -1;
    }

    // The status and value of a variable by name.
    static UBYTE2 status(LocalsRepresentation* view, const std::string& name, StackItem** value = nullptr)
    {
        StackItem* item = nullptr;
        const UBYTE2 rc = DbgGetLocalValue(view, static_cast<UBYTE4>(indexOf(view, name)), &item);
        if (value != nullptr)
            *value = item;
        return rc;
    }

    // The value's bytes as a number (big-endian, up to 8 bytes).
    static std::uint64_t number(StackItem* item)
    {
        const auto* bytes = static_cast<const unsigned char*>(item->resultBuffer());
        std::uint64_t n = 0;
        for (std::uint64_t i = 0; bytes != nullptr && i < item->size() && i < 8; ++i)
            n = (n << 8) | bytes[i];
        return n;
    }

    LCC_Eval_Context_Info* unit = nullptr;
    LCC_Eval_Context_Info* mainContext = nullptr;
    LCC_Eval_Context_Info* block = nullptr;
    std::vector<LocalsRepresentation*> views;
};

#endif
