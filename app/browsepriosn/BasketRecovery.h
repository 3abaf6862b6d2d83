#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The basket holds the user's order, so a damaged basket file is not simply made anew: every
// line that can still be read goes into a new basket, and the damaged file is kept as
// "korzak.tps.bad" (or the next free name of "korzak.tps.bad-2" ...).
namespace app {

// Recovers the basket (KORZAK, in the calling thread) and says in a box how many lines came
// back and where the damaged file was kept, or why it could not be done. The thread's open of
// the basket stays as it was (on the new file when it was made). True when the new basket was
// made with every line read.
bool recoverBasket();

// The box's texts (Windows-1251): the lines recovered from the file and where the damaged
// file was kept; and the reason a recovery failed.
std::string basketRecoveredMessage(int64_t lines, std::string_view file, std::string_view keptAs);
std::string basketNotRecoveredMessage(int code, std::string_view file);

} // namespace app
