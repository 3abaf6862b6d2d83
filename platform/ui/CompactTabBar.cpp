#include "platform/ui/CompactTabBar.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>

namespace platform::ui {
namespace {

// The application's style with less room beside a tab's text.
class CompactTabStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return CompactTabBar::TextRoom;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle* compactTabStyle()
{
    // One for the whole program, made after the application's style; Qt keeps it with the
    // application and deletes it with it.
    static QPointer<QStyle> style;
    if (!style) {
        style = new CompactTabStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace

CompactTabBar::CompactTabBar(QWidget* parent) : QTabBar(parent)
{
    setStyle(compactTabStyle());
}

} // namespace platform::ui
