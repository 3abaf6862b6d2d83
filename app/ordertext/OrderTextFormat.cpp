#include "app/ordertext/OrderTextFormat.h"

#include "app/ordertext/OrderNumbers.h"
#include "platform/text/Cp1251.h"
#include "platform/text/RealText.h"

namespace app {
namespace {

using platform::text::realToText;
using platform::text::w;

constexpr std::size_t kReadLineSize = 500;
constexpr std::size_t kFieldSize = 200;

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string_view withoutLeadingBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return text;
}

template <std::size_t N> std::string value(const platform::text::FixedString<N>& field)
{
    return field.str();
}

// A NUL byte ends a text: nothing after it reaches the record.
std::string_view untilNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

void storeField(KorzakRecord& record, int position, std::string_view text)
{
    switch (position) {
    case 1:
        record.KOD = isCompleteNumber(text) ? truncatedLong(decimalNumber(text)) : 0;
        break;
    case 2:
        record.OBOZ = withoutTrailingBlanks(untilNul(text));
        break;
    case 3:
        record.NAIM = withoutTrailingBlanks(untilNul(text));
        break;
    case 4:
        record.PROIZV = withoutTrailingBlanks(untilNul(text));
        break;
    case 5:
        record.KOL = truncatedShort(decimalNumber(text));
        break;
    case 6:
        record.CENA = leadingReal(text);
        break;
    default: // the seventh and later fields before the last are not read
        break;
    }
}

} // namespace

std::string orderFileLine(std::string_view line)
{
    std::string out(withoutTrailingBlanks(line.substr(0, kOrderLineSize)));
    out += "\r\n";
    return out;
}

std::vector<std::string> orderHeaderLines(const RekvRecord& r, std::string_view comment)
{
    const std::string note(withoutTrailingBlanks(comment));
    return {
        w("#Заказчик: ") + value(r.NAIM),
        w("#Адрес: ") + value(r.ADR),
        w("#ИНН: ") + value(r.INN),
        w("#Телефон: ") + value(r.TEL) + w("   E-mail:") + value(r.EMAIL),
        w("#Контактное лицо: ") + value(r.KONT),
        w("#Банк: ") + value(r.BANKNAIM),
        w("#БИК: ") + value(r.BIK) + w("   Р/сч:") + value(r.RS) + w("   Корр/сч:") + value(r.KS),
        w("#Комментарий к заказу: ") + note,
    };
}

std::string orderBasketLine(const KorzakRecord& k)
{
    return std::to_string(k.KOD) + ';' + value(k.OBOZ) + ';' + value(k.NAIM) + ';' +
           value(k.PROIZV) + ';' + std::to_string(k.KOL) + ';' + realToText(k.CENA) + ';' +
           realToText(k.SUMMA);
}

std::vector<std::string> orderFileLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char c : bytes) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        if (line.size() < kReadLineSize)
            line += c;
    }
    return lines;
}

std::optional<KorzakRecord> orderLineRecord(std::string_view line)
{
    line = withoutLeadingBlanks(line);
    if (!line.empty() && line.front() == '#')
        return std::nullopt;
    line = withoutTrailingBlanks(line);

    KorzakRecord record{}; // numbers 0 (the pack size too), texts blank

    std::string field;
    int position = 1;
    for (const char c : line) {
        if (c == ';') {
            storeField(record, position++, withoutTrailingBlanks(field));
            field.clear();
        } else if (field.size() < kFieldSize) {
            field += c;
        }
    }
    // The text after the last ";" is the sum, however many fields came before it.
    record.SUMMA = leadingReal(withoutTrailingBlanks(field));
    // A negative quantity is no order: the line is not taken into the basket.
    if (record.KOD == 0 || record.KOL < 0)
        return std::nullopt;
    return record;
}

} // namespace app
