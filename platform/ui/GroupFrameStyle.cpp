#include "platform/ui/GroupFrameStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace platform::ui {
namespace {

// The etched frame: a dark and a light line.
constexpr int FrameWidth = 2;
// Room between the frame's line and the caption's text on either side.
constexpr int CaptionGap = 2;

} // namespace

GroupFrameStyle* GroupFrameStyle::instance()
{
    static QPointer<GroupFrameStyle> style;
    if (!style) {
        style = new GroupFrameStyle;
        style->setParent(qApp);
    }
    return style;
}

QRect GroupFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                      SubControl part, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box)
        return QProxyStyle::subControlRect(control, option, part, widget);
    const QRect whole = box->rect;
    const QFontMetrics& metrics = box->fontMetrics;
    // A frame without a caption has nothing to run through: its line is the box's top edge.
    const int lineY = box->text.isEmpty() ? 0 : metrics.height() / 2;
    switch (part) {
    case SC_GroupBoxFrame:
        return whole.adjusted(0, lineY, 0, 0);
    case SC_GroupBoxLabel: {
        if (box->text.isEmpty())
            return {};
        const int width =
            metrics.horizontalAdvance(QString(box->text).remove(QLatin1Char('&'))) + 2 * CaptionGap;
        return QRect(whole.left() + metrics.averageCharWidth(), whole.top(), width,
                     metrics.height()) &
               whole;
    }
    case SC_GroupBoxContents: {
        const int top = box->text.isEmpty() ? lineY + FrameWidth : metrics.height();
        return whole.adjusted(FrameWidth, top, -FrameWidth, -FrameWidth);
    }
    case SC_GroupBoxCheckBox:
        return {};
    default:
        return QProxyStyle::subControlRect(control, option, part, widget);
    }
}

void GroupFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                         QPainter* painter, const QWidget* widget) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
    const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
    painter->save();
    if (!caption.isEmpty())
        painter->setClipRegion(QRegion(box->rect) - caption);
    qDrawShadeRect(painter, frame, box->palette, true, 1, 0);
    painter->setClipping(false);
    if (!caption.isEmpty())
        drawItemText(painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                     (box->state & State_Enabled) != 0, box->text, QPalette::WindowText);
    painter->restore();
}

} // namespace platform::ui
