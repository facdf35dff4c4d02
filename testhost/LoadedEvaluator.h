#ifndef NORVEXA_TESTHOST_LOADEDEVALUATOR_H
#define NORVEXA_TESTHOST_LOADEDEVALUATOR_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostServices.h"

class TestHost;

// What a loading failure throws: the library, main or a name not found.
class LoaderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The evaluator as a host sees it: the plug-in loaded from a path
// (libnorvexa.so with dlopen; on Windows norvexa.dll with LoadLibraryW), its
// main called with a table of 65 pointer-sized words (word 0 the table's
// byte size), the table's words read by number and the exported entry
// points found by name. norvexa.dll exports main alone: there every name
// but main is missing and a host reaches the entry points through the
// table only. A program that uses it links the host-only part of
// the simulated host and nothing of the evaluator: one evaluator only, the
// loaded one (the in-process evaluator and the loaded library would share
// the utility library's current environment of each thread).
//
// initialize() hands a TestHost's table to the loaded DbgInitialize, as a
// host does; the evaluator's copy of the service table is the loaded one.
// The destructor terminates as often as initialize() succeeded, then closes
// the library, so the next load starts uninitialised. The library stays
// mapped: what it keeps for the process (browse mode, the trace switch once
// a host turned it on) carries over to the next load.
class LoadedEvaluator {
public:
    static constexpr unsigned tableWords = 65;

    // Loads the library; throws LoaderError when it, or main, is missing.
    explicit LoadedEvaluator(const std::string& path);
    ~LoadedEvaluator();

    LoadedEvaluator(const LoadedEvaluator&) = delete;
    LoadedEvaluator& operator=(const LoadedEvaluator&) = delete;

    // Calls main with a table of the given words (word 0: its size in bytes)
    // and answers what main answered.
    int callMain(std::uintptr_t* table) const;
    // main's answer for the 65-word table made at loading.
    int mainAnswer() const { return mainAnswer_; }
    // Word n (0 to 64) of that table.
    std::uintptr_t word(unsigned n) const;
    const std::vector<std::uintptr_t>& table() const { return table_; }

    // The address of an exported name, or null.
    void* symbol(const char* name) const;
    // An exported entry point as the function type the caller names;
    // LoaderError when the library does not export it.
    //     auto version = evaluator.entry<UBYTE4 (*)()>("DbgVersion");
    template <class Function>
    Function entry(const char* name) const
    {
        void* found = symbol(name);
        if (found == nullptr)
            throw LoaderError(std::string("the plug-in does not export ") + name);
        return reinterpret_cast<Function>(found);
    }

    // Makes host the one the service slots reach and hands its table to the
    // loaded DbgInitialize; answers what that answered.
    BYTE4 initialize(TestHost& host);
    // Hands the loaded DbgInitialize a table as it stands (null too).
    BYTE4 initialize(DBG2_SERVICE_FUNCTIONS* services);
    // Calls the loaded DbgTerminateRunTime (the destructor's balance counts
    // it against the successful initialisations). Both may be called on
    // several threads at once. Both are found by name, or where the library
    // exports main alone, taken from the table's words 2 and 34.
    void terminate();

private:
    // Calls main with a table of tableWords words into table_.
    void fillTable();
    // Terminates as often as initialize() succeeded.
    void terminateAll();
    // A life-cycle entry point by name, else the table's word n.
    void* lifeCycleEntry(const char* name, unsigned n) const;

    void* library_ = nullptr;
    int (*main_)(std::uintptr_t*) = nullptr;
    std::vector<std::uintptr_t> table_;
    int mainAnswer_ = 0;
    std::atomic<int> balance_{0};
};

#endif
