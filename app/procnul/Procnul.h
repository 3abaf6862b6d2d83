#pragma once

// Clearing the selection marks at the end of a run: every applicability type (procnul1) and
// every manufacturer (procnul2) is set back to "not marked", so each run starts with none.
#include <string>
#include <string_view>

namespace app {

class MarkClearing;

// Each returns the response of its batch window (cancelled, without walking, while the data
// files are open for reading only or the program is being ended).
int procnul1();
int procnul2();

// The per-record operations: the mark to 0 and the record PUT; a failed PUT stops the batch.
int ClearApplicabilityMark(MarkClearing& process);
int ClearManufacturerMark(MarkClearing& process);

// The message of a PUT that failed (Windows-1251): the reason with its code and the file.
std::string recordNotUpdatedMessage(int code, std::string_view file);

} // namespace app
