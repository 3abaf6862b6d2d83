#pragma once

#include "app/ipmprice/PriceListImportReader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace platform::storage {
class ByteFile;
}

namespace app {
struct PriceListTextLine;
}

// Rebuilds the price list PRIOSN and the manufacturer list PROIZ from a price-list text file:
// each line gives one item and marks how its price moved against the stored item of its code
// (0 new or unchanged, 1 cheaper, 2 dearer), each manufacturer named becomes one PROIZ record,
// and the items the file no longer lists are gone. Both files must be open for writing in the
// calling thread.
//
// Every line replaces all the fields of its item, so the list is rebuilt from the file rather
// than updated record by record: the stored prices are remembered, the list is emptied and each
// line is added. The result is the same, in the file's order, and a reload costs what a first
// load costs instead of rewriting every record and its eight index entries.
//
// The whole load is one run of writes over both files committed as one unit at its end, so a
// failure or a killed process leaves the previous lists whole. A file that cannot be opened or
// read, that another process changed during the load, or that holds no price line changes
// nothing.
namespace app {

class PriceListImport
{
public:
    enum class Phase { Initialise, Update };
    // Called every `every` lines or records and at the end of each phase.
    using Progress = std::function<void(Phase phase, int64_t counter)>;

    // Asked before the list is replaced from a file that does not look like a price list (it
    // holds NUL bytes, or more than OddLinesPercent of its lines are not written as price lines;
    // or its bytes form UTF-8 with letters outside ASCII, and true reads it as UTF-8); the text
    // is the question (Windows-1251), true loads the file anyway.
    using Question = std::function<bool(const std::string& text)>;
    static constexpr int64_t OddLinesPercent = 5;
    // The result of a load the question was answered "no" to.
    static constexpr int Declined = -1;

    explicit PriceListImport(Progress progress = {}, int64_t every = 1000);
    // Without a question such a file is refused.
    void setQuestion(Question question) { m_question = std::move(question); }

    // 0 when the load completed; Declined; otherwise the error code, failure() says why
    // (Windows-1251) and the lists are as they were. Messages name the file as shownName (the
    // name the user knows it by) when one is given.
    int run(std::string_view fileName, std::string_view shownName = {});

    const std::string& failure() const { return m_failure; }
    int64_t lines() const { return m_lines; }

private:
    int readStoredPrices();
    int importLines(platform::storage::ByteFile& text);
    int confirmEncoding(platform::storage::ByteFile& text);
    int confirmOddLines();
    int importLine(const PriceListTextLine& line);
    int addManufacturer(std::string_view name);
    const double* storedPrice(int32_t code) const;
    int fail(int code, std::string_view whatUtf8, std::string_view name = {});
    int failWithout(int code, std::string_view whatUtf8, std::string_view name,
                    std::string_view afterUtf8);
    void report(Phase phase, int64_t counter, bool last = false);

    Progress m_progress;
    int64_t m_every;
    Question m_question;
    std::string m_shownName;
    std::string m_failure;
    int64_t m_lines = 0;
    int64_t m_priceLines = 0;
    int64_t m_bytes = 0;
    bool m_asUtf8 = false;
    PriceListImportReader::Shapes m_shapes;
    std::vector<std::pair<int32_t, double>> m_stored; // code and price before the load, by code
    struct NameHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const
        {
            return std::hash<std::string_view>{}(name);
        }
    };
    // Manufacturer names already offered to PROIZ; looked up without a copy of the name.
    std::unordered_set<std::string, NameHash, std::equal_to<>> m_makers;
};

} // namespace app
