#ifndef NORVEXA_TREE_FORMATBYTYPE_H
#define NORVEXA_TREE_FORMATBYTYPE_H

#include <cstdint>
#include <initializer_list>
#include <string>

#include <plomkit/ByteString.h>

#include "HostRecords.h"
#include "services/InvalidOp.h"

class TreeNode;
class TypeItem;

// What the formatters by data type of FormatTreeNode share.
namespace FormatByType {

// The host entry of the type when its kind is one of kinds; any other kind,
// or no entry, raises InvalidOp RTRC_Other.
const _TYPE_ENTRY& requireKind(const TypeItem& type, std::initializer_list<UBYTE4> kinds, const char* function,
                               unsigned line);

// Whether the node keeps a load error; text then becomes message 52 with
// the error detail.
bool keptLoadError(const TreeNode& node, ByteString& text);

// Where every formatter by data type starts: the entry of the format type
// when its kind is one of kinds (else InvalidOp RTRC_Other); null when the
// node keeps a load error, kept then holding the text of message 52.
const _TYPE_ENTRY* formatEntry(const TreeNode& node, const TypeItem& type, std::initializer_list<UBYTE4> kinds,
                               ByteString& kept, const char* function, unsigned line);

// The bytes the node's evaluation buffer holds from the node's value to its
// end (0 without a buffer).
std::uint64_t heldBytes(const TreeNode& node);

// The first count bytes of the node's value; a buffer holding fewer raises
// InvalidOp with the code given.
const unsigned char* storedBytes(const TreeNode& node, std::uint64_t count, InvalidOp::InvalidOperation code,
                                 const char* function, unsigned line);

// The first count bytes of the node's value; fewer held: InvalidOp
// RTRC_InvalidFormat.
const unsigned char* valueBytes(const TreeNode& node, std::uint64_t count, const char* function, unsigned line);

// The size of the node's value (its buffer size), at most 32 bits.
unsigned valueSize(const TreeNode& node);

// Two upper-case hexadecimal digits per byte.
std::string hexDigits(const unsigned char* bytes, std::uint64_t count);

std::string asString(const ByteString& s);

// The quote of quoted texts in the current language: an apostrophe in
// COBOL, else a double quote.
char languageQuote();

// A maximum length that shows count characters whole in the quoted forms.
unsigned wholeLength(unsigned count);

} // namespace FormatByType

#endif
