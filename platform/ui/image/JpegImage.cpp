#include "platform/ui/image/JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace platform::ui {
namespace {

// Larger pictures are refused rather than risking an allocation of gigabytes from a damaged
// or hostile header.
constexpr qint64 kMaxPixels = 100'000'000;

// libjpeg ends the process on a fatal error unless error_exit does not return; it jumps back
// to the decoder here instead.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

[[noreturn]] void onFatalError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings and traces are not printed. A file cut short is only a warning to libjpeg (it
// pads the picture with grey), but for us it is a broken photo.
void onMessage(j_common_ptr info, int level)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        manager->truncated = true;
}

void convertInvertedCmyk(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width)
{
    // Adobe writes CMYK JPEGs inverted, which is what nearly every CMYK JPEG is.
    for (JDIMENSION i = 0; i < width; ++i, cmyk += 4) {
        const int k = cmyk[3];
        out[i] = qRgb(cmyk[0] * k / 255, cmyk[1] * k / 255, cmyk[2] * k / 255);
    }
}

// Decodes into `image`; returns false with the reason in `error`. Only trivially destructible
// objects live between setjmp and the decoder's calls, so the long jump skips no destructor.
bool decode(const QByteArray& data, QImage& image, QString& error)
{
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onFatalError;
    manager.base.emit_message = onMessage;

    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        image = QImage();
        error = QString::fromLatin1(manager.message);
        return false;
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        error = QStringLiteral("no picture in the JPEG data");
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    if (static_cast<qint64>(info.image_width) * info.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        error = QStringLiteral("the picture is too large");
        return false;
    }
    jpeg_start_decompress(&info);

    const QImage::Format format = cmyk   ? QImage::Format_RGB32
                                  : grey ? QImage::Format_Grayscale8
                                         : QImage::Format_RGB888;
    image =
        QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), format);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        error = QStringLiteral("not enough memory for the picture");
        return false;
    }
    JSAMPARRAY cmykRow = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
                                                          JPOOL_IMAGE, info.output_width * 4, 1)
                              : nullptr;
    while (info.output_scanline < info.output_height) {
        const int row = static_cast<int>(info.output_scanline);
        if (cmyk) {
            jpeg_read_scanlines(&info, cmykRow, 1);
            convertInvertedCmyk(cmykRow[0], reinterpret_cast<QRgb*>(image.scanLine(row)),
                                info.output_width);
        } else {
            JSAMPROW line = image.scanLine(row);
            jpeg_read_scanlines(&info, &line, 1);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (manager.truncated) {
        image = QImage();
        error = QStringLiteral("the JPEG data ends too early");
        return false;
    }
    return true;
}

} // namespace

JpegImage JpegImage::fromFile(const QString& fileName)
{
    JpegImage result;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.m_error = QStringLiteral("cannot open ") + fileName;
        return result;
    }
    return fromData(file.readAll());
}

JpegImage JpegImage::fromData(const QByteArray& data)
{
    JpegImage result;
    decode(data, result.m_image, result.m_error);
    return result;
}

} // namespace platform::ui
