#pragma once

#include "platform/text/FixedString.h"

#include <cstdint>
#include <string>
#include <string_view>

// The selection of the price list, global to the program: written on the price-list window's
// thread from the selection dialog's result, read by the price list's record filter. Q1 and Q2
// (app/dictionary/SelectionQueues.h) hold the marked names.
namespace app {

struct SelectionState
{
    uint8_t applicabilityMode = 0; // 0 all, 1 by phrase, 2 by the marked applicability types
    uint8_t manufacturerMode = 0;  // 0 all, 1 by the marked manufacturers
    platform::text::FixedString<50> phrase;
    uint8_t showOnlyMarkedTypes = 0;
    uint8_t showOnlyMarkedManufacturers = 0;
};

SelectionState& Selection();

// The dialog's result (55 characters): 1 applicability mode, 2 manufacturer mode, 3-52 the
// phrase, 53 and 54 the two "only marked" flags, each single character read as a number.
// False, changing nothing, when the result is blank.
bool applySelectionResult(std::string_view result, SelectionState& state);

// Q1 from the marked applicability types (upper-cased), Q2 from the marked manufacturers (as
// stored), each in file order; the files are open.
void fillQ1FromMarks();
void fillQ2FromMarks();

// The selection button's caption (UTF-8), text colour and tooltip (Windows-1251, CR LF).
std::string selectionCaption(const SelectionState& state);
int32_t selectionColour(const SelectionState& state);
std::string selectionTooltip(const SelectionState& state);

} // namespace app
