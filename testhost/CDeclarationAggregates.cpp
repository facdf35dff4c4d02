// Structures, unions, classes and enumerations of program files: their
// layout as a big-endian compiler makes it, and their host records.

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "testhost/CDeclarationParts.h"
#include "testhost/CDeclarationReader.h"
#include "testhost/DebuggeeLayout.h"
#include "testhost/TestHost.h"

using namespace cdeclaration;

namespace {

std::uint64_t roundUp(std::uint64_t n, std::uint64_t unit)
{
    return (n + unit - 1) / unit * unit;
}

std::string described(const CDeclarationReader::Type& type)
{
    return type.keyword + (type.tag.empty() ? std::string(" without tag") : " " + type.tag);
}

} // namespace

CDeclarationReader::TypeP CDeclarationReader::aggregateSpecifier(const std::string& keyword)
{
    const int line = _cursor.peek().line;
    std::string tag;
    if (_cursor.peek().kind == Token::Word)
        tag = _cursor.next().text;
    const bool hasBases = isCpp() && _cursor.peek().kind == Token::Punct && _cursor.peek().text == ":";
    if (!hasBases && !accept("{")) {
        if (tag.empty())
            fail("a " + keyword + " needs a tag or members");
        auto known = _tags.find(tag);
        if (known == _tags.end())
            fail(line, "unknown " + keyword + " " + tag);
        // struct and class name the same kind of type; union and enum not.
        const std::string& was = known->second->keyword;
        if ((was == "union") != (keyword == "union") || was == "enum")
            fail(line, tag + " is a " + was + ", not a " + keyword);
        return known->second;
    }
    if (!tag.empty() && _tags.count(tag))
        fail(line, keyword + " " + tag + " defined twice");
    auto type = std::make_shared<Type>();
    type->kind = Type::Struct;
    type->tag = tag;
    type->keyword = keyword;
    if (hasBases) {
        accept(":");
        for (;;) {
            while (accept("public") || accept("protected") || accept("private")) {
            }
            if (accept("virtual"))
                fail("virtual base classes are not supported");
            const std::string name = identifier("a base class");
            auto base = _tags.find(name);
            if (base == _tags.end() || base->second->kind != Type::Struct || base->second->keyword == "union")
                fail(line, "unknown base class " + name);
            const TypeP& b = base->second;
            // A base without data takes no room (as C++ compilers lay it out);
            // one that is no POD lends its tail padding.
            const std::uint64_t offset = b->empty ? 0 : roundUp((type->bits + 7) / 8, b->align);
            type->members.push_back({"", b, offset, 0, 0, true});
            if (!b->empty)
                type->bits = (offset + (b->pod ? b->size : b->dataSize)) * 8;
            type->align = std::max(type->align, b->align);
            type->pod = false;
            if (!accept(","))
                break;
        }
        expect("{");
    }
    // The tag names the type from here on, incomplete until its closing
    // brace: its members may point to it.
    type->complete = false;
    if (!tag.empty())
        _tags[tag] = type;
    members(*type);
    finishAggregate(*type);
    return type;
}

void CDeclarationReader::members(Type& type)
{
    const bool isUnion = type.keyword == "union";
    // Data that is not public makes a C++ class no POD.
    bool isPublic = type.keyword != "class";
    while (!accept("}")) {
        if (isCpp() && _cursor.peek(1).kind == Token::Punct && _cursor.peek(1).text == ":" &&
            _cursor.peek().kind == Token::Word &&
            (_cursor.peek().text == "public" || _cursor.peek().text == "protected" ||
             _cursor.peek().text == "private")) {
            isPublic = _cursor.next().text == "public";
            expect(":");
            continue;
        }
        const TypeP memberBase = typeSpecifier();
        for (;;) {
            TypeP t = memberBase;
            while (accept("*"))
                t = pointerTo(t);
            const int memberLine = _cursor.peek().line;
            std::string name;
            if (!(_cursor.peek().kind == Token::Punct && _cursor.peek().text == ":"))
                name = identifier("a member name");
            for (const Type::Member& m : type.members)
                if (!name.empty() && m.name == name)
                    fail(memberLine, "member " + name + " declared twice");
            if (accept(":")) {
                bitField(type, t, name, memberLine);
                if (!isPublic && !name.empty())
                    type.pod = false;
            } else {
                const std::vector<std::uint64_t> counts = dimensions(false, memberLine);
                if (!counts.empty())
                    t = arrayOfDimensions(t, counts, memberLine);
                const Type* innermost = t.get();
                while (innermost->kind == Type::Array)
                    innermost = innermost->target.get();
                if (innermost->kind == Type::Struct && !innermost->complete)
                    fail(memberLine, "member " + name + " of an incomplete " + innermost->keyword);
                const std::uint64_t offset = isUnion ? 0 : roundUp((type.bits + 7) / 8, t->align);
                if (t->size > programSizeLimit - offset)
                    fail(memberLine, tooLarge(described(type)));
                type.members.push_back({name, t, offset});
                type.bits = std::max(type.bits, (offset + t->size) * 8);
                const Type* element = t.get();
                while (element->kind == Type::Array)
                    element = element->target.get();
                if (!isPublic || !element->pod)
                    type.pod = false;
                type.align = std::max(type.align, t->align);
            }
            if (accept(";"))
                break;
            expect(",");
        }
    }
}

// A bit field takes the next bits of the aggregate unless they would cross
// the end of a unit of its declared type: then it starts the next unit, as a
// field of width 0 makes the next one start. Its host record is an integer
// of its width at its bit offset from the most significant bit of that
// unit, the member's offset the unit's first byte.
void CDeclarationReader::bitField(Type& type, const TypeP& declared, const std::string& name, int line)
{
    if (_cursor.peek().kind != Token::Number)
        fail(line, "the width of a bit field expected");
    const long long width = std::strtoll(_cursor.next().text.c_str(), nullptr, 0);
    if (declared->kind != Type::Integer && declared->kind != Type::Character && declared->kind != Type::Boolean)
        fail(line, "the bit field " + (name.empty() ? std::string("without name") : name) + " needs an integer type");
    const std::uint64_t unitBits = declared->size * 8;
    if (width < 0 || static_cast<std::uint64_t>(width) > unitBits)
        fail(line, "the bit field " + name + " is wider than its type");
    const bool isUnion = type.keyword == "union";
    if (width == 0) {
        if (!name.empty())
            fail(line, "the bit field " + name + " has width 0");
        if (!isUnion)
            type.bits = roundUp(type.bits, unitBits);
        return;
    }
    const auto w = static_cast<std::uint64_t>(width);
    std::uint64_t position = isUnion ? 0 : type.bits;
    if (position / unitBits != (position + w - 1) / unitBits)
        position = roundUp(position, unitBits);
    type.bits = std::max(type.bits, position + w);
    if (position / 8 + declared->size > programSizeLimit)
        fail(line, tooLarge(described(type)));
    if (name.empty())
        return; // padding
    type.align = std::max(type.align, declared->align);
    const std::uint64_t unit = position / unitBits * declared->size;
    auto field = std::make_shared<Type>(*declared);
    field->index = _layout.host().records().integerType(static_cast<UBYTE4>(w), !declared->isSigned,
                                                        static_cast<UBYTE1>(position - unit * 8));
    type.members.push_back({name, field, unit, static_cast<unsigned>(w), position});
}

void CDeclarationReader::finishAggregate(Type& type)
{
    const bool hasData = std::any_of(type.members.begin(), type.members.end(),
                                     [](const Type::Member& m) { return !m.isBase || !m.type->empty; });
    if (!hasData && !isCpp())
        fail("a " + type.keyword + " without members");
    type.empty = !hasData;
    type.dataSize = (type.bits + 7) / 8;
    type.size = roundUp(type.dataSize, type.align);
    if (type.size == 0)
        type.size = 1; // an empty C++ class still has an address of its own
    HostRecordStore::ClassSpec spec;
    spec.name = type.tag;
    spec.byteSize = static_cast<UBYTE4>(type.size);
    spec.isStruct = type.keyword != "class";
    for (const Type::Member& m : type.members) {
        if (m.isBase)
            spec.bases.push_back(HostRecordStore::Base{m.type->index, static_cast<UBYTE4>(m.offset), 0});
        else
            spec.members.push_back(HostRecordStore::Member{m.name, m.type->index, static_cast<UBYTE4>(m.offset)});
    }
    HostRecordStore& records = _layout.host().records();
    type.index = records.classType(spec);
    type.complete = true;
    for (TYPE_INDEX pointer : type.pointersWhileIncomplete)
        records.type(pointer)->pointer.target = type.index;
    type.pointersWhileIncomplete.clear();
}

// enum tag { name [= value], ... }: the type of gcc's choice for the values
// (unsigned int when none is negative, int, else a 64-bit integer); each
// enumerator a constant of the enumeration.
CDeclarationReader::TypeP CDeclarationReader::enumSpecifier()
{
    const int line = _cursor.peek().line;
    std::string tag;
    if (_cursor.peek().kind == Token::Word)
        tag = _cursor.next().text;
    if (!accept("{")) {
        if (tag.empty())
            fail("an enum needs a tag or enumerators");
        auto known = _tags.find(tag);
        if (known == _tags.end())
            fail(line, "unknown enum " + tag);
        if (known->second->keyword != "enum")
            fail(line, tag + " is a " + known->second->keyword + ", not an enum");
        return known->second;
    }
    if (!tag.empty() && _tags.count(tag))
        fail(line, "enum " + tag + " defined twice");
    std::vector<HostRecordStore::Enumerator> enumerators;
    std::int64_t next = 0;
    bool past = false; // the previous value was the largest there is
    while (!accept("}")) {
        const int enumeratorLine = _cursor.peek().line;
        const std::string name = identifier("an enumerator");
        if (_enumerators.count(name) || _declared.count(name) || _typedefs.count(name))
            fail(enumeratorLine, name + " declared twice");
        if (accept("=")) {
            const bool negative = accept("-");
            if (_cursor.peek().kind == Token::Word && _enumerators.count(_cursor.peek().text)) {
                next = _enumerators.at(_cursor.next().text);
            } else {
                if (_cursor.peek().kind != Token::Number)
                    fail(enumeratorLine, "the value of " + name + " expected");
                const std::string text = _cursor.next().text;
                char* end = nullptr;
                errno = 0;
                const unsigned long long magnitude = std::strtoull(text.c_str(), &end, 0);
                if (*end != '\0' || errno == ERANGE || magnitude > 0x7FFFFFFFFFFFFFFFull)
                    fail(enumeratorLine, "bad value " + text + " of " + name);
                next = static_cast<std::int64_t>(magnitude);
            }
            if (negative)
                next = -next;
        } else if (past) {
            fail(enumeratorLine, "the value of " + name + " overflows");
        }
        _enumerators[name] = next;
        enumerators.push_back({name, next});
        past = next == std::numeric_limits<std::int64_t>::max();
        if (!past)
            ++next;
        if (!accept(",")) {
            expect("}");
            break;
        }
    }
    if (enumerators.empty())
        fail(line, "an enum without enumerators");
    std::int64_t low = 0, high = 0;
    for (const auto& e : enumerators) {
        low = std::min(low, e.value);
        high = std::max(high, e.value);
    }
    auto type = std::make_shared<Type>();
    type->kind = Type::Integer;
    type->tag = tag;
    type->keyword = "enum";
    unsigned code = 130;
    if (low >= 0 && high <= 0xFFFFFFFFll) {
        code = 134;
        type->size = 4;
        type->isSigned = false;
    } else if (low >= -0x80000000ll && high <= 0x7FFFFFFFll) {
        type->size = 4;
    } else {
        code = 155;
        type->size = 8;
    }
    type->align = static_cast<unsigned>(type->size);
    HostRecordStore& records = _layout.host().records();
    type->index = records.enumType(tag, TYPE_INDEX{0, code}, enumerators);
    TestHost& host = _layout.host();
    for (const auto& e : enumerators) {
        // The constant's value as the host keeps it: a 64-bit word in its
        // own byte order. An enumerator is an int, as C types it, unless
        // its value needs the enumeration's wider type.
        const auto value = static_cast<std::uint64_t>(e.value);
        std::vector<UBYTE1> word(sizeof value);
        std::memcpy(word.data(), &value, sizeof value);
        const bool isInt = e.value >= -0x80000000ll && e.value <= 0x7FFFFFFFll;
        host.declare(_context, records.constant(e.name, TYPE_INDEX{0, isInt ? 130u : code}, records.bytes(word)));
    }
    if (!tag.empty())
        _tags[tag] = type;
    return type;
}
