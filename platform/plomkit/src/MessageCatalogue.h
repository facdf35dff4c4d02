#ifndef PLOMKIT_MESSAGECATALOGUE_H
#define PLOMKIT_MESSAGECATALOGUE_H

#include <memory>
#include <string>

namespace plomkit_detail {

// An opened message catalogue: texts by set and number.
class MessageCatalogue {
public:
    virtual ~MessageCatalogue() = default;

    // The text of message id of set into text; false when it has none.
    virtual bool find(int set, int id, std::string& text) = 0;

    // Opens the catalogue file at path (a compiled catalogue, or the
    // catalogue's source where the system has no catalogue reader); null
    // when it cannot be read.
    static std::unique_ptr<MessageCatalogue> open(const std::string& path);

    // The suffix of the catalogue files open reads (".cat" or ".msg").
    static const char* fileSuffix();
};

} // namespace plomkit_detail

#endif
