#include "machine/PictureItemSupport.h"

#include <algorithm>

#include "datatypes/NationalNumericEdited.h"
#include "datatypes/NumericEdited.h"
#include "machine/StackItemCharstring.h"
#include "machine/StackItemFigConstant.h"
#include "machine/StackItemNationalNumericEdited.h"
#include "machine/StackItemNationalString.h"
#include "machine/StackItemNumericEdited.h"
#include "services/InvalidOp.h"

namespace pictureitem {

bool movesIntoNumericEdited(const StackItem& source)
{
    if (source.isCompound())
        return true;
    if (const auto* constant = dynamic_cast<const StackItemFigConstant*>(&source)) {
        // ZERO is the number 0; the other constants are text.
        const ByteString& bytes = constant->value();
        return !constant->isNull() && bytes.length() != 0 &&
               std::all_of(bytes.data(), bytes.data() + bytes.length(), [](unsigned char c) { return c == 0xF0; });
    }
    return dynamic_cast<const StackItemCharstring*>(&source) == nullptr &&
           dynamic_cast<const StackItemNationalString*>(&source) == nullptr &&
           dynamic_cast<const StackItemNumericEdited*>(&source) == nullptr &&
           dynamic_cast<const StackItemNationalNumericEdited*>(&source) == nullptr;
}

void raiseDataError(DataError error, const char* variable)
{
    const char* text = variable != nullptr ? variable : "";
    if (error == DataErrorBadSign)
        throw InvalidOp(InvalidOp::RTRC_BadSignInNumeric, __PRETTY_FUNCTION__, __LINE__, text);
    if (error == DataErrorBadDigit)
        throw InvalidOp(InvalidOp::RTRC_BadDataInNumeric, __PRETTY_FUNCTION__, __LINE__, text);
}

NationalNumericEdited nationalNumericEdited(long double number, const TNnational_numeric_edited& record)
{
    TNnumeric_edited narrow{};
    narrow.leaf = TE_NUMERIC_EDITED;
    narrow.length = record.length / 2;
    narrow.precision = record.precision;
    narrow.scale = record.scale;
    narrow.picture = record.picture;
    return NumericEdited(narrow, number).convertToNationalNumericEdited();
}

} // namespace pictureitem
