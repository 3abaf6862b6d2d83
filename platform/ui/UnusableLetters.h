#pragma once

#include <QStringView>

#include <string>

namespace platform::ui {

// The text the person is told when a name or a text holds letters Windows-1251 cannot hold
// (every text inside the program is Windows-1251): which ones, each once.
std::string unusableLettersMessage(const std::u32string& letters, bool fileName);

// Tells the person, in a box, which letters of the text cannot be used; false when there are
// none (nothing is shown).
bool refuseUnusableLetters(QStringView text, bool fileName);

} // namespace platform::ui
