// The selection marks cleared at the program's end (procnul1 over the applicability types),
// with every record marked, at 200, 2,000 and 20,000 records: the rate in records per second
// should not fall with the count. The batch is the program's own, with its progress window
// (offscreen).
#include "app/dictionary/Dictionary.h"
#include "app/procnul/Procnul.h"
#include "platform/storage/ErrorReporter.h"
#include "app/startup/CompiledResources.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

void writeMarkedTypes(int64_t count)
{
    app::RecordFile& file = app::SPRPR();
    if (file.create() != 0 || file.open() != 0)
        std::abort();
    file.stream();
    for (int64_t i = 0; i < count; ++i) {
        file.clearBuffer();
        app::SP().NAIM = platform::text::w("Тип " + std::to_string(i));
        app::SP().M = 1;
        if (file.add() != 0)
            std::abort();
    }
    file.flush();
    file.close();
}

void MarkClearing(benchmark::State& state)
{
    const int64_t count = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        writeMarkedTypes(count);
        state.ResumeTiming();
        app::procnul1();
    }
    state.counters["records/s"] =
        benchmark::Counter(static_cast<double>(count) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(MarkClearing)->Name("MarkClearing200")->Arg(200)->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(MarkClearing)->Name("MarkClearing2000")->Arg(2000)->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(MarkClearing)->Name("MarkClearing20000")->Arg(20000)->Unit(benchmark::kMillisecond)
    ->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    app::CompiledResources resources;
    resources.provide();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("mark-clearing-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    // A failed write would stop the batch with a box: answered at once, so the figure shows it.
    platform::ui::setMessageHandler([](const platform::ui::MessageRequest&) {
        return platform::ui::Button::Ok;
    });
    app::GlobalErrors().init();
    app::DictionaryInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    app::DictionaryKill();
    app::GlobalErrors().kill();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
    return 0;
}
