#include "platform/ui/LayoutFaults.h"

#include "platform/ui/Control.h"
#include "platform/ui/SheetControl.h"
#include "platform/ui/Window.h"

#include <QGroupBox>
#include <QRegion>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTabBar>

#include <optional>

namespace platform::ui {
namespace {

// What a holder draws (its frame, its caption or tabs) and where controls may stand inside it,
// in the window's client area.
struct HolderParts
{
    QRegion drawn;
    QRect inside;
};

std::optional<HolderParts> holderParts(const LaidControl& holder)
{
    QWidget* widget = holder.control->widget();
    HolderParts parts;
    if (const auto* sheet = dynamic_cast<const SheetControl*>(holder.control)) {
        // The page's frame and the tabs; the rest of the bar's row is free for controls.
        parts.inside = sheet->pageArea();
        if (const auto* bar = widget->findChild<QTabBar*>()) {
            parts.drawn = QRect(0, bar->geometry().bottom() + 1, widget->width(),
                                widget->height() - bar->geometry().bottom() - 1);
            for (int i = 0; i < bar->count(); ++i)
                if (bar->isTabVisible(i))
                    parts.drawn += bar->tabRect(i).translated(bar->pos());
        }
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QStyle* style = box->style();
        parts.drawn =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box);
        if (!box->title().isEmpty())
            parts.drawn +=
                style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        parts.inside = box->contentsRect();
    } else {
        return std::nullopt;
    }
    parts.drawn.translate(holder.rect.topLeft());
    parts.inside.translate(holder.rect.topLeft());
    return parts;
}

bool declaredInside(const Window& window, const Control& control, const Control& holder)
{
    for (int parent = control.parent(); parent > 0;) {
        if (parent == holder.number())
            return true;
        const Control* up = window.control(parent);
        parent = up ? up->parent() : 0;
    }
    return false;
}

// The fault of a control that reaches into what a holder draws without lying inside it.
std::string intoHolder(const Window& window, const LaidControl& other, const LaidControl& holder,
                       const HolderParts& parts)
{
    if (!parts.drawn.intersects(other.rect) || parts.inside.contains(other.rect))
        return {};
    const bool inside = declaredInside(window, *other.control, *holder.control);
    return controlName(window, *other.control) + ": at " + placeText(other.rect) +
           (inside ? " runs into the frame of " : " reaches over ") + holder.control->label() +
           " (its inside is " + placeText(parts.inside) + ")";
}

} // namespace

std::vector<std::string>
overlapFaults(const Window& window, const std::vector<LaidControl>& laid,
              const std::set<std::pair<const Control*, const Control*>>& covered)
{
    std::vector<std::optional<HolderParts>> holders;
    for (const LaidControl& control : laid)
        holders.push_back(holderParts(control));
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < laid.size(); ++i)
        for (std::size_t j = i + 1; j < laid.size(); ++j) {
            const LaidControl& a = laid[i];
            const LaidControl& b = laid[j];
            if (!a.rect.intersects(b.rect) || covered.contains({a.control, b.control}) ||
                covered.contains({b.control, a.control}))
                continue;
            if (holders[i] || holders[j]) {
                // One inside the other is what holders are for.
                if ((holders[i] && holders[i]->inside.contains(b.rect)) ||
                    (holders[j] && holders[j]->inside.contains(a.rect)))
                    continue;
                std::string fault;
                if (holders[i])
                    fault = intoHolder(window, b, a, *holders[i]);
                if (fault.empty() && holders[j])
                    fault = intoHolder(window, a, b, *holders[j]);
                if (!fault.empty())
                    faults.push_back(fault);
                continue;
            }
            faults.push_back(controlName(window, *b.control) + ": at " + placeText(b.rect) +
                             " overlaps " + a.control->label() + " at " + placeText(a.rect));
        }
    return faults;
}

} // namespace platform::ui
