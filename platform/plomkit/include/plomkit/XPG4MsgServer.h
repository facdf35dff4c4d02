#ifndef PLOMKIT_XPG4MSGSERVER_H
#define PLOMKIT_XPG4MSGSERVER_H

#include <mutex>
#include <string>

#include <nl_types.h>

#include <plomkit/EncodedString.h>
#include <plomkit/PlomkitExport.h>

// Reads texts from a compiled XPG4 message catalogue (gencat format).
//
// The catalogue "name" for locale "ll_CC" is looked for as
//   <dir>/ll_CC/name.cat, <dir>/ll/name.cat, <dir>/name.cat
// where <dir> is the directory named by the environment variable
// NORVEXA_CATALOG_DIR, or else the catalogue directory set when the library
// was built. A missing catalogue is not an error: every message then reads as
// a short text that names the catalogue, set and number.
class PLOMKIT_API XPG4MsgServer {
public:
    XPG4MsgServer(const EncodedString& locale, const char* catalogueName);
    virtual ~XPG4MsgServer();

    XPG4MsgServer(const XPG4MsgServer&) = delete;
    XPG4MsgServer& operator=(const XPG4MsgServer&) = delete;

    // The text of message id of set (UTF-8 in the catalogue).
    virtual EncodedString getMessage(int set, int id);

    // Whether a catalogue file was found and opened.
    bool isOpen() const { return _catalogue != reinterpret_cast<nl_catd>(-1); }

private:
    nl_catd _catalogue;
    std::string _name;
    std::mutex _lock;  // catgets may be called from several threads
};

#endif
