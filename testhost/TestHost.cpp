#include "testhost/TestHost.h"

#include <atomic>
#include <utility>

#include "services/SVC.h"

namespace {
std::atomic<TestHost*> installedHost{nullptr};
}

TestHost::TestHost(bool traceOn) : _traceOn(traceOn)
{
    _table.size = sizeof _table;
    _table.Expr2TraceEnabled = &traceEnabledSlot;
    _table.Expr2Trace = &traceSlot;
    _table.Expr2TraceWithID = &traceWithIdSlot;
}

TestHost::~TestHost()
{
    TestHost* self = this;
    installedHost.compare_exchange_strong(self, nullptr);
}

bool TestHost::install()
{
    installedHost = this;
    return SVC::InitializeServiceFunctions(&_table);
}

TestHost* TestHost::current()
{
    return installedHost;
}

std::vector<TestHost::TraceLine> TestHost::lines() const
{
    std::lock_guard<std::mutex> guard(_lock);
    return _lines;
}

std::vector<std::string> TestHost::texts() const
{
    std::lock_guard<std::mutex> guard(_lock);
    std::vector<std::string> texts;
    texts.reserve(_lines.size());
    for (const TraceLine& line : _lines)
        texts.push_back(line.text);
    return texts;
}

void TestHost::clearLines()
{
    std::lock_guard<std::mutex> guard(_lock);
    _lines.clear();
}

void TestHost::capture(TraceLine line)
{
    std::lock_guard<std::mutex> guard(_lock);
    _lines.push_back(std::move(line));
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
