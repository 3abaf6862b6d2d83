// The price list's name-tab filter over a full scan of PRIOSN in name order, with a search
// text that matches nothing, so every record is read and tested. bench/run times the SQLite
// command-line program doing the same scan (instr(upper(name), text) over the name index) and
// prints the ratio. Also the first page of a search that matches many items, as the list shows
// it while the user types. BENCH_ROWS sets the number of rows (default 1000000).
#include "app/dictionary/Layouts.h"
#include "app/dictionary/Records.h"
#include "bench/PriceRows.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterExpression.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using app::PriosnRecord;
using platform::storage::RecordFile;
using platform::text::FixedString;
using Clock = std::chrono::steady_clock;

// The stored filter text of the name tab.
const char* const NameTabFilter =
    "(((kodstr3='' or (kodstr3<>'' and instring(upper(clip(kodstr3)),upper(pr:naim),1)>0)) and "
    "fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))";

// Found in no generated row; bench/run searches the same text.
const char* const SearchText = "QQQZZZ";

std::size_t rowCount()
{
    const char* rows = std::getenv("BENCH_ROWS");
    return rows ? std::strtoull(rows, nullptr, 10) : 1000000;
}

const std::string& folder()
{
    static const std::string path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "filter-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return path;
}

// The price file with rowCount() rows, made once per run.
RecordFile& priceFile()
{
    static RecordFile* file = [] {
        auto* made = new RecordFile(app::priosnLayout());
        made->setDiskName(folder() + "/priosn.tps");
        if (made->create() != 0 || made->open() != 0)
            std::abort();
        const bench::PriceRows rows;
        made->stream();
        for (std::size_t i = 0, total = rowCount(); i < total; ++i) {
            rows.fill(i, made->record<PriosnRecord>());
            if (made->add() != 0)
                std::abort();
        }
        if (made->flush() != 0)
            std::abort();
        return made;
    }();
    return *file;
}

// One pass of the view; the number of records that passed.
int64_t scan(platform::storage::View& view)
{
    int64_t passed = 0;
    view.setStart();
    while (view.next() == 0)
        ++passed;
    return passed;
}

void runScan(benchmark::State& state, const char* filterText)
{
    RecordFile& file = priceFile();
    FixedString<50> kodstr3(SearchText);
    uint8_t fk = 0;
    int32_t k1 = 0;
    int32_t k2 = 0;
    platform::storage::Bindings bindings;
    bindings.bind("kodstr3", kodstr3);
    bindings.bind("fk", fk);
    bindings.bind("k1", k1);
    bindings.bind("k2", k2);

    platform::storage::View view(file, app::PR_ponaim);
    if (view.setFilter(filterText, &bindings) != 0) {
        state.SkipWithError("the filter does not compile");
        return;
    }
    scan(view); // warm the cache like a list that was shown before
    int64_t passed = 0;
    for (auto _ : state) {
        const auto started = Clock::now();
        passed = scan(view);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
    const bool filtered = filterText[0] != '\0';
    if (passed != (filtered ? 0 : static_cast<int64_t>(rowCount())))
        state.SkipWithError("unexpected number of records passed");
}

void NameTabFilterScan(benchmark::State& state)
{
    runScan(state, NameTabFilter);
}

// The first list page (30 rows) of a search that matches many items: "фильтр" is in four of
// the generated names, which sort late in name order.
void NameTabFirstPage(benchmark::State& state)
{
    RecordFile& file = priceFile();
    FixedString<50> kodstr3(platform::text::w("фильтр"));
    uint8_t fk = 0;
    int32_t k1 = 0;
    int32_t k2 = 0;
    platform::storage::Bindings bindings;
    bindings.bind("kodstr3", kodstr3);
    bindings.bind("fk", fk);
    bindings.bind("k1", k1);
    bindings.bind("k2", k2);
    platform::storage::View view(file, app::PR_ponaim);
    if (view.setFilter(NameTabFilter, &bindings) != 0) {
        state.SkipWithError("the filter does not compile");
        return;
    }
    int rows = 0;
    for (auto _ : state) {
        const auto started = Clock::now();
        view.setStart();
        for (rows = 0; rows < 30 && view.next() == 0; ++rows) {
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
    if (rows != 30)
        state.SkipWithError("fewer than 30 rows passed");
}

// The same walk with no filter, for the share of the scan the filter takes.
void NameOrderScanWithoutFilter(benchmark::State& state)
{
    runScan(state, "");
}

// The filter alone: the same text evaluated over the rows held in memory, no file involved.
void NameTabFilterEvaluation(benchmark::State& state)
{
    const std::size_t total = std::min<std::size_t>(rowCount(), 100000);
    const platform::storage::FileLayout layout = app::priosnLayout();
    std::vector<PriosnRecord> records(total);
    const bench::PriceRows rows;
    for (std::size_t i = 0; i < total; ++i)
        rows.fill(i, records[i]);

    FixedString<50> kodstr3(SearchText);
    uint8_t fk = 0;
    int32_t k1 = 0;
    int32_t k2 = 0;
    platform::storage::Bindings bindings;
    bindings.bind("kodstr3", kodstr3);
    bindings.bind("fk", fk);
    bindings.bind("k1", k1);
    bindings.bind("k2", k2);
    PriosnRecord current{};
    platform::storage::FilterScope scope(&bindings);
    scope.addRecord(layout, reinterpret_cast<const std::byte*>(&current));
    platform::storage::FilterExpression filter(NameTabFilter, scope);

    std::size_t passed = 0;
    for (auto _ : state) {
        for (const PriosnRecord& record : records) {
            std::memcpy(&current, &record, sizeof current);
            passed += filter.matches();
        }
    }
    if (passed != 0)
        state.SkipWithError("unexpected match");
    state.counters["records/s"] = benchmark::Counter(
        static_cast<double>(total * state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(NameTabFilterEvaluation)->Unit(benchmark::kMillisecond);
BENCHMARK(NameTabFilterScan)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(NameTabFirstPage)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(NameOrderScanWithoutFilter)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder());
    return 0;
}
