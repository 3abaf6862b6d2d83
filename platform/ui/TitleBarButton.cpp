#include "platform/ui/TitleBarButton.h"

#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace platform::ui {
namespace {

QStyle::SubControl subControlOf(TitleBarButton button)
{
    switch (button) {
    case TitleBarButton::Minimize:
        return QStyle::SC_TitleBarMinButton;
    case TitleBarButton::Maximize:
        return QStyle::SC_TitleBarMaxButton;
    case TitleBarButton::Restore:
        return QStyle::SC_TitleBarNormalButton;
    case TitleBarButton::Close:
        return QStyle::SC_TitleBarCloseButton;
    }
    return QStyle::SC_None;
}

// The title bar as the child window lays it out for its style.
QStyleOptionTitleBar titleBarOf(const QMdiSubWindow& window)
{
    QStyleOptionTitleBar option;
    option.initFrom(&window);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = window.windowFlags();
    option.titleBarState = window.windowState();
    option.text = window.windowTitle();
    option.icon = window.windowIcon();
    const QStyle* style = window.style();
    const int border = style->styleHint(QStyle::SH_TitleBar_NoBorder, &option, &window) ? 0 : 4;
    int height = style->pixelMetric(QStyle::PM_TitleBarHeight, &option, &window);
    if (border)
        height += window.isMinimized() ? 8 : 4;
    height -= window.isMinimized() ? 2 * border : border;
    option.rect = QRect(border, border, window.width() - 2 * border, height);
    return option;
}

} // namespace

std::optional<TitleBarButton> titleBarButtonNamed(std::string_view name)
{
    if (name == "minimize")
        return TitleBarButton::Minimize;
    if (name == "maximize")
        return TitleBarButton::Maximize;
    if (name == "restore")
        return TitleBarButton::Restore;
    if (name == "close")
        return TitleBarButton::Close;
    return std::nullopt;
}

ScreenArea titleBarButtonArea(QMdiSubWindow& window, TitleBarButton button)
{
    const QStyleOptionTitleBar option = titleBarOf(window);
    return {&window, window.style()->subControlRect(QStyle::CC_TitleBar, &option,
                                                    subControlOf(button), &window)};
}

} // namespace platform::ui
