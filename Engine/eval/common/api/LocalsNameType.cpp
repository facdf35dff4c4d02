#include "api/LocalsRepresentation.h"

#include <cctype>
#include <cstring>
#include <string>

#include <plomkit/DebuggerParameters.h>

namespace {

bool hexDigits(const char* text, unsigned count)
{
    for (unsigned i = 0; i < count; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    }
    return true;
}

} // namespace

int LocalsRepresentation::VariablesList::nameType(const char* name)
{
    if (name == nullptr || *name == '\0')
        return unnamed;
    if (std::strcmp(name, "#ENV") == 0)
        return environmentName;
    if (std::strcmp(name, "#BLNK_COM") == 0)
        return plainName;

    const bool dotAllowed = DebuggerParameters::startupKey() == "CLIP";
    bool escaped = false;
    for (const char* p = name; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (std::isalnum(c) || c == '$' || c == '_' || c >= 0x80 || (c == '.' && dotAllowed))
            continue;
        if (c != '\\')
            return invalidName;
        // \uXXXX or \UXXXXXXXX; hexDigits stops at the terminating zero.
        const unsigned digits = p[1] == 'u' ? 4 : p[1] == 'U' ? 8 : 0;
        if (digits == 0 || !hexDigits(p + 2, digits))
            return invalidName;
        escaped = true;
        p += 1 + digits;
    }

    if (name[0] == '_' && name[1] == '_') {
        if (name[2] == '\0')
            return reservedName;
        const char* p = name + 2;
        while (std::isdigit(static_cast<unsigned char>(*p)))
            ++p;
        return *p == '\0' ? numberedName : reservedName;
    }
    if (name[0] == '_' && std::isupper(static_cast<unsigned char>(name[1])))
        return reservedName;
    return escaped ? escapedName : plainName;
}
