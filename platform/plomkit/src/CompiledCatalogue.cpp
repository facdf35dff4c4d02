#if !defined(_WIN32)

#include <nl_types.h>

#include "MessageCatalogue.h"

namespace plomkit_detail {

namespace {

// A catalogue compiled by gencat, read through catopen and catgets.
class CompiledCatalogue : public MessageCatalogue {
public:
    explicit CompiledCatalogue(nl_catd catalogue) : _catalogue(catalogue) {}
    ~CompiledCatalogue() override { catclose(_catalogue); }

    bool find(int set, int id, std::string& text) override
    {
        static const char missing[] = "";
        const char* found = catgets(_catalogue, set, id, missing);
        if (found == missing)
            return false;
        text = found;
        return true;
    }

private:
    nl_catd _catalogue;
};

} // namespace

std::unique_ptr<MessageCatalogue> MessageCatalogue::open(const std::string& path)
{
    // A name with a "/" is opened as it stands, without NLSPATH.
    nl_catd catalogue = catopen(path.c_str(), 0);
    if (catalogue == reinterpret_cast<nl_catd>(-1))
        return nullptr;
    return std::make_unique<CompiledCatalogue>(catalogue);
}

const char* MessageCatalogue::fileSuffix()
{
    return ".cat";
}

} // namespace plomkit_detail

#endif
