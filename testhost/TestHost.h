#ifndef NORVEXA_TESTHOST_TESTHOST_H
#define NORVEXA_TESTHOST_TESTHOST_H

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostRecords.h"
#include "HostServices.h"
#include "testhost/HostContext.h"
#include "testhost/HostRecordStore.h"
#include "testhost/MemoryImage.h"

// Slot numbers of the service table, for programming and reading the call
// log.
enum HostSlot : int {
    HS_debuggerVersion = 1,
    HS_ExprGetTypeEntry = 2,
    HS_ExprQueryRegisterId = 3,
    HS_ExprQueryRegisterInfo = 4,
    HS_ExprGetRegisterValue = 5,
    HS_ExprSetRegisterValue = 6,
    HS_Expr2MapSection = 7,
    HS_Expr2ReadMemory = 10,
    HS_Expr2WriteMemory = 11,
    HS_ExprGetContextLocationType = 12,
    HS_ExprGetContainingContextInfo = 14,
    HS_ExprGetNumCallStackItems = 16,
    HS_Expr2GetCallStackEntry = 17,
    HS_ExprSearchForSymbolEntry = 18,
    HS_ExprGetBlockSymbol = 20,
    HS_ExprSymbolEntryWithinContext = 21,
    HS_Expr2SearchForSymbolEntries = 29,
    HS_Expr2ComputeThreadStaticBase = 31,
    HS_Expr2TraceEnabled = 33,
    HS_Expr2Trace = 34,
    HS_Expr2TraceWithID = 35,
    HS_Expr2ComputeDWARFaddress = 36,
    HS_Expr2ComputeAbsDWARFaddress = 37,
    HS_Expr2GetTopStackEntry = 38,
    HS_ExprGetSymbolEntries = 39,
    HS_Expr2GetLinkAddress = 40,
    HS_ExprCallFunction = 41,
    HS_ExprGetContextType2 = 42,
    HS_Expr2GetKeyAddress = 43,
    HS_Expr2NativeStackIndex = 44,
    HS_ExprGetContainedContexts = 45,
    HS_ExprGetLinkName = 46,
    HS_Expr2GetTypeByName = 47,
    HS_ExprGetCompilationSettingValue = 48,
    HS_ExprGetPlaybackMode = 49,
    HS_ExprGetPathPoint = 50,
    HS_Expr2GetSessionId = 51,
    HS_ExprEbcdicConvert = 52,
    HS_ExprGetCodepage = 53,
    HS_ExprGetRawDbgData = 54,
    HS_ExprGetFileInfo = 55,
};

// What a callback throws in throwing mode.
class SimulatedHostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The simulated host debug engine the tests drive the evaluator through. It
// owns a service table with every slot filled, hands it to the evaluator
// (install), and models what the slots answer: contexts, a call stack, a
// sparse big-endian memory image, sections, registers, type and symbol
// records, DWARF locations over its memory, code-page conversion, file
// information and a few host settings. Any slot can be left null or made to
// answer a programmed value or to throw, and every call is logged with its
// arguments. Trace lines are captured.
//
// Host slots are plain functions; they reach the host object that is
// installed (one at a time per process). With none installed they fail.
//
// This host depends only on the host side's records and service table
// (Engine/eval/include), never on the evaluator: a program that loads
// libnorvexa.so hands it table() through the library's initialisation. The
// in-process fixture (testhost/inprocess, library testhost_inprocess) adds
// install(), which hands the table to the evaluator linked into a unit test.
//
// Context handles: the host answers from its own record for a context it
// made (addContext) and from unknownContext() for a null handle or any
// handle it did not make; it never reads through a handle it did not make.
// Each outermost context (a program) has a call stack of its own; a handle
// the host did not make has the unknown context's stack.
//
// Symbol search (slots 18, 29): the search looks in the context and then its
// containers. Names match exactly, or regardless of case when the context
// (or one of its containers) is marked caseInsensitive, or, on slot 18, when
// the caller passes 0 as its first word (the evaluator's case switch). The
// last word, symbolsToSearch, selects the symbols searched: an entry
// declared with search classes is found only when a class bit is in the
// word; 0 searches every symbol.
//
// Threads: the slots take the model lock while they read or change the
// model; a test changes the model before it lets threads call.
//
// Conventions of this host (the evaluator relies only on the wrappers'
// rules): unknown things answer rc 1; a symbol search that finds nothing
// answers rc 8; a type name that is unknown answers rc 3; a read that stops
// at an unmapped or unreadable byte answers rc 6 with the bytes read before
// it; a write that stops at an unwritable byte answers rc 0 with the bytes
// written, or rc 6 when none could be written.
class TestHost {
public:
    struct TraceLine {
        std::string component;
        std::string text;
        unsigned id = 0;
        bool withId = false; // written through the trace-with-id slot
    };

    struct Register {
        std::string name;
        UBYTEP id = 0;   // the key it is kept under when added by addRegister
        UBYTE2 type = 1; // 1 integer, 2 floating point
        UBYTE2 bits = 64;
        UBYTE1 value[16] = {}; // as the host hands it over (the evaluator's byte order)
    };

    struct Call {
        int slot;
        std::string name;
        std::string arguments;
    };

    static constexpr int Always = -1;

    // traceOn is what the trace switch slot (33) answers.
    explicit TestHost(bool traceOn = true);
    ~TestHost();

    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    // ---- the table ----
    // The table handed to the evaluator; change slots here before install.
    DBG2_SERVICE_FUNCTIONS& table() { return _table; }

    template <class Slot>
    void setSlot(Slot DBG2_SERVICE_FUNCTIONS::*slot, Slot function)
    {
        _table.*slot = function;
    }
    // Leaves slot n null.
    void clearSlot(int n);
    // Makes the table hold slots 1 to n only: later slots null and the size
    // word counting the size word and n slots.
    void shortenTable(int n);

    void setTraceSwitch(bool on) { _traceOn = on; }
    bool traceSwitch() const { return _traceOn; }

    // Makes this the host the slots reach; returns the table to hand to an
    // evaluator.
    DBG2_SERVICE_FUNCTIONS* activate();

    // Makes this the installed host and hands the table to the evaluator
    // linked into the program. Returns what the evaluator answers. Defined by
    // the in-process fixture library (testhost_inprocess) only.
    bool install();

    // The installed host, or null.
    static TestHost* current();

    // ---- trace capture ----
    std::vector<TraceLine> lines() const;
    // The texts of the captured lines, in order.
    std::vector<std::string> texts() const;
    void clearLines();
    // Records a line (used by the trace slots).
    void capture(TraceLine line);
    // True when a captured line contains the text.
    bool traced(const std::string& part) const;

    // ---- programmed answers, throwing mode, call log ----
    // The next `times` calls of slot n (Always: every call) answer `result`
    // (the host's whole answer word, negative values included) without doing
    // their work.
    void failSlot(int n, int result, int times = 1);
    // The next `times` calls of slot n throw SimulatedHostError.
    void throwFromSlot(int n, int times = Always);
    void clearProgram();

    std::vector<Call> calls() const;
    std::vector<Call> callsTo(int n) const;
    unsigned callCount(int n) const;
    void clearCalls();

    // ---- model ----
    HostRecordStore& records() { return _records; }
    MemoryImage& memory() { return _memory; }
    // The bytes at an address (0 where nothing is mapped), read under the
    // model lock: for a test that looks while the evaluator's threads call.
    std::vector<UBYTE1> memoryBytes(UBYTE8 address, UBYTE4 count);

    // A new context inside container (null: outermost).
    LCC_Eval_Context_Info& addContext(const std::string& name, CONTEXT_SCOPE2 kind,
                                      LCC_Eval_Context_Info* container = nullptr);
    // Declares a symbol entry in a context; returns the entry. With search
    // classes the entry is found only by searches whose symbolsToSearch word
    // has one of those bits.
    _SYMBOL_ENTRY& declare(LCC_Eval_Context_Info& context, _SYMBOL_ENTRY& entry,
                           UBYTE4 searchClasses = allSearchClasses);
    static constexpr UBYTE4 allSearchClasses = 0xFFFFFFFFu;

    // What the host answers for a null context or a handle it did not make:
    // no container, no symbols, location type 0, kind CS2_UNKNOWN, no code
    // page, no block symbol, unless a test sets otherwise.
    LCC_Eval_Context_Info& unknownContext() { return _unknownContext; }
    // The host's record of a context handle: its own record, or
    // unknownContext() for null and for a handle it did not make.
    const LCC_Eval_Context_Info* record(const LCC_Eval_Context_Info* context) const;

    // The call stack of a program: entry 0 is the first added (the top of
    // the stack). A frame goes on the stack of the outermost context
    // containing its context (the unknown context's for a handle the host
    // did not make). callStack(context) is the stack the slots answer for a
    // context; callStack() the stack of the first outermost context made
    // (the unknown context's while none is made).
    void addFrame(const LCC_Eval_Context_Info* context, UBYTE8 stackBase, UBYTE4 width = 64);
    std::vector<CALLSTACK_ITEM2>& callStack(const LCC_Eval_Context_Info* context);
    std::vector<CALLSTACK_ITEM2>& callStack();

    void addSection(UBYTE4 section, UBYTE8 base, UBYTE4 width = 64);
    Register& addRegister(const Register& r);
    Register* findRegister(UBYTEP id);
    // The registers by id; a test may add or change one here directly.
    std::map<UBYTEP, Register>& registers() { return _registers; }

    void setLinkAddress(const std::string& symbol, UBYTE4 section, EE_ADDR address);
    void setLinkNames(UBYTE8 address, const std::string& first, const std::string& second, const std::string& third);
    void setKeyAddress(const void* key, EE_ADDR address);
    void setNativeStackIndex(UBYTE4 index, UBYTE4 native);
    void setFileInformation(UBYTE8 address, const FILE_INFORMATION& info);
    void setCompilationSetting(COMPILATION_SETTING_TYPE setting, UBYTE1 value);
    void setPlaybackMode(bool on) { _playback = on; }
    void setPathPoint(UBYTE4 value, UBYTE4 answer)
    {
        _pathPoint = value;
        _pathAnswer = answer;
    }
    void setSessionId(UBYTE4 id) { _sessionId = id; }
    // The code page of conversions that name none and of contexts that
    // have none ("" keeps page 1047), such as a mixed DBCS page "939".
    void setDefaultCodePage(const std::string& page) { _defaultCodePage = page; }
    const std::string& defaultCodePage() const { return _defaultCodePage; }
    void setRawDebugData(void* data, UBYTE4 size)
    {
        _rawData = data;
        _rawSize = size;
    }
    void setVersion(const DBG_VERSION_RECORD& v) { _version = v; }
    // The width of DWARF results (0: 64 for a context of location type 4 or
    // no context, else 32).
    void setDwarfResultWidth(UBYTE4 width) { _dwarfWidth = width; }

private:
    friend struct HostSlots;

    // Logs a call; throws in throwing mode; returns a programmed answer.
    std::optional<int> enter(int slot, const std::string& arguments);
    void fillTable();

    static int traceEnabledSlot();
    static int traceSlot(const char* component, const char* text);
    static int traceWithIdSlot(unsigned id, const char* component, const char* text);

    DBG2_SERVICE_FUNCTIONS _table{};
    bool _traceOn;
    mutable std::mutex _lock;
    // Taken by every slot while it reads or changes the model, so that the
    // evaluator may call from several threads at once. Recursive: a slot's
    // helpers take it again.
    std::recursive_mutex _modelLock;
    std::vector<TraceLine> _lines;

    struct Program {
        int result = 0;
        int remaining = 0;
        bool throws = false;
    };
    std::map<int, Program> _program;
    std::vector<Call> _calls;

    HostRecordStore _records;
    MemoryImage _memory;
    std::deque<LCC_Eval_Context_Info> _contexts;
    std::set<const LCC_Eval_Context_Info*> _known;
    LCC_Eval_Context_Info _unknownContext;
    std::map<const _SYMBOL_ENTRY*, UBYTE4> _searchClasses;
    // Call stacks by outermost context.
    std::map<const LCC_Eval_Context_Info*, std::vector<CALLSTACK_ITEM2>> _callStacks;
    std::map<UBYTE4, EE_ADDR> _sections;
    std::map<UBYTEP, Register> _registers;
    std::map<std::pair<std::string, UBYTE4>, EE_ADDR> _linkAddresses;
    struct LinkNames {
        std::string first, second, third;
    };
    std::map<UBYTE8, LinkNames> _linkNames;
    std::map<const void*, EE_ADDR> _keys;
    std::map<UBYTE4, UBYTE4> _nativeIndex;
    std::map<UBYTE8, FILE_INFORMATION> _fileInfo;
    std::map<COMPILATION_SETTING_TYPE, UBYTE1> _settings;
    bool _playback = false;
    UBYTE4 _pathPoint = 0;
    UBYTE4 _pathAnswer = 0;
    UBYTE4 _sessionId = 0;
    std::string _defaultCodePage;
    void* _rawData = nullptr;
    UBYTE4 _rawSize = 0;
    DBG_VERSION_RECORD _version{};
    UBYTE4 _dwarfWidth = 0;
};

#endif
