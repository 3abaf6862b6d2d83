#include "bench/PriceRows.h"

#include "platform/text/Cp1251.h"

#include <array>
#include <cstdio>
#include <vector>
#include "platform/text/RealText.h"

namespace bench {

namespace {

using platform::text::w;

// A small fast mixer: the same row index gives the same numbers on every machine.
uint64_t mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

const std::vector<std::string>& table(const std::vector<const char*>& utf8, std::vector<std::string>& cache)
{
    if (cache.empty())
        for (const char* text : utf8)
            cache.push_back(w(text));
    return cache;
}

const std::vector<std::string>& nouns()
{
    static std::vector<std::string> cache;
    return table({"Фильтр масляный", "Фильтр воздушный", "Фильтр топливный", "Фильтр салона",
                  "Колодка тормозная", "Диск тормозной", "Амортизатор", "Свеча зажигания",
                  "Ремень ГРМ", "Ремень приводной", "Ролик натяжной", "Помпа водяная",
                  "Термостат", "Датчик кислорода", "Датчик температуры", "Подшипник ступицы",
                  "Шаровая опора", "Наконечник рулевой тяги", "Тяга стабилизатора",
                  "Сайлентблок", "Прокладка ГБЦ", "Сальник коленвала", "Катушка зажигания",
                  "Лампа", "Щётка стеклоочистителя", "Ёмкость расширительная", "Шланг радиатора",
                  "Радиатор", "Сцепление комплект", "Трос ручника", "Рычаг подвески",
                  "Пыльник ШРУС", "ШРУС наружный", "Опора двигателя", "Глушитель"},
                 cache);
}

const std::vector<std::string>& qualifiers()
{
    static std::vector<std::string> cache;
    return table({"", "передний", "задний", "левый", "правый", "верхний", "нижний",
                  "усиленный", "комплект", "в сборе", "оригинал", "(2 шт.)"},
                 cache);
}

const std::vector<std::string>& groups()
{
    static std::vector<std::string> cache;
    return table({"Фильтры", "Тормозная система", "Подвеска", "Рулевое управление",
                  "Двигатель", "Система охлаждения", "Зажигание", "Электрооборудование",
                  "Трансмиссия", "Выхлопная система", "Кузов", "Освещение", "Стеклоочистители",
                  "Ремни и ролики", "Прокладки и сальники", "Топливная система", "Сцепление",
                  "Датчики", "Крепёж", "Химия и масла"},
                 cache);
}

const std::vector<std::string>& models()
{
    static std::vector<std::string> cache;
    return table({"2101-2107", "2108-21099", "2110-2112", "2113-2115", "1117-1119", "2170-2172",
                  "2190-2192", "2121-21214", "2123", "3110", "31105", "3302", "2705", "2217",
                  "469", "3163", "2141", "412", "1111", "2131"},
                 cache);
}

// Maker names: a syllable table gives a few hundred stable names.
std::string maker(uint64_t n)
{
    static const std::array<const char*, 16> first = {"АВТО", "ТЕХНО", "ПРОМ", "ROS", "KRAFT",
                                                      "МАШ", "NORD", "ВОЛГА", "СТАЛЬ", "ЛИТ",
                                                      "ZEN", "FORT", "УРАЛ", "ДОН", "ALFA", "СИБ"};
    static const std::array<const char*, 16> second = {"ДЕТАЛЬ", "LINE", "ЗАВОД", "PARTS",
                                                       "АГРЕГАТ", "ТРЕЙД", "MOTOR", "КОМ",
                                                       "ПРИВОД", "ТЕХ", "СЕРВИС", "TECH",
                                                       "ЛАЙН", "МОТОРС", "РЕСУРС", "GROUP"};
    return w(std::string(first[n % 16]) + second[(n / 16) % 16]);
}

} // namespace

int32_t PriceRows::code(std::size_t index)
{
    // An affine permutation of 1,000,000 .. 9,999,999 (7919 is prime to 9,000,000).
    return static_cast<int32_t>(1000000 + (static_cast<uint64_t>(index) * 7919 + 12345) % 9000000);
}

void PriceRows::fill(std::size_t index, app::PriosnRecord& record) const
{
    const uint64_t r1 = mix(index);
    const uint64_t r2 = mix(r1);
    const uint64_t r3 = mix(r2);

    record.KOD = code(index);
    char oboz[32];
    if (r1 & 1)
        std::snprintf(oboz, sizeof oboz, "%05u-%07u", static_cast<unsigned>(r1 % 100000),
                      static_cast<unsigned>((r1 >> 20) % 10000000));
    else
        std::snprintf(oboz, sizeof oboz, "%c%c %03u %03u %03u", 'A' + static_cast<int>(r2 % 26),
                      'A' + static_cast<int>((r2 >> 8) % 26), static_cast<unsigned>(r2 % 1000),
                      static_cast<unsigned>((r2 >> 16) % 1000), static_cast<unsigned>((r2 >> 32) % 1000));
    record.OBOZ = oboz;

    const auto& noun = nouns()[r1 % nouns().size()];
    const auto& qualifier = qualifiers()[(r1 >> 8) % qualifiers().size()];
    record.NAIM = qualifier.empty() ? noun : noun + " " + qualifier;

    std::string primen = w("ВАЗ ");
    const std::size_t count = 1 + (r3 % 5);
    for (std::size_t i = 0; i < count; ++i)
        primen += (i ? ", " : "") + models()[(r3 >> (8 * i + 4)) % models().size()];
    record.PRIMEN = primen;

    record.CENA = static_cast<double>(10 + r2 % 2500000) / 100.0;
    record.PROIZV = maker(r3 % 240);
    record.GRUP = groups()[(r1 >> 16) % groups().size()];
    record.KOLVUP = static_cast<int16_t>(1 + (r2 >> 40) % 20);
    record.KODCENA = static_cast<uint8_t>((r3 >> 50) % 3);
    record.KOD2 = (r3 & 7) == 0 ? code(index + 4500000) : 0;
    record.VES = static_cast<double>((r1 >> 33) % 50000) / 1000.0;
}

std::string PriceRows::csvLine(std::size_t index) const
{
    app::PriosnRecord record;
    fill(index, record);
    auto quoted = [](std::string_view text) {
        std::string out = "\"";
        for (const char c : text) {
            out += c;
            if (c == '"')
                out += '"';
        }
        return out + "\"";
    };
    std::string line = std::to_string(record.KOD) + "," + quoted(record.OBOZ.clipped()) + ","
                       + quoted(record.NAIM.clipped()) + "," + quoted(record.PRIMEN.clipped()) + ",";
    line += platform::text::realToText(record.CENA) + "," + quoted(record.PROIZV.clipped()) + ","
            + quoted(record.GRUP.clipped()) + "," + std::to_string(record.KOLVUP) + ","
            + std::to_string(record.KODCENA) + "," + std::to_string(record.KOD2) + ",";
    return line + platform::text::realToText(record.VES) + "\n";
}

} // namespace bench
