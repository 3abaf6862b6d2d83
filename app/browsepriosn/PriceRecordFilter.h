#pragma once

#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Records.h"

#include <cstdint>

// The price list's per-record selection test, run for each record that passed its tab's
// filter expression.
namespace app {

namespace RecordFilterResult {
constexpr int Accepted = 0;
constexpr int Filtered = 2;
} // namespace RecordFilterResult

// analogues: the window's fk. In analogues mode every record is accepted; otherwise the record
// must pass both the applicability and the manufacturer test of the selection (Q1, Q2).
int PriceRecordFilter(const PriosnRecord& record, uint8_t analogues, const SelectionState& state);

} // namespace app
