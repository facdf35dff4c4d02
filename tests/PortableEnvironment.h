#ifndef NORVEXA_TESTS_PORTABLEENVIRONMENT_H
#define NORVEXA_TESTS_PORTABLEENVIRONMENT_H

// setenv and unsetenv for the tests on Windows, whose runtime has neither.
#if defined(_WIN32)
#include <cstdlib>

inline int setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && std::getenv(name) != nullptr)
        return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name)
{
    return _putenv_s(name, "");
}
#endif

#endif
