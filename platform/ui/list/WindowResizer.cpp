#include "platform/ui/list/WindowResizer.h"

#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

#include <QWidget>

#include <cmath>

namespace platform::ui {

WindowResizer::WindowResizer() = default;

WindowResizer::~WindowResizer()
{
    kill();
}

void WindowResizer::init(Window& window, int strategy, bool minimumIsOpeningSize)
{
    m_window = &window;
    m_strategy = strategy;
    m_controls.clear();
    QWidget* content = window.content();
    if (!content)
        return;
    m_original = content->size();
    for (Control* control : window.controls()) {
        QWidget* widget = control->widget();
        if (!widget || widget->parentWidget() != content)
            continue;
        const bool grows = control->kind() == "list" || control->kind() == "sheet";
        m_controls.push_back({control->number(), widget->geometry(), grows});
    }
    if (minimumIsOpeningSize) {
        m_minimum = window.topWidget() ? window.topWidget()->size() : m_original;
        if (QWidget* top = window.topWidget())
            top->setMinimumSize(m_minimum);
        content->setMinimumSize(m_original);
    }
    m_alive = std::make_shared<bool>(true);
    std::weak_ptr<bool> alive = m_alive;
    window.addEventHandler(Event::Sized, [this, alive](Window&) {
        if (!alive.expired())
            resize();
        return Level::Benign;
    });
}

void WindowResizer::kill()
{
    m_alive.reset();
    m_controls.clear();
    m_window = nullptr;
}

QRect WindowResizer::place(int strategy, const QRect& from, const QSize& original,
                           const QSize& now, bool grows)
{
    if (strategy == Off || original.width() <= 0 || original.height() <= 0)
        return from;
    if (strategy == Surface) {
        const double sx = double(now.width()) / original.width();
        const double sy = double(now.height()) / original.height();
        return QRect(int(std::lround(from.x() * sx)), int(std::lround(from.y() * sy)),
                     int(std::lround(from.width() * sx)), int(std::lround(from.height() * sy)));
    }
    const int dx = now.width() - original.width();
    const int dy = now.height() - original.height();
    if (grows)
        return QRect(from.x(), from.y(), std::max(1, from.width() + dx),
                     std::max(1, from.height() + dy));
    const bool right = from.center().x() * 2 > original.width();
    const bool bottom = from.center().y() * 2 > original.height();
    return QRect(from.x() + (right ? dx : 0), from.y() + (bottom ? dy : 0), from.width(),
                 from.height());
}

void WindowResizer::resize()
{
    if (!m_window || m_strategy == Off || !m_window->content())
        return;
    const QSize now = m_window->content()->size();
    for (const Placed& placed : m_controls) {
        Control* control = m_window->control(placed.control);
        if (!control || !control->widget())
            continue;
        control->widget()->setGeometry(place(m_strategy, placed.from, m_original, now, placed.grows));
    }
}

} // namespace platform::ui
