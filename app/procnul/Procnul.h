#pragma once

// Clearing the selection marks at the end of a run: every applicability type (procnul1) and
// every manufacturer (procnul2) is set back to "not marked", so each run starts with none.
namespace app {

class MarkClearing;

// Each returns the response of its batch window.
int procnul1();
int procnul2();

// The per-record operations: the mark to 0 and the record PUT; a failed PUT stops the batch.
int ClearApplicabilityMark(MarkClearing& process);
int ClearManufacturerMark(MarkClearing& process);

} // namespace app
