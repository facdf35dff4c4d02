#include "tree/FormatByType.h"

#include <cstdio>

#include "services/EvaluationEnvironment.h"
#include "services/Message.h"
#include "tree/TreeNode.h"
#include "types/TypeItem.h"

namespace FormatByType {

const _TYPE_ENTRY& requireKind(const TypeItem& type, std::initializer_list<UBYTE4> kinds, const char* function,
                               unsigned line)
{
    const _TYPE_ENTRY* e = type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
    if (e != nullptr) {
        for (UBYTE4 kind : kinds)
            if (e->leaf == kind)
                return *e;
    }
    throw InvalidOp(InvalidOp::RTRC_Other, function, line);
}

bool keptLoadError(const TreeNode& node, ByteString& text)
{
    if ((node.flags2() & TreeNode::flag2LoadError) == 0)
        return false;
    char detail[16];
    std::snprintf(detail, sizeof detail, "%u", static_cast<unsigned>(node.errorDetail()));
    text = Message(52, detail, nullptr).textAsByteString();
    return true;
}

const _TYPE_ENTRY* formatEntry(const TreeNode& node, const TypeItem& type, std::initializer_list<UBYTE4> kinds,
                               ByteString& kept, const char* function, unsigned line)
{
    const _TYPE_ENTRY& e = requireKind(type, kinds, function, line);
    return keptLoadError(node, kept) ? nullptr : &e;
}

std::uint64_t heldBytes(const TreeNode& node)
{
    const unsigned char* start = node.evaluationBuffer();
    const unsigned char* end = node.evaluationBufferEnd();
    if (start == nullptr || end == nullptr || end < start)
        return 0;
    return static_cast<std::uint64_t>(end - start);
}

const unsigned char* storedBytes(const TreeNode& node, std::uint64_t count, InvalidOp::InvalidOperation code,
                                 const char* function, unsigned line)
{
    if (heldBytes(node) < count)
        throw InvalidOp(code, function, line);
    return node.evaluationBuffer();
}

const unsigned char* valueBytes(const TreeNode& node, std::uint64_t count, const char* function, unsigned line)
{
    return storedBytes(node, count, InvalidOp::RTRC_InvalidFormat, function, line);
}

unsigned valueSize(const TreeNode& node)
{
    std::uint64_t size = node.evaluationBufferSize();
    return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<unsigned>(size);
}

std::string hexDigits(const unsigned char* bytes, std::uint64_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(static_cast<std::size_t>(2 * count));
    for (std::uint64_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0xF];
    }
    return text;
}

std::string asString(const ByteString& s)
{
    return std::string(reinterpret_cast<const char*>(s.data()), s.length());
}

char languageQuote()
{
    return isCobolLanguage() ? '\'' : '"';
}

unsigned wholeLength(unsigned count)
{
    return count > 0xFFFFFFFFu - 8 ? 0xFFFFFFFFu : (count + 4 < 8 ? 8 : count + 4);
}

} // namespace FormatByType
