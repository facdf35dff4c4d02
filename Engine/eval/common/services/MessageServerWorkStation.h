#ifndef NORVEXA_SERVICES_MESSAGESERVERWORKSTATION_H
#define NORVEXA_SERVICES_MESSAGESERVERWORKSTATION_H

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include <plomkit/EncodedString.h>
#include <plomkit/XPG4MsgServer.h>

#include "services/Message.h"

// The message server of the process: reads the catalogue "rmq" for a locale,
// opening it when first needed.
//
// The locale belongs to the calling thread: host threads serve requests of
// different users at once, and one request's locale must not change the
// texts another thread is building. A thread that never set one reads
// "en_US". The catalogues are opened once per locale and kept for the
// server's life (a handful at most, one per locale in use); a lock keeps two
// threads from opening or reading one at the same time.
class MessageServerWorkStation : public Message::MessageServer {
public:
    MessageServerWorkStation();

    // The text of set and id in the calling thread's locale.
    EncodedString getMessage(int set, int id) override;
    // Sets the calling thread's locale. An equal locale changes nothing;
    // another one is read from its own catalogue, opened on next use.
    void setLocale(const EncodedString& locale) override;
    // Message types are not used: does nothing.
    void setType(char type) override;

    // The calling thread's locale.
    EncodedString locale() const;
    // Whether the catalogue of the calling thread's locale is open.
    bool hasServer() const;
    // Whether a catalogue is found for the calling thread's locale (opening
    // it when not yet opened); without one every text reads as a stand-in
    // that names the message.
    bool catalogueFound();

private:
    // The calling thread's locale text for this server.
    std::wstring& threadLocale() const;
    // The reader of the calling thread's locale, made when first needed;
    // called under the lock.
    XPG4MsgServer& openedServer();

    const std::uint64_t _id;
    std::map<std::wstring, std::unique_ptr<XPG4MsgServer>> _servers;
    mutable std::mutex _lock;
};

#endif
