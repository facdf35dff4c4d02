#include <plomkit/FileName.h>

FileName::FileName(const wchar_t* name) : _name(name) {}

std::string FileName::path() const
{
    ByteString bytes = _name.asUTF8();
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.length());
}
