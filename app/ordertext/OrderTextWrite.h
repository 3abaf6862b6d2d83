#pragma once

#include <string_view>

namespace platform::storage {
class ByteFile;
}

// Writing the order text file (format in OrderTextFormat.h) from the basket and the current
// requisites record.
namespace app {

// Appends the line, cut to its buffer and without trailing blanks, and CR LF; the code of the
// first failed write, or 0.
int OrderTextLine(platform::storage::ByteFile& file, std::string_view line);

// Writes the file (Windows-1251 name, blanks around it ignored) with the comment and the
// basket in the order of the sort tab; KORZAK must be open and REKV's record loaded. Returns
// 0 or the storage code of the step that failed; on a failure any previous file of that name
// is left as it was.
int writeOrderTextFile(std::string_view fileName, std::string_view comment, int basketSortTab);

// The save window's step: writes the file and tells the user "Файл заказа сформирован." only
// when it was written, otherwise that it could not be. True when written.
bool OrderTextWrite(std::string_view fileName, std::string_view comment, int basketSortTab);

} // namespace app
