#ifndef NORVEXA_COMPILER_EE_OSTRELFIGCONSTANT_H
#define NORVEXA_COMPILER_EE_OSTRELFIGCONSTANT_H

#include "frontend/EE_ArenaString.h"
#include "frontend/EE_FigConstant.h"
#include "frontend/EE_LiteralValue.h"

class EE_StorageArena;

// A COBOL figurative constant: the token kind it was written as, its value
// kind (always alphanumeric), a one-byte character-string type and its one
// EBCDIC byte; made in the services' arena.
class EE_OstrelFigConstant : public EE_FigConstant {
public:
    EE_OstrelFigConstant(unsigned token, EE_TypeDescriptor* type, char byte, EE_StorageArena& arena)
        : tokenKind(token), kind(EE_LiteralValue::Alphanumeric), descriptor(type), text(&byte, 1, &arena)
    {}

    EE_TypeDescriptor* typeDescriptor() const override { return descriptor; }
    // The constant's COBOL word ("HIGH-VALUES", "ZERO", ...); "?" for a
    // token kind that names none.
    EE_String signature() override;

    unsigned tokenKind;
    EE_LiteralValue::Kind kind;
    EE_TypeDescriptor* descriptor;
    EE_ArenaString text;
};

#endif
