#ifndef NORVEXA_TYPES_TYPEITEMSUPPORT_H
#define NORVEXA_TYPES_TYPEITEMSUPPORT_H

// Helpers shared by the source files of TypeItem (TypeItem*.cpp): the
// current environment's language and address size, host entries of an
// index, and the errors the type model raises. Internal to the type model.

#include <cinttypes>
#include <cstdio>

#include "HostRecordAccess.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"
#include "types/PrimitiveType.h"
#include "types/TypeItem.h"

namespace TypeItemSupport {

inline constexpr std::uint32_t createdModule = 0xFFFFFFFFu;
inline constexpr std::uint32_t staticModule = 0xFFFFFFFEu;
// Simplification gives up after this many steps: only a cycle in the host's
// records can take it that far.
inline constexpr unsigned simplifyStepLimit = 4096;

inline bool inCobol()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->language() == EvaluationEnvironment::languageCOBOL;
}

inline bool inFortran()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->language() == EvaluationEnvironment::languageFortran;
}

inline unsigned addressSize()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return (env != nullptr && env->addressSize() == 8) ? 8 : 4;
}

inline const LCC_Eval_Context_Info* currentContext()
{
    return EvaluationEnvironment::currentRep()->context();
}

// The entry of an index as the host services resolve it (null for module
// word 0).
inline const _TYPE_ENTRY* entryOf(TYPE_INDEX index)
{
    if (index.module == 0)
        return nullptr;
    return SVC::ExprGetTypeEntry(currentContext(), index);
}

inline bool isPointerFormCode(unsigned code)
{
    return PrimitiveType::isPointerForm(code);
}

// Codes whose size is the program's address size: the pointer forms of the
// primitives.
inline bool isSizedPointerCode(unsigned code)
{
    return (code >= 160 && code <= 162) || (code >= 164 && code <= 166) || (code >= 168 && code <= 178) ||
           (code >= 180 && code <= 183) || (code >= 187 && code <= 189) || code == 191 || code == 224 || code == 225 ||
           (code >= 228 && code <= 230) || (code >= 235 && code <= 237);
}

inline void throwOther(const char* function, unsigned line, const char* text = nullptr)
{
    if (text != nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line, text);
    throw InvalidOp(InvalidOp::RTRC_Other, function, line);
}

// A short text naming a type in the trace: its display name, else its index.
inline const char* traceText(const TypeItem& type, char (&buffer)[96])
{
    if (type.hasValidName() && !type.cachedName().empty()) {
        std::snprintf(buffer, sizeof buffer, "%s", reinterpret_cast<const char*>(type.cachedName().data()));
    } else {
        std::snprintf(buffer, sizeof buffer, "t_%" PRIx32 "(%" PRIu32 ")", type.typeIndex().module(),
                      type.typeIndex().index());
    }
    return buffer;
}

// The type of an index as the environment keeps it.
inline const TypeItem& typeOf(TYPE_INDEX typeIndex)
{
    return *CreatedTypeItem::findOrCreateType(typeIndex, nullptr);
}

[[noreturn]] inline void throwFixme(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_FIXME, function, line);
}

inline bool isFortranPointer(const TypeItem& t)
{
    return t.hasFlag(TypeFlags::pointer) && t.hasFlag(TypeFlags::fortranDescriptor);
}

// The value of a host DWARF block, evaluated at an object address (none when
// objectAddress is null).
inline std::int64_t blockValue(const DwarfBlock* block, const std::uint64_t* objectAddress)
{
    const UBYTE8 base = objectAddress != nullptr ? *objectAddress : 0;
    return SVC::GetDwarfValue(currentContext(), dwarfBlockBytes(block), dwarfBlockLength(block),
                              objectAddress != nullptr ? &base : nullptr);
}

// A big-endian number of 2, 4 or 8 bytes, signed.
inline std::int64_t signedBigEndian(const unsigned char* bytes, unsigned size)
{
    std::uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v = (v << 8) | bytes[i];
    if (size < 8 && (bytes[0] & 0x80))
        v |= ~std::uint64_t(0) << (size * 8);
    return static_cast<std::int64_t>(v);
}

} // namespace TypeItemSupport

#endif
