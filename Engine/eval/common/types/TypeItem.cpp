#include "types/TypeItem.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <memory>

#include "HostRecordAccess.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/ObjectSize.h"
#include "services/SVC.h"
#include "types/BoundTypeData.h"
#include "types/BoundTypeItem.h"
#include "types/CreatedTypeItem.h"
#include "types/PrimitiveType.h"
#include "types/ScopeItem.h"
#include "types/SymbolItem.h"
#include "types/TypeDepthGuard.h"

namespace {

constexpr std::uint32_t createdModule = 0xFFFFFFFFu;
constexpr std::uint32_t staticModule = 0xFFFFFFFEu;
// Simplification gives up after this many steps: only a cycle in the host's
// records can take it that far.
constexpr unsigned simplifyStepLimit = 4096;

bool inCobol()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->language() == EvaluationEnvironment::languageCOBOL;
}

bool inFortran()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return env != nullptr && env->language() == EvaluationEnvironment::languageFortran;
}

unsigned addressSize()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    return (env != nullptr && env->addressSize() == 8) ? 8 : 4;
}

const LCC_Eval_Context_Info* currentContext()
{
    return EvaluationEnvironment::currentRep()->context();
}

// The entry of an index as the host services resolve it (null for module
// word 0).
const _TYPE_ENTRY* entryOf(TYPE_INDEX index)
{
    if (index.module == 0)
        return nullptr;
    return SVC::ExprGetTypeEntry(currentContext(), index);
}

bool isPointerFormCode(unsigned code)
{
    return PrimitiveType::isPointerForm(code);
}

// Codes whose size is the program's address size: the pointer forms of the
// primitives.
bool isSizedPointerCode(unsigned code)
{
    return (code >= 160 && code <= 162) || (code >= 164 && code <= 166) ||
           (code >= 168 && code <= 178) || (code >= 180 && code <= 183) ||
           (code >= 187 && code <= 189) || code == 191 || code == 224 || code == 225 ||
           (code >= 228 && code <= 230) || (code >= 235 && code <= 237);
}

void throwOther(const char* function, unsigned line, const char* text = nullptr)
{
    if (text != nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line, text);
    throw InvalidOp(InvalidOp::RTRC_Other, function, line);
}

// A short text naming a type in the trace: its display name, else its index.
const char* traceText(const TypeItem& type, char (&buffer)[96])
{
    if (type.hasValidName() && !type.cachedName().empty()) {
        std::snprintf(buffer, sizeof buffer, "%s",
                      reinterpret_cast<const char*>(type.cachedName().data()));
    } else {
        std::snprintf(buffer, sizeof buffer, "t_%" PRIx32 "(%" PRIu32 ")", type.typeIndex().module(),
                      type.typeIndex().index());
    }
    return buffer;
}

}  // namespace

// ---------------------------------------------------------------------------
// Function information block

TypeItem::FunctionInfoBlock_t& TypeItem::FunctionInfoBlock_t::operator=(const FunctionInfoBlock_t& other)
{
    if (this == &other)
        return *this;
    returnType = other.returnType;
    flags = std::uint8_t((flags & ~endsInEllipsis) | (other.flags & endsInEllipsis));
    const TypeItem** copy = nullptr;
    if (other.parameterCount != 0) {
        copy = new const TypeItem*[other.parameterCount];
        for (std::uint32_t i = 0; i < other.parameterCount; ++i)
            copy[i] = other.parameters[i];
    }
    delete[] parameters;
    parameters = copy;
    parameterCount = other.parameterCount;
    return *this;
}

void TypeItem::FunctionInfoBlock_t::addType(const TypeItem* type)
{
    const TypeItem** grown = new const TypeItem*[parameterCount + 1];
    for (std::uint32_t i = 0; i < parameterCount; ++i)
        grown[i] = parameters[i];
    grown[parameterCount] = type;
    delete[] parameters;
    parameters = grown;
    ++parameterCount;
}

// ---------------------------------------------------------------------------
// Construction

TypeItem::TypeItem()
    : index(),
      unsimplifiedIndex{0, 0},
      boundData(nullptr),
      functionInfo(nullptr),
      entry(nullptr),
      firstQualifier(nullptr),
      nameFlags(0),
      arrayCount(0),
      prefixLength(0),
      nameValid(false),
      treeChanges(false),
      treeChangesKnown(false),
      created(false),
      constructed(false),
      stringKinds(0),
      symbolFlag(false),
      cobolBool(false)
{
}

TypeItem::TypeItem(unsigned int code) : TypeItem()
{
    index = EvaluatorTypeIndex(code);
    unsimplifiedIndex = TYPE_INDEX{0, code};
    cobolBool = code == PrimitiveType::bool1 && inCobol();
}

TypeItem::TypeItem(const TYPE_INDEX& typeIndex) : TypeItem()
{
    index = typeIndex;
    unsimplifiedIndex = typeIndex;
    if (typeIndex.module == staticModule)
        entry = CreatedTypeItem::getStaticType(typeIndex);
    cobolBool = typeIndex.module == 0 && typeIndex.index == PrimitiveType::bool1 && inCobol();
    simplify();
}

TypeItem::TypeItem(const TYPE_INDEX& typeIndex, const _TYPE_ENTRY* knownEntry, bool simplifyIt) : TypeItem()
{
    index = typeIndex;
    unsimplifiedIndex = typeIndex;
    entry = knownEntry;
    if (entry == nullptr && typeIndex.module == staticModule)
        entry = CreatedTypeItem::getStaticType(typeIndex);
    cobolBool = typeIndex.module == 0 && typeIndex.index == PrimitiveType::bool1 && inCobol();
    if (simplifyIt)
        simplify();
}

TypeItem::TypeItem(const EvaluatorTypeIndex& typeIndex) : TypeItem()
{
    index = typeIndex;
    unsimplifiedIndex = typeIndex.typeIndex();
    cobolBool = typeIndex == unsigned(PrimitiveType::bool1) && inCobol();
    simplify();
}

void TypeItem::copyFrom(const TypeItem& other)
{
    flags = other.flags;
    name = other.name;
    index = other.index;
    unsimplifiedIndex = other.unsimplifiedIndex;
    boundData = other.boundData;
    entry = other.entry;
    firstQualifier = other.firstQualifier;
    nameFlags = other.nameFlags;
    arrayCount = other.arrayCount;
    prefixLength = other.prefixLength;
    nameValid = other.nameValid;
    treeChanges = other.treeChanges;
    treeChangesKnown = other.treeChangesKnown;
    created = other.created;
    constructed = other.constructed;
    stringKinds = other.stringKinds;
    symbolFlag = other.symbolFlag;
    cobolBool = other.cobolBool;
}

TypeItem::TypeItem(const TypeItem& other) : TypeItem()
{
    copyFrom(other);
    simplify();
}

TypeItem::TypeItem(const TypeItem& other, bool createdFlag) : TypeItem()
{
    copyFrom(other);
    boundData = nullptr;
    firstQualifier = nullptr;
    constructed = false;
    stringKinds = 0;
    created = createdFlag;
    simplify();
}

TypeItem::~TypeItem()
{
    delete functionInfo;
}

TypeItem& TypeItem::operator=(const TypeItem& other)
{
    if (this == &other)
        return *this;
    resetAll();
    flags = other.flags;
    name = other.name;
    nameValid = other.nameValid;
    prefixLength = other.prefixLength;
    index = other.index;
    unsimplifiedIndex = other.unsimplifiedIndex;
    entry = other.entry;
    firstQualifier = other.firstQualifier;
    boundData = other.boundData;
    created = other.created;
    stringKinds = other.stringKinds;
    symbolFlag = other.symbolFlag;
    cobolBool = other.cobolBool;
    return *this;
}

TypeItem& TypeItem::operator=(const TYPE_INDEX& typeIndex)
{
    resetAll();
    index = typeIndex;
    unsimplifiedIndex = typeIndex;
    simplify();
    return *this;
}

TypeItem& TypeItem::operator=(const EvaluatorTypeIndex& typeIndex)
{
    resetAll();
    index = typeIndex;
    unsimplifiedIndex = typeIndex.typeIndex();
    return *this;
}

void TypeItem::resetAll()
{
    name = ByteString();
    index = EvaluatorTypeIndex();
    delete functionInfo;
    functionInfo = nullptr;
    entry = nullptr;
    boundData = nullptr;
    flags.clear();
    prefixLength = 0;
    nameValid = false;
    treeChanges = false;
    treeChangesKnown = false;
    created = false;
    stringKinds = 0;
    symbolFlag = false;
    cobolBool = false;
}

void TypeItem::setNameText(const char* text)
{
    name = ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

// ---------------------------------------------------------------------------
// Entry and simplification

const _TYPE_ENTRY* TypeItem::typeEntry() const
{
    if (entry != nullptr || created || index.module() == 0)
        return entry;
    entry = SVC::ExprGetTypeEntry(currentContext(), index.typeIndex());
    return entry;
}

bool TypeItem::subsume(const TYPE_INDEX& typeIndex)
{
    const TypeItem* other = CreatedTypeItem::findOrCreateType(typeIndex, nullptr);
    if (other == nullptr)
        return false;
    flags.merge(*other);
    index = other->index;
    entry = other->entry;
    if (!nameValid && other->nameValid) {
        name = other->name;
        nameValid = true;
    }
    return true;
}

void TypeItem::appendSharedSuffix(unsigned blockElements)
{
    char suffix[48];
    if (blockElements == 0)
        std::snprintf(suffix, sizeof suffix, " shared [] ");
    else if (blockElements == 1)
        std::snprintf(suffix, sizeof suffix, " shared ");
    else
        std::snprintf(suffix, sizeof suffix, " shared [%u] ", blockElements);
    name += ByteString(reinterpret_cast<const unsigned char*>(suffix), static_cast<unsigned>(std::strlen(suffix)));
}

bool TypeItem::simplify()
{
    if (index.module() == 0) {
        entry = nullptr;
        return false;
    }
    if (index.module() <= 255)
        return false;

    bool changed = false;
    unsigned tagCount = 0;
    bool fromTag = false;
    bool wcharSeen = false;
    try {
        flags.set(*this);
        const _TYPE_ENTRY* e = typeEntry();
        for (unsigned steps = 0; e != nullptr; ++steps) {
            if (steps == simplifyStepLimit) {
                entry = nullptr;
                break;
            }
            bool goOn = true;
            TYPE_INDEX inner{0, 0};
            bool hasInner = false;
            switch (e->leaf) {
            case TE_NAMEDTAG: {
                changed = true;
                if (fromTag)
                    ++tagCount;
                const char* text = e->namedtag.name;
                if (text != nullptr && *text != '\0' && !nameValid) {
                    setNameText(text);
                    fromTag = true;
                    nameValid = true;
                }
                inner = TYPE_INDEX(e->namedtag.namedType);
                hasInner = true;
                break;
            }
            case TE_TYPEDEF:
            case TE_TYPEDEF2: {
                changed = true;
                const char* text = e->typedef_.name;
                if (text != nullptr && *text != '\0') {
                    setNameText(text);
                    nameValid = true;
                    fromTag = false;
                    if (!wcharSeen && std::strcmp(text, "wchar_t") == 0)
                        wcharSeen = true;
                }
                inner = TYPE_INDEX(e->typedef_.aliasedType);
                hasInner = true;
                break;
            }
            case TE_DECORATION:
                changed = true;
                if (!subsume(TYPE_INDEX(e->modifier.type)))
                    goOn = false;
                flags.add(TypeFlags::decorated);
                break;
            case TE_UPC_SHARED:
                changed = true;
                if (!subsume(TYPE_INDEX(e->upcshared.qualifiedType))) {
                    goOn = false;
                    break;
                }
                if (nameValid)
                    appendSharedSuffix(sharedBlockElements());
                fromTag = false;
                break;
            case TE_QUALIFIER:
                changed = true;
                if (firstQualifier == nullptr)
                    firstQualifier = e;
                index = TYPE_INDEX(e->modifier.type);
                inner = TYPE_INDEX(e->modifier.type);
                hasInner = true;
                break;
            case TE_POINTER: {
                goOn = false;
                UBYTE4 kindFlags = e->pointer.flags;
                if (kindFlags & TNpointer_ToShared) {
                    flags.add(TypeFlags::pointerToShared);
                    break;
                }
                TYPE_INDEX target = e->pointer.target;
                unsigned size = addressSize();
                bool wrongWidth = ((kindFlags & TNpointer_Bytes4) && size == 8) ||
                                  ((kindFlags & TNpointer_Bytes8) && size == 4);
                if (target.module == 0 && target.index >= 1 && target.index <= 255 &&
                    !isPointerFormCode(target.index) && !wrongWidth) {
                    changed = true;
                    index = EvaluatorTypeIndex(target.index | PrimitiveType::pointerBit);
                    flags.add(TypeFlags::pointer);
                    if (target.index == PrimitiveType::voidType)
                        flags.add(TypeFlags::pointerToVoid);
                    entry = nullptr;
                }
                break;
            }
            default:
                goOn = false;
                break;
            }
            if (hasInner)
                goOn = subsume(inner);
            if (!goOn)
                break;
            e = entry;
        }
    } catch (...) {
        entry = nullptr;
    }

    if (wcharSeen && index.module() == 0) {
        unsigned code = index.index();
        if (code == 129 || code == 133 || code == 145) {
            index = EvaluatorTypeIndex(unsigned(PrimitiveType::wchar2));
            changed = true;
        } else if (code == 130 || code == 134 || code == 146) {
            index = EvaluatorTypeIndex(unsigned(PrimitiveType::wchar4));
            changed = true;
        }
    }

    if (fromTag && entry != nullptr && tagCount == 0 &&
        (entry->leaf == TE_CLASS || entry->leaf == TE_GROUP || entry->leaf == TE_STRUCT)) {
        const char* keyword = nullptr;
        bool isUnionType = false;
        try {
            isUnionType = isUnion();
        } catch (...) {
        }
        if (isUnionType)
            keyword = "union";
        else if ((entry->leaf == TE_CLASS || entry->leaf == TE_GROUP) && !(entry->klass.flags & TNclass_Struct))
            keyword = "class";
        else if (!inCobol())
            keyword = "struct";
        else
            keyword = isNationalGroup() ? "NATIONAL GROUP" : "GROUP";
        ByteString text(reinterpret_cast<const unsigned char*>(keyword), static_cast<unsigned>(std::strlen(keyword)));
        if (!name.empty())
            text += ByteString(reinterpret_cast<const unsigned char*>(" "), 1) + name;
        name = text;
    }
    return changed;
}

bool TypeItem::operator==(const TypeItem& other) const
{
    if (this == &other)
        return true;
    const_cast<TypeItem*>(this)->simplify();
    const_cast<TypeItem&>(other).simplify();
    return index == other.index;
}

bool TypeItem::operator!=(const TypeItem& other) const
{
    return !(*this == other);
}

// ---------------------------------------------------------------------------
// Kinds

TypeKind TypeItem::kind() const
{
    char text[96];
    auto answer = [&](TypeKind k) {
        if (*SVC::traceEnabled())
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Returns %s for type %s", typeKindName(k),
                        traceText(*this, text));
        return k;
    };
    auto unknown = [&](unsigned code) -> TypeKind {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Unknown type %u for type %s   %" PRIx32 "(%" PRIu32 ")",
                    code, traceText(*this, text), index.module(), index.index());
        throwOther(__PRETTY_FUNCTION__, __LINE__);
        return t_void;
    };

    const _TYPE_ENTRY* e = index.module() == 0 ? nullptr : typeEntry();
    if (e == nullptr) {
        unsigned code = index.index();
        if (index.module() == 0 && isPointerFormCode(code))
            return answer(t_pointer);
        const PrimitiveType* p = PrimitiveType::find(code);
        if (p == nullptr || p->kind < 0)
            return unknown(code);
        return answer(static_cast<TypeKind>(p->kind));
    }

    switch (e->leaf) {
    case TE_ARRAY:
    case TE_F90_DESC_ARRAY: return answer(t_array);
    case TE_VUM_ARRAY:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Returns t_array for TE_VUM_ARRAY");
        return answer(t_array);
    case TE_ENUM:
    case TE_ENUM2: return answer(t_enum);
    case TE_REFERENCE:
        return answer((e->reference.flags & TNreference_AddressOf) ? t_addressOfReference : t_reference);
    case TE_F90_ALLOCATABLE: return answer(t_reference);
    case TE_CLASS:
    case TE_STRUCT:
    case TE_GROUP:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66: return answer(t_namedType);
    case TE_FUNCTION:
    case TE_METHOD:
    case TE_PROCEDURE:
    case TE_BUILTIN_PROCEDURE: return answer(t_function);
    case TE_POINTER: return answer(t_pointer);
    case TE_F90_POINTER: return answer(t_f90Pointer);
    case TE_PACKED_DECIMAL: return answer(t_packedDecimal);
    case TE_FIXED_POINT_BINARY: return answer(t_fixedPointBinary);
    case TE_CHARSTRING:
    case TE_COBOL_TABLE: return answer(t_characterString);
    case TE_ZONED_DECIMAL: return answer(t_zonedDecimal);
    case TE_NATIONAL_DECIMAL: return answer(t_nationalDecimal);
    case TE_NATIONAL_STRING: return answer(t_nationalString);
    case TE_INDEX_NAME: return answer(t_indexName);
    case TE_INDEX_DATA_ITEM: return answer(t_indexDataItem);
    case TE_EXTERNAL_FLOAT: return answer(t_externalFloat);
    case TE_ALPHA_NUMERIC_EDITED: return answer(t_alphaNumericEdited);
    case TE_NUMERIC_EDITED: return answer(t_numericEdited);
    case TE_NATIONAL_EXTERNAL_FLOAT: return answer(t_nationalExternalFloat);
    case TE_NATIONAL_EDITED: return answer(t_nationalEdited);
    case TE_NATIONAL_NUMERIC_EDITED: return answer(t_nationalNumericEdited);
    case TE_FILE_DESCRIPTOR: return answer(t_filedesc);
    case TE_DBCS_STRING: return answer(t_dbcsString);
    case TE_DBCS_EDITED: return answer(t_dbcsEdited);
    case TE_TYPEDEF:
    case TE_TYPEDEF2: {
        // The kind of what the typedef names: a copy over the same entry,
        // which simplification strips to the aliased type.
        TypeItem aliased(index.typeIndex(), e, true);
        const _TYPE_ENTRY* inner = aliased.entry;
        if (inner != nullptr && isTypedefLeaf(inner->leaf))
            return unknown(inner->leaf);
        return aliased.kind();
    }
    case TE_INTEGER: {
        unsigned size = typeSize();
        bool isUnsigned = (e->integer.flags & TNinteger_Unsigned) != 0;
        if (size == 1)
            return answer((e->integer.bitLength == 1 || isUnsigned) ? t_unsignedChar : t_signedChar);
        if (size == 2)
            return answer(isUnsigned ? t_unsignedShortInt : t_signedShortInt);
        if (size == 4)
            return answer(isUnsigned ? t_unsignedLongInt : t_signedLongInt);
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Incorrect size (%u) for type %s   %" PRIx32 "(%" PRIu32 ")",
                    size, traceText(*this, text), index.module(), index.index());
        throwOther(__PRETTY_FUNCTION__, __LINE__);
        return t_void;
    }
    default: return unknown(e->leaf);
    }
}

const TypeItem* TypeItem::simpleType(TypeKind kind)
{
    static const unsigned codes[TypeKindCount] = {
        144, 145, 146, 157, 148, 128, 132, 129, 133, 130, 134, 130, 134, 155, 156, 136,
        196, 137, 197, 138, 198, 140, 141, 142, 0,   0,   0,   0,   0,   0,   0,   151,
        0,   0,   159, 192, 193, 0,   0,   0,   195, 199, 200, 201, 0,   0,   0,   0,
        0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   203, 204, 205,
    };
    int k = static_cast<int>(kind);
    if (k < 0 || k >= TypeKindCount)
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    switch (kind) {
    case t_signedLongInt:
        return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, addressSize() == 8 ? 155u : 130u}, nullptr);
    case t_unsignedLongInt:
        return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, addressSize() == 8 ? 156u : 134u}, nullptr);
    case t_wchar_t: return wcharType();
    case t_decimal32:
    case t_decimal64:
    case t_decimal128:
        if (!(debuggerEnvironment() & 8))
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        break;
    case t_packedDecimal:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:PackedDecimal?");
        if (!(debuggerEnvironment() & 4)) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:PackedDecimal.NOT.Supported!");
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        }
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:PackedDecimal.Supported.");
        return CreatedTypeItem::makePackedDecimalType(0, 0);
    case t_zonedDecimal:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:ZonedDecimal?");
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:ZonedDecimal.Supported.");
        return CreatedTypeItem::makeZonedDecimalType(0, 0);
    case t_nationalDecimal:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:NationalDecimal?");
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "DT:NationalDecimal.Supported.");
        return CreatedTypeItem::makeNationalDecimalType(0, 0);
    default: break;
    }
    unsigned code = codes[k];
    if (code == 0)
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, code}, nullptr);
}

const TypeItem* TypeItem::wcharType()
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentOrNull();
    if (env == nullptr) {
        // Nothing to search and nowhere to keep a created type: the 4-byte
        // wide character of this thread stands in.
        thread_local const TypeItem wide(unsigned(PrimitiveType::wchar4));
        return &wide;
    }
    auto primitive = [](unsigned code) {
        return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, code}, nullptr);
    };
    // Without a context there is no file whose "wchar_t" could be asked for.
    if (env->context() == nullptr)
        return primitive(PrimitiveType::wchar4);
    ScopeItem* file = ScopeItem::fileScope();
    SymbolItem* symbol = file != nullptr ? file->findType("wchar_t", 1) : nullptr;
    if (symbol == nullptr)
        return primitive(PrimitiveType::wchar4);
    // The program's own "wchar_t": a host type stands for itself; an integer
    // of 2 or 4 bytes is the wide character of that size.
    const TypeItem& named = symbol->dataType();
    if (named.typeEntry() != nullptr)
        return &named;
    switch (named.index.index()) {
    case 129:
    case 133: return primitive(PrimitiveType::wchar2);
    case 130:
    case 134: return primitive(PrimitiveType::wchar4);
    default: break;
    }
    return &named;
}

TypeItem TypeItem::reduce() const
{
    if (kind() == t_enum)
        return TypeItem(TYPE_INDEX(typeEntry()->enumeration.underlyingType));
    return *this;
}

const TypeItem* TypeItem::enumType() const
{
    if (hasFlag(TypeFlags::enumeration)) {
        const _TYPE_ENTRY* e = typeEntry();
        if (e != nullptr && isEnumLeaf(e->leaf)) {
            TypeItem underlying(TYPE_INDEX(e->enumeration.underlyingType));
            TypeKind k = underlying.kind();
            if (k < t_float)
                return simpleType(k);
        }
    }
    throwOther(__PRETTY_FUNCTION__, __LINE__);
    return nullptr;
}

unsigned TypeItem::equivalentPrimitiveType() const
{
    try {
        if (index.module() == 0 || typeEntry() == nullptr)
            return index.index();
        if (hasFlag(TypeFlags::pointerToShared) || hasFlag(TypeFlags::pointer) || hasFlag(TypeFlags::reference))
            return PrimitiveType::pointerToVoid;
        if (hasFlag(TypeFlags::enumeration)) {
            const TypeItem* e = enumType();
            if (e != nullptr && e->typeEntry() == nullptr)
                return e->index.index();
        }
    } catch (...) {
    }
    return PrimitiveType::noPrimitive;
}

// ---------------------------------------------------------------------------
// Sizes

unsigned TypeItem::primitiveTypeSize(unsigned int code)
{
    if (isSizedPointerCode(code))
        return addressSize();
    const PrimitiveType* p = PrimitiveType::find(code);
    return p != nullptr ? p->size : 0;
}

namespace {

// A size the host computes as a DWARF address: the whole value, 64 bits
// unless the host says the address is 32 bits wide.
std::uint64_t computedSize(const DwarfLocation& expression)
{
    const EE_ADDR a = SVC::Expr2ComputeAbsDWARFaddress(currentContext(), expression);
    if (a.width == 32)
        return a.addrLow;
    return (std::uint64_t(a.addrHigh) << 32) | a.addrLow;
}

} // namespace

std::uint64_t TypeItem::typeSize(unsigned int) const
{
    if (hasFlag(TypeFlags::pointerToShared))
        return 0;
    if (hasFlag(TypeFlags::reference) || hasFlag(TypeFlags::descriptorObject))
        return addressSize();
    if (hasFlag(TypeFlags::pointer) && hasFlag(TypeFlags::fortranDescriptor))
        return addressSize();
    const _TYPE_ENTRY* e = typeEntry();
    if (hasFlag(TypeFlags::pointer)) {
        if (e != nullptr && e->leaf == TE_POINTER) {
            if (e->pointer.flags & TNpointer_Bytes8)
                return 8;
            if (e->pointer.flags & TNpointer_Bytes4)
                return 4;
        }
        return addressSize();
    }
    if (e == nullptr)
        return primitiveTypeSize(index.index());
    if (e->leaf > TE_DBCS_EDITED)
        return 0;
    return ObjectSize::checked(recordSize(*e), __PRETTY_FUNCTION__, __LINE__);
}

std::uint64_t TypeItem::recordSize(const _TYPE_ENTRY& entry) const
{
    const _TYPE_ENTRY* e = &entry;
    // A host failure while a dynamic size is computed gives 0; a size out of
    // range is an error of its own and is passed on.
    try {
        switch (e->leaf) {
        case TE_ARRAY:
            if (arraySizeIsDynamic(e->array))
                return computedSize(arraySizeExpression(e->array));
            return arrayByteSize(e->array);
        case TE_INTEGER: return (e->integer.bitLength + 7u + e->integer.bitOffset) / 8u;
        case TE_CHARSTRING:
        case TE_NATIONAL_STRING: {
            const TNcharstring& r = e->charstring;
            if (!stringLengthIsDynamic(r))
                return r.size.length;
            DwarfLocation loc = stringLengthExpression(r);
            std::int64_t value = SVC::GetDwarfValue(currentContext(), loc.bytes, loc.length);
            if (inCobol() && (std::uint64_t(value) >> 32 != 0 || std::uint64_t(value) >= 0x8000000u))
                return 0;
            return ObjectSize::checkedSigned(value, __PRETTY_FUNCTION__, __LINE__);
        }
        case TE_CLASS:
        case TE_GROUP:
            if (classSizeIsDynamic(e->klass))
                return computedSize(classSizeExpression(e->klass));
            return classByteSize(e->klass);
        case TE_ENUM:
        case TE_ENUM2: return TypeItem(TYPE_INDEX(e->enumeration.underlyingType)).typeSize();
        case TE_POINTER: return addressSize();
        case TE_STRUCT: return e->structure.byteSize;
        case TE_F90_DESC_ARRAY: {
            Dimension d;
            getDimension(d);
            // A count below zero is an empty Fortran array (upper bound
            // below the lower one).
            if (d.countUnknown || d.count <= 0)
                return 0;
            return ObjectSize::product(static_cast<std::uint64_t>(d.count), d.length, __PRETTY_FUNCTION__, __LINE__);
        }
        case TE_PACKED_DECIMAL: return e->packed.byteLength;
        case TE_FIXED_POINT_BINARY: return e->binary.byteLength;
        case TE_ZONED_DECIMAL: return e->zoned.byteLength;
        case TE_NATIONAL_DECIMAL: return e->nationalDecimal.byteLength;
        case TE_INDEX_NAME: return e->indexName.byteLength;
        case TE_INDEX_DATA_ITEM: return e->indexDataItem.byteLength;
        case TE_EXTERNAL_FLOAT: return e->externalFloat.length;
        case TE_ALPHA_NUMERIC_EDITED: return e->alphaNumericEdited.length;
        case TE_NUMERIC_EDITED: return e->numericEdited.length;
        case TE_NATIONAL_EXTERNAL_FLOAT: return e->nationalExternalFloat.length;
        case TE_NATIONAL_EDITED: return e->nationalEdited.length;
        case TE_NATIONAL_NUMERIC_EDITED: return e->nationalNumericEdited.length;
        case TE_DBCS_STRING: return e->dbcsString.length;
        case TE_DBCS_EDITED: return e->dbcsEdited.length;
        default: return 0;
        }
    } catch (const ObjectSizeError&) {
        throw;
    } catch (const InvalidOp&) {
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Small queries

bool TypeItem::isWChar() const
{
    return typeEntry() == nullptr &&
           (index == unsigned(PrimitiveType::wchar2) || index == unsigned(PrimitiveType::wchar4));
}

bool TypeItem::isBaseClass() const
{
    if (index.module() == 0 || created)
        return false;
    const _TYPE_ENTRY* e = entry != nullptr ? entry : SVC::ExprGetTypeEntry(currentContext(), index.typeIndex());
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "dt4yat:TE=%08" PRIxPTR, reinterpret_cast<std::uintptr_t>(e));
    if (e == nullptr || e->leaf != TE_BASECLASS)
        return false;
    entry = e;
    return true;
}

bool TypeItem::isNationalGroup() const
{
    const _TYPE_ENTRY* e = typeEntry();
    return e != nullptr && isClassLeaf(e->leaf) && (e->klass.flags & TNclass_NationalGroup) != 0;
}

bool TypeItem::isCommonBlock() const
{
    const _TYPE_ENTRY* e = typeEntry();
    return e != nullptr && e->leaf == TE_LIST && e->list.kind == TE_LIST_TYPES;
}

bool TypeItem::isUnion() const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return false;
    // A bit field that does not start at the first bit places its member
    // after another one: no union.
    auto shiftedBitField = [](TYPE_INDEX memberType) {
        const _TYPE_ENTRY* t = entryOf(memberType);
        return t != nullptr && t->leaf == TE_INTEGER && t->integer.bitOffset != 0;
    };
    if (isClassLeaf(e->leaf)) {
        const _TYPE_ENTRY* list = entryOf(e->klass.fieldList);
        if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
            return false;
        unsigned atZero = 0;
        for (const TNtypeListNode* node = list->list.first.types; node != nullptr; node = node->next) {
            const _TYPE_ENTRY* m = entryOf(node->type);
            if (m == nullptr || m->leaf != TE_MEMBER || memberIsStatic(m->member))
                continue;
            if (memberOffset(m->member) != 0 || shiftedBitField(m->member.memberType))
                return false;
            if (++atZero == 2)
                return true;
        }
        return false;
    }
    if (e->leaf == TE_STRUCT && !inFortran()) {
        const _TYPE_ENTRY* names = entryOf(e->structure.memberNames);
        const _TYPE_ENTRY* types = entryOf(e->structure.memberTypes);
        if (names == nullptr || types == nullptr || names->leaf != TE_LIST || types->leaf != TE_LIST ||
            names->list.kind != TE_LIST_NAMES || types->list.kind != TE_LIST_TYPES)
            return false;
        unsigned atZero = 0;
        const TNnameListNode* n = names->list.first.names;
        const TNtypeListNode* t = types->list.first.types;
        for (; n != nullptr && t != nullptr; n = n->next, t = t->next) {
            if (nameListOffset(*n) != 0 || shiftedBitField(t->type))
                return false;
            if (++atZero == 2)
                return true;
        }
    }
    return false;
}

unsigned TypeItem::sharedBlockElements() const
{
    if (!hasFlag(TypeFlags::upcShared))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__, "Type not shared");
    return static_cast<unsigned>(flags.factor() & 0xFFFFFFFFu);
}

std::uint64_t TypeItem::sharedElementSize() const
{
    if (!hasFlag(TypeFlags::upcShared))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__, "Type not shared");
    TypeItem element(*this);
    element.flags.remove(TypeFlags::upcShared);
    element.flags.setFactor(0);
    for (unsigned depth = 0; depth < simplifyStepLimit && element.hasFlag(TypeFlags::array); ++depth) {
        const _TYPE_ENTRY* e = element.typeEntry();
        if (e == nullptr)
            break;
        TYPE_INDEX inner = typeEntryElementType(*e);
        if (typeIndexEmpty(inner))
            break;
        element = TypeItem(inner);
    }
    return element.typeSize();
}

bool TypeItem::sameBlockFactor(const TypeItem& other) const
{
    return hasFlag(TypeFlags::upcShared) && other.hasFlag(TypeFlags::upcShared) &&
           sharedBlockElements() == other.sharedBlockElements() &&
           sharedElementSize() == other.sharedElementSize();
}

bool TypeItem::hasTypeStructureChanged() const
{
    if (boundData == nullptr)
        return false;
    return boundData->hasTypeStructureChanged(const_cast<TypeItem&>(*this));
}

void TypeItem::setSymbolLocation(const DebuggeeLocation& location) const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (boundData != nullptr && e != nullptr)
        boundData->setSymbolLocation(location, *e);
}

DebuggeeLocation TypeItem::getSymbolLocation() const
{
    if (boundData != nullptr)
        return boundData->symbolLocation();
    return DebuggeeLocation();
}

// ---------------------------------------------------------------------------

TYPE_INDEX typeOfSymbol(const _SYMBOL_ENTRY& symbol)
{
    return symbolEntryType(symbol);
}

// ===========================================================================
// Navigation: pointers, references, arrays, descriptors, sharing

namespace {

// The type of an index as the environment keeps it.
const TypeItem& typeOf(TYPE_INDEX typeIndex)
{
    return *CreatedTypeItem::findOrCreateType(typeIndex, nullptr);
}

[[noreturn]] void throwFixme(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_FIXME, function, line);
}

bool isFortranPointer(const TypeItem& t)
{
    return t.hasFlag(TypeFlags::pointer) && t.hasFlag(TypeFlags::fortranDescriptor);
}

// The value of a host DWARF block, evaluated at an object address (none when
// objectAddress is null).
std::int64_t blockValue(const DwarfBlock* block, const std::uint64_t* objectAddress)
{
    const UBYTE8 base = objectAddress != nullptr ? *objectAddress : 0;
    return SVC::GetDwarfValue(currentContext(), dwarfBlockBytes(block), dwarfBlockLength(block),
                              objectAddress != nullptr ? &base : nullptr);
}

// A big-endian number of 2, 4 or 8 bytes, signed.
std::int64_t signedBigEndian(const unsigned char* bytes, unsigned size)
{
    std::uint64_t v = 0;
    for (unsigned i = 0; i < size; ++i)
        v = (v << 8) | bytes[i];
    if (size < 8 && (bytes[0] & 0x80))
        v |= ~std::uint64_t(0) << (size * 8);
    return static_cast<std::int64_t>(v);
}

}  // namespace

bool TypeItem::boundObjectAddress(std::uint64_t& address) const
{
    if (boundData == nullptr)
        return false;
    const DebuggeeLocation& where = boundData->symbolLocation();
    if (where.kind() != DebuggeeLocation::debuggeeMemory || !where.isValid())
        return false;
    address = where.address().addr();
    return true;
}

const TypeItem& TypeItem::pointee() const
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    if (isFortranPointer(*this)) {
        const _TYPE_ENTRY* e = typeEntry();
        if (e == nullptr || e->leaf != TE_F90_POINTER)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        if (boundData == nullptr)
            return typeOf(e->f90pointer.targetType);
        // The target named by the run-time descriptor: asking whether the
        // shape changed rebuilds it into the actual type's copy of the entry.
        const TypeItem* actual = boundData->actualType();
        actual->hasTypeStructureChanged();
        const _TYPE_ENTRY* actualEntry = actual->typeEntry();
        if (actualEntry == nullptr || actualEntry->leaf != TE_F90_POINTER)
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        const TypeItem* target = BoundTypeItem::getType(TYPE_INDEX(actualEntry->f90pointer.targetType));
        if (target->boundTypeData() != nullptr)
            target->setSymbolLocation(getSymbolLocation());
        return *target;
    }
    if (hasFlag(TypeFlags::pointerToVoid))
        return typeOf(TYPE_INDEX{0, PrimitiveType::voidType});
    if (hasFlag(TypeFlags::pointer)) {
        const _TYPE_ENTRY* e = typeEntry();
        if (e == nullptr)
            return typeOf(TYPE_INDEX{0, index.index() & ~unsigned(PrimitiveType::pointerBit)});
        if (e->leaf == TE_POINTER)
            return typeOf(e->pointer.target);
    }
    throwOther(__PRETTY_FUNCTION__, __LINE__);
    return *this;
}

const TypeItem& TypeItem::referent() const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (e != nullptr && (e->leaf == TE_REFERENCE || e->leaf == TE_F90_ALLOCATABLE || e->leaf == TE_F90_POINTER))
        return typeOf(typeEntryInnerType(*e));
    throwFixme(__PRETTY_FUNCTION__, __LINE__);
}

const TypeItem& TypeItem::dereference(unsigned int) const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (hasFlag(TypeFlags::pointer)) {
        if (e == nullptr)
            return typeOf(TYPE_INDEX{0, index.index() & ~unsigned(PrimitiveType::pointerBit)});
        if (e->leaf == TE_POINTER)
            return typeOf(e->pointer.target);
        if (e->leaf == TE_F90_POINTER) {
            if (boundData == nullptr)
                return typeOf(e->f90pointer.targetType);
            const _TYPE_ENTRY* actual = boundData->actualType()->typeEntry();
            if (actual == nullptr || actual->leaf != TE_F90_POINTER)
                throwFixme(__PRETTY_FUNCTION__, __LINE__);
            return typeOf(actual->f90pointer.targetType);
        }
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    }
    if (!hasFlag(TypeFlags::array) || e == nullptr)
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    switch (e->leaf) {
    case TE_VUM_ARRAY:
    case TE_F90_DESC_ARRAY:
    case TE_COBOL_TABLE: return typeOf(typeEntryElementType(*e));
    case TE_ARRAY: return *CreatedTypeItem::findArrayElement(*this, nullptr);
    default: throwFixme(__PRETTY_FUNCTION__, __LINE__);
    }
}

namespace {

// The data-location block of a Fortran descriptor entry (null for others).
const DwarfBlock* dataLocationBlock(const _TYPE_ENTRY* e)
{
    if (e == nullptr)
        return nullptr;
    switch (e->leaf) {
    case TE_F90_ALLOCATABLE: return e->f90allocatable.dataLocation;
    case TE_F90_DESC_ARRAY: return e->f90descarray.dataLocation;
    case TE_F90_POINTER: return e->f90pointer.dataLocation;
    default: return nullptr;
    }
}

DebuggeeAddress computeDataAddress(const DwarfBlock* block, std::uint64_t objectAddress)
{
    const UBYTE8 base = objectAddress;
    EE_ADDR a = SVC::Expr2ComputeDWARFaddress(currentContext(), dwarfBlockBytes(block), dwarfBlockLength(block),
                                              &base);
    return DebuggeeAddress(a);
}

}  // namespace

bool TypeItem::dereference(DebuggeeLocation& location) const
{
    try {
        const DwarfBlock* block = dataLocationBlock(typeEntry());
        if (block == nullptr)
            return false;
        DebuggeeAddress data = computeDataAddress(block, location.address().addr());
        if (!data.isValid())
            return false;
        location = data;
        return true;
    } catch (...) {
        return false;
    }
}

DebuggeeAddress TypeItem::getDataAddress(const DebuggeeLocation& location) const
{
    const bool fortranPointer = isFortranPointer(*this);
    const bool descriptorArray = hasFlag(TypeFlags::fortranDescriptor) && hasFlag(TypeFlags::array);
    if (fortranPointer || descriptorArray) {
        const DwarfBlock* block = dataLocationBlock(typeEntry());
        std::uint64_t object = 0;
        if (block != nullptr && boundObjectAddress(object)) {
            DebuggeeAddress data = computeDataAddress(block, object);
            if (data.bits() == 32)
                data.setAddr(static_cast<std::uint32_t>(data.addr()));
            return data;
        }
        return DebuggeeAddress();
    }
    if (hasFlag(TypeFlags::pointer) || hasFlag(TypeFlags::reference)) {
        DebuggeeLocation target(location);
        target.dereference(this);
        return target.address();
    }
    return DebuggeeAddress();
}

namespace {

// The association (or allocation) block of a Fortran entry; null when the
// entry has none or is of another leaf.
const DwarfBlock* associationBlock(const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_F90_DESC_ARRAY: return e.f90descarray.association;
    case TE_F90_POINTER: return e.f90pointer.association;
    default: return nullptr;
    }
}

const DwarfBlock* allocationBlock(const _TYPE_ENTRY& e)
{
    switch (e.leaf) {
    case TE_F90_DESC_ARRAY: return e.f90descarray.allocation;
    case TE_F90_POINTER: return e.f90pointer.allocation;
    case TE_F90_ALLOCATABLE: return e.f90allocatable.allocation;
    default: return nullptr;
    }
}

}  // namespace

bool TypeItem::descriptorStateHolds(bool association) const
{
    if (index.module() == 0)
        return true;
    const _TYPE_ENTRY* e = typeEntry();
    const DwarfBlock* block = nullptr;
    if (e != nullptr)
        block = association ? associationBlock(*e) : allocationBlock(*e);
    if (block == nullptr)
        return true;
    std::uint64_t object = 0;
    const bool hasObject = boundObjectAddress(object);
    return blockValue(block, hasObject ? &object : nullptr) != 0;
}

bool TypeItem::isAssociated() const
{
    return descriptorStateHolds(true);
}

bool TypeItem::isAllocated() const
{
    return descriptorStateHolds(false);
}

unsigned TypeItem::rankOf() const
{
    const TypeItem* t = this;
    for (unsigned steps = 0;; ++steps) {
        if (steps >= TypeDepthGuard::limit)
            throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
        if (t->hasFlag(TypeFlags::reference))
            t = &t->referent();
        else if (isFortranPointer(*t))
            t = &t->pointee();
        else
            break;
    }
    if (!t->hasFlag(TypeFlags::array))
        return 0;
    const _TYPE_ENTRY* e = t->typeEntry();
    if (e == nullptr)
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    switch (e->leaf) {
    case TE_ARRAY:
    case TE_VUM_ARRAY: return 1;
    case TE_F90_DESC_ARRAY: return e->f90descarray.rank;
    case TE_COBOL_TABLE: return 0;
    default: throwFixme(__PRETTY_FUNCTION__, __LINE__);
    }
}

unsigned TypeItem::getRank() const
{
    if (!hasFlag(TypeFlags::array))
        return 0;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return 0;
    switch (e->leaf) {
    case TE_ARRAY: {
        if (inFortran())
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        unsigned rank = 1;
        const TypeItem* element = &typeOf(e->array.elementType);
        while (element->hasFlag(TypeFlags::array)) {
            if (rank >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            ++rank;
            const _TYPE_ENTRY* inner = element->typeEntry();
            if (inner == nullptr || inner->leaf != TE_ARRAY)
                break;
            element = &typeOf(inner->array.elementType);
        }
        return rank;
    }
    case TE_VUM_ARRAY:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Need to add support for TE_VUM_ARRAY");
        return 1;
    case TE_F90_DESC_ARRAY: return e->f90descarray.rank;
    case TE_COBOL_TABLE: return 1;
    default: return 0;
    }
}

const TypeItem& TypeItem::rankType(unsigned int n) const
{
    const TypeItem* t = this;
    for (unsigned steps = 0; isFortranPointer(*t); ++steps) {
        if (steps >= TypeDepthGuard::limit)
            throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
        t = &t->pointee();
    }
    if (t->hasFlag(TypeFlags::reference))
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    if (t->hasFlag(TypeFlags::array) && n > 1)
        return *t;
    const _TYPE_ENTRY* e = t->typeEntry();
    if (e != nullptr && e->leaf == TE_COBOL_TABLE)
        return typeOf(e->cobolTable.elementType);
    if (e != nullptr && e->leaf == TE_F90_DESC_ARRAY) {
        const TypeItem* element = &typeOf(e->f90descarray.elementType);
        for (unsigned steps = 0;; ++steps) {
            if (steps >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            const _TYPE_ENTRY* inner = element->typeEntry();
            if (inner == nullptr || inner->leaf != TE_F90_DESC_ARRAY)
                break;
            element = &typeOf(inner->f90descarray.elementType);
        }
        return *element;
    }
    throwFixme(__PRETTY_FUNCTION__, __LINE__);
}

int TypeItem::descriptorDimension(unsigned n, Dimension& d, const std::uint64_t* object) const
{
    const TypeItem* t = this;
    const _TYPE_ENTRY* e = typeEntry();
    for (unsigned steps = 0; n > e->f90descarray.dimension; ++steps) {
        if (steps >= TypeDepthGuard::limit)
            throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
        t = &typeOf(e->f90descarray.elementType);
        e = t->typeEntry();
        if (e == nullptr || e->leaf != TE_F90_DESC_ARRAY)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
    }
    const TNf90descarray& r = e->f90descarray;
    if (r.lowerBound == nullptr)
        throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
    d.lower = blockValue(r.lowerBound, object);
    d.allocated = r.allocation == nullptr || blockValue(r.allocation, object) != 0;
    d.associated = r.association == nullptr || blockValue(r.association, object) != 0;
    if (r.extent != nullptr) {
        d.count = blockValue(r.extent, object);
        d.countUnknown = false;
    } else if (r.upperBound != nullptr) {
        // Bounds of a descriptor not yet set up are any 64-bit numbers.
        const std::int64_t upper = blockValue(r.upperBound, object);
        if (__builtin_sub_overflow(upper, d.lower, &d.count) || __builtin_add_overflow(d.count, 1, &d.count))
            ObjectSize::outOfRange(__PRETTY_FUNCTION__, __LINE__);
        d.countUnknown = false;
    } else {
        d.count = 0;
        d.countUnknown = true;
    }
    if (r.stride != nullptr) {
        d.length = static_cast<std::uint64_t>(blockValue(r.stride, object));
    } else {
        TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
        const TypeItem& element = typeOf(r.elementType);
        const _TYPE_ENTRY* ee = element.typeEntry();
        if (ee != nullptr && ee->leaf == TE_F90_DESC_ARRAY) {
            // The element's bounds live in this object's descriptor too.
            Dimension inner;
            element.descriptorDimension(ee->f90descarray.dimension, inner, object);
            d.length = inner.countUnknown || inner.count <= 0
                           ? 0
                           : ObjectSize::product(static_cast<std::uint64_t>(inner.count), inner.length,
                                                 __PRETTY_FUNCTION__, __LINE__);
        } else {
            d.length = element.typeSize();
        }
    }
    if (d.length == 0 && !inFortran())
        throwOther(__PRETTY_FUNCTION__, __LINE__);
    return 0;
}

int TypeItem::getDimension(unsigned int n, Dimension& d) const
{
    d.fresh();
    if (isFortranPointer(*this))
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    if (!hasFlag(TypeFlags::array))
        return 0;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return 0;
    switch (e->leaf) {
    case TE_ARRAY: {
        if (inFortran())
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        const TypeItem* t = this;
        for (unsigned i = 0; i < n; ++i) {
            if (i >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            const _TYPE_ENTRY* te = t->typeEntry();
            if (te == nullptr || te->leaf != TE_ARRAY)
                throwOther(__PRETTY_FUNCTION__, __LINE__);
            t = &typeOf(te->array.elementType);
            if (!t->hasFlag(TypeFlags::array) || t->hasFlag(TypeFlags::fortranDescriptor))
                throwOther(__PRETTY_FUNCTION__, __LINE__);
        }
        const _TYPE_ENTRY* te = t->typeEntry();
        if (te == nullptr || te->leaf != TE_ARRAY)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        const std::uint64_t length = typeOf(te->array.elementType).typeSize();
        if (length == 0)
            throwOther(__PRETTY_FUNCTION__, __LINE__);
        d.length = length;
        d.lower = inCobol() ? 1 : 0;
        d.count = static_cast<std::int64_t>(t->typeSize()) / static_cast<std::int64_t>(length);
        d.allocated = true;
        d.associated = false;
        d.countUnknown = false;
        return 0;
    }
    case TE_COBOL_TABLE: {
        const TNcobolTable& r = e->cobolTable;
        d.lower = 1;
        d.length = typeOf(r.elementType).typeSize();
        if (r.countBlock == nullptr)
            return 1;
        d.countUnknown = false;
        unsigned width = 0;
        switch (r.countWidth) {
        case 0: width = 0; break;
        case 1: width = 2; break;
        case 2: width = 4; break;
        case 3: width = 8; break;
        default: throwOther(__PRETTY_FUNCTION__, __LINE__);
        }
        std::uint64_t objectValue = 0;
        const bool hasObject = boundObjectAddress(objectValue);
        const UBYTE8 base = objectValue;
        EE_ADDR at{};
        unsigned char bytes[8] = {};
        try {
            at = SVC::Expr2ComputeDWARFaddress(currentContext(), dwarfBlockBytes(r.countBlock),
                                               dwarfBlockLength(r.countBlock), hasObject ? &base : nullptr);
            if (width != 0 && SVC::Expr2ReadMemory(currentContext(), at, width, bytes) != width)
                throwOther(__PRETTY_FUNCTION__, __LINE__);
        } catch (const InvalidOp&) {
            d.reset();
            return 0;
        }
        if (width == 0)
            d.count = static_cast<std::int64_t>(DebuggeeAddress(at).addr());
        else
            d.count = signedBigEndian(bytes, width);
        return 1;
    }
    case TE_F90_DESC_ARRAY: {
        std::uint64_t objectValue = 0;
        return descriptorDimension(n, d, boundObjectAddress(objectValue) ? &objectValue : nullptr);
    }
    case TE_VUM_ARRAY:
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Need to add support for TE_VUM_ARRAY");
        throwFixme(__PRETTY_FUNCTION__, __LINE__);
    default: return 0;
    }
}

int TypeItem::getDimension(Dimension& d) const
{
    if (!hasFlag(TypeFlags::array)) {
        d.fresh();
        return 0;
    }
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr) {
        d.fresh();
        return 0;
    }
    switch (e->leaf) {
    case TE_F90_DESC_ARRAY: return getDimension(e->f90descarray.dimension, d);
    case TE_COBOL_TABLE: return getDimension(1, d);
    case TE_ARRAY:
    case TE_VUM_ARRAY:
        if (inFortran())
            throwFixme(__PRETTY_FUNCTION__, __LINE__);
        return getDimension(0, d);
    default: return getDimension(0, d);
    }
}

void TypeItem::setBlockSize(unsigned int blockElements)
{
    if (!hasFlag(TypeFlags::upcShared))
        throw InvalidOp(InvalidOp::RTRC_IncompatTypes, __PRETTY_FUNCTION__, __LINE__, "Type not shared");
    flags.setFactor(blockElements);
}

// ===========================================================================
// Classes, functions, result trees

namespace {

// The node list of a kind-3 list entry; null when the index leads elsewhere.
const TNtypeListNode* typeListOf(TYPE_INDEX listIndex)
{
    const _TYPE_ENTRY* list = entryOf(listIndex);
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_TYPES)
        return nullptr;
    return list->list.first.types;
}

const TNnameListNode* nameListOf(TYPE_INDEX listIndex)
{
    const _TYPE_ENTRY* list = entryOf(listIndex);
    if (list == nullptr || list->leaf != TE_LIST || list->list.kind != TE_LIST_NAMES)
        return nullptr;
    return list->list.first.names;
}

}  // namespace

bool TypeItem::isClassOrStruct() const
{
    if (index.module() == 0)
        return false;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return false;
    if (e->leaf == TE_REFERENCE) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Is Reference Type %i", int(e->leaf));
        const _TYPE_ENTRY* r = entryOf(e->reference.referent);
        if (r != nullptr && (r->leaf == TE_CLASS || r->leaf == TE_STRUCT)) {
            SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Reference Type Is Structure");
            return true;
        }
        return false;
    }
    switch (e->leaf) {
    case TE_CLASS:
    case TE_GROUP:
    case TE_STRUCT:
    case TE_NAMESPACE64:
    case TE_NAMESPACE65:
    case TE_NAMESPACE66: return true;
    default: return false;
    }
}

bool TypeItem::isEmptyClassOrStruct() const
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    if (!isClassOrStruct())
        return true;
    const _TYPE_ENTRY* e = typeEntry();
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "dt4yat:TE=%08" PRIxPTR, reinterpret_cast<std::uintptr_t>(e));
    if (isClassLeaf(e->leaf)) {
        unsigned steps = 0;
        for (const TNtypeListNode* node = typeListOf(e->klass.fieldList); node != nullptr; node = node->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            const _TYPE_ENTRY* m = entryOf(node->type);
            if (m == nullptr)
                continue;
            if (m->leaf == TE_MEMBER)
                return false;
            if (m->leaf == TE_BASECLASS && !typeOf(m->baseclass.baseType).isEmptyClassOrStruct())
                return false;
        }
        return true;
    }
    if (e->leaf == TE_STRUCT)
        return nameListOf(e->structure.memberNames) == nullptr;
    if (e->leaf == TE_REFERENCE)
        return referent().isEmptyClassOrStruct();
    return true;
}

List<TypeItem::StructMember> TypeItem::visibleMembers(int named) const
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    List<StructMember> members;
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return members;
    auto wanted = [named](const char* text) { return named == 0 || (text != nullptr && *text != '\0'); };
    if (isClassLeaf(e->leaf)) {
        const TNtypeListNode* node = typeListOf(e->klass.fieldList);
        for (unsigned steps = 0; node != nullptr; node = node->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            const _TYPE_ENTRY* m = entryOf(node->type);
            if (m == nullptr)
                continue;
            if (m->leaf == TE_MEMBER) {
                if (wanted(m->member.name))
                    members.append(StructMember{m->member.name, memberOffset(m->member),
                                                &typeOf(m->member.memberType)});
            } else if (m->leaf == TE_BASECLASS) {
                SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "dt4yat:TE=%08" PRIxPTR,
                            reinterpret_cast<std::uintptr_t>(m));
                // The members a base class brings, where the object holds
                // them: a base placed by an expression (a virtual base) has
                // no fixed offset, so its members are not listed.
                if (baseLocationIsExpression(m->baseclass))
                    continue;
                const std::uint32_t at = baseOffset(m->baseclass);
                List<StructMember> inherited = typeOf(m->baseclass.baseType).visibleMembers(1);
                for (unsigned i = 0; i < inherited.count(); ++i) {
                    StructMember member = inherited[i];
                    member.offset += at;
                    members.append(member);
                }
            }
        }
    } else if (e->leaf == TE_STRUCT) {
        const TNnameListNode* n = nameListOf(e->structure.memberNames);
        const TNtypeListNode* t = typeListOf(e->structure.memberTypes);
        for (unsigned steps = 0; n != nullptr && t != nullptr; n = n->next, t = t->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            if (wanted(n->name))
                members.append(StructMember{n->name, static_cast<std::uint32_t>(nameListOffset(*n)),
                                            &typeOf(t->type)});
        }
    }
    return members;
}

TypeItem::FunctionInfoBlock_t* TypeItem::functionInfoBlock() const
{
    if (functionInfo != nullptr)
        return functionInfo;
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr)
        return nullptr;
    if (e->leaf == TE_PROCEDURE || e->leaf == TE_BUILTIN_PROCEDURE) {
        // Owned here until complete: a failure part way frees it.
        auto owned = std::make_unique<FunctionInfoBlock_t>();
        FunctionInfoBlock_t* block = owned.get();
        block->returnType = &typeOf(e->function.returnType);
        if (e->leaf == TE_BUILTIN_PROCEDURE)
            block->flags = std::uint8_t(block->flags | FunctionInfoBlock_t::builtinProcedure);
        unsigned steps = 0;
        for (const TNtypeListNode* node = typeListOf(e->function.parameterList); node != nullptr;
             node = node->next) {
            TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
            const TypeItem& parameter = typeOf(node->type);
            if (parameter.hasFlag(TypeFlags::ellipsis)) {
                block->flags = std::uint8_t(block->flags | FunctionInfoBlock_t::endsInEllipsis);
                break;
            }
            block->addType(&parameter);
        }
        functionInfo = owned.release();
        return functionInfo;
    }
    if (e->leaf == TE_MEMBERFUNCTION) {
        const FunctionInfoBlock_t* of = typeOf(e->memberfunction.functionType).functionInfoBlock();
        if (of == nullptr)
            return nullptr;
        auto block = std::make_unique<FunctionInfoBlock_t>();
        *block = *of;
        functionInfo = block.release();
        return functionInfo;
    }
    return nullptr;
}

bool TypeItem::assumeTreeNodeChanges() const
{
    if (treeChangesKnown)
        return treeChanges;
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    static const TypeFlags::Flag fixed[] = {
        TypeFlags::boolean,       TypeFlags::character,   TypeFlags::wchar,    TypeFlags::floating,
        TypeFlags::packedDecimal, TypeFlags::binary,      TypeFlags::enumeration, TypeFlags::pointerToVoid,
        TypeFlags::voidType,      TypeFlags::complex,     TypeFlags::zonedDecimal, TypeFlags::nationalDecimal,
    };
    bool answer = true;
    bool decided = false;
    for (TypeFlags::Flag f : fixed) {
        if (hasFlag(f)) {
            answer = false;
            decided = true;
            break;
        }
    }
    if (!decided && (hasFlag(TypeFlags::pointer) || hasFlag(TypeFlags::array) || hasFlag(TypeFlags::reference))) {
        answer = true;
        decided = true;
    }
    const _TYPE_ENTRY* e = decided ? nullptr : typeEntry();
    if (!decided && e == nullptr) {
        answer = false;
        decided = true;
    }
    if (!decided) {
        auto memberChanges = [](TYPE_INDEX memberIndex) {
            const _TYPE_ENTRY* m = entryOf(memberIndex);
            if (m == nullptr)
                return false;
            if (m->leaf == TE_MEMBER)
                return typeOf(m->member.memberType).assumeTreeNodeChanges();
            if (m->leaf == TE_BASECLASS)
                return typeOf(m->baseclass.baseType).assumeTreeNodeChanges();
            return false;
        };
        const TNtypeListNode* node = nullptr;
        if (e->leaf == TE_STRUCT)
            node = typeListOf(e->structure.memberTypes);
        else if (isClassLeaf(e->leaf))
            node = typeListOf(e->klass.fieldList);
        if (e->leaf == TE_STRUCT || isClassLeaf(e->leaf)) {
            answer = false;
            for (unsigned steps = 0; node != nullptr; node = node->next) {
                TypeDepthGuard::checkListStep(steps++, __PRETTY_FUNCTION__, __LINE__);
                if (e->leaf == TE_STRUCT ? typeOf(node->type).assumeTreeNodeChanges() : memberChanges(node->type)) {
                    answer = true;
                    break;
                }
            }
        } else {
            answer = true;
        }
    }
    treeChanges = answer;
    treeChangesKnown = true;
    return answer;
}

// ===========================================================================
// Names

namespace {

std::string textOf(const ByteString& b)
{
    return std::string(reinterpret_cast<const char*>(b.data()), b.length());
}

// The name of a primitive code (pointer forms with "*"), as the current
// language shows it.
std::string primitiveText(unsigned code)
{
    if (code > 255)
        return "??";
    const unsigned base = code & ~unsigned(PrimitiveType::pointerBit);
    const bool pointerForm = (code & PrimitiveType::pointerBit) != 0;
    if (inCobol()) {
        switch (base) {
        case 136: return "COMP-1";
        case 137: return "COMP-2";
        case 144:
        case 145:
        case 146:
        case 157: return "CONDITION-NAME";
        case 196: return "COMP1";
        case 197: return "COMP2";
        default: break;
        }
    }
    const PrimitiveType* p = PrimitiveType::find(base);
    const char* text = nullptr;
    if (p != nullptr)
        text = (!inCobol() && addressSize() == 8 && p->name8 != nullptr) ? p->name8 : p->name;
    std::string result = text != nullptr ? text : "??";
    if (pointerForm)
        result += "*";
    return result;
}

// A number in decimal between two texts.
std::string numberText(const char* before, long long value, const char* after = "")
{
    return before + std::to_string(value) + after;
}

// The keyword of an aggregate without a name of its own.
const char* aggregateKeyword(const TypeItem& t, const _TYPE_ENTRY& e)
{
    bool unionType = false;
    try {
        unionType = t.isUnion();
    } catch (const InvalidOp&) {
    }
    if (unionType)
        return "union";
    if (inCobol())
        return t.isNationalGroup() ? "NATIONAL GROUP" : "GROUP";
    if (isClassLeaf(e.leaf) && !(e.klass.flags & TNclass_Struct))
        return "class";
    return "struct";
}

}  // namespace

void TypeItem::setDisplayName(const std::string& text, std::uint16_t prefix) const
{
    name = ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    prefixLength = prefix;
}

const char* TypeItem::makeName(const char* text, const char* fallback) const
{
    if (text == nullptr || *text == '\0' || (text[0] == '_' && text[1] == '_'))
        return fallback;
    return text;
}

int TypeItem::strcmp_i(const char* first, const char* second)
{
    for (;; ++first, ++second) {
        if (*first == '\0')
            return *second == '\0' ? 0 : -1;
        if (*second == '\0')
            return 1;
        const int a = std::tolower(static_cast<unsigned char>(*first));
        const int b = std::tolower(static_cast<unsigned char>(*second));
        if (a != b)
            return a - b;
    }
}

void TypeItem::addTypeAttribute(const ByteString& text) const
{
    std::string current = textOf(name);
    const std::string attribute = textOf(text);
    const std::string::size_type comma = current.find(',');
    if (comma == std::string::npos)
        current += attribute;
    else
        current.insert(comma, attribute);
    setDisplayName(current, prefixLength);
}

const char* TypeItem::primitiveTypeName(unsigned int code) const
{
    if (!nameValid) {
        nameValid = true;
        setDisplayName(primitiveText(code), 0);
    }
    return reinterpret_cast<const char*>(name.data());
}

const char* TypeItem::structureTypeName() const
{
    const _TYPE_ENTRY* e = typeEntry();
    const char* own = "";
    if (e != nullptr && isClassLeaf(e->leaf))
        own = makeName(e->klass.name2, makeName(e->klass.name, ""));
    std::string keyword;
    bool unionType = false;
    try {
        unionType = isUnion();
    } catch (const InvalidOp&) {
    }
    if (unionType)
        keyword = "union";
    else if (!inCobol())
        keyword = "struct";
    else
        keyword = isNationalGroup() ? "NATIONAL GROUP" : "GROUP";
    std::string text = keyword;
    if (*own != '\0')
        text += std::string(" ") + own;
    setDisplayName(text, static_cast<std::uint16_t>(keyword.size()));
    return reinterpret_cast<const char*>(name.data());
}

const char* TypeItem::cppTypeName() const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (e != nullptr && e->leaf == TE_BASECLASS) {
        if (typeIndexEmpty(e->baseclass.baseType)) {
            setDisplayName("??", 0);
        } else {
            const TypeItem& base = typeOf(e->baseclass.baseType);
            setDisplayName(base.demangledTypeName(), base.prefixLength);
        }
        return reinterpret_cast<const char*>(name.data());
    }
    if (e == nullptr || !isClassLeaf(e->leaf)) {
        setDisplayName("??", 0);
        return reinterpret_cast<const char*>(name.data());
    }
    std::string keyword;
    std::string own = makeName(e->klass.name, makeName(e->klass.name2, ""));
    if (!inCobol()) {
        keyword = aggregateKeyword(*this, *e);
    } else {
        keyword = isNationalGroup() ? "NATIONAL GROUP" : "GROUP";
        if (own == "??")
            own.clear();
    }
    std::string text = keyword;
    if (!own.empty())
        text += " " + own;
    setDisplayName(text, static_cast<std::uint16_t>(keyword.size()));
    if (hasFlag(TypeFlags::upcShared))
        const_cast<TypeItem*>(this)->appendSharedSuffix(sharedBlockElements());
    return reinterpret_cast<const char*>(name.data());
}

const char* TypeItem::pointerTypeName() const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr || e->leaf != TE_POINTER || typeIndexEmpty(e->pointer.target)) {
        setDisplayName("??*", 0);
    } else {
        const TypeItem& target = typeOf(e->pointer.target);
        setDisplayName(std::string(target.demangledTypeName()) + "*", target.prefixLength);
    }
    return reinterpret_cast<const char*>(name.data());
}

const char* TypeItem::referenceTypeName(int) const
{
    const _TYPE_ENTRY* e = typeEntry();
    const char* suffix = inCobol() ? "" : "&";
    if (e == nullptr || e->leaf != TE_REFERENCE || typeIndexEmpty(e->reference.referent)) {
        setDisplayName(std::string("??") + suffix, 0);
    } else {
        const TypeItem& target = typeOf(e->reference.referent);
        setDisplayName(std::string(target.demangledTypeName()) + suffix, target.prefixLength);
    }
    return reinterpret_cast<const char*>(name.data());
}

const char* TypeItem::fortranTypeName() const
{
    // A Fortran pointer or allocatable is named by its target with the
    // attribute as Fortran declares it: "integer, pointer".
    const _TYPE_ENTRY* e = typeEntry();
    TYPE_INDEX target = e != nullptr ? typeEntryInnerType(*e) : emptyTypeIndex();
    if (typeIndexEmpty(target)) {
        setDisplayName("??", 0);
    } else {
        const TypeItem& t = typeOf(target);
        setDisplayName(t.demangledTypeName(), t.prefixLength);
    }
    if (e != nullptr && e->leaf == TE_F90_POINTER)
        addTypeAttribute(ByteString(reinterpret_cast<const unsigned char*>(", pointer"), 9));
    else if (e != nullptr && e->leaf == TE_F90_ALLOCATABLE)
        addTypeAttribute(ByteString(reinterpret_cast<const unsigned char*>(", allocatable"), 13));
    return reinterpret_cast<const char*>(name.data());
}

std::string TypeItem::arrayDimensionsText(const _TYPE_ENTRY& e) const
{
    switch (e.leaf) {
    case TE_ARRAY: {
        const unsigned elementSize = typeOf(e.array.elementType).typeSize();
        if (elementSize == 0)
            return inCobol() ? " OCCURS" : "[]";
        const long long count = static_cast<long long>(typeSize() / elementSize);
        return inCobol() ? numberText(" OCCURS ", count) : numberText("[", count, "]");
    }
    case TE_COBOL_TABLE: {
        Dimension d;
        try {
            getDimension(d);
        } catch (const InvalidOp&) {
            d.countUnknown = true;
        }
        return d.countUnknown ? std::string(" OCCURS") : numberText(" OCCURS ", d.count);
    }
    case TE_F90_DESC_ARRAY: {
        // One bound pair per dimension, ":" where the bounds are not known
        // now (deferred or not allocated).
        std::uint64_t objectValue = 0;
        const std::uint64_t* object = boundObjectAddress(objectValue) ? &objectValue : nullptr;
        std::string text = "(";
        const TypeItem* t = this;
        const _TYPE_ENTRY* te = &e;
        for (unsigned steps = 0; te != nullptr && te->leaf == TE_F90_DESC_ARRAY; ++steps) {
            if (steps >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            if (steps != 0)
                text += ",";
            Dimension d;
            bool known = false;
            try {
                t->descriptorDimension(te->f90descarray.dimension, d, object);
                known = !d.countUnknown && d.allocated && d.associated;
            } catch (const InvalidOp&) {
            }
            text += known ? numberText("", d.lower, ":") + numberText("", d.lower + d.count - 1) : ":";
            t = &typeOf(te->f90descarray.elementType);
            te = t->typeEntry();
        }
        return text + ")";
    }
    default: return "";
    }
}

const char* TypeItem::arrayTypeName() const
{
    const _TYPE_ENTRY* e = typeEntry();
    if (e == nullptr) {
        setDisplayName("??", 0);
        return reinterpret_cast<const char*>(name.data());
    }
    // The innermost element: descriptor arrays show all their dimensions
    // at once.
    TYPE_INDEX elementIndex = typeEntryElementType(*e);
    if (e->leaf == TE_F90_DESC_ARRAY) {
        for (unsigned steps = 0;; ++steps) {
            if (steps >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            const _TYPE_ENTRY* inner = entryOf(elementIndex);
            if (inner == nullptr || inner->leaf != TE_F90_DESC_ARRAY)
                break;
            elementIndex = TYPE_INDEX(inner->f90descarray.elementType);
        }
    }
    if (typeIndexEmpty(elementIndex)) {
        setDisplayName("??", 0);
        return reinterpret_cast<const char*>(name.data());
    }
    const TypeItem& element = typeOf(elementIndex);
    std::string elementName = element.demangledTypeName();
    if (e->leaf == TE_VUM_ARRAY) {
        setDisplayName("vector " + elementName, 0);
        return reinterpret_cast<const char*>(name.data());
    }
    const std::string dimension = arrayDimensionsText(*e);
    std::string text;
    // C declarators put the outer dimension first: an array of int[4]
    // is int[3][4].
    const _TYPE_ENTRY* ee = element.typeEntry();
    const std::string::size_type bracket =
        (e->leaf == TE_ARRAY && !inCobol() && ee != nullptr && ee->leaf == TE_ARRAY)
            ? elementName.find('[', element.prefixLength)
            : std::string::npos;
    if (bracket != std::string::npos)
        text = elementName.substr(0, bracket) + dimension + elementName.substr(bracket);
    else
        text = elementName + dimension;
    setDisplayName(text, element.prefixLength);
    return reinterpret_cast<const char*>(name.data());
}

ByteString& TypeItem::primitiveName(ByteString& out) const
{
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    auto append = [&out](const std::string& text) {
        out += ByteString(reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
    };
    const _TYPE_ENTRY* e = index.module() == 0 ? nullptr : typeEntry();
    if (e == nullptr) {
        append(index.module() == 0 ? std::string(primitiveTypeName(index.index())) : std::string("??"));
        return out;
    }
    auto digitsAndPlaces = [&](const char* what, unsigned digits, unsigned places) {
        append(std::string(what) + "(" + std::to_string(digits) + "," + std::to_string(places) + ")");
    };
    switch (e->leaf) {
    case TE_INTEGER:
        append(numberText((e->integer.flags & TNinteger_Signed) ? "int:" : "unsigned:",
                          static_cast<long long>(e->integer.bitLength)));
        break;
    case TE_POINTER:
        typeOf(e->pointer.target).primitiveName(out);
        append("*");
        break;
    case TE_REFERENCE:
        typeOf(e->reference.referent).primitiveName(out);
        append("&");
        break;
    case TE_ARRAY: {
        // The innermost element, then one count per level, outermost first.
        std::string counts;
        const TypeItem* t = this;
        const _TYPE_ENTRY* te = e;
        for (unsigned steps = 0; te != nullptr && te->leaf == TE_ARRAY; ++steps) {
            if (steps >= TypeDepthGuard::limit)
                throwOther(__PRETTY_FUNCTION__, __LINE__, "Type records nest too deeply");
            const TypeItem& element = typeOf(te->array.elementType);
            const unsigned elementSize = element.typeSize();
            const long long count = elementSize != 0 ? static_cast<long long>(t->typeSize() / elementSize) : 0;
            counts += inCobol() ? numberText("(", count, ")") : numberText("[", count, "]");
            t = &element;
            te = element.typeEntry();
        }
        t->primitiveName(out);
        append(counts);
        break;
    }
    case TE_FUNCTION:
    case TE_METHOD:
    case TE_PROCEDURE:
    case TE_BUILTIN_PROCEDURE:
        typeOf(e->function.returnType).primitiveName(out);
        append("()");
        break;
    case TE_MEMBERFUNCTION: append(std::string(makeName(e->memberfunction.name, "memberFunction")) + "()"); break;
    case TE_BASECLASS: typeOf(e->baseclass.baseType).primitiveName(out); break;
    case TE_MEMBER: append(e->member.name != nullptr ? e->member.name : ""); break;
    case TE_CLASS:
    case TE_GROUP: append(makeName(e->klass.name, makeName(e->klass.name2, aggregateKeyword(*this, *e)))); break;
    case TE_STRUCT: append(aggregateKeyword(*this, *e)); break;
    case TE_ENUM:
    case TE_ENUM2: append(makeName(e->enumeration.name, "enum")); break;
    case TE_PACKED_DECIMAL: digitsAndPlaces("decimal", e->packed.precision, e->packed.decimalPlaces); break;
    case TE_ZONED_DECIMAL: digitsAndPlaces("zoned decimal", e->zoned.precision, e->zoned.decimalPlaces); break;
    case TE_NATIONAL_DECIMAL:
        digitsAndPlaces("national decimal", e->nationalDecimal.precision, e->nationalDecimal.decimalPlaces);
        break;
    case TE_FIXED_POINT_BINARY:
        digitsAndPlaces("binary", e->binary.precision, e->binary.scale < 0 ? unsigned(-e->binary.scale) : 0u);
        break;
    case TE_CHARSTRING: append("string()"); break;
    case TE_NATIONAL_STRING: append("national string()"); break;
    case TE_INDEX_NAME: append("index name()"); break;
    case TE_INDEX_DATA_ITEM: append("index data item()"); break;
    case TE_EXTERNAL_FLOAT: append("external float()"); break;
    case TE_ALPHA_NUMERIC_EDITED: append("alphanumeric edited()"); break;
    case TE_NUMERIC_EDITED: append("numeric edited()"); break;
    case TE_NATIONAL_EXTERNAL_FLOAT: append("national external float()"); break;
    case TE_NATIONAL_EDITED: append("national edited()"); break;
    case TE_NATIONAL_NUMERIC_EDITED: append("national numeric edited()"); break;
    case TE_DBCS_STRING: append("DBCS string()"); break;
    case TE_DBCS_EDITED: append("DBCS edited()"); break;
    default: append("??"); break;
    }
    return out;
}

const char* TypeItem::demangledTypeNameInt(unsigned int nameOptions) const
{
    if (nameFlags != nameOptions)
        nameValid = false;
    else if (nameValid)
        return reinterpret_cast<const char*>(name.data());
    TypeDepthGuard guard(__PRETTY_FUNCTION__, __LINE__);
    const _TYPE_ENTRY* e = index.module() == 0 ? nullptr : typeEntry();
    if (e == nullptr) {
        if (index.module() == 0)
            primitiveTypeName(index.index());
        else
            setDisplayName("??", 0);
    } else {
        switch (e->leaf) {
        case TE_CLASS:
        case TE_GROUP:
            if (!inCobol() && EvaluationEnvironment::currentRep()->language() == EvaluationEnvironment::languageCPP)
                cppTypeName();
            else
                structureTypeName();
            break;
        case TE_STRUCT: structureTypeName(); break;
        case TE_BASECLASS: cppTypeName(); break;
        case TE_POINTER: pointerTypeName(); break;
        case TE_REFERENCE: referenceTypeName(0); break;
        case TE_ARRAY:
        case TE_VUM_ARRAY:
        case TE_F90_DESC_ARRAY:
        case TE_COBOL_TABLE: arrayTypeName(); break;
        case TE_F90_POINTER:
        case TE_F90_ALLOCATABLE: fortranTypeName(); break;
        default: {
            ByteString text;
            primitiveName(text);
            setDisplayName(textOf(text), 0);
            break;
        }
        }
    }
    nameFlags = nameOptions;
    nameValid = true;
    return reinterpret_cast<const char*>(name.data());
}

const char* TypeItem::demangledTypeName(unsigned int nameOptions, bool force) const
{
    const TypeItem* t = boundData != nullptr ? boundData->actualType() : this;
    if (nameOptions == 0) {
        try {
            nameOptions = t->rankOf();
        } catch (const InvalidOp&) {
            nameOptions = 0;
        }
    }
    if (!force && t->nameValid && t->nameFlags == nameOptions)
        return reinterpret_cast<const char*>(t->name.data());
    return t->demangledTypeNameInt(nameOptions);
}

const char* TypeItem::demangledTypeNameReset()
{
    TypeItem* t = boundData != nullptr ? const_cast<TypeItem*>(boundData->actualType()) : this;
    const char* old = t->nameValid ? reinterpret_cast<const char*>(t->name.data()) : nullptr;
    t->nameValid = false;
    return old;
}

const char* TypeItem::shortTypeName() const
{
    const char* full = demangledTypeName(0, false);
    const TypeItem* t = boundData != nullptr ? boundData->actualType() : this;
    const std::size_t length = std::strlen(full);
    std::size_t skip = t->prefixLength < length ? t->prefixLength : length;
    while (skip < length && full[skip] == ' ')
        ++skip;
    return full + skip;
}

const char* TypeItem::format() const
{
    static thread_local std::string text;
    if (index.module() == 0 && index.index() == 0)
        return "<invalid>";
    std::string shown;
    try {
        shown = demangledTypeName(0, false);
    } catch (const InvalidOp&) {
        shown = "??";
    }
    text = "\"" + shown + "\" = ";
    if (created)
        text += ">created<";
    text += numberText(" type = ", static_cast<long long>(static_cast<std::int32_t>(index.index())));
    return text.c_str();
}
