// The drawn pictures: faces a player can tell apart, in the colours they claim, with or without
// the colours' marks, sharp at high pixel density; the title strip at its size.
#include "assets/pictures.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <QMap>

#include <algorithm>

namespace quorvin {
namespace {

QImage imageOf(const QPixmap& pixmap) { return pixmap.toImage().convertToFormat(QImage::Format_ARGB32); }

// The marks must not hide the expressions: with them the faces differ as much as without.
TEST(FacePictures, FiveExpressionsDifferClearlyInEveryColourMarkedOrNot) {
    for (auto [dpr, marked] : {std::pair{1.0, false}, {2.0, false}, {1.0, true}, {2.0, true}}) {
        for (int colour = 0; colour <= 4; ++colour) {
            for (int a = 0; a < kFaceCount; ++a) {
                for (int b = a + 1; b < kFaceCount; ++b) {
                    const QImage x = imageOf(facePixmap(a, colour, dpr, marked));
                    const QImage y = imageOf(facePixmap(b, colour, dpr, marked));
                    int differing = 0;
                    for (int row = 0; row < x.height(); ++row)
                        for (int col = 0; col < x.width(); ++col) differing += x.pixel(col, row) != y.pixel(col, row);
                    // A tenth of the face area: more than a stray pixel or two.
                    EXPECT_GT(differing, 40 * dpr * dpr) << a << " vs " << b << ", colour " << colour;
                }
            }
        }
    }
}

// Without the marks the 25 faces are, pixel for pixel, those the game drew before it had marks
// (their digests were taken from that code); a grey face is never marked.
TEST(FacePictures, WithoutMarksEveryFaceIsAsBeforeTheMarks) {
    for (auto [dpr, digest] : {std::pair{1.0, "3a996723b6771eaa55fef0ccae63fdc289f17f09"},
                               {2.0, "5ba68dbbf5ca5d685b4c0ee60b7b8f49783611dc"}}) {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (int picture = 0; picture < 5 * kFaceCount; ++picture) { // colour by colour
            const int face = picture % kFaceCount;
            const QImage image = imageOf(facePixmap(face, picture / kFaceCount, dpr));
            hash.addData(QByteArrayView(image.constBits(), image.sizeInBytes()));
        }
        EXPECT_EQ(hash.result().toHex().toStdString(), digest) << "ratio " << dpr;
        EXPECT_EQ(facePixmap(Dead, 0, dpr, true).cacheKey(), facePixmap(Dead, 0, dpr).cacheKey());
    }
}

TEST(FacePictures, SkinIsTheClaimedColourOnBlackAndGreyGivesNoColourAway) {
    for (int colour = 0; colour <= 4; ++colour) {
        for (int face = 0; face < kFaceCount; ++face) {
            const QImage image = imageOf(facePixmap(face, colour, 1.0));
            ASSERT_EQ(image.size(), QSize(kFaceSize, kFaceSize));
            QMap<QRgb, int> counts;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    if (pixel != qRgb(0, 0, 0)) ++counts[pixel];
                    if (colour == 0) { // not even a tongue or a rim may show a colour
                        ASSERT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel));
                    }
                }
            }
            const auto commonest = std::max_element(counts.cbegin(), counts.cend());
            EXPECT_EQ(commonest.key(), faceColour(colour).rgb()) << face << ", colour " << colour;
            EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
        }
    }
}

TEST(FacePictures, HighDensityPicturesAreDrawnNotEnlarged) {
    for (int face = 0; face < 2 * kFaceCount; ++face) { // then the marked ones
        const QPixmap pixmap = facePixmap(face % kFaceCount, 2, 2.0, face >= kFaceCount);
        EXPECT_EQ(pixmap.size(), QSize(40, 40));
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(20, 20));
        // A 20 x 20 picture enlarged is uniform in every 2 x 2 block; a drawn one is not along
        // the edges of its shapes.
        const QImage image = imageOf(pixmap);
        int detailedBlocks = 0;
        for (int y = 0; y < 40; y += 2) {
            for (int x = 0; x < 40; x += 2) {
                const QRgb first = image.pixel(x, y);
                detailedBlocks += image.pixel(x + 1, y) != first || image.pixel(x, y + 1) != first ||
                                  image.pixel(x + 1, y + 1) != first;
            }
        }
        EXPECT_GT(detailedBlocks, 60) << "face " << face;
    }
}

TEST(TitlePicture, IsAPairOfEyesOnADarkStripAtEveryDensity) {
    for (qreal dpr : {1.0, 2.0}) {
        const QPixmap pixmap = titlePixmap(dpr);
        EXPECT_EQ(pixmap.size(), QSize(qRound(kTitleWidth * dpr), qRound(kTitleHeight * dpr)));
    }
    const QImage image = imageOf(titlePixmap(1.0));
    int bright[2] = {0, 0};
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            if (grey > 200) ++bright[x < kTitleWidth / 2 ? 0 : 1]; // the whites of the two eyes
            if (grey < 60) ++dark;
        }
    }
    EXPECT_GT(bright[0], 200);
    EXPECT_GT(bright[1], 200);
    EXPECT_GT(dark, image.width() * image.height() / 2);
}

} // namespace
} // namespace quorvin
