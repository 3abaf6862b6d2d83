#pragma once

#include "platform/ui/image/JpegImage.h"

#include <QPixmap>
#include <QWidget>

// The image control: shows a JPEG picture stretched to the control's current size (the window
// sizes the control to keep the picture's proportions). Without a picture it draws nothing and
// hasPicture() is false, so the window can show its own "no photo" text.
namespace platform::ui {

class ImageView : public QWidget
{
    Q_OBJECT

public:
    explicit ImageView(QWidget* parent = nullptr);

    // Loads a JPEG file; false (and no picture) when it is missing or not a readable JPEG.
    bool load(const QString& fileName);
    void setPicture(const JpegImage& picture);
    void clear();

    bool hasPicture() const { return !m_picture.isNull(); }
    // The picture's natural size in pixels; 0 x 0 without a picture.
    QSize naturalSize() const { return m_picture.naturalSize(); }
    const JpegImage& picture() const { return m_picture; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    JpegImage m_picture;
    QPixmap m_scaled; // the picture at the current size, made when first painted at that size
};

} // namespace platform::ui
