#ifndef NORVEXA_API_LOCALSREPRESENTATION_H
#define NORVEXA_API_LOCALSREPRESENTATION_H

#include <cstdint>
#include <vector>

#include <plomkit/ByteString.h>

#include "services/EvaluationEnvironment.h"

class ClassScopeItem;
class ClassThisValue;
class LocalVariable;
class ScopeItem;
class SymbolItem;

// The evaluation environment of the local variables of a stack frame. It
// owns the list of the frame's variables, their values and the this-values
// of a member function until it is destroyed.
class LocalsRepresentation : public EvaluationEnvironment {
public:
    // The view's flags, as the host passes them.
    enum : unsigned {
        // Walk on into the file scope (else the walk stops there).
        includeFileScope = 0x01,
        // Drop unnamed, reserved, "__<number>", "#ENV" and invalid names.
        dropSpecialNames = 0x02,
        // Add the data members of the object a member function runs on.
        addObjectMembers = 0x04,
        // Take the innermost scope only.
        innermostScopeOnly = 0x20,
    };

    // The classes nameType sorts names into.
    enum NameClass : int {
        unnamed = 0,
        plainName = 1,
        escapedName = 2,
        reservedName = 3,
        numberedName = 4,
        environmentName = 5,
        invalidName = 6,
    };

    // The frame's variables: found by walking the scopes from the innermost
    // outward, inner names hiding outer ones, sorted by name (descending
    // byte order).
    class VariablesList {
    public:
        VariablesList(LocalsRepresentation& owner, const LCC_Eval_Context_Info* context);
        ~VariablesList();

        VariablesList(const VariablesList&) = delete;
        VariablesList& operator=(const VariablesList&) = delete;

        // Walks the scopes once; later calls do nothing.
        void buildList();
        // Refreshes every variable in the owner's frame (building the list
        // first when needed); the value of the last variable refreshed, or
        // null when there is none. One variable that fails does not stop
        // the others.
        StackItem* evaluate();

        // The variable whose value is value, or whose name has exactly these
        // bytes (searched from the last); null when none.
        LocalVariable* item(const StackItem* value) const;
        LocalVariable* item(const char* name) const;

        // The class of a name (NameClass).
        static int nameType(const char* name);

        // Appends the data members of the scope's class, and those of its
        // bases, that no name in names hides.
        void addClassMembers(ClassThisValue& thisValue, ClassScopeItem& scope, std::vector<const char*> names);

        unsigned count() const { return static_cast<unsigned>(variables_.size()); }
        LocalVariable& operator[](unsigned n) const { return *variables_[n]; }
        bool built() const { return built_; }
        void setContext(const LCC_Eval_Context_Info* context) { context_ = context; }

    private:
        // One scope's entries from the host, filtered and made variables.
        void addScopeVariables(ScopeItem& scope, std::vector<const char*>& seen, unsigned& environmentCount,
                               bool& outer);
        void addClassMembersAt(ClassThisValue& thisValue, ClassScopeItem& scope, std::vector<const char*> names,
                               unsigned depth);
        void sort();

        std::vector<LocalVariable*> variables_;
        std::vector<ClassThisValue*> thisValues_;
        const LCC_Eval_Context_Info* context_;
        LocalsRepresentation& owner_;
        bool built_ = false;
    };

    LocalsRepresentation();
    // Bit 0 of flags: continue into the file scope; it also becomes the
    // environment's locals option.
    LocalsRepresentation(int language, const LCC_Eval_Context_Info* context, unsigned flags);
    ~LocalsRepresentation() override;

    // The name of the variable whose value is item; InvalidOp RTRC_AssertFail
    // when no variable of the view holds it.
    ByteString expression(StackItem* item) const override;
    LocalsRepresentation* asLocalsRepresentation() override;
    // The name of variable n (the list is built first when needed);
    // InvalidOp RTRC_AssertFail past the last.
    ByteString expression(int n) const;

    // Re-targets the view to a context and frame and refreshes every
    // variable; the value of the last variable refreshed.
    StackItem* evaluate(const LCC_Eval_Context_Info* context, unsigned short frame);
    // The symbol of the variable of that name, or null.
    SymbolItem* lookupLocalSymbol(const char* name) const;

    // The name under which the view shows a host symbol entry.
    static const char* localSymbolDisplayName(_SYMBOL_ENTRY* entry);
    // Bit 0: a built-in type index shown as a local; bit 1: a host leaf code
    // shown as a local.
    static std::uint8_t displayableType(unsigned code);

    unsigned flags() const { return flags_; }
    VariablesList& variables() const { return variables_; }

private:
    mutable VariablesList variables_;
    unsigned flags_;
};

#endif
