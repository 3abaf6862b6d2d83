// A browse list over the price list in name order: opening it and filling the first page,
// moving to the last page, and one locator letter; and PgDn held down through one maker who
// makes every tenth item (100,000 equal key values at a million rows) on the manufacturer tab
// with its search filter. BENCH_ROWS sets the rows (default 1000000).
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/dictionary/Layouts.h"
#include "app/dictionary/Records.h"
#include "bench/PriceRows.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/FixedString.h"
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
// The maker every tenth row is given ("ОДИН ПРОИЗВОДИТЕЛЬ" in Windows-1251).
constexpr const char* SharedMaker = "\xCE\xC4\xC8\xCD \xCF\xD0\xCE\xC8\xC7\xC2\xCE\xC4\xC8\xD2\xC5\xCB\xDC";

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
            if (i % 10 == 0)
                made->record<PriosnRecord>().PROIZV = SharedMaker;
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

// The manufacturer tab as the window has it: its key and its search filter, nothing typed.
struct MakerTab
{
    platform::storage::Bindings bindings;
    int32_t ks = 0;
    platform::text::FixedString<50> kodstr2, kodstr3, kodstr5;
    platform::text::FixedString<200> kodstr4;
    platform::text::FixedString<30> kodstr6;
    uint8_t fk = 0;
    int32_t k1 = 0, k2 = 0;

    MakerTab()
    {
        bindings.bind("ks", ks);
        bindings.bind("kodstr2", kodstr2);
        bindings.bind("kodstr3", kodstr3);
        bindings.bind("kodstr4", kodstr4);
        bindings.bind("kodstr5", kodstr5);
        bindings.bind("kodstr6", kodstr6);
        bindings.bind("fk", fk);
        bindings.bind("k1", k1);
        bindings.bind("k2", k2);
    }
};

void PageDownThroughOneMaker(benchmark::State& state)
{
    RecordFile& file = priceFile();
    MakerTab tab;
    BrowseList list(file);
    const auto& layout = file.layout();
    for (const char* field : {"PR:PROIZV", "PR:KOD", "PR:NAIM"})
        list.addField(layout.fieldIndex(field));
    list.setBindings(&tab.bindings);
    for (const app::PriceSortOrder& order : app::priceSortOrders())
        if (order.key == app::PR_poproizv)
            list.addSortOrder(order.key, std::string(order.filter));
    list.setPageSize(PageRows);
    const auto toFirstOfTheMaker = [&] {
        file.clearBuffer();
        file.record<PriosnRecord>().PROIZV = SharedMaker;
        list.resetToBuffer();
    };
    toFirstOfTheMaker();
    const std::string maker = SharedMaker;
    for (auto _ : state) {
        list.pageDown();
        const auto& last = list.model().row(list.model().rows() - 1).cells.at(0);
        if (last.compare(0, maker.size(), maker) != 0 || list.model().atEnd()) {
            state.PauseTiming();
            toFirstOfTheMaker();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(PageDownThroughOneMaker)->Unit(benchmark::kMillisecond);

} // namespace
