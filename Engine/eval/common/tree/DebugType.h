#ifndef NORVEXA_TREE_DEBUGTYPE_H
#define NORVEXA_TREE_DEBUGTYPE_H

#include <atomic>
#include <cstdint>

class TypeItem;

// The host's data type codes (1 to 40; 8, 12, 13, 14, 16 and 17 have no row).
typedef int DBG_TYPE;
// Representation codes in which values are shown: 1 hexadecimal, 2 decimal,
// 3 octal, 4 binary, 5 character (the evaluator's set), 6 and 23 address as
// the text it points to, 8 floating point, 9 address in hexadecimal, 10
// address in decimal, 11 address as an array, 12 structure, 17 boolean, 19
// default address form, 20 shared address, 21 raw bytes, 22 character (the
// target's EBCDIC code page).
typedef int DBG_REPS;
// The result shape the host receives with a representation (0 to 4); 5
// marks an unused slot.
typedef int DBG_RESULT;

// The process-wide table of data types: for each data type the
// representations it may be shown in, its default one and the result shape
// of each; the data types offered per language; and the row of a result
// node's type. Made once, on first use, and never freed.
class DebugType {
public:
    enum : unsigned {
        typeCount = 41,
        listIndexCount = 35,
        maxPairs = 6
    };
    enum : DBG_RESULT {
        unusedResult = 5
    };

    // One row. The default index may change at any time (SetDefaultRep on
    // another thread); everything else is fixed by the constructor.
    class FormatInfo {
    public:
        // The data type, then pairs (result, representation): the first pair
        // as arguments, further pairs as int arguments result, representation,
        // ... ended by a result of 5 or after six pairs in all.
        FormatInfo(DBG_TYPE type, DBG_RESULT result, DBG_REPS rep, ...);
        FormatInfo(const FormatInfo&) = delete;
        FormatInfo& operator=(const FormatInfo&) = delete;

        // 0 when the representation is one of the row's (it becomes the
        // default), else 10000 and nothing changes.
        std::uint16_t SetDefaultRep(DBG_REPS rep);

        unsigned defaultIndex() const { return defaultIndex_.load(std::memory_order_relaxed); }
        std::uint16_t count() const { return count_; }
        DBG_TYPE type() const { return type_; }
        DBG_REPS representation(unsigned i) const { return reps_[i]; }
        DBG_RESULT result(unsigned i) const { return results_[i]; }
        const unsigned int* representations32() const { return reps32_; }
        const unsigned short* representations16() const { return reps16_; }
        const unsigned short* results16() const { return results16_; }

    private:
        friend class DebugType;
        // DebugType hands out its own pointers into these arrays.
        unsigned int* reps32() { return reps32_; }
        unsigned short* reps16() { return reps16_; }
        unsigned short* res16() { return results16_; }

        std::atomic<unsigned> defaultIndex_{0};
        std::uint16_t count_ = 0;
        DBG_TYPE type_;
        DBG_REPS reps_[maxPairs];
        DBG_RESULT results_[maxPairs];
        unsigned int reps32_[maxPairs];
        unsigned short reps16_[maxPairs];
        unsigned short results16_[maxPairs];
    };

    // The table, made on first use (thread-safe).
    static DebugType& instance();

    DebugType(const DebugType&) = delete;
    DebugType& operator=(const DebugType&) = delete;

    // The data types offered in a language: 2 C++, 6 COBOL, 11 Fortran, 15
    // the parallel language, any other the C list. The list belongs to the
    // table.
    void QueryTypes(unsigned int& count, unsigned int*& list, unsigned int language) const;
    // A type's representations (the 32-bit copy); 10000 with count 0 and a
    // null list for a type without a row.
    std::uint16_t QueryTypeRepresentations(DBG_TYPE type, unsigned int& count, unsigned int*& list) const;
    // The same with the 16-bit copies; results is filled only when it comes
    // in holding a non-null pointer.
    std::uint16_t QueryTypeRepresentations(DBG_TYPE type, unsigned short& count, unsigned short*& reps,
                                           unsigned short*& results) const;
    // 10000 for a type outside 1 to 40 or without a row; else the row's.
    std::uint16_t SetDefaultRep(DBG_TYPE type, DBG_REPS rep);
    // The row of a result node's type: an SQL host variable's (kind 89) by
    // its SQL type code, any other type's by its data type
    // (programDataType). A type without a row raises InvalidOp RTRC_Other.
    // The second argument is not used.
    const FormatInfo* resultTypes(const TypeItem& type, unsigned int unused) const;
    // The data type a program variable of a type is shown as (0: none):
    // characters 1, wide characters 19, integers, enumerations and bit
    // fields 3, floating point 2, booleans 18, pointers 4 (to characters 5,
    // to wide characters 20, to void 22, to functions 26, Fortran 25, to
    // shared data 24), arrays 6 (of characters 7, of wide characters 21,
    // shared 23), structures, classes, unions and groups 15, and the COBOL
    // items 9 to 11 and 27 to 40 by their kind of entry.
    static DBG_TYPE programDataType(const TypeItem& type, unsigned depth = 0);
    // The representation that 0 stands for in a row: its default.
    static DBG_REPS defaultRepresentation(const FormatInfo& row);
    // Whether a row offers a representation.
    static bool offers(const FormatInfo& row, DBG_REPS rep);

    // The row of a data type (null when none) and of a list index.
    const FormatInfo* byType(DBG_TYPE type) const;
    const FormatInfo* byListIndex(unsigned index) const;

private:
    DebugType();
    void addType(int type, int listIndex, FormatInfo& row, unsigned int languages);

    FormatInfo* byType_[typeCount];
    FormatInfo* byListIndex_[listIndexCount];
    unsigned int lists_[5][typeCount];
    std::int16_t counts_[5];
};

#endif
