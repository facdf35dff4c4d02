#include "types/ConstSymbolItem.h"

ConstSymbolItem::ConstSymbolItem(const TypeItem& enumeration, ScopeItem& scope, const char* name,
                                 std::uint64_t value, std::uint32_t underlyingSize)
    : SymbolItem(enumeration, scope, name, false), value_(value)
{
    pseudoEntry_.header.kind = SE_CONSTANT;
    pseudoEntry_.header.name = name;
    pseudoEntry_.typed.type = enumeration.unsimplifiedTypeIndex();
    pseudoEntry_.typed.u.value = &value_;
    _entry = &pseudoEntry_;
    _isConstant = true;
    _addressState = addressCached;
    _member.size = underlyingSize;
    _member.flags = MemberLayout::staticMember;
}
