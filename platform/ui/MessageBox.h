#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Message boxes: texts and captions are Windows-1251; buttons are a bit mask and the result is
// the bit of the button pressed. The buttons carry the locale's captions ("&Да", "&Нет" ...).
// A handler can be installed in place of the real box (the test driver answers boxes this way).
namespace platform::ui {

namespace Button {
constexpr unsigned Ok = 1;
constexpr unsigned Yes = 2;
constexpr unsigned No = 4;
constexpr unsigned Abort = 8;
constexpr unsigned Retry = 16;
constexpr unsigned Ignore = 32;
constexpr unsigned Cancel = 64;
constexpr unsigned Help = 128;
} // namespace Button

enum class MessageIcon { None, Information, Question, Exclamation, Hand };

struct MessageRequest
{
    std::string text;
    std::string caption;
    // The text in UTF-8 where it names letters Windows-1251 has not (text then holds "?" for
    // them); empty otherwise.
    std::string unicodeText;
    MessageIcon icon = MessageIcon::None;
    unsigned buttons = 0;       // 0: one default (OK) button
    unsigned defaultButton = 0; // 0: the first button
};

using MessageHandler = std::function<unsigned(const MessageRequest&)>;

unsigned message(std::string_view text, std::string_view caption = {},
                 MessageIcon icon = MessageIcon::None, unsigned buttons = 0,
                 unsigned defaultButton = 0);

// A box whose text (UTF-8) may name letters outside Windows-1251, shown as they are.
unsigned messageUnicode(std::string_view utf8Text, std::string_view caption = {},
                        MessageIcon icon = MessageIcon::None, unsigned buttons = 0,
                        unsigned defaultButton = 0);
// The text a box shows, in UTF-8.
std::string shownText(const MessageRequest& request);

// The stop box: the text with an abort button and an ignore button; both return, abort having
// asked the program to end with exit code 1 (its windows close once the caller's handler has
// returned, see ProgramEnd.h).
void stop(std::string_view text);

// The button captions of a request, in the order shown, as Qt text (with "&" access keys).
struct ShownButton
{
    unsigned bit;
    std::string caption; // Windows-1251
};
std::vector<ShownButton> shownButtons(unsigned buttons);

// Installs a handler (an empty one restores the real box); returns the previous handler.
MessageHandler setMessageHandler(MessageHandler handler);

} // namespace platform::ui
