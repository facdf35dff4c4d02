#ifndef NORVEXA_MACHINE_SYMBOLMARKS_H
#define NORVEXA_MACHINE_SYMBOLMARKS_H

class SymbolItem;

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

    static SymbolMarks of(const SymbolItem& symbol);
};

#endif
