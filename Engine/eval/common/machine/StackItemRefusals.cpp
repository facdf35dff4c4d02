#include "machine/StackItem.h"

#include "datatypes/AlphaNumericEdited.h"
#include "datatypes/DbcsEdited.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/FloatNumber.h"
#include "datatypes/IndexDataItem.h"
#include "datatypes/IndexName.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalEdited.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/InvalidOp.h"

// The answers of the base class: the plain queries answer what a value
// without the feature answers, and every operation a kind of data does not
// support is refused with RTRC_IncompatTypes, naming the operation.

namespace {

[[noreturn]] void refuse(const char* function, unsigned line)
{
    throw InvalidOp(InvalidOp::RTRC_IncompatTypes, function, line);
}

} // namespace

bool StackItem::isArray() const
{
    return false;
}

bool StackItem::isString() const
{
    return false;
}

void StackItem::checkValue() const {}

const char* StackItem::evaluationError() const
{
    return nullptr;
}

void* StackItem::resultBuffer() const
{
    return nullptr;
}

std::uint64_t StackItem::stringLength() const
{
    if (inDebuggerAddressSpace())
        return 0;
    throw InvalidOp(InvalidOp::RTRC_AssertFail, __PRETTY_FUNCTION__, __LINE__);
}

const TypeItem& StackItem::formatType() const
{
    return type_;
}

bool StackItem::isQuvHexFloat() const
{
    return false;
}

bool StackItem::mayBeAddress() const
{
    return false;
}

void StackItem::genPointerAdd(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genAdd(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

StackItem* StackItem::genPointerSubtract(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genSubtract(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genMult(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genDivide(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genModulus(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genPow(const StackItem&, unsigned int)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genBitAnd(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genBitOr(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genBitXor(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genConcatenate(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genIndex(const StackItem&, std::int64_t)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genRankIndex(const StackItem&, std::int64_t, std::int64_t)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genNegate()
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genComplement()
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genNot()
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genConvert(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genTruncateFP(unsigned int)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genLogicalShiftLeft(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genLogicalShiftRight(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

void StackItem::genArithmeticShiftRight(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

int StackItem::genEQ(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

int StackItem::genNE(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

int StackItem::genLT(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

int StackItem::genLE(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

int StackItem::genGT(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

int StackItem::genGE(const StackItem&)
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

int StackItem::isZero() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

std::uint64_t StackItem::asUnsigned() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

std::int64_t StackItem::asSigned() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

FloatNumber StackItem::asLongDouble() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

FloatNumber StackItem::realPart() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

FloatNumber StackItem::imaginaryPart() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

DecimalFloat StackItem::asDecimalFloat() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

PackedDecimal StackItem::asPackedDecimal(const TNpacked_decimal&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

ZonedDecimal StackItem::asZonedDecimal(const TNzoned_decimal&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

NationalDecimal StackItem::asNationalDecimal(const TNnational_decimal&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

FixedPointBinary StackItem::asFixedPointBinary(const TNfixed_point_binary&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

IndexName StackItem::asIndexName(const TNindex_name&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

IndexDataItem StackItem::asIndexDataItem(const TNindex_data_item&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

ByteString StackItem::asCharstring(const TNcharstring&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

ByteString StackItem::asNationalString(const TNnational_string&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

ExternalFloat StackItem::asExternalFloat(const TNexternal_float&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

AlphaNumericEdited StackItem::asAlphaNumericEdited(const TNalpha_numeric_edited&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

NumericEdited StackItem::asNumericEdited(const TNnumeric_edited&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

NationalEdited StackItem::asNationalEdited(const TNnational_edited&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

NationalNumericEdited StackItem::asNationalNumericEdited(const TNnational_numeric_edited&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

NationalExternalFloat StackItem::asNationalExternalFloat(const TNnational_external_float&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

ByteString StackItem::asDbcsString(const TNdbcs_string&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

DbcsEdited StackItem::asDbcsEdited(const TNdbcs_edited&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

DebuggeeLocation StackItem::asLocation() const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}

ByteString StackItem::asAlphaNumericGroup(const TNclass&) const
{
    refuse(__PRETTY_FUNCTION__, __LINE__);
}
