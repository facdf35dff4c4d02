#ifndef NORVEXA_SERVICES_EVALUATIONENVIRONMENT_H
#define NORVEXA_SERVICES_EVALUATIONENVIRONMENT_H

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <plomkit/ByteString.h>
#include <plomkit/List.h>

#include "HostRecords.h"
#include "services/CurrentEnvironmentRegistry.h"
#include "services/DebuggeeAddress.h"
#include "services/Message.h"

class CreatedTypeItem;
class ExpressionRepresentation;
class LocalsRepresentation;
class ScopeItem;
class StackItem;
class TemplateItem;
class TypeCache;
class CreatedTypeIndex;
class TypeItem;

// The state of one host request besides the expression itself: the host's
// context, the language, the selected stack frame and its base, the program's
// address size, and what the request makes while it runs (scopes, types,
// template descriptions, constant strings). Each thread has at most one
// current environment, which the rest of the evaluator reaches through
// currentRep().
class EvaluationEnvironment {
public:
    // The environment of a nested parallel region: the frame base of the
    // region is the pointer stored at a fixed offset from the enclosing base.
    class OpenMpEnv {
    public:
        explicit OpenMpEnv(SYMBOL_ENTRY& entry);

        // The base of this region for the enclosing base; cached once read.
        // Anything that cannot be read gives a cleared address.
        DebuggeeAddress baseFor(const DebuggeeAddress& enclosing);
        const DebuggeeAddress& cachedAddress() const { return address_; }
        void clearAddress() { address_.clear(); }
        std::int64_t offset() const { return offset_; }
        bool isValid() const { return valid_; }

    private:
        DebuggeeAddress address_;
        std::int64_t offset_;
        bool valid_;
    };

    // The parallel-language debug session; it carries nothing in this system.
    class UpcDebugSession {};

    // The language codes the evaluator tests.
    enum : int {
        languageCPP = 2,
        languageCOBOL = 6,
        languageFortran = 11
    };

    EvaluationEnvironment();
    explicit EvaluationEnvironment(int language);
    virtual ~EvaluationEnvironment();

    EvaluationEnvironment(const EvaluationEnvironment&) = delete;
    EvaluationEnvironment& operator=(const EvaluationEnvironment&) = delete;

    virtual ByteString expression(StackItem* item) const = 0;
    virtual LocalsRepresentation* asLocalsRepresentation();
    virtual ExpressionRepresentation* asExprRepresentation();
    virtual void reset();

    // Makes this the calling thread's current environment and returns the
    // one that was current before (null when none). A non-null context also
    // becomes this environment's context. Entry points make their request's
    // environment current through CurrentEnvironmentScope, which puts the
    // previous one back on every exit. An environment that is destroyed stops
    // being current on every thread.
    EvaluationEnvironment* makeCurrent(const LCC_Eval_Context_Info* context) const;
    // makeCurrent, then reset, then the address size from the host; returns
    // the new block scope of the context (owned by this environment), whose
    // type follows the host's kind of the context.
    ScopeItem* initializeAndMakeCurrent(const LCC_Eval_Context_Info* context);
    // The calling thread's current environment; InvalidOp RTRC_AssertFail
    // when there is none.
    static EvaluationEnvironment* currentRep()
    {
        EvaluationEnvironment* current = CurrentEnvironmentRegistry::current();
        if (current == nullptr) [[unlikely]]
            noCurrentEnvironment();
        return current;
    }
    // The calling thread's current environment, or null.
    static EvaluationEnvironment* currentOrNull();

    // Stack frame selection.
    void setEvaluationStackFrame(int frame, CALLSTACK_ITEM2* item);
    void clearStackBase();
    DebuggeeAddress currentStackBase(unsigned level) const;
    void addOpenMpEnv(SYMBOL_ENTRY& entry);
    // Deletes the OpenMP environment records, so that a new walk of the
    // scopes records them afresh.
    void clearOpenMpEnvs();
    unsigned openMpEnvCount() const { return openMpEnvs_.count(); }

    // Scopes register here when made and unregister when destroyed.
    void addScope(ScopeItem& scope);
    void removeScope(ScopeItem& scope) noexcept;
    const List<ScopeItem*>& scopes() const { return scopes_; }
    // Beside the scope list, the class scopes by the index of their class
    // type, oldest first, so that the class-scope finder reads only those of
    // one type. A class scope enters itself once made; removeScope and the
    // deletion of the scopes take it out.
    void addClassScope(std::uint64_t typeKey, ScopeItem& scope);
    const std::vector<ScopeItem*>& classScopes(std::uint64_t typeKey) const;
    ScopeItem* environmentFileScope() const { return fileScope_; }
    ScopeItem* blockScope() const { return blockScope_; }

    // Types the type model makes during the request, oldest first; owned.
    void addCreatedType(CreatedTypeItem* type);
    const List<CreatedTypeItem*>& createdTypes() const { return createdTypes_; }
    // The index the finders look the created types up by.
    CreatedTypeIndex& createdTypeIndex() { return *createdIndex_; }
    // Template descriptions made during the request; owned.
    void addTemplate(TemplateItem* item);
    const List<TemplateItem*>& templates() const { return templates_; }

    // The interned copy of a constant string; it lives as long as this
    // environment.
    const ByteString& getConstantString(const ByteString& text);

    // Keeps item (owned), deleting the item held before.
    void setConditionalVarItem(StackItem* item);
    StackItem* conditionalVarItem() const { return conditionalVarItem_; }
    // The name of the conditional variable, shown with a condition's result;
    // a null name is kept as the empty text.
    void setConditionalVarName(const char* name);
    const ByteString& conditionalVarName() const { return conditionalVarName_; }

    UpcDebugSession* upcDebugSession();

    // The EBCDIC code page: the host's, or "QUV-1047" when it names none.
    const char* getEBCDICcodepage();

    // The wide-character type of the current environment, made on first use.
    static const TypeItem* wcharType();

    Message& message() { return message_; }
    TypeCache& typeCache() { return *typeCache_; }
    const LCC_Eval_Context_Info* context() const { return context_; }
    void setContext(const LCC_Eval_Context_Info* context) { context_ = context; }
    // The context of the request's file scope (the request's own context
    // when no file scope was made).
    const LCC_Eval_Context_Info* fileScopeContext() const;
    int language() const { return language_; }
    int frameIndex() const { return frameIndex_; }
    unsigned addressSize() const { return addressSize_; }
    void setAddressSize(unsigned size) { addressSize_ = size; }
    std::uint16_t validationReturnCode() const { return validationReturnCode_; }
    void setValidationReturnCode(std::uint16_t rc) { validationReturnCode_ = rc; }
    bool isStaticExpression() const { return staticExpression_; }
    void setStaticExpression(bool on) { staticExpression_ = on; }
    bool localsOption() const { return localsOption_; }
    void setLocalsOption(bool on) { localsOption_ = on; }
    bool isUpdate() const { return update_; }
    void setUpdate(bool on) { update_ = on; }
    // Whether character literals are spelled in the alternate character
    // set (the update road sets it for character representations).
    std::uint8_t alternateCharset() const { return alternateCharset_; }
    void setAlternateCharset(std::uint8_t on) { alternateCharset_ = on; }

private:
    [[noreturn]] static void noCurrentEnvironment();
    void deleteProducts();

    Message message_;
    std::unique_ptr<TypeCache> typeCache_;
    DebuggeeAddress stackBase_;
    List<OpenMpEnv*> openMpEnvs_;
    List<CreatedTypeItem*> createdTypes_;
    std::unique_ptr<CreatedTypeIndex> createdIndex_;
    List<ScopeItem*> scopes_;
    // The same scopes, for a constant-time test of whether one is listed.
    std::unordered_set<const ScopeItem*> listedScopes_;
    std::unordered_map<std::uint64_t, std::vector<ScopeItem*>> classScopes_;
    std::unordered_map<const ScopeItem*, std::uint64_t> classScopeKeys_;
    List<TemplateItem*> templates_;
    List<ByteString*> constantStrings_;
    ByteString ebcdicCodePage_;
    ByteString conditionalVarName_;
    ScopeItem* fileScope_ = nullptr;
    ScopeItem* blockScope_ = nullptr;
    UpcDebugSession* upcSession_ = nullptr;
    const TypeItem* wcharType_ = nullptr;
    mutable const LCC_Eval_Context_Info* context_ = nullptr;
    int language_;
    int frameIndex_ = 0;
    unsigned addressSize_ = 4;
    std::uint16_t validationReturnCode_ = 10000;
    bool staticExpression_ = false;
    bool localsOption_ = true;
    bool update_ = false;
    std::uint8_t alternateCharset_ = 0;
    StackItem* conditionalVarItem_ = nullptr;
};

// The current environment's file scope, made on first use.
ScopeItem* fileScope();
// Whether the locale's multibyte characters can be two bytes or longer;
// asked once per process.
bool isDBCS();
// The current environment's language (InvalidOp RTRC_AssertFail when there
// is none).
inline bool isCobolLanguage()
{
    return EvaluationEnvironment::currentRep()->language() == EvaluationEnvironment::languageCOBOL;
}
inline bool isCPPLanguage()
{
    return EvaluationEnvironment::currentRep()->language() == EvaluationEnvironment::languageCPP;
}
inline bool isFortranLanguage()
{
    return EvaluationEnvironment::currentRep()->language() == EvaluationEnvironment::languageFortran;
}
// Traces its entry and answers the current environment's wide-character type.
const TypeItem* typeWcharT();
// Length of the multibyte character that begins text: 0 for a null text,
// -1 when no character begins there or it is longer than length.
int MBlen(const unsigned char* text, unsigned length);

// The debugger-environment word: value 1 always, 16 while in browse mode.
enum : unsigned {
    debuggerEnvironmentBase = 1,
    debuggerEnvironmentBrowseMode = 16
};
unsigned debuggerEnvironment();
// Sets or clears browse mode; answers whether it was on before.
bool setBrowseMode(bool on);

#endif
