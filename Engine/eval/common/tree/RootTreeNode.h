#ifndef NORVEXA_TREE_ROOTTREENODE_H
#define NORVEXA_TREE_ROOTTREENODE_H

#include <cstdint>

#include <plomkit/ByteString.h>
#include <plomkit/List.h>

#include "tree/UpdateTreeNode.h"

class EvaluationEnvironment;
class StackItem;
struct expression_info;

// The node at the top of the tree that presents one evaluation result: it
// ties the tree to the environment that produced the result and to the
// result item, loads the result's bytes, keeps the Fortran pointer and
// allocatable states between evaluations, shows a failed evaluation as a
// message text and, for an array section, makes one further root per
// element that runs the expression again with its own subscript parameters.
//
// Ownership: the top root's result belongs to the host (it only points at
// it; the item tells its root when it goes); an element root owns each
// result it evaluated and deletes it when it evaluates again or goes.
class RootTreeNode : public UpdateTreeNode {
public:
    RootTreeNode(const TypeItem& type, EvaluationEnvironment& environment, const char* name);
    ~RootTreeNode() override;

    // ---- slots of TreeNode -------------------------------------------
    EvaluationEnvironment* internalRep() const override { return environment_; }
    bool isRootNode() const override { return true; }
    TreeNode* rootNode() override { return this; }
    void invalidate() override;
    std::uint16_t QueryArrayInfo(unsigned int& count, int& flag) const override;
    std::uint16_t QueryArrayElementInfo(unsigned long long index, UpdateTreeNode*& node) const override;
    std::uint32_t QueryArrayType() const override;
    void addLengthAttribute() const override;
    void setInternalRepresentation() const override;
    bool useAddress() const override;
    unsigned char* evaluationBuffer() const override;
    std::uint64_t evaluationBufferSize() const override;
    std::uint64_t dataLength() const override;
    void loadResult(const StackItem& item) override;
    void updateResult(const StackItem* item) override;
    std::uint16_t FormatValue(DBG_REPS rep, StackItem& item, const char*& text, unsigned int maxLength) const override;
    StackItem* evaluateNow() override;

    // Loads the item as the node's result: its type, states, location and
    // bytes.
    void loadExpressionResult(const StackItem& item);
    // Whether the string length of a result held in the evaluator differs
    // from oldLength (a pointer to characters only).
    bool updateLengthAttribute(unsigned oldLength) const;
    // Records the associated state; whether the node changed since the last
    // time it was asked.
    bool changed(bool associated) const;
    // The item goes: the node stops pointing at it.
    void forgetResult(const StackItem* item);
    // The local number of a local variable's value: the stack-base selector
    // of its symbol (0 for every other result).
    int localNum() const override { return localNumber_; }
    void setLocalNum(int number) { localNumber_ = number; }

    // ---- state ---------------------------------------------------------
    StackItem* result() const { return result_; }
    int messageId() const { return messageId_; }
    bool readFailed() const { return readFailed_; }
    bool isSectionElement() const { return isSectionElement_; }
    const List<int>& parameters() const { return parameters_; }
    std::uint32_t lengthAttribute() const { return lengthAttribute_; }
    // Bit 0 the state, bit 1 changed.
    std::uint8_t associatedState() const { return associated_; }
    std::uint8_t allocatedState() const { return allocated_; }

private:
    // Runs the element's byte code; the seam to the expression core.
    static void replay(expression_info* info);
    // Sets a state byte: a new state differing from bit 0 becomes the state
    // with bit 1 set.
    static void recordState(std::uint8_t& state, bool on);
    bool isFortran() const;
    bool typeIsArraySection() const;

    List<int> parameters_;
    ByteString text_;
    EvaluationEnvironment* environment_;
    StackItem* result_ = nullptr;
    // The result an element root evaluated last; it owns it.
    StackItem* owned_ = nullptr;
    int messageId_ = 0;
    int localNumber_ = 0;
    std::uint32_t lengthAttribute_ = 0;
    bool readFailed_ = false;
    bool isSectionElement_ = false;
    bool statesRecorded_ = false;
    bool recordedAssociated_ = false;
    bool recordedAllocated_ = false;
    mutable std::uint8_t associated_ = 0;
    std::uint8_t allocated_ = 0;
};

#endif
