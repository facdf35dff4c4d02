// Compiled with -m32 -fsyntax-only by CTest: in a 32-bit build every pointer
// is 4 bytes and the host records must sit at exactly the byte offsets of the
// host format. Three placements are this project's own, where the format gives
// two fields one position (see HostRecords.h): TNfunction::classType,
// SEautomatic::location/locationLength and TNclass::name2 (shared with the
// created class record). The COBOL level numbers of symbol entries
// (SEautomatic, SEstatic and SEqualified ::level) take bytes the format
// leaves unused.

#include "HostRecordAccess.h"

#include <cstddef>

static_assert(sizeof(void*) == 4, "this check is meant for a 32-bit build");

#define AT(RECORD, FIELD, OFFSET) static_assert(offsetof(RECORD, FIELD) == (OFFSET), #RECORD "::" #FIELD " at " #OFFSET)
#define SIZE(RECORD, BYTES) static_assert(sizeof(RECORD) == (BYTES), #RECORD " is " #BYTES " bytes")

AT(DwarfLocString, length, 0);
AT(DwarfLocString, first, 3);

AT(DwarfLocation, bytes, 0);
AT(DwarfLocation, length, 4);

AT(TNtypeListNode, type, 0);
AT(TNtypeListNode, next, 8);
AT(TNtypeListNode, cobolEntry, 12);

AT(TNnameListNode, name, 0);
AT(TNnameListNode, offset, 4);
AT(TNnameListNode, isUnsigned, 8);
AT(TNnameListNode, next, 12);

AT(TNenumeratorNode, name, 0);
AT(TNenumeratorNode, value, 4);
AT(TNenumeratorNode, next, 12);
AT(TNenumeratorNode, valueHigh, 20);

AT(TNarray, leaf, 0);
AT(TNarray, flags, 8);
AT(TNarray, sizeExpressionLength, 16);
AT(TNarray, elementType, 28);
AT(TNarray, name, 36);

AT(TNbaseclass, leaf, 0);
AT(TNbaseclass, flags, 8);
AT(TNbaseclass, attributes, 12);
AT(TNbaseclass, baseType, 16);
AT(TNbaseclass, expressionLength, 28);

AT(TNinteger, leaf, 0);
AT(TNinteger, flags, 8);
AT(TNinteger, bitOffset, 12);
AT(TNinteger, bitLength, 16);

AT(TNclass, leaf, 0);
AT(TNclass, flags, 8);
AT(TNclass, sizeExpressionLength, 16);
AT(TNclass, memberCount, 20);
AT(TNclass, fieldList, 22);
AT(TNclass, name, 32);
AT(TNclass, name2, 36);
AT(TNclass, enclosingClass, 40);
AT(TNclass, cobolMembers, 48);

AT(TNnamedtag, leaf, 0);
AT(TNnamedtag, namedType, 12);
AT(TNnamedtag, name, 28);

AT(TNclassmember, leaf, 0);
AT(TNclassmember, flags, 8);
AT(TNclassmember, attributes, 12);
AT(TNclassmember, memberType, 16);
AT(TNclassmember, expressionLength, 28);
AT(TNclassmember, name, 32);
AT(TNclassmember, name2, 36);
AT(TNclassmember, classChar, 40);
AT(TNclassmember, levelNumber, 41);

AT(TNfunction, leaf, 0);
AT(TNfunction, flags, 8);
AT(TNfunction, count1, 12);
AT(TNfunction, count2, 14);
AT(TNfunction, returnType, 16);
AT(TNfunction, parameterList, 24);
AT(TNfunction, name, 32);
AT(TNfunction, classType, 36);

AT(TNenum, leaf, 0);
AT(TNenum, underlyingType, 6);
AT(TNenum, name, 16);
AT(TNenum, enumeratorList, 20);

AT(TNlist, leaf, 0);
AT(TNlist, kind, 8);

AT(TNmemberfunction, leaf, 0);
AT(TNmemberfunction, flags, 8);
AT(TNmemberfunction, functionType, 20);
AT(TNmemberfunction, name, 36);

AT(TNpointer, leaf, 0);
AT(TNpointer, flags, 8);
AT(TNpointer, target, 12);
AT(TNpointer, name, 20);

AT(TNreference, leaf, 0);
AT(TNreference, referent, 6);
AT(TNreference, flags, 16);

AT(TNstruct, leaf, 0);
AT(TNstruct, byteSize, 24);
AT(TNstruct, memberTypes, 28);
AT(TNstruct, memberNames, 36);

AT(TNtypedef, leaf, 0);
AT(TNtypedef, aliasedType, 6);
AT(TNtypedef, name, 16);

AT(TNmodifier, leaf, 0);
AT(TNmodifier, type, 6);

AT(TNqualifier, leaf, 0);
AT(TNqualifier, type, 6);
AT(TNqualifier, conditions, 16);

AT(TNf90allocatable, leaf, 0);
AT(TNf90allocatable, objectType, 6);
AT(TNf90allocatable, dataLocation, 16);
AT(TNf90allocatable, allocation, 20);

AT(TNupcshared, leaf, 0);
AT(TNupcshared, blockFactorSource, 5);
AT(TNupcshared, qualifiedType, 6);

AT(TNbased, leaf, 0);
AT(TNbased, pointerName, 16);

AT(TNf90descarray, leaf, 0);
AT(TNf90descarray, elementType, 6);
AT(TNf90descarray, dataLocation, 16);
AT(TNf90descarray, allocation, 20);
AT(TNf90descarray, association, 24);
AT(TNf90descarray, lowerBound, 28);
AT(TNf90descarray, upperBound, 32);
AT(TNf90descarray, extent, 36);
AT(TNf90descarray, stride, 40);
AT(TNf90descarray, dimension, 44);
AT(TNf90descarray, rank, 46);

AT(TNf90pointer, leaf, 0);
AT(TNf90pointer, targetType, 6);
AT(TNf90pointer, dataLocation, 16);
AT(TNf90pointer, association, 20);
AT(TNf90pointer, allocation, 24);
AT(TNf90pointer, dynamicTypeName, 28);

AT(TNcobolTable, leaf, 0);
AT(TNcobolTable, countWidth, 5);
AT(TNcobolTable, elementType, 6);
AT(TNcobolTable, countBlock, 16);

AT(TNconditionValue, type, 0);
AT(TNconditionValue, value, 8);

AT(TNconditionRange, low, 0);
AT(TNconditionRange, high, 12);

AT(TNconditionElement, name, 0);
AT(TNconditionElement, valueCount, 4);
AT(TNconditionElement, rangeCount, 6);
AT(TNconditionElement, values, 8);
AT(TNconditionElement, ranges, 12);

AT(TNcobolCondVar, leaf, 0);
AT(TNcobolCondVar, count, 16);
AT(TNcobolCondVar, conditions, 20);

AT(TNpacked_decimal, leaf, 0);
AT(TNpacked_decimal, precision, 6);
AT(TNpacked_decimal, decimalPlaces, 7);
AT(TNpacked_decimal, flags, 8);
AT(TNpacked_decimal, byteLength, 12);
AT(TNpacked_decimal, scale, 13);
AT(TNpacked_decimal, picture, 16);

AT(TNzoned_decimal, leaf, 0);
AT(TNzoned_decimal, precision, 6);
AT(TNzoned_decimal, decimalPlaces, 7);
AT(TNzoned_decimal, signKind, 8);
AT(TNzoned_decimal, flags, 12);
AT(TNzoned_decimal, byteLength, 16);
AT(TNzoned_decimal, scale, 17);
AT(TNzoned_decimal, picture, 20);

AT(TNnational_decimal, leaf, 0);
AT(TNnational_decimal, precision, 6);
AT(TNnational_decimal, decimalPlaces, 7);
AT(TNnational_decimal, signKind, 8);
AT(TNnational_decimal, flags, 12);
AT(TNnational_decimal, byteLength, 16);
AT(TNnational_decimal, scale, 17);
AT(TNnational_decimal, picture, 20);

AT(TNfixed_point_binary, leaf, 0);
AT(TNfixed_point_binary, flags, 8);
AT(TNfixed_point_binary, byteLength, 12);
AT(TNfixed_point_binary, precision, 13);
AT(TNfixed_point_binary, scale, 14);
AT(TNfixed_point_binary, picture, 16);

AT(TNindex_name, leaf, 0);
AT(TNindex_name, byteLength, 6);
AT(TNindex_name, elementLength, 8);

AT(TNindex_data_item, leaf, 0);
AT(TNindex_data_item, unnamed, 4);
AT(TNindex_data_item, byteLength, 6);

AT(SEheader, kind, 0);
AT(SEheader, flags, 4);
AT(SEheader, name, 6);

AT(SEtyped, kind, 0);
AT(SEtyped, flags, 4);
AT(SEtyped, name, 6);
AT(SEtyped, type, 10);
AT(SEtyped, locationLength, 24);

AT(SEfunction, kind, 0);
AT(SEfunction, flags, 4);
AT(SEfunction, name, 6);
AT(SEfunction, section, 12);
AT(SEfunction, offsetLow, 16);
AT(SEfunction, type, 20);
AT(SEfunction, plainName, 44);
AT(SEfunction, mangledName, 48);
AT(SEfunction, offsetHigh, 52);
AT(SEfunction, procedureDescriptor, 64);

AT(SEautomatic, kind, 0);
AT(SEautomatic, flags, 4);
AT(SEautomatic, name, 6);
AT(SEautomatic, frameOffsetLow, 12);
AT(SEautomatic, type, 16);
AT(SEautomatic, frameOffsetHigh, 24);
AT(SEautomatic, classChar, 28);
AT(SEautomatic, attributeA, 29);
AT(SEautomatic, attributeD, 30);
AT(SEautomatic, level, 31);
AT(SEautomatic, owner, 32);
AT(SEautomatic, location, 36);
AT(SEautomatic, locationLength, 40);

AT(SEstatic, kind, 0);
AT(SEstatic, flags, 4);
AT(SEstatic, name, 6);
AT(SEstatic, section, 12);
AT(SEstatic, offsetLow, 16);
AT(SEstatic, type, 20);
AT(SEstatic, displayName, 28);
AT(SEstatic, mangledName, 32);
AT(SEstatic, offsetHigh, 36);
AT(SEstatic, level, 40);
AT(SEstatic, classChar, 41);
AT(SEstatic, attributeA, 42);
AT(SEstatic, attributeD, 43);
AT(SEstatic, attribute44, 44);
AT(SEstatic, attribute45, 45);
AT(SEstatic, attributeC, 46);
AT(SEstatic, owner, 48);

AT(SEqualified, kind, 0);
AT(SEqualified, flags, 4);
AT(SEqualified, name, 6);
AT(SEqualified, parent, 12);
AT(SEqualified, level, 16);

// The entry an SQL host-variable expression finds; validation copies these
// fields into the type entry it makes.
AT(SEsqlhostvariable, kind, 0);
AT(SEsqlhostvariable, name, 6);
AT(SEsqlhostvariable, sqlType, 14);
AT(SEsqlhostvariable, addressLow, 20);
AT(SEsqlhostvariable, addressHigh, 24);
AT(SEsqlhostvariable, addressWidth, 28);
AT(SEsqlhostvariable, length, 32);
AT(SEsqlhostvariable, maxLength, 36);
AT(SEsqlhostvariable, elementCount, 40);
AT(SEsqlhostvariable, ccsid, 44);

AT(SEmemberfunction, kind, 0);
AT(SEmemberfunction, flags, 4);
AT(SEmemberfunction, name, 6);
AT(SEmemberfunction, section, 12);
AT(SEmemberfunction, offsetLow, 16);
AT(SEmemberfunction, classType, 20);
AT(SEmemberfunction, type, 28);
AT(SEmemberfunction, functionName, 52);
AT(SEmemberfunction, mangledName, 56);
AT(SEmemberfunction, offsetHigh, 60);
AT(SEmemberfunction, procedureDescriptor, 72);

AT(SEthreadstatic, kind, 0);
AT(SEthreadstatic, flags, 4);
AT(SEthreadstatic, name, 6);
AT(SEthreadstatic, offsetLow, 12);
AT(SEthreadstatic, offsetHigh, 16);
AT(SEthreadstatic, type, 20);
AT(SEthreadstatic, displayName, 28);
AT(SEthreadstatic, mangledName, 32);

AT(SEnamed35, kind, 0);
AT(SEnamed35, flags, 4);
AT(SEnamed35, name, 6);
AT(SEnamed35, mangledName, 24);

AT(SEsectiondata36, kind, 0);
AT(SEsectiondata36, flags, 4);
AT(SEsectiondata36, name, 6);
AT(SEsectiondata36, section, 12);
AT(SEsectiondata36, offsetLow, 16);
AT(SEsectiondata36, offsetHigh, 20);

AT(SEcommonmember, kind, 0);
AT(SEcommonmember, flags, 4);
AT(SEcommonmember, name, 6);
AT(SEcommonmember, offsetLow, 12);
AT(SEcommonmember, offsetHigh, 16);
AT(SEcommonmember, section, 20);
AT(SEcommonmember, type, 24);

AT(SEbuiltin, kind, 0);
AT(SEbuiltin, flags, 4);
AT(SEbuiltin, name, 6);
AT(SEbuiltin, buffer, 12);
AT(SEbuiltin, type, 16);
AT(SEbuiltin, resultCode, 24);

AT(_CALLSTACK_ITEM2, context, 0);
AT(_CALLSTACK_ITEM2, stackBase, 4);

AT(DBG_VERSION_RECORD, version, 0);
AT(DBG_VERSION_RECORD, addressForms, 4);

AT(FILE_INFORMATION, marker, 0);
AT(FILE_INFORMATION, openState, 24);

AT(TNarray, size, 12);

AT(TNbaseclass, location, 24);

AT(TNclass, size, 12);

AT(TNclassmember, location, 24);

AT(TNupcshared, source, 16);
AT(TNupcshared, factor, 20);

AT(SEtyped, u, 20);

AT(TNexternal_float, leaf, 0);
AT(TNexternal_float, length, 8);
AT(TNexternal_float, picture, 12);

AT(TNalpha_numeric_edited, leaf, 0);
AT(TNalpha_numeric_edited, length, 8);
AT(TNalpha_numeric_edited, picture, 12);

AT(TNnational_external_float, leaf, 0);
AT(TNnational_external_float, length, 8);
AT(TNnational_external_float, picture, 12);

AT(TNnational_edited, leaf, 0);
AT(TNnational_edited, length, 8);
AT(TNnational_edited, picture, 12);

AT(TNdbcs_edited, leaf, 0);
AT(TNdbcs_edited, length, 8);
AT(TNdbcs_edited, picture, 12);
AT(TNfile_descriptor, leaf, 0);
AT(TNfile_descriptor, name, 8);

AT(TNdbcs_string, leaf, 0);
AT(TNdbcs_string, length, 8);
AT(TNdbcs_string, picture, 12);

AT(TNnumeric_edited, leaf, 0);
AT(TNnumeric_edited, length, 8);
AT(TNnumeric_edited, precision, 12);
AT(TNnumeric_edited, scale, 13);
AT(TNnumeric_edited, picture, 16);

AT(TNnational_numeric_edited, leaf, 0);
AT(TNnational_numeric_edited, length, 8);
AT(TNnational_numeric_edited, precision, 12);
AT(TNnational_numeric_edited, scale, 13);
AT(TNnational_numeric_edited, picture, 16);

AT(TNcharstring, leaf, 0);
AT(TNcharstring, size, 8);
AT(TNcharstring, flags, 12);
AT(TNcharstring, picture, 16);
AT(TNcharstring, expressionLength, 20);

AT(TNnational_string, leaf, 0);
AT(TNnational_string, size, 8);
AT(TNnational_string, flags, 12);
AT(TNnational_string, picture, 16);
AT(TNnational_string, expressionLength, 20);

SIZE(TNarray, 40);
SIZE(TNclass, 52);
SIZE(TNclassmember, 44);
SIZE(TNpointer, 32);
SIZE(TNreference, 20);
SIZE(TNupcshared, 28);
SIZE(TNtypedef, 24);
SIZE(TNpacked_decimal, 20);
SIZE(TNzoned_decimal, 24);
SIZE(TNnational_decimal, 24);
SIZE(TNfixed_point_binary, 20);
SIZE(TNindex_name, 12);
SIZE(TNindex_data_item, 8);
SIZE(TNexternal_float, 16);
SIZE(TNalpha_numeric_edited, 16);
SIZE(TNnational_external_float, 16);
SIZE(TNnational_edited, 16);
SIZE(TNdbcs_edited, 16);
SIZE(TNdbcs_string, 16);
SIZE(TNnumeric_edited, 20);
SIZE(TNnational_numeric_edited, 20);
SIZE(TNcharstring, 24);
SIZE(TNnational_string, 24);
SIZE(TNtypeListNode, 16);
SIZE(TNconditionElement, 16);
SIZE(TNconditionValue, 12);
SIZE(TNconditionRange, 24);
SIZE(FILE_INFORMATION, 64);
SIZE(DBG_VERSION_RECORD, 8);
SIZE(TNf90descarray, 48);
SIZE(EE_ADDR, 12);
AT(ExpressionEvaluatorAction, name, 0);
AT(ExpressionEvaluatorAction, word, 4);
SIZE(ExpressionEvaluatorAction, 8);

// The callback table: a size word and 55 slots, each 4 bytes in a 32-bit build.
static_assert(offsetof(DBG2_SERVICE_FUNCTIONS, debuggerVersion) == 4);
static_assert(offsetof(DBG2_SERVICE_FUNCTIONS, Expr2ReadMemory) == 40);
static_assert(offsetof(DBG2_SERVICE_FUNCTIONS, ExprGetFileInfo) == 220);
static_assert(sizeof(DBG2_SERVICE_FUNCTIONS) == 224);

AT(TNprocdescriptor, leaf, 0);
AT(TNprocdescriptor, structureType, 10);
AT(TNprocdescriptor, elements, 20);
