#ifndef NORVEXA_API_BUILTNAMETEXT_H
#define NORVEXA_API_BUILTNAMETEXT_H

#include <string>

#include <plomkit/ByteString.h>

#include "HostServices.h"

// The text a name builder hands out: kept in the builder's own per-thread
// string, valid until the builder is called again on the same thread.
inline UBYTE1* keepBuiltName(ByteString& slot, const std::string& text)
{
    slot = ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    return slot.data();
}

inline std::string builtNameInput(const UBYTE1* text)
{
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

#endif
