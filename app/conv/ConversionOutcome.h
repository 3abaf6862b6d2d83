#pragma once

#include <string>

// How one file's conversion ended. Only Converted replaced the old file; every other outcome
// left it exactly as it was.
namespace app {

struct ConversionOutcome
{
    enum class Result {
        Converted,
        AlreadyCurrent, // the file has a newer layout: nothing to do
        Missing,        // there is no such file: nothing to do
        Cancelled,
        Failed,
    };

    Result result = Result::Converted;
    std::string reason; // Windows-1251; empty for Converted

    bool finished() const { return result != Result::Cancelled && result != Result::Failed; }
};

} // namespace app
