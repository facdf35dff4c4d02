#ifndef PLOMKIT_LIBRARYFILES_H
#define PLOMKIT_LIBRARYFILES_H

// What the run-time loader needs of the operating system: the file a library
// name stands for, the directory of a loaded module, opening a library and
// finding an entry in it. One implementation per system.

#include <string>

namespace plomkit_detail {

// The file name a library name stands for ("x" is "libx.so" or "x.dll"); a
// name with a directory or the suffix stays as it is.
std::string libraryFileName(const std::string& name);

// Whether the name holds a directory part.
bool hasDirectory(const std::string& name);

// The directory separator to append to a directory.
char directorySeparator();

// The directory of the module that holds address, with its final separator;
// empty when it cannot be told.
std::string moduleDirectory(const void* address);

// Opens the library at path (UTF-8); null when it cannot be loaded. The
// library stays loaded.
void* openLibrary(const std::string& path);

// The address of entry in an opened library, or null.
void* findEntry(void* library, const std::string& entry);

} // namespace plomkit_detail

#endif
