#include "platform/JpegImage.h"

#include <QBuffer>
#include <QColor>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

QByteArray EncodedPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(0, 128, 128));
    for (int x = 0; x < width / 2; ++x) {
        for (int y = 0; y < height; ++y)
            image.setPixelColor(x, y, QColor(250, 20, 20));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "JPG", 95));
    return bytes;
}

bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12
            && std::abs(a.blue() - b.blue()) < 12;
}

TEST(JpegImage, DecodesAtFullSizeWithItsColours)
{
    const QImage image = DecodeJpeg(EncodedPicture(64, 40));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(64, 40));
    EXPECT_TRUE(Near(image.pixelColor(5, 20), QColor(250, 20, 20)));
    EXPECT_TRUE(Near(image.pixelColor(60, 20), QColor(0, 128, 128)));
}

TEST(JpegImage, LoadsAFileAndGivesNothingForAMissingOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodedPicture(17, 9));
    file.close();
    EXPECT_EQ(LoadJpegFile(path).size(), QSize(17, 9));
    EXPECT_TRUE(LoadJpegFile(dir.filePath("missing.jpg")).isNull());
}

TEST(JpegImage, DamagedDataGivesANullImageAndDoesNotEndTheProgram)
{
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg("not a picture at all").isNull());
    const QByteArray picture = EncodedPicture(32, 32);
    EXPECT_TRUE(DecodeJpeg(picture.left(20)).isNull());
    QByteArray damaged = picture;
    for (int i = 2; i < 200 && i < damaged.size(); ++i)
        damaged[i] = static_cast<char>(0xFF);
    EXPECT_TRUE(DecodeJpeg(damaged).isNull());
    const QImage truncated = DecodeJpeg(picture.left(picture.size() / 2));
    EXPECT_TRUE(truncated.isNull() || truncated.size() == QSize(32, 32));
}

} // namespace
