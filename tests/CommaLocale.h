#ifndef NORVEXA_TESTS_COMMALOCALE_H
#define NORVEXA_TESTS_COMMALOCALE_H

// Switches the process to an installed locale whose decimal point is a comma
// for the life of the object, and back to the locale it found after. name()
// is null where no such locale is installed (the test then skips).

#include <clocale>
#include <string>

class CommaLocale {
public:
    CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr))
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"})
            if (std::setlocale(LC_ALL, name) != nullptr) {
                name_ = name;
                break;
            }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    const char* name() const { return name_; }

private:
    std::string saved_;
    const char* name_ = nullptr;
};

#endif
