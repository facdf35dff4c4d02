#ifndef NORVEXA_TESTS_MACHINE_EDITEDITEMFIXTURE_H
#define NORVEXA_TESTS_MACHINE_EDITEDITEMFIXTURE_H

// Host types of the picture-shaped COBOL kinds (external floating point and
// the edited kinds), groups, and text helpers for their stored images.

#include <string>
#include <vector>

#include "CobolFixture.h"

class EditedItemFixture : public CobolFixture {
protected:
    // A 16-byte picture record (leaves 77, 78, 80, 81, 87) of length bytes.
    TYPE_INDEX pictureType(UBYTE4 leaf, const char* picture, UBYTE4 length)
    {
        TYPE_INDEX index{};
        _TYPE_ENTRY& entry = records().newType(leaf, &index);
        entry.externalFloat.length = length;
        entry.externalFloat.picture = picture != nullptr ? records().text(picture) : nullptr;
        return index;
    }

    // A numeric-edited record (leaves 79, 82).
    TYPE_INDEX numericEditedType(UBYTE4 leaf, const char* picture, UBYTE4 length, UBYTE1 precision, signed char scale)
    {
        TYPE_INDEX index{};
        _TYPE_ENTRY& entry = records().newType(leaf, &index);
        entry.numericEdited.length = length;
        entry.numericEdited.precision = precision;
        entry.numericEdited.scale = scale;
        entry.numericEdited.picture = records().text(picture);
        return index;
    }

    // A COBOL group of size bytes.
    TYPE_INDEX groupType(UBYTE4 size)
    {
        HostRecordStore::ClassSpec spec;
        spec.name = "GRP";
        spec.byteSize = size;
        spec.leaf = TE_GROUP;
        return records().classType(spec);
    }
};

// EBCDIC (code page 1047) of printable ASCII text.
inline std::vector<std::uint8_t> ebcdicOf(const std::string& text)
{
    static const std::string ascii =
        " .<(+|&!$*);-/,%_>?`:#@'=\"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static const std::uint8_t code[] = {
        0x40, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x60, 0x61, 0x6B, 0x6C, 0x6D, 0x6E,
        0x6F, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x91,
        0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xC1, 0xC2,
        0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xE2, 0xE3,
        0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9};
    std::vector<std::uint8_t> out;
    for (char c : text) {
        const auto at = ascii.find(c);
        out.push_back(at == std::string::npos ? 0x3F : code[at]);
    }
    return out;
}

// UTF-16 big-endian of ASCII text.
inline std::vector<std::uint8_t> utf16Of(const std::string& text)
{
    std::vector<std::uint8_t> out;
    for (char c : text) {
        out.push_back(0x00);
        out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
}

#endif
