#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A JPEG picture decoded with libjpeg. A file that is missing, is not a JPEG, is cut short or
// is corrupt gives a null picture with the reason in error(); nothing is thrown and the process
// is never ended by the decoder.
namespace platform::ui {

class JpegImage
{
public:
    JpegImage() = default;

    static JpegImage fromFile(const QString& fileName);
    static JpegImage fromData(const QByteArray& data);

    bool isNull() const { return m_image.isNull(); }
    const QImage& image() const { return m_image; }
    // The picture's natural size in pixels; 0 x 0 when there is no picture.
    QSize naturalSize() const { return m_image.size(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    // Why there is no picture (for the log); empty when there is one.
    const QString& error() const { return m_error; }

private:
    QImage m_image;
    QString m_error;
};

} // namespace platform::ui
