#include "types/ConstSymbolItem.h"

ConstSymbolItem::ConstSymbolItem(const char* name, const TypeItem& enumeration, ScopeItem& scope, std::uint64_t value,
                                 std::uint32_t underlyingSize)
    : SymbolItem(enumeration, scope, name, false), cell_(value)
{
    pseudo_.typed.kind = SE_CONSTANT;
    pseudo_.typed.flags = 0;
    pseudo_.typed.name = name;
    pseudo_.typed.type = enumeration.unsimplifiedTypeIndex();
    pseudo_.typed.u.value = &cell_;
    _entry = &pseudo_;
    _isConstant = true;
    _addressState = addressCached;
    _member.size = underlyingSize;
    _member.flags = MemberLayout::staticMember;
}
