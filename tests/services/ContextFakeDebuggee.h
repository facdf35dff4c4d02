#ifndef NORVEXA_TESTS_SERVICES_CONTEXTFAKEDEBUGGEE_H
#define NORVEXA_TESTS_SERVICES_CONTEXTFAKEDEBUGGEE_H

// A small debuggee behind the simulated host's memory, register, call-stack,
// context and code-page slots: byte-addressed memory, registers kept in the
// host's own byte order, a call stack of frame bases, and counters of what
// the evaluator asked. One fake at a time per process.

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "HostRecords.h"
#include "machine/StackItem.h"
#include "testhost/inprocess/CountingItem.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"

struct FakeRegister {
    UBYTE2 type = 1;  // 1 integer, 2 floating point
    UBYTE2 bits = 32;
    unsigned char value[16] = {};  // host byte order
};

struct ContextFakeDebuggee {
    std::map<std::uint64_t, unsigned char> memory;
    std::map<UBYTEP, FakeRegister> registers;
    std::vector<EE_ADDR> frames;
    UBYTE2 locationType = 0;  // 4: a 64-bit program
    const char* codePage = "";
    // When set, a write stores at most this many bytes.
    int writeLimit = -1;

    int registerInfoCalls = 0;
    int codePageCalls = 0;
    int readCalls = 0;
    std::vector<unsigned char> lastRegisterWrite;

    static ContextFakeDebuggee*& current()
    {
        static ContextFakeDebuggee* fake = nullptr;
        return fake;
    }

    void poke(std::uint64_t address, std::initializer_list<unsigned char> bytes)
    {
        for (unsigned char b : bytes)
            memory[address++] = b;
    }

    static std::uint64_t value(const EE_ADDR& a)
    {
        return a.width == 32 ? a.addrLow : (std::uint64_t(a.addrHigh) << 32) | a.addrLow;
    }

    static int readMemory(EXPR_CTX, EE_ADDR address, UBYTE4 count, void* buffer, UBYTE4* read)
    {
        ContextFakeDebuggee& f = *current();
        ++f.readCalls;
        unsigned char* out = static_cast<unsigned char*>(buffer);
        const std::uint64_t base = value(address);
        UBYTE4 n = 0;
        for (; n < count; ++n) {
            auto it = f.memory.find(base + n);
            if (it == f.memory.end())
                break;
            out[n] = it->second;
        }
        *read = n;
        return n == count ? 0 : 6;
    }

    static int writeMemory(EXPR_CTX, EE_ADDR address, UBYTE4 count, const void* buffer,
                           UBYTE4* written)
    {
        ContextFakeDebuggee& f = *current();
        const unsigned char* in = static_cast<const unsigned char*>(buffer);
        UBYTE4 n = f.writeLimit >= 0 && UBYTE4(f.writeLimit) < count ? UBYTE4(f.writeLimit) : count;
        for (UBYTE4 i = 0; i < n; ++i)
            f.memory[value(address) + i] = in[i];
        *written = n;
        return 0;
    }

    static int registerInfo(EXPR_CTX, UBYTEP id, UBYTE2* type, UBYTE2* bits)
    {
        ContextFakeDebuggee& f = *current();
        ++f.registerInfoCalls;
        auto it = f.registers.find(id);
        if (it == f.registers.end())
            return 1;
        *type = it->second.type;
        *bits = it->second.bits;
        return 0;
    }

    static int registerValue(EXPR_CTX, UBYTEP id, UBYTE1* buffer)
    {
        ContextFakeDebuggee& f = *current();
        auto it = f.registers.find(id);
        if (it == f.registers.end())
            return 1;
        std::memcpy(buffer, it->second.value, (it->second.bits + 7u) / 8u);
        return 0;
    }

    static int setRegisterValue(EXPR_CTX, UBYTEP id, const UBYTE1* buffer)
    {
        ContextFakeDebuggee& f = *current();
        auto it = f.registers.find(id);
        if (it == f.registers.end())
            return 1;
        const unsigned n = (it->second.bits + 7u) / 8u;
        std::memcpy(it->second.value, buffer, n);
        f.lastRegisterWrite.assign(buffer, buffer + n);
        return 0;
    }

    static int contextLocationType(EXPR_CTX, UBYTE2* type)
    {
        *type = current()->locationType;
        return 0;
    }

    static int callStackEntry(EXPR_CTX, UBYTE2 item, CALLSTACK_ITEM2* entry)
    {
        ContextFakeDebuggee& f = *current();
        if (item >= f.frames.size())
            return 2;
        entry->context = nullptr;
        entry->stackBase = f.frames[item];
        return 0;
    }

    // The fake's contexts are plain handles: every one is a block without a
    // block entry of its own.
    static int contextType2(EXPR_CTX) { return CS2_BLOCK; }

    static int blockSymbol(EXPR_CTX, SYMBOL_ENTRY** entry)
    {
        *entry = nullptr;
        return 0;
    }

    static const char* getCodepage(EXPR_CTX)
    {
        ContextFakeDebuggee& f = *current();
        ++f.codePageCalls;
        return f.codePage;
    }

    void installInto(TestHost& host)
    {
        current() = this;
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2ReadMemory, &readMemory);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2WriteMemory, &writeMemory);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprQueryRegisterInfo, &registerInfo);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetRegisterValue, &registerValue);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprSetRegisterValue, &setRegisterValue);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetContextLocationType, &contextLocationType);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::Expr2GetCallStackEntry, &callStackEntry);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetCodepage, &getCodepage);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetContextType2, &contextType2);
        host.setSlot(&DBG2_SERVICE_FUNCTIONS::ExprGetBlockSymbol, &blockSymbol);
    }
};

// A test with the simulated host, the fake debuggee behind it, and an
// expression environment current on the test's thread.
class ContextTest : public TestHostFixture {
protected:
    ContextTest() : TestHostFixture(false) {}

    void SetUp() override
    {
        fake.installInto(host);
        TestHostFixture::SetUp();
    }

    void TearDown() override
    {
        ContextFakeDebuggee::current() = nullptr;
        TestHostFixture::TearDown();
    }

    ContextFakeDebuggee fake;
};

// A context test whose expression environment is current on the test's
// thread from the start.
class CurrentContextTest : public ContextTest {
protected:
    void SetUp() override
    {
        ContextTest::SetUp();
        env.makeCurrent(nullptr);
    }

    ExpressionRepresentation env{0, nullptr};
};

// A value that counts its deletions.
using CountedItem = CountingItem;

// The code of the InvalidOp the call throws, 0 when it throws none.
template <class F>
int codeOf(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    return 0;
}

#endif
