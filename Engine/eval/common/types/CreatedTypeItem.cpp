#include "types/CreatedTypeItem.h"

#include <cinttypes>
#include <cstring>
#include <mutex>
#include <vector>

#include "HostRecordAccess.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/CreatedAlphaNumericEditedTypeItem.h"
#include "types/CreatedArrayTypeItem.h"
#include "types/CreatedBuiltinProcedureTypeItem.h"
#include "types/CreatedClassTypeItem.h"
#include "types/CreatedClassmemberTypeItem.h"
#include "types/CreatedListTypeItem.h"
#include "types/CreatedPointerTypeItem.h"
#include "types/CreatedReferenceTypeItem.h"
#include "types/CreatedCharstringTypeItem.h"
#include "types/CreatedDbcsEditedTypeItem.h"
#include "types/CreatedDbcsStringTypeItem.h"
#include "types/CreatedExternalFloatTypeItem.h"
#include "types/CreatedFixedPointBinaryTypeItem.h"
#include "types/CreatedIndexDataItemTypeItem.h"
#include "types/CreatedIndexNameTypeItem.h"
#include "types/CreatedNationalDecimalTypeItem.h"
#include "types/CreatedNationalEditedTypeItem.h"
#include "types/CreatedNationalExternalFloatTypeItem.h"
#include "types/CreatedNationalNumericEditedTypeItem.h"
#include "types/CreatedNationalStringTypeItem.h"
#include "types/CreatedNumericEditedTypeItem.h"
#include "types/CreatedPackedDecimalTypeItem.h"
#include "types/CreatedSharedTypeItem.h"
#include "types/CreatedTypeIndex.h"
#include "types/CreatedZonedDecimalTypeItem.h"
#include "types/DataItemRecord.h"
#include "types/PrimitiveType.h"

namespace {

constexpr std::uint32_t createdModule = 0xFFFFFFFFu;
constexpr std::uint32_t staticModule = 0xFFFFFFFEu;

// The process-wide static types. Two host threads may make or read them at
// once, so the table is locked.
std::mutex& staticTypesLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<const _TYPE_ENTRY*>& staticTypes()
{
    static std::vector<const _TYPE_ENTRY*> types;
    return types;
}

const char* shortName(const TypeItem& type)
{
    return type.hasValidName() ? reinterpret_cast<const char*>(type.cachedName().data()) : "";
}

// The newest created type of the current environment for which match holds.
template <class Match>
const TypeItem* newestCreated(Match match)
{
    const List<CreatedTypeItem*>& list = EvaluationEnvironment::currentRep()->createdTypes();
    for (unsigned i = list.count(); i > 0; --i) {
        CreatedTypeItem* candidate = list[i - 1];
        if (candidate != nullptr && match(*candidate))
            return candidate;
    }
    return nullptr;
}

// The newest created type of the current environment whose key of that kind
// is key and for which match holds; the same answer as newestCreated's for
// a match that only types of that key pass.
template <class Match>
const TypeItem* newestKeyed(CreatedTypeIndex::Key kind, const TYPE_INDEX& key, Match match)
{
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    return env->createdTypeIndex().newest(env->createdTypes(), kind, key, match);
}

// The newest created type whose entry is a record of the same leaf that
// DataItemRecord::same accepts.
template <class Record>
const TypeItem* newestWithRecord(const Record& wanted)
{
    return newestCreated([&](const CreatedTypeItem& c) {
        const _TYPE_ENTRY* e = c.typeEntry();
        return e != nullptr && e->leaf == wanted.leaf &&
               DataItemRecord::same(*reinterpret_cast<const Record*>(e), wanted);
    });
}

template <class Record>
const TypeItem* newestWithString(const Record& wanted, bool first, bool second, bool third)
{
    std::uint8_t kinds = std::uint8_t((first ? 1 : 0) | (second ? 2 : 0) | (third ? 4 : 0));
    return newestCreated([&](const CreatedTypeItem& c) {
        const _TYPE_ENTRY* e = c.typeEntry();
        return e != nullptr && e->leaf == wanted.leaf && c.stringKindBits() == kinds &&
               DataItemRecord::same(*reinterpret_cast<const Record*>(e), wanted);
    });
}

template <class Made, class Record>
const TypeItem* findOrMake(const Record& record)
{
    if (const TypeItem* found = newestWithRecord(record))
        return found;
    return new Made(record);
}

template <class Made, class Record>
const TypeItem* findOrMakeString(const Record& record, bool first, bool second, bool third)
{
    if (const TypeItem* found = newestWithString(record, first, second, third))
        return found;
    return new Made(record, first, second, third);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction

CreatedTypeItem::CreatedTypeItem()
{
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    TYPE_INDEX own{createdModule, env->createdTypes().count()};
    index = own;
    unsimplifiedIndex = own;
    created = true;
    env->addCreatedType(this);
}

CreatedTypeItem::CreatedTypeItem(const TYPE_INDEX& typeIndex, const _TYPE_ENTRY* typeEntry) : CreatedTypeItem()
{
    // This form stands for the index it was made for: the finders look it up
    // by that index.
    index = typeIndex;
    unsimplifiedIndex = typeIndex;
    entry = typeEntry;
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    cobolBool = typeIndex.module == 0 && typeIndex.index == PrimitiveType::bool1 &&
                env->language() == EvaluationEnvironment::languageCOBOL;
    finishConstruction();
}

CreatedTypeItem::~CreatedTypeItem() = default;

void CreatedTypeItem::finishConstruction()
{
    try {
        flags.set(*this);
    } catch (...) {
        // The flags stay uncomputed; their next reader meets the failure.
    }
    constructed = true;
}

void CreatedTypeItem::setName(const TypeItem& from, const char* text)
{
    setNameText(text != nullptr ? text : "");
    nameValid = true;
    prefixLength = from.prefixLength;
}

void CreatedTypeItem::simplifyBase()
{
    bool wasCreated = created;
    created = false;
    simplify();
    created = wasCreated;
}

void CreatedTypeItem::setStringKinds(bool first, bool second, bool third)
{
    stringKinds = std::uint8_t((first ? 1 : 0) | (second ? 2 : 0) | (third ? 4 : 0));
}

// ---------------------------------------------------------------------------
// By index

const TypeItem* CreatedTypeItem::findSynthesizedType(const TYPE_INDEX& typeIndex)
{
    if (typeIndex.module != createdModule)
        return nullptr;
    return newestKeyed(CreatedTypeIndex::Key::ownIndex, typeIndex,
                       [&](const CreatedTypeItem& c) { return typeIndexEqual(c.unsimplifiedIndex, typeIndex); });
}

const TypeItem* CreatedTypeItem::findType(const TYPE_INDEX& typeIndex, const TypeItem* sharedBase)
{
    if (sharedBase == nullptr || !sharedBase->hasFlag(TypeFlags::upcShared)) {
        return newestKeyed(CreatedTypeIndex::Key::ownIndex, typeIndex,
                           [&](const CreatedTypeItem& c) { return typeIndexEqual(c.unsimplifiedIndex, typeIndex); });
    }
    const TypeItem* plain = nullptr;
    try {
        plain = findOrCreateType(typeIndex, nullptr);
    } catch (...) {
        plain = nullptr;
    }
    if (plain == nullptr)
        return nullptr;
    return newestCreated([&](const CreatedTypeItem& c) {
        try {
            return c.hasFlag(TypeFlags::upcShared) && c.sameBlockFactor(*sharedBase) &&
                   c.typeIndex() == plain->typeIndex() && c.cachedName() == plain->cachedName();
        } catch (...) {
            return false;
        }
    });
}

const TypeItem* CreatedTypeItem::findOrCreateType(const TYPE_INDEX& typeIndex, const TypeItem* sharedBase)
{
    if (const TypeItem* found = findType(typeIndex, sharedBase))
        return found;
    return createType(typeIndex, sharedBase);
}

const TypeItem* CreatedTypeItem::createType(const TYPE_INDEX& typeIndex, const TypeItem* sharedBase)
{
    if (sharedBase != nullptr && sharedBase->hasFlag(TypeFlags::upcShared)) {
        unsigned blockElements = sharedBase->sharedBlockElements();
        TypeItem plain(typeIndex);
        return new CreatedSharedTypeItem(plain, blockElements);
    }
    // The entry is had before the type joins the list, so that a failing
    // host leaves nothing half made behind.
    const _TYPE_ENTRY* e = nullptr;
    if (typeIndex.module == staticModule)
        e = getStaticType(typeIndex);
    else if (typeIndex.module != 0)
        e = SVC::ExprGetTypeEntry(EvaluationEnvironment::currentRep()->context(), typeIndex);
    return new CreatedTypeItem(typeIndex, e);
}

const _TYPE_ENTRY* CreatedTypeItem::getStaticType(const TYPE_INDEX& typeIndex)
{
    if (typeIndex.module != staticModule)
        return nullptr;
    std::lock_guard<std::mutex> guard(staticTypesLock());
    const std::vector<const _TYPE_ENTRY*>& types = staticTypes();
    return typeIndex.index < types.size() ? types[typeIndex.index] : nullptr;
}

TYPE_INDEX CreatedTypeItem::makeStaticType(const _TYPE_ENTRY* typeEntry)
{
    std::lock_guard<std::mutex> guard(staticTypesLock());
    std::vector<const _TYPE_ENTRY*>& types = staticTypes();
    // An entry made static again keeps its index: owners that register
    // their entry on every request do not grow the table.
    for (std::size_t i = 0; i < types.size(); ++i)
        if (types[i] == typeEntry && typeEntry != nullptr)
            return TYPE_INDEX{staticModule, static_cast<UBYTE4>(i)};
    if (types.size() >= staticTypeLimit)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__, "Too many static types");
    types.push_back(typeEntry);
    return TYPE_INDEX{staticModule, static_cast<UBYTE4>(types.size() - 1)};
}

void CreatedTypeItem::forgetStaticType(const _TYPE_ENTRY* typeEntry) noexcept
{
    if (typeEntry == nullptr)
        return;
    std::lock_guard<std::mutex> guard(staticTypesLock());
    // The slot stays, empty: its index is never given to another entry, so
    // an index kept somewhere can never reach a different type.
    for (const _TYPE_ENTRY*& slot : staticTypes())
        if (slot == typeEntry)
            slot = nullptr;
}

const TypeItem* CreatedTypeItem::findDecoratedType(const TypeItem& type)
{
    const _TYPE_ENTRY* e = type.typeEntry();
    if (e == nullptr || e->leaf != TE_DECORATION)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Find decorated type for %s", shortName(type));
    TYPE_INDEX inner = e->modifier.type;
    if (const TypeItem* found = findType(inner, nullptr))
        return found;
    return createType(inner, nullptr);
}

// ---------------------------------------------------------------------------
// Data-item types

const TypeItem* CreatedTypeItem::findType(const TNpacked_decimal& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNzoned_decimal& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNnational_decimal& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNfixed_point_binary& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNindex_name& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNindex_data_item& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNexternal_float& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNalpha_numeric_edited& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNnational_external_float& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNnational_edited& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNdbcs_edited& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNnumeric_edited& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNnational_numeric_edited& r)
{
    return newestWithRecord(r);
}
const TypeItem* CreatedTypeItem::findType(const TNcharstring& r, bool a, bool b, bool c)
{
    return newestWithString(r, a, b, c);
}
const TypeItem* CreatedTypeItem::findType(const TNnational_string& r, bool a, bool b, bool c)
{
    return newestWithString(r, a, b, c);
}
const TypeItem* CreatedTypeItem::findType(const TNdbcs_string& r, bool a, bool b, bool c)
{
    return newestWithString(r, a, b, c);
}

const TypeItem* CreatedTypeItem::findOrCreatePackedDecimalType(const TNpacked_decimal& r)
{
    return findOrMake<CreatedPackedDecimalTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreatePackedDecimalType(unsigned char precision, signed char scale,
                                                               bool isSigned, const char* picture)
{
    return findOrCreatePackedDecimalType(DataItemRecord::packedDecimal(precision, scale, isSigned, picture));
}

const TypeItem* CreatedTypeItem::makePackedDecimalType(unsigned char precision, unsigned char places)
{
    if (const TypeItem* found = newestWithRecord(DataItemRecord::packedDecimal(precision, places)))
        return found;
    return new CreatedPackedDecimalTypeItem(precision, places);
}

const TypeItem* CreatedTypeItem::findOrCreateZonedDecimalType(const TNzoned_decimal& r)
{
    return findOrMake<CreatedZonedDecimalTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateZonedDecimalType(unsigned char precision, signed char scale, bool isSigned,
                                                              const char* picture, TN_DecimalSign sign)
{
    return findOrCreateZonedDecimalType(DataItemRecord::zonedDecimal(precision, scale, isSigned, picture, sign));
}

const TypeItem* CreatedTypeItem::makeZonedDecimalType(unsigned char precision, unsigned char places)
{
    if (const TypeItem* found = newestWithRecord(DataItemRecord::zonedDecimal(precision, places)))
        return found;
    return new CreatedZonedDecimalTypeItem(precision, places);
}

const TypeItem* CreatedTypeItem::findOrCreateNationalDecimalType(const TNnational_decimal& r)
{
    return findOrMake<CreatedNationalDecimalTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateNationalDecimalType(unsigned char precision, signed char scale,
                                                                 bool isSigned, const char* picture,
                                                                 TN_DecimalSign sign)
{
    return findOrCreateNationalDecimalType(DataItemRecord::nationalDecimal(precision, scale, isSigned, picture, sign));
}

const TypeItem* CreatedTypeItem::makeNationalDecimalType(unsigned char precision, unsigned char places)
{
    if (const TypeItem* found = newestWithRecord(DataItemRecord::nationalDecimal(precision, places)))
        return found;
    return new CreatedNationalDecimalTypeItem(precision, places);
}

const TypeItem* CreatedTypeItem::findOrCreateFixedPointBinaryType(const TNfixed_point_binary& r)
{
    return findOrMake<CreatedFixedPointBinaryTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateFixedPointBinaryType(unsigned char precision, signed char scale,
                                                                  bool isSigned, const char* picture)
{
    return findOrCreateFixedPointBinaryType(DataItemRecord::fixedPointBinary(precision, scale, isSigned, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateIndexNameType(const TNindex_name& r)
{
    return findOrMake<CreatedIndexNameTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateIndexNameType(unsigned char byteLength, unsigned int elementLength)
{
    return findOrCreateIndexNameType(DataItemRecord::indexName(byteLength, elementLength));
}

const TypeItem* CreatedTypeItem::findOrCreateIndexDataItemType(const TNindex_data_item& r)
{
    return findOrMake<CreatedIndexDataItemTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateIndexDataItemType(unsigned char byteLength)
{
    return findOrCreateIndexDataItemType(DataItemRecord::indexDataItem(byteLength));
}

const TypeItem* CreatedTypeItem::findOrCreateNumericEditedType(const TNnumeric_edited& r)
{
    return findOrMake<CreatedNumericEditedTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateNumericEditedType(unsigned int length, unsigned char precision,
                                                               signed char scale, const char* picture)
{
    return findOrCreateNumericEditedType(
        DataItemRecord::numericEdited<TNnumeric_edited>(TE_NUMERIC_EDITED, length, precision, scale, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateNationalNumericEditedType(const TNnational_numeric_edited& r)
{
    return findOrMake<CreatedNationalNumericEditedTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateNationalNumericEditedType(unsigned int length, unsigned char precision,
                                                                       signed char scale, const char* picture)
{
    return findOrCreateNationalNumericEditedType(DataItemRecord::numericEdited<TNnational_numeric_edited>(
        TE_NATIONAL_NUMERIC_EDITED, length, precision, scale, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateAlphaNumericEditedType(const TNalpha_numeric_edited& r)
{
    return findOrMake<CreatedAlphaNumericEditedTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateAlphaNumericEditedType(unsigned int length, const char* picture)
{
    return findOrCreateAlphaNumericEditedType(
        DataItemRecord::edited<TNalpha_numeric_edited>(TE_ALPHA_NUMERIC_EDITED, length, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateNationalEditedType(const TNnational_edited& r)
{
    return findOrMake<CreatedNationalEditedTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateNationalEditedType(unsigned int length, const char* picture)
{
    return findOrCreateNationalEditedType(
        DataItemRecord::edited<TNnational_edited>(TE_NATIONAL_EDITED, length, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateDbcsEditedType(const TNdbcs_edited& r)
{
    return findOrMake<CreatedDbcsEditedTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateDbcsEditedType(unsigned int length, const char* picture)
{
    return findOrCreateDbcsEditedType(DataItemRecord::edited<TNdbcs_edited>(TE_DBCS_EDITED, length, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateExternalFloatType(const TNexternal_float& r)
{
    return findOrMake<CreatedExternalFloatTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateExternalFloatType(unsigned int length, const char* picture)
{
    return findOrCreateExternalFloatType(DataItemRecord::edited<TNexternal_float>(TE_EXTERNAL_FLOAT, length, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateNationalExternalFloatType(const TNnational_external_float& r)
{
    return findOrMake<CreatedNationalExternalFloatTypeItem>(r);
}

const TypeItem* CreatedTypeItem::findOrCreateNationalExternalFloatType(unsigned int length, const char* picture)
{
    return findOrCreateNationalExternalFloatType(
        DataItemRecord::edited<TNnational_external_float>(TE_NATIONAL_EXTERNAL_FLOAT, length, picture));
}

const TypeItem* CreatedTypeItem::findOrCreateCharstringType(const TNcharstring& r, bool a, bool b, bool c)
{
    return findOrMakeString<CreatedCharstringTypeItem>(r, a, b, c);
}

const TypeItem* CreatedTypeItem::findOrCreateCharstringType(unsigned int length, bool a, bool b, bool c,
                                                            const char* picture)
{
    return findOrCreateCharstringType(DataItemRecord::string<TNcharstring>(TE_CHARSTRING, length, picture), a, b, c);
}

const TypeItem* CreatedTypeItem::findOrCreateNationalStringType(const TNnational_string& r, bool a, bool b, bool c)
{
    return findOrMakeString<CreatedNationalStringTypeItem>(r, a, b, c);
}

const TypeItem* CreatedTypeItem::findOrCreateNationalStringType(unsigned int length, bool a, bool b, bool c,
                                                                const char* picture)
{
    return findOrCreateNationalStringType(
        DataItemRecord::string<TNnational_string>(TE_NATIONAL_STRING, length, picture), a, b, c);
}

const TypeItem* CreatedTypeItem::findOrCreateDbcsStringType(const TNdbcs_string& r, bool a, bool b, bool c)
{
    return findOrMakeString<CreatedDbcsStringTypeItem>(r, a, b, c);
}

const TypeItem* CreatedTypeItem::findOrCreateDbcsStringType(unsigned int length, bool a, bool b, bool c,
                                                            const char* picture)
{
    return findOrCreateDbcsStringType(DataItemRecord::dbcsString(length, picture), a, b, c);
}

// ---------------------------------------------------------------------------
// Arrays, pointers, references, classes, members, procedures

namespace {

// The short name of a type for a trace line (only made while tracing).
const char* traceName(const TypeItem& type)
{
    try {
        return type.shortTypeName();
    } catch (const InvalidOp&) {
        return "??";
    }
}

bool sameText(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return std::strcmp(a, b) == 0;
}

} // namespace

const TypeItem* CreatedTypeItem::findArrayElement(const TypeItem& arrayType, const TypeItem* qualifier)
{
    const _TYPE_ENTRY* e = arrayType.typeEntry();
    if (e == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "for array %s", traceName(arrayType));
    TYPE_INDEX element{};
    switch (e->leaf) {
    case TE_ARRAY:
    case TE_VUM_ARRAY:
    case TE_F90_DESC_ARRAY:
    case TE_COBOL_TABLE: element = typeEntryElementType(*e); break;
    default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    const TypeItem* base = (qualifier != nullptr && qualifier->hasFlag(TypeFlags::upcShared)) ? qualifier : nullptr;
    return findOrCreateType(element, base);
}

const TypeItem* CreatedTypeItem::findArrayType(const TypeItem& element, std::uint64_t count)
{
    const EvaluatorTypeIndex& elementIndex = element.typeIndex();
    if (elementIndex.module() == 0 && elementIndex.index() == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Find array %s[%" PRIu64 "]", traceName(element), count);
    const std::uint64_t elementSize = element.typeSize();
    // The array record holds a 32-bit size: an array that does not fit is
    // refused rather than made with a truncated size.
    if (elementSize != 0 && count > 0xFFFFFFFFull / elementSize)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__, "Array too large");
    const std::uint32_t byteSize = static_cast<std::uint32_t>(elementSize * count);
    const TypeItem* found = newestCreated([&](const CreatedTypeItem& c) {
        const _TYPE_ENTRY* e = c.typeEntry();
        if (e == nullptr || e->leaf != TE_ARRAY || e->array.size.byteSize != byteSize || arraySizeIsDynamic(e->array) ||
            c.hasFlag(TypeFlags::upcShared))
            return false;
        TypeItem candidateElement(TYPE_INDEX(e->array.elementType));
        return candidateElement == element;
    });
    if (found != nullptr)
        return found;
    return new CreatedArrayTypeItem(byteSize, element);
}

const TypeItem* CreatedTypeItem::findPointerType(const TypeItem& pointee)
{
    const EvaluatorTypeIndex& pointeeIndex = pointee.typeIndex();
    if (pointeeIndex.module() == 0 && pointeeIndex.index() == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Find pointer to %s", traceName(pointee));
    const bool shared = pointee.hasFlag(TypeFlags::upcShared);
    if (!shared && pointee.typeEntry() == nullptr && !pointee.hasFlag(TypeFlags::pointer) &&
        !pointee.hasFlag(TypeFlags::modifier) && EvaluationEnvironment::currentRep()->addressSize() != 8) {
        return findOrCreateType(TYPE_INDEX{0, pointeeIndex.index() | PrimitiveType::pointerBit}, nullptr);
    }
    // A candidate's target must simplify to the pointee's index: only the
    // pointers keyed by that index are tested.
    const_cast<TypeItem&>(pointee).simplify();
    const EvaluatorTypeIndex& simplifiedPointee = pointee.typeIndex();
    const TYPE_INDEX pointeeKey{simplifiedPointee.module(), simplifiedPointee.index()};
    const TypeItem* found =
        newestKeyed(CreatedTypeIndex::Key::pointerTarget, pointeeKey, [&](const CreatedTypeItem& c) {
            // A created pointer to a primitive that simplification folded into
            // the pointer-to-primitive form still holds its record.
            const _TYPE_ENTRY* e = c.typeEntry();
            if (e == nullptr)
                e = &c.inlineEntry();
            if (e->leaf != TE_POINTER || c.boundTypeData() != nullptr)
                return false;
            TypeItem target(TYPE_INDEX(e->pointer.target));
            return !(target != pointee);
        });
    if (found != nullptr)
        return found;
    const _TYPE_ENTRY* pe = pointee.typeEntry();
    if (!shared || (pe != nullptr && pe->leaf == TE_UPC_SHARED))
        return new CreatedPointerTypeItem(pointee);
    const unsigned blockElements = pointee.sharedBlockElements();
    const TypeItem* sharedType = newestCreated([&](const CreatedTypeItem& c) {
        try {
            return c.hasFlag(TypeFlags::upcShared) && c.sharedBlockElements() == blockElements &&
                   typeIndexEqual(c.unsimplifiedTypeIndex(), pointee.unsimplifiedTypeIndex());
        } catch (const InvalidOp&) {
            return false;
        }
    });
    if (sharedType == nullptr)
        sharedType = new CreatedSharedTypeItem(pointee, blockElements);
    return new CreatedPointerTypeItem(*sharedType);
}

namespace {

const TypeItem* findOrMakeReference(const TypeItem& type, bool addressOf, const char* function, unsigned line)
{
    const EvaluatorTypeIndex& typeIndex = type.typeIndex();
    if (typeIndex.module() == 0 && typeIndex.index() == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line);
    if (SVC::tracing())
        SVC::fTrace(function, line, "Find reference to %s", traceName(type));
    const bool shared = type.hasFlag(TypeFlags::upcShared);
    const TypeItem* found = newestCreated([&](const CreatedTypeItem& c) {
        const _TYPE_ENTRY* e = c.typeEntry();
        return e != nullptr && e->leaf == TE_REFERENCE &&
               typeIndexEqual(e->reference.referent, type.unsimplifiedTypeIndex()) &&
               ((e->reference.flags & TNreference_AddressOf) != 0) == addressOf &&
               c.hasFlag(TypeFlags::upcShared) == shared;
    });
    if (found != nullptr)
        return found;
    return new CreatedReferenceTypeItem(type, addressOf);
}

} // namespace

const TypeItem* CreatedTypeItem::findReferenceType(const TypeItem& type)
{
    return findOrMakeReference(type, false, __PRETTY_FUNCTION__, __LINE__);
}

const TypeItem* CreatedTypeItem::findAddressOfReferenceType(const TypeItem& type)
{
    return findOrMakeReference(type, true, __PRETTY_FUNCTION__, __LINE__);
}

const TypeItem* CreatedTypeItem::findDereferencedType(const TypeItem& type)
{
    if (!type.hasFlag(TypeFlags::pointer))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return &type.dereference(0u);
}

const TypeItem* CreatedTypeItem::findF90PointeeType(const TypeItem& type)
{
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Find F90 Pointer type for %s", traceName(type));
    if (!type.hasFlag(TypeFlags::pointer) || !type.hasFlag(TypeFlags::fortranDescriptor))
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return &type.pointee();
}

const TypeItem* CreatedTypeItem::findType(const char* className)
{
    if (className == nullptr || *className == '\0')
        return nullptr;
    try {
        const TypeItem* found = newestCreated([&](const CreatedTypeItem& c) {
            const _TYPE_ENTRY* e = c.typeEntry();
            return e != nullptr && e->leaf == TE_CLASS &&
                   (sameText(e->klass.name, className) || sameText(e->klass.name2, className));
        });
        if (found != nullptr)
            return found;
        const TYPE_ENTRY* e = SVC::Expr2GetTypeByName(EvaluationEnvironment::currentRep()->context(), className, 0);
        if (e != nullptr && e->leaf == TE_CLASS && e->klass.memberCount != 0)
            return new CreatedClassTypeItem(e->klass);
    } catch (...) {
    }
    return nullptr;
}

const TypeItem* CreatedTypeItem::findOrCreateType(const TNclassmember& member)
{
    const bool staticBit = (member.flags & TNclassmember_Static) != 0;
    const bool expressionBit = (member.flags & TNclassmember_LocationIsExpression) != 0;
    const TypeItem* found = newestCreated([&](const CreatedTypeItem& c) {
        const _TYPE_ENTRY* e = c.typeEntry();
        if (e == nullptr || e->leaf != member.leaf)
            return false;
        const TNclassmember& r = e->member;
        if (r.flags != member.flags || r.attributes != member.attributes || r.classChar != member.classChar ||
            !sameText(r.name != nullptr ? r.name : "", member.name != nullptr ? member.name : ""))
            return false;
        if (staticBit && expressionBit)
            return false;
        if (staticBit)
            return sameText(r.location.storageName, member.location.storageName);
        if (expressionBit) {
            if (r.expressionLength != member.expressionLength)
                return false;
            if (r.expressionLength == 0)
                return true;
            if (r.location.expression == nullptr || member.location.expression == nullptr)
                return r.location.expression == member.location.expression;
            return std::memcmp(r.location.expression, member.location.expression, r.expressionLength) == 0;
        }
        return r.location.offset == member.location.offset && r.expressionLength == member.expressionLength;
    });
    if (found != nullptr)
        return found;
    return new CreatedClassmemberTypeItem(member);
}

const TypeItem* CreatedTypeItem::findBuiltinProcedureType(const TypeItem& result, const char* name, unsigned first,
                                                          unsigned second, const List<TYPE_INDEX>& arguments)
{
    const EvaluatorTypeIndex& resultIndex = result.typeIndex();
    if (resultIndex.module() == 0 && resultIndex.index() == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    const char* procedureName = name != nullptr ? name : "";
    if (SVC::tracing())
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Find builtin %s", procedureName);
    const TypeItem* found = newestCreated([&](const CreatedTypeItem& c) {
        const _TYPE_ENTRY* e = c.typeEntry();
        if (e == nullptr || e->leaf != TE_BUILTIN_PROCEDURE || e->function.count1 != first ||
            e->function.count2 != second)
            return false;
        if (TypeItem::strcmp_i(e->function.name != nullptr ? e->function.name : "", procedureName) != 0)
            return false;
        TypeItem candidateResult(TYPE_INDEX(e->function.returnType));
        return candidateResult == result;
    });
    if (found != nullptr)
        return found;
    TYPE_INDEX argumentList{0, 0};
    if (arguments.count() != 0)
        argumentList = (new CreatedListTypeItem(arguments))->unsimplifiedTypeIndex();
    return new CreatedBuiltinProcedureTypeItem(result, procedureName, first, second, argumentList);
}
