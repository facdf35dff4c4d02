// The query interface: environment services, characters and numbers.

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <plomkit/UnicodeUtilities.h>

#include "compiler/CxxevalInterface.h"
#include "compiler/InterfaceGuards.h"
#include "compiler/OpcodeHandlerSupport.h"
#include "machine/LiteralParsers.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/TypeItem.h"

bool isTraceEnabled()
{
    return *SVC::traceEnabled();
}

void trace(const char* format, ...)
{
    if (!*SVC::traceEnabled() || format == nullptr)
        return;
    thread_local char buffer[8192];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    SVC::pTrace("%s", buffer);
}

unsigned char alternateCharacterSet()
{
    return EvaluationEnvironment::currentRep()->alternateCharset();
}

int utf8Encode(unsigned long code, unsigned char* buffer)
{
    if (buffer == nullptr)
        return 0;
    if (code < 0x80) {
        buffer[0] = static_cast<unsigned char>(code);
        return 1;
    }
    // Lead-byte marks and the payload bits of 2 to 6 byte forms.
    static const unsigned char leads[7] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
    static const unsigned long limits[7] = {0, 0x80, 0x800, 0x10000, 0x200000, 0x4000000, 0x80000000ul};
    int n = 2;
    while (n <= 6 && code >= limits[n])
        ++n;
    if (n > 6)
        return 0;
    for (int i = n - 1; i > 0; --i) {
        buffer[i] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        code >>= 6;
    }
    buffer[0] = static_cast<unsigned char>(leads[n] | code);
    return n;
}

int MBtowc(void* out, const char* text, unsigned max)
{
    if (out == nullptr || text == nullptr)
        return -1;
    const TypeItem* wchar = typeWcharT();
    const unsigned width = wchar != nullptr ? wchar->typeSize() : 0;
    if (width != 2 && width != 4 && width != 8)
        return -1;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    const int n = UnicodeUtilities::mblen(bytes[0]);
    if (n <= 0 || static_cast<unsigned>(n) > max)
        return -1;
    std::uint32_t value = n == 1 ? bytes[0] : bytes[0] & (0x7Fu >> n);
    for (int i = 1; i < n; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return -1;
        value = value << 6 | (bytes[i] & 0x3Fu);
    }
    if (width == 2) {
        const std::uint16_t narrow = static_cast<std::uint16_t>(value);
        std::memcpy(out, &narrow, sizeof narrow);
    } else if (width == 4) {
        std::memcpy(out, &value, sizeof value);
    } else {
        const std::int64_t wide = static_cast<std::int32_t>(value);
        std::memcpy(out, &wide, sizeof wide);
    }
    return n;
}

// An integer literal read by the evaluation machine's literal parser.
long long evaluateNumber(const char* text, unsigned length, bool* isSigned, unsigned* size)
{
    static const char signature[] = "long long evaluateNumber(const Char*, unsigned int, boolean*, unsigned int*)";
    NORVEXA_HANDLER_TRACE(signature, "Entry");
    validateStringName(text, signature, __LINE__);
    validatePointer(isSigned, signature, __LINE__);
    validatePointer(size, signature, __LINE__);
    if (length == 0) {
        traceInterfaceError("empty string", signature, __LINE__);
        throw InvalidOp(InvalidOp::RTRC_Other, signature, __LINE__);
    }
    int literalSigned = 0;
    int literalSize = 0;
    const std::uint64_t value = readIntegralValue(text, length, literalSigned, literalSize);
    *isSigned = literalSigned != 0;
    *size = static_cast<unsigned>(literalSize);
    return static_cast<long long>(value);
}

unsigned setBrowseMode(int on)
{
    return setBrowseMode(on != 0) ? 0xFFFFFFFFu : 0u;
}
