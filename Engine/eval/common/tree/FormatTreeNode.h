#ifndef NORVEXA_TREE_FORMATTREENODE_H
#define NORVEXA_TREE_FORMATTREENODE_H

#include <plomkit/ByteString.h>

#include "services/DebuggeeLocation.h"
#include "tree/DebugType.h"
#include "tree/FormatPrimitive.h"
#include "tree/TreeNode.h"

class StackItem;
class SqlTypeEntry;

// The tree node that formats its value for the host. Its formatting road
// serves SQL host variables (kind-89 type entries) only: every other type is
// refused with InvalidOp RTRC_InvalidFormat.
class FormatTreeNode : public TreeNode, public FormatPrimitive {
public:
    // A base-class node (type, parent type, name).
    FormatTreeNode(const TypeItem& type, const TypeItem& parentType, const char* name);
    // A node of a type, named, at an offset within its parent.
    FormatTreeNode(const TypeItem& type, const char* name, std::int64_t offset);
    ~FormatTreeNode() override;

    // The text of the node's value in a representation, with a budget of
    // maxLength characters for the array and structure forms; the text stays
    // with the node until it is formatted again (a failed formatting keeps
    // the previous text). The representation becomes the node's own, even
    // when the formatting then fails. Status 0, or 1012 for an aggregate (an
    // array, a file reference). The item is not used here.
    virtual std::uint16_t FormatValue(DBG_REPS rep, StackItem& item, const char*& text, unsigned int maxLength) const;

    // ---- the formatting road of SQL host variables ----------------------
    // The text of the node's value. Reading the debuggee may fail (its
    // exceptions pass through); a type that is not an SQL host variable, or
    // an SQL type code without a formatter, raises RTRC_InvalidFormat.
    ByteString format(DBG_REPS rep, unsigned int maxLength) const;
    using FormatPrimitive::format;
    // "{ a, b, c }" of at most five elements of this array node, "..." for
    // the rest; "{...}" for a location outside debuggee memory, "" when the
    // budget (maxLength - 9) is below 1 or there is no element.
    ByteString formatAddressAsArray(DebuggeeLocation location, const TypeItem& elementType,
                                    unsigned int maxLength) const;
    // "{ a, b }" of the node's children; "" when the host offers no address
    // forms or the budget is below 1.
    ByteString formatClassOrStructure(DBG_REPS rep, unsigned int maxLength) const;
    // The scalar formatters, over the bytes of the evaluation buffer.
    ByteString formatPackedDecimal(DBG_REPS rep) const;
    ByteString formatZonedDecimal(DBG_REPS rep) const;
    ByteString formatFixedPointBinary(DBG_REPS rep) const;
    ByteString formatBinaryAsHex(DBG_REPS rep, unsigned int byteCount, unsigned int maxLength) const;
    ByteString formatCharString(DBG_REPS rep, unsigned int maxLength) const;
    // count characters of target text at data (one or two bytes each, by the
    // SQL type code) as display text (UTF-8). NUL characters are shown as
    // "." and recorded behind the eye catcher "EEStringContainsNullChars".
    // A node of another type than an SQL host variable's shows single-byte
    // text in the program's code page.
    ByteString formatString(const char* data, unsigned int count, unsigned int maxLength, bool cut) const;

    const TypeItem& formatType() const { return formatType_; }
    // Returns whether the format type changed.
    bool setFormatType(const TypeItem& type);
    DBG_REPS representation() const { return representation_; }
    void setRepresentation(DBG_REPS rep) { representation_ = rep; }
    const ByteString& formattedValue() const { return formattedValue_; }

protected:
    // The texts the forms share, made once and never changed.
    static const ByteString& openText();       // "{ "
    static const ByteString& closeText();      // " }"
    static const ByteString& separatorText();  // ", "
    static const ByteString& dotsText();       // "..."
    static const ByteString& emptyText();

    // The kind-89 entry of the format type (RTRC_InvalidFormat when there is
    // none or it is of another kind).
    SqlTypeEntry sqlEntry() const;
    // Replaces the evaluation buffer by a new one of exactly size bytes.
    unsigned char* replaceEvaluationBuffer(std::uint64_t size) const;
    // formatString over at most byteCount bytes: a character of which only
    // one byte is there is converted alone.
    ByteString formatText(const unsigned char* data, std::uint64_t byteCount, unsigned int count) const;

    TypeItem formatType_;
    mutable DBG_REPS representation_ = 0;
    mutable ByteString formattedValue_;
    int localeNesting_ = 0;
    bool formatTypeChanged_ = false;
    std::uint8_t fixBits_ = 0;
};

#endif
