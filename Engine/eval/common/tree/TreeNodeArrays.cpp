#include "tree/TreeNode.h"

#include <cctype>
#include <limits>

#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "tree/FormatTreeNode.h"
#include "tree/SqlHostVariable.h"
#include "tree/UpdateTreeNode.h"

// The array queries of a program's arrays: C, C++, Fortran and UPC arrays
// and COBOL tables. An element is made when it is first asked for and found
// again by its index, so expanding n elements costs n times one.

namespace {

const char elementName_[] = "UBYTE2 TreeNode::programArrayElement(UBYTE8, UpdateTreeNode*&) const";

// The outermost dimension of an array type; false when it cannot be had.
bool outerDimension(const TypeItem& array, TypeItem::Dimension& dimension)
{
    try {
        array.getDimension(dimension);
    } catch (const InvalidOp&) {
        return false;
    }
    return !dimension.countUnknown && dimension.count >= 0 && dimension.length != 0;
}

} // namespace

std::string TreeNode::elementName(unsigned long long index, std::int64_t lower) const
{
    std::string name(reinterpret_cast<const char*>(name_.data()), name_.length());
    const long long subscript = lower + static_cast<long long>(index) - 1;
    const int language = environmentLanguage();
    if (language == EvaluationEnvironment::languageCOBOL) {
        // A group member's name carries its level ("05 TAB"): the element
        // is written without it, a table in a table as TAB(1, 2).
        if (name.size() > 3 && std::isdigit(static_cast<unsigned char>(name[0])) &&
            std::isdigit(static_cast<unsigned char>(name[1])) && name[2] == ' ')
            name.erase(0, 3);
        if (!name.empty() && name.back() == ')')
            return name.substr(0, name.size() - 1) + ", " + std::to_string(subscript) + ")";
        return name + "(" + std::to_string(subscript) + ")";
    }
    if (language == EvaluationEnvironment::languageFortran)
        return name + "(" + std::to_string(subscript) + ")";
    if (simpleName(name_.data()) || (!name.empty() && name.back() == ']'))
        return name + "[" + std::to_string(subscript) + "]";
    return "(" + name + ")[" + std::to_string(subscript) + "]";
}

std::uint16_t TreeNode::programArrayInfo(unsigned int& count, int& flag) const
{
    setInternalRepresentation();
    TypeItem::Dimension dimension;
    if (!outerDimension(typeOfDataItem(), dimension)) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Not a valid array. Number of elements is %d", 0);
        return 10000;
    }
    const std::uint64_t n = static_cast<std::uint64_t>(dimension.count);
    count = n > std::numeric_limits<unsigned>::max() ? std::numeric_limits<unsigned>::max() : static_cast<unsigned>(n);
    flag = 1;
    return 0;
}

std::uint16_t TreeNode::programArrayElement(unsigned long long index, UpdateTreeNode*& node) const
{
    setInternalRepresentation();
    const TypeItem& array = typeOfDataItem();
    TypeItem::Dimension dimension;
    if (!outerDimension(array, dimension) || index < 1 || index > static_cast<std::uint64_t>(dimension.count))
        return 10000;
    if (index - 1 > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) / dimension.length)
        return 10000;
    if (UpdateTreeNode* made = elementAt(index)) {
        node = made;
        return 0;
    }
    std::string name;
    const _TYPE_ENTRY* e = array.typeIndex().module() == 0 ? nullptr : array.typeEntry();
    const auto* formatting = dynamic_cast<const FormatTreeNode*>(this);
    if (e != nullptr && e->leaf == TE_F90_DESC_ARRAY && formatting != nullptr) {
        char text[512];
        const int n = formatting->FortranArrayElementName(const_cast<UBYTE1*>(name_.data()), static_cast<BYTE4>(index),
                                                          text, sizeof text - 1);
        name.assign(text, static_cast<std::size_t>(n));
    } else {
        name = elementName(index, dimension.lower);
    }
    const TypeItem* element = nullptr;
    try {
        element = &array.dereference();
    } catch (const InvalidOp&) {
        SVC::fTrace(elementName_, __LINE__, "Element type is invalid for array %s", name_.data());
        return 10000;
    }
    Reference<UpdateTreeNode> child(
        new UpdateTreeNode(*element, name.c_str(), static_cast<std::int64_t>((index - 1) * dimension.length)));
    const_cast<TreeNode*>(this)->addElement(child, index);
    node = child.get();
    return 0;
}
