#include "services/MessageServerWorkStation.h"

#include <atomic>

#include <plomkit/ThreadOwned.h>

namespace {

const wchar_t defaultLocale[] = L"en_US";

std::atomic<std::uint64_t> nextServerId{1};

} // namespace

MessageServerWorkStation::MessageServerWorkStation() : _id(nextServerId++) {}

std::wstring& MessageServerWorkStation::threadLocale() const
{
    // Keyed by the server's number, not its address, so that a server made
    // where an earlier one lived does not inherit its locales.
    auto& locales = threadOwned<std::map<std::uint64_t, std::wstring>>([] {});
    auto [where, added] = locales.try_emplace(_id, defaultLocale);
    return where->second;
}

XPG4MsgServer& MessageServerWorkStation::openedServer()
{
    const std::wstring& locale = threadLocale();
    std::unique_ptr<XPG4MsgServer>& server = _servers[locale];
    if (server == nullptr)
        server = std::make_unique<XPG4MsgServer>(EncodedString(locale.c_str()), "rmq");
    return *server;
}

EncodedString MessageServerWorkStation::getMessage(int set, int id)
{
    std::lock_guard<std::mutex> guard(_lock);
    return openedServer().getMessage(set, id);
}

bool MessageServerWorkStation::catalogueFound()
{
    std::lock_guard<std::mutex> guard(_lock);
    return openedServer().isOpen();
}

void MessageServerWorkStation::setLocale(const EncodedString& locale)
{
    threadLocale() = locale.text();
}

void MessageServerWorkStation::setType(char) {}

EncodedString MessageServerWorkStation::locale() const
{
    return EncodedString(threadLocale().c_str());
}

bool MessageServerWorkStation::hasServer() const
{
    const std::wstring& locale = threadLocale();
    std::lock_guard<std::mutex> guard(_lock);
    auto found = _servers.find(locale);
    return found != _servers.end() && found->second != nullptr;
}
