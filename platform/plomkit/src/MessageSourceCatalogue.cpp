#include "MessageSourceCatalogue.h"

#include <cstdlib>
#include <fstream>

namespace plomkit_detail {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The number at the start of text, or -1 when there is none (or it is out of
// range); end receives the position after its digits.
long number(const std::string& text, size_t start, size_t& end)
{
    end = start;
    long value = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        value = value * 10 + (text[end] - '0');
        if (value > 0x7FFFFFFF)
            return -1;
        ++end;
    }
    return end == start ? -1 : value;
}

// The next logical line: physical lines whose last character is an unescaped
// backslash are joined without it.
bool logicalLine(std::istream& in, std::string& line)
{
    line.clear();
    std::string part;
    bool any = false;
    while (std::getline(in, part)) {
        any = true;
        if (!part.empty() && part.back() == '\r')
            part.pop_back();
        size_t backslashes = 0;
        while (backslashes < part.size() && part[part.size() - 1 - backslashes] == '\\')
            ++backslashes;
        if (backslashes % 2 == 1) {
            part.pop_back();
            line += part;
            continue;
        }
        line += part;
        return true;
    }
    return any;
}

} // namespace

std::string MessageSourceCatalogue::text(const std::string& line, size_t i, char quote) const
{
    std::string out;
    bool quoted = quote != '\0' && i < line.size() && line[i] == quote;
    if (quoted)
        ++i;
    while (i < line.size()) {
        char c = line[i++];
        if (quoted && c == quote)
            break;
        if (c != '\\' || i >= line.size()) {
            out += c;
            continue;
        }
        char e = line[i++];
        switch (e) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'v': out += '\v'; break;
        case 'b': out += '\b'; break;
        case 'r': out += '\r'; break;
        case 'f': out += '\f'; break;
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0';
                for (int k = 0; k < 2 && i < line.size() && line[i] >= '0' && line[i] <= '7'; ++k)
                    value = value * 8 + (line[i++] - '0');
                out += static_cast<char>(value & 0xFF);
            } else {
                out += e; // "\\", the quote and any other escaped character
            }
        }
    }
    return out;
}

bool MessageSourceCatalogue::read(std::istream& source)
{
    int set = 1;
    char quote = '\0';
    std::string line;
    while (logicalLine(source, line)) {
        if (line.empty())
            continue;
        if (line[0] == '$') {
            if (line.size() == 1 || isBlank(line[1]))
                continue; // a comment
            size_t word = 1;
            while (word < line.size() && !isBlank(line[word]))
                ++word;
            std::string directive = line.substr(1, word - 1);
            size_t arg = word;
            while (arg < line.size() && isBlank(line[arg]))
                ++arg;
            size_t end = 0;
            if (directive == "set" || directive == "delset") {
                long n = number(line, arg, end);
                if (n < 1)
                    return false;
                // "$delset" drops a set of the catalogue that gencat updates;
                // the messages of the source itself stay, as gencat keeps them.
                if (directive == "set")
                    set = static_cast<int>(n);
            } else if (directive == "quote") {
                quote = arg < line.size() ? line[arg] : '\0';
            }
            // Other directives carry nothing a reader by number needs.
            continue;
        }
        size_t end = 0;
        long id = number(line, 0, end);
        if (id < 0) {
            bool blank = true;
            for (char c : line)
                blank = blank && isBlank(c);
            if (blank)
                continue;
            return false;
        }
        if (end != line.size() && !isBlank(line[end]))
            return false;
        // A number alone is an empty message; a number given twice is an
        // error, as gencat has it.
        std::string message = end == line.size() ? std::string() : text(line, end + 1, quote);
        if (!_messages.emplace(std::make_pair(set, static_cast<int>(id)), message).second)
            return false;
    }
    return true;
}

bool MessageSourceCatalogue::find(int set, int id, std::string& text)
{
    auto found = _messages.find({set, id});
    if (found == _messages.end())
        return false;
    text = found->second;
    return true;
}

std::unique_ptr<MessageCatalogue> MessageSourceCatalogue::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    auto catalogue = std::make_unique<MessageSourceCatalogue>();
    if (!catalogue->read(in))
        return nullptr;
    return catalogue;
}

} // namespace plomkit_detail
