#include "app/ipmprice/PriceListImport.h"

#include "app/dictionary/Dictionary.h"
#include "app/ipmprice/PriceListImportReader.h"
#include "app/ipmprice/PriceListTextLine.h"
#include "app/startup/ErrorCodeTexts.h"
#include "platform/storage/ByteFile.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Utf8Stream.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace app {
namespace {

using platform::storage::ByteFile;
using platform::text::w;

constexpr int EndOfFile = 33;
constexpr int DuplicateKey = 40;
constexpr int SourceChanged = 64;
constexpr int NoPriceLines = 13;

std::string codeText(int code)
{
    for (const auto& [number, text] : ErrorCodeTexts())
        if (number == code)
            return w(text);
    return w("код ") + std::to_string(code);
}

// A folder, a pipe, a device: something that is there but is no file to read a list from.
bool isSomethingElseThanAFile(std::string_view name)
{
    std::error_code error;
    const auto status = std::filesystem::status(platform::storage::resolveFileName(name), error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

std::string_view withoutLeadingBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

} // namespace

PriceListImport::PriceListImport(Progress progress, int64_t every)
    : m_progress(std::move(progress)), m_every(every > 0 ? every : 1)
{
}

int PriceListImport::fail(int code, std::string_view whatUtf8, std::string_view name)
{
    m_failure = w(whatUtf8);
    if (!name.empty())
        m_failure += std::string(name);
    m_failure += " (" + codeText(code) + ")";
    return code;
}

void PriceListImport::report(Phase phase, int64_t counter, bool last)
{
    if (m_progress && (last || counter % m_every == 0))
        m_progress(phase, counter);
}

int PriceListImport::failWithout(int code, std::string_view whatUtf8, std::string_view name,
                                 std::string_view afterUtf8)
{
    m_failure = w(whatUtf8) + std::string(name) + w(afterUtf8);
    return code;
}

int PriceListImport::run(std::string_view fileName, std::string_view shownName)
{
    m_shownName = std::string(shownName.empty() ? fileName : shownName);
    m_failure.clear();
    m_lines = 0;
    m_priceLines = 0;
    m_bytes = 0;
    m_asUtf8 = false;
    m_shapes = {};
    m_stored.clear();
    m_makers.clear();

    // Held open with others denied writing from the start to the end of the load; whether
    // someone changed it anyway is checked at its end.
    ByteFile text(1);
    text.setDiskName(std::string(fileName));
    if (isSomethingElseThanAFile(fileName))
        return failWithout(5, "Ошибка открытия файла ", m_shownName, " (это не файл)");
    if (const int code = text.open(0x20))
        return fail(code, "Ошибка открытия файла ", m_shownName);

    RecordFile& prices = PRIOSN();
    RecordFile& makers = PROIZ();
    if (prices.isReadOnly() || makers.isReadOnly()) {
        text.close();
        return fail(5, "Прайс-лист открыт только для чтения");
    }
    // Both lists change as one unit: a failure or a killed process leaves both as they were.
    int code = prices.stream(makers);
    if (code != 0) {
        text.close();
        return fail(code, "Ошибка записи прайс-листа");
    }
    // The list is emptied and filled without the keys that allow duplicates; they are built
    // once at the end, inside the run.
    if ((code = prices.beginBulkFill()) != 0)
        fail(code, "Ошибка записи прайс-листа");
    if (code == 0)
        code = readStoredPrices();
    if (code == 0 && (code = prices.empty()) != 0)
        fail(code, "Ошибка записи прайс-листа");
    if (code == 0 && (code = makers.empty()) != 0)
        fail(code, "Ошибка записи списка производителей");
    if (code == 0)
        code = importLines(text);
    if (code == 0 && m_priceLines == 0)
        code = failWithout(NoPriceLines, "В файле ", m_shownName, " нет строк прайс-листа");
    // Asked before the keys are built: a "no" spares that work.
    if (code == 0)
        code = confirmEncoding(text);
    if (code == 0)
        code = confirmOddLines();
    if (code == 0 && (code = prices.endBulkFill()) != 0)
        fail(code, "Ошибка записи прайс-листа");
    // Checked last, the time the question was open included.
    if (code == 0 && (m_bytes != text.sizeAtOpen() || !text.unchangedSinceOpen()))
        code = failWithout(SourceChanged, "Файл ", m_shownName, " изменён во время загрузки");
    text.close();
    if (code != 0) {
        makers.discard();
        prices.discard();
        return code;
    }
    // The second flush commits both files.
    const int flushedMakers = makers.flush();
    const int flushedPrices = prices.flush();
    if (flushedMakers != 0 || flushedPrices != 0)
        return fail(flushedPrices != 0 ? flushedPrices : flushedMakers, "Ошибка записи прайс-листа");
    return 0;
}

// The price of every stored item by code. Items of code 0 are left out: no line can meet them.
int PriceListImport::readStoredPrices()
{
    RecordFile& prices = PRIOSN();
    m_stored.reserve(static_cast<std::size_t>(std::max<int64_t>(prices.records(), 0)));
    prices.send("QUICKSCAN=on");
    int code = prices.setFileOrder();
    int64_t counter = 0;
    while (code == 0 && (code = prices.next()) == 0) {
        ++counter;
        report(Phase::Initialise, counter);
        if (PR().KOD != 0)
            m_stored.emplace_back(PR().KOD, PR().CENA);
    }
    prices.send("QUICKSCAN=off");
    report(Phase::Initialise, counter, true);
    if (code != EndOfFile)
        return fail(code, "Ошибка чтения прайс-листа");
    std::sort(m_stored.begin(), m_stored.end());
    return 0;
}

const double* PriceListImport::storedPrice(int32_t code) const
{
    const auto it = std::lower_bound(m_stored.begin(), m_stored.end(),
                                     std::pair<int32_t, double>(code, -HUGE_VAL));
    return it != m_stored.end() && it->first == code ? &it->second : nullptr;
}

int PriceListImport::importLines(ByteFile& text)
{
    int code = text.setToStart();
    if (code != 0)
        return fail(code, "Ошибка чтения файла ", m_shownName);
    // The lines are read and parsed on the reader's thread while this one writes.
    PriceListImportReader reader(text, m_asUtf8);
    PriceListImportReader::Batch batch;
    while (reader.next(batch)) {
        for (std::size_t i = 0; i < batch.count; ++i) {
            const PriceListImportReader::Line& line = batch.lines[i];
            ++m_lines;
            report(Phase::Update, m_lines);
            if (line.blank)
                continue; // an empty line carries no item
            if (line.priceLine)
                ++m_priceLines;
            if (const int failed = importLine(line.fields))
                return failed;
        }
    }
    report(Phase::Update, m_lines, true);
    m_bytes = reader.bytes();
    m_shapes = reader.shapes();
    if ((code = reader.code()) != 0)
        return fail(code, "Ошибка чтения файла ", m_shownName);
    return 0;
}

namespace {

// A line as a person can read it in a message: control bytes (a NUL among them) shown as "?".
std::string shownLine(std::string_view line)
{
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    std::string shown(line.substr(0, 60));
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return shown;
}

} // namespace

// Cyrillic written in Windows-1251 hardly ever forms valid UTF-8: a file whose bytes do, with
// letters outside ASCII, was saved in UTF-8, and read as it is every name would be garbled. The
// user decides; a "yes" reads the file again as UTF-8, into the emptied lists.
int PriceListImport::confirmEncoding(ByteFile& text)
{
    if (!m_shapes.looksUtf8)
        return 0;
    const std::string found = w("Файл ") + m_shownName +
                              w(" похож на файл в кодировке UTF-8, а не Windows-1251");
    if (!m_question) {
        m_failure = found;
        return NoPriceLines;
    }
    std::string example;
    platform::text::Utf8Stream firstWide;
    firstWide.take(m_shapes.firstWide, &example);
    firstWide.finish(&example);
    const std::string question = found + w(", например: ") + shownLine(example) +
                                 w(". Прочитать его как UTF-8 и загрузить прайс-лист?");
    if (!m_question(question))
        return Declined;
    RecordFile& prices = PRIOSN();
    RecordFile& makers = PROIZ();
    if (const int code = prices.empty())
        return fail(code, "Ошибка записи прайс-листа");
    if (const int code = makers.empty())
        return fail(code, "Ошибка записи списка производителей");
    m_makers.clear();
    m_lines = 0;
    m_priceLines = 0;
    m_asUtf8 = true;
    return importLines(text);
}

// Any line may be read, but a file that holds NUL bytes or whose lines are mostly not written
// as price lines (random bytes, an order file, a text of another kind) is most likely the
// wrong file: the user decides before the list is replaced.
int PriceListImport::confirmOddLines()
{
    if (!m_shapes.heldNul && m_shapes.odd * 100 <= m_shapes.lines * OddLinesPercent)
        return 0;
    const std::string found = w("В файле ") + m_shownName + " " + std::to_string(m_shapes.odd) +
                              w(" из ") + std::to_string(m_shapes.lines) +
                              w(" строк не похожи на строки прайс-листа");
    if (!m_question) {
        m_failure = found;
        return NoPriceLines;
    }
    const std::string example = w(", например: ") + shownLine(m_shapes.firstOdd);
    const std::string question = found + example + w(". Загрузить прайс-лист из этого файла?");
    return m_question(question) ? 0 : Declined;
}

namespace {

uint8_t priceMark(double price, double before)
{
    return price < before ? 1 : price > before ? 2 : 0;
}

} // namespace

int PriceListImport::importLine(const PriceListTextLine& fields)
{
    const PriceListTextLine* line = &fields;
    if (const int code = addManufacturer(withoutLeadingBlanks(line->manufacturer)))
        return code;

    RecordFile& prices = PRIOSN();
    PriosnRecord& record = PR();
    const auto fill = [&](uint8_t mark) {
        prices.clearBuffer();
        record.KOD = line->code;
        record.OBOZ = line->designation;
        record.NAIM = line->name;
        record.PRIMEN = line->applicability;
        record.PROIZV = line->manufacturer;
        record.GRUP = line->group;
        record.KOLVUP = line->packQuantity;
        record.CENA = line->price;
        record.KODCENA = mark;
        record.KOD2 = line->secondCode;
        record.VES = line->weight;
    };
    // Code 0 is outside the code key: such a line never meets a stored item.
    const double* before = line->code != 0 ? storedPrice(line->code) : nullptr;
    fill(before ? priceMark(line->price, *before) : 0);
    int code = prices.add();
    if (code == DuplicateKey) {
        // An earlier line of this file had the code: the last line wins, marked against the
        // earlier line's price.
        record.KOD = line->code;
        code = prices.get(PR_pokod);
        if (code == 0) {
            const double earlier = record.CENA;
            fill(priceMark(line->price, earlier));
            code = prices.put();
        }
    }
    if (code != 0)
        return fail(code, "Ошибка записи прайс-листа");
    return 0;
}

// Every name once: a name already present (letter case ignored) is refused by the name key and
// that refusal is expected. A blank name is outside that key; it is added once as well, not
// once per line that leaves the manufacturer empty.
int PriceListImport::addManufacturer(std::string_view name)
{
    if (m_makers.find(name) != m_makers.end())
        return 0;
    m_makers.emplace(name);
    RecordFile& makers = PROIZ();
    makers.clearBuffer();
    P().NAIM = name;
    P().M = 0;
    const int code = makers.add();
    if (code != 0 && code != DuplicateKey)
        return fail(code, "Ошибка записи списка производителей");
    return 0;
}

} // namespace app
