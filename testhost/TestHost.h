#ifndef NORVEXA_TESTHOST_TESTHOST_H
#define NORVEXA_TESTHOST_TESTHOST_H

#include <mutex>
#include <string>
#include <vector>

#include "HostServices.h"

// The simulated host debug engine the tests drive the evaluator through. It
// owns a service table, hands it to the evaluator (install), answers the
// trace slots itself and keeps every trace line the evaluator writes.
//
// Host slots are plain functions; they reach the host object that is
// installed (one at a time per process).
class TestHost {
public:
    struct TraceLine {
        std::string component;
        std::string text;
        unsigned id = 0;
        bool withId = false;  // written through the trace-with-id slot
    };

    // traceOn is what the trace switch slot (33) answers.
    explicit TestHost(bool traceOn = true);
    ~TestHost();

    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // The table handed to the evaluator; set slots here before install.
    DBG2_SERVICE_FUNCTIONS& table() { return _table; }

    template <class Slot>
    void setSlot(Slot DBG2_SERVICE_FUNCTIONS::*slot, Slot function)
    {
        _table.*slot = function;
    }

    void setTraceSwitch(bool on) { _traceOn = on; }
    bool traceSwitch() const { return _traceOn; }

    // Makes this the installed host and hands the table to the evaluator.
    // Returns what the evaluator answers.
    bool install();

    // The installed host, or null.
    static TestHost* current();

    std::vector<TraceLine> lines() const;
    // The texts of the captured lines, in order.
    std::vector<std::string> texts() const;
    void clearLines();

    // Records a line (used by the trace slots).
    void capture(TraceLine line);

private:
    static int traceEnabledSlot();
    static int traceSlot(const char* component, const char* text);
    static int traceWithIdSlot(unsigned id, const char* component, const char* text);

    DBG2_SERVICE_FUNCTIONS _table{};
    bool _traceOn;
    mutable std::mutex _lock;
    std::vector<TraceLine> _lines;
};

#endif
