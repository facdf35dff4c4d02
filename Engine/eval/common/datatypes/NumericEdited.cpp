#include "datatypes/NumericEdited.h"

#include "datatypes/DataItemSupport.h"
#include "datatypes/DecimalFloat.h"
#include "datatypes/EditedSupport.h"
#include "datatypes/ExternalFloat.h"
#include "datatypes/FixedPointBinary.h"
#include "datatypes/NationalDecimal.h"
#include "datatypes/NationalExternalFloat.h"
#include "datatypes/NationalNumericEdited.h"
#include "datatypes/PackedDecimal.h"
#include "datatypes/ZonedDecimal.h"
#include "services/SVC.h"
#include "types/CreatedTypeItem.h"

#include <cstring>

using dataitem::refuse;

namespace {

constexpr unsigned char kSpace = 0x40;
constexpr unsigned char kAsterisk = 0x5C;
constexpr unsigned char kPoint = 0x4B;
constexpr unsigned char kComma = 0x6B;
constexpr unsigned char kSlash = 0x61;
constexpr unsigned char kZero = 0xF0;
constexpr unsigned char kPlus = 0x4E;
constexpr unsigned char kMinus = 0x60;

TNnumeric_edited emptyRecord()
{
    TNnumeric_edited r{};
    r.leaf = TE_NUMERIC_EDITED;
    return r;
}

// The signed zoned working item of a picture: its digits and scale, a
// separate leading sign.
ZonedDecimal workingItem(const TNnumeric_edited& record)
{
    const TypeItem* type = CreatedTypeItem::findOrCreateZonedDecimalType(record.precision, record.scale, true, nullptr,
                                                                         TN_SignLeadingSeparate);
    if (type == nullptr)
        refuse(InvalidOp::RTRC_Other, __PRETTY_FUNCTION__, __LINE__);
    return ZonedDecimal(*type);
}

// A floating symbol: none, not yet entered (at the start), entered.
enum class Float {
    None,
    NotEntered,
    Entered
};

} // namespace

// --------------------------------------------------------------------------
// Construction

NumericEdited::NumericEdited() : record_(emptyRecord()) {}

NumericEdited::NumericEdited(const TypeItem& type)
    : record_(dataitem::recordOf<TNnumeric_edited>(type, TE_NUMERIC_EDITED, __PRETTY_FUNCTION__, __LINE__))
{
    if (record_.length == 0)
        throw InvalidOp(InvalidOp::RTRC_Other, "NumericEdited::NumericEdited(const TypeItem&)", 171);
}

NumericEdited::NumericEdited(const char* text, const TypeItem& type)
    : text_(edited::textOf(text)),
      record_(dataitem::recordOf<TNnumeric_edited>(type, TE_NUMERIC_EDITED, __PRETTY_FUNCTION__, __LINE__))
{}

NumericEdited::NumericEdited(const TNnumeric_edited& record, char* text) : text_(edited::textOf(text)), record_(record)
{}

NumericEdited::NumericEdited(const TNnumeric_edited& record, ByteString& text) : text_(text), record_(record) {}

NumericEdited::NumericEdited(const void* bytes, const TNnumeric_edited& record)
    : text_(edited::bytesAt(bytes, record.length)), record_(record)
{}

void NumericEdited::fill(const void* bytes, const TNnumeric_edited& record)
{
    record_ = record;
    text_ = edited::bytesAt(bytes, record.length);
}

NumericEdited::NumericEdited(const TNnumeric_edited& record, long double value) : record_(record)
{
    ZonedDecimal shape = workingItem(record_);
    edit(ZonedDecimal(shape.record(), value));
}

NumericEdited::NumericEdited(const ExternalFloat& source, const TNnumeric_edited& record) : record_(record)
{
    ZonedDecimal shape = workingItem(record_);
    edit(ZonedDecimal(source, shape.record()));
}

NumericEdited::NumericEdited(const NationalExternalFloat& source, const TNnumeric_edited& record) : record_(record)
{
    NumericEdited narrow(source.convertToExternalFloat(), record);
    text_ = narrow.text_;
}

NumericEdited::NumericEdited(const ZonedDecimal& source, const TNnumeric_edited& record) : record_(record)
{
    const TNzoned_decimal& s = source.record();
    if (s.signKind == TN_SignLeadingSeparate && (s.flags & TN_DecimalSigned) != 0 && s.precision == record_.precision &&
        s.scale == record_.scale && source.bytes().length() >= static_cast<unsigned>(s.precision) + 1) {
        // Already in the working layout: its own bytes are edited.
        edit(source);
        return;
    }
    ZonedDecimal working = workingItem(record_);
    working.convert(source);
    edit(working);
}

NumericEdited::NumericEdited(const NationalDecimal& source, const TNnumeric_edited& record) : record_(record)
{
    ZonedDecimal working = workingItem(record_);
    working.convert(ZonedDecimal(source));
    edit(working);
}

NumericEdited::NumericEdited(const PackedDecimal& source, const TNnumeric_edited& record) : record_(record)
{
    ZonedDecimal working = workingItem(record_);
    working.convert(ZonedDecimal(source));
    edit(working);
}

NumericEdited::NumericEdited(const FixedPointBinary& source, const TNnumeric_edited& record) : record_(record)
{
    ZonedDecimal working = workingItem(record_);
    working.convert(ZonedDecimal(source));
    edit(working);
}

NumericEdited::NumericEdited(const ByteString& digits, const TNnumeric_edited& record) : record_(record)
{
    ZonedDecimal working = workingItem(record_);
    working.convert(ZonedDecimal(digits));
    edit(working);
}

NumericEdited::NumericEdited(const PackedDecimal& source) : record_(emptyRecord())
{
    // Edited as the long double of the value into the empty record, which
    // has no picture and refuses.
    const long double value = static_cast<long double>(source);
    *this = NumericEdited(record_, value);
}

NumericEdited::NumericEdited(const NationalNumericEdited& source, const TNnumeric_edited& record) : record_(record)
{
    convert(source.convertToNumericEdited());
}

// The edit of a working item (sign byte, then the digits) into this picture.
void NumericEdited::edit(const ZonedDecimal& working)
{
    PICSTRUC2 info;
    getNumEditPicInfo(info);
    // Positions the picture does not reach keep this prefill.
    text_ = ByteString(ByteString(), 0, record_.length, 0x30);
    const ByteString& w = working.bytes();
    moveNumToNumEdit(info, reinterpret_cast<const char*>(w.data()), w.length());
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, "len=%d._val::%.*s<", static_cast<int>(text_.length()),
                static_cast<int>(text_.length()), reinterpret_cast<const char*>(text_.data()));
}

// --------------------------------------------------------------------------
// Picture analysis

int NumericEdited::getPicCount(char** cursor) const
{
    const char* c = *cursor;
    const int n = edited::pictureRepeatCount(&c);
    *cursor = const_cast<char*>(c);
    return n;
}

int NumericEdited::expandNumEditPic(char* out) const
{
    int length = 0;
    auto put = [&](char c, int times) {
        if (times > PICSTRUC2::capacity - length)
            refuse(InvalidOp::RTRC_Other, "int NumericEdited::expandNumEditPic(char*) const", __LINE__);
        std::memset(out + length, c, static_cast<size_t>(times));
        length += times;
    };
    const char* p = record_.picture;
    if (p == nullptr)
        return 0;
    for (; *p != '\0'; ++p) {
        const char c = *p;
        if (std::strchr("$*+-/09BZ", c) != nullptr) {
            const int n = edited::pictureRepeatCount(&p);
            put(c, n > 0 ? n : 1);
        } else {
            put(c, 1);
        }
    }
    return length;
}

void NumericEdited::getNumEditPicInfo(PICSTRUC2& info) const
{
    info.count = static_cast<short>(expandNumEditPic(info.chars));
    info.decimalPoint = '.';
    info.currency = static_cast<char>(0x5B);
    int kind = 1;
    for (const char* p = record_.picture; p != nullptr && *p != '\0' && kind <= 5; ++p) {
        const char c = *p;
        if (c == '+' || c == '-') {
            const int fixedKind = c == '+' ? 2 : 3;
            const int floatKind = c == '+' ? 6 : 7;
            if (kind == fixedKind) {
                kind = floatKind;
            } else if (kind == 1) {
                kind = edited::pictureRepeatCount(&p) >= 2 ? floatKind : fixedKind;
            } else {
                break;
            }
        } else if ((c == 'C' || c == 'c') && kind == 1) {
            kind = 4;
        } else if ((c == 'D' || c == 'd') && kind == 1) {
            kind = 5;
        } else if (c == '$' && kind == 1) {
            kind = 12;
            for (const char* q = p + 1; *q != '\0'; ++q) {
                if (*q == '+') {
                    kind = 10;
                    break;
                }
                if (std::strchr("-CDcd", *q) != nullptr) {
                    kind = 11;
                    break;
                }
            }
            break;
        }
    }
    info.editKind = static_cast<unsigned char>(kind);
}

// --------------------------------------------------------------------------
// The editing engine

void NumericEdited::moveNumToNumEdit(const PICSTRUC2& info, const char* source, unsigned length)
{
    int count = info.count;
    const bool allSuppressed = count < 0;
    if (allSuppressed)
        count = -count;
    if (count > PICSTRUC2::capacity)
        count = PICSTRUC2::capacity;
    int kind = info.editKind;
    const bool blankWhenZero = kind > 12;
    if (blankWhenZero)
        kind = static_cast<unsigned char>(-info.editKind);
    if (count == 0)
        return;

    const unsigned char* src = reinterpret_cast<const unsigned char*>(source);
    const unsigned char signByte = (src != nullptr && length > 0) ? src[0] : kPlus;
    unsigned next = 1; // the next source digit
    auto peekDigit = [&]() -> unsigned char { return next < length ? src[next] : kZero; };
    auto takeDigit = [&]() -> unsigned char {
        const unsigned char d = peekDigit();
        ++next;
        return d;
    };

    unsigned char signChar = kSpace;
    switch (kind) {
    case 2:
    case 4:
    case 5:
    case 6:
    case 10: signChar = signByte; break;
    case 3:
    case 7:
    case 11: signChar = signByte == kPlus ? kSpace : kMinus; break;
    default: break;
    }
    const bool floatSign = kind == 6 || kind == 7;
    const bool floatCurrency = kind >= 10 && kind <= 12;
    const bool floating = floatSign || floatCurrency;
    Float signState = floatSign ? Float::NotEntered : Float::None;
    Float currencyState = floatCurrency ? Float::NotEntered : Float::None;
    const unsigned char currency = static_cast<unsigned char>(info.currency);
    const unsigned char floatSymbol = floatSign ? signChar : currency;

    unsigned char fill = kSpace;
    bool significant = false;
    bool pointPassed = false;
    bool floatPlaced = false;
    bool suppressing = false;

    const unsigned limit = text_.length();
    unsigned char* out = text_.data();
    unsigned pos = 0;
    auto write = [&](unsigned char b) {
        if (pos < limit)
            out[pos] = b;
        ++pos;
    };
    // The floating symbol goes over the byte before the current position;
    // with nothing written yet it has no place and is dropped.
    auto placeFloat = [&]() {
        if (pos > 0 && pos - 1 < limit)
            out[pos - 1] = floatSymbol;
    };
    auto notYetEntered = [&]() { return signState == Float::NotEntered || currencyState == Float::NotEntered; };
    auto zLike = [&]() {
        if (significant) {
            write(takeDigit());
        } else if (pointPassed) {
            write(takeDigit());
            significant = true;
        } else if (peekDigit() == kZero) {
            takeDigit();
            write(fill);
            suppressing = true;
        } else {
            if (floating)
                placeFloat();
            write(takeDigit());
            significant = true;
            suppressing = false;
        }
    };
    auto floatingString = [&](Float& state) {
        if (floatPlaced || significant) {
            write(takeDigit());
        } else if (state == Float::NotEntered) {
            write(kSpace);
            state = Float::Entered;
        } else if (peekDigit() == kZero) {
            takeDigit();
            write(kSpace);
        } else {
            placeFloat();
            write(takeDigit());
            significant = true;
        }
    };
    auto insertion = [&](unsigned char symbol) {
        if (notYetEntered())
            write(symbol);
        else if (!pointPassed && !significant && floating)
            write(kSpace);
        else if (suppressing)
            write(fill);
        else {
            write(symbol);
            return true;
        }
        return false;
    };

    for (int place = 0; place < count;) {
        const char c = info.chars[place];
        ++place;
        switch (c) {
        case '9':
            if (!significant && !pointPassed && floating)
                placeFloat();
            write(takeDigit());
            significant = true;
            suppressing = false;
            break;
        case '*':
            fill = kAsterisk;
            zLike();
            break;
        case 'Z': zLike(); break;
        case '+':
        case '-':
            if (floatSign)
                floatingString(signState);
            else
                write(signChar);
            break;
        case '$':
            if (floatCurrency)
                floatingString(currencyState);
            else
                write(currency);
            break;
        case ',':
            if (floatPlaced || significant)
                write(kComma);
            else if (suppressing)
                write(fill);
            else if (!floating || notYetEntered())
                write(kComma);
            else
                write(kSpace);
            break;
        case '/': insertion(kSlash); break;
        case '0':
            if (insertion(kZero))
                floatPlaced = true;
            break;
        case ' ': insertion(kSpace); break;
        case 'B': write(kSpace); break;
        case '.':
            if (!significant && floating) {
                placeFloat();
                floatPlaced = true;
            }
            write(kPoint);
            pointPassed = true;
            suppressing = false;
            break;
        case 'V':
            if (!significant && floating) {
                placeFloat();
                floatPlaced = true;
            }
            pointPassed = true;
            suppressing = false;
            break;
        case 'P': break;
        default:
            // A two-letter sign symbol (CR, DB): both characters are passed.
            ++place;
            if (signChar == kMinus) {
                const bool credit = c == 'C' || c == 'c';
                write(credit ? 0xC3 : 0xC4);
                write(credit ? 0xD9 : 0xC2);
            } else {
                write(kSpace);
                write(kSpace);
            }
            break;
        }
    }

    if (!blankWhenZero && !allSuppressed)
        return;
    for (unsigned i = 1; i < length; ++i) {
        if ((src[i] & 0x0F) != 0)
            return;
    }
    const unsigned written = pos < limit ? pos : limit;
    if (blankWhenZero || floatCurrency || fill == kSpace) {
        std::memset(out, kSpace, written);
        return;
    }
    for (unsigned i = 0; i < written; ++i) {
        if (out[i] != kPoint)
            out[i] = kAsterisk;
    }
}

// --------------------------------------------------------------------------
// De-editing: refused

void NumericEdited::convertNumEditPicInfo(PICSTRUC2& info) const
{
    static const char from[] = "$*+,-./09BCDPRVZ";
    static const unsigned char to[] = {0x5B, 0x5C, 0x4E, 0x6B, 0x60, 0x4B, 0x61, 0xF0,
                                       0xF9, 0xC2, 0xC3, 0xC4, 0xD7, 0xD9, 0xE5, 0xE9};
    const int n = info.count < 0 ? -info.count : info.count;
    for (int i = 0; i < n && i < PICSTRUC2::capacity; ++i) {
        const char* hit = std::strchr(from, info.chars[i]);
        if (info.chars[i] != '\0' && hit != nullptr)
            info.chars[i] = static_cast<char>(to[hit - from]);
    }
}

void NumericEdited::moveNumEditToNum(PICSTRUC2* info, char*) const
{
    if (info != nullptr)
        convertNumEditPicInfo(*info);
    throw InvalidOp(InvalidOp::RTRC_NotSupported, "void NumericEdited::moveNumEditToNum(PICSTRUC2*, char*) const",
                    1178);
}

void NumericEdited::deEdit() const
{
    // The number would be read into a zoned item of the picture's digits
    // with a separate trailing sign; the reading is not offered.
    ByteString out(ByteString(), 0, static_cast<unsigned>(record_.precision) + 1, 0);
    PICSTRUC2 info;
    getNumEditPicInfo(info);
    moveNumEditToNum(&info, reinterpret_cast<char*>(out.data()));
}

NumericEdited& NumericEdited::convert(const NumericEdited& source)
{
    source.deEdit();
    return *this;
}

NumericEdited::operator long double() const
{
    deEdit();
    return 0;
}

// --------------------------------------------------------------------------
// Other members

NumericEdited::operator DecimalFloat() const
{
    return DecimalFloat(reinterpret_cast<const char*>(text_.data()), DecimalFloat::Size128);
}

int NumericEdited::format(char*) const
{
    return -1;
}

void NumericEdited::format(void* bytes, unsigned int size) const
{
    edited::copyOut(text_, bytes, size);
    SVC::fTrace(__PRETTY_FUNCTION__, __LINE__, " size=%d", static_cast<int>(size));
}

int NumericEdited::compare(const NumericEdited& other) const
{
    return edited::comparePrefix(text_, other.text_);
}

NumericEdited& NumericEdited::operator+=(const NumericEdited& other)
{
    text_ = other.text_;
    return *this;
}

NumericEdited& NumericEdited::operator-=(const NumericEdited& other)
{
    return *this += other;
}
NumericEdited& NumericEdited::operator*=(const NumericEdited& other)
{
    return *this += other;
}
NumericEdited& NumericEdited::operator/=(const NumericEdited& other)
{
    return *this += other;
}

NumericEdited NumericEdited::operator+(const NumericEdited& other) const
{
    NumericEdited copy(*this);
    return copy += other;
}

NumericEdited NumericEdited::operator-(const NumericEdited& other) const
{
    NumericEdited copy(*this);
    return copy -= other;
}

NumericEdited NumericEdited::operator*(const NumericEdited& other) const
{
    NumericEdited copy(*this);
    return copy *= other;
}

NumericEdited NumericEdited::operator/(const NumericEdited& other) const
{
    NumericEdited copy(*this);
    return copy /= other;
}

NationalNumericEdited NumericEdited::convertToNationalNumericEdited() const
{
    TNnational_numeric_edited r{};
    r.leaf = TE_NATIONAL_NUMERIC_EDITED;
    r.length = record_.length * 2;
    r.precision = record_.precision;
    r.scale = record_.scale;
    r.picture = record_.picture;
    ByteString wide(ByteString(), 0, r.length, 0x20);
    unsigned char* w = wide.data();
    for (unsigned i = 0; i < record_.length; ++i) {
        // A text shorter than the record reads as blanks.
        const unsigned char b = i < text_.length() ? text_[i] : kSpace;
        char c = ' ';
        if (b >= 0xF0 && b <= 0xF9) {
            c = static_cast<char>('0' + (b - 0xF0));
        } else {
            switch (b) {
            case 0x4B: c = '.'; break;
            case 0x6B: c = ','; break;
            case 0x4E: c = '+'; break;
            case 0x60: c = '-'; break;
            case 0xC5: c = 'E'; break;
            case 0xC4: c = 'D'; break;
            case 0xC3: c = 'C'; break;
            case 0xC2: c = 'B'; break;
            case 0xD9: c = 'R'; break;
            case 0x5C: c = '*'; break;
            case 0x61: c = '/'; break;
            case 0x5B: c = '$'; break;
            default: c = ' '; break;
            }
        }
        w[2 * i] = 0x00;
        w[2 * i + 1] = static_cast<unsigned char>(c);
    }
    return NationalNumericEdited(r, wide);
}

// --------------------------------------------------------------------------
// The decimal classes' conversions from numeric-edited values: de-editing,
// always refused.

ZonedDecimal::ZonedDecimal(const NumericEdited& source)
{
    NumericEdited probe;
    probe.convert(source);
}

PackedDecimal::PackedDecimal(const NumericEdited& source, const TNpacked_decimal&)
{
    NumericEdited probe;
    probe.convert(source);
}

NationalDecimal::NationalDecimal(const NumericEdited& source, const TNnational_decimal&)
{
    NumericEdited probe;
    probe.convert(source);
}

FixedPointBinary::FixedPointBinary(const NumericEdited& source, const TNfixed_point_binary&)
{
    ZonedDecimal refused(source);
    (void)refused;
}
