#include "platform/automation/workbook/CellFormat.h"

#include <QHashFunctions>

#include <functional>

namespace platform::automation::workbook {
namespace {

void mix(size_t& seed, size_t value)
{
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

} // namespace

size_t CellFormatHash::operator()(const CellFormat& format) const
{
    size_t seed = qHash(format.font.name);
    mix(seed, std::hash<double>()(format.font.size));
    mix(seed, (format.font.bold ? 1U : 0U) | (format.font.italic ? 2U : 0U) |
                  (format.alignment.wrapText ? 4U : 0U));
    mix(seed, static_cast<size_t>(format.font.underline));
    mix(seed, static_cast<size_t>(format.font.colorIndex));
    mix(seed, static_cast<size_t>(format.alignment.horizontal));
    mix(seed, static_cast<size_t>(format.alignment.vertical));
    for (Edge edge : {Edge::Left, Edge::Top, Edge::Bottom, Edge::Right}) {
        const BorderLine& line = format.borders.edge(edge);
        mix(seed, static_cast<size_t>(line.style));
        mix(seed, static_cast<size_t>(line.weight));
        mix(seed, static_cast<size_t>(line.colorIndex));
    }
    mix(seed, qHash(format.numberFormat));
    mix(seed, static_cast<size_t>(format.fillColorIndex));
    return seed;
}

} // namespace platform::automation::workbook
