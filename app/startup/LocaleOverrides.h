#pragma once

#include "platform/ui/Locale.h"

#include <span>
#include <utility>

// The program's Russian locale: the entries of the locale service, the texts of the storage's
// error codes, the three editing key aliases and the Cyrillic font character set.
namespace app {

// The entries in the order they are set (values UTF-8).
std::span<const std::pair<platform::ui::LocaleEntry, const char*>> LocaleOverrideTable();

// Ctrl+Insert, Shift+Insert and Shift+Delete delivered as Ctrl+C, Ctrl+V and Ctrl+X.
std::span<const std::pair<int, int>> KeyAliasTable();

inline constexpr int CyrillicCharSet = 204;

// Sets the entries, then the error texts.
void SetLocaleOverrides();
void SetKeyAliases();

} // namespace app
