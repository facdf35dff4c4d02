#ifndef PLOMKIT_MESSAGESOURCECATALOGUE_H
#define PLOMKIT_MESSAGESOURCECATALOGUE_H

#include <istream>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include <plomkit/PlomkitExport.h>

#include "MessageCatalogue.h"

namespace plomkit_detail {

// A message catalogue read from its source text, as gencat reads it:
// "$set n" starts set n (set 1 before the first), "$quote c" makes c the
// quote character (no character: none), "$" followed by a blank or nothing is
// a comment, other directives ("$delset", which drops a set of an older
// catalogue) change nothing here; "n text" is message n, the blank after the
// number separating it from the text, and "n" alone an empty message. A line
// ending in a backslash goes on in the next line. In a text, \n, \t, \v, \b,
// \r, \f, \\, up to three octal digits and \ before the quote character are
// escapes; a text that begins with the quote character ends at the next one.
class PLOMKIT_API MessageSourceCatalogue : public MessageCatalogue {
public:
    // Reads the source; false when a line is malformed or a message number
    // comes twice in a set (what was read before it stays).
    bool read(std::istream& source);

    bool find(int set, int id, std::string& text) override;

    // The source file at path, or null when it cannot be opened or read.
    static std::unique_ptr<MessageCatalogue> load(const std::string& path);

private:
    std::string text(const std::string& line, size_t start, char quote) const;

    std::map<std::pair<int, int>, std::string> _messages;
};

} // namespace plomkit_detail

#endif
