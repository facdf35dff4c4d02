#ifndef NORVEXA_TESTHOST_INPROCESS_CONTEXTFIXTURES_H
#define NORVEXA_TESTHOST_INPROCESS_CONTEXTFIXTURES_H

// Fixtures for tests of the evaluation context whose requests carry no
// context of the simulated host (a null handle, or a made-up one): the host
// answers those from its unknown context, and ContextFakeDebuggee is the
// view of that part of the host's model these tests set: memory, registers,
// the call stack, the location type, the code page.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "HostRecords.h"
#include "machine/StackItem.h"
#include "testhost/inprocess/CountingItem.h"
#include "testhost/inprocess/InvalidOpCode.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/inprocess/TestHostFixture.h"

using FakeRegister = TestHost::Register;

struct ContextFakeDebuggee {
    explicit ContextFakeDebuggee(TestHost& host)
        : host(host),
          registers(host.registers()),
          locationType(host.unknownContext().locationType),
          codePage(host.unknownContext().codePage)
    {
        // Requests without a context of the host are blocks without a block
        // entry of their own.
        host.unknownContext().kind = CS2_BLOCK;
    }

    TestHost& host;
    // The registers by id, as the host hands them over.
    std::map<UBYTEP, TestHost::Register>& registers;
    // What the host answers for the location type (4: a 64-bit program) and
    // the code page ("": none) of a context it did not make.
    UBYTE2& locationType;
    std::string& codePage;

    // Stores bytes in the debuggee's memory.
    void poke(std::uint64_t address, std::initializer_list<std::uint8_t> bytes) { host.memory().store(address, bytes); }
    // A byte of the debuggee's memory (0 where nothing is stored).
    std::uint8_t byte(std::uint64_t address) const { return host.memory().bytes(address, 1)[0]; }
    // The call stack answered for contexts the host did not make: frame
    // bases only, each without a context.
    void setFrames(std::initializer_list<EE_ADDR> bases)
    {
        std::vector<CALLSTACK_ITEM2>& stack = host.callStack(nullptr);
        stack.clear();
        for (const EE_ADDR& base : bases) {
            CALLSTACK_ITEM2 item{};
            item.stackBase = base;
            stack.push_back(item);
        }
    }
};

// A test with the simulated host, the fake debuggee behind it, and an
// expression environment current on the test's thread.
class ContextTest : public TestHostFixture {
protected:
    ContextTest() : TestHostFixture(false) {}

    ContextFakeDebuggee fake{host};
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

#endif
