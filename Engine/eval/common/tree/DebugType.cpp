#include "tree/DebugType.h"

#include "services/InvalidOp.h"
#include "types/SqlTypeCodes.h"
#include "types/SqlTypeEntry.h"
#include "types/TypeItem.h"

namespace {

enum : unsigned {
    langC = 1,
    langCPP = 2,
    langFortran = 4,
    langParallel = 8,
    langCOBOL = 16,
    langAll = 255
};

const char resultTypesName[] = "const DebugType::FormatInfo* DebugType::resultTypes(const TypeItem&, unsigned32) const";

// Which of the five lists a language code reads.
unsigned listOfLanguage(unsigned language)
{
    switch (language) {
    case 2: return 1;
    case 11: return 2;
    case 15: return 3;
    case 6: return 4;
    default: return 0;
    }
}

} // namespace

DebugType& DebugType::instance()
{
    // Made under the runtime's guard for statics: two threads racing the
    // first use get the one table.
    static DebugType* table = new DebugType;
    return *table;
}

DebugType::DebugType()
{
    for (auto& p : byType_)
        p = nullptr;
    for (auto& p : byListIndex_)
        p = nullptr;
    for (auto& list : lists_)
        for (auto& code : list)
            code = 0;
    for (auto& n : counts_)
        n = 0;

    // Pairs are written result, representation; a result of 5 ends a list
    // of fewer than six pairs.
    static FormatInfo char1(1, 0, 22, 0, 2, 0, 1, 0, 4, 0, 3, 0, 5);
    addType(1, 0, char1, langAll);
    static FormatInfo wchar(19, 0, 22, 0, 1, 0, 2, 0, 4, 0, 3, 0, 5);
    addType(19, 9, wchar, langAll);
    static FormatInfo integer(3, 0, 2, 0, 1, 0, 4, 0, 3, 5);
    addType(3, 2, integer, langAll);
    // Type 1 is registered a second time; this row replaces the first one.
    static FormatInfo char2(1, 0, 22, 0, 2, 0, 1, 0, 4, 0, 3, 0, 5);
    addType(1, 0, char2, langAll);
    static FormatInfo floating(2, 0, 8, 0, 1, 5);
    addType(2, 1, floating, langAll);
    static FormatInfo pointer(4, 2, 19, 1, 9, 1, 10, 3, 11, 5);
    addType(4, 3, pointer, langAll);
    static FormatInfo function(22, 0, 9, 0, 10, 5);
    addType(22, 12, function, langAll);
    static FormatInfo charPointer(5, 0, 23, 1, 9, 1, 10, 3, 11, 2, 19, 0, 6);
    addType(5, 4, charPointer, langAll);
    static FormatInfo wcharPointer(20, 0, 23, 1, 9, 1, 10, 3, 11, 2, 19, 0, 6);
    addType(20, 10, wcharPointer, langAll);
    static FormatInfo array(6, 3, 11, 1, 9, 1, 10, 5);
    addType(6, 5, array, langAll);
    static FormatInfo charArray(7, 0, 23, 3, 11, 1, 9, 1, 10, 0, 6, 5);
    addType(7, 6, charArray, langAll);
    static FormatInfo wcharArray(21, 0, 23, 3, 11, 1, 9, 1, 10, 0, 6, 5);
    addType(21, 11, wcharArray, langAll);
    static FormatInfo boolean(18, 0, 17, 0, 2, 0, 1, 0, 4, 0, 3, 5);
    addType(18, 8, boolean, langAll);
    static FormatInfo reference(26, 0, 23, 0, 9, 0, 10, 5);
    addType(26, 20, reference, langC | langCPP | langFortran | langParallel);
    static FormatInfo fortranPointer(25, 2, 19, 1, 9, 1, 10, 5);
    addType(25, 19, fortranPointer, langFortran);
    static FormatInfo sharedArray(23, 3, 11, 5);
    addType(23, 17, sharedArray, langParallel);
    static FormatInfo sharedPointer(24, 2, 19, 0, 20, 0, 9, 5);
    addType(24, 18, sharedPointer, langParallel);
    static FormatInfo structure(15, 4, 12, 5);
    addType(15, 7, structure, langCPP | langCOBOL);
    // The second row of data type 15, which only resultTypes hands out.
    static FormatInfo sqlStructure(15, 2, 12, 5);
    byListIndex_[13] = &sqlStructure;
    static FormatInfo type9(9, 0, 2, 0, 1, 5);
    addType(9, 14, type9, langC | langCOBOL);
    static FormatInfo type11(11, 0, 2, 0, 1, 5);
    addType(11, 15, type11, langCOBOL);
    static FormatInfo type10(10, 0, 2, 0, 1, 5);
    addType(10, 21, type10, langCOBOL);
    static FormatInfo type27(27, 0, 2, 0, 1, 5);
    addType(27, 22, type27, langCOBOL);
    static FormatInfo type40(40, 0, 22, 0, 1, 5);
    addType(40, 16, type40, langCOBOL);
    static FormatInfo type28(28, 0, 22, 0, 1, 5);
    addType(28, 23, type28, langCOBOL);
    static FormatInfo type29(29, 0, 2, 0, 1, 5);
    addType(29, 24, type29, langCOBOL);
    static FormatInfo type30(30, 0, 2, 0, 1, 5);
    addType(30, 25, type30, langCOBOL);
    static FormatInfo type31(31, 0, 2, 0, 1, 5);
    addType(31, 26, type31, langCOBOL);
    static FormatInfo type32(32, 0, 22, 0, 1, 5);
    addType(32, 27, type32, langCOBOL);
    static FormatInfo type33(33, 0, 2, 0, 1, 5);
    addType(33, 28, type33, langCOBOL);
    static FormatInfo type34(34, 0, 2, 0, 1, 5);
    addType(34, 29, type34, langCOBOL);
    static FormatInfo type35(35, 0, 22, 0, 1, 5);
    addType(35, 30, type35, langCOBOL);
    static FormatInfo type36(36, 0, 2, 0, 1, 5);
    addType(36, 31, type36, langCOBOL);
    static FormatInfo type37(37, 0, 22, 5);
    addType(37, 32, type37, langCOBOL);
    static FormatInfo type38(38, 0, 22, 0, 1, 5);
    addType(38, 34, type38, langCOBOL);
    static FormatInfo type39(39, 0, 22, 0, 1, 5);
    addType(39, 33, type39, langCOBOL);
}

void DebugType::addType(int type, int listIndex, FormatInfo& row, unsigned int languages)
{
    byType_[type] = &row;
    byListIndex_[listIndex] = &row;
    for (unsigned list = 0; list < 5; ++list) {
        if ((languages & (1u << list)) != 0)
            lists_[list][counts_[list]++] = static_cast<unsigned>(type);
    }
}

void DebugType::QueryTypes(unsigned int& count, unsigned int*& list, unsigned int language) const
{
    unsigned which = listOfLanguage(language);
    count = static_cast<unsigned>(counts_[which]);
    list = const_cast<unsigned int*>(lists_[which]);
}

const DebugType::FormatInfo* DebugType::byType(DBG_TYPE type) const
{
    if (type < 1 || type > 40)
        return nullptr;
    return byType_[type];
}

const DebugType::FormatInfo* DebugType::byListIndex(unsigned index) const
{
    return index < listIndexCount ? byListIndex_[index] : nullptr;
}

std::uint16_t DebugType::QueryTypeRepresentations(DBG_TYPE type, unsigned int& count, unsigned int*& list) const
{
    FormatInfo* row = const_cast<FormatInfo*>(byType(type));
    if (row == nullptr) {
        count = 0;
        list = nullptr;
        return 10000;
    }
    count = row->count();
    list = row->reps32();
    return 0;
}

std::uint16_t DebugType::QueryTypeRepresentations(DBG_TYPE type, unsigned short& count, unsigned short*& reps,
                                                  unsigned short*& results) const
{
    FormatInfo* row = const_cast<FormatInfo*>(byType(type));
    if (row == nullptr) {
        count = 0;
        reps = nullptr;
        return 10000;
    }
    count = row->count();
    reps = row->reps16();
    if (results != nullptr)
        results = row->res16();
    return 0;
}

std::uint16_t DebugType::SetDefaultRep(DBG_TYPE type, DBG_REPS rep)
{
    FormatInfo* row = const_cast<FormatInfo*>(byType(type));
    if (row == nullptr)
        return 10000;
    return row->SetDefaultRep(rep);
}

const DebugType::FormatInfo* DebugType::resultTypes(const TypeItem& type, unsigned int) const
{
    const _TYPE_ENTRY* e = type.typeIndex().module() == 0 ? nullptr : type.typeEntry();
    if (!SqlTypeEntry::isSqlEntry(e)) {
        const DBG_TYPE shown = programDataType(type);
        const FormatInfo* row = shown > 0 && static_cast<unsigned>(shown) < typeCount ? byType_[shown] : nullptr;
        if (row == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, resultTypesName, 430);
        return row;
    }
    SqlTypeEntry entry(*e);
    if (entry.elementCount() > 0)
        return byListIndex_[5];
    switch (entry.sqlType()) {
    case sqlFloat:
    case sqlNullable(sqlFloat):
    case sqlDecfloat:
    case sqlNullable(sqlDecfloat): return byListIndex_[1];
    case sqlDecimal:
    case sqlNullable(sqlDecimal): return byListIndex_[14];
    case sqlBigint:
    case sqlNullable(sqlBigint):
    case sqlInteger:
    case sqlNullable(sqlInteger):
    case sqlSmallint:
    case sqlNullable(sqlSmallint): return byListIndex_[15];
    case sqlNumeric:
    case sqlNullable(sqlNumeric): return byListIndex_[21];
    case sqlBlobFile:
    case sqlNullable(sqlBlobFile):
    case sqlClobFile:
    case sqlNullable(sqlClobFile):
    case sqlDbclobFile:
    case sqlNullable(sqlDbclobFile):
    case sqlSqlca: return byListIndex_[13];
    case sqlBlob:
    case sqlNullable(sqlBlob):
    case sqlClob:
    case sqlNullable(sqlClob):
    case sqlDbclob:
    case sqlNullable(sqlDbclob):
    case sqlVarchar:
    case sqlNullable(sqlVarchar):
    case sqlChar:
    case sqlNullable(sqlChar):
    case sqlLongVarchar:
    case sqlNullable(sqlLongVarchar):
    case sqlVargraphic:
    case sqlNullable(sqlVargraphic):
    case sqlGraphic:
    case sqlNullable(sqlGraphic):
    case sqlLongVargraphic:
    case sqlNullable(sqlLongVargraphic):
    case sqlVarbinaryLong:
    case sqlNullable(sqlVarbinaryLong):
    case sqlVarbinary:
    case sqlNullable(sqlVarbinary):
    case sqlBinary:
    case sqlNullable(sqlBinary):
    case sqlBlobLocator:
    case sqlNullable(sqlBlobLocator):
    case sqlClobLocator:
    case sqlNullable(sqlClobLocator):
    case sqlDbclobLocator:
    case sqlNullable(sqlDbclobLocator):
    case sqlResultSetLocator:
    case sqlNullable(sqlResultSetLocator):
    case sqlTableLocator:
    case sqlNullable(sqlTableLocator):
    case sqlFileName: return byListIndex_[16];
    default: throw InvalidOp(InvalidOp::RTRC_Other, resultTypesName, 430);
    }
}

DBG_REPS DebugType::defaultRepresentation(const FormatInfo& row)
{
    return row.representation(row.defaultIndex() < row.count() ? row.defaultIndex() : 0);
}

bool DebugType::offers(const FormatInfo& row, DBG_REPS rep)
{
    for (unsigned i = 0; i < row.count(); ++i)
        if (row.representation(i) == rep)
            return true;
    return false;
}
