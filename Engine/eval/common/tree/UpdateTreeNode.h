#ifndef NORVEXA_TREE_UPDATETREENODE_H
#define NORVEXA_TREE_UPDATETREENODE_H

#include <cstdint>
#include <string>

#include <plomkit/ByteString.h>

#include "tree/FormatTreeNode.h"

class DebuggeeAddress;
class DebuggeeLocation;
class ExpressionRepresentation;
class StackItem;

// The tree node that takes new values from the user's text; every node
// handed to the host is one. An update turns the text into an expression,
// evaluates it through the road of the entry points (UpdateExpressionRoad)
// and writes the value at the node's location in the node's own data
// format; SQL host variables are written from the text directly.
//
// Status codes: 0 written; 10000 failure; 10002 the type cannot be written
// from text; 11040 the value failed to evaluate or convert; 11041 the node
// cannot be updated; 11042 the expression needs an automatic variable the
// node's context lacks; 11043 the expression has a side effect.
class UpdateTreeNode : public FormatTreeNode {
public:
    // One value in the debuggee's form before it is written: the largest
    // primitive is a complex of two 16-byte parts.
    struct PrimitiveTypeBuffer {
        unsigned char bytes[32];
    };

    // A base-class node (type, format type, name).
    UpdateTreeNode(const TypeItem& type, const TypeItem& formatType, const char* name);
    // A node of a type, named, at an offset within its parent.
    UpdateTreeNode(const TypeItem& type, const char* name, std::int64_t offset);
    ~UpdateTreeNode() override;

    // Re-evaluates the node's expression; only a result root does (null
    // here).
    virtual StackItem* evaluateNow();

    UpdateTreeNode* nextSibling() const { return TreeNode::nextSibling(); }

    // ---- the update ------------------------------------------------------
    // Writes the value of the text (in representation rep) at the node;
    // item is the result the node belongs to.
    std::uint16_t update(const LCC_Eval_Context_Info* context, int rep, unsigned char* text, StackItem& item);
    // Validates and evaluates a representation built from update text;
    // the value, or InvalidOp (RTRC_UpdateSideEffect, RTRC_BadContext,
    // RTRC_Other).
    StackItem* evaluate(ExpressionRepresentation* representation);
    // The text with line ends and tabs as blanks, comments removed and
    // blanks stripped at both ends. Null is empty.
    static ByteString cleanString(const unsigned char* text);

    // ---- writing ---------------------------------------------------------
    // Writes length bytes with the node's signed-write mode: 0, or 10000
    // when the write fails.
    std::uint16_t updateDebuggee(const void* data, std::uint64_t length, const DebuggeeLocation& location);
    std::uint16_t updateDebuggee(const void* data, std::uint64_t length);
    std::uint16_t updatePrimitive(StackItem& value, unsigned primitiveIndex);
    // The value in the form of a primitive index; the byte count, 0 when the
    // index cannot be written.
    static unsigned getPrimitiveValue(StackItem& value, PrimitiveTypeBuffer& buffer, unsigned primitiveIndex);
    std::uint16_t updatePointer(StackItem& value);
    std::uint16_t updateBitstring(StackItem& value);
    std::uint16_t updateComplex(StackItem& value);
    std::uint16_t updateFortranCharacterString(ByteString& text);
    std::uint16_t updateFloatingPointHex(const LCC_Eval_Context_Info* context, unsigned char* text, StackItem& item);
    // Updates the element of a shared array at address with the value of
    // the node's own name.
    std::uint16_t updateSharedVariableElement(const LCC_Eval_Context_Info* context, unsigned long long element,
                                              DebuggeeAddress& address, unsigned unused);
    // An SQL host variable from the text, without evaluation: 0 or 10000.
    std::uint16_t updateSqlValue(const LCC_Eval_Context_Info* context, unsigned char* text, StackItem& item);

    // The write mode of a type kind: 1 for the signed char, short, int and
    // long kinds, else 0.
    static int signedWriteMode(int kind);

private:
    // Builds, validates and evaluates clean update text and writes the
    // value (a condition name's SET statement writes nothing itself);
    // subject names the node or element in traces; stringOnly takes only
    // a value held in the evaluator (a string).
    std::uint16_t evaluateAndWrite(const LCC_Eval_Context_Info* context, const ByteString& text,
                                   std::uint8_t alternateCharset, const std::string& subject, bool conditionName,
                                   bool stringOnly);
    // Writes a value by the node's data type: pointer, host entry, or
    // primitive.
    std::uint16_t writeValue(StackItem& value);
    // Whether the node is a COBOL condition name.
    bool isConditionName() const;
    // The signed-write mode of the node's data type.
    int writeMode() const;
};

#endif
