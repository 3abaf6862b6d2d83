#pragma once

#include "platform/storage/Layout.h"
#include "platform/text/Cp1251.h"
#include "platform/text/FixedString.h"

#include <cstdint>
#include <string_view>

// A small price record with the fields the price-list filters use, for filter and view tests.
namespace pricetest {

using platform::text::FixedString;

#pragma pack(push, 1)
struct PriceRecord
{
    int32_t KOD;
    FixedString<50> OBOZ;
    FixedString<50> NAIM;
    FixedString<200> PRIMEN;
    FixedString<50> PROIZV;
    FixedString<30> GRUP;
    int32_t KOD2;
    int16_t KOLVUP;
    uint8_t KODCENA;
    double CENA;
};
#pragma pack(pop)

inline platform::storage::FileLayout priceLayout()
{
    using Builder = platform::storage::LayoutBuilder<PriceRecord>;
    const Builder::KeyAttributes duplicatesNoCase{false, true, false, false};
    return Builder("PRICE", "PR")
        .field("KOD", &PriceRecord::KOD)
        .field("OBOZ", &PriceRecord::OBOZ)
        .field("NAIM", &PriceRecord::NAIM)
        .field("PRIMEN", &PriceRecord::PRIMEN)
        .field("PROIZV", &PriceRecord::PROIZV)
        .field("GRUP", &PriceRecord::GRUP)
        .field("KOD2", &PriceRecord::KOD2)
        .field("KOLVUP", &PriceRecord::KOLVUP)
        .field("KODCENA", &PriceRecord::KODCENA)
        .field("CENA", &PriceRecord::CENA)
        .key("pokod", {"KOD"}, {true, false, false, true})
        .key("ponaim", {"NAIM"}, duplicatesNoCase)
        .key("pooboz", {"OBOZ"}, duplicatesNoCase)
        .build();
}

// Texts given in UTF-8 and stored as Windows-1251.
inline PriceRecord price(int32_t kod, std::string_view naim, int32_t kod2 = 0,
                         std::string_view oboz = {}, std::string_view primen = {},
                         std::string_view proizv = {}, std::string_view grup = {})
{
    using platform::text::w;
    PriceRecord r{};
    r.KOD = kod;
    r.OBOZ = w(oboz);
    r.NAIM = w(naim);
    r.PRIMEN = w(primen);
    r.PROIZV = w(proizv);
    r.GRUP = w(grup);
    r.KOD2 = kod2;
    r.KOLVUP = 1;
    r.KODCENA = 0;
    r.CENA = 0;
    return r;
}

} // namespace pricetest
