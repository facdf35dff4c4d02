#ifndef NORVEXA_EXAMPLES_EVALUATORLIBRARY_H
#define NORVEXA_EXAMPLES_EVALUATORLIBRARY_H

#include <cstdint>
#include <string>
#include <vector>

#include "EntryPoints.h"

namespace evalhost {

// libnorvexa.so loaded as a host loads it: dlopen, the exported main filled
// with the table of entry points, then every entry point by name.
class EvaluatorLibrary {
public:
    // The table main fills: 65 pointer-sized words, word 0 its byte size.
    static constexpr unsigned tableWords = 65;

    // Loads the library; std::runtime_error with the loader's text when it
    // cannot.
    explicit EvaluatorLibrary(const std::string& path);
    ~EvaluatorLibrary();
    EvaluatorLibrary(const EvaluatorLibrary&) = delete;
    EvaluatorLibrary& operator=(const EvaluatorLibrary&) = delete;

    const std::string& path() const { return _path; }
    // Whether the library exports main; main() calls it with a fresh table
    // and answers what it returned.
    bool hasMain() const { return _main != nullptr; }
    int main();
    const std::vector<std::uintptr_t>& table() const { return _table; }

    // The address the library exports under name, or null (also when the
    // name is found only outside the library).
    void* symbol(const char* name) const;
    const EntryPoints& entryPoints() const { return _entries; }

private:
    std::string _path;
    void* _handle = nullptr;
    int (*_main)(std::uintptr_t*) = nullptr;
    std::vector<std::uintptr_t> _table;
    EntryPoints _entries;
};

} // namespace evalhost

#endif
