#ifndef PLOMKIT_ENGINE_LOADER_H
#define PLOMKIT_ENGINE_LOADER_H

#include <plomkit/EncodedString.h>
#include <plomkit/FileName.h>
#include <plomkit/PlomkitExport.h>

// Loads shared libraries at run time and finds entries in them.
//
// A bare name "x" (no directory, no ".so" or ".dll") means the library
// "libx.so" ("x.dll" on Windows). A name without a directory is looked for,
// in this order, in the directory named by the environment variable
// NORVEXA_LIBRARY_PATH, beside the module that asks (and beside the utility
// library itself), and then on the system's default search path. Loaded
// libraries stay loaded, so entries stay valid.
class PLOMKIT_API Engine_Loader {
public:
    // The process's loader.
    static Engine_Loader& instance();

    // The address of entry in library, or null when the library or the entry
    // cannot be found. Never throws.
    virtual void* loadEntryPoint(const FileName& library, const EncodedString& entry);

    virtual ~Engine_Loader() = default;

protected:
    Engine_Loader() = default;
};

#endif
