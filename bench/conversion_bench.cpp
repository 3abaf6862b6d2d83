// The price-list conversion of the old layout at 100k items: the walk of the old file, the
// copy into the new one with the manufacturer list rebuilt, and the swap of the files, in
// records per second. Runs offscreen; the progress window shows as it does for the user.
#include "app/conv/Cnvpriosn.h"
#include "app/dictionary/Dictionary.h"
#include "app/startup/CompiledResources.h"
#include "bench/PriceRows.h"
#include "platform/ui/TestDriver.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

constexpr std::size_t kItems = 100000;

void writeOldPrices(std::size_t items)
{
    const bench::PriceRows rows;
    app::RecordFile& file = app::PRIOSN_S();
    file.setDiskName("priosn.tps");
    file.create();
    file.open();
    file.stream();
    app::PriosnRecord record;
    for (std::size_t i = 0; i < items; ++i) {
        rows.fill(i, record);
        app::PriosnSRecord& old = app::PRS();
        old.KOD = record.KOD;
        old.OBOZ = record.OBOZ;
        old.NAIM = record.NAIM;
        old.PRIMEN = record.PRIMEN.view();
        old.CENA = record.CENA;
        old.PROIZV = record.PROIZV;
        old.GRUP = record.GRUP;
        old.KOLVUP = record.KOLVUP;
        old.KODCENA = record.KODCENA;
        file.add();
    }
    file.flush();
    file.close();
}

void PriceListConversion(benchmark::State& state)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "quelb-conversion-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    app::DictionaryInit();
    for (auto _ : state) {
        state.PauseTiming();
        writeOldPrices(kItems);
        platform::ui::TestDriver driver; // answers any box, so nothing waits for a user
        driver.start([](const std::string&) {});
        state.ResumeTiming();
        const app::ConversionOutcome outcome = app::cnvpriosn();
        if (outcome.result != app::ConversionOutcome::Result::Converted)
            state.SkipWithError("the conversion did not complete");
    }
    state.counters["records/s"] = benchmark::Counter(
        static_cast<double>(kItems * state.iterations()), benchmark::Counter::kIsRate);
    app::DictionaryKill();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}
BENCHMARK(PriceListConversion)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::CompiledResources resources;
    resources.provide();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
