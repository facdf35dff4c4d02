// The thread soak: host threads started at once in a fresh process, each
// building, validating, evaluating, formatting and updating on programs of
// its own through the loaded libnorvexa.so, while other threads pair
// initialisations with terminations and ask the action table, type names
// and the name builders; the first uses (the decimal library, the COBOL
// grammar, the message catalogue) happen under that load. Afterwards every
// round of every thread must equal the same work done on one thread.
//
//   norvexa_soak [--threads N] [--rounds R] [--seconds S] [--expect DIGEST]
//
// N worker threads (default 8) run R rounds each (default 10; 0: no bound,
// they run until the time is up), stopping early after S seconds (default
// 300); three more threads do the other
// calls while the workers run. It prints the digest of worker 0's and the
// other threads' one-thread records; --expect compares it with one printed
// by another run (say, of one thread alone). Exit status 0: every record
// matched; 1: a mismatch; 2: bad usage or the library could not be loaded.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SoakEntries.h"
#include "SoakPeriphery.h"
#include "SoakWorker.h"
#include "testhost/LoadedEvaluator.h"
#include "testhost/TestHost.h"

namespace {

struct Options {
    unsigned threads = 8;
    unsigned rounds = 10;
    unsigned seconds = 300;
    std::string expect;
};

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc)
            return false;
        const char* v = argv[++i];
        if (a == "--threads")
            o.threads = static_cast<unsigned>(std::strtoul(v, nullptr, 10));
        else if (a == "--rounds")
            o.rounds = static_cast<unsigned>(std::strtoul(v, nullptr, 10));
        else if (a == "--seconds")
            o.seconds = static_cast<unsigned>(std::strtoul(v, nullptr, 10));
        else if (a == "--expect")
            o.expect = v;
        else
            return false;
    }
    return o.threads >= 1 && o.threads <= 100;
}

std::string digest(const std::string& s)
{
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
    return out;
}

// Compares what threads recorded with the one-thread record; prints the
// first difference. Answers the number of records that differ.
unsigned compare(const std::string& who, const std::vector<std::string>& records, const std::string& reference)
{
    unsigned differing = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i] == reference)
            continue;
        if (differing++ == 0)
            std::printf("MISMATCH %s, pass %zu:\n--- under load\n%s--- on one thread\n%s", who.c_str(), i + 1,
                        records[i].c_str(), reference.c_str());
    }
    return differing;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: norvexa_soak [--threads N] [--rounds R] [--seconds S] [--expect DIGEST]\n");
        return 2;
    }
    std::unique_ptr<LoadedEvaluator> evaluator;
    std::unique_ptr<SoakEntries> dbg;
    try {
        evaluator = std::make_unique<LoadedEvaluator>(NORVEXA_LIBRARY_FILE);
        dbg = std::make_unique<SoakEntries>(*evaluator);
    } catch (const LoaderError& e) {
        std::fprintf(stderr, "norvexa_soak: %s\n", e.what());
        return 2;
    }
    for (const std::string& name : dbg->missing())
        std::printf("skipped: %s (not exported)\n", name.c_str());

    TestHost host(false);
    if (evaluator->initialize(host) != 1) {
        std::fprintf(stderr, "norvexa_soak: DbgInitialize failed\n");
        return 2;
    }
    // The programs are built before any thread calls.
    std::vector<std::unique_ptr<SoakWorker>> workers;
    for (unsigned n = 0; n < options.threads; ++n)
        workers.push_back(std::make_unique<SoakWorker>(host, *dbg, n, n % 2 == 0 ? 64 : 32));
    SoakPeriphery periphery(*evaluator, host, *dbg, *workers[0]);

    const unsigned others = 3;
    std::latch start(options.threads + others);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.seconds);
    std::atomic<unsigned> running{options.threads};
    std::atomic<unsigned> otherPasses{0};
    std::vector<std::vector<std::string>> records(options.threads);
    std::vector<std::vector<std::string>> otherRecords(others);
    std::vector<std::thread> threads;
    for (unsigned n = 0; n < options.threads; ++n)
        threads.emplace_back([&, n] {
            start.arrive_and_wait();
            for (unsigned r = 0; options.rounds == 0 || r < options.rounds; ++r) {
                if (r > 0 && std::chrono::steady_clock::now() >= deadline)
                    break;
                // Half the threads start with COBOL (the grammar, the decimal
                // library), the other half with C (the catalogue's texts).
                records[n].push_back(workers[n]->round((n + r) % 2 == 0));
            }
            --running;
        });
    for (unsigned k = 0; k < others; ++k)
        threads.emplace_back([&, k] {
            start.arrive_and_wait();
            // A record like the one before it is counted, not kept.
            std::vector<std::string>& kept = otherRecords[k];
            do {
                std::string record = k == 0 ? periphery.lifeCycle() : periphery.names();
                if (kept.empty() || kept.back() != record)
                    kept.push_back(std::move(record));
                ++otherPasses;
            } while (running.load() > 0);
        });
    for (std::thread& t : threads)
        t.join();

    unsigned differing = 0;
    unsigned rounds = 0;
    std::string references;
    for (unsigned n = 0; n < options.threads; ++n) {
        const std::string reference = workers[n]->round(false);
        if (n == 0)
            references += reference;
        differing += compare("worker " + std::to_string(n), records[n], reference);
        rounds += static_cast<unsigned>(records[n].size());
    }
    const std::string lifeCycle = periphery.lifeCycle();
    const std::string names = periphery.names();
    references += lifeCycle + names;
    differing += compare("life cycle", otherRecords[0], lifeCycle);
    for (unsigned k = 1; k < others; ++k)
        differing += compare("names " + std::to_string(k), otherRecords[k], names);

    const std::string sum = digest(references);
    std::printf("%u worker threads, %u rounds; %u passes of the other threads; %u records differ\n", options.threads,
                rounds, otherPasses.load(), differing);
    std::printf("digest %s\n", sum.c_str());
    if (!options.expect.empty() && options.expect != sum) {
        std::printf("MISMATCH the digest is not the expected %s; the one-thread records:\n%s", options.expect.c_str(),
                    references.c_str());
        return 1;
    }
    return differing == 0 ? 0 : 1;
}
