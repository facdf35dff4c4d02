#if defined(_WIN32)

#include "MessageSourceCatalogue.h"

namespace plomkit_detail {

// The system has no catalogue reader: the catalogue's source is read.
std::unique_ptr<MessageCatalogue> MessageCatalogue::open(const std::string& path)
{
    return MessageSourceCatalogue::load(path);
}

const char* MessageCatalogue::fileSuffix()
{
    return ".msg";
}

} // namespace plomkit_detail

#endif
