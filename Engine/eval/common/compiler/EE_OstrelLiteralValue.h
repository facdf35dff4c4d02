#ifndef NORVEXA_COMPILER_EE_OSTRELLITERALVALUE_H
#define NORVEXA_COMPILER_EE_OSTRELLITERALVALUE_H

#include "frontend/EE_ArenaString.h"
#include "frontend/EE_LiteralValue.h"

class EE_StorageArena;

// The value of a literal as the debuggee will hold it (EBCDIC for character
// data, UTF-16 big-endian for national data, the spelling for numbers), its
// kind and its type descriptor; made in the services' arena.
class EE_OstrelLiteralValue : public EE_LiteralValue {
public:
    EE_OstrelLiteralValue(Kind k, EE_TypeDescriptor* type, const char* bytes, std::size_t length,
                          EE_StorageArena& arena)
        : EE_LiteralValue(k), descriptor(type), text(bytes, length, &arena)
    {}

    EE_TypeDescriptor* typeDescriptor() const override { return descriptor; }
    // The literal as it is shown again in messages: as the user wrote it
    // when it was scanned from the text; kind 11 and kinds above 14 refuse.
    EE_String signature() override;
    // Keeps the literal's text as written (host's encoding), for messages.
    void keepSpelling(const char* written, std::size_t length, EE_StorageArena& arena)
    {
        spelling.construct(written, length, &arena);
    }

    EE_TypeDescriptor* descriptor;
    EE_ArenaString text;
    EE_ArenaString spelling;
};

#endif
