#include "tree/LocaleNest.h"

namespace {

thread_local int nesting = 0;

} // namespace

#if !defined(_WIN32)
locale_t LocaleNest::environmentLocale()
{
    // Made once, under the runtime's guard for statics, and kept for the
    // life of the process (threads may still be using it at exit). The other
    // categories are those of the process's global locale.
    static const locale_t made = [] {
        locale_t base = duplocale(LC_GLOBAL_LOCALE);
        if (base == nullptr)
            return locale_t(nullptr);
        locale_t result = newlocale(LC_CTYPE_MASK, "", base);
        if (result == nullptr)
            freelocale(base);
        return result;
    }();
    return made;
}
#endif

int LocaleNest::depth()
{
    return nesting;
}

#if defined(_WIN32)
LocaleNest::LocaleNest(const FormatTreeNode& node) : node_(node)
{
    if (nesting++ != 0)
        return;
    savedMode_ = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* current = setlocale(LC_CTYPE, nullptr);
    if (current == nullptr) {
        _configthreadlocale(savedMode_);
        return;
    }
    savedName_ = current;
    switched_ = setlocale(LC_CTYPE, "") != nullptr;
    if (!switched_)
        _configthreadlocale(savedMode_);
}

LocaleNest::~LocaleNest()
{
    --nesting;
    if (!switched_)
        return;
    setlocale(LC_CTYPE, savedName_.c_str());
    _configthreadlocale(savedMode_);
}
#else
LocaleNest::LocaleNest(const FormatTreeNode& node) : node_(node)
{
    if (nesting++ != 0)
        return;
    locale_t wanted = environmentLocale();
    if (wanted != nullptr)
        saved_ = uselocale(wanted);
}

LocaleNest::~LocaleNest()
{
    --nesting;
    if (saved_ != nullptr)
        uselocale(saved_);
}
#endif
