#include "api/SimpleName.h"

#include <array>

namespace {

constexpr std::array<bool, 256> identifierCharacters()
{
    std::array<bool, 256> table{};
    const char* characters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_@#$.";
    for (const char* c = characters; *c != '\0'; ++c)
        table[static_cast<unsigned char>(*c)] = true;
    return table;
}

constexpr std::array<bool, 256> identifier = identifierCharacters();

} // namespace

bool isSimpleName(const unsigned char* text)
{
    if (text == nullptr)
        return true;
    unsigned parentheses = 0;
    unsigned brackets = 0;
    for (const unsigned char* c = text; *c != '\0'; ++c) {
        if (parentheses > 0) {
            if (*c == '(')
                ++parentheses;
            else if (*c == ')')
                --parentheses;
        } else if (brackets == 0) {
            if (*c == '[')
                brackets = 1;
            else if (*c == '(')
                parentheses = 1;
            else if (!identifier[*c])
                return false;
        } else if (*c == '[') {
            ++brackets;
        } else if (*c == ']') {
            --brackets;
        }
    }
    return true;
}
