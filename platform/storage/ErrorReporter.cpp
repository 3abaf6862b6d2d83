#include "platform/storage/ErrorReporter.h"

#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"

#include <algorithm>
#include <cstdio>

namespace platform::storage {

void ErrorReporter::init() { m_procedures.clear(); }

void ErrorReporter::kill() { m_procedures.clear(); }

void ErrorReporter::pushProcedure(std::string name) { m_procedures.push_back(std::move(name)); }

void ErrorReporter::popProcedure(std::string_view name)
{
    // Windows may end out of order: the latest registration of the name goes.
    const auto it = std::find(m_procedures.rbegin(), m_procedures.rend(), name);
    if (it != m_procedures.rend())
        m_procedures.erase(std::next(it).base());
}

std::string ErrorReporter::currentProcedure() const
{
    return m_procedures.empty() ? std::string() : m_procedures.back();
}

void ErrorReporter::reportFileError(int code, std::string_view file, std::string_view action)
{
    // Texts are Windows-1251 inside the program; the terminal reads UTF-8.
    const std::string line = currentProcedure() + ": " + std::string(action) + " " + std::string(file)
                             + ": " + std::to_string(code) + " " + errorTextOf(code);
    std::fprintf(stderr, "%s\n", text::cp1251ToUtf8(line).c_str());
}

} // namespace platform::storage
