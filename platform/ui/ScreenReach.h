#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <string>

namespace platform::ui {

// A place on the screen where a person could click: a widget and a rectangle in it.
struct ScreenArea
{
    QWidget* widget = nullptr;
    QRect rect;
};

// Whether a person can reach an area with the mouse: the part of it left visible by its
// holders, the point at its centre in its top-level window, and what that point hits.
struct ScreenReach
{
    QPointer<QWidget> topLevel;
    QRect visible; // in the top-level window
    QPoint centre; // in the top-level window
    // The widget the centre hits when it is not the area's own (the area is covered).
    QPointer<QWidget> coveredBy;
    // Empty when a click reaches the area; otherwise why not ("has no area on the screen").
    std::string fault;

    bool reachable() const { return fault.empty(); }
};

ScreenReach screenReach(const ScreenArea& area);

// The rectangle of a widget in an ancestor's coordinates.
QRect rectIn(const QWidget* widget, const QWidget* ancestor);

} // namespace platform::ui
