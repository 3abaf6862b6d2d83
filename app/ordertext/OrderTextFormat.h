#pragma once

#include "app/dictionary/Records.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The order text file: eight header lines with the customer's requisites and the comment, then
// one line per basket line, "code;designation;name;manufacturer;quantity;price;sum". Windows-1251,
// every line ended by CR LF. These are the pure pieces; the writer and reader do the files.
namespace app {

// A line is built in a buffer of this many characters; anything beyond is cut.
inline constexpr std::size_t kOrderLineSize = 250;

// The line as written: cut to the buffer, trailing blanks removed, then CR LF.
std::string orderFileLine(std::string_view line);

// The eight header lines (without line ends), each value with its trailing blanks removed.
std::vector<std::string> orderHeaderLines(const RekvRecord& requisites, std::string_view comment);

// One basket line (without line end).
std::string orderBasketLine(const KorzakRecord& line);

// The file's bytes as the reader sees its lines: CR is dropped wherever it stands, LF ends a
// line, a line keeps its first 500 characters, and a last line without LF is not a line.
std::vector<std::string> orderFileLines(std::string_view bytes);

// The basket line a file line gives, or nothing when the line is a header ("#" after leading
// blanks), its code is 0 or its quantity negative. Texts end at a NUL byte and are cut to 50;
// a quantity beyond 32767 is held there; the pack size is 0.
std::optional<KorzakRecord> orderLineRecord(std::string_view line);

} // namespace app
