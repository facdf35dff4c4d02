#include <plomkit/StdException.h>

StdException::StdException(const char* function, unsigned line, const char* message, int code)
    : _function(function ? function : ""), _message(message ? message : ""), _line(line), _code(code)
{}
