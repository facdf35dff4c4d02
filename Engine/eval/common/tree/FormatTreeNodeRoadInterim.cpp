// Interim definitions of two members of the formatting road, so that the
// formatters by data type can be built and tested before the road stands:
// the road's own definitions replace this file.
#include "tree/FormatTreeNode.h"

#include <cstdio>
#include <string>

#include "services/SVC.h"
#include "tree/FormatByType.h"

using namespace FormatByType;

namespace {

// One conversion of EBCDIC bytes into the display encoding; no bytes give
// 0x1A.
std::string converted(const char* source, unsigned length)
{
    char out[6] = {};
    BYTE4 n = SVC::ExprEbcdicConvert(source, static_cast<UBYTE2>(length), out, sizeof out, nullptr, Conv_ToUtf8);
    if (n <= 0)
        return std::string(1, '\x1A');
    return std::string(out, static_cast<std::size_t>(n > 6 ? 6 : n));
}

}  // namespace

// Single-byte EBCDIC text in the environment's code page; 0x0E and 0x0F
// shift into and out of double-byte characters; a NUL becomes a full stop,
// its offset recorded behind the prefix "EEStringContainsNullChars".
ByteString FormatTreeNode::formatString(const char* data, unsigned int count, unsigned int, bool) const
{
    std::string out;
    std::string offsets;
    unsigned nuls = 0;
    bool shifted = false;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c == 0x0E) {
            shifted = true;
            continue;
        }
        if (c == 0x0F) {
            shifted = false;
            continue;
        }
        std::string piece;
        if (shifted && i + 1 < count) {
            const char pair[4] = {0x0E, data[i], data[i + 1], 0x0F};
            piece = converted(pair, 4);
            if (!piece.empty() && piece.front() == 0x0E)
                piece.erase(0, 1);
            if (!piece.empty() && piece.back() == 0x0F)
                piece.pop_back();
            ++i;
        } else {
            piece = converted(data + i, 1);
        }
        if (!piece.empty() && piece[0] == 0) {
            char offset[16];
            std::snprintf(offset, sizeof offset, "%08x", static_cast<unsigned>(out.size()));
            offsets += offset;
            ++nuls;
            piece = ".";
        }
        out += piece;
    }
    if (nuls != 0) {
        char number[16];
        std::snprintf(number, sizeof number, "%08x", nuls);
        out = "EEStringContainsNullChars" + std::string(number) + offsets + out;
    }
    return text(out);
}

// The array form: only kind-89 nodes answer the array queries, so for every
// other node the form is the empty text.
ByteString FormatTreeNode::formatAddressAsArray(DebuggeeLocation location, const TypeItem&, unsigned int) const
{
    if (location.kind() != DebuggeeLocation::debuggeeMemory)
        return text("{...}");
    unsigned count = 0;
    int flag = 0;
    if (QueryArrayInfo(count, flag) != 0 || count == 0)
        return ByteString();
    throw InvalidOp(InvalidOp::RTRC_InvalidFormat, __PRETTY_FUNCTION__, __LINE__);
}
