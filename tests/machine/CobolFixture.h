#ifndef NORVEXA_TESTS_MACHINE_COBOLFIXTURE_H
#define NORVEXA_TESTS_MACHINE_COBOLFIXTURE_H

// A COBOL representation over the simulated host, with helpers to place
// storage images in the simulated memory and to load the factory's item of
// a host type from them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "datatypes/PackedDecimal.h"
#include "machine/RuntimeStack.h"
#include "machine/StackItem.h"
#include "services/DebuggeeAddress.h"
#include "testhost/DecimalImages.h"
#include "testhost/inprocess/MachineFixture.h"

class CobolFixture : public MachineFixture {
protected:
    enum : int {
        languageCOBOL = 6
    };

    explicit CobolFixture(bool traceOn = false) : MachineFixture(languageCOBOL, 4, traceOn) {}

    HostRecordStore& records() { return host.records(); }

    // The bytes stored at a fresh address; the location of them.
    DebuggeeLocation place(const std::vector<std::uint8_t>& bytes)
    {
        const std::uint32_t at = next_;
        next_ += 0x100;
        host.memory().store(at, bytes);
        return DebuggeeLocation(DebuggeeAddress(at));
    }

    // The factory's item of the type, loaded from the bytes.
    std::unique_ptr<StackItem> loaded(TYPE_INDEX type, const std::vector<std::uint8_t>& bytes)
    {
        std::unique_ptr<StackItem> item(RuntimeStack::makeStackItem(TypeItem(type), nullptr));
        item->load(place(bytes));
        return item;
    }

    std::unique_ptr<StackItem> made(TYPE_INDEX type)
    {
        return std::unique_ptr<StackItem>(RuntimeStack::makeStackItem(TypeItem(type), nullptr));
    }

    // A COBOL literal pushed as packed (P), zoned (Z) or national (N)
    // decimal, taken off the stack.
    std::unique_ptr<StackItem> literal(char kind, const std::string& text)
    {
        pushLiteral(kind, text);
        return std::unique_ptr<StackItem>(stack().pop());
    }

    void pushLiteral(char kind, const std::string& text)
    {
        if (kind == 'P')
            stack().genLoadPackedDecimalValue(text.c_str());
        else if (kind == 'Z')
            stack().genLoadZonedDecimalValue(text.c_str());
        else
            stack().genLoadNationalDecimalValue(text.c_str());
    }

private:
    std::uint32_t next_ = 0x20000;
};

inline std::vector<std::uint8_t> imageOf(const StackItem& item)
{
    const auto* b = static_cast<const std::uint8_t*>(item.resultBuffer());
    return std::vector<std::uint8_t>(b, b + item.size());
}

inline std::vector<std::uint8_t> bytesOf(const ByteString& s)
{
    return std::vector<std::uint8_t>(s.data(), s.data() + s.length());
}

// A packed value as plain decimal text without needless zeros ("0" for
// either zero).
inline std::string plainText(const PackedDecimal& value)
{
    const ByteString& b = value.bytes();
    std::string digits;
    for (unsigned i = 0; i < b.length(); ++i) {
        digits += char('0' + (b.data()[i] >> 4));
        if (i + 1 < b.length())
            digits += char('0' + (b.data()[i] & 0xF));
    }
    const unsigned sign = b.length() != 0 ? (b.data()[b.length() - 1] & 0xF) : 0xC;
    const unsigned places = value.record().decimalPlaces;
    while (digits.size() <= places)
        digits.insert(digits.begin(), '0');
    std::string whole = digits.substr(0, digits.size() - places);
    std::string fraction = digits.substr(digits.size() - places);
    whole.erase(0, whole.find_first_not_of('0'));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (whole.empty())
        whole = "0";
    std::string text = whole + (fraction.empty() ? "" : "." + fraction);
    if (text != "0" && (sign == 0xD || sign == 0xB))
        text = "-" + text;
    return text;
}

inline std::string plainText(const StackItem& item)
{
    return plainText(item.asPackedDecimal(TNpacked_decimal{}));
}

#endif
