#ifndef NORVEXA_MACHINE_SYMBOLMARKS_H
#define NORVEXA_MACHINE_SYMBOLMARKS_H

#include "types/SymbolItem.h"

// The marks of a symbol the machine acts on, read in this one place: the
// C imaginary unit, a register variable, a static member, a constant, a
// variable removed by the optimizer, one whose writes are guarded in
// playback, and one whose address is read from its location.
struct SymbolMarks {
    bool imaginaryUnit = false;
    bool registerVariable = false;
    bool staticMember = false;
    bool constant = false;
    bool optimized = false;
    bool playbackGuard = false;
    bool addressLoad = false;

    // Inline: every load of a variable reads them.
    static SymbolMarks of(const SymbolItem& symbol)
    {
        SymbolMarks marks;
        marks.imaginaryUnit = symbol.noStorage();
        marks.registerVariable = symbol.isRegister();
        marks.staticMember = (symbol.memberLayout().flags & SymbolItem::MemberLayout::staticMember) != 0;
        marks.constant = symbol.isConstant();
        marks.optimized = symbol.isOptimized();
        // The host's entries carry no guard of their own: every variable
        // with storage in the debuggee is guarded, so that a COBOL store
        // into it is refused while the host replays a recording.
        marks.playbackGuard = symbol.isPlaybackGuarded() || !(symbol.isConstant() || symbol.noStorage());
        marks.addressLoad = symbol.isAddressLoad();
        return marks;
    }
};

#endif
