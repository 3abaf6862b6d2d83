// Typing one character into a search entry of the price-list window until the first page of
// the list is there again, in each of the six tabs, with a search text that matches many items
// and one that matches none, over price lists of 100k and 1M items. The list is the program's
// own: its sort orders, stored filter texts, reset fields and selection filter over a browse
// list of a page of 17 rows. The same ordered filtered scan (first page, same order, substring
// test) is timed in the SQLite command-line program on the same rows in this run, and the
// ratio printed for the 1M list.
#include "app/browsepriosn/PriceRecordFilter.h"
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/browsepriosn/PriceWindowVariables.h"
#include "app/dictionary/Layouts.h"
#include "app/dictionary/Records.h"
#include "bench/PriceRows.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/ContainsSearch.h"
#include "platform/storage/View.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/CaseTable.h"
#include "platform/ui/list/BrowseList.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include "platform/text/RealText.h"

namespace {

using app::PriosnRecord;
using platform::storage::RecordFile;
using Clock = std::chrono::steady_clock;

constexpr int PageRows = 17;
const char* const TabNames[] = {"Designation", "Name", "Applicability", "Manufacturer", "Group",
                                "Code"};
const char* const Columns[] = {"PR:OBOZ", "PR:NAIM", "PR:PRIMEN", "PR:PROIZV", "PR:GRUP", "PR:KOD"};

const std::string& folder()
{
    static const std::string path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "price-window-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return path;
}

// The price files by size; closed before the program ends, while the storage still runs.
std::map<std::size_t, std::unique_ptr<RecordFile>>& priceFiles()
{
    static std::map<std::size_t, std::unique_ptr<RecordFile>> files;
    return files;
}

// The price file of this many rows, made once per run.
RecordFile& priceFile(std::size_t rows)
{
    auto& file = priceFiles()[rows];
    if (!file) {
        file = std::make_unique<RecordFile>(app::priosnLayout());
        file->setDiskName(folder() + "/priosn" + std::to_string(rows) + ".tps");
        if (file->create() != 0 || file->open() != 0)
            std::abort();
        const bench::PriceRows generator;
        file->stream();
        for (std::size_t i = 0; i < rows; ++i) {
            generator.fill(i, file->record<PriosnRecord>());
            if (file->add() != 0)
                std::abort();
        }
        if (file->flush() != 0)
            std::abort();
    }
    return *file;
}

// A search text found in many rows: the first two characters of row 0's field (the code tab:
// the digit 1), and one found in none (the code tab: eight nines, longer than any code).
std::string searchText(int tab, bool many)
{
    if (tab == 5)
        return many ? "1" : "99999999";
    if (!many)
        return "QQQZZZ";
    PriosnRecord record{};
    bench::PriceRows().fill(0, record);
    std::string_view text;
    switch (tab) {
    case 0: text = record.OBOZ.clipped(); break;
    case 1: text = record.NAIM.clipped(); break;
    case 2: text = record.PRIMEN.clipped(); break;
    case 3: text = record.PROIZV.clipped(); break;
    default: text = record.GRUP.clipped(); break;
    }
    return std::string(text.substr(0, 2));
}

class WindowList : public platform::ui::BrowseList
{
public:
    WindowList(RecordFile& file, app::PriceWindowVariables& variables, int order)
        : BrowseList(file), m_variables(variables), m_order(order)
    {
    }
    bool validateRecord() override
    {
        return app::PriceRecordFilter(file().record<PriosnRecord>(), m_variables.fk,
                                      m_selection) == app::RecordFilterResult::Accepted;
    }
    int chooseSortOrder() override { return m_order; }

private:
    app::PriceWindowVariables& m_variables;
    app::SelectionState m_selection;
    int m_order;
};

void setSearch(app::PriceWindowVariables& v, int tab, const std::string& text)
{
    switch (tab) {
    case 0: v.kodstr2 = text; break;
    case 1: v.kodstr3 = text; break;
    case 2: v.kodstr4 = text; break;
    case 3: v.kodstr5 = text; break;
    case 4: v.kodstr6 = text; break;
    default: v.ks = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10)); break;
    }
}

void TypeOneCharacter(benchmark::State& state)
{
    const auto rows = static_cast<std::size_t>(state.range(0));
    const int tab = static_cast<int>(state.range(1));
    const bool many = state.range(2) != 0;
    RecordFile& file = priceFile(rows);
    app::PriceWindowVariables v;
    platform::storage::Bindings bindings;
    bindings.bind("ks", v.ks);
    bindings.bind("kodstr2", v.kodstr2);
    bindings.bind("kodstr3", v.kodstr3);
    bindings.bind("kodstr4", v.kodstr4);
    bindings.bind("kodstr5", v.kodstr5);
    bindings.bind("kodstr6", v.kodstr6);
    bindings.bind("fk", v.fk);
    bindings.bind("k1", v.k1);
    bindings.bind("k2", v.k2);
    WindowList list(file, v, tab);
    list.setBindings(&bindings);
    list.setPageSize(PageRows);
    for (const app::PriceSortOrder& order : app::priceSortOrders()) {
        platform::ui::SortOrder& added = list.addSortOrder(order.key, std::string(order.filter));
        added.setContainsSearch(std::string(order.searched), std::string(order.sought),
                                std::string(order.searchCondition));
        added.addResetField(v.fk);
        added.addResetField(v.ks);
        added.addResetField(v.kodstr2);
        added.addResetField(v.kodstr3);
        added.addResetField(v.kodstr4);
        added.addResetField(v.kodstr5);
        added.addResetField(v.kodstr6);
        added.addResetField(v.PriceResetToggle);
    }
    const std::string full = searchText(tab, many);
    const std::string typedBefore = full.substr(0, full.size() - 1);
    list.load();
    // The list has its search copies made beside it as it opens (SearchCopyBuild times one);
    // the keystrokes are timed once they are made, and nothing else runs meanwhile.
    for (int order = 0; order < list.sortOrders(); ++order)
        if (const auto search = list.sortOrder(order).containsSearch(file, &bindings))
            search->index().refresh();
    setSearch(v, tab, full);
    list.reset(false);
    int shown = 0;
    for (auto _ : state) {
        setSearch(v, tab, typedBefore);
        list.reset(false);
        const auto started = Clock::now();
        setSearch(v, tab, full);
        list.reset(false);
        shown = list.model().rows();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
    if (many ? shown == 0 : shown != 0)
        state.SkipWithError("unexpected rows on the first page");
    state.SetLabel(std::string(TabNames[tab]) + (many ? " many" : " none") + ", " +
                   std::to_string(shown) + " rows shown");
}

// Making a tab's search copy over the file, as it is made beside the window when it opens and
// after a load (or where a search needs it at once).
void SearchCopyBuild(benchmark::State& state)
{
    const auto rows = static_cast<std::size_t>(state.range(0));
    const int tab = static_cast<int>(state.range(1));
    RecordFile& file = priceFile(rows);
    const app::PriceSortOrder& order = app::priceSortOrders()[static_cast<std::size_t>(tab)];
    std::size_t bytes = 0;
    for (auto _ : state) {
        platform::storage::ContainsIndex index(file, order.key, std::string(order.searched));
        const auto started = Clock::now();
        if (!index.refresh())
            state.SkipWithError("no copy made");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
        bytes = index.memoryBytes();
    }
    state.counters["MB/copy"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.SetLabel(TabNames[tab]);
}

// The records every tab lists for a few search texts, through the copy and through the
// storage's own filtered walk, compared one by one; an error names the first difference.
void SearchResultsAgree(benchmark::State& state)
{
    const auto rows = static_cast<std::size_t>(state.range(0));
    RecordFile& file = priceFile(rows);
    app::PriceWindowVariables v;
    platform::storage::Bindings bindings;
    bindings.bind("ks", v.ks);
    bindings.bind("kodstr2", v.kodstr2);
    bindings.bind("kodstr3", v.kodstr3);
    bindings.bind("kodstr4", v.kodstr4);
    bindings.bind("kodstr5", v.kodstr5);
    bindings.bind("kodstr6", v.kodstr6);
    bindings.bind("fk", v.fk);
    bindings.bind("k1", v.k1);
    bindings.bind("k2", v.k2);
    std::size_t compared = 0;
    int searches = 0;
    for (auto _ : state) {
        for (int tab = 0; tab < 6; ++tab) {
            const app::PriceSortOrder& order = app::priceSortOrders()[static_cast<std::size_t>(tab)];
            auto search = std::make_shared<platform::storage::ContainsSearch>(
                file, order.key, std::string(order.searched), std::string(order.sought),
                std::string(order.searchCondition), &bindings);
            PriosnRecord sample{};
            bench::PriceRows().fill(rows / 3, sample);
            const std::string samples[] = {
                searchText(tab, false), searchText(tab, true),
                tab == 5 ? std::to_string(sample.KOD).substr(2, 4)
                         : std::string(tab == 0   ? sample.OBOZ.clipped().substr(3, 4)
                                       : tab == 1 ? sample.NAIM.clipped().substr(2, 5)
                                       : tab == 2 ? sample.PRIMEN.clipped().substr(4, 6)
                                       : tab == 3 ? sample.PROIZV.clipped().substr(1, 4)
                                                  : sample.GRUP.clipped().substr(2, 4))};
            for (const std::string& text : samples) {
                setSearch(v, tab, platform::text::lower(text));
                std::vector<int64_t> listed[2];
                for (int through = 0; through < 2; ++through) {
                    platform::storage::View view(file, order.key);
                    view.setFilter(order.filter, &bindings);
                    if (through)
                        view.setContainsSearch(search);
                    view.setStart();
                    while (view.next() == 0)
                        listed[through].push_back(file.position());
                }
                ++searches;
                compared += listed[0].size();
                if (listed[0] != listed[1])
                    state.SkipWithError((std::string(TabNames[tab]) + " \"" + text + "\" differs")
                                            .c_str());
            }
            setSearch(v, tab, "");
        }
    }
    state.counters["records/compared"] = static_cast<double>(compared);
    state.counters["searches/compared"] = searches;
}

void arguments(benchmark::internal::Benchmark* b)
{
    for (long rows : {100000L, 1000000L})
        for (long tab = 0; tab < 6; ++tab)
            for (long many : {1L, 0L})
                b->Args({rows, tab, many});
}


// ---- the same scans in the SQLite command-line program -------------------------------------

std::string cliDatabase(std::size_t rows)
{
    const std::string base = folder() + "/cli" + std::to_string(rows);
    const std::string db = base + ".db";
    if (std::filesystem::exists(db))
        return db;
    {
        std::ofstream csv(base + ".csv", std::ios::binary);
        const bench::PriceRows generator;
        for (std::size_t i = 0; i < rows; ++i)
            csv << generator.csvLine(i);
    }
    std::ofstream sql(base + ".sql");
    sql << "PRAGMA cache_size = -65536;\n"
           "CREATE TABLE records (\"PR:KOD\" INTEGER, \"PR:OBOZ\" TEXT, \"PR:NAIM\" TEXT, "
           "\"PR:PRIMEN\" TEXT, \"PR:CENA\" REAL, \"PR:PROIZV\" TEXT, \"PR:GRUP\" TEXT, "
           "\"PR:KOLVUP\" INTEGER, \"PR:KODCENA\" INTEGER, \"PR:KOD2\" INTEGER, \"PR:VES\" REAL);\n";
    for (int tab = 0; tab < 6; ++tab)
        sql << "CREATE INDEX k" << tab << " ON records (\"" << Columns[tab] << "\""
            << (tab == 5 ? "" : " COLLATE NOCASE") << ");\n";
    sql << ".mode csv\nBEGIN;\n.import " << base << ".csv records\nCOMMIT;\n";
    sql.close();
    const std::string command = "sqlite3 " + db + " < " + base + ".sql";
    if (std::system(command.c_str()) != 0)
        std::abort();
    std::filesystem::remove(base + ".csv");
    return db;
}

// Milliseconds of the first page of the ordered filtered scan (mean of three after a warm run).
double cliScan(std::size_t rows, int tab, bool many)
{
    const std::string db = cliDatabase(rows);
    const std::string text = searchText(tab, many);
    const std::string column = std::string("\"") + Columns[tab] + "\"";
    const std::string tested = tab == 5 ? "CAST(" + column + " AS TEXT)" : "upper(" + column + ")";
    const std::string query = "SELECT * FROM records INDEXED BY k" + std::to_string(tab) +
                              " WHERE instr(" + tested + ", upper('" + text + "')) > 0 ORDER BY " +
                              column + (tab == 5 ? "" : " COLLATE NOCASE") + ", rowid LIMIT " +
                              std::to_string(PageRows) + ";";
    const std::string script = folder() + "/scan.sql";
    {
        std::ofstream out(script);
        out << "PRAGMA cache_size = -65536;\n.output /dev/null\n.timer on\n";
        for (int i = 0; i < 4; ++i)
            out << query << "\n";
    }
    const std::string command = "sqlite3 " + db + " < " + script + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1.0;
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    pclose(pipe);
    const std::regex runTime("Run Time: real ([0-9.]+)");
    std::vector<double> times;
    for (auto it = std::sregex_iterator(output.begin(), output.end(), runTime);
         it != std::sregex_iterator(); ++it)
        times.push_back(platform::text::textToReal((*it)[1].str()) * 1000.0);
    if (times.size() != 4)
        return -1.0;
    return (times[1] + times[2] + times[3]) / 3.0;
}

void SqliteCliFirstPage(benchmark::State& state)
{
    const auto rows = static_cast<std::size_t>(state.range(0));
    const int tab = static_cast<int>(state.range(1));
    const bool many = state.range(2) != 0;
    const double ms = cliScan(rows, tab, many);
    if (ms < 0) {
        state.SkipWithError("sqlite3 did not run the scan");
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(ms / 1000.0);
    state.SetLabel(std::string(TabNames[tab]) + (many ? " many" : " none"));
}

BENCHMARK(TypeOneCharacter)->Apply(arguments)->Iterations(5)->UseManualTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(SearchCopyBuild)
    ->ArgsProduct({{1000000}, {0, 1, 2, 3, 4, 5}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SearchResultsAgree)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteCliFirstPage)->Apply(arguments)->Iterations(1)->UseManualTime()->Unit(
    benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (auto& [rows, file] : priceFiles())
        file->close();
    priceFiles().clear();
    std::filesystem::remove_all(folder());
    return 0;
}
