#include "platform/ui/image/ImageView.h"

#include "tests/support/TempWorkFolder.h"

#include <QApplication>
#include <QColor>

#include <gtest/gtest.h>

using platform::ui::ImageView;

namespace {

class ImageViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
    }

    // A 40 x 20 photo: the left half red, the right half blue.
    QString photo()
    {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        for (int y = 0; y < 20; ++y)
            for (int x = 20; x < 40; ++x)
                image.setPixelColor(x, y, Qt::blue);
        image.save(path("photo.jpg"), "JPG", 95);
        return path("photo.jpg");
    }

    QString path(const std::string& name)
    {
        return QString::fromStdString(m_folder.file(name).string());
    }

    static bool near(QColor actual, QColor expected)
    {
        return std::abs(actual.red() - expected.red()) < 40 &&
               std::abs(actual.green() - expected.green()) < 40 &&
               std::abs(actual.blue() - expected.blue()) < 40;
    }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(ImageViewTest, ShowsThePictureStretchedToItsSize)
{
    ImageView view;
    ASSERT_TRUE(view.load(photo()));
    EXPECT_EQ(view.naturalSize(), QSize(40, 20));
    EXPECT_EQ(view.sizeHint(), QSize(40, 20));

    view.resize(80, 40);
    const QImage shown = view.grab().toImage();
    EXPECT_TRUE(near(shown.pixelColor(5, 20), Qt::red));
    EXPECT_TRUE(near(shown.pixelColor(35, 20), Qt::red));
    EXPECT_TRUE(near(shown.pixelColor(45, 20), Qt::blue));
    EXPECT_TRUE(near(shown.pixelColor(75, 35), Qt::blue));

    // Resized after being shown: drawn again at the new size.
    view.resize(10, 10);
    EXPECT_TRUE(near(view.grab().toImage().pixelColor(8, 5), Qt::blue));
}

TEST_F(ImageViewTest, NoPictureDrawsNothingAndDropsTheEarlierOne)
{
    testsupport::writeFileBytes(m_folder.file("text.jpg"), "not a picture");
    ImageView view;
    view.setAutoFillBackground(true);
    QPalette palette = view.palette();
    palette.setColor(QPalette::Window, Qt::green);
    view.setPalette(palette);
    view.resize(30, 30);

    for (const QString& file : {path("text.jpg"), path("missing.jpg")}) {
        ASSERT_TRUE(view.load(photo()));
        EXPECT_FALSE(view.load(file));
        EXPECT_FALSE(view.hasPicture());
        EXPECT_EQ(view.naturalSize(), QSize(0, 0));
        EXPECT_EQ(view.sizeHint(), QSize(0, 0));
        EXPECT_EQ(view.grab().toImage().pixelColor(15, 15), QColor(Qt::green));
    }
}

} // namespace
