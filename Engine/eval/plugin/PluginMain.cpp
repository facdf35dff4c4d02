// The plug-in's entry: the host finds it under the name "main" and calls it
// with its table of entry points to fill. Linked into the plug-in only: in
// a program the name would replace the program's own main.

#include <cstdint>

#include "NorvexaExport.h"
#include "api/EntryTable.h"

#if defined(_WIN32)
// The DLL's .def file exports it as "main".
extern "C" int norvexaPluginMain(std::uintptr_t* table);
#else
extern "C" NORVEXA_API int norvexaPluginMain(std::uintptr_t* table) __asm__("main");
#endif

int norvexaPluginMain(std::uintptr_t* table)
{
    return intializeEvaluatorFunctions(table);
}
