#ifndef NORVEXA_SERVICES_MESSAGESERVERWORKSTATION_H
#define NORVEXA_SERVICES_MESSAGESERVERWORKSTATION_H

#include <mutex>

#include <plomkit/EncodedString.h>
#include <plomkit/XPG4MsgServer.h>

#include "services/Message.h"

// The message server of the process: reads the catalogue "rmq" for its
// locale (initially "en_US"), opening it when first needed and again after
// the locale changes. Host threads may ask at the same time; a lock keeps
// the catalogue from being replaced while it is read.
class MessageServerWorkStation : public Message::MessageServer {
public:
    MessageServerWorkStation();

    EncodedString getMessage(int set, int id) override;
    // An equal locale changes nothing; another closes the open catalogue.
    void setLocale(const EncodedString& locale) override;
    // Message types are not used: does nothing.
    void setType(char type) override;

    // Whether a catalogue server is held (opened and not yet dropped).
    bool hasServer() const;

private:
    // Opens the catalogue for the locale, replacing any server held.
    void setServer();

    EncodedString _locale;
    XPG4MsgServer* _server;
    mutable std::mutex _lock;
};

#endif
