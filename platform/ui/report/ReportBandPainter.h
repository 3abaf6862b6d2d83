#pragma once

#include "platform/ui/report/ReportBand.h"

#include <functional>
#include <string>

class QFont;
class QPainter;
class QTextLayout;

namespace platform::ui {

class ReportDefinition;

// Draws the items of one band on a page. The painter's origin is the top left corner of the
// area inside the margins; report units are converted to the device's pixels here, so fonts
// keep their point sizes at any printer resolution.
//
// A band grows by the most any of its wrapping items needs beyond its own height; the edges of
// boxes and lines that lie on the band's foot move down with it, every other item keeps its
// place, so a table row stays a closed row however many lines one of its cells takes.
class ReportBandPainter
{
public:
    using TextOf = std::function<std::string(const ReportItem&)>;

    ReportBandPainter(QPainter& painter, const ReportDefinition& definition, double pixelsPerUnit);

    // The band's height as printed with these texts, in report units.
    int heightOf(const ReportBand& band, const TextOf& textOf) const;

    // Draws the band with its top edge `top` report units below the origin, `height` high (its
    // height as heightOf gave it).
    void paint(const ReportBand& band, int top, int height, const TextOf& textOf);

private:
    void paintText(const ReportItem& item, int top, const std::string& text);
    void paintWrapped(const ReportItem& item, int top, const std::string& text);
    void paintBox(const ReportItem& item, int top, int growth, int foot);
    void paintLine(const ReportItem& item, int top, int growth, int foot);
    QFont fontFor(const ReportItem& item) const;
    // Lays the text out in lines of the item's width; returns the lines' height in pixels.
    double layOut(QTextLayout& layout, const ReportItem& item) const;
    // How much higher than its definition the item must be to show all its lines.
    int growthOf(const ReportItem& item, const std::string& text) const;
    double pixels(int units) const { return units * m_pixelsPerUnit; }

    QPainter& m_painter;
    const ReportDefinition& m_definition;
    double m_pixelsPerUnit;
};

} // namespace platform::ui
