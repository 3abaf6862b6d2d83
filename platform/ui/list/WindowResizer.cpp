#include "platform/ui/list/WindowResizer.h"

#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/GrowthAxis.h"

#include <QWidget>

#include <cmath>

namespace platform::ui {

WindowResizer::WindowResizer() = default;

WindowResizer::~WindowResizer()
{
    kill();
}

WindowResizer::Role WindowResizer::roleOf(const std::string& kind)
{
    if (kind == "list")
        return Role::Leads;
    if (kind == "sheet" || kind == "line")
        return Role::Follows;
    return Role::Keeps;
}

void WindowResizer::remember()
{
    m_controls.clear();
    QWidget* content = m_window ? m_window->content() : nullptr;
    if (!content)
        return;
    m_original = content->size();
    for (Control* control : m_window->controls()) {
        QWidget* widget = control->widget();
        if (!widget || widget->parentWidget() != content)
            continue;
        const bool grows = control->kind() == "list" || control->kind() == "sheet";
        m_controls.push_back({control->number(), widget->geometry(), grows, roleOf(control->kind())});
    }
}

void WindowResizer::init(Window& window, int strategy, bool minimumIsOpeningSize)
{
    m_window = &window;
    m_strategy = strategy;
    m_enabled = true;
    m_keepMinimum = minimumIsOpeningSize;
    remember();
    QWidget* content = window.content();
    if (!content)
        return;
    takeMinimum();
    m_alive = std::make_shared<bool>(true);
    std::weak_ptr<bool> alive = m_alive;
    window.addEventHandler(Event::Sized, [this, alive](Window&) {
        if (!alive.expired())
            resize();
        return Level::Benign;
    });
}

void WindowResizer::takeMinimum()
{
    if (!m_keepMinimum || !m_window || !m_window->content())
        return;
    m_minimum = m_window->topWidget() ? m_window->topWidget()->size() : m_original;
    applyMinimum(true);
}

void WindowResizer::applyMinimum(bool on)
{
    if (!m_keepMinimum || !m_window || !m_window->content())
        return;
    if (QWidget* top = m_window->topWidget())
        top->setMinimumSize(on ? m_minimum : QSize(0, 0));
    m_window->content()->setMinimumSize(on ? m_original : QSize(0, 0));
}

void WindowResizer::rebase()
{
    remember();
    if (m_enabled)
        takeMinimum();
}

void WindowResizer::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on)
        takeMinimum();
    else
        applyMinimum(false);
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
    if (strategy == Off || strategy == Default || original.width() <= 0 || original.height() <= 0)
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

std::vector<QRect> WindowResizer::follow(const std::vector<Piece>& pieces, const QSize& original,
                                         const QSize& now)
{
    // The lists share the growth; a window without lists lets its sheets take it.
    bool lists = false;
    for (const Piece& piece : pieces)
        lists = lists || piece.role == Role::Leads;
    std::vector<GrowthAxis::Span> across;
    std::vector<GrowthAxis::Span> down;
    for (const Piece& piece : pieces) {
        if (piece.role == Role::Keeps || (lists && piece.role != Role::Leads))
            continue;
        across.push_back({piece.from.left(), piece.from.left() + piece.from.width()});
        down.push_back({piece.from.top(), piece.from.top() + piece.from.height()});
    }
    const GrowthAxis x(std::move(across), now.width() - original.width());
    const GrowthAxis y(std::move(down), now.height() - original.height());
    std::vector<QRect> placed;
    placed.reserve(pieces.size());
    for (const Piece& piece : pieces) {
        const QRect& from = piece.from;
        if (piece.role == Role::Keeps) {
            // The centre moves, the size stays.
            const int left = x.map(from.left() + from.width() / 2) - from.width() / 2;
            const int top = y.map(from.top() + from.height() / 2) - from.height() / 2;
            placed.emplace_back(left, top, from.width(), from.height());
            continue;
        }
        const int left = x.map(from.left());
        const int top = y.map(from.top());
        placed.emplace_back(left, top, std::max(from.width() ? 1 : 0,
                                                x.map(from.left() + from.width()) - left),
                            std::max(from.height() ? 1 : 0, y.map(from.top() + from.height()) - top));
    }
    return placed;
}

void WindowResizer::resize()
{
    if (!m_window || m_strategy == Off || !m_enabled || !m_window->content())
        return;
    const QSize now = m_window->content()->size();
    std::vector<QRect> followed;
    if (m_strategy == Default) {
        std::vector<Piece> pieces;
        for (const Placed& placed : m_controls)
            pieces.push_back({placed.from, placed.role});
        followed = follow(pieces, m_original, now);
    }
    const DialogUnits units = m_window->units();
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const Placed& placed = m_controls[i];
        Control* control = m_window->control(placed.control);
        if (!control || !control->widget())
            continue;
        const QRect rect = m_strategy == Default
                               ? followed[i]
                               : place(m_strategy, placed.from, m_original, now, placed.grows);
        // The control's position properties read the same place (a procedure that places
        // controls after the resize, or reads them, works from it).
        control->setPlacement({units.fromPixelsX(rect.x()), units.fromPixelsY(rect.y()),
                               units.fromPixelsX(rect.width()), units.fromPixelsY(rect.height())});
        control->widget()->setGeometry(rect);
    }
}

} // namespace platform::ui
