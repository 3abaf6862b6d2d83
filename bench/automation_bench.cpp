// The order workbook of a 1000-line basket written and read back through the automation channel
// by the built-in spreadsheet server, as ".xls" and as ".xlsx": every cell is selected, given its
// value and formatted path by path, then the file is saved; the re-import opens it and reads the
// cells back one by one. Milliseconds per run.
#include "../tests/office/OrderWorkbookSequence.h"

#include "office/ExcelAutomation.h"
#include "platform/automation/OleControl.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kLines = 1000;

// A window with the OLE control, the driver started on it, and a folder for the files.
struct Channel
{
    Channel()
    {
        platform::automation::OleControl::registerKind();
        platform::ui::WindowDefinition definition;
        definition.kind = "window";
        definition.label = "bench";
        platform::ui::ControlDefinition ole;
        ole.number = 1;
        ole.kind = "ole";
        definition.controls.push_back(ole);
        window = std::make_unique<platform::ui::Window>(definition);
        excel.Init(window.get(), 1, 1, 0, 0);
    }
    std::string file(const char* extension) const
    {
        return QDir(folder.path()).filePath(QStringLiteral("order")).toStdString() + extension;
    }

    QTemporaryDir folder;
    std::unique_ptr<platform::ui::Window> window;
    office::ExcelAutomation excel;
};

void exportOrder(benchmark::State& state, const char* extension)
{
    Channel channel;
    const auto lines = ordersequence::sampleLines(kLines);
    const auto requisites = ordersequence::sampleRequisites();
    for (auto _ : state)
        ordersequence::writeOrder(channel.excel, lines, channel.file(extension), requisites);
}

void importOrder(benchmark::State& state, const char* extension)
{
    Channel channel;
    const std::string name = channel.file(extension);
    ordersequence::writeOrder(channel.excel, ordersequence::sampleLines(kLines), name,
                              ordersequence::sampleRequisites());
    for (auto _ : state) {
        const auto lines = ordersequence::readOrder(channel.excel, name);
        if (lines.size() != kLines)
            state.SkipWithError("the order did not read back whole");
    }
}

void ExportOrderXls(benchmark::State& state) { exportOrder(state, ".xls"); }
void ExportOrderXlsx(benchmark::State& state) { exportOrder(state, ".xlsx"); }
void ImportOrderXls(benchmark::State& state) { importOrder(state, ".xls"); }
void ImportOrderXlsx(benchmark::State& state) { importOrder(state, ".xlsx"); }

BENCHMARK(ExportOrderXls)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ExportOrderXlsx)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ImportOrderXls)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ImportOrderXlsx)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The channel logs the one version read that finds no application yet; keep the output clean.
    qputenv("QT_LOGGING_RULES", "quelb.automation.warning=false");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
