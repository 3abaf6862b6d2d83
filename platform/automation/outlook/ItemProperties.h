#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::automation::outlook {

// The properties an item of the mail server knows: their spelling, their kind of value and
// whether they may be written. Names compare without regard to case.
struct ItemProperty
{
    enum class Type { Text, Number, Flag };
    std::string_view name;
    Type type = Type::Text;
    bool writable = true;
    // Numbers the server takes; a value outside is refused.
    double minimum = -2147483648.0;
    double maximum = 2147483647.0;
    std::string_view initial; // the value of a property never written
};

class ItemProperties
{
public:
    static std::optional<ItemProperty> find(std::string_view name);
};

// The item kinds of CreateItem and the folders their items are saved to.
namespace ItemKind {
constexpr int Mail = 0;
constexpr int Appointment = 1;
constexpr int Contact = 2;
constexpr int Task = 3;
constexpr int Journal = 4;
constexpr int Note = 5;
constexpr int Post = 6;
} // namespace ItemKind

namespace Folder {
constexpr int Outbox = 4;
constexpr int SentMail = 5;
constexpr int Inbox = 6;
constexpr int Calendar = 9;
constexpr int Contacts = 10;
constexpr int Journal = 11;
constexpr int Notes = 12;
constexpr int Tasks = 13;
constexpr int Drafts = 16;
bool known(int folder);
int forKind(int kind);
} // namespace Folder

} // namespace platform::automation::outlook
