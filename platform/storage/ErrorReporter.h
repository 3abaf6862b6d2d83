#pragma once

#include <string>
#include <string_view>
#include <vector>

// The process-wide error reporter: windows register their procedure names while they run, and
// file managers report failed operations through it. The windowing runtime installs a reporter
// that shows a message box; the default writes to standard error.
namespace platform::storage {

class ErrorReporter
{
public:
    virtual ~ErrorReporter() = default;

    void init();
    void kill();

    void pushProcedure(std::string name);
    void popProcedure(std::string_view name);
    std::string currentProcedure() const;

    // code and file as in the error state; action says what was attempted ("Open", "Add" ...).
    virtual void reportFileError(int code, std::string_view file, std::string_view action);

private:
    std::vector<std::string> m_procedures;
};

} // namespace platform::storage
