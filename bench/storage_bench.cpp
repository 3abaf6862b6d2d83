// Record storage rates on the price list: adds in one stream with every key, and lookups by
// code. With --write-csv=<file> and --write-cli-schema=<file> it writes the same rows and an
// equivalent schema for the SQLite command-line program instead (bench/run compares them).
#include "app/dictionary/Layouts.h"
#include "app/dictionary/Records.h"
#include "bench/PriceRows.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/sqlite/SchemaSql.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using app::PriosnRecord;
using platform::storage::RecordFile;

std::size_t rowCount()
{
    const char* rows = std::getenv("BENCH_ROWS");
    return rows ? std::strtoull(rows, nullptr, 10) : 1000000;
}

const std::string& folder()
{
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "storage-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return path;
}

std::string priceFile() { return folder() + "/priosn.tps"; }

using Clock = std::chrono::steady_clock;

// Makes the price file with rowCount() rows; the seconds spent in stream, adds and flush.
double loadPriceFile(benchmark::State* state)
{
    RecordFile file(app::priosnLayout());
    file.setDiskName(priceFile());
    if (file.create() != 0 || file.open() != 0) {
        if (state)
            state->SkipWithError("cannot create the price file");
        return 0;
    }
    const bench::PriceRows rows;
    std::vector<PriosnRecord> chunk(4096);
    const std::size_t total = rowCount();
    Clock::duration spent{};
    auto started = Clock::now();
    file.stream();
    spent += Clock::now() - started;
    for (std::size_t first = 0; first < total; first += chunk.size()) {
        const std::size_t count = std::min(chunk.size(), total - first);
        for (std::size_t i = 0; i < count; ++i)
            rows.fill(first + i, chunk[i]);
        started = Clock::now();
        for (std::size_t i = 0; i < count; ++i) {
            file.record<PriosnRecord>() = chunk[i];
            if (file.add() != 0 && state) {
                state->SkipWithError("add failed");
                return 0;
            }
        }
        spent += Clock::now() - started;
    }
    started = Clock::now();
    const int flushed = file.flush();
    spent += Clock::now() - started;
    if (flushed != 0 && state)
        state->SkipWithError("flush failed");
    file.close();
    return std::chrono::duration<double>(spent).count();
}

void PriosnAddsInOneStream(benchmark::State& state)
{
    for (auto _ : state)
        state.SetIterationTime(loadPriceFile(&state));
    state.counters["records/s"] = benchmark::Counter(static_cast<double>(rowCount() * state.iterations()),
                                                     benchmark::Counter::kIsRate);
}

void PriosnLookupsByCode(benchmark::State& state)
{
    if (!std::filesystem::exists(priceFile()))
        loadPriceFile(nullptr);
    RecordFile file(app::priosnLayout());
    file.setDiskName(priceFile());
    if (file.open() != 0) {
        state.SkipWithError("cannot open the price file");
        return;
    }
    const std::size_t total = rowCount();
    const std::size_t lookups = 1000000;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto started = Clock::now();
        uint64_t pick = 88172645463325252ull;
        for (std::size_t i = 0; i < lookups; ++i) {
            pick ^= pick << 13;
            pick ^= pick >> 7;
            pick ^= pick << 17;
            file.clearBuffer();
            file.record<PriosnRecord>().KOD = bench::PriceRows::code(pick % total);
            found += file.get(app::PR_pokod) == 0;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
    if (found != lookups * state.iterations())
        state.SkipWithError("a lookup missed");
    state.counters["lookups/s"] = benchmark::Counter(static_cast<double>(lookups * state.iterations()),
                                                     benchmark::Counter::kIsRate);
}

BENCHMARK(PriosnAddsInOneStream)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PriosnLookupsByCode)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// The command-line program's table: the same columns and indexes, with its built-in NOCASE
// in place of ours.
void writeCliSchema(const std::string& path)
{
    const platform::storage::FileLayout layout = app::priosnLayout();
    const platform::storage::sqlite::SchemaSql schema(layout);
    std::ofstream out(path);
    for (std::string statement : schema.create()) {
        for (std::size_t at; (at = statement.find("QNOCASE")) != std::string::npos;)
            statement.replace(at, 7, "NOCASE");
        out << statement << ";\n";
    }
}

void writeCsv(const std::string& path)
{
    const bench::PriceRows rows;
    std::ofstream out(path, std::ios::binary);
    const std::size_t total = rowCount();
    for (std::size_t i = 0; i < total; ++i)
        out << rows.csvLine(i);
}

} // namespace

int main(int argc, char** argv)
{
    bool wrote = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-csv=", 12) == 0) {
            writeCsv(argv[i] + 12);
            wrote = true;
        } else if (std::strncmp(argv[i], "--write-cli-schema=", 19) == 0) {
            writeCliSchema(argv[i] + 19);
            wrote = true;
        }
    }
    if (wrote)
        return 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder());
    return 0;
}
