// Alphanumeric moves against a COBOL compiler's: the frozen table
// tests/machine/data/text_moves.txt (made by gen/text_moves.py with cobc)
// lists a source text, a target length, plain or justified right, and the
// result; each row is replayed in EBCDIC through the alphanumeric item's
// move.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "TextFixture.h"
#include "machine/StackItemCharstring.h"

namespace {

struct MoveRow {
    std::string source;
    unsigned length = 0;
    bool justifiedRight = false;
    std::string result;
};

std::vector<MoveRow> readMoves()
{
    const char* dir = std::getenv("NORVEXA_TEST_DATA");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/machine/data") + "/text_moves.txt");
    std::vector<MoveRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (std::size_t bar; (bar = line.find('|', from)) != std::string::npos; from = bar + 1)
            fields.push_back(line.substr(from, bar - from));
        if (fields.size() != 4)
            continue;
        rows.push_back({fields[0], static_cast<unsigned>(std::stoul(fields[1])), fields[2] == "J", fields[3]});
    }
    return rows;
}

class TextMoveOracleTest : public TextFixture {};

} // namespace

TEST_F(TextMoveOracleTest, MovesAsACobolCompilerDoesThem)
{
    const std::vector<MoveRow> rows = readMoves();
    ASSERT_GE(rows.size(), 60u) << "the table text_moves.txt was not found or is cut short";
    for (const MoveRow& row : rows) {
        SCOPED_TRACE(row.source + " into " + std::to_string(row.length) + (row.justifiedRight ? " J" : " L"));
        ASSERT_EQ(row.result.size(), row.length);
        const std::string source = ebcdic(row.source);
        StackItemCharstring from(rep(), source.data(), source.size(), alphanumeric(static_cast<UBYTE4>(source.size())));
        StackItemCharstring to(rep(), nullptr, 0,
                               alphanumeric(row.length, row.justifiedRight ? UBYTE4(justified) : UBYTE4(0)));
        to.genConvert(from);
        EXPECT_EQ(valueOf(to), hex(ebcdic(row.result)));
    }
}
