// norvexa-eval: an example host of the evaluator. It builds a debuggee from
// a program file in the simulated host, loads libnorvexa.so as a debug
// engine does (through the loader harness: dlopen, main and its table,
// DbgInitialize with the host's service table), and runs each expression of its command line through the
// library, printing the statuses with their meanings, the result name, the
// error text of a failure, the test answer, the bytes an assignment changed
// and the formatted value where the library formats one.

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "EvalOptions.h"
#include "ExpressionRun.h"
#include "OutcomePrinter.h"
#include "testhost/CodePageConverter.h"
#include "testhost/LoadedEvaluator.h"
#include "testhost/ProgramFile.h"
#include "testhost/TestHost.h"

namespace {

std::string directoryOfProgram()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return "";
    const std::string self(path, static_cast<size_t>(n));
    return self.substr(0, self.rfind('/'));
}

bool exists(const std::string& path)
{
    return access(path.c_str(), R_OK) == 0;
}

std::string canonical(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// The library beside the program (bin/../lib), else where the build put it.
std::string libraryPath()
{
    const std::string beside = directoryOfProgram() + "/../lib/libnorvexa.so";
    return exists(beside) ? canonical(beside) : NORVEXA_LIBRARY_FILE;
}

// A program file, or the sample of that name.
std::string programPath(const std::string& program)
{
    if (program == "c" || program == "cobol") {
        const std::string beside = directoryOfProgram() + "/../examples/" + program + ".prog";
        return exists(beside) ? canonical(beside) : std::string(NORVEXA_EXAMPLES_DIR) + "/" + program + ".prog";
    }
    return program;
}

// A page the host converts with and that is EBCDIC (its blank is 0x40):
// an unknown page, or an ASCII or Unicode one, is no debuggee's page here.
bool isEbcdicPage(const std::string& page)
{
    if (codepage::iconvName(page.c_str()).empty())
        return false;
    unsigned char blank[4] = {};
    return codepage::convert(page.c_str(), 0, " ", 1, blank, sizeof blank) == 1 && blank[0] == 0x40;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace evalhost;
    EvalOptions options;
    const std::string wrong = options.parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::cout << EvalOptions::usage();
        return 0;
    }
    if (!wrong.empty()) {
        std::cerr << "norvexa-eval: " << wrong << "\n" << EvalOptions::usage();
        return 2;
    }
    if (!options.codePage.empty() && !isEbcdicPage(options.codePage)) {
        std::cerr << "norvexa-eval: --code-page " << options.codePage << " is not an EBCDIC code page this host knows\n"
                  << EvalOptions::usage();
        return 2;
    }

    TestHost host(false);
    // The example shows structures and arrays: it offers their address forms.
    DBG_VERSION_RECORD version{};
    version.addressForms = 1;
    host.setVersion(version);
    const std::string file = programPath(options.program);
    ProgramFile program;
    try {
        ProgramFile::Options o;
        o.bits = options.bits;
        o.codePage = options.codePage;
        program = ProgramFile::readFile(file, host, o);
    } catch (const ProgramFileError& e) {
        std::cerr << file;
        if (e.line() > 0)
            std::cerr << ":" << e.line();
        std::cerr << ": " << e.what() << "\nnorvexa-eval: nothing evaluated\n";
        return 2;
    }

    // The debuggee's storage is its variables: a store anywhere else (through
    // a null or stray pointer) fails as it fails in a real debuggee, rather
    // than making bytes no variable shows.
    std::uint64_t first = ~std::uint64_t{0}, end = 0;
    for (const ProgramFile::Variable& v : program.variables()) {
        first = std::min(first, v.address);
        end = std::max(end, v.address + v.size);
    }
    for (const ProgramFile::SqlVariable& v : program.sqlVariables()) {
        first = std::min(first, v.address);
        end = std::max<std::uint64_t>(end, v.address + v.bytes.size());
    }
    if (first < end) {
        host.memory().markUnwritable(0, first);
        host.memory().markUnwritable(end, ~end + 1);
    } else {
        host.memory().markUnwritable(0, ~std::uint64_t{0});
    }

    const std::string libraryFile = libraryPath();
    std::unique_ptr<LoadedEvaluator> library;
    try {
        library = std::make_unique<LoadedEvaluator>(libraryFile);
    } catch (const LoaderError& e) {
        std::cerr << "norvexa-eval: cannot load the evaluator: " << e.what() << "\n";
        return 1;
    }
    const EntryPoints entries = EntryPoints::of(*library);
    if (!options.tsv) {
        std::cout << "library " << libraryFile << "\n";
        if (library->mainAnswer() != 0)
            std::cout << "main: answered " << library->mainAnswer() << "\n";
        if (entries.version != nullptr)
            std::cout << "interface version " << entries.version() << "\n";
        std::cout << "program " << file << " (" << program.language() << ", " << options.bits << "-bit)\n\n";
    }
    if (entries.initialize == nullptr) {
        (options.tsv ? std::cerr : std::cout) << "DbgInitialize: not available in this build; nothing evaluated\n";
        return 0;
    }
    if (library->initialize(host) != 1) {
        std::cerr << "norvexa-eval: the evaluator did not initialise\n";
        return 1;
    }

    ExpressionRun run(entries, program, host, options.representation, options.depth);
    OutcomePrinter printer(std::cout, options.tsv);
    for (size_t i = 0; i < options.expressions.size(); ++i) {
        if (i != 0 && !options.tsv)
            std::cout << "\n";
        printer.print(run.run(options.expressions[i]));
    }
    if (entries.terminate != nullptr)
        library->terminate();
    return 0;
}
