#include "platform/ui/MessageBox.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Locale.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdlib>
#include <utility>

namespace platform::ui {
namespace {

MessageHandler& installedHandler()
{
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Hand:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole roleOf(unsigned bit)
{
    switch (bit) {
    case Button::Ok:
    case Button::Yes:
    case Button::Retry:
        return QMessageBox::AcceptRole;
    case Button::No:
        return QMessageBox::NoRole;
    case Button::Cancel:
    case Button::Abort:
        return QMessageBox::RejectRole;
    case Button::Help:
        return QMessageBox::HelpRole;
    default:
        return QMessageBox::ActionRole;
    }
}

// The answer of a box closed without a button: its cancelling button.
unsigned escapeAnswer(unsigned buttons)
{
    const std::vector<ShownButton> shown = shownButtons(buttons);
    for (unsigned escape : {Button::Cancel, Button::No, Button::Ok, Button::Ignore, Button::Abort})
        for (const ShownButton& button : shown)
            if (button.bit == escape)
                return escape;
    return shown.empty() ? Button::Ok : shown.back().bit;
}

unsigned showMessageBox(const MessageRequest& request)
{
    Window* frame = ThreadRegistry::frame();
    QMessageBox box(qtIcon(request.icon), text::toQString(request.caption),
                    QString::fromStdString(shownText(request)), QMessageBox::NoButton,
                    frame ? frame->topWidget() : nullptr);
    box.setTextFormat(Qt::PlainText);
    std::vector<std::pair<QAbstractButton*, unsigned>> added;
    for (const ShownButton& shown : shownButtons(request.buttons)) {
        QPushButton* button = box.addButton(text::toQString(shown.caption), roleOf(shown.bit));
        added.emplace_back(button, shown.bit);
        if (request.defaultButton == shown.bit)
            box.setDefaultButton(button);
    }
    // Closing the box without a button answers as its cancelling button would.
    const unsigned escape = escapeAnswer(request.buttons);
    for (const auto& [button, bit] : added)
        if (bit == escape)
            box.setEscapeButton(button);
    ThreadRegistry::enterModal();
    box.exec();
    ThreadRegistry::leaveModal();
    for (const auto& [button, bit] : added)
        if (box.clickedButton() == button)
            return bit;
    return added.empty() ? Button::Ok : added.back().second;
}

} // namespace

std::vector<ShownButton> shownButtons(unsigned buttons)
{
    if ((buttons & 0xFF) == 0)
        buttons = Button::Ok;
    std::vector<ShownButton> shown;
    for (unsigned bit = 1; bit <= Button::Help; bit <<= 1)
        if (buttons & bit)
            shown.push_back({bit, Locale::instance().buttonCaption(bit)});
    return shown;
}

namespace {

unsigned ask(const MessageRequest& request)
{
    // Nobody is asked anything while the program ends.
    if (programLeaving())
        return escapeAnswer(request.buttons);
    if (installedHandler())
        return installedHandler()(request);
    return showMessageBox(request);
}

} // namespace

unsigned message(std::string_view text, std::string_view caption, MessageIcon icon,
                 unsigned buttons, unsigned defaultButton)
{
    return ask({std::string(text), std::string(caption), {}, icon, buttons, defaultButton});
}

unsigned messageUnicode(std::string_view utf8Text, std::string_view caption, MessageIcon icon,
                        unsigned buttons, unsigned defaultButton)
{
    return ask({text::utf8ToCp1251(utf8Text), std::string(caption), std::string(utf8Text), icon,
                buttons, defaultButton});
}

std::string shownText(const MessageRequest& request)
{
    return request.unicodeText.empty() ? text::cp1251ToUtf8(request.text) : request.unicodeText;
}

void stop(std::string_view text)
{
    const unsigned answer =
        message(text, {}, MessageIcon::Hand, Button::Abort | Button::Ignore, Button::Abort);
    if (answer == Button::Abort)
        endProgram(EXIT_FAILURE);
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    return std::exchange(installedHandler(), std::move(handler));
}

} // namespace platform::ui
