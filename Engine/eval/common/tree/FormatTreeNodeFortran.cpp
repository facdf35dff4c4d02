#include "tree/FormatTreeNode.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "services/InvalidOp.h"

namespace {

// The Fortran descriptor array a type is, or null.
const _TYPE_ENTRY* fortranArray(const TypeItem& type)
{
    const _TYPE_ENTRY* e = type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
    return e != nullptr && e->leaf == TE_F90_DESC_ARRAY ? e : nullptr;
}

} // namespace

int FormatTreeNode::FortranArrayElementName(UBYTE1* arrayName, BYTE4 index, char* output, int outputSize) const
{
    // The node's own type, or the type a reference node refers to.
    const TypeItem* type = &dataType();
    const _TYPE_ENTRY* e = fortranArray(*type);
    if (e == nullptr) {
        type = &typeOfDataItem();
        e = fortranArray(*type);
    }
    if (e == nullptr)
        throw InvalidOp(InvalidOp::RTRC_FIXME, __PRETTY_FUNCTION__, __LINE__);
    TypeItem::Dimension dimension;
    type->getDimension(dimension);
    const std::string subscript = std::to_string(dimension.lower - 1 + static_cast<std::int64_t>(index));
    const std::string name = arrayName != nullptr ? reinterpret_cast<const char*>(arrayName) : "";
    std::string full;
    const std::size_t colon = name.rfind(':');
    if (colon != std::string::npos) {
        // A name of a section of the array: the subscript takes the place of
        // the last ':'.
        full = name.substr(0, colon) + subscript + " " + name.substr(colon + 1);
    } else {
        full = name + "(";
        const unsigned rank = e->f90descarray.rank;
        const unsigned walked = e->f90descarray.dimension;
        for (unsigned d = walked; d < rank; ++d)
            full += ":, ";
        full += subscript + " )";
    }
    if (output == nullptr || outputSize <= 0)
        return 0;
    const std::size_t copied = std::min<std::size_t>(full.size(), static_cast<std::size_t>(outputSize));
    std::memcpy(output, full.data(), copied);
    if (copied < static_cast<std::size_t>(outputSize))
        output[copied] = '\0';
    return static_cast<int>(copied);
}
