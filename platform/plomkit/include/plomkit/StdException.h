#ifndef PLOMKIT_STDEXCEPTION_H
#define PLOMKIT_STDEXCEPTION_H

#include <exception>
#include <string>

#include <plomkit/PlomkitExport.h>

// The utility library's exception: where it was raised, a text and a code.
class PLOMKIT_API StdException : public std::exception {
public:
    // Null texts are taken as empty.
    StdException(const char* function, unsigned line, const char* message, int code);

    const char* what() const noexcept override { return _message.c_str(); }
    const char* function() const noexcept { return _function.c_str(); }
    unsigned line() const noexcept { return _line; }
    int code() const noexcept { return _code; }

private:
    std::string _function;
    std::string _message;
    unsigned _line;
    int _code;
};

#endif
