#pragma once

#include <QCheckBox>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <type_traits>

namespace platform::ui {

// A check box or radio button whose natural height is what its box and one line of its text
// need, as the window definitions were laid out for: the style's padded height would run it
// into the control placed a line below.
template <class Button> class CompactChoice : public Button
{
public:
    using Button::Button;

    QSize sizeHint() const override
    {
        QSize hint = Button::sizeHint();
        const bool radio = std::is_base_of_v<QRadioButton, Button>;
        const int box = this->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorHeight
                                                         : QStyle::PM_IndicatorHeight,
                                                   nullptr, this);
        hint.setHeight(std::min(hint.height(), std::max(box, this->fontMetrics().height()) + 1));
        return hint;
    }
};

using CompactCheckBox = CompactChoice<QCheckBox>;
using CompactRadioButton = CompactChoice<QRadioButton>;

} // namespace platform::ui
