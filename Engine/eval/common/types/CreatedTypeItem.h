#ifndef NORVEXA_TYPES_CREATEDTYPEITEM_H
#define NORVEXA_TYPES_CREATEDTYPEITEM_H

#include <cstddef>

#include "HostRecords.h"
#include "types/TypeItem.h"

// A type the evaluator makes itself: it carries its own type entry (or a
// host index whose entry it fetched when made) and never asks the host for
// it again. Every created type joins the current evaluation environment's
// created list, which owns it; the environment's reset deletes them all and
// numbering starts at 0 again.
//
// The finders search the created list from the newest to the oldest and
// return the first match; the builders make a new type only on a miss, so
// one request reuses one type object per distinct shape. Every finder and
// builder answers a type owned by the environment.
class CreatedTypeItem : public TypeItem {
public:
    ~CreatedTypeItem() override;

    // ------------------------------------------------------------------
    // By index
    // ------------------------------------------------------------------

    // For {-1, n}: the created type whose unsimplified index is {-1, n};
    // null for another module word or when there is none.
    static const TypeItem* findSynthesizedType(const TYPE_INDEX& index);
    // Without a shared base: the newest created type whose unsimplified
    // index equals index. With a UPC-shared base: the newest shared created
    // type with the base's block factor, the index and the display name of
    // the plain type of index.
    static const TypeItem* findType(const TYPE_INDEX& index, const TypeItem* sharedBase = nullptr);
    // findType; on a miss a new type: a shared qualifier over the index with
    // the base's block factor when there is a shared base, else a created
    // type that keeps the index itself (its entry is the host's).
    static const TypeItem* findOrCreateType(const TYPE_INDEX& index, const TypeItem* sharedBase = nullptr);
    // As findOrCreateType without the search.
    static const TypeItem* createType(const TYPE_INDEX& index, const TypeItem* sharedBase = nullptr);

    // Process-wide static types {-2, n}. The table holds entries its callers
    // own: makeStaticType lists one (an entry listed already keeps its index)
    // and answers its index; an owner that frees an entry first takes it out
    // with forgetStaticType, after which its index answers null and is never
    // reused. getStaticType answers entry n, or null for another module word,
    // an n past the end or a forgotten entry. The table holds at most
    // staticTypeLimit entries; making one more is InvalidOp RTRC_Other.
    static constexpr std::size_t staticTypeLimit = 4096;
    static const _TYPE_ENTRY* getStaticType(const TYPE_INDEX& index);
    static TYPE_INDEX makeStaticType(const _TYPE_ENTRY* entry);
    static void forgetStaticType(const _TYPE_ENTRY* entry) noexcept;

    // The type that a decoration (leaf 56) decorates; InvalidOp RTRC_Other
    // for any other type.
    static const TypeItem* findDecoratedType(const TypeItem& type);

    // ------------------------------------------------------------------
    // Data-item types: record forms (search, then make from a copy of the
    // record), search-only forms, and parameter forms that fill the record.
    // ------------------------------------------------------------------

    static const TypeItem* findType(const TNpacked_decimal& record);
    static const TypeItem* findType(const TNzoned_decimal& record);
    static const TypeItem* findType(const TNnational_decimal& record);
    static const TypeItem* findType(const TNfixed_point_binary& record);
    static const TypeItem* findType(const TNindex_name& record);
    static const TypeItem* findType(const TNindex_data_item& record);
    static const TypeItem* findType(const TNexternal_float& record);
    static const TypeItem* findType(const TNalpha_numeric_edited& record);
    static const TypeItem* findType(const TNnational_external_float& record);
    static const TypeItem* findType(const TNnational_edited& record);
    static const TypeItem* findType(const TNdbcs_edited& record);
    static const TypeItem* findType(const TNnumeric_edited& record);
    static const TypeItem* findType(const TNnational_numeric_edited& record);
    static const TypeItem* findType(const TNcharstring& record, bool first, bool second, bool third);
    static const TypeItem* findType(const TNnational_string& record, bool first, bool second, bool third);
    static const TypeItem* findType(const TNdbcs_string& record, bool first, bool second, bool third);

    static const TypeItem* findOrCreatePackedDecimalType(const TNpacked_decimal& record);
    static const TypeItem* findOrCreatePackedDecimalType(unsigned char precision, signed char scale, bool isSigned,
                                                         const char* picture);
    static const TypeItem* makePackedDecimalType(unsigned char precision, unsigned char places);

    static const TypeItem* findOrCreateZonedDecimalType(const TNzoned_decimal& record);
    static const TypeItem* findOrCreateZonedDecimalType(unsigned char precision, signed char scale, bool isSigned,
                                                        const char* picture, TN_DecimalSign sign);
    static const TypeItem* makeZonedDecimalType(unsigned char precision, unsigned char places);

    static const TypeItem* findOrCreateNationalDecimalType(const TNnational_decimal& record);
    static const TypeItem* findOrCreateNationalDecimalType(unsigned char precision, signed char scale, bool isSigned,
                                                           const char* picture, TN_DecimalSign sign);
    static const TypeItem* makeNationalDecimalType(unsigned char precision, unsigned char places);

    static const TypeItem* findOrCreateFixedPointBinaryType(const TNfixed_point_binary& record);
    static const TypeItem* findOrCreateFixedPointBinaryType(unsigned char precision, signed char scale, bool isSigned,
                                                            const char* picture);

    static const TypeItem* findOrCreateIndexNameType(const TNindex_name& record);
    static const TypeItem* findOrCreateIndexNameType(unsigned char byteLength, unsigned int elementLength);
    static const TypeItem* findOrCreateIndexDataItemType(const TNindex_data_item& record);
    static const TypeItem* findOrCreateIndexDataItemType(unsigned char byteLength);

    static const TypeItem* findOrCreateNumericEditedType(const TNnumeric_edited& record);
    static const TypeItem* findOrCreateNumericEditedType(unsigned int length, unsigned char precision,
                                                         signed char scale, const char* picture);
    static const TypeItem* findOrCreateNationalNumericEditedType(const TNnational_numeric_edited& record);
    static const TypeItem* findOrCreateNationalNumericEditedType(unsigned int length, unsigned char precision,
                                                                 signed char scale, const char* picture);

    static const TypeItem* findOrCreateAlphaNumericEditedType(const TNalpha_numeric_edited& record);
    static const TypeItem* findOrCreateAlphaNumericEditedType(unsigned int length, const char* picture);
    static const TypeItem* findOrCreateNationalEditedType(const TNnational_edited& record);
    static const TypeItem* findOrCreateNationalEditedType(unsigned int length, const char* picture);
    static const TypeItem* findOrCreateDbcsEditedType(const TNdbcs_edited& record);
    static const TypeItem* findOrCreateDbcsEditedType(unsigned int length, const char* picture);
    static const TypeItem* findOrCreateExternalFloatType(const TNexternal_float& record);
    static const TypeItem* findOrCreateExternalFloatType(unsigned int length, const char* picture);
    static const TypeItem* findOrCreateNationalExternalFloatType(const TNnational_external_float& record);
    static const TypeItem* findOrCreateNationalExternalFloatType(unsigned int length, const char* picture);

    static const TypeItem* findOrCreateCharstringType(const TNcharstring& record, bool first, bool second, bool third);
    static const TypeItem* findOrCreateCharstringType(unsigned int length, bool first, bool second, bool third,
                                                      const char* picture);
    static const TypeItem* findOrCreateNationalStringType(const TNnational_string& record, bool first, bool second,
                                                          bool third);
    static const TypeItem* findOrCreateNationalStringType(unsigned int length, bool first, bool second, bool third,
                                                          const char* picture);
    static const TypeItem* findOrCreateDbcsStringType(const TNdbcs_string& record, bool first, bool second, bool third);
    static const TypeItem* findOrCreateDbcsStringType(unsigned int length, bool first, bool second, bool third,
                                                      const char* picture);

    // ------------------------------------------------------------------
    // Arrays, pointers, references, classes, members, procedures
    // ------------------------------------------------------------------

    // The element type of an array (leaves 1, 63, 71, 83); a UPC shared
    // qualifier makes it the shared element. InvalidOp RTRC_Other for a
    // type without entry or of another leaf.
    static const TypeItem* findArrayElement(const TypeItem& arrayType, const TypeItem* qualifier = nullptr);
    // The array of count elements of a type; InvalidOp RTRC_Other for the
    // empty type and for a size the array record cannot hold.
    static const TypeItem* findArrayType(const TypeItem& element, std::uint64_t count);
    // The pointer to a type: the pointer-to-primitive index where the
    // program's pointers are 4 bytes, else a created pointer.
    static const TypeItem* findPointerType(const TypeItem& pointee);
    static const TypeItem* findReferenceType(const TypeItem& type);
    static const TypeItem* findAddressOfReferenceType(const TypeItem& type);
    // The target of a pointer type; InvalidOp RTRC_Other for another type.
    static const TypeItem* findDereferencedType(const TypeItem& type);
    // The target of a Fortran pointer; InvalidOp RTRC_Other for another type.
    static const TypeItem* findF90PointeeType(const TypeItem& type);
    // The class of a name: a created class type of that name, else the
    // host's class of that name (one with members). Null when there is none
    // and on any failure.
    static const TypeItem* findType(const char* className);
    // The created member type equal to a member record, else a new one.
    static const TypeItem* findOrCreateType(const TNclassmember& member);
    // The type of a built-in procedure; InvalidOp RTRC_Other for an empty
    // result type.
    static const TypeItem* findBuiltinProcedureType(const TypeItem& result, const char* name, unsigned first,
                                                    unsigned second, const List<TYPE_INDEX>& arguments);

    // The entry record this type carries inline.
    const _TYPE_ENTRY& inlineEntry() const { return record; }

protected:
    // A created type numbered {-1, n} (n: the number of created types the
    // current environment held before it), registered in that environment.
    CreatedTypeItem();
    // A created type that keeps a host (or primitive, or static) index and
    // that index's entry.
    CreatedTypeItem(const TYPE_INDEX& index, const _TYPE_ENTRY* entry);

    // Points the entry at the inline record (after a subclass filled it).
    void useInlineEntry() { entry = &record; }
    // Ends construction: computes the flags (a failure is left for the next
    // use to report) and marks the type constructed.
    void finishConstruction();
    // Sets the display name from a text, taking the name-prefix length of
    // from.
    void setName(const TypeItem& from, const char* text);
    // Simplifies with the created flag cleared for the duration.
    void simplifyBase();
    void setStringKinds(bool first, bool second, bool third);

    _TYPE_ENTRY record;
};

#endif
