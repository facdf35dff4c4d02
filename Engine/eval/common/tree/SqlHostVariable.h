#ifndef NORVEXA_TREE_SQLHOSTVARIABLE_H
#define NORVEXA_TREE_SQLHOSTVARIABLE_H

#include <cstdint>
#include <string>

// The storage size in bytes of an SQL host variable of an SQL type code and
// declared length (length prefixes included; for packed and zoned decimal
// the precision is the high byte of the length's low 16 bits). Computed in
// 64 bits, so no length overflows it.
std::uint64_t sqlByteSize(int sqlType, unsigned length);

// The name of an SQL type as a program declares it: INTEGER, DECIMAL(5,2),
// CHAR(8), VARCHAR(10), BLOB(1024), DECFLOAT(16) and so on; "??" for a code
// without one.
std::string sqlTypeName(std::uint32_t sqlType, std::uint32_t length);

// Whether a name can be qualified without parentheses: identifier
// characters (letters, digits, '_', '@', '#', '$') outside parentheses,
// anything inside them. An empty name is simple.
bool simpleName(const unsigned char* name);

#endif
