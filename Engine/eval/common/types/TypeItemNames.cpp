// Names and trace text of a type.
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
#include "types/TypeItemSupport.h"

#include <plomkit/ThreadOwned.h>

using namespace TypeItemSupport;

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

} // namespace

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
    const std::string::size_type bracket = (e->leaf == TE_ARRAY && !inCobol() && ee != nullptr && ee->leaf == TE_ARRAY)
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
    std::string& text = threadOwned<std::string>([] {});
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
