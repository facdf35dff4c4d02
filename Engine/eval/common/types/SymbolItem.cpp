#include "types/SymbolItem.h"

#include <cinttypes>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "HostRecordAccess.h"
#include "types/Extended12.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "services/Register.h"
#include "services/SVC.h"
#include "services/TextBytes.h"
#include "types/BoundTypeItem.h"
#include "types/BuiltinProcedure.h"
#include "types/ClassScopeItem.h"
#include "types/ScopeItem.h"

#include <plomkit/ThreadOwned.h>

namespace {

// The form a symbol's type takes: the type itself, or its bound form when
// its shape is fixed by the program at run time.
const TypeItem& boundForm(const TypeItem& type)
{
    return *BoundTypeItem::getType(type);
}

// The entries whose symbols are being made on this thread, outermost first:
// an owner entry met again is a cycle in the host's owner chain.
std::vector<const SYMBOL_ENTRY*>& entriesInMaking()
{
    return threadOwned<std::vector<const SYMBOL_ENTRY*>>([] {});
}

class EntryInMaking {
public:
    explicit EntryInMaking(const SYMBOL_ENTRY* entry)
    {
        for (const SYMBOL_ENTRY* e : entriesInMaking())
            if (e == entry)
                throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__,
                                "The owner chain of a symbol entry is cyclic");
        entriesInMaking().push_back(entry);
    }
    ~EntryInMaking() { entriesInMaking().pop_back(); }
    EntryInMaking(const EntryInMaking&) = delete;
    EntryInMaking& operator=(const EntryInMaking&) = delete;
};

bool isCLanguageFamily(int language)
{
    return language == 1 || language == 2 || language == 15 || language == 16;
}

TypeItem primitive(unsigned code)
{
    return TypeItem(code);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction

SymbolItem::SymbolItem(const char* name, ScopeItem& scope) : _scope(&scope)
{
    setName(name != nullptr ? name : "<unknown>");
}

SymbolItem::SymbolItem(const TypeItem& type, ScopeItem& scope, const char* name, bool isType)
    : _dataType(boundForm(type)), _scope(&scope), _isType(isType)
{
    if (name == nullptr)
        name = _dataType.demangledTypeName();
    setName(name != nullptr ? name : "");
}

SymbolItem::SymbolItem(const TypeItem& type, ScopeItem& scope, const TypeItem& member)
    : _dataType(boundForm(type)), _scope(&scope), _isMember(true)
{
    const _TYPE_ENTRY* e = member.typeEntry();
    if (e == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    switch (e->leaf) {
    case TE_NAMEDTAG: setName("<classdef>"); break;
    case TE_BASECLASS: setName("<baseclass>"); break;
    case TE_MEMBER:
        setName(e->member.name != nullptr ? e->member.name : "");
        _classChar = e->member.classChar;
        break;
    default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
    _memberType = new TypeItem(member);
}

SymbolItem::~SymbolItem()
{
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "this = 0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(this));
    delete _memberType;
}

void SymbolItem::setName(const char* name)
{
    _name = textOf(name);
}

void SymbolItem::initialiseFromEntry(SYMBOL_ENTRY* entry)
{
    _entry = entry;
    const TypeItem declared(typeOfSymbol(*entry));
    _dataType = boundForm(declared);
    _isUpcShared = _dataType.hasFlag(TypeFlags::upcShared);
}

// ---------------------------------------------------------------------------
// Making symbols

SymbolItem* SymbolItem::makeVarSymbol(SYMBOL_ENTRY* entry, ScopeItem& scope)
{
    if (entry == nullptr)
        return nullptr;
    EntryInMaking inMaking(entry);
    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();

    std::unique_ptr<SymbolItem> symbol(new SymbolItem(symbolEntryName(*entry), scope));
    symbol->initialiseFromEntry(entry);
    const bool bound = symbol->_dataType.boundTypeData() != nullptr;

    // The symbol of an owner entry (codes 2 and 3) is made first; a cyclic
    // chain of owners is an error, not an endless recursion.
    const SYMBOL_ENTRY* owner = symbolEntryOwner(*entry);
    if (owner != nullptr)
        symbol->_ownerSymbol = makeVarSymbol(const_cast<SYMBOL_ENTRY*>(owner), scope);

    const SymbolEntryAttributes attributes = symbolEntryAttributes(*entry);
    // The frame a frame-relative address is computed in: the environment's,
    // or the symbol's own once it is set where the environment has none.
    const auto boundFrame = [&] {
        int frame = env->frameIndex();
        if (frame < 0 && symbol->setFrame(frame) != nullptr)
            frame = env->frameIndex();
        return frame;
    };
    // An unbound symbol's address: its location expression evaluated as an
    // absolute address, cached.
    const auto cacheAbsoluteAddress = [&] {
        symbol->_location =
            DebuggeeAddress(SVC::Expr2ComputeAbsDWARFaddress(scope.context(), symbolEntryLocation(*entry)));
        symbol->_addressState = addressCached;
    };
    try {
        switch (entry->kind) {
        case SE_CONSTANT:
            // A constant has a value and no storage, in every language (a C
            // enumerator the host names as a constant too).
            symbol->_dataType.setSymbolFlag(true);
            symbol->_isConstant = true;
            break;
        case SE_AUTOMATIC:
            symbol->_attributeB = true;
            symbol->_classChar = attributes.classChar;
            symbol->_attributeA = attributes.a;
            symbol->_attributeD = attributes.d;
            if (bound) {
                env->setStaticExpression(false);
                const int frame = boundFrame();
                DebuggeeLocation where(symbol->computeAutoAddress(scope.context(), *entry, frame));
                symbol->_dataType.setSymbolLocation(where);
            } else {
                cacheAbsoluteAddress();
            }
            break;
        case SE_STATIC:
            symbol->_classChar = attributes.classChar;
            symbol->_attributeA = attributes.a;
            symbol->_attributeB = attributes.b;
            symbol->_attributeC = attributes.c;
            symbol->_attributeD = attributes.d;
            if (bound) {
                symbol->_location = symbol->computeStaticAddress(scope.context(), *entry);
                symbol->_dataType.setSymbolLocation(symbol->_location);
            }
            break;
        case SE_REGISTER:
            symbol->_isRegister = true;
            env->setStaticExpression(false);
            break;
        case SE_DWARF_LOCATION:
            if (bound) {
                const int frame = boundFrame();
                DebuggeeLocation where(symbol->computeDWExprAddress(scope.context(), *entry, frame));
                symbol->_dataType.setSymbolLocation(where);
                if (symbol->_addressState != addressCached)
                    env->setStaticExpression(false);
            } else {
                cacheAbsoluteAddress();
            }
            break;
        case SE_CONDITION_NAME:
            // The boolean primitive of a COBOL condition is built as a COBOL
            // boolean already (the type knows the language it was made in).
            symbol->_attributeB = true;
            symbol->_isCondition = true;
            symbol->_classChar = 'X';
            break;
        case SE_TYPE_NAME:
            // A name the host knows as a type: the symbol goes to the
            // scope's type names, so that a later type lookup finds it,
            // with the type the name denotes.
            symbol->_isType = true;
            symbol->_dataType = TypeItem(symbolEntryType(*entry));
            env->setStaticExpression(false);
            break;
        case SE_BLOCK:
        case SE_FUNCTION:
        case SE_SECTION_DATA:
        case SE_ENTRY_FUNCTION:
        case SE_NAMED33:
        case SE_NAMED35:
        case SE_SECTION_DATA36:
        case SE_BUILTIN_PROCEDURE: break;
        default: env->setStaticExpression(false); break;
        }
    } catch (...) {
        // An address that cannot be had now is asked for again when the
        // symbol is used; the symbol itself stands.
        env->setStaticExpression(false);
    }

    SymbolItem* made = symbol.release();
    scope.addSymbol(*made);
    return made;
}

SymbolItem* SymbolItem::makeVarSymbolPre(const char*, ScopeItem&)
{
    return nullptr;
}

SymbolItem* SymbolItem::makeVarSymbol(const char* name, ScopeItem& scope)
{
    if (SymbolItem* s = makeVarSymbolPre(name, scope))
        return s;
    if (SymbolItem* s = scope.findVariable(name, 0))
        return s;
    if (scope.isClassOrStructureScope())
        return static_cast<ClassScopeItem&>(scope).makeVarSymbol(name);

    EvaluationEnvironment* env = EvaluationEnvironment::currentRep();
    const UBYTE4 caseSensitive = env->language() == EvaluationEnvironment::languageFortran ? 0 : 1;
    SYMBOL_ENTRY* entry = SVC::ExprSearchForSymbolEntry(
        scope.context(), reinterpret_cast<UBYTE1*>(const_cast<char*>(name)), caseSensitive, scope.getSymbolsToSearch());
    if (entry != nullptr) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%s is a normal symbol (at %p)", name, static_cast<void*>(entry));
        return makeVarSymbol(entry, scope);
    }

    if (SymbolItem* s = makeVarSymbolPost(name, scope))
        return s;

    if (scope.scopeType() != ScopeItem::file)
        return nullptr;

    if (BuiltinProcedure* procedure = BuiltinProcedure::getProcData(name)) {
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%s is a builtin procedure", name);
        SymbolItem* s = makeVarSymbol(reinterpret_cast<SYMBOL_ENTRY*>(procedure), scope);
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "a symbol item at %08" PRIxPTR, reinterpret_cast<std::uintptr_t>(s));
        return s;
    }

    // A name the program does not know may still name a register.
    std::unique_ptr<SymbolItem> symbol(new SymbolItem(name, scope));
    try {
        const Register reg(static_cast<unsigned long>(Register::id(name)));
        symbol->_location = reg;
        symbol->_dataType = TypeItem(reg.datatype());
        symbol->_addressState = addressCached;
        env->setStaticExpression(false);
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%s is a register symbol : %08lx", name,
                    static_cast<unsigned long>(reg.registerId()));
    } catch (...) {
        symbol.reset();
        SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "Cannot find symbol %s", name);
        return nullptr;
    }
    SymbolItem* made = symbol.release();
    scope.addSymbol(*made);
    return made;
}

SymbolItem* SymbolItem::makeVarSymbolPost(const char* name, ScopeItem& scope)
{
    if (scope.scopeType() != ScopeItem::file)
        return nullptr;
    if (!isCLanguageFamily(EvaluationEnvironment::currentRep()->language()))
        return nullptr;
    if (std::strcmp(name, "I") != 0 && std::strcmp(name, "_Complex_I") != 0)
        return nullptr;
    std::unique_ptr<SymbolItem> symbol(new SymbolItem(name, scope));
    symbol->_noStorage = true;
    symbol->_dataType = primitive(140);
    scope.addSymbol(*symbol);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "%s is sqrt(-1)", name);
    return symbol.release();
}

SymbolItem* SymbolItem::makeTypeSymbol(const char* name, ScopeItem& scope)
{
    if (SymbolItem* s = scope.findType(name, 0))
        return s;
    if (scope.scopeType() == ScopeItem::structureScope)
        return nullptr;
    if (scope.scopeType() == ScopeItem::classScope)
        return static_cast<ClassScopeItem&>(scope).makeTypeSymbol(name);
    return makeTypeSymbolInBlock(name, scope);
}

SymbolItem* SymbolItem::makeTypeSymbolInBlock(const char* name, ScopeItem& scope)
{
    SYMBOL_ENTRY* entry =
        SVC::ExprSearchForSymbolEntry(scope.context(), reinterpret_cast<UBYTE1*>(const_cast<char*>(name)), 1, 37120);
    if (entry == nullptr || entry->kind != SE_TYPE_NAME)
        return nullptr;
    const TYPE_INDEX index = entry->typed.type;
    if (typeIndexEmpty(index))
        return nullptr;
    TypeItem type(index);
    ScopeItem* own = &scope;
    if (index.module != 0) {
        const _TYPE_ENTRY* e = type.typeEntry();
        if (e != nullptr) {
            switch (e->leaf) {
            case TE_CLASS:
            case TE_STRUCT:
            case TE_GROUP:
                own = ClassScopeItem::getClassScope(type, nullptr, false);
                if (own == nullptr)
                    throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
                break;
            case TE_ENUM:
            case TE_ENUM2: break;
            default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
            }
        }
    }
    std::unique_ptr<SymbolItem> symbol(new SymbolItem(type, *own, name, false));
    symbol->_isType = true;
    scope.addSymbol(*symbol);
    return symbol.release();
}

// ---------------------------------------------------------------------------
// Queries

const void* SymbolItem::descriptor() const
{
    if (_entry == nullptr)
        return nullptr;
    if (_entry->kind == SE_BUILTIN_PROCEDURE)
        return _entry;
    return symbolEntryDescriptor(*_entry);
}

std::uint8_t SymbolItem::levelNumber() const
{
    if (_entry != nullptr)
        return symbolEntryLevel(*_entry);
    // A member found through its group's scope has no entry: its member
    // record gives the level.
    const _TYPE_ENTRY* member = _memberType != nullptr ? _memberType->typeEntry() : nullptr;
    return member != nullptr && member->leaf == TE_MEMBER ? memberLevelNumber(member->member) : 0;
}

const char* SymbolItem::mangledName() const
{
    if (_entry != nullptr) {
        switch (_entry->kind) {
        case SE_FUNCTION:
        case SE_ENTRY_FUNCTION:
        case SE_STATIC:
        case SE_SECTION_DATA:
        case SE_THREAD_STATIC:
        case SE_MEMBER_FUNCTION:
        case SE_NAMED35: return symbolEntryMangledName(*_entry);
        default: break;
        }
    }
    return name();
}

int SymbolItem::functionType() const
{
    if (_entry == nullptr)
        return 0;
    switch (_entry->kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: {
        const char* plain = _entry->function.plainName;
        return (plain != nullptr && std::strchr(plain, '(') != nullptr) ? 2 : 1;
    }
    case SE_MEMBER_FUNCTION: return 3;
    case SE_BUILTIN_PROCEDURE: return 1;
    default: return 0;
    }
}

const TypeItem* SymbolItem::functionReturnType() const
{
    if (_entry == nullptr)
        throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    switch (_entry->kind) {
    case SE_FUNCTION:
    case SE_ENTRY_FUNCTION: {
        if (!_dataType.hasFlag(TypeFlags::function))
            throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
        const TypeItem::FunctionInfoBlock_t* info = _dataType.functionInfoBlock();
        if (info == nullptr)
            throw InvalidOp(InvalidOp::RTRC_NotSupported, __PRETTY_FUNCTION__, __LINE__);
        const TypeItem* result = info->returnType;
        if (result == nullptr || (result->typeIndex().module() == 0 && result->typeIndex().index() == 0))
            return TypeItem::simpleType(t_void);
        return result;
    }
    case SE_BUILTIN_PROCEDURE: {
        switch (_entry->builtin.resultCode) {
        case 1: return TypeItem::simpleType(t_signedShortInt);
        case 2: return TypeItem::simpleType(t_signedInt);
        case 3: return TypeItem::simpleType(t_signedLongLongInt);
        case 6: return TypeItem::simpleType(t_longBool);
        case 8: return TypeItem::simpleType(t_float);
        case 9: return TypeItem::simpleType(t_double);
        case 10: return TypeItem::simpleType(t_longDouble);
        case 11: return TypeItem::simpleType(t_complexFloat);
        case 12: return TypeItem::simpleType(t_complexDouble);
        case 13: return TypeItem::simpleType(t_complexLongDouble);
        default: throw InvalidOp(InvalidOp::RTRC_FIXME, __PRETTY_FUNCTION__, __LINE__);
        }
    }
    default: throw InvalidOp(InvalidOp::RTRC_InvalidSymbol, __PRETTY_FUNCTION__, __LINE__);
    }
}

namespace {

// The primitive code of a constant's type: the symbol's own type in Fortran,
// the entry's elsewhere; 0 when the type is no primitive.
unsigned constantCode(const SymbolItem& symbol)
{
    if (symbol.entry() == nullptr || symbol.entry()->kind != SE_CONSTANT)
        return 0;
    if (isFortranLanguage()) {
        const EvaluatorTypeIndex& own = symbol.dataType().typeIndex();
        return own.module() == 0 ? own.index() : 0;
    }
    const TYPE_INDEX index = symbol.entry()->typed.type;
    return index.module == 0 ? index.index : 0;
}

template <class T>
T readValue(const void* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// A long double constant: the 12-byte extended slot.
long double readExtended(const unsigned char* at)
{
    return Extended12::decode(at);
}

// The bytes of a constant symbol's value; a symbol without them is refused
// as an invalid operation of the caller.
const unsigned char* constantBytes(const SYMBOL_ENTRY* entry, const char* function, unsigned line)
{
    const void* value = entry != nullptr ? symbolEntryConstantValue(*entry) : nullptr;
    if (value == nullptr)
        throw InvalidOp(InvalidOp::RTRC_Other, function, line);
    return static_cast<const unsigned char*>(value);
}

} // namespace

std::uint64_t SymbolItem::constantValue() const
{
    const unsigned code = constantCode(*this);
    const unsigned char* value = constantBytes(_entry, __PRETTY_FUNCTION__, __LINE__);
    switch (code) {
    case 128: return std::uint64_t(std::int64_t(readValue<std::int8_t>(value)));
    case 129: return std::uint64_t(std::int64_t(readValue<std::int16_t>(value)));
    case 130: return std::uint64_t(std::int64_t(readValue<std::int32_t>(value)));
    case 132:
    case 144:
    case 148: return readValue<std::uint8_t>(value);
    case 133:
    case 145:
    case 149: return readValue<std::uint16_t>(value);
    case 134:
    case 146:
    case 150: return readValue<std::uint32_t>(value);
    case 155:
    case 156:
    case 157: return readValue<std::uint64_t>(value);
    default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
}

std::int16_t SymbolItem::constantValue(char*& text) const
{
    const void* value = _entry != nullptr ? symbolEntryConstantValue(*_entry) : nullptr;
    text = static_cast<char*>(const_cast<void*>(value));
    return text != nullptr ? static_cast<std::int16_t>(std::strlen(text)) : 0;
}

std::int16_t SymbolItem::constantValue(long double& result) const
{
    result = 0;
    const unsigned code = constantCode(*this);
    const unsigned char* value = constantBytes(_entry, __PRETTY_FUNCTION__, __LINE__);
    switch (code) {
    case 136:
    case 196: result = readValue<float>(value); return 4;
    case 137:
    case 197: result = readValue<double>(value); return 8;
    case 138:
    case 139:
    case 198: result = readExtended(value); return 12;
    default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
}

std::int16_t SymbolItem::constantValue(long double& re, long double& im) const
{
    re = 0;
    im = 0;
    const unsigned code = constantCode(*this);
    const unsigned char* value = constantBytes(_entry, __PRETTY_FUNCTION__, __LINE__);
    switch (code) {
    case 140:
    case 203:
        re = readValue<float>(value);
        im = readValue<float>(value + 4);
        return 8;
    case 141:
    case 204:
        re = readValue<double>(value);
        im = readValue<double>(value + 8);
        return 16;
    case 142:
    case 143:
    case 205:
        re = readExtended(value);
        im = readExtended(value + 12);
        return 24;
    default: throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    }
}
