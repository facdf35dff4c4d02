#include "testhost/HostRecordStore.h"

#include <cstring>

const char* HostRecordStore::text(const std::string& s)
{
    _texts.push_back(s);
    return _texts.back().c_str();
}

const DwarfBlock* HostRecordStore::dwarfBlock(const std::vector<UBYTE1>& bytes)
{
    std::vector<UBYTE1> block(offsetof(DwarfLocString, first) + bytes.size(), 0);
    DwarfLocString head{};
    head.length = static_cast<UBYTE2>(bytes.size());
    std::memcpy(block.data(), &head, offsetof(DwarfLocString, first));
    if (!bytes.empty())
        std::memcpy(block.data() + offsetof(DwarfLocString, first), bytes.data(), bytes.size());
    _blocks.push_back(std::move(block));
    return reinterpret_cast<const DwarfBlock*>(_blocks.back().data());
}

const UBYTE1* HostRecordStore::bytes(const std::vector<UBYTE1>& bytes)
{
    _blocks.push_back(bytes);
    _blocks.back().push_back(0); // never hand out a null pointer for an empty block
    return _blocks.back().data();
}

_TYPE_ENTRY& HostRecordStore::newType(UBYTE4 leaf, TYPE_INDEX* index)
{
    _TYPE_ENTRY& e = _types.emplace_back();
    e.leaf = leaf;
    if (index != nullptr)
        *index = TYPE_INDEX{kModule, static_cast<UBYTE4>(_types.size())};
    return e;
}

_TYPE_ENTRY* HostRecordStore::type(TYPE_INDEX index) const
{
    if (index.module != kModule || index.index == 0 || index.index > _types.size())
        return nullptr;
    return const_cast<_TYPE_ENTRY*>(&_types[index.index - 1]);
}

void HostRecordStore::nameType(const std::string& name, TYPE_INDEX index)
{
    _typeNames[name] = index;
}

_TYPE_ENTRY* HostRecordStore::typeByName(const std::string& name) const
{
    auto it = _typeNames.find(name);
    return it == _typeNames.end() ? nullptr : type(it->second);
}

TYPE_INDEX HostRecordStore::integerType(UBYTE4 bitLength, bool isUnsigned, UBYTE1 bitOffset)
{
    TYPE_INDEX t;
    TNinteger& r = newType(TE_INTEGER, &t).integer;
    r.flags = isUnsigned ? TNinteger_Unsigned : TNinteger_Signed;
    r.bitLength = bitLength;
    r.bitOffset = bitOffset;
    return t;
}

TYPE_INDEX HostRecordStore::pointerType(TYPE_INDEX target, unsigned bytes)
{
    TYPE_INDEX t;
    TNpointer& r = newType(TE_POINTER, &t).pointer;
    r.flags = bytes == 8 ? TNpointer_Bytes8 : TNpointer_Bytes4;
    r.target = target;
    r.name = text("");
    return t;
}

TYPE_INDEX HostRecordStore::referenceType(TYPE_INDEX referent, bool addressOf)
{
    TYPE_INDEX t;
    TNreference& r = newType(TE_REFERENCE, &t).reference;
    r.referent = referent;
    r.flags = addressOf ? TNreference_AddressOf : 0;
    return t;
}

TYPE_INDEX HostRecordStore::arrayType(TYPE_INDEX element, UBYTE4 byteSize)
{
    TYPE_INDEX t;
    TNarray& r = newType(TE_ARRAY, &t).array;
    r.size.byteSize = byteSize;
    r.elementType = element;
    r.name = text("");
    return t;
}

TYPE_INDEX HostRecordStore::typedefType(const std::string& name, TYPE_INDEX aliased)
{
    TYPE_INDEX t;
    TNtypedef& r = newType(TE_TYPEDEF, &t).typedef_;
    r.aliasedType = aliased;
    r.name = text(name);
    nameType(name, t);
    return t;
}

TYPE_INDEX HostRecordStore::namedTag(const std::string& name, TYPE_INDEX named)
{
    TYPE_INDEX t;
    TNnamedtag& r = newType(TE_NAMEDTAG, &t).namedtag;
    r.namedType = named;
    r.name = text(name);
    return t;
}

TYPE_INDEX HostRecordStore::enumType(const std::string& name, TYPE_INDEX underlying,
                                     const std::vector<Enumerator>& enumerators)
{
    const TNenumeratorNode* first = nullptr;
    TNenumeratorNode* last = nullptr;
    for (const Enumerator& e : enumerators) {
        TNenumeratorNode& node = keep<TNenumeratorNode>();
        node.name = text(e.name);
        node.value = static_cast<UBYTE4>(static_cast<UBYTE8>(e.value));
        node.valueHigh = static_cast<UBYTE4>(static_cast<UBYTE8>(e.value) >> 32);
        (last ? last->next : first) = &node;
        last = &node;
    }
    TYPE_INDEX list;
    TNlist& l = newType(TE_LIST, &list).list;
    l.kind = TE_LIST_ENUMERATORS;
    l.first.enumerators = first;
    TYPE_INDEX t;
    TNenum& r = newType(TE_ENUM, &t).enumeration;
    r.underlyingType = underlying;
    r.name = text(name);
    r.enumeratorList = list;
    if (!name.empty())
        nameType(name, t);
    return t;
}

TYPE_INDEX HostRecordStore::typeList(const std::vector<TYPE_INDEX>& types)
{
    const TNtypeListNode* first = nullptr;
    TNtypeListNode* last = nullptr;
    for (TYPE_INDEX type : types) {
        TNtypeListNode& node = keep<TNtypeListNode>();
        node.type = type;
        (last ? last->next : first) = &node;
        last = &node;
    }
    TYPE_INDEX t;
    TNlist& l = newType(TE_LIST, &t).list;
    l.kind = TE_LIST_TYPES;
    l.first.types = first;
    return t;
}

TYPE_INDEX HostRecordStore::classType(const ClassSpec& spec)
{
    std::vector<TYPE_INDEX> fields;
    for (const Base& b : spec.bases) {
        TYPE_INDEX t;
        TNbaseclass& r = newType(TE_BASECLASS, &t).baseclass;
        r.baseType = b.type;
        r.location.offset = b.offset;
        r.attributes = b.attributes;
        fields.push_back(t);
    }
    for (const Member& m : spec.members) {
        TYPE_INDEX t;
        TNclassmember& r = newType(TE_MEMBER, &t).member;
        r.memberType = m.type;
        r.name = text(m.name);
        r.name2 = text("");
        r.classChar = m.classChar;
        r.levelNumber = m.levelNumber;
        if (m.isStatic) {
            r.flags |= TNclassmember_Static;
            r.location.storageName = text(m.storageName);
        } else if (!m.location.empty()) {
            r.flags |= TNclassmember_LocationIsExpression;
            r.location.expression = bytes(m.location);
            r.expressionLength = static_cast<UBYTE4>(m.location.size());
        } else {
            r.location.offset = m.offset;
        }
        fields.push_back(t);
    }
    for (TYPE_INDEX nested : spec.nestedTypes)
        fields.push_back(nested);
    TYPE_INDEX list = typeList(fields);
    TYPE_INDEX t;
    TNclass& r = newType(spec.leaf, &t).klass;
    r.flags = spec.flags | (spec.isStruct ? TNclass_Struct : 0);
    r.size.byteSize = spec.byteSize;
    r.memberCount = static_cast<UBYTE2>(fields.size());
    r.fieldList = list;
    r.name = text(spec.name);
    r.name2 = text(spec.name2);
    if (spec.enclosingClass.module != 0) {
        r.flags |= TNclass_Nested;
        r.enclosingClass = spec.enclosingClass;
    }
    if (!spec.name.empty())
        nameType(spec.name, t);
    return t;
}

TYPE_INDEX HostRecordStore::structType(const StructSpec& spec)
{
    std::vector<TYPE_INDEX> types;
    const TNnameListNode* first = nullptr;
    TNnameListNode* last = nullptr;
    for (size_t i = 0; i < spec.members.size(); ++i) {
        types.push_back(spec.members[i].second);
        TNnameListNode& node = keep<TNnameListNode>();
        node.name = text(spec.members[i].first);
        node.offset = static_cast<UBYTE4>(i < spec.offsets.size() ? spec.offsets[i] : 0);
        (last ? last->next : first) = &node;
        last = &node;
    }
    TYPE_INDEX typeListIndex = typeList(types);
    TYPE_INDEX names;
    TNlist& l = newType(TE_LIST, &names).list;
    l.kind = TE_LIST_NAMES;
    l.first.names = first;
    TYPE_INDEX t;
    TNstruct& r = newType(TE_STRUCT, &t).structure;
    r.byteSize = spec.byteSize;
    r.memberTypes = typeListIndex;
    r.memberNames = names;
    return t;
}

TYPE_INDEX HostRecordStore::functionType(TYPE_INDEX returnType, const std::vector<TYPE_INDEX>& parameters, UBYTE4 leaf)
{
    TYPE_INDEX list = typeList(parameters);
    TYPE_INDEX t;
    TNfunction& r = newType(leaf, &t).function;
    r.returnType = returnType;
    r.parameterList = list;
    r.name = text("");
    return t;
}

TYPE_INDEX HostRecordStore::packedDecimalType(UBYTE1 precision, signed char scale, bool isSigned, const char* picture)
{
    TYPE_INDEX t;
    TNpacked_decimal& r = newType(TE_PACKED_DECIMAL, &t).packed;
    r.precision = precision;
    r.decimalPlaces = scale < 0 ? static_cast<UBYTE1>(-scale) : 0;
    r.flags = isSigned ? TN_DecimalSigned : 0;
    r.byteLength = static_cast<UBYTE1>(precision / 2 + 1);
    r.scale = scale;
    r.picture = picture ? text(picture) : nullptr;
    return t;
}

namespace {

// Zoned and national decimal records share their layout; a national digit
// or separate sign takes two bytes.
template <class Record>
void fillSignedDigits(Record& r, UBYTE1 precision, signed char scale, bool isSigned, TN_DecimalSign sign,
                      unsigned bytesPerCharacter)
{
    r.precision = precision;
    r.decimalPlaces = scale < 0 ? static_cast<UBYTE1>(-scale) : 0;
    r.signKind = sign;
    r.flags = isSigned ? TN_DecimalSigned : 0;
    const bool separate = sign == TN_SignLeadingSeparate || sign == TN_SignTrailingSeparate;
    r.byteLength = static_cast<UBYTE1>(bytesPerCharacter * (precision + (separate ? 1 : 0)));
    r.scale = scale;
}

} // namespace

TYPE_INDEX HostRecordStore::zonedDecimalType(UBYTE1 precision, signed char scale, bool isSigned, TN_DecimalSign sign,
                                             const char* picture)
{
    TYPE_INDEX t;
    TNzoned_decimal& r = newType(TE_ZONED_DECIMAL, &t).zoned;
    fillSignedDigits(r, precision, scale, isSigned, sign, 1);
    r.picture = picture ? text(picture) : nullptr;
    return t;
}

TYPE_INDEX HostRecordStore::nationalDecimalType(UBYTE1 precision, signed char scale, bool isSigned, TN_DecimalSign sign,
                                                const char* picture)
{
    TYPE_INDEX t;
    TNnational_decimal& r = newType(TE_NATIONAL_DECIMAL, &t).nationalDecimal;
    fillSignedDigits(r, precision, scale, isSigned, sign, 2);
    r.picture = picture ? text(picture) : nullptr;
    return t;
}

TYPE_INDEX HostRecordStore::binaryType(UBYTE1 byteLength, UBYTE1 precision, signed char scale, bool isSigned)
{
    TYPE_INDEX t;
    TNfixed_point_binary& r = newType(TE_FIXED_POINT_BINARY, &t).binary;
    r.flags = isSigned ? TN_BinarySigned : 0;
    r.byteLength = byteLength;
    r.precision = precision;
    r.scale = scale;
    return t;
}

TYPE_INDEX HostRecordStore::charstringType(UBYTE4 length, UBYTE4 leaf, UBYTE4 flags)
{
    TYPE_INDEX t;
    _TYPE_ENTRY& e = newType(leaf, &t);
    if (leaf == TE_DBCS_STRING) {
        e.dbcsString.length = length;
    } else if (leaf == TE_NATIONAL_STRING) {
        e.nationalString.size.length = length;
        e.nationalString.flags = flags;
    } else {
        e.charstring.size.length = length;
        e.charstring.flags = flags;
    }
    return t;
}

TYPE_INDEX HostRecordStore::basedType(const std::string& pointerName)
{
    TYPE_INDEX t;
    newType(TE_BASED, &t).based.pointerName = text(pointerName);
    return t;
}

TYPE_INDEX HostRecordStore::fileDescriptorType(const std::string& name)
{
    TYPE_INDEX t;
    newType(TE_FILE_DESCRIPTOR, &t).fileDescriptor.name = text(name);
    return t;
}

_SYMBOL_ENTRY& HostRecordStore::newSymbol(UBYTE4 kind, const std::string& name)
{
    _SYMBOL_ENTRY& s = _symbols.emplace_back();
    s.header.kind = kind;
    s.header.name = text(name);
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::staticVariable(const std::string& name, TYPE_INDEX type, UBYTE4 section, UBYTE8 offset,
                                               UBYTE1 level)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_STATIC, name);
    s.statics.section = section;
    s.statics.offsetLow = static_cast<UBYTE4>(offset);
    s.statics.offsetHigh = static_cast<UBYTE4>(offset >> 32);
    s.statics.type = type;
    s.statics.displayName = text(name);
    s.statics.mangledName = text(name);
    s.statics.level = level;
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::automaticVariable(const std::string& name, TYPE_INDEX type, std::int64_t frameOffset,
                                                  UBYTE1 level)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_AUTOMATIC, name);
    s.automatic.frameOffsetLow = static_cast<BYTE4>(frameOffset);
    s.automatic.frameOffsetHigh = static_cast<UBYTE4>(static_cast<UBYTE8>(frameOffset) >> 32);
    s.automatic.type = type;
    s.automatic.attributeD = 1;
    s.automatic.level = level;
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::qualifiedName(const std::string& name, const _SYMBOL_ENTRY& parent, UBYTE1 level)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_QUALIFIED_NAME, name);
    s.qualified.parent = &parent;
    s.qualified.level = level;
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::sqlHostVariable(const std::string& name, const SqlVariable& v)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_SQL_HOST_VARIABLE, name);
    s.sqlhostvariable.sqlType = v.sqlType;
    s.sqlhostvariable.length = v.length;
    s.sqlhostvariable.maxLength = v.maxLength;
    s.sqlhostvariable.addressLow = static_cast<UBYTE4>(v.address);
    s.sqlhostvariable.addressHigh = static_cast<UBYTE4>(v.address >> 32);
    s.sqlhostvariable.addressWidth = v.addressWidth;
    s.sqlhostvariable.elementCount = v.elementCount;
    s.sqlhostvariable.ccsid = v.ccsid;
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::dwarfVariable(const std::string& name, TYPE_INDEX type,
                                              const std::vector<UBYTE1>& location)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_DWARF_LOCATION, name);
    s.typed.type = type;
    s.typed.u.location = bytes(location);
    s.typed.locationLength = static_cast<UBYTE4>(location.size());
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::registerVariable(const std::string& name, TYPE_INDEX type,
                                                 const std::string& registerName)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_REGISTER, name);
    s.typed.type = type;
    s.typed.u.registerName = text(registerName);
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::constant(const std::string& name, TYPE_INDEX type, const void* value)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_CONSTANT, name);
    s.typed.type = type;
    s.typed.u.value = value;
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::typeName(const std::string& name, TYPE_INDEX type)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_TYPE_NAME, name);
    s.typed.type = type;
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::function(const std::string& name, TYPE_INDEX type, UBYTE4 section, UBYTE8 offset)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_FUNCTION, name);
    s.function.section = section;
    s.function.offsetLow = static_cast<UBYTE4>(offset);
    s.function.offsetHigh = static_cast<UBYTE4>(offset >> 32);
    s.function.type = type;
    s.function.plainName = text(name);
    s.function.mangledName = text(name);
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::threadStaticVariable(const std::string& name, TYPE_INDEX type, UBYTE8 offset)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_THREAD_STATIC, name);
    s.threadstatic.offsetLow = static_cast<UBYTE4>(offset);
    s.threadstatic.offsetHigh = static_cast<UBYTE4>(offset >> 32);
    s.threadstatic.type = type;
    s.threadstatic.displayName = text(name);
    s.threadstatic.mangledName = text(name);
    return s;
}

_SYMBOL_ENTRY& HostRecordStore::commonBlockMember(const std::string& name, TYPE_INDEX type, UBYTE4 section,
                                                  UBYTE8 offset)
{
    _SYMBOL_ENTRY& s = newSymbol(SE_COMMON_MEMBER, name);
    s.commonmember.offsetLow = static_cast<UBYTE4>(offset);
    s.commonmember.offsetHigh = static_cast<UBYTE4>(offset >> 32);
    s.commonmember.section = section;
    s.commonmember.type = type;
    return s;
}

SYMBOL_LIST* HostRecordStore::symbolList(const std::vector<_SYMBOL_ENTRY*>& entries)
{
    // One list per set of entries: a host answering searches for ever
    // (a fuzz run) keeps as many lists as there are different answers.
    auto known = _listsByEntries.find(entries);
    if (known != _listsByEntries.end())
        return known->second;
    std::vector<_SYMBOL_ENTRY*>& list = _lists.emplace_back(entries);
    list.push_back(nullptr);
    _listsByEntries.emplace(entries, list.data());
    return list.data();
}
