#include "platform/ui/MessageBox.h"

#include "platform/text/Cp1251.h"

#include <QMessageBox>

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
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Hand: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

unsigned showMessageBox(const MessageRequest& request)
{
    QMessageBox box(qtIcon(request.icon), text::toQString(request.caption),
                    text::toQString(request.text));
    const unsigned buttons = request.buttons ? request.buttons : Button::Ok;
    static const std::pair<unsigned, QMessageBox::StandardButton> kinds[] = {
        {Button::Ok, QMessageBox::Ok},         {Button::Yes, QMessageBox::Yes},
        {Button::No, QMessageBox::No},         {Button::Abort, QMessageBox::Abort},
        {Button::Retry, QMessageBox::Retry},   {Button::Ignore, QMessageBox::Ignore},
        {Button::Cancel, QMessageBox::Cancel}, {Button::Help, QMessageBox::Help}};
    for (const auto& [bit, kind] : kinds) {
        if (buttons & bit) {
            box.addButton(kind);
            if (request.defaultButton == bit)
                box.setDefaultButton(kind);
        }
    }
    const int pressed = box.exec();
    for (const auto& [bit, kind] : kinds)
        if (pressed == kind)
            return bit;
    return Button::Cancel;
}

} // namespace

unsigned message(std::string_view text, std::string_view caption, MessageIcon icon,
                 unsigned buttons, unsigned defaultButton)
{
    const MessageRequest request{std::string(text), std::string(caption), icon, buttons,
                                 defaultButton};
    if (installedHandler())
        return installedHandler()(request);
    return showMessageBox(request);
}

MessageHandler setMessageHandler(MessageHandler handler)
{
    return std::exchange(installedHandler(), std::move(handler));
}

} // namespace platform::ui
