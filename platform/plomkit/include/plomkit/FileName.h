#ifndef PLOMKIT_FILENAME_H
#define PLOMKIT_FILENAME_H

#include <string>

#include <plomkit/EncodedString.h>
#include <plomkit/PlomkitExport.h>

// The name of a file or library, as the caller wrote it.
class PLOMKIT_API FileName {
public:
    // A null name gives an empty one.
    FileName(const wchar_t* name);

    const EncodedString& name() const { return _name; }
    // The name as a path of the file system (UTF-8).
    std::string path() const;

private:
    EncodedString _name;
};

#endif
