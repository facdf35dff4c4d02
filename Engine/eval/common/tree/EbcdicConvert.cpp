#include "tree/EbcdicConvert.h"

#include <cstdint>
#include <memory>

#include "services/SVC.h"

int EbcdicConvert::utf8ToEbcdic(const char* text, int length, char** out, int* outLength, const char* codePage)
{
    *out = nullptr;
    if (outLength != nullptr)
        *outLength = -1;
    if (length < 0 || length > UINT16_MAX) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Text of %d bytes cannot be converted", length);
        return -1;
    }
    std::size_t room = static_cast<std::size_t>(length) + 1;
    std::unique_ptr<char[]> buffer(new char[room]());
    BYTE4 converted = SVC::ExprEbcdicConvert(text, static_cast<UBYTE2>(length), buffer.get(),
                                             static_cast<UBYTE2>(length), codePage, Conv_ToCodePage);
    if (converted > length) {
        // The converted text is longer than the input (shift bytes, say):
        // convert again into a buffer of its length.
        if (converted > UINT16_MAX) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Converted text of %d bytes is too long", converted);
            return -1;
        }
        room = static_cast<std::size_t>(converted) + 1;
        buffer.reset(new char[room]());
        converted = SVC::ExprEbcdicConvert(text, static_cast<UBYTE2>(length), buffer.get(),
                                           static_cast<UBYTE2>(room - 1), codePage, Conv_ToCodePage);
    }
    if (converted < 0 || static_cast<std::size_t>(converted) >= room) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Code-page conversion failed (%d)", converted);
        return -1;
    }
    buffer[static_cast<std::size_t>(converted)] = 0;
    *out = buffer.release();
    if (outLength != nullptr)
        *outLength = converted;
    return converted;
}
