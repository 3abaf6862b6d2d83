#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Display pictures. Pictures and results are Windows-1251 bytes.
namespace platform::text {

// "n_W" and "n_W.D": right-aligned in W characters, blank-filled, "." as the point, no thousands
// separator, "-" before a negative number, rounded half away from zero; a number that does not
// fit gives W "#" characters.
std::string formatNumber(double value, std::string_view picture);

// "@sN": the text left-aligned in N characters, cut or blank-padded.
std::string formatText(std::string_view text, std::string_view picture);

// "d6.": day (blank instead of a leading zero) "." month (two digits) "." four-digit year.
std::string formatDate(int32_t dayNumber, std::string_view picture);

// "T1": hours (blank instead of a leading zero) ":" minutes. A clock value counts hundredths of
// a second since midnight plus one (1 is 00:00:00.00).
std::string formatTime(int32_t clock, std::string_view picture);

// The page pattern "pСтр  <<<#p": the text between the 'p' marks with "<<<#" replaced by the
// page number left-aligned in that many places.
std::string formatPage(int32_t page, std::string_view pattern);

// Formats a number by any of the pictures above ("n..", "@s..", "d..", "T..").
std::string format(double value, std::string_view picture);

} // namespace platform::text
