#pragma once

#include <string>
#include <string_view>

// The error state every caller tests right after an operation: a code (0 = success) and the
// disk name of the file that caused the last error (empty when none); one per logical thread.
namespace platform::storage {

namespace Error {
constexpr int None = 0;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int OutOfMemory = 8;
constexpr int QueueEntryNotFound = 30;
constexpr int RecordNotAvailable = 33;
constexpr int RecordNotFound = 35;
constexpr int DamagedDataFile = 36;
constexpr int FileNotOpen = 37;
constexpr int DuplicateKey = 40;
constexpr int BadFileName = 45;
constexpr int InvalidLayout = 47;
constexpr int FileAlreadyOpen = 52;
constexpr int ExclusiveAccessRequired = 63;
constexpr int SharingViolation = 64;
constexpr int StreamError = 97;
constexpr int BadExpression = 800;
constexpr int UnknownVariable = 801;
// A write that found no room (full disk, quota, file size limit).
constexpr int DiskFull = 39;
// A read the disk could not carry out.
constexpr int ReadError = 23;
// Any other failure of the storage engine.
constexpr int DriverError = 90;
} // namespace Error

int errorCode();
std::string errorFile();
// The text of the current code (see errorTextOf).
std::string errorText();

void setError(int code, std::string_view file = {});
void clearError();

// Texts of the codes (Windows-1251), set through the locale at start; a code without a text
// gives "Error <code>".
std::string errorTextOf(int code);
void setErrorText(int code, std::string_view text);

} // namespace platform::storage
