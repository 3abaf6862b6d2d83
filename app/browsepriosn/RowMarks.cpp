#include "app/browsepriosn/RowMarks.h"

#include "app/fotovyv/PhotoFileName.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Picture.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

namespace app {

namespace {

QColor windowsColour(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QIcon symbol(char32_t code, int colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(windowsColour(colour));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromUcs4(&code, 1));
    return QIcon(pixmap);
}

} // namespace

std::vector<QIcon> rowMarkIcons(int photoColour)
{
    return {symbol(U'\u2714', photoColour), symbol(U'\u2193', CheaperColour),
            symbol(U'\u2191', DearerColour)};
}

int priceChangeMark(uint8_t kodcena)
{
    return kodcena == 1 ? RowMark::Cheaper : kodcena == 2 ? RowMark::Dearer : 0;
}

int priceChangeColour(uint8_t kodcena)
{
    return kodcena == 1 ? CheaperColour : kodcena == 2 ? DearerColour : -1;
}

std::string numberCell(double value, const char* picture)
{
    const std::string text = platform::text::formatNumber(value, picture);
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

bool photoExists(const std::string& folder, int32_t code)
{
    return platform::storage::fileExists(photoFileName(folder, code));
}

} // namespace app
