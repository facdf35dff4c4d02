#include "testhost/TestHost.h"

#include <atomic>
#include <utility>

#include "testhost/HostLock.h"

namespace {
std::atomic<TestHost*> installedHost{nullptr};

// The name of each slot, for the call log.
const char* const slotNames[56] = {
    "size",
    "debuggerVersion",
    "ExprGetTypeEntry",
    "ExprQueryRegisterId",
    "ExprQueryRegisterInfo",
    "ExprGetRegisterValue",
    "ExprSetRegisterValue",
    "Expr2MapSection",
    "slot8",
    "slot9",
    "Expr2ReadMemory",
    "Expr2WriteMemory",
    "ExprGetContextLocationType",
    "slot13",
    "ExprGetContainingContextInfo",
    "slot15",
    "ExprGetNumCallStackItems",
    "Expr2GetCallStackEntry",
    "ExprSearchForSymbolEntry",
    "slot19",
    "ExprGetBlockSymbol",
    "ExprSymbolEntryWithinContext",
    "slot22",
    "slot23",
    "slot24",
    "slot25",
    "slot26",
    "slot27",
    "slot28",
    "Expr2SearchForSymbolEntries",
    "slot30",
    "Expr2ComputeThreadStaticBase",
    "slot32",
    "Expr2TraceEnabled",
    "Expr2Trace",
    "Expr2TraceWithID",
    "Expr2ComputeDWARFaddress",
    "Expr2ComputeAbsDWARFaddress",
    "Expr2GetTopStackEntry",
    "ExprGetSymbolEntries",
    "Expr2GetLinkAddress",
    "ExprCallFunction",
    "ExprGetContextType2",
    "Expr2GetKeyAddress",
    "Expr2NativeStackIndex",
    "ExprGetContainedContexts",
    "ExprGetLinkName",
    "Expr2GetTypeByName",
    "ExprGetCompilationSettingValue",
    "ExprGetPlaybackMode",
    "ExprGetPathPoint",
    "Expr2GetSessionId",
    "ExprEbcdicConvert",
    "ExprGetCodepage",
    "ExprGetRawDbgData",
    "ExprGetFileInfo",
};

// Slot n of a table, as a raw pointer-sized cell.
void** slotCell(DBG2_SERVICE_FUNCTIONS& table, int n)
{
    return reinterpret_cast<void**>(&table) + n;
}
} // namespace

TestHost::TestHost(bool traceOn) : _traceOn(traceOn)
{
    _unknownContext.name = "unknown";
    _unknownContext.locationType = 0;
    fillTable();
}

TestHost::~TestHost()
{
    TestHost* self = this;
    installedHost.compare_exchange_strong(self, nullptr);
}

void TestHost::clearSlot(int n)
{
    if (n >= 1 && n <= 55)
        *slotCell(_table, n) = nullptr;
}

void TestHost::shortenTable(int n)
{
    for (int i = n + 1; i <= 55; ++i)
        clearSlot(i);
    _table.size = static_cast<std::uintptr_t>(n + 1) * sizeof(void*);
}

DBG2_SERVICE_FUNCTIONS* TestHost::activate()
{
    installedHost = this;
    return &_table;
}

TestHost* TestHost::current()
{
    return installedHost;
}

std::vector<UBYTE1> TestHost::memoryBytes(UBYTE8 address, UBYTE4 count)
{
    HostLock<std::recursive_mutex> model(_modelLock);
    return _memory.bytes(address, count);
}

std::vector<TestHost::TraceLine> TestHost::lines() const
{
    HostLock<std::mutex> guard(_lock);
    return _lines;
}

std::vector<std::string> TestHost::texts() const
{
    HostLock<std::mutex> guard(_lock);
    std::vector<std::string> texts;
    texts.reserve(_lines.size());
    for (const TraceLine& line : _lines)
        texts.push_back(line.text);
    return texts;
}

void TestHost::clearLines()
{
    HostLock<std::mutex> guard(_lock);
    _lines.clear();
}

void TestHost::capture(TraceLine line)
{
    HostLock<std::mutex> guard(_lock);
    _lines.push_back(std::move(line));
}

bool TestHost::traced(const std::string& part) const
{
    HostLock<std::mutex> guard(_lock);
    for (const TraceLine& line : _lines)
        if (line.text.find(part) != std::string::npos)
            return true;
    return false;
}

void TestHost::failSlot(int n, int result, int times)
{
    HostLock<std::mutex> guard(_lock);
    _program[n] = Program{result, times, false};
}

void TestHost::throwFromSlot(int n, int times)
{
    HostLock<std::mutex> guard(_lock);
    _program[n] = Program{0, times, true};
}

void TestHost::clearProgram()
{
    HostLock<std::mutex> guard(_lock);
    _program.clear();
}

std::vector<TestHost::Call> TestHost::calls() const
{
    HostLock<std::mutex> guard(_lock);
    return _calls;
}

std::vector<TestHost::Call> TestHost::callsTo(int n) const
{
    HostLock<std::mutex> guard(_lock);
    std::vector<Call> out;
    for (const Call& c : _calls)
        if (c.slot == n)
            out.push_back(c);
    return out;
}

unsigned TestHost::callCount(int n) const
{
    return static_cast<unsigned>(callsTo(n).size());
}

void TestHost::clearCalls()
{
    HostLock<std::mutex> guard(_lock);
    _calls.clear();
}

std::optional<int> TestHost::enter(int slot, const std::string& arguments)
{
    HostLock<std::mutex> guard(_lock);
    _calls.push_back(Call{slot, slot >= 0 && slot <= 55 ? slotNames[slot] : "?", arguments});
    auto it = _program.find(slot);
    if (it == _program.end() || it->second.remaining == 0)
        return std::nullopt;
    Program& p = it->second;
    if (p.remaining > 0)
        --p.remaining;
    if (p.throws)
        throw SimulatedHostError(std::string("simulated host failure in ") + slotNames[slot]);
    return p.result;
}

LCC_Eval_Context_Info& TestHost::addContext(const std::string& name, CONTEXT_SCOPE2 kind,
                                            LCC_Eval_Context_Info* container)
{
    LCC_Eval_Context_Info& c = _contexts.emplace_back();
    _known.insert(&c);
    c.name = name;
    c.kind = kind;
    c.container = container;
    c.containingResult = container != nullptr ? container->kind : 0;
    if (container != nullptr)
        container->contained.push_back(&c);
    return c;
}

_SYMBOL_ENTRY& TestHost::declare(LCC_Eval_Context_Info& context, _SYMBOL_ENTRY& entry, UBYTE4 searchClasses)
{
    context.symbols.push_back(&entry);
    context.symbolsByName[foldedName(entry.header.name)].push_back(&entry);
    _searchClasses[&entry] = searchClasses;
    return entry;
}

const LCC_Eval_Context_Info* TestHost::record(const LCC_Eval_Context_Info* context) const
{
    return context != nullptr && _known.count(context) != 0 ? context : &_unknownContext;
}

namespace {
// The outermost context containing a context of the host (itself when it has
// no container).
const LCC_Eval_Context_Info* outermost(const LCC_Eval_Context_Info* context)
{
    while (context->container != nullptr)
        context = context->container;
    return context;
}
} // namespace

std::vector<CALLSTACK_ITEM2>& TestHost::callStack(const LCC_Eval_Context_Info* context)
{
    return _callStacks[outermost(record(context))];
}

std::vector<CALLSTACK_ITEM2>& TestHost::callStack()
{
    return _contexts.empty() ? callStack(nullptr) : callStack(&_contexts.front());
}

void TestHost::addFrame(const LCC_Eval_Context_Info* context, UBYTE8 stackBase, UBYTE4 width)
{
    CALLSTACK_ITEM2 item{};
    item.context = context;
    item.stackBase = EE_ADDR{width, static_cast<UBYTE4>(stackBase), static_cast<UBYTE4>(stackBase >> 32)};
    callStack(context).push_back(item);
}

void TestHost::addSection(UBYTE4 section, UBYTE8 base, UBYTE4 width)
{
    _sections[section] = EE_ADDR{width, static_cast<UBYTE4>(base), static_cast<UBYTE4>(base >> 32)};
}

TestHost::Register& TestHost::addRegister(const Register& r)
{
    return _registers[r.id] = r;
}

TestHost::Register* TestHost::findRegister(UBYTEP id)
{
    auto it = _registers.find(id);
    return it != _registers.end() ? &it->second : nullptr;
}

void TestHost::setLinkAddress(const std::string& symbol, UBYTE4 section, EE_ADDR address)
{
    _linkAddresses[{symbol, section}] = address;
}

void TestHost::setLinkNames(UBYTE8 address, const std::string& first, const std::string& second,
                            const std::string& third)
{
    _linkNames[address] = LinkNames{first, second, third};
}

void TestHost::setKeyAddress(const void* key, EE_ADDR address)
{
    _keys[key] = address;
}

void TestHost::setNativeStackIndex(UBYTE4 index, UBYTE4 native)
{
    _nativeIndex[index] = native;
}

void TestHost::setFileInformation(UBYTE8 address, const FILE_INFORMATION& info)
{
    _fileInfo[address] = info;
}

void TestHost::setCompilationSetting(COMPILATION_SETTING_TYPE setting, UBYTE1 value)
{
    _settings[setting] = value;
}

int TestHost::traceEnabledSlot()
{
    TestHost* host = installedHost;
    return host != nullptr && host->_traceOn ? 1 : 0;
}

int TestHost::traceSlot(const char* component, const char* text)
{
    if (TestHost* host = installedHost)
        host->capture({component ? component : "", text ? text : "", 0, false});
    return 0;
}

int TestHost::traceWithIdSlot(unsigned id, const char* component, const char* text)
{
    if (TestHost* host = installedHost)
        host->capture({component ? component : "", text ? text : "", id, true});
    return 0;
}
