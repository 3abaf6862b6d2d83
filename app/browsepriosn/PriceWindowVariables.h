#pragma once

#include "platform/text/FixedString.h"

#include <cstdint>
#include <string>

// The window-local variables of the price-list window that its lists, filters and commands
// share; the filter texts read the search ones by name.
namespace app {

struct PriceWindowVariables
{
    int32_t ks = 0;
    platform::text::FixedString<50> kodstr2;
    platform::text::FixedString<50> kodstr3;
    platform::text::FixedString<200> kodstr4;
    platform::text::FixedString<50> kodstr5;
    platform::text::FixedString<30> kodstr6;
    uint8_t fk = 0; // analogues mode
    int32_t k1 = 0;
    int32_t k2 = 0;
    platform::text::FixedString<50> pz;
    uint8_t v = 0;
    // Row marks.
    platform::text::FixedString<1> strcena;
    platform::text::FixedString<1> fotoex;
    platform::text::FixedString<1> fotoex1;
    double ve = 0.0;
    // Flipped (3 minus the old value) to make a list read its rows again.
    uint8_t PriceResetToggle = 3;
    uint8_t BasketResetToggle = 2;
    // Totals of the basket.
    int32_t TotalQuantity = 0;
    double TotalSum = 0.0;
    double TotalWeight = 0.0;
    int32_t lineCount = 0;
    platform::text::FixedString<30> STRZAGRUZ;
    std::string params; // ItemOrderParams / BasketLineParams
    platform::text::FixedString<200> orderFileName;
    platform::text::FixedString<55> SelectionResultString;
    uint8_t FitPending = 0;
    std::string photoFolder; // REK:FOTOKAT, read once at Init
};

inline void flip(uint8_t& toggle)
{
    toggle = static_cast<uint8_t>(3 - toggle);
}

} // namespace app
