#include "ui/button_pictures.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <set>

namespace {

QImage ImageOf(ButtonPicture picture, int size) {
    return PictureFor(picture).pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
}

const char* const kNames[ButtonPictureCount] = {
    "Paint", "UpdateStartMenu", "NewCategory", "RenameCategory", "MoveCategory", "CloneCategory", "Delete0",
    "Delete1", "Undo", "SeeContents", "VisitLibrary", "Capture", "HelpContents", "ByeBye",
};

class ButtonPicturesTest : public ::testing::TestWithParam<int> {};

TEST_P(ButtonPicturesTest, ComesIn24And48) {
    const QIcon icon = PictureFor(ButtonPicture(GetParam()));
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(24, 24)));
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));
    EXPECT_EQ(ImageOf(ButtonPicture(GetParam()), 24).size(), QSize(24, 24));
    EXPECT_EQ(ImageOf(ButtonPicture(GetParam()), 48).size(), QSize(48, 48));
}

TEST_P(ButtonPicturesTest, IsAPictureAndNotABlot) {
    for (int size : {24, 48}) {
        const QImage image = ImageOf(ButtonPicture(GetParam()), size);
        int opaque = 0;
        std::set<QRgb> colours;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (qAlpha(image.pixel(x, y)) == 255) {
                    ++opaque;
                    colours.insert(image.pixel(x, y));
                }
        // Something fills a good part of the square, in more than one colour, and leaves some of it clear.
        EXPECT_GT(opaque, size * size / 6) << size;
        EXPECT_LT(opaque, size * size) << size;
        EXPECT_GE(colours.size(), 3u) << size;
    }
}

TEST_P(ButtonPicturesTest, IsDrawnOnceAndKept) {
    EXPECT_EQ(PictureFor(ButtonPicture(GetParam())).cacheKey(), PictureFor(ButtonPicture(GetParam())).cacheKey());
}

INSTANTIATE_TEST_SUITE_P(ButtonPicturesAll, ButtonPicturesTest, ::testing::Range(0, ButtonPictureCount),
                         [](const auto& info) { return std::string(kNames[info.param]); });

TEST(ButtonPicturesPairTest, EveryPictureDiffersFromEveryOther) {
    for (int size : {24, 48})
        for (int a = 0; a < ButtonPictureCount; ++a)
            for (int b = a + 1; b < ButtonPictureCount; ++b)
                EXPECT_NE(ImageOf(ButtonPicture(a), size), ImageOf(ButtonPicture(b), size))
                    << kNames[a] << " and " << kNames[b] << " at " << size;
}

TEST(ButtonPicturesPairTest, TheTwoDeletePicturesDiffer) {
    EXPECT_NE(ImageOf(ButtonPicture::Delete0, 24), ImageOf(ButtonPicture::Delete1, 24));
}

}  // namespace
