// The drawn pictures: faces a player can tell apart, in the colours they claim, sharp at high
// pixel density; the title strip and the icon at their sizes.
#include "assets/pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMap>
#include <QtMath>

namespace quorvin {
namespace {

QImage imageOf(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
}

// The sum of squared steps between neighbouring pixels: sharp edges make large single steps,
// blurred ones several small steps that add up to much less.
double edgeEnergy(const QImage& image) {
    double energy = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int here = qGray(image.pixel(x, y));
            if (x + 1 < image.width()) energy += qPow(qGray(image.pixel(x + 1, y)) - here, 2);
            if (y + 1 < image.height()) energy += qPow(qGray(image.pixel(x, y + 1)) - here, 2);
        }
    }
    return energy;
}

// The colour covering most of the picture apart from the black around the face.
QRgb commonestNonBlack(const QImage& image) {
    QMap<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel) > 0) ++counts[pixel];
        }
    }
    QRgb best = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(best)) best = it.key();
    }
    return best;
}

TEST(FacePictures, FiveExpressionsDifferClearlyInEveryColour) {
    for (qreal dpr : {1.0, 2.0}) {
        for (int colour = 0; colour <= 4; ++colour) {
            for (int a = 0; a < kFaceCount; ++a) {
                for (int b = a + 1; b < kFaceCount; ++b) {
                    const int differing = differingPixels(imageOf(facePixmap(a, colour, dpr)),
                                                          imageOf(facePixmap(b, colour, dpr)));
                    // A tenth of the face area: more than a stray pixel or two.
                    EXPECT_GT(differing, 40 * dpr * dpr)
                        << "faces " << a << " and " << b << ", colour " << colour << ", dpr "
                        << dpr;
                }
            }
        }
    }
}

TEST(FacePictures, SkinIsTheClaimedColourOnBlack) {
    for (int colour = 0; colour <= 4; ++colour) {
        for (int face = 0; face < kFaceCount; ++face) {
            const QImage image = imageOf(facePixmap(face, colour, 1.0));
            ASSERT_EQ(image.size(), QSize(kFaceSize, kFaceSize));
            EXPECT_EQ(commonestNonBlack(image), faceColour(colour).rgb())
                << "face " << face << ", colour " << colour;
            for (QPoint corner : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 19), QPoint(19, 19)}) {
                EXPECT_EQ(image.pixel(corner), qRgb(0, 0, 0)) << "face " << face;
            }
            if (colour != 0) continue;
            // A hidden cell must not give away any colour, not even in its tongue or rim.
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    ASSERT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel))
                        << "grey face " << face << " has a coloured pixel at " << x << "," << y;
                }
            }
        }
    }
}

TEST(FacePictures, HighDensityPicturesAreDrawnNotEnlarged) {
    for (int face = 0; face < kFaceCount; ++face) {
        const QPixmap pixmap = facePixmap(face, 2, 2.0);
        EXPECT_EQ(pixmap.size(), QSize(40, 40));
        EXPECT_EQ(pixmap.devicePixelRatio(), 2.0);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(20, 20));
        // A 20 x 20 picture enlarged without smoothing is uniform in every 2 x 2 block; a drawn
        // one is not along the edges of its shapes. Enlarged with smoothing, its edges blur.
        const QImage image = imageOf(pixmap);
        const QImage smoothed =
            imageOf(facePixmap(face, 2, 1.0))
                .scaled(40, 40, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_GT(edgeEnergy(image), 2 * edgeEnergy(smoothed)) << "face " << face;
        int detailedBlocks = 0;
        for (int y = 0; y < 40; y += 2) {
            for (int x = 0; x < 40; x += 2) {
                const QRgb first = image.pixel(x, y);
                detailedBlocks += image.pixel(x + 1, y) != first ||
                                  image.pixel(x, y + 1) != first ||
                                  image.pixel(x + 1, y + 1) != first;
            }
        }
        EXPECT_GT(detailedBlocks, 60) << "face " << face;
    }
    EXPECT_EQ(facePixmap(0, 1, 1.5).size(), QSize(30, 30));
}

TEST(FacePictures, RepeatedRequestsShareOnePicture) {
    EXPECT_EQ(facePixmap(3, 4, 1.0).cacheKey(), facePixmap(3, 4, 1.0).cacheKey());
    EXPECT_NE(facePixmap(3, 4, 1.0).cacheKey(), facePixmap(3, 4, 2.0).cacheKey());
    EXPECT_NE(facePixmap(3, 4, 1.0).cacheKey(), facePixmap(3, 3, 1.0).cacheKey());
}

TEST(TitlePicture, IsAPairOfEyesOnADarkStrip) {
    for (qreal dpr : {1.0, 2.0}) {
        const QPixmap pixmap = titlePixmap(dpr);
        EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(kTitleWidth, kTitleHeight));
        EXPECT_EQ(pixmap.size(), QSize(qRound(kTitleWidth * dpr), qRound(kTitleHeight * dpr)));
    }
    const QImage image = imageOf(titlePixmap(1.0));
    int brightLeft = 0;
    int brightRight = 0;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            if (grey > 200) ++(x < kTitleWidth / 2 ? brightLeft : brightRight);
            if (grey < 60) ++dark;
        }
    }
    EXPECT_GT(brightLeft, 200);  // the white of the left eye
    EXPECT_GT(brightRight, 200); // and of the right one
    EXPECT_GT(dark, image.width() * image.height() / 2);
}

TEST(WindowIcon, OffersSmallAndLargeSizes) {
    const QIcon icon = windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 32, 256})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    const QImage large = icon.pixmap(256, 256).toImage();
    EXPECT_EQ(qAlpha(large.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(large.pixel(128, 40)), 255);
}

} // namespace
} // namespace quorvin
