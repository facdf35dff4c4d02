#ifndef NORVEXA_TESTHOST_COBOLENTRYREADER_H
#define NORVEXA_TESTHOST_COBOLENTRYREADER_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "HostRecords.h"
#include "testhost/TokenCursor.h"

class DebuggeeLayout;
class ProgramFile;
struct LCC_Eval_Context_Info;

// Reads the data description entries of a COBOL program file (free form,
// each entry ended by a period, possibly over several lines) and builds
// them into the simulated host as a mainframe compiler stores them:
//     01 GRP.
//        05 FLD    PIC S9(3)V99 VALUE -12.5.             zoned, sign in the last zone
//        05 CNT    PIC 9(4) COMP VALUE 7.                big-endian binary
//        05 AMT    PIC S9(5)V99 COMP-3 VALUE 12.34.      packed
//        05 NAME   PIC X(8) VALUE 'ABC'.                 EBCDIC, blank padded
//        05 TAB    PIC 99 OCCURS 3 VALUE 0.
//     77 RATE      COMP-2 VALUE 1.5.                     hexadecimal floating point
//     01 STATUS-CODE PIC X VALUE 'Y'.
//        88 IS-YES VALUE 'Y'.
//        88 IS-DIGIT VALUES '0' THRU '9'.
//     SQL AMOUNT TYPE 484 LENGTH 5 2 VALUE X'12345D'
// Levels 01 to 49, 77 and 88; PIC with S 9 V P X A N and the editing symbols
// (B 0 / , . + - * Z $ CR DB, and E for external floating point); USAGE
// DISPLAY, COMP/COMPUTATIONAL/COMP-4/BINARY, COMP-3/PACKED-DECIMAL,
// COMP-1, COMP-2, NATIONAL, INDEX (COMP-5 is refused: the host's binary
// records cannot describe a native binary); SIGN LEADING/TRAILING [SEPARATE];
// OCCURS n [TIMES]; VALUE with numeric, quoted ('..', "..", X'..', N'..')
// and figurative (ZERO, SPACE, HIGH-VALUE, LOW-VALUE) literals. Items of a
// record follow each other without slack; each 01 and 77 item starts on an
// 8-byte boundary. An item without VALUE holds zero (numeric) or blanks.
// Header lines ("DATA DIVISION.", "WORKING-STORAGE SECTION.") are skipped.
//
// A line beginning with SQL declares an SQL host variable, on that line
// alone: its name, its SQL type code, LENGTH with its declared length and
// optionally its maximum length (for the decimal codes 484, 485, 504 and
// 505: its precision and optionally its scale), then optionally COUNT n (an
// array of n elements) and CCSID n, then the start of its storage as
// VALUE X'..' (or a quoted text, in the code page; the rest of the storage
// holds zeros). It becomes an SQL host-variable symbol entry of the
// program's context.
//
// Each data item's symbol entry carries its level number (88 for condition
// names).
class CobolEntryReader {
public:
    CobolEntryReader(DebuggeeLayout& layout, ProgramFile& program, LCC_Eval_Context_Info& context);
    ~CobolEntryReader();

    // The program's lines after the language line, with their numbers.
    // Throws ProgramFileError.
    void read(const std::vector<std::pair<int, std::string>>& lines);

    struct Token;
    struct Literal;
    struct Entry;

private:
    void entry();
    void sqlLine();
    void clauses(Entry& e);
    Literal literal(const char* what);
    void analyse(Entry& e);
    void build(Entry& record);
    std::vector<std::uint8_t> encode(const Entry& e, const Literal* value) const;
    void fillImage(const Entry& e, std::vector<std::uint8_t>& image, std::uint64_t offset) const;
    void declare(Entry& e, const _SYMBOL_ENTRY* parent, std::uint64_t address);

    bool acceptWord(const char* word);
    bool atPeriod() const;
    [[noreturn]] void fail(const std::string& what) const;

    DebuggeeLayout& _layout;
    ProgramFile& _program;
    LCC_Eval_Context_Info& _context;
    TokenCursor<Token> _cursor;
    std::vector<std::unique_ptr<Entry>> _records;
    std::vector<Entry*> _open; // the entries a deeper level may nest in
};

#endif
