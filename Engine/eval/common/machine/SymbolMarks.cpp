#include "machine/SymbolMarks.h"

#include "types/SymbolItem.h"

SymbolMarks SymbolMarks::of(const SymbolItem& symbol)
{
    SymbolMarks marks;
    marks.imaginaryUnit = symbol.noStorage();
    marks.registerVariable = symbol.isRegister();
    marks.staticMember = (symbol.memberLayout().flags & SymbolItem::MemberLayout::staticMember) != 0;
    marks.constant = symbol.isConstant();
    marks.optimized = symbol.isOptimized();
    marks.playbackGuard = symbol.isPlaybackGuarded();
    marks.addressLoad = symbol.isAddressLoad();
    return marks;
}
