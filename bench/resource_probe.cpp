// Start-up times and peak memory of the whole program over a price list of many items, each
// run in a fresh process (bench/run calls it; peak resident size only ever grows):
//   --prepare=<folder> --rows=<n>   makes priosn.tps of n generated items in the folder
//   --window=<folder> [--load=<text file in the folder>]
//       runs the program there as a user would: the frame, its price-list button, the window's
//       first page, then a second after it opened one character typed in every search tab,
//       each the first in its tab; prints the time from the start of the process to the frame
//       and to the first page, the time of each of those keystrokes and the peak resident
//       size; with --load, then loads the price-list text file from the window (Ctrl+Z, its
//       load dialog), a second after the load the first character in every tab again, and
//       prints those keystrokes and the peak resident size again.
//       --screenshot=<png> takes a picture of the screen with a name searched (X display).
//   --import=<folder> --load=<text file>
//       the same load through the import alone, without the program around it.
// Figures are printed as "name: value unit".
#include "app/dictionary/Dictionary.h"
#include "app/ipmprice/PriceListImport.h"
#include "app/startup/CompiledResources.h"
#include "app/startup/MainProgram.h"
#include "bench/PriceRows.h"
#include "platform/ui/Control.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include "platform/text/RealText.h"

namespace {

const char* const FrameTitle = "Программа заказов ООО \"Автоцентр ТОРН\" (ver 4.1)";
const char* const PriceTitle = "Прайс-лист/Заказ";
const char* const LoadTitle = "Загрузка прайс-листа";

// Seconds since the kernel started this process (its start time is kept in clock ticks).
double sinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 22; ++i)
        fields >> field;
    unsigned long long started = 0;
    fields >> started;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 -
           static_cast<double>(started) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The peak resident size so far, in MB.
double peakResidentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return platform::text::textToReal(std::string_view(line).substr(6)) / 1024.0;
    return -1.0;
}

void print(const char* name, double value, const char* unit)
{
    std::printf("%s: %s %s\n", name, platform::text::realFixedText(value, 1).c_str(), unit);
    std::fflush(stdout);
}

int prepare(const std::string& folder, std::size_t rows)
{
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    app::DictionaryInit();
    auto& file = app::PRIOSN();
    if (file.create() != 0 || file.open() != 0)
        return 1;
    const bench::PriceRows generator;
    file.stream();
    for (std::size_t i = 0; i < rows; ++i) {
        generator.fill(i, file.record<app::PriosnRecord>());
        if (file.add() != 0)
            return 1;
    }
    if (file.flush() != 0 || file.close() != 0)
        return 1;
    app::DictionaryKill();
    return 0;
}

// The program's own import of the price list, alone in the process.
int importOnly(const std::string& folder, const std::string& load)
{
    std::filesystem::current_path(folder);
    app::DictionaryInit();
    app::RelatePRIOSN->open();
    app::RelatePROIZ->open();
    app::PriceListImport import;
    const int code = import.run(load);
    app::RelatePRIOSN->close();
    app::RelatePROIZ->close();
    app::DictionaryKill();
    if (code != 0)
        return 1;
    print("PeakResidentDuringImportAlone", peakResidentMb(), "MB");
    return 0;
}

// Lets the program run (events, timers) for this long; the longest time in milliseconds the
// event loop did not answer meanwhile (a timer of 2 ms late by that much).
double runFor(double seconds)
{
    if (seconds <= 0)
        return 0;
    QEventLoop loop;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    auto last = std::chrono::steady_clock::now();
    double longest = 0;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const auto now = std::chrono::steady_clock::now();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    });
    tick.start(2);
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    return longest;
}

// The search tabs of the price window with their entries and the character typed in each.
struct SearchTab
{
    const char* tab;
    const char* entry;
    const char* name;
    const char* typed;
};
const SearchTab SearchTabs[] = {{"?TAB:5", "?KODSTR2", "Designation", "Q"},
                                {"?TAB:6", "?KODSTR3", "Name", "Q"},
                                {"?TAB:3", "?KODSTR4", "Applicability", "Q"},
                                {"?TAB:4", "?KODSTR5", "Manufacturer", "Q"},
                                {"?TAB:7", "?KODSTR6", "Group", "Q"},
                                {"?TAB:2", "?KS", "Code", "7"}};

// One character typed into the focused search entry as a person types it, timed from the key
// until the list has taken it and the window has drawn what it shows.
double typeOneCharacter(const char* typed)
{
    platform::ui::Window* top = platform::ui::TestDriver::topWindow();
    QWidget* widget = top && top->content() ? top->content()->window() : nullptr;
    if (!widget)
        return -1;
    const auto started = std::chrono::steady_clock::now();
    platform::ui::UserInput::typeText(widget, QString::fromLatin1(typed));
    QCoreApplication::processEvents();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
        .count();
}

// A person's first search in every tab, the first character typed at least a second after
// the moment given (they need that long to reach an entry): each tab, its entry clicked (its
// text taken away), then one character, timed.
void firstSearches(platform::ui::TestDriver& driver, const char* when,
                   const std::chrono::steady_clock::time_point* since)
{
    driver.call([since, when] {
        const double stall = runFor(
            1.0 - std::chrono::duration<double>(std::chrono::steady_clock::now() - *since).count());
        print((std::string("LongestStallWhileCopiesAreMade") + when).c_str(), stall, "ms");
    });
    for (const SearchTab& tab : SearchTabs)
        driver.press(tab.tab).type(tab.entry, "").call([tab, when] {
            const std::string name = std::string("FirstKeystroke") + when + tab.name;
            const double ms = typeOneCharacter(tab.typed);
            platform::ui::Control* entry = platform::ui::TestDriver::findControl(tab.entry);
            if (!entry || entry->text() != tab.typed) {
                std::fprintf(stderr, "%s: the entry does not show what was typed\n", name.c_str());
                std::_Exit(1);
            }
            print(name.c_str(), ms, "ms");
        });
}

int window(int argc, char** argv, const std::string& folder, const std::string& load,
           const std::string& screenshot)
{
    std::filesystem::current_path(folder);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quelbarto"));
    app::CompiledResources resources;
    resources.provide();

    platform::ui::TestDriver driver;
    std::string failure;
    std::chrono::steady_clock::time_point opened, loaded;
    driver.waitOpen(FrameTitle, 30000).call([] {
        print("StartupToFrame", sinceProcessStart() * 1000, "ms");
    });
    driver.menu("?BUTTON1").waitOpen(PriceTitle, 30000).call([&] {
        opened = std::chrono::steady_clock::now();
        platform::ui::Control* list = platform::ui::TestDriver::findControl("?BROWSE:1");
        if (!list || list->rows().empty())
            failure = "the price list shows no rows";
        print("StartupToPriceListFirstPage", sinceProcessStart() * 1000, "ms");
    });
    // One character in every search tab, each the first in its tab since the window opened.
    firstSearches(driver, "AfterOpen", &opened);
    driver.call([] { print("PeakResidentWithPriceWindow", peakResidentMb(), "MB"); });
    // A picture of the screen with a name searched, to look at (needs an X display).
    if (!screenshot.empty())
        driver.press("?TAB:6").type("?KODSTR3", "фильтр сал").call([&] {
            const std::string command = "import -window root '" + screenshot + "'";
            if (std::system(command.c_str()) != 0)
                failure = "no screenshot";
        });
    // The load as the user starts it: Ctrl+Z in the window, the file's name, "load". The
    // searches are taken away first, so that the first character typed after the load is the
    // first search in its tab.
    if (!load.empty()) {
        for (const SearchTab& tab : SearchTabs)
            driver.press(tab.tab).type(tab.entry, "");
        driver.key("", "Ctrl+Z").waitOpen(LoadTitle, 30000).type("?FNAME", load).press("?BUTTON2");
    }
    const auto finish = [&](const std::string& result) {
        if (!result.empty() && failure.empty())
            failure = result;
        if (!failure.empty()) {
            std::fprintf(stderr, "%s\n", failure.c_str());
            for (const std::string& entry : driver.log())
                std::fprintf(stderr, "  %s\n", entry.c_str());
        }
        // The figures are out; the data folder is thrown away, so the program is not closed.
        std::fflush(stdout);
        std::_Exit(failure.empty() ? 0 : 1);
    };
    // The load dialog shows its progress in its title and closes at the end: the price
    // window is then the top window again. Then the first search in every tab again.
    QTimer waitForLoad;
    QObject::connect(&waitForLoad, &QTimer::timeout, &waitForLoad, [&] {
        platform::ui::Window* top = platform::ui::TestDriver::topWindow();
        if (!top || top->title() != platform::text::w(PriceTitle))
            return;
        waitForLoad.stop();
        loaded = std::chrono::steady_clock::now();
        platform::ui::Control* list = platform::ui::TestDriver::findControl("?BROWSE:1");
        if (!list || list->rows().empty())
            failure = "the price list shows no rows after the load";
        firstSearches(driver, "AfterLoad", &loaded);
        driver.call([] { print("PeakResidentWithPriceWindowAndLoad", peakResidentMb(), "MB"); });
        driver.start(finish, 600000);
    });
    driver.start([&](const std::string& result) {
        if (!result.empty() || load.empty())
            finish(result);
        waitForLoad.start(50);
    }, 600000);
    app::MainProgram();
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder, load, screenshot;
    std::size_t rows = 0;
    bool prepareFolder = false;
    bool importFolder = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--prepare=", 10) == 0) {
            folder = argv[i] + 10;
            prepareFolder = true;
        } else if (std::strncmp(argv[i], "--import=", 9) == 0) {
            folder = argv[i] + 9;
            importFolder = true;
        } else if (std::strncmp(argv[i], "--window=", 9) == 0) {
            folder = argv[i] + 9;
        } else if (std::strncmp(argv[i], "--rows=", 7) == 0) {
            rows = std::strtoull(argv[i] + 7, nullptr, 10);
        } else if (std::strncmp(argv[i], "--screenshot=", 13) == 0) {
            screenshot = argv[i] + 13;
        } else if (std::strncmp(argv[i], "--load=", 7) == 0) {
            load = argv[i] + 7;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: %s --prepare=<folder> --rows=<n> | --window=<folder> "
                             "[--load=<file>] | --import=<folder> --load=<file>\n", argv[0]);
        return 2;
    }
    if (prepareFolder)
        return prepare(folder, rows);
    if (importFolder)
        return importOnly(folder, load);
    return window(argc, argv, folder, load, screenshot);
}
