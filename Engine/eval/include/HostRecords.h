#ifndef NORVEXA_HOST_RECORDS_H
#define NORVEXA_HOST_RECORDS_H

// The records the host debug engine and the evaluator exchange through the
// service table: type entries (one record per leaf code), symbol entries (one
// record per storage code), call-stack entries, DWARF location forms, list
// nodes, the debugger version record and the file-information buffer.
//
// Layout rules, shared by the evaluator and every host:
// - Records are byte-packed and in host byte order; fields follow each other
//   in the order and with the widths the host format gives, so embedded type
//   indices sit unaligned (a TYPE_INDEX often starts at byte 6).
// - Pointers are native width. The byte offsets quoted in the comments are
//   those of a 32-bit build, where every pointer is 4 bytes; a 32-bit compile
//   check (tests/testhost/layout32) asserts them. In a 64-bit build every field
//   after a pointer moves accordingly, so nobody may read a record by raw byte
//   offset: read the named fields, through the functions of HostRecordAccess.h.
// - Where one position carries two meanings (a size or a pointer, a length or
//   a DWARF expression, an offset or a text) the field is a union.
//
// Conventions this header fixes for the host side:
// - SYMBOL_LIST is a null-terminated array of _SYMBOL_ENTRY pointers.
// - "No containing context" is a null out-pointer with return code 0.
// - Register values travel in the evaluator's own byte order (the evaluator
//   turns them into big-endian images itself).
// - A memory read always reports the bytes it read through its count, also
//   on success: the evaluator zeroes whatever lies beyond that count.
//
// The records are declared by subject: HostTypeRecords.h (type entries),
// HostSymbolRecords.h (symbol entries) and HostCallStackRecords.h (the
// call-stack entry and the small host values); this header includes all three.

#include "HostCallStackRecords.h"
#include "HostServices.h"
#include "HostSymbolRecords.h"
#include "HostTypeRecords.h"

#endif
