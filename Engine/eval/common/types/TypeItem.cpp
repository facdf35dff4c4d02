#include "types/TypeItem.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "HostRecordAccess.h"
#include "services/DebuggeeLocation.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/BoundTypeData.h"
#include "types/CreatedTypeItem.h"
#include "types/PrimitiveType.h"

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
    // The program's own "wchar_t" is found through the scopes once they can
    // be searched; without one the 4-byte wide character stands in.
    return CreatedTypeItem::findOrCreateType(TYPE_INDEX{0, PrimitiveType::wchar4}, nullptr);
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

unsigned TypeItem::typeSize(unsigned int) const
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

    try {
        switch (e->leaf) {
        case TE_ARRAY:
            if (arraySizeIsDynamic(e->array)) {
                EE_ADDR a = SVC::Expr2ComputeAbsDWARFaddress(currentContext(), arraySizeExpression(e->array));
                return a.addrLow;
            }
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
            return static_cast<unsigned>(value);
        }
        case TE_CLASS:
        case TE_GROUP:
            if (classSizeIsDynamic(e->klass)) {
                EE_ADDR a = SVC::Expr2ComputeAbsDWARFaddress(currentContext(), classSizeExpression(e->klass));
                return a.addrLow;
            }
            return classByteSize(e->klass);
        case TE_ENUM:
        case TE_ENUM2: return TypeItem(TYPE_INDEX(e->enumeration.underlyingType)).typeSize();
        case TE_POINTER: return addressSize();
        case TE_STRUCT: return e->structure.byteSize;
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
    switch (symbol.kind) {
    case SE_FUNCTION: return symbol.function.type;
    case SE_STATIC:
    case SE_SECTION_DATA: return symbol.statics.type;
    case SE_THREAD_STATIC: return symbol.threadstatic.type;
    case SE_AUTOMATIC: return symbol.automatic.type;
    case SE_BUILTIN_PROCEDURE: return symbol.builtin.type;
    case SE_MEMBER_FUNCTION: return symbol.memberfunction.type;
    case SE_COMMON_MEMBER: return symbol.commonmember.type;
    case SE_REGISTER:
    case SE_CONSTANT:
    case SE_TYPED11:
    case SE_TYPED24:
    case SE_DWARF_LOCATION:
    case SE_TYPED41:
    case SE_CONDITION_NAME: return symbol.typed.type;
    default: return TYPE_INDEX{0, 0};
    }
}
