#ifndef NORVEXA_TREE_LOCALENEST_H
#define NORVEXA_TREE_LOCALENEST_H

#include <locale.h>

#if defined(_WIN32)
#include <string>
#endif

class FormatTreeNode;

// Runs the formatting it guards under the environment's character-type
// locale (LC_CTYPE as the process environment names it), switching only the
// calling thread's locale: other host threads keep theirs. Guards nest per
// thread: the outermost one switches and puts the thread's previous locale
// back when it ends; inner ones change nothing. The locale is made once per
// process; when the environment names none that can be made, nothing is
// switched.
class LocaleNest {
public:
    explicit LocaleNest(const FormatTreeNode& node);
    ~LocaleNest();

    LocaleNest(const LocaleNest&) = delete;
    LocaleNest& operator=(const LocaleNest&) = delete;

    const FormatTreeNode& node() const { return node_; }

#if !defined(_WIN32)
    // The locale the guard switches to (null when none could be made).
    static locale_t environmentLocale();
#endif
    // The calling thread's nesting depth.
    static int depth();

private:
    const FormatTreeNode& node_;
#if defined(_WIN32)
    // Windows has no locale objects: the thread is put in per-thread locale
    // mode and its LC_CTYPE set by name, both put back at the end.
    int savedMode_ = 0;
    std::string savedName_;
    bool switched_ = false;
#else
    locale_t saved_ = nullptr;
#endif
};

#endif
