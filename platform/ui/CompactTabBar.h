#pragma once

#include <QTabBar>

namespace platform::ui {

// A tab bar whose tabs are as wide as their text needs and little more, as the tabs of the
// window definitions were drawn: the style's wide padding would push the last tabs under the
// controls placed beside the bar.
class CompactTabBar : public QTabBar
{
public:
    explicit CompactTabBar(QWidget* parent = nullptr);

    // Room left and right of a tab's text together, in pixels.
    static constexpr int TextRoom = 12;
};

} // namespace platform::ui
