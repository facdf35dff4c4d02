#ifndef PLOMKIT_XPG4MSGSERVER_H
#define PLOMKIT_XPG4MSGSERVER_H

#include <mutex>
#include <string>

#include <plomkit/EncodedString.h>
#include <plomkit/PlomkitExport.h>

namespace plomkit_detail {
class MessageCatalogue;
}

// Reads texts from an XPG4 message catalogue: on Windows its source
// ("name.msg", gencat's input), elsewhere the catalogue gencat compiled from
// it ("name.cat").
//
// The catalogue "name" for locale "ll_CC" is looked for as
//   <dir>/ll_CC/name.<suffix>, <dir>/ll/name.<suffix>, <dir>/name.<suffix>
// where <dir> is the directory named by the environment variable
// NORVEXA_CATALOG_DIR, or else the catalogue directory set when the library
// was built (on Windows: the directory of the module that asks, then that of
// the utility library). A missing catalogue is not an error: every message
// then reads as a short text that names the catalogue, set and number.
class PLOMKIT_API XPG4MsgServer {
public:
    XPG4MsgServer(const EncodedString& locale, const char* catalogueName);
    virtual ~XPG4MsgServer();

    XPG4MsgServer(const XPG4MsgServer&) = delete;
    XPG4MsgServer& operator=(const XPG4MsgServer&) = delete;

    // The text of message id of set (UTF-8 in the catalogue).
    virtual EncodedString getMessage(int set, int id);

    // Whether a catalogue file was found and opened.
    bool isOpen() const { return _catalogue != nullptr; }

private:
    plomkit_detail::MessageCatalogue* _catalogue;
    std::string _name;
    std::mutex _lock; // the catalogue may be read from several threads
};

#endif
