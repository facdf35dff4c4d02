#include "tree/FormatTreeNode.h"

#include "services/SVC.h"
#include "tree/UpdateTreeNode.h"

namespace {

// The representation a member or element is shown in: its own, else the
// default of its type's row; 0 when it has none.
DBG_REPS memberRepresentation(const FormatTreeNode& node, const TypeItem& type, unsigned rank)
{
    if (node.representation() != 0)
        return node.representation();
    try {
        const DebugType::FormatInfo* row = DebugType::instance().resultTypes(type, rank);
        if (row != nullptr && row->count() > 0)
            return DebugType::defaultRepresentation(*row);
    } catch (...) {
    }
    return 0;
}

// What is left of the budget of maxLength once text is written.
long long budgetLeft(unsigned int maxLength, const ByteString& text)
{
    return static_cast<long long>(maxLength) - 9 - static_cast<long long>(text.length());
}

ByteString braced(const ByteString& open, const ByteString& inner, const ByteString& close)
{
    ByteString text(open);
    text += inner;
    text += close;
    return text;
}

} // namespace

ByteString FormatTreeNode::formatAddressAsArray(DebuggeeLocation location, const TypeItem& elementType,
                                                unsigned int maxLength) const
{
    if (location.kind() != DebuggeeLocation::debuggeeMemory)
        return ByteString(reinterpret_cast<const unsigned char*>("{...}"), 5);
    unsigned count = 0;
    int flag = 0;
    if (QueryArrayInfo(count, flag) != 0 || count == 0)
        return emptyText();
    UpdateTreeNode* element = nullptr;
    if (QueryArrayElementInfo(1, element) != 0 || element == nullptr)
        return emptyText();
    long long budget = static_cast<long long>(maxLength) - 9;
    if (budget < 1)
        return emptyText();

    ByteString text;
    bool dots = false;
    bool notFirst = false;
    unsigned long long next = 2;
    for (;;) {
        const DBG_REPS rep = memberRepresentation(*element, elementType, rank());
        if (rep == 0) {
            dots = true;
            break;
        }
        ByteString value;
        try {
            value = element->format(rep, static_cast<unsigned>(budget));
        } catch (...) {
            dots = true;
            break;
        }
        unsigned length = value.length();
        while (length > 0 && value[length - 1] == 0)
            --length;
        if (length == 0 || (length == 3 && value[0] == '.' && value[1] == '.' && value[2] == '.')) {
            dots = true;
            break;
        }
        if (notFirst)
            text += separatorText();
        text += ByteString(value.data(), length);
        if (next > count)
            break;
        element = nullptr;
        if (QueryArrayElementInfo(next, element) != 0 || element == nullptr) {
            text += separatorText();
            dots = true;
            break;
        }
        notFirst = true;
        budget = budgetLeft(maxLength, text);
        const unsigned long long fetched = next++;
        if (fetched == 6 || budget < 1) {
            text += separatorText();
            dots = true;
            break;
        }
    }
    if (dots)
        text += dotsText();
    return braced(openText(), text, closeText());
}

ByteString FormatTreeNode::formatClassOrStructure(DBG_REPS, unsigned int maxLength) const
{
    if (SVC::debuggerVersion()->addressForms == 0)
        return emptyText();
    long long budget = static_cast<long long>(maxLength) - 9;
    if (budget < 1)
        return emptyText();
    if (firstChild() == nullptr)
        return braced(openText(), dotsText(), closeText());

    ByteString text;
    for (UpdateTreeNode* child = firstChild(); child != nullptr; child = child->nextSibling()) {
        const DBG_REPS rep = memberRepresentation(*child, child->dataType(), 0);
        if (rep == 0) {
            text = dotsText();
            break;
        }
        ByteString value;
        try {
            value = child->format(rep, static_cast<unsigned>(budget));
        } catch (...) {
            text = dotsText();
            break;
        }
        if (value.empty()) {
            text += dotsText();
            break;
        }
        if (!text.empty())
            text += separatorText();
        text += value;
        budget = budgetLeft(maxLength, text);
        if (budget < 1)
            break;
    }
    return braced(openText(), text, closeText());
}
