#ifndef NORVEXA_TREE_FORMATTREENODE_H
#define NORVEXA_TREE_FORMATTREENODE_H

#include <plomkit/ByteString.h>

#include "HostRecords.h"
#include "services/DebuggeeLocation.h"
#include "tree/DebugType.h"
#include "tree/FormatPrimitive.h"
#include "tree/TreeNode.h"

class StackItem;
class SqlTypeEntry;
class UpdateTreeNode;

// The tree node that formats its value for the host: an SQL host variable
// (kind-89 type entry) by its SQL type code, every other type by its kind
// (primitives, pointers, enumerations, bit fields, the COBOL items, and
// structures and arrays in their aggregate forms).
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

    // ---- the formatting road ---------------------------------------------
    // The text of the node's value: an SQL host variable's by its SQL type
    // code, any other by its type (formatProgramValue). Reading the debuggee
    // may fail (its exceptions pass through; a short read raises
    // RTRC_InvalidReference); an SQL type code without a formatter raises
    // RTRC_InvalidFormat.
    ByteString format(DBG_REPS rep, unsigned int maxLength) const;
    // The representation shown for rep: the default of the node's data type
    // for 0; one the data type does not offer raises RTRC_InvalidFormat.
    DBG_REPS shownRepresentation(DBG_REPS rep) const;
    // Whether the node's value is an aggregate (an array, a structure, an
    // SQL file reference): FormatValue answers 1012, its children hold the
    // values.
    bool isAggregate() const;
    // The value of a program variable (any type but an SQL host variable's):
    // primitives through FormatPrimitive::format, pointers, enumerations, bit
    // fields and the COBOL items through their formatters, structures and
    // arrays in their aggregate forms. A node whose bytes could not be read
    // raises RTRC_InvalidReference.
    ByteString formatProgramValue(DBG_REPS rep, unsigned int maxLength) const;
    // A COBOL packed, zoned, national decimal or binary item as DISPLAY
    // shows it (representation 2), or its stored bytes in hexadecimal (1).
    ByteString formatDisplayNumber(DBG_REPS rep) const;
    // A COBOL alphanumeric item: its characters (22) or its bytes in
    // hexadecimal (1).
    ByteString formatCharacters(DBG_REPS rep) const;
    // An array of a program: as the text of its characters (6, 23), its
    // address (9, 10), or its first elements (11).
    ByteString formatArray(DBG_REPS rep, unsigned int maxLength) const;
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
    // Makes type (a reference: what it refers to; then the dynamic class of
    // the object at the node's location, when one is found) the format
    // type. A change removes the children. Returns whether the format type
    // changed.
    bool setFormatType(const TypeItem& type);
    bool formatTypeChanged() const { return formatTypeChanged_; }
    // Brings the format type up to date with the dynamic class of the object
    // in the debuggee before a query; a change moves the node to the derived
    // object, removes the children and counts them again.
    void fixFormatType() const;
    // Walks the base classes of cls (recursively) for the one named as
    // wanted, subtracting each base's offset from offset: 1 found (offset
    // written back), 0 not found, 2 found behind a base whose offset is not
    // fixed (virtual, or located by an expression).
    int getAddressOffset(std::int64_t& offset, const TypeItem& wanted, const TypeItem& cls) const;

    // The host's queries, on the up-to-date format type.
    using TreeNode::QueryResultType;
    std::uint16_t QueryResultType(const StackItem& item, unsigned short& count, unsigned short*& results,
                                  unsigned short*& reps, unsigned short& defaultIndex, unsigned char*& typeName,
                                  unsigned short& dataType, unsigned short& length) const;
    using TreeNode::QueryStructInfo;
    std::uint16_t QueryStructInfo(unsigned int& count) const;
    // The members and base classes of a class node (made on first use) and
    // the index of the node's data type.
    std::uint16_t QueryClassInfo(unsigned int& members, unsigned int& bases, TYPE_INDEX& index) const;
    // The n-th (from 1) base-class child, its name and flags 0; 10000 when
    // there is none.
    std::uint16_t QueryClassBaseClassInfo(unsigned int n, UpdateTreeNode*& node, unsigned char*& name,
                                          unsigned int& flags) const;
    // Keeps text as the node's formatted value; the characters stay valid
    // until the node's next formatting.
    const char* setFormattedValue(const ByteString& text) const;

    // The bits of fixFormatType's guard.
    enum : std::uint8_t {
        fixRunning = 1,
        fixDone = 2
    };
    void markFixed() { fixBits_ |= fixDone; }
    DBG_REPS representation() const { return representation_; }
    void setRepresentation(DBG_REPS rep) { representation_ = rep; }
    const ByteString& formattedValue() const { return formattedValue_; }

    // ---- formatters by data type ---------------------------------------
    // Each checks the kind of the format type's host entry (another kind:
    // InvalidOp RTRC_Other) and answers the text of message 52 with the
    // error detail for a node that keeps a load error. The bytes are the
    // node's evaluation buffer; a buffer holding fewer bytes than the
    // formatter reads is refused (RTRC_InvalidFormat; RTRC_Other for the
    // file block).
    ByteString formatExternalFloat(DBG_REPS rep) const;                          // 77
    ByteString formatAlphaNumericEdited(DBG_REPS rep) const;                     // 78
    ByteString formatNumericEdited(DBG_REPS rep) const;                          // 79
    ByteString formatNationalExternalFloat(DBG_REPS rep) const;                  // 80
    ByteString formatNationalEdited(DBG_REPS rep) const;                         // 81
    ByteString formatNationalNumericEdited(DBG_REPS rep) const;                  // 82
    ByteString formatNationalString(DBG_REPS rep, unsigned int maxLength) const; // 74
    ByteString formatDbcsString(DBG_REPS rep, unsigned int maxLength) const;     // 86
    ByteString formatDbcsEdited(DBG_REPS rep) const;                             // 87
    ByteString formatNationalDecimal(DBG_REPS rep) const;                        // 73
    ByteString formatIndexName(DBG_REPS rep) const;                              // 75
    ByteString formatIndexDataItem(DBG_REPS rep) const;                          // 76
    ByteString formatEnum(DBG_REPS rep, unsigned int maxLength) const;           // 11, 52
    ByteString formatFileDesc(DBG_REPS rep) const;                               // 85
    ByteString formatBitstring(DBG_REPS rep) const;                              // 4
    // A primitive value, or the address a pointer to a primitive holds.
    ByteString formatPrimitive(DBG_REPS rep, unsigned int index, unsigned int maxLength) const;

    // An address's text as the current language writes it: H'...' in COBOL.
    ByteString languageAddress(const ByteString& address) const;
    // The location the node's value designates.
    DebuggeeLocation getLocation() const;

    // Address forms of a pointer's value.
    ByteString formatAddress(const DebuggeeLocation& location, DBG_REPS rep, const TypeItem& pointee,
                             unsigned int maxLength) const;
    ByteString formatAddressAsHex(const DebuggeeLocation& location) const;
    ByteString formatAddressAsDecimal(const DebuggeeLocation& location) const;
    // The characters at the location up to the first NUL; characters, when
    // not 0, is how many the object there holds (an array's): no more are
    // read, and all of them make a whole text.
    ByteString formatAddressAsString(const DebuggeeLocation& location, DBG_REPS rep, const TypeItem& pointee,
                                     unsigned int maxLength, std::uint64_t characters = 0) const;
    ByteString formatAddressAsUPC(const DebuggeeLocation& location) const;
    ByteString getFunctionName(const DebuggeeAddress& address) const;

    // Quoted texts, at most maxLength characters: national (UTF-16
    // big-endian, count characters), DBCS (count two-byte characters without
    // shift codes), single-byte text in the evaluator's own set, wide
    // characters of charSize bytes in the target's EBCDIC (formatWchar) or
    // the evaluator's own set (formatWcharOther). close asks for the closing
    // quote.
    ByteString formatNational(const unsigned char* data, unsigned int count, unsigned int maxLength, bool close) const;
    ByteString formatDbcs(const unsigned char* data, unsigned int count, unsigned int maxLength, bool close) const;
    ByteString formatStringOther(const char* data, unsigned int count, unsigned int maxLength, bool close) const;
    ByteString formatWchar(const void* data, unsigned int charSize, unsigned int count, unsigned int maxLength,
                           bool close) const;
    ByteString formatWcharOther(const void* data, unsigned int charSize, unsigned int count, unsigned int maxLength,
                                bool close) const;

    // The name of element index of a Fortran array below this node, written
    // to output (at most outputSize characters, no terminator when cut);
    // returns the number of characters written.
    int FortranArrayElementName(UBYTE1* arrayName, BYTE4 index, char* output, int outputSize) const;

protected:
    // The texts the forms share, made once and never changed.
    static const ByteString& openText();      // "{ "
    static const ByteString& closeText();     // " }"
    static const ByteString& separatorText(); // ", "
    static const ByteString& dotsText();      // "..."
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
    mutable bool formatTypeChanged_ = false;
    mutable std::uint8_t fixBits_ = 0;

private:
    // The format type after a change: removes the children and counts those
    // of a class or structure again.
    void formatTypeTaken() const;
    // Reads the node's bytes (of the format type's size) from its location
    // into its own buffer after the location moved.
    void rereadAtLocation() const;
    // The child QueryClassInfo makes for one field entry, the field list's
    // type fieldType (none for a member that is not shown).
    void addFieldChild(const TypeItem& fieldType, const _TYPE_ENTRY& field) const;
};

#endif
