#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Display pictures. Pictures and results are Windows-1251 bytes.
namespace platform::text {

// "n_W" and "n_W.D": right-aligned in W characters, blank-filled, "." as the point, no thousands
// separator, "-" before a negative number, rounded half away from zero on the value's
// 15-significant-digit decimal form (so 1.005 gives 1.01); a number that does not fit, and a
// value that is not finite, gives W "#" characters. A value that rounds to zero has no "-".
// An unreadable picture gives the default text form of the number.
std::string formatNumber(double value, std::string_view picture);

// "@sN": the text left-aligned in N characters, cut or blank-padded.
std::string formatText(std::string_view text, std::string_view picture);

// "d6.": day (blank instead of a leading zero) "." month (two digits) "." four-digit year.
// Day numbers outside 1801..9999 (0 = no date) give ten blanks.
std::string formatDate(int32_t dayNumber, std::string_view picture);

// "T1": hours (blank instead of a leading zero) ":" minutes. A clock value counts hundredths of
// a second since midnight plus one (1 is 00:00:00.00); 0 (no time) or more than a day gives
// five blanks.
std::string formatTime(int32_t clock, std::string_view picture);

// The page pattern "pСтр  <<<#p": the text between the 'p' marks with "<<<#" replaced by the
// page number left-aligned in that many places. Blanks fill the unused places only when text
// follows them (page 7 gives "Стр  7"); a number longer than the places is printed whole.
std::string formatPage(int32_t page, std::string_view pattern);

// Formats a number by any of the pictures above ("n..", "@s..", "d..", "T..", "p..p"); "@s" uses
// the default text form of the number. Any other picture gives the default text form.
std::string format(double value, std::string_view picture);

} // namespace platform::text
