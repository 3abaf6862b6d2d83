#include "platform/storage/sqlite/FilterFunctions.h"

#include "platform/storage/FilterNodes.h"
#include "platform/text/CaseTable.h"
#include "platform/text/Collation.h"
#include "platform/text/Picture.h"

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace platform::storage::sqlite {

namespace {

std::string_view textOf(sqlite3_value* value)
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int length = sqlite3_value_bytes(value);
    return bytes ? std::string_view(bytes, static_cast<std::size_t>(length)) : std::string_view();
}

void resultText(sqlite3_context* context, std::string_view text)
{
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Scratch space reused for every row, so a scan allocates only while the texts grow.
std::string& scratch(int which)
{
    thread_local std::string buffers[3];
    return buffers[which];
}

// The text padded with blanks to width (as the record buffer holds it).
std::string_view padded(std::string_view text, std::size_t width, int which)
{
    if (width <= text.size())
        return text;
    std::string& buffer = scratch(which);
    buffer.assign(text);
    buffer.resize(width, ' ');
    return buffer;
}

void number(sqlite3_context* context, int, sqlite3_value** args)
{
    sqlite3_result_double(context, filter::numberOfText(textOf(args[0])));
}

void text(sqlite3_context* context, int, sqlite3_value** args)
{
    resultText(context, filter::textOfNumber(sqlite3_value_double(args[0]), scratch(0)));
}

void truth(sqlite3_context* context, int, sqlite3_value** args)
{
    sqlite3_result_int(context, text::clip(textOf(args[0])).empty() ? 0 : 1);
}

void equal(sqlite3_context* context, int, sqlite3_value** args)
{
    sqlite3_result_int(context, text::equalClipped(textOf(args[0]), textOf(args[1])) ? 1 : 0);
}

void compare(sqlite3_context* context, int, sqlite3_value** args)
{
    const int order = text::compareCollated(textOf(args[0]), textOf(args[1]));
    sqlite3_result_int(context, order < 0 ? -1 : (order > 0 ? 1 : 0));
}

void upper(sqlite3_context* context, int, sqlite3_value** args)
{
    const std::string_view source = textOf(args[0]);
    std::string& buffer = scratch(0);
    buffer.resize(source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        buffer[i] = static_cast<char>(text::toUpper(static_cast<unsigned char>(source[i])));
    resultText(context, buffer);
}

void clip(sqlite3_context* context, int, sqlite3_value** args)
{
    resultText(context, text::clip(textOf(args[0])));
}

void instring(sqlite3_context* context, int, sqlite3_value** args)
{
    std::string_view sought = textOf(args[0]);
    const auto soughtPad =
        static_cast<std::size_t>(std::max<sqlite3_int64>(0, sqlite3_value_int64(args[1])));
    std::string_view searched = textOf(args[2]);
    const auto searchedPad =
        static_cast<std::size_t>(std::max<sqlite3_int64>(0, sqlite3_value_int64(args[3])));
    const double step = sqlite3_value_double(args[4]);
    const double start = sqlite3_value_double(args[5]);
    // A sought text that ends in a non-blank can only be found in the searched text's own
    // bytes, so its padding need not be made.
    const bool plain = soughtPad <= sought.size() && !sought.empty() && sought.back() != ' ';
    if (!plain) {
        sought = padded(sought, soughtPad, 1);
        searched = padded(searched, searchedPad, 2);
    }
    sqlite3_result_double(context, filter::findInString(sought, searched, step, start));
}

void formatText(sqlite3_context* context, int, sqlite3_value** args)
{
    const std::string_view source = textOf(args[0]);
    const auto width =
        static_cast<std::size_t>(std::max<sqlite3_int64>(0, sqlite3_value_int64(args[1])));
    resultText(context, text::clip(source.substr(0, std::min(width, source.size()))));
}

void format(sqlite3_context* context, int, sqlite3_value** args)
{
    std::string_view picture = textOf(args[1]);
    if (!picture.empty() && picture.front() == '@')
        picture.remove_prefix(1);
    std::string& buffer = scratch(0);
    buffer = text::format(sqlite3_value_double(args[0]), picture);
    resultText(context, buffer);
}

struct Function
{
    const char* name;
    int arguments;
    void (*call)(sqlite3_context*, int, sqlite3_value**);
};

const Function functions[] = {
    {"q_num", 1, number},    {"q_text", 1, text},         {"q_truth", 1, truth},
    {"q_equal", 2, equal},   {"q_compare", 2, compare},   {"q_upper", 1, upper},
    {"q_clip", 1, clip},     {"q_instring", 6, instring}, {"q_format_text", 2, formatText},
    {"q_format", 2, format},
};

} // namespace

int registerFilterFunctions(sqlite3* db)
{
    for (const Function& function : functions) {
        // Deterministic: SQLite computes a call on parameters alone once per statement run.
        const int rc = sqlite3_create_function(db, function.name, function.arguments,
                                               SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                               function.call, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

} // namespace platform::storage::sqlite
