#pragma once

#include "app/dictionary/Records.h"

#include <string_view>
#include <vector>

// Reading an order text file back into the basket.
namespace app {

// The basket lines of the file (Windows-1251 name, blanks around it ignored), in file order.
// Returns 0, or the storage code when the file is missing or cannot be read to its end.
int readOrderTextFile(std::string_view fileName, std::vector<KorzakRecord>& lines);

// The order-open window's step: when the file could be read, the basket (KORZAK, open) is
// emptied and refilled from it; when it could not, the basket stays as it was and the user is
// told why. True when the basket was replaced.
bool ImportOrderFromText(std::string_view fileName);

// The last step of both order readers: lines read from the file (Windows-1251 name) replace the
// basket; a file that gave none (not an order, or an empty one) leaves the basket as it was and
// says so, as does a basket that could not be written. True when the basket was replaced.
bool takeOrderLines(const std::vector<KorzakRecord>& lines, std::string_view fileName);

// Empties the basket and adds the lines; 0 or the first failing storage code (a line whose code
// is already in the basket is left out, as a duplicate code cannot be stored).
int replaceBasket(const std::vector<KorzakRecord>& lines);

} // namespace app
