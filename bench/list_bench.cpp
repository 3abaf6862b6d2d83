// A browse list over the price list in name order: opening it and filling the first page,
// moving to the last page, and one locator letter. BENCH_ROWS sets the rows (default 1000000).
#include "app/dictionary/Layouts.h"
#include "app/dictionary/Records.h"
#include "bench/PriceRows.h"
#include "platform/storage/RecordFile.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/StepLocator.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using app::PriosnRecord;
using platform::storage::RecordFile;
using platform::ui::BrowseList;

constexpr int PageRows = 30;

std::size_t rowCount()
{
    const char* rows = std::getenv("BENCH_ROWS");
    return rows ? std::strtoull(rows, nullptr, 10) : 1000000;
}

// The price file, made once per run.
RecordFile& priceFile()
{
    static std::unique_ptr<RecordFile> file = [] {
        std::string folder =
            (std::filesystem::temp_directory_path() / "list-bench-XXXXXX").string();
        if (!mkdtemp(folder.data()))
            std::abort();
        auto made = std::make_unique<RecordFile>(app::priosnLayout());
        made->setDiskName(folder + "/priosn.tps");
        if (made->create() != 0 || made->open() != 0)
            std::abort();
        const bench::PriceRows rows;
        made->stream();
        for (std::size_t i = 0; i < rowCount(); ++i) {
            rows.fill(i, made->record<PriosnRecord>());
            if (made->add() != 0)
                std::abort();
        }
        made->flush();
        return made;
    }();
    return *file;
}

std::unique_ptr<BrowseList> priceList()
{
    RecordFile& file = priceFile();
    auto list = std::make_unique<BrowseList>(file);
    const auto& layout = file.layout();
    for (const char* field : {"PR:NAIM", "PR:KOD", "PR:CENA"})
        list->addField(layout.fieldIndex(field));
    list->addSortOrder(app::PR_ponaim)
        .setLocator(std::make_unique<platform::ui::StepLocator>(layout.fieldIndex("PR:NAIM")));
    list->setPageSize(PageRows);
    return list;
}

void OpenAndFirstPage(benchmark::State& state)
{
    priceFile();
    for (auto _ : state) {
        auto list = priceList();
        list->load();
        benchmark::DoNotOptimize(list->model().rows());
    }
}
BENCHMARK(OpenAndFirstPage)->Unit(benchmark::kMillisecond);

void LastPage(benchmark::State& state)
{
    auto list = priceList();
    list->load();
    for (auto _ : state) {
        list->end();
        state.PauseTiming();
        list->home();
        state.ResumeTiming();
    }
}
BENCHMARK(LastPage)->Unit(benchmark::kMillisecond);

void LocatorLetter(benchmark::State& state)
{
    auto list = priceList();
    list->load();
    const char letters[] = "\xCC\xC0\xCF\xD4"; // М А П Ф in Windows-1251
    std::size_t next = 0;
    for (auto _ : state) {
        list->takeCharacter(letters[next++ % 4]);
        benchmark::DoNotOptimize(list->highlighted());
    }
}
BENCHMARK(LocatorLetter)->Unit(benchmark::kMillisecond);

} // namespace
