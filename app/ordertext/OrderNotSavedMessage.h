#pragma once

#include <string>
#include <string_view>

namespace app {

// What the user is told when an order file could not be written, whatever its format: the
// runtime's text of the code and the code ("Нет места на диске (39)"), or the writer's own words
// when it gave no code; a failed save always leaves the previous file of that name as it was.
// Windows-1251.
std::string orderNotSavedMessage(std::string_view fileName, int code, std::string_view reason = {});

} // namespace app
