#ifndef NORVEXA_COMPILER_EE_OSTRELTYPEDESCRIPTORTABLE_H
#define NORVEXA_COMPILER_EE_OSTRELTYPEDESCRIPTORTABLE_H

#include "compiler/CxxevalInterface.h"
#include "compiler/TypeTable.h"

class EE_Declaration;
class EE_OstrelServices;
class EE_StorageArena;

// The type descriptors of one services object: one per type of the symbol
// model, the predefined descriptors cached by kind, and the forms that have
// the model make a type first (pointer to, array of, the COBOL picture
// types). Every refusal is EE_Exception {2, no node}.
//
// The forms taking a type describe that type; given none, they have the
// model create one from their information, after checking that the kind
// asked for is the form's.
class EE_OstrelTypeDescriptorTable {
public:
    EE_OstrelTypeDescriptorTable(EE_StorageArena& arena, EE_OstrelServices& services);

    // Kinds 11-63. The descriptor first made for a kind is answered for it
    // from then on, whatever type a later call names.
    EE_OstrelTypeDescriptor* findOrCreatePredefinedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                  const TypeItem* type = nullptr);
    // Reference (2), pointer (1, 8) and address-of-reference (63) to a target.
    EE_OstrelTypeDescriptor* findOrCreateTypeDescriptor(EE_TypeDescriptor::Kind kind, EE_TypeDescriptor& target,
                                                        const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateArrayTypeDescriptor(EE_TypeDescriptor& element, long long count,
                                                             const TypeItem* type = nullptr,
                                                             EE_TypeDescriptor::Kind kind = EE_TypeDescriptor::Array);
    // The type is the declaration's own, which must be a type declaration.
    EE_OstrelTypeDescriptor* findOrCreateNamedTypeDescriptor(EE_TypeDescriptor::Kind kind, EE_Declaration& declaration,
                                                             const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateFunctionTypeDescriptor(const FunctionInfoBlock* info, const TypeItem* type);
    EE_OstrelTypeDescriptor* findOrCreateFixedPointTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                  const FixedPointInfoBlock& info,
                                                                  const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateCharstringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                  const CharstringInfoBlock& info,
                                                                  const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateNationalStringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                      const NationalStringInfoBlock& info,
                                                                      const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateDbcsStringTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                  const DbcsStringInfoBlock& info,
                                                                  const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateIndexNameTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                 const IndexNameInfoBlock& info,
                                                                 const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateIndexDataItemTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                     const IndexDataItemInfoBlock& info,
                                                                     const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateExternalFloatTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                     const ExternalFloatInfoBlock& info,
                                                                     const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateAlphaNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                          const AlphaNumericEditedInfoBlock& info,
                                                                          const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                     const NumericEditedInfoBlock& info,
                                                                     const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateNationalExternalFloatTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                             const NationalExternalFloatInfoBlock& info,
                                                                             const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateNationalEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                      const NationalEditedInfoBlock& info,
                                                                      const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateNationalNumericEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                             const NationalNumericEditedInfoBlock& info,
                                                                             const TypeItem* type = nullptr);
    EE_OstrelTypeDescriptor* findOrCreateDbcsEditedTypeDescriptor(EE_TypeDescriptor::Kind kind,
                                                                  const DbcsEditedInfoBlock& info,
                                                                  const TypeItem* type = nullptr);

    // A view of a string through a reference modification (kinds 9, 51, 60):
    // a new descriptor on every call, never entered in the table.
    EE_OstrelTypeDescriptor* findOrCreateRefModTypeDescriptor(EE_TypeDescriptor::Kind kind, int flag,
                                                              const TypeItem* baseType);

    // Made once each: pointers to char, wchar_t, unsigned char and void, and
    // the program's size_t and ptrdiff_t.
    EE_OstrelTypeDescriptor* pointerToCharTypeDescriptor();
    EE_OstrelTypeDescriptor* pointerToWchartTypeDescriptor();
    EE_OstrelTypeDescriptor* pointerToFortranCharacterTypeDescriptor();
    EE_OstrelTypeDescriptor* pointerToVoidTypeDescriptor();
    EE_OstrelTypeDescriptor* sizetTypeDescriptor();
    EE_OstrelTypeDescriptor* ptrdifftTypeDescriptor();

    // The kind a kind stands for: wchar_t's (39) is that of the program's
    // wchar_t type; an enumeration (7) needs its type.
    EE_TypeDescriptor::Kind underlyingTypeDescriptorKind(EE_TypeDescriptor::Kind kind);
    EE_TypeDescriptor::Kind underlyingTypeDescriptorKind(const EE_TypeDescriptor& descriptor);

    // The table's own description of a type, for size_t and ptrdiff_t: plain
    // forms without the kind cache; named types and enumerations refuse.
    EE_OstrelTypeDescriptor* findOrCreateTypeDescriptor(const TypeItem* type);

    TypeTable& typeTable() { return types; }

private:
    EE_OstrelTypeDescriptor* pointerToPredefined(EE_OstrelTypeDescriptor*& cache, EE_TypeDescriptor::Kind kind);

    EE_StorageArena& arena;
    EE_OstrelTypeDescriptor* predefined[EE_TypeDescriptor::LastKind - 10 + 1] = {}; // by kind - 10
    EE_OstrelTypeDescriptor* sizet = nullptr;
    EE_OstrelTypeDescriptor* ptrdifft = nullptr;
    EE_OstrelTypeDescriptor* pointerToChar = nullptr;
    EE_OstrelTypeDescriptor* pointerToWchart = nullptr;
    EE_OstrelTypeDescriptor* pointerToFortranCharacter = nullptr;
    EE_OstrelTypeDescriptor* pointerToVoid = nullptr;
    TypeTable types;
};

#endif
