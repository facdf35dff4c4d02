#include "SoakPeriphery.h"

#include "SoakWorker.h"
#include "testhost/LoadedEvaluator.h"
#include "testhost/TestHost.h"

namespace {

std::string text(const UBYTE1* t)
{
    return t != nullptr ? reinterpret_cast<const char*>(t) : "<null>";
}

} // namespace

SoakPeriphery::SoakPeriphery(LoadedEvaluator& evaluator, TestHost& host, const SoakEntries& dbg,
                             const SoakWorker& worker)
    : evaluator_(evaluator), host_(host), dbg_(dbg), worker_(worker)
{}

std::string SoakPeriphery::lifeCycle()
{
    // The host's table is handed as it stands: activating the host again
    // would write the host's own pointer while the workers' calls read it.
    std::string r = "initialize " + std::to_string(evaluator_.initialize(&host_.table()));
    evaluator_.terminate();
    if (dbg_.setDefaultRep != nullptr) {
        // Data type 9 (decimal) keeps decimal (2) as its default; a type
        // above the table's range is refused.
        r += " default " + std::to_string(dbg_.setDefaultRep(9, 2));
        r += " refused " + std::to_string(dbg_.setDefaultRep(41, 2));
    }
    return r + "\n";
}

std::string SoakPeriphery::names()
{
    std::string r;
    if (dbg_.queryAllActions != nullptr) {
        const ExpressionEvaluatorAction** actions = dbg_.queryAllActions(reinterpret_cast<const UBYTE1*>("en_US"));
        unsigned count = 0;
        while (actions != nullptr && actions[count] != nullptr)
            ++count;
        r += "actions " + std::to_string(count) + "\n";
    }
    if (dbg_.buildTypeFullName != nullptr)
        r += "type \"" + text(dbg_.buildTypeFullName(worker_.context(), worker_.intType())) + "\"\n";
    std::string parent = "a + b";
    std::string member = "x";
    std::string simple = "pp";
    auto p = reinterpret_cast<UBYTE1*>(parent.data());
    auto m = reinterpret_cast<UBYTE1*>(member.data());
    auto s = reinterpret_cast<UBYTE1*>(simple.data());
    if (dbg_.classDataMemberFullName != nullptr)
        r += "member \"" + text(dbg_.classDataMemberFullName(nullptr, nullptr, p, m)) + "\"\n";
    if (dbg_.structElementFullName != nullptr)
        r += "element \"" + text(dbg_.structElementFullName(nullptr, nullptr, s, m)) + "\"\n";
    if (dbg_.derefPointerFullName != nullptr)
        r += "target \"" + text(dbg_.derefPointerFullName(nullptr, nullptr, p)) + "\"\n";
    if (dbg_.makeUnambiguousFullName != nullptr)
        r += "unambiguous \"" + text(dbg_.makeUnambiguousFullName(p)) + "\"\n";
    return r;
}
