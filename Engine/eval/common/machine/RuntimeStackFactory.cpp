#include "machine/RuntimeStack.h"

#include "datatypes/DecimalFloat.h"
#include "datatypes/FloatNumber.h"
#include "machine/StackItemAddress.h"
#include "machine/StackItemAlphaNumericEdited.h"
#include "machine/StackItemArray.h"
#include "machine/StackItemArraySection.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemCompound.h"
#include "machine/StackItemComplexFloat.h"
#include "machine/StackItemDbcsString.h"
#include "machine/StackItemDecimalNumber.h"
#include "machine/StackItemDbcsEdited.h"
#include "machine/StackItemDecimalFloat.h"
#include "machine/StackItemExternalFloat.h"
#include "machine/StackItemFileDesc.h"
#include "machine/StackItemFixedPointBinary.h"
#include "machine/StackItemFloat.h"
#include "machine/StackItemFortranPointer.h"
#include "machine/StackItemFunction.h"
#include "machine/StackItemIndexDataItem.h"
#include "machine/StackItemIndexName.h"
#include "machine/StackItemNationalEdited.h"
#include "machine/StackItemNationalExternalFloat.h"
#include "machine/StackItemNationalNumericEdited.h"
#include "machine/StackItemNationalString.h"
#include "machine/StackItemNull.h"
#include "machine/StackItemNumericEdited.h"
#include "machine/StackItemS.h"
#include "machine/StackItemSqltype.h"
#include "machine/StackItemU.h"
#include "services/EvaluationEnvironment.h"
#include "services/InvalidOp.h"
#include "types/TypeItem.h"

// The map from the type model to the item classes: one table by the host
// entry's leaf code, one by the built-in index. A row whose maker is null
// names a class that is not built yet; it is refused with
// RTRC_NotSupported until that class lands.

namespace {

using Maker = StackItem* (*)(EvaluationEnvironment& environment, const TypeItem& type);

struct Row {
    unsigned code;
    Maker make;
    // The maker gives the item the requested type itself.
    bool typed = false;
};

// A zero integer item of the requested type from the start (as setType
// gives it).
template <class Item>
StackItem* typedZero(EvaluationEnvironment& environment, const TypeItem& type)
{
    return new Item(environment, 0, type);
}

// ofType, then the type assigned as the factory assigns it to every item.
template <class Item>
StackItem* ofTypeAssigned(EvaluationEnvironment& environment, const TypeItem& type)
{
    StackItem* item = new Item(environment, type);
    item->setType(type);
    return item;
}

template <class Item>
StackItem* ofType(EvaluationEnvironment& environment, const TypeItem& type)
{
    return new Item(environment, type);
}

StackItem* function(EvaluationEnvironment& environment, const TypeItem& type)
{
    return new StackItemFunction(environment, type, nullptr);
}

// Binary floats of zero bytes, IEEE or hexadecimal by the leaf's index.
template <class Item>
StackItem* ieee(EvaluationEnvironment& environment, const TypeItem&)
{
    return new Item(environment, Item::zero(), FloatNumber::IEEE);
}

template <class Item>
StackItem* hex(EvaluationEnvironment& environment, const TypeItem&)
{
    return new Item(environment, Item::zero(), FloatNumber::Hexadecimal);
}

StackItem* secondLongDouble(EvaluationEnvironment& environment, const TypeItem&)
{
    return new StackItemLD(environment, StackItemLD::zero(), 139, FloatNumber::IEEE);
}

template <class Item, FloatNumber::Format format>
StackItem* complexZero(EvaluationEnvironment& environment, const TypeItem&)
{
    return new Item(environment, FloatNumber::zero(), FloatNumber::zero(), format);
}

StackItem* firstComplexLongDouble(EvaluationEnvironment& environment, const TypeItem&)
{
    return new StackItemComplexLD(environment, FloatNumber::zero(), FloatNumber::zero(), 142, FloatNumber::IEEE);
}

StackItem* secondComplexLongDouble(EvaluationEnvironment& environment, const TypeItem&)
{
    return new StackItemComplexLD(environment, FloatNumber::zero(), FloatNumber::zero(), 143, FloatNumber::IEEE);
}

template <class Item>
StackItem* decimalZero(EvaluationEnvironment& environment, const TypeItem&)
{
    return new Item(environment, DecimalFloat::zero());
}

// A text item of no text: blanks of the type's size.
template <class Item>
StackItem* blank(EvaluationEnvironment& environment, const TypeItem& type)
{
    return new Item(environment, nullptr, 0, type);
}

// A COBOL data item holding its value class's zero (or blank) of the type.
template <class Item, class Value>
StackItem* cobolZero(EvaluationEnvironment& environment, const TypeItem& type)
{
    return new Item(environment, Value(type), type);
}

StackItem* null(EvaluationEnvironment& environment, const TypeItem&)
{
    return new StackItemNull(environment);
}

// A host integer of a plain width at bit offset 0 is the integer item of
// that width and signedness; a true bit field is no such item.
StackItem* hostInteger(EvaluationEnvironment& environment, const TypeItem& type)
{
    const TNinteger& entry = type.typeEntry()->integer;
    if (entry.bitOffset != 0)
        return ofTypeAssigned<StackItemCompound>(environment, type);
    const bool isUnsigned = (entry.flags & TNinteger_Unsigned) != 0;
    switch (entry.bitLength) {
    case 8: return isUnsigned ? typedZero<StackItemU1>(environment, type) : typedZero<StackItemS1>(environment, type);
    case 16: return isUnsigned ? typedZero<StackItemU2>(environment, type) : typedZero<StackItemS2>(environment, type);
    case 32: return isUnsigned ? typedZero<StackItemU4>(environment, type) : typedZero<StackItemS4>(environment, type);
    case 64: return isUnsigned ? typedZero<StackItemU8>(environment, type) : typedZero<StackItemS8>(environment, type);
    default: return ofTypeAssigned<StackItemCompound>(environment, type);
    }
}

StackItem* arraySection(EvaluationEnvironment& environment, const TypeItem&)
{
    return new StackItemArraySection(environment);
}

// Host leaf codes (0 to 89); codes not listed are refused with RTRC_Other.
const Row leafRows[] = {
    {1, ofType<StackItemArray>},                                      // array
    {4, hostInteger, true},                                           // integer; a bit field's raw bytes: compound
    {5, blank<StackItemCharstring>},                                  // character string
    {6, ofType<StackItemCompound>},                                   // class, structure, union: compound
    {11, ofType<StackItemCompound>},                                  // enumeration: compound
    {15, function},                                                   // function
    {18, ofType<StackItemCompound>},                                  // compound
    {21, function},                                                   // function
    {25, ofType<StackItemAddress>},                                   // address
    {26, function},                                                   // function
    {27, ofType<StackItemAddress>},                                   // address
    {31, ofType<StackItemCompound>},                                  // compound
    {50, cobolZero<StackItemPackedDecimal, PackedDecimal>},           // packed decimal
    {52, ofType<StackItemCompound>},                                  // compound
    {53, ofType<StackItemCompound>},                                  // COBOL group: compound
    {60, ofType<StackItemAddress>},                                   // address
    {63, ofType<StackItemArray>},                                     // array
    {64, ofType<StackItemCompound>},                                  // compound
    {65, ofType<StackItemCompound>},                                  // compound
    {66, ofType<StackItemCompound>},                                  // compound
    {68, cobolZero<StackItemFixedPointBinary, FixedPointBinary>},     // fixed-point binary
    {69, cobolZero<StackItemZonedDecimal, ZonedDecimal>},             // zoned decimal
    {71, ofType<StackItemArray>},                                     // array
    {72, ofType<StackItemFortranPointer>},                            // Fortran pointer
    {73, cobolZero<StackItemNationalDecimal, NationalDecimal>},       // national decimal
    {74, blank<StackItemNationalString>},                             // national string
    {75, cobolZero<StackItemIndexName, IndexName>},                   // index name
    {76, cobolZero<StackItemIndexDataItem, IndexDataItem>},           // index data item
    {77, cobolZero<StackItemExternalFloat, ExternalFloat>},           // external floating point
    {78, cobolZero<StackItemAlphaNumericEdited, AlphaNumericEdited>}, // alphanumeric-edited
    {79, cobolZero<StackItemNumericEdited, NumericEdited>},           // numeric-edited
    {80, cobolZero<StackItemNationalExternalFloat, NationalExternalFloat>}, // national external floating point
    {81, cobolZero<StackItemNationalEdited, NationalEdited>},               // national-edited
    {82, cobolZero<StackItemNationalNumericEdited, NationalNumericEdited>}, // national numeric-edited
    {83, ofType<StackItemArray>},                                           // array or bound string
    {85, ofType<StackItemFileDesc>},                                        // file description
    {86, blank<StackItemDbcsString>},                                       // DBCS string
    {87, cobolZero<StackItemDbcsEdited, DbcsEdited>},                       // DBCS-edited
    {89, ofType<StackItemSqltype>},                                         // SQL type
};

// Built-in indexes (128 to 205); indexes not listed are refused with
// RTRC_NotSupported. The item's type becomes the requested type.
const Row builtinRows[] = {
    {128, typedZero<StackItemS1>, true},
    {129, typedZero<StackItemS2>, true},
    {130, typedZero<StackItemS4>, true},
    {132, typedZero<StackItemU1>, true},
    {133, typedZero<StackItemU2>, true},
    {134, typedZero<StackItemU4>, true},
    {136, ieee<StackItemF>},                                  // float
    {137, ieee<StackItemD>},                                  // double
    {138, ieee<StackItemLD>},                                 // long double
    {139, secondLongDouble},                                  // long double of the second layout
    {140, complexZero<StackItemComplexF, FloatNumber::IEEE>}, // complex float
    {141, complexZero<StackItemComplexD, FloatNumber::IEEE>}, // complex double
    {142, firstComplexLongDouble},                            // complex long double
    {143, secondComplexLongDouble},                           // complex long double of the second layout
    {144, typedZero<StackItemU1>, true},
    {145, typedZero<StackItemU2>, true},
    {146, typedZero<StackItemU4>, true},
    {148, typedZero<StackItemU1>, true},
    {149, typedZero<StackItemU2>, true},
    {150, typedZero<StackItemU4>, true},
    {151, null},
    {155, typedZero<StackItemS8>, true},
    {156, typedZero<StackItemU8>, true},
    {157, typedZero<StackItemU8>, true},
    {159, decimalZero<StackItemDecimalFloat32>},                      // 32-bit decimal floating point
    {192, decimalZero<StackItemDecimalFloat64>},                      // 64-bit decimal floating point
    {193, decimalZero<StackItemDecimalFloat128>},                     // 128-bit decimal floating point
    {195, arraySection},                                              // array section
    {196, hex<StackItemF>},                                           // 4-byte hexadecimal floating point
    {197, hex<StackItemD>},                                           // 8-byte hexadecimal floating point
    {198, hex<StackItemLD>},                                          // long hexadecimal floating point
    {203, complexZero<StackItemComplexF, FloatNumber::Hexadecimal>},  // complex 4-byte hexadecimal floating point
    {204, complexZero<StackItemComplexD, FloatNumber::Hexadecimal>},  // complex 8-byte hexadecimal floating point
    {205, complexZero<StackItemComplexLD, FloatNumber::Hexadecimal>}, // complex long hexadecimal floating point
};

template <std::size_t N>
const Row* findRow(const Row (&rows)[N], unsigned code)
{
    for (const Row& row : rows)
        if (row.code == code)
            return &row;
    return nullptr;
}

[[noreturn]] void notBuiltYet(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_NotSupported, function, line);
}

} // namespace

StackItem* RuntimeStack::makeStackItem(const TypeItem& type, const LCC_Eval_Context_Info*)
{
    EvaluationEnvironment& environment = *EvaluationEnvironment::currentRep();
    if (const _TYPE_ENTRY* entry = type.typeEntry()) {
        const Row* row = findRow(leafRows, entry->leaf);
        if (row == nullptr)
            throw InvalidOp(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
        StackItem* item = row->make != nullptr ? row->make(environment, type) : nullptr;
        if (item == nullptr)
            notBuiltYet(__PRETTY_FUNCTION__, __LINE__);
        if (!row->typed)
            item->setType(type);
        return item;
    }
    if (type.hasFlag(TypeFlags::pointer)) {
        StackItem* item = new StackItemAddress(environment, type);
        return item;
    }
    const EvaluatorTypeIndex& index = type.typeIndex();
    const Row* row = index.module() == 0 ? findRow(builtinRows, index.index()) : nullptr;
    if (row == nullptr || row->make == nullptr)
        notBuiltYet(__PRETTY_FUNCTION__, __LINE__);
    StackItem* item = row->make(environment, type);
    if (!row->typed)
        item->setType(type);
    return item;
}
