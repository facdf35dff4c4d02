#ifndef NORVEXA_TESTHOST_TOKENCURSOR_H
#define NORVEXA_TESTHOST_TOKENCURSOR_H

#include <cstddef>
#include <vector>

// The tokens of a program file's declarations and the reading position in
// them. The last token is the end token: reading stays on it.
template <class Token>
class TokenCursor {
public:
    std::vector<Token>& tokens() { return _tokens; }

    const Token& peek(std::size_t ahead = 0) const
    {
        const std::size_t i = _at + ahead;
        return i < _tokens.size() ? _tokens[i] : _tokens.back();
    }

    const Token& next()
    {
        const Token& t = peek();
        if (_at + 1 < _tokens.size())
            ++_at;
        return t;
    }

private:
    std::vector<Token> _tokens;
    std::size_t _at = 0;
};

#endif
