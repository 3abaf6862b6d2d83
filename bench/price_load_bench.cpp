// The price-list load (the import of the load dialog) at 100k and 1M lines: the first load into
// an empty data folder, then the reload of the same items with every price changed, in lines
// per second. With --write-text=<file> --lines=<n> [--repriced] and --write-cli-schema=<file>
// it writes the same lines, and a table with the same eight indexes for the SQLite
// command-line program, instead (bench/run compares them).
#include "app/dictionary/Dictionary.h"
#include "app/ipmprice/PriceListImport.h"
#include "bench/PriceRows.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>
#include "platform/text/RealText.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string cleaned(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == ';' || c == '"')
            c = ' ';
    return out;
}

// Row i as a price-list line: code;designation;name;applicability;pack;price;maker;code2;
// weight;group. A repriced line carries another price.
std::string priceLine(const bench::PriceRows& rows, std::size_t index, bool repriced)
{
    app::PriosnRecord record;
    rows.fill(index, record);
    const std::string price =
        platform::text::realFixedText(record.CENA + (repriced ? 1.25 : 0.0), 2);
    const std::string weight = platform::text::realFixedText(record.VES, 3);
    return std::to_string(record.KOD) + ";" + cleaned(record.OBOZ.clipped()) + ";" +
           cleaned(record.NAIM.clipped()) + ";" + cleaned(record.PRIMEN.clipped().substr(0, 50)) +
           ";" + std::to_string(record.KOLVUP) + ";" + price + ";" +
           cleaned(record.PROIZV.clipped()) + ";" + std::to_string(record.KOD2) + ";" + weight +
           ";" + cleaned(record.GRUP.clipped()) + "\r\n";
}

void writeText(const std::string& path, std::size_t lines, bool repriced)
{
    const bench::PriceRows rows;
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < lines; ++i)
        out << priceLine(rows, i, repriced);
}

// The command-line program's table: the ten fields in line order and the price list's eight
// keys (code unique), texts with its built-in NOCASE.
void writeCliSchema(const std::string& path)
{
    std::ofstream out(path);
    out << "CREATE TABLE lines (kod INTEGER NOT NULL, oboz TEXT NOT NULL, naim TEXT NOT NULL, "
           "primen TEXT NOT NULL, kolvup INTEGER NOT NULL, cena REAL NOT NULL, proizv TEXT NOT "
           "NULL, kod2 INTEGER NOT NULL, ves REAL NOT NULL, grup TEXT NOT NULL);\n"
           "CREATE UNIQUE INDEX key_1 ON lines (kod) WHERE kod <> 0;\n"
           "CREATE INDEX key_2 ON lines (proizv COLLATE NOCASE) WHERE proizv <> '';\n"
           "CREATE INDEX key_3 ON lines (grup COLLATE NOCASE) WHERE grup <> '';\n"
           "CREATE INDEX key_4 ON lines (oboz COLLATE NOCASE) WHERE oboz <> '';\n"
           "CREATE INDEX key_5 ON lines (naim COLLATE NOCASE) WHERE naim <> '';\n"
           "CREATE INDEX key_6 ON lines (cena) WHERE cena <> 0;\n"
           "CREATE INDEX key_7 ON lines (oboz COLLATE NOCASE) WHERE oboz <> '';\n"
           "CREATE INDEX key_8 ON lines (primen COLLATE NOCASE) WHERE primen <> '';\n";
}

// One data folder per size: the first load and the reload run in it, in this order.
struct Folder
{
    std::filesystem::path path;
};

std::map<std::size_t, Folder>& folders()
{
    static std::map<std::size_t, Folder> all;
    return all;
}

Folder& folderFor(std::size_t lines)
{
    Folder& folder = folders()[lines];
    if (folder.path.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "price-load-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder.path = pattern;
        writeText((folder.path / "first.txt").string(), lines, false);
        writeText((folder.path / "second.txt").string(), lines, true);
    }
    return folder;
}

void runLoad(benchmark::State& state, std::size_t lines, const char* file)
{
    Folder& folder = folderFor(lines);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    app::DictionaryInit();
    app::RelatePRIOSN->open();
    app::RelatePROIZ->open();
    for (auto _ : state) {
        app::PriceListImport import;
        const auto started = Clock::now();
        const int code = import.run(file);
        const std::chrono::duration<double> spent = Clock::now() - started;
        state.SetIterationTime(spent.count());
        if (code != 0 || import.lines() != static_cast<int64_t>(lines) ||
            app::PRIOSN().records() != static_cast<int64_t>(lines))
            state.SkipWithError("the load failed");
        state.counters["lines/s"] = static_cast<double>(lines) / spent.count();
    }
    app::RelatePRIOSN->close();
    app::RelatePROIZ->close();
    app::DictionaryKill();
    std::filesystem::current_path(previous);
}

void PriceLoadFirst100k(benchmark::State& state)
{
    runLoad(state, 100000, "first.txt");
}
void PriceLoadReload100k(benchmark::State& state)
{
    runLoad(state, 100000, "second.txt");
}
void PriceLoadFirst1M(benchmark::State& state)
{
    runLoad(state, 1000000, "first.txt");
}
void PriceLoadReload1M(benchmark::State& state)
{
    runLoad(state, 1000000, "second.txt");
}

// Adding manufacturers costs the same per record at any count: 20,000 lines naming 200
// manufacturers against 20,000 lines naming 20,000 (bench/run prints the ratio of their times).
void runManufacturers(benchmark::State& state, int makers)
{
    constexpr int Lines = 20000;
    Folder& folder = folders()[static_cast<std::size_t>(makers) + 1];
    if (folder.path.empty()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "price-load-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        folder.path = pattern;
        std::ofstream out(folder.path / "makers.txt", std::ios::binary);
        for (int i = 1; i <= Lines; ++i)
            out << i << ";D-" << i << ";Item " << i << ";;1;10.50;Manufacturer " << (i % makers)
                << ";;0.5;Group\r\n";
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    app::DictionaryInit();
    app::RelatePRIOSN->open();
    app::RelatePROIZ->open();
    for (auto _ : state) {
        // The median of five loads: the commit's syncs make single loads noisy on a busy disk.
        std::vector<double> spent;
        for (int load = 0; load < 5; ++load) {
            app::PriceListImport import;
            const auto started = Clock::now();
            const int code = import.run("makers.txt");
            spent.push_back(std::chrono::duration<double>(Clock::now() - started).count());
            if (code != 0 || app::PROIZ().records() != makers)
                state.SkipWithError("the load failed");
        }
        std::sort(spent.begin(), spent.end());
        state.SetIterationTime(spent[2]);
    }
    app::RelatePRIOSN->close();
    app::RelatePROIZ->close();
    app::DictionaryKill();
    std::filesystem::current_path(previous);
}

void PriceLoad200Manufacturers(benchmark::State& state)
{
    runManufacturers(state, 200);
}
void PriceLoad20kManufacturers(benchmark::State& state)
{
    runManufacturers(state, 20000);
}

BENCHMARK(PriceLoad200Manufacturers)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PriceLoad20kManufacturers)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PriceLoadFirst100k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PriceLoadReload100k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PriceLoadFirst1M)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(PriceLoadReload1M)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    std::string text;
    std::size_t lines = 0;
    bool repriced = false;
    bool wrote = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-text=", 13) == 0)
            text = argv[i] + 13;
        else if (std::strncmp(argv[i], "--lines=", 8) == 0)
            lines = std::strtoull(argv[i] + 8, nullptr, 10);
        else if (std::strcmp(argv[i], "--repriced") == 0)
            repriced = true;
        else if (std::strncmp(argv[i], "--write-cli-schema=", 19) == 0) {
            writeCliSchema(argv[i] + 19);
            wrote = true;
        }
    }
    if (!text.empty()) {
        writeText(text, lines, repriced);
        wrote = true;
    }
    if (wrote)
        return 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [lines, folder] : folders())
        std::filesystem::remove_all(folder.path);
    return 0;
}
