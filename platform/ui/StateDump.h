#pragma once

#include <string>

// The visible state of every open window as UTF-8 text, one window after another in the order
// they opened (format: docs/test-driver.md).
namespace platform::ui {

std::string stateDump();

} // namespace platform::ui
