#include "services/EvaluationEnvironment.h"

#include <atomic>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include <plomkit/UnicodeUtilities.h>

#include "machine/EnvironmentStack.h"
#include "services/CurrentEnvironmentRegistry.h"
#include "services/InvalidOp.h"
#include "services/SVC.h"
#include "types/EnvironmentTypes.h"

namespace {

// The frame base of a call-stack record.
DebuggeeAddress frameBase(const CALLSTACK_ITEM2& item)
{
    const EE_ADDR base = item.stackBase;
    return DebuggeeAddress(base);
}

// Deletes the elements of a detached list, newest first.
template <class T>
void deleteNewestFirst(List<T*>& list)
{
    for (unsigned i = list.count(); i > 0; --i)
        delete list[i - 1];
    list.deleteItems();
}

std::atomic<unsigned> debuggerEnvironmentWord{debuggerEnvironmentBase};

} // namespace

// ---------------------------------------------------------------------------
// OpenMP environments

EvaluationEnvironment::OpenMpEnv::OpenMpEnv(SYMBOL_ENTRY& entry) : offset_(0), valid_(false)
{
    if (entry.kind == SE_AUTOMATIC) {
        // The low word carries the sign; the high word is ORed over its
        // sign extension.
        const std::int32_t low = entry.automatic.frameOffsetLow;
        const std::uint64_t high = std::uint64_t(entry.automatic.frameOffsetHigh) << 32;
        offset_ = static_cast<std::int64_t>(static_cast<std::uint64_t>(std::int64_t(low)) | high);
        valid_ = true;
    }
}

DebuggeeAddress EvaluationEnvironment::OpenMpEnv::baseFor(const DebuggeeAddress& enclosing)
{
    if (!valid_ || !enclosing.isValid()) {
        address_.clear();
        return address_;
    }
    if (address_.isValid())
        return address_;
    try {
        DebuggeeAddress pointer = enclosing + static_cast<std::uint64_t>(offset_);
        pointer.dereference();
        address_ = pointer;
    } catch (const InvalidOp&) {
        address_.clear();
    }
    return address_;
}

// ---------------------------------------------------------------------------
// Construction and destruction

EvaluationEnvironment::EvaluationEnvironment() : EvaluationEnvironment(0) {}

EvaluationEnvironment::EvaluationEnvironment(int language)
    : typeCache_(std::make_unique<TypeCache>()),
      createdIndex_(std::make_unique<CreatedTypeIndex>()),
      language_(language)
{
    CurrentEnvironmentRegistry::born(this);
}

EvaluationEnvironment::~EvaluationEnvironment()
{
    deleteProducts();
    delete conditionalVarItem_;
    conditionalVarItem_ = nullptr;
    deleteNewestFirst(constantStrings_);
    delete upcSession_;
    upcSession_ = nullptr;
    // Taken out of every thread's slot, not only the calling thread's: the
    // host may free an environment on another thread than the one that made
    // it current.
    CurrentEnvironmentRegistry::dying(this);
    typeCache_->clearCache();
}

LocalsRepresentation* EvaluationEnvironment::asLocalsRepresentation()
{
    return nullptr;
}

ExpressionRepresentation* EvaluationEnvironment::asExprRepresentation()
{
    return nullptr;
}

void EvaluationEnvironment::reset()
{
    deleteProducts();
}

void EvaluationEnvironment::deleteProducts()
{
    wcharType_ = nullptr;

    // The list is detached before any scope is deleted: a scope unregisters
    // from this environment when it dies, and scopes made or deleted by the
    // destructors must not disturb the walk.
    List<ScopeItem*> scopes(scopes_);
    scopes_.deleteItems();
    listedScopes_.clear();
    classScopes_.clear();
    classScopeKeys_.clear();
    fileScope_ = nullptr;
    blockScope_ = nullptr;
    for (unsigned i = scopes.count(); i > 0; --i) {
        ScopeItem* scope = scopes[i - 1];
        scope->environment_ = nullptr;
        delete scope;
    }
    scopes.deleteItems();

    List<OpenMpEnv*> openMp(openMpEnvs_);
    openMpEnvs_.deleteItems();
    deleteNewestFirst(openMp);

    List<TemplateItem*> templates(templates_);
    templates_.deleteItems();
    deleteNewestFirst(templates);

    List<CreatedTypeItem*> created(createdTypes_);
    createdTypes_.deleteItems();
    createdIndex_->clear();
    deleteNewestFirst(created);
}

// ---------------------------------------------------------------------------
// The current environment of a thread

EvaluationEnvironment* EvaluationEnvironment::makeCurrent(const LCC_Eval_Context_Info* context) const
{
    if (context != nullptr)
        context_ = context;
    return CurrentEnvironmentRegistry::exchange(const_cast<EvaluationEnvironment*>(this));
}

ScopeItem* EvaluationEnvironment::initializeAndMakeCurrent(const LCC_Eval_Context_Info* context)
{
    makeCurrent(context);
    reset();
    addressSize_ = SVC::ExprGetContextLocationType(context) == 4 ? 8 : 4;
    // The scope of the context itself; it registers with this environment.
    blockScope_ = new ScopeItem(context, ScopeItem::unknownScope);
    return blockScope_;
}

void EvaluationEnvironment::noCurrentEnvironment()
{
    throw InvalidOp(InvalidOp::RTRC_AssertFail, "static EvaluationEnvironment* EvaluationEnvironment::currentRep()",
                    __LINE__);
}

EvaluationEnvironment* EvaluationEnvironment::currentOrNull()
{
    return CurrentEnvironmentRegistry::current();
}

// ---------------------------------------------------------------------------
// Stack frames

void EvaluationEnvironment::setEvaluationStackFrame(int frame, CALLSTACK_ITEM2* item)
{
    clearStackBase();
    frameIndex_ = frame;
    try {
        if (item != nullptr) {
            stackBase_ = frameBase(*item);
        } else if (frame >= 0) {
            CALLSTACK_ITEM2 entry{};
            SVC::Expr2GetCallStackEntry(context_, static_cast<UBYTE2>(frame), &entry);
            stackBase_ = frameBase(entry);
        }
    } catch (const InvalidOp&) {
        stackBase_.clear();
    }
}

void EvaluationEnvironment::clearStackBase()
{
    stackBase_.clear();
    frameIndex_ = -1;
    for (unsigned i = 0; i < openMpEnvs_.count(); ++i)
        openMpEnvs_[i]->clearAddress();
}

DebuggeeAddress EvaluationEnvironment::currentStackBase(unsigned level) const
{
    if (!stackBase_.isValid())
        throw InvalidOp(InvalidOp::RTRC_FIXME, __PRETTY_FUNCTION__, __LINE__);
    if (level == 0)
        return stackBase_;
    if (level > openMpEnvs_.count())
        throw InvalidOp(InvalidOp::RTRC_FIXME, __PRETTY_FUNCTION__, __LINE__);
    if (openMpEnvs_[level - 1]->cachedAddress().isValid())
        return openMpEnvs_[level - 1]->cachedAddress();
    DebuggeeAddress base = stackBase_;
    for (unsigned i = 0; i < level; ++i)
        base = openMpEnvs_[i]->baseFor(base);
    return base;
}

void EvaluationEnvironment::addOpenMpEnv(SYMBOL_ENTRY& entry)
{
    openMpEnvs_.append(new OpenMpEnv(entry));
}

void EvaluationEnvironment::clearOpenMpEnvs()
{
    List<OpenMpEnv*> openMp(openMpEnvs_);
    openMpEnvs_.deleteItems();
    deleteNewestFirst(openMp);
}

// ---------------------------------------------------------------------------
// Owned products

void EvaluationEnvironment::addScope(ScopeItem& scope)
{
    if (!listedScopes_.insert(&scope).second)
        return;
    try {
        scopes_.append(&scope);
    } catch (...) {
        listedScopes_.erase(&scope);
        throw;
    }
    if (scope.scopeType() == ScopeItem::file)
        fileScope_ = &scope;
}

void EvaluationEnvironment::removeScope(ScopeItem& scope) noexcept
{
    // Scopes mostly die newest first: the walk from the end is short.
    for (unsigned i = listedScopes_.erase(&scope) != 0 ? scopes_.count() : 0; i > 0; --i) {
        if (scopes_[i - 1] == &scope) {
            scopes_.remove(i - 1);
            scope.environment_ = nullptr;
            break;
        }
    }
    const auto keyed = classScopeKeys_.find(&scope);
    if (keyed != classScopeKeys_.end()) {
        std::vector<ScopeItem*>& same = classScopes_[keyed->second];
        for (auto it = same.begin(); it != same.end(); ++it)
            if (*it == &scope) {
                same.erase(it);
                break;
            }
        classScopeKeys_.erase(keyed);
    }
    if (fileScope_ == &scope)
        fileScope_ = nullptr;
    if (blockScope_ == &scope)
        blockScope_ = nullptr;
}

void EvaluationEnvironment::addClassScope(std::uint64_t typeKey, ScopeItem& scope)
{
    if (!classScopeKeys_.emplace(&scope, typeKey).second)
        return;
    try {
        classScopes_[typeKey].push_back(&scope);
    } catch (...) {
        classScopeKeys_.erase(&scope);
        throw;
    }
}

const std::vector<ScopeItem*>& EvaluationEnvironment::classScopes(std::uint64_t typeKey) const
{
    static const std::vector<ScopeItem*> none;
    const auto found = classScopes_.find(typeKey);
    return found != classScopes_.end() ? found->second : none;
}

void EvaluationEnvironment::addCreatedType(CreatedTypeItem* type)
{
    createdTypes_.append(type);
}

void EvaluationEnvironment::addTemplate(TemplateItem* item)
{
    templates_.append(item);
}

const ByteString& EvaluationEnvironment::getConstantString(const ByteString& text)
{
    for (unsigned i = constantStrings_.count(); i > 0; --i) {
        const ByteString* s = constantStrings_[i - 1];
        if (s->length() == text.length() && std::memcmp(s->data(), text.data(), text.length()) == 0)
            return *s;
    }
    ByteString* copy = new ByteString(text);
    constantStrings_.append(copy);
    return *copy;
}

void EvaluationEnvironment::setConditionalVarItem(StackItem* item)
{
    if (item == conditionalVarItem_)
        return;
    delete conditionalVarItem_;
    conditionalVarItem_ = item;
}

void EvaluationEnvironment::setConditionalVarName(const char* name)
{
    const char* text = name != nullptr ? name : "";
    if (reinterpret_cast<const unsigned char*>(text) == conditionalVarName_.data())
        return;
    // Written into the buffer held: no allocation when the name fits it.
    const unsigned length = static_cast<unsigned>(std::strlen(text));
    std::memcpy(conditionalVarName_.makeBuffer(length), text, length);
}

EvaluationEnvironment::UpcDebugSession* EvaluationEnvironment::upcDebugSession()
{
    if (upcSession_ == nullptr)
        upcSession_ = new UpcDebugSession;
    return upcSession_;
}

const char* EvaluationEnvironment::getEBCDICcodepage()
{
    if (ebcdicCodePage_.empty()) {
        const char* name = SVC::ExprGetCodepage(context_);
        if (name == nullptr || *name == '\0')
            name = "QUV-1047";
        ebcdicCodePage_ =
            ByteString(reinterpret_cast<const unsigned char*>(name), static_cast<unsigned>(std::strlen(name)));
    }
    return reinterpret_cast<const char*>(ebcdicCodePage_.data());
}

const TypeItem* EvaluationEnvironment::wcharType()
{
    EvaluationEnvironment* env = currentRep();
    if (env->wcharType_ == nullptr)
        env->wcharType_ = TypeItem::simpleType(t_wchar_t);
    return env->wcharType_;
}

const LCC_Eval_Context_Info* EvaluationEnvironment::fileScopeContext() const
{
    return fileScope_ != nullptr ? fileScope_->context() : context_;
}

// ---------------------------------------------------------------------------
// Free functions over the current environment

ScopeItem* fileScope()
{
    return ScopeItem::fileScope();
}

bool isDBCS()
{
    static const bool dbcs = MB_CUR_MAX >= 2;
    return dbcs;
}

const TypeItem* typeWcharT()
{
    SVC::fTrace("typeWcharT", __LINE__, "Entry");
    return EvaluationEnvironment::wcharType();
}

int MBlen(const unsigned char* text, unsigned length)
{
    if (text == nullptr)
        return 0;
    const int n = UnicodeUtilities::mblen(text[0]);
    if (n <= 0 || static_cast<unsigned>(n) > length)
        return -1;
    return n;
}

unsigned debuggerEnvironment()
{
    return debuggerEnvironmentWord.load();
}

bool setBrowseMode(bool on)
{
    const unsigned before = on ? debuggerEnvironmentWord.fetch_or(debuggerEnvironmentBrowseMode)
                               : debuggerEnvironmentWord.fetch_and(~unsigned(debuggerEnvironmentBrowseMode));
    return (before & debuggerEnvironmentBrowseMode) != 0;
}
