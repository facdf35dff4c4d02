// TypeItem: construction, function information blocks, the entry and
// simplification. Kinds and sizes, navigation, aggregates and names are in
// the other TypeItem*.cpp files; their shared helpers in TypeItemSupport.h.
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
#include "types/SqlTypeRegistry.h"
#include "types/SymbolItem.h"
#include "types/TypeDepthGuard.h"
#include "types/TypeItemSupport.h"

using namespace TypeItemSupport;

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
{}

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
    settled = other.settled;
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

TypeItem::TypeItem(const TypeItem& other, AsAssigned)
    : flags(other.flags),
      name(other.name),
      index(other.index),
      unsimplifiedIndex(other.unsimplifiedIndex),
      boundData(other.boundData),
      functionInfo(nullptr),
      entry(other.entry),
      firstQualifier(other.firstQualifier),
      nameFlags(0),
      arrayCount(0),
      prefixLength(other.prefixLength),
      nameValid(other.nameValid),
      treeChanges(false),
      treeChangesKnown(false),
      created(other.created),
      constructed(false),
      stringKinds(other.stringKinds),
      symbolFlag(other.symbolFlag),
      cobolBool(other.cobolBool),
      settled(other.settled)
{}

TypeItem::~TypeItem()
{
    delete functionInfo;
}

TypeItem& TypeItem::operator=(const TypeItem& other)
{
    if (this == &other)
        return *this;
    // What resetAll() would clear and the copy below does not overwrite.
    delete functionInfo;
    functionInfo = nullptr;
    treeChanges = false;
    treeChangesKnown = false;
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
    settled = other.settled;
    noBasesEntry = nullptr;
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
    settled = false;
    noBasesEntry = nullptr;
}

void TypeItem::setNameText(const char* text)
{
    name = ByteString(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned>(std::strlen(text)));
}

// ---------------------------------------------------------------------------
// Entry and simplification

const _TYPE_ENTRY* TypeItem::lookUpEntry() const
{
    if (index.module() == SqlTypeRegistry::module) {
        entry = SqlTypeRegistry::find(index.typeIndex());
        return entry;
    }
    entry = SVC::ExprGetTypeEntry(currentContext(), index.typeIndex());
    return entry;
}

bool TypeItem::subsume(const TYPE_INDEX& typeIndex)
{
    const TypeItem* other = CreatedTypeItem::findOrCreateType(typeIndex, nullptr);
    if (other == nullptr)
        return false;
    flags.merge(*other);
    settled = false;
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

bool TypeItem::lookThrough()
{
    bool changed = false;
    bool terminal = false;
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
                    terminal = true;
                    break;
                }
                TYPE_INDEX target = e->pointer.target;
                unsigned size = addressSize();
                bool wrongWidth =
                    ((kindFlags & TNpointer_Bytes4) && size == 8) || ((kindFlags & TNpointer_Bytes8) && size == 4);
                if (target.module == 0 && target.index >= 1 && target.index <= 255 &&
                    !isPointerFormCode(target.index) && !wrongWidth) {
                    changed = true;
                    index = EvaluatorTypeIndex(target.index | PrimitiveType::pointerBit);
                    flags.add(TypeFlags::pointer);
                    if (target.index == PrimitiveType::voidType)
                        flags.add(TypeFlags::pointerToVoid);
                    entry = nullptr;
                } else if (target.module != 0) {
                    terminal = true;
                }
                break;
            }
            default:
                goOn = false;
                terminal = true;
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
        terminal = false;
    }
    // A type bound at run time or a created type still being built may
    // change under the same index: those are simplified afresh every time.
    settled = terminal && entry != nullptr && boundData == nullptr && (!created || constructed);

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
