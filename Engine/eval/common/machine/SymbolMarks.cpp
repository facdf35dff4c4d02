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
    // The host's entries carry no guard of their own: every variable with
    // storage in the debuggee is guarded, so that a COBOL store into it is
    // refused while the host replays a recording.
    marks.playbackGuard = symbol.isPlaybackGuarded() || !(symbol.isConstant() || symbol.noStorage());
    marks.addressLoad = symbol.isAddressLoad();
    return marks;
}
