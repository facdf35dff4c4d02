#ifndef NORVEXA_TESTS_DATATYPES_EDITEDFIXTURE_H
#define NORVEXA_TESTS_DATATYPES_EDITEDFIXTURE_H

// Shared by the edited-picture and external floating-point tests: a COBOL
// expression environment current on a simulated host (the editing
// constructors make their zoned working types there), byte helpers and the
// reading of an evaluation error's code.

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <plomkit/ByteString.h>

#include "services/EvaluationEnvironment.h"
#include "services/ExpressionRepresentation.h"
#include "services/InvalidOp.h"
#include "testhost/TestHostFixture.h"

namespace editedtest {

// The record of an edited or external floating-point item: its leaf, length
// and picture, all else zero.
template <class Record>
Record pictureRecord(decltype(Record::leaf) leaf, const char* picture, unsigned length)
{
    Record r{};
    r.leaf = leaf;
    r.length = length;
    r.picture = picture;
    return r;
}

// The record of a numeric-edited item: a picture record with the item's
// digits and scale.
template <class Record>
Record numericPictureRecord(decltype(Record::leaf) leaf, const char* picture, unsigned length, int precision, int scale)
{
    Record r = pictureRecord<Record>(leaf, picture, length);
    r.precision = static_cast<decltype(r.precision)>(precision);
    r.scale = static_cast<decltype(r.scale)>(scale);
    return r;
}

template <class F>
int errorCode(F&& f)
{
    try {
        f();
    } catch (const InvalidOp& e) {
        return e.code();
    }
    return 0;
}

inline ByteString bytes(std::initializer_list<unsigned> list)
{
    ByteString b;
    for (unsigned v : list)
        b += static_cast<unsigned char>(v);
    return b;
}

inline ByteString fromHex(const std::string& hex)
{
    ByteString b;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        b += static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16));
    return b;
}

inline std::string hex(const ByteString& b)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (unsigned i = 0; i < b.length(); ++i) {
        s += digits[b[i] >> 4];
        s += digits[b[i] & 15];
    }
    return s;
}

// ASCII text as EBCDIC (the characters edited pictures use).
inline ByteString ebcdic(const std::string& text)
{
    ByteString b;
    for (char c : text) {
        unsigned char e = 0x6F; // '?'
        if (c >= '0' && c <= '9')
            e = static_cast<unsigned char>(0xF0 + (c - '0'));
        else if (c >= 'A' && c <= 'I')
            e = static_cast<unsigned char>(0xC1 + (c - 'A'));
        else if (c >= 'J' && c <= 'R')
            e = static_cast<unsigned char>(0xD1 + (c - 'J'));
        else if (c >= 'S' && c <= 'Z')
            e = static_cast<unsigned char>(0xE2 + (c - 'S'));
        else {
            switch (c) {
            case ' ': e = 0x40; break;
            case '.': e = 0x4B; break;
            case ',': e = 0x6B; break;
            case '+': e = 0x4E; break;
            case '-': e = 0x60; break;
            case '/': e = 0x61; break;
            case '*': e = 0x5C; break;
            case '$': e = 0x5B; break;
            default: break;
            }
        }
        b += e;
    }
    return b;
}

// ASCII text as UTF-16BE.
inline ByteString utf16(const std::string& text)
{
    ByteString b;
    for (char c : text) {
        b += static_cast<unsigned char>(0);
        b += static_cast<unsigned char>(c);
    }
    return b;
}

inline std::string dataPath(const char* name)
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    return std::string(dir != nullptr ? dir : "tests/datatypes/data") + "/" + name;
}

} // namespace editedtest

class EditedTest : public TestHostFixture {
protected:
    EditedTest() : TestHostFixture(false), env(EvaluationEnvironment::languageCOBOL, nullptr) {}

    void SetUp() override
    {
        TestHostFixture::SetUp();
        context = &host.addContext("main", CS2_FUNCTION);
        env.makeCurrent(context);
    }

    ExpressionRepresentation env;
    const LCC_Eval_Context_Info* context = nullptr;
};

#endif
