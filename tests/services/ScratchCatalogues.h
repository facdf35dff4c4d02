#ifndef NORVEXA_TESTS_SERVICES_SCRATCHCATALOGUES_H
#define NORVEXA_TESTS_SERVICES_SCRATCHCATALOGUES_H

// A catalogue directory of the test's own: one small "rmq" catalogue per
// language directory, compiled with gencat (Windows reads the source
// itself), made the catalogue directory
// through NORVEXA_CATALOG_DIR for the object's life (the earlier value is
// put back).

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

#include "PortableEnvironment.h"

class ScratchCatalogues {
public:
    // sources: language directory -> gencat source of its catalogue.
    explicit ScratchCatalogues(const std::map<std::string, std::string>& sources)
    {
        dir_ = std::filesystem::temp_directory_path() / ("norvexa-catalogues-" + std::to_string(getpid()));
        for (const auto& [language, source] : sources) {
            std::filesystem::create_directories(dir_ / language);
            const std::filesystem::path file = dir_ / language / "rmq.msg";
            std::ofstream(file) << source;
#if !defined(_WIN32)
            const std::string command =
                "gencat '" + (dir_ / language / "rmq.cat").string() + "' '" + file.string() + "' 2>/dev/null";
            if (std::system(command.c_str()) != 0)
                compiled_ = false;
#endif
        }
        const char* before = std::getenv("NORVEXA_CATALOG_DIR");
        hadSaved_ = before != nullptr;
        if (hadSaved_)
            saved_ = before;
        setenv("NORVEXA_CATALOG_DIR", dir_.string().c_str(), 1);
    }

    ~ScratchCatalogues()
    {
        if (hadSaved_)
            setenv("NORVEXA_CATALOG_DIR", saved_.c_str(), 1);
        else
            unsetenv("NORVEXA_CATALOG_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    ScratchCatalogues(const ScratchCatalogues&) = delete;
    ScratchCatalogues& operator=(const ScratchCatalogues&) = delete;

    // False when gencat failed for any catalogue.
    bool compiled() const
    {
        return compiled_;
    }

private:
    std::filesystem::path dir_;
    std::string saved_;
    bool hadSaved_ = false;
    bool compiled_ = true;
};

#endif
