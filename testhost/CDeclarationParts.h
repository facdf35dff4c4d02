#ifndef NORVEXA_TESTHOST_CDECLARATIONPARTS_H
#define NORVEXA_TESTHOST_CDECLARATIONPARTS_H

// The pieces CDeclarationReader works with, shared by its source files.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "testhost/CDeclarationReader.h"
#include "testhost/ProgramFile.h"

// The reader's view of a type: its host index and how its values are
// stored.
struct CDeclarationReader::Type {
    enum Kind {
        Integer,
        Character,
        Boolean,
        Floating,
        Struct,
        Pointer,
        Array
    } kind = Integer;
    TYPE_INDEX index{};
    std::uint64_t size = 0;
    unsigned align = 1;
    bool isSigned = true;
    std::shared_ptr<Type> target{}; // pointer target, array element
    std::uint64_t count = 0;        // array elements (all of them for a Fortran array)
    // A member, a base class (nameless), or a bit field (width not 0; its
    // position in bits from the start of the aggregate, most significant
    // bit first).
    struct Member {
        std::string name;
        std::shared_ptr<Type> type;
        std::uint64_t offset;
        unsigned width = 0;
        std::uint64_t position = 0;
        bool isBase = false;
    };
    std::vector<Member> members{}; // struct, union, class: bases first
    std::string tag{};
    std::string keyword{}; // "struct", "union" or "class"
    bool complete = true;  // an aggregate whose members are known
    // Pointers made to an aggregate while its members are read (struct
    // node { struct node *next; }): their host records take its index
    // once it has one.
    std::vector<TYPE_INDEX> pointersWhileIncomplete{};
    bool empty = false; // a C++ class without data: 1 byte, none as a base
    // A C++ class that is no POD (a base, or data not public): as a base
    // its tail padding holds the derived class's next members, which start
    // at its data size.
    bool pod = true;
    std::uint64_t dataSize = 0;
    std::uint64_t bits = 0; // an aggregate's bits laid out so far
    // A Fortran array: lower bound and extent of each dimension, the first
    // varying fastest in storage.
    std::vector<std::pair<std::int64_t, std::uint64_t>> fortranBounds{};
    bool blankPadded = false; // Fortran text: the rest of a short value is blanks
};

struct CDeclarationReader::Token {
    enum Kind {
        End,
        Word,
        Number,
        Char,
        String,
        Punct
    } kind = End;
    std::string text{}; // characters and strings: the contents, escapes undone
    int line = 0;
    bool rawByte = false; // a character given by a numeric escape
};

// An initial value as written.
struct CDeclarationReader::Init {
    enum Kind {
        Number,
        Char,
        Bool,
        Null,
        String,
        AddressOf,
        List
    } kind = Number;
    std::string text{}; // number text (with sign), character, string, name
    bool rawByte = false;
    bool indexed = false; // &name[index]
    long long index = 0;
    std::vector<std::unique_ptr<Init>> items{};
    int line = 0;
};

struct CDeclarationReader::Declared {
    TypeP type;
    std::uint64_t address;
};

namespace cdeclaration {

constexpr std::uint64_t programSizeLimit = ProgramFile::sizeLimit;

inline std::string tooLarge(const std::string& what)
{
    return what + " would make the program larger than " + std::to_string(programSizeLimit >> 20) + " MiB";
}

} // namespace cdeclaration

#endif
