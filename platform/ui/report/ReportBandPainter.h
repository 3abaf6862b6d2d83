#pragma once

#include "platform/ui/report/ReportBand.h"

#include <functional>
#include <string>

class QPainter;

namespace platform::ui {

class ReportDefinition;

// Draws the items of one band on a page. The painter's origin is the top left corner of the
// area inside the margins; report units are converted to the device's pixels here, so fonts
// keep their point sizes at any printer resolution.
class ReportBandPainter
{
public:
    using TextOf = std::function<std::string(const ReportItem&)>;

    ReportBandPainter(QPainter& painter, const ReportDefinition& definition, double pixelsPerUnit);

    // Draws the band with its top edge `top` report units below the origin.
    void paint(const ReportBand& band, int top, const TextOf& textOf);

private:
    void paintText(const ReportItem& item, int top, const std::string& text);
    void paintBox(const ReportItem& item, int top);
    void paintLine(const ReportItem& item, int top);
    double pixels(int units) const { return units * m_pixelsPerUnit; }

    QPainter& m_painter;
    const ReportDefinition& m_definition;
    double m_pixelsPerUnit;
};

} // namespace platform::ui
