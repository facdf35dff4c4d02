#include "services/MessageServerWorkStation.h"

MessageServerWorkStation::MessageServerWorkStation() : _locale(L"en_US"), _server(nullptr) {}

EncodedString MessageServerWorkStation::getMessage(int set, int id)
{
    std::lock_guard<std::mutex> guard(_lock);
    if (_server == nullptr)
        setServer();
    return _server->getMessage(set, id);
}

void MessageServerWorkStation::setLocale(const EncodedString& locale)
{
    std::lock_guard<std::mutex> guard(_lock);
    if (locale == _locale)
        return;
    _locale = locale;
    delete _server;
    _server = nullptr;
}

void MessageServerWorkStation::setType(char) {}

bool MessageServerWorkStation::hasServer() const
{
    std::lock_guard<std::mutex> guard(_lock);
    return _server != nullptr;
}

void MessageServerWorkStation::setServer()
{
    XPG4MsgServer* server = new XPG4MsgServer(_locale, "rmq");
    delete _server;
    _server = server;
}
