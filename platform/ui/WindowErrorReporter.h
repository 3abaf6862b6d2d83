#pragma once

#include "platform/storage/ErrorReporter.h"

namespace platform::ui {

// The error reporter of a windowed program: a failed file operation is shown in a message box
// captioned "Ошибка", naming the error, the file, the operation and the procedure that ran.
class WindowErrorReporter : public storage::ErrorReporter
{
public:
    void reportFileError(int code, std::string_view file, std::string_view action) override;
};

} // namespace platform::ui
