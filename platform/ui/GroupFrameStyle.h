#pragma once

#include <QProxyStyle>

namespace platform::ui {

// Group and option boxes drawn as the window definitions were laid out for: the frame's top
// line runs through the middle of the caption, so the caption takes no room of its own above
// the frame and a control placed a line below the box's top stands clear of both. (The
// application style puts the caption above a frame that starts a whole line lower, into the
// controls placed there.) A box without a caption has its line at its top edge. Controls
// belong inside the frame, below the caption.
class GroupFrameStyle : public QProxyStyle
{
public:
    // The one style every group box of the program uses; made on first use.
    static GroupFrameStyle* instance();

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

} // namespace platform::ui
