#ifndef NORVEXA_TESTHOST_HOSTRECORDSTORE_H
#define NORVEXA_TESTHOST_HOSTRECORDSTORE_H

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "HostRecords.h"

// The type and symbol records of the simulated host. The store owns every
// record, text, list node and DWARF block it hands out; they live as long
// as the store. Records are made zero-filled and filled through their named
// fields (HostRecords.h), either by the builders below or by the caller on
// the record that newType / newSymbol returns: no test writes a byte offset.
class HostRecordStore {
public:
    // The module word of every type index the store hands out.
    static constexpr UBYTE4 kModule = 0x00C0FFEE;

    // ---- owned texts and blocks ----
    const char* text(const std::string& s);
    // A host DWARF block (16-bit length, one byte, then the bytes).
    const DwarfBlock* dwarfBlock(const std::vector<UBYTE1>& bytes);
    // Expression bytes kept by the store (for pointer-and-length fields).
    const UBYTE1* bytes(const std::vector<UBYTE1>& bytes);

    // ---- type entries ----
    // A new zero-filled entry of a leaf; index receives its type index.
    _TYPE_ENTRY& newType(UBYTE4 leaf, TYPE_INDEX* index = nullptr);
    // The entry of an index, or null.
    _TYPE_ENTRY* type(TYPE_INDEX index) const;
    // Registers a name for the host's type-by-name service.
    void nameType(const std::string& name, TYPE_INDEX index);
    _TYPE_ENTRY* typeByName(const std::string& name) const;

    struct Member {
        std::string name{};
        TYPE_INDEX type{};
        UBYTE4 offset = 0;
        bool isStatic = false;
        std::string storageName{};      // static members
        std::vector<UBYTE1> location{}; // a DWARF location instead of an offset
        UBYTE1 classChar = 0;
        UBYTE1 levelNumber = 0; // a COBOL group member's level
    };
    struct Base {
        TYPE_INDEX type{};
        UBYTE4 offset = 0;
        UBYTE4 attributes = 0; // the word at 12
    };
    struct Enumerator {
        std::string name{};
        std::int64_t value = 0; // low word at 4, high word at 20
    };
    struct ClassSpec {
        std::string name{};
        std::string name2{};
        UBYTE4 byteSize = 0;
        bool isStruct = true;
        UBYTE4 leaf = TE_CLASS; // TE_CLASS or TE_GROUP
        UBYTE4 flags = 0;       // further TNclass_* bits
        std::vector<Base> bases{};
        std::vector<Member> members{};
        std::vector<TYPE_INDEX> nestedTypes{};
        TYPE_INDEX enclosingClass{};
    };
    struct StructSpec { // leaf 31
        UBYTE4 byteSize = 0;
        std::vector<std::pair<std::string, TYPE_INDEX>> members{};
        std::vector<std::int32_t> offsets{};
    };

    TYPE_INDEX integerType(UBYTE4 bitLength, bool isUnsigned, UBYTE1 bitOffset = 0);
    TYPE_INDEX pointerType(TYPE_INDEX target, unsigned bytes = 8);
    TYPE_INDEX referenceType(TYPE_INDEX referent, bool addressOf = false);
    TYPE_INDEX arrayType(TYPE_INDEX element, UBYTE4 byteSize);
    TYPE_INDEX typedefType(const std::string& name, TYPE_INDEX aliased);
    TYPE_INDEX namedTag(const std::string& name, TYPE_INDEX named);
    TYPE_INDEX enumType(const std::string& name, TYPE_INDEX underlying, const std::vector<Enumerator>& enumerators);
    TYPE_INDEX typeList(const std::vector<TYPE_INDEX>& types);
    TYPE_INDEX classType(const ClassSpec& spec);
    TYPE_INDEX structType(const StructSpec& spec);
    TYPE_INDEX functionType(TYPE_INDEX returnType, const std::vector<TYPE_INDEX>& parameters,
                            UBYTE4 leaf = TE_PROCEDURE);
    TYPE_INDEX packedDecimalType(UBYTE1 precision, signed char scale, bool isSigned, const char* picture = nullptr);
    TYPE_INDEX zonedDecimalType(UBYTE1 precision, signed char scale, bool isSigned, TN_DecimalSign sign,
                                const char* picture = nullptr);
    TYPE_INDEX binaryType(UBYTE1 byteLength, UBYTE1 precision, signed char scale, bool isSigned);
    // National decimal (leaf 73): two bytes a digit, two more for a
    // separate sign.
    TYPE_INDEX nationalDecimalType(UBYTE1 precision, signed char scale, bool isSigned, TN_DecimalSign sign,
                                   const char* picture = nullptr);
    TYPE_INDEX indexDataItemType(UBYTE1 byteLength);
    // A text type of leaf 5, 74 or 86 of length bytes; flags are the string
    // record's flags word (0x40 justified, 0x20 non-numeric; leaves 5 and
    // 74).
    TYPE_INDEX charstringType(UBYTE4 length, UBYTE4 leaf = TE_CHARSTRING, UBYTE4 flags = 0);
    // A based variable's type (leaf 70): its storage is where the pointer
    // variable called pointerName points.
    TYPE_INDEX basedType(const std::string& pointerName);
    // A COBOL file description (leaf 85); "SD" names a sort file.
    TYPE_INDEX fileDescriptorType(const std::string& name);

    // ---- class layouts, Fortran descriptors, index names, procedure
    // descriptors (HostRecordBuilders.cpp) ----
    // A base-class record at a fixed offset with its flags (TNbaseclass_*),
    // or located by a DWARF expression (evaluated with the object's address
    // pushed first).
    TYPE_INDEX baseRecord(TYPE_INDEX base, UBYTE4 offset, UBYTE4 flags = 0);
    TYPE_INDEX baseRecordAt(TYPE_INDEX base, const std::vector<UBYTE1>& expression);
    // A data member record at an offset with its flags (TNclassmember_*).
    TYPE_INDEX memberRecord(const std::string& name, TYPE_INDEX type, UBYTE4 offset, UBYTE4 flags = 0);
    // A class (leaf 6) over field records made above, with its TNclass_* flags.
    TYPE_INDEX classOfFields(const std::string& name, UBYTE4 byteSize, const std::vector<TYPE_INDEX>& fields,
                             UBYTE4 flags = TNclass_Struct);
    // The DWARF blocks of a Fortran pointer (72) or descriptor array (71);
    // an empty block is left null (the state then always holds).
    struct FortranBlocks {
        std::vector<UBYTE1> dataLocation{};
        std::vector<UBYTE1> allocation{};
        std::vector<UBYTE1> association{};
        // A descriptor array's bounds and byte stride of the dimension it
        // describes (dimension 0: none).
        std::vector<UBYTE1> lowerBound{};
        std::vector<UBYTE1> upperBound{};
        std::vector<UBYTE1> stride{};
        UBYTE2 dimension = 0;
    };
    TYPE_INDEX fortranPointerType(TYPE_INDEX target, const FortranBlocks& blocks);
    TYPE_INDEX fortranDescArrayType(TYPE_INDEX element, const FortranBlocks& blocks, UBYTE2 rank = 1);
    // A COBOL index name (leaf 75) of a table whose elements are
    // elementLength bytes (0: the index holds an occurrence number).
    TYPE_INDEX indexNameType(UBYTE1 byteLength, UBYTE4 elementLength);
    // A procedure descriptor (leaf 37) naming a leaf-31 structure and one
    // element entry per member of it; kept by the store.
    const _TYPE_ENTRY* procedureDescriptor(TYPE_INDEX structure, const std::vector<const _SYMBOL_ENTRY*>& elements);

    // ---- symbol entries ----
    _SYMBOL_ENTRY& newSymbol(UBYTE4 kind, const std::string& name);

    // level: a COBOL data item's level number (0: none).
    _SYMBOL_ENTRY& staticVariable(const std::string& name, TYPE_INDEX type, UBYTE4 section, UBYTE8 offset,
                                  UBYTE1 level = 0);
    _SYMBOL_ENTRY& automaticVariable(const std::string& name, TYPE_INDEX type, std::int64_t frameOffset,
                                     UBYTE1 level = 0);
    // Code 10: a name inside the group or table parent.
    _SYMBOL_ENTRY& qualifiedName(const std::string& name, const _SYMBOL_ENTRY& parent, UBYTE1 level = 0);
    _SYMBOL_ENTRY& dwarfVariable(const std::string& name, TYPE_INDEX type, const std::vector<UBYTE1>& location);
    _SYMBOL_ENTRY& registerVariable(const std::string& name, TYPE_INDEX type, const std::string& registerName);
    _SYMBOL_ENTRY& constant(const std::string& name, TYPE_INDEX type, const void* value);
    _SYMBOL_ENTRY& typeName(const std::string& name, TYPE_INDEX type);
    _SYMBOL_ENTRY& function(const std::string& name, TYPE_INDEX type, UBYTE4 section, UBYTE8 offset);
    // Code 23: offset from the thread-static base.
    _SYMBOL_ENTRY& threadStaticVariable(const std::string& name, TYPE_INDEX type, UBYTE8 offset);
    // Code 43: a member of a Fortran common block in a section.
    _SYMBOL_ENTRY& commonBlockMember(const std::string& name, TYPE_INDEX type, UBYTE4 section, UBYTE8 offset);

    // A COBOL condition name (code 16385) of a data item of type dataType:
    // its single values and its ranges (low, high), each value given as its
    // type and its bytes as the debuggee stores them (kept by the store).
    struct ConditionValue {
        TYPE_INDEX type{};
        std::vector<UBYTE1> bytes{};
    };
    _SYMBOL_ENTRY& conditionName(const std::string& name, TYPE_INDEX dataType,
                                 const std::vector<ConditionValue>& values,
                                 const std::vector<std::pair<ConditionValue, ConditionValue>>& ranges);

    // A COBOL table of conditional variables in a group: the group a static
    // (attribute D set) of leaf TE_GROUP whose one member, the table, holds
    // occurs elements of a qualifier type (leaf TE_QUALIFIER over dataType
    // of elementBytes bytes) carrying the condition names. The table is a
    // qualified name under the group and each condition name one under the
    // table; the caller declares the group and the condition names.
    struct Condition {
        std::string name;
        std::vector<ConditionValue> values{};
        std::vector<std::pair<ConditionValue, ConditionValue>> ranges{};
    };
    struct ConditionTable {
        _SYMBOL_ENTRY* group = nullptr;
        _SYMBOL_ENTRY* table = nullptr;
        std::vector<_SYMBOL_ENTRY*> conditions{};
    };
    ConditionTable conditionTable(const std::string& group, const std::string& table, TYPE_INDEX dataType,
                                  UBYTE4 elementBytes, UBYTE4 occurs, UBYTE4 section, UBYTE8 offset,
                                  const std::vector<Condition>& conditions);
    // A conditional variable: a static (attribute D set) of a qualifier type
    // over dataType carrying the condition names, each a qualified name
    // under it (in the returned table's conditions; its group is the
    // variable, its table null). The caller declares them.
    ConditionTable conditionalVariable(const std::string& name, TYPE_INDEX dataType, UBYTE4 section, UBYTE8 offset,
                                       const std::vector<Condition>& conditions);

    // An SQL host variable (code SE_SQL_HOST_VARIABLE): its SQL type code,
    // lengths, element count and code page, and where its storage lies.
    struct SqlVariable {
        UBYTE4 sqlType = 0;
        UBYTE4 length = 0; // declared length
        UBYTE4 maxLength = 0;
        UBYTE8 address = 0;
        UBYTE4 addressWidth = 64; // bits
        UBYTE4 elementCount = 0;  // 0: a scalar
        UBYTE2 ccsid = 0;         // 0: the context's code page
    };
    _SYMBOL_ENTRY& sqlHostVariable(const std::string& name, const SqlVariable& v);

    // A COBOL data item's type that carries condition names: a qualifier
    // (leaf TE_QUALIFIER) over dataType pointing to the item's condition
    // record (leaf TE_CONDITION). The caller declares each condition name
    // as a qualified name under the item's symbol.
    TYPE_INDEX conditionQualifier(TYPE_INDEX dataType, const std::vector<Condition>& conditions);

    // A null-terminated symbol list kept by the store; the same entries give
    // the same list.
    SYMBOL_LIST* symbolList(const std::vector<_SYMBOL_ENTRY*>& entries);

private:
    // A condition's element over values and ranges kept by the store.
    TNconditionElement conditionElement(const std::string& name, const std::vector<ConditionValue>& values,
                                        const std::vector<std::pair<ConditionValue, ConditionValue>>& ranges);

    template <class T>
    T& keep()
    {
        _blobs.push_back(std::make_unique<Blob>(sizeof(T)));
        return *reinterpret_cast<T*>(_blobs.back()->data);
    }
    struct Blob {
        explicit Blob(size_t n) : data(new unsigned char[n]()) {}
        ~Blob() { delete[] data; }
        Blob(const Blob&) = delete;
        Blob& operator=(const Blob&) = delete;
        unsigned char* data;
    };

    std::deque<std::string> _texts;
    std::deque<std::vector<UBYTE1>> _blocks;
    std::vector<std::unique_ptr<Blob>> _blobs;
    std::deque<_TYPE_ENTRY> _types;
    std::map<std::string, TYPE_INDEX> _typeNames;
    std::deque<_SYMBOL_ENTRY> _symbols;
    std::deque<std::vector<_SYMBOL_ENTRY*>> _lists;
    std::map<std::vector<_SYMBOL_ENTRY*>, SYMBOL_LIST*> _listsByEntries;
    std::deque<std::vector<TNconditionValue>> _conditionValues;
    std::deque<std::vector<TNconditionRange>> _conditionRanges;
    std::deque<std::vector<TNconditionElement>> _conditionElements;
};

#endif
