#include "platform/ui/image/JpegImage.h"

#include "tests/support/TempWorkFolder.h"

#include <QBuffer>
#include <QColor>

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

using platform::ui::JpegImage;

namespace {

// A picture with a red left half and a blue (white when grey) right half, saved by Qt.
QByteArray jpegBytes(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(Qt::red);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixelColor(x, y, format == QImage::Format_Grayscale8 ? Qt::white : Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// An all-cyan CMYK JPEG, inverted as Adobe programs write it (Qt cannot make one).
QByteArray cmykJpeg(int width, int height)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    info.write_Adobe_marker = TRUE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 4, 255);
    for (int x = 0; x < width; ++x)
        row[static_cast<std::size_t>(x) * 4] = 0; // full cyan ink
    while (info.next_scanline < info.image_height) {
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

bool near(QColor actual, QColor expected)
{
    return std::abs(actual.red() - expected.red()) < 30 &&
           std::abs(actual.green() - expected.green()) < 30 &&
           std::abs(actual.blue() - expected.blue()) < 30;
}

void expectNoPicture(const JpegImage& picture)
{
    EXPECT_TRUE(picture.isNull());
    EXPECT_EQ(picture.naturalSize(), QSize(0, 0));
    EXPECT_FALSE(picture.error().isEmpty());
}

TEST(JpegImageTest, NaturalSizeAndColours)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("123.jpg"), jpegBytes(37, 21).toStdString());
    const JpegImage picture =
        JpegImage::fromFile(QString::fromStdString(folder.file("123.jpg").string()));
    ASSERT_FALSE(picture.isNull()) << qPrintable(picture.error());
    EXPECT_EQ(picture.naturalSize(), QSize(37, 21));
    EXPECT_TRUE(near(picture.image().pixelColor(2, 10), Qt::red));
    EXPECT_TRUE(near(picture.image().pixelColor(34, 10), Qt::blue));
    EXPECT_EQ(JpegImage::fromData(jpegBytes(1, 1)).naturalSize(), QSize(1, 1));

    const JpegImage grey = JpegImage::fromData(jpegBytes(20, 10, QImage::Format_Grayscale8));
    EXPECT_EQ(grey.naturalSize(), QSize(20, 10));
    EXPECT_TRUE(near(grey.image().pixelColor(18, 5), Qt::white));

    const JpegImage cmyk = JpegImage::fromData(cmykJpeg(16, 8));
    EXPECT_EQ(cmyk.naturalSize(), QSize(16, 8));
    EXPECT_TRUE(near(cmyk.image().pixelColor(8, 4), Qt::cyan));
}

TEST(JpegImageTest, DamagedForeignOrMissingFilesGiveNoPicture)
{
    testsupport::TempWorkFolder folder;
    auto file = [&folder](const std::string& name, const QByteArray& bytes) {
        testsupport::writeFileBytes(folder.file(name), bytes.toStdString());
        return JpegImage::fromFile(QString::fromStdString(folder.file(name).string()));
    };
    const QByteArray good = jpegBytes(64, 48);
    expectNoPicture(file("cut.jpg", good.left(good.size() / 2)));
    expectNoPicture(file("header-only.jpg", good.left(20)));
    expectNoPicture(file("notes.jpg", "Это не фотография, а текст.\r\n"));
    expectNoPicture(file("empty.jpg", {}));
    expectNoPicture(
        JpegImage::fromFile(QString::fromStdString(folder.file("missing.jpg").string())));

    // A frame header that claims 65000 x 65000 is refused before anything that big is allocated.
    QByteArray huge = jpegBytes(8, 8);
    const qsizetype frame = huge.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    huge.replace(frame + 5, 4, QByteArray("\xFD\xE8\xFD\xE8", 4));
    expectNoPicture(JpegImage::fromData(huge));
}

} // namespace
