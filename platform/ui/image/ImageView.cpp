#include "platform/ui/image/ImageView.h"

#include <QPainter>
#include <QResizeEvent>

namespace platform::ui {

ImageView::ImageView(QWidget* parent) : QWidget(parent)
{
}

bool ImageView::load(const QString& fileName)
{
    setPicture(JpegImage::fromFile(fileName));
    return hasPicture();
}

void ImageView::setPicture(const JpegImage& picture)
{
    m_picture = picture;
    m_scaled = QPixmap();
    updateGeometry();
    update();
}

void ImageView::clear()
{
    setPicture(JpegImage());
}

QSize ImageView::sizeHint() const
{
    return hasPicture() ? naturalSize() : QSize(0, 0);
}

void ImageView::paintEvent(QPaintEvent* /*event*/)
{
    if (!hasPicture() || width() <= 0 || height() <= 0)
        return;
    if (m_scaled.size() != size()) {
        m_scaled = QPixmap::fromImage(
            m_picture.image().scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_scaled);
}

void ImageView::resizeEvent(QResizeEvent* event)
{
    m_scaled = QPixmap();
    QWidget::resizeEvent(event);
}

} // namespace platform::ui
