// The order text file as the order-open window reads it: the lines of the file, each header
// dropped and each basket line read into a basket record. What the reader takes, the writer
// writes back so that it reads the same again.
#include "app/ordertext/OrderTextFormat.h"
#include "fuzz/support/FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using fuzzsupport::require;

namespace {

bool holdsSeparator(const app::KorzakRecord& record)
{
    for (const std::string& text : {record.OBOZ.str(), record.NAIM.str(), record.PROIZV.str()})
        if (text.find(';') != std::string::npos)
            return true;
    return false;
}

// The record written as a file line and read back gives the same line again.
void checkRoundTrip(const app::KorzakRecord& record)
{
    const std::string written = app::orderFileLine(app::orderBasketLine(record));
    const std::vector<std::string> lines = app::orderFileLines(written);
    require(lines.size() == 1, "a written basket line is one line of the file");
    const std::optional<app::KorzakRecord> again = app::orderLineRecord(lines.front());
    require(again.has_value(), "a written basket line is read back");
    require(app::orderBasketLine(*again) == app::orderBasketLine(record),
            "a written basket line reads back as written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : app::orderFileLines(bytes)) {
        require(line.size() <= 500, "a line keeps at most its first 500 bytes");
        const std::optional<app::KorzakRecord> record = app::orderLineRecord(line);
        if (!record)
            continue;
        require(record->KOD != 0, "a basket line has a code");
        require(record->KOL >= 0, "a basket line has no negative quantity");
        if (!holdsSeparator(*record))
            checkRoundTrip(*record);
    }
    return 0;
}
