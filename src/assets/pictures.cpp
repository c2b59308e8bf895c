// Draws the faces, the title strip and the icon as vector shapes, so that every one is sharp
// at any pixel density. Coordinates are in device-independent pixels of a 20 x 20 face.
#include "assets/pictures.h"

#include <QCoreApplication>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <array>
#include <utility>

namespace quorvin {
namespace {

// Index 0 of the swatch table is only a fallback for a colour out of range.
constexpr std::array<QRgb, 5> kSwatchColours = {qRgb(192, 192, 192), qRgb(0, 255, 128),
                                                qRgb(255, 128, 128), qRgb(255, 255, 128),
                                                qRgb(0, 128, 255)};
constexpr std::array<QRgb, 5> kFaceColours = {qRgb(192, 192, 192), qRgb(0, 255, 128),
                                              qRgb(255, 128, 128), qRgb(255, 255, 128),
                                              qRgb(72, 164, 255)};

const QColor kInk(20, 20, 20); // neutral, so a grey face holds no trace of a colour

QPixmap blankPixmap(QSizeF logicalSize, qreal dpr, const QColor& fill) {
    QPixmap pixmap(qCeil(logicalSize.width() * dpr), qCeil(logicalSize.height() * dpr));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(fill);
    return pixmap;
}

QPen inkPen(qreal width) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawDotEyes(QPainter& p, qreal height) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(6.9, 7.6), 1.25, height);
    p.drawEllipse(QPointF(13.1, 7.6), 1.25, height);
}

// Eyes shut tight with joy: two arches.
void drawLaughingEyes(QPainter& p) {
    p.setPen(inkPen(1.4));
    p.setBrush(Qt::NoBrush);
    for (qreal x : {6.8, 13.2}) {
        QPainterPath arch(QPointF(x - 2.2, 8.4));
        arch.quadTo(QPointF(x, 4.6), QPointF(x + 2.2, 8.4));
        p.drawPath(arch);
    }
}

void drawCrossedEyes(QPainter& p) {
    p.setPen(inkPen(1.35));
    for (qreal x : {6.8, 13.2}) {
        p.drawLine(QPointF(x - 1.7, 5.9), QPointF(x + 1.7, 9.3));
        p.drawLine(QPointF(x + 1.7, 5.9), QPointF(x - 1.7, 9.3));
    }
}

// Brows drawn from the outer end to the inner end: inner ends low frown, inner ends high worry.
void drawBrows(QPainter& p, qreal outerY, qreal innerY) {
    p.setPen(inkPen(1.2));
    p.drawLine(QPointF(4.6, outerY), QPointF(8.6, innerY));
    p.drawLine(QPointF(15.4, outerY), QPointF(11.4, innerY));
}

void drawFaceFeatures(QPainter& p, int face, const QColor& skin) {
    const QColor tongue = skin.darker(165);
    switch (face) {
    case Laughing: {
        drawLaughingEyes(p);
        // A wide open mouth: a half disc, dark inside, the tongue at its bottom.
        QPainterPath mouth(QPointF(4.1, 10.6));
        mouth.lineTo(15.9, 10.6);
        mouth.cubicTo(QPointF(15.9, 18.4), QPointF(4.1, 18.4), QPointF(4.1, 10.6));
        p.setPen(inkPen(0.9));
        p.setBrush(kInk);
        p.drawPath(mouth);
        p.save();
        p.setClipPath(mouth);
        p.setPen(Qt::NoPen);
        p.setBrush(tongue);
        p.drawEllipse(QPointF(10.0, 17.0), 3.6, 2.6);
        p.restore();
        break;
    }
    case Smiling: {
        drawDotEyes(p, 1.7);
        QPainterPath smile(QPointF(5.2, 11.6));
        smile.quadTo(QPointF(10.0, 17.6), QPointF(14.8, 11.6));
        p.setPen(inkPen(1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(smile);
        break;
    }
    case Frowning: {
        drawBrows(p, 4.4, 5.9);
        drawDotEyes(p, 1.5);
        QPainterPath frown(QPointF(5.6, 15.6));
        frown.quadTo(QPointF(10.0, 10.4), QPointF(14.4, 15.6));
        p.setPen(inkPen(1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPath(frown);
        break;
    }
    case Worried: {
        drawBrows(p, 5.6, 3.9);
        drawDotEyes(p, 1.7);
        // A small O: the open mouth of someone who sees trouble coming.
        p.setPen(inkPen(1.0));
        p.setBrush(kInk);
        p.drawEllipse(QPointF(10.0, 14.3), 1.9, 2.3);
        break;
    }
    case Dead:
    default: {
        drawCrossedEyes(p);
        // A flat mouth with the tongue hanging out of its right half.
        QPainterPath tonguePath(QPointF(9.9, 12.6));
        tonguePath.lineTo(9.9, 14.6);
        tonguePath.cubicTo(QPointF(9.9, 17.6), QPointF(14.1, 17.6), QPointF(14.1, 14.6));
        tonguePath.lineTo(14.1, 12.6);
        p.setPen(inkPen(0.9));
        p.setBrush(tongue);
        p.drawPath(tonguePath);
        p.setPen(inkPen(0.7));
        p.drawLine(QPointF(12.0, 13.2), QPointF(12.0, 15.2));
        p.setPen(inkPen(1.5));
        p.drawLine(QPointF(5.4, 12.6), QPointF(14.8, 12.6));
        break;
    }
    }
}

// One face filling the square `size` x `size` at the painter's origin.
void drawFace(QPainter& p, qreal size, int face, const QColor& skin) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kFaceSize, size / kFaceSize);
    p.setPen(QPen(skin.darker(135), 0.6));
    p.setBrush(skin);
    p.drawEllipse(QPointF(10.0, 10.0), 9.4, 9.4);
    drawFaceFeatures(p, face, skin);
    p.restore();
}

// Each colour's mark in a 1 x 1 box: shapes that differ in outline and in where their area lies,
// so that they tell apart at six pixels across.
QPainterPath markShape(int colour) {
    QPainterPath shape;
    switch (colour) {
    case 1: // a dot
        shape.addEllipse(QPointF(0.5, 0.5), 0.42, 0.42);
        break;
    case 2: // a flat bar
        shape.addRect(QRectF(0.0, 0.32, 1.0, 0.36));
        break;
    case 3: // a triangle standing on its base
        shape.moveTo(0.5, 0.02);
        shape.lineTo(1.0, 0.92);
        shape.lineTo(0.0, 0.92);
        shape.closeSubpath();
        break;
    default: // a cross
        shape.setFillRule(Qt::WindingFill);
        shape.addRect(QRectF(0.33, 0.0, 0.34, 1.0));
        shape.addRect(QRectF(0.0, 0.33, 1.0, 0.34));
        break;
    }
    return shape;
}

// Where a face carries its mark: the bottom right corner, mostly on the black around the face,
// clear of the eyes and of every mouth, so the expression stays whole.
const QRectF kFaceMarkBox(13.8, 13.8, 5.8, 5.8);

// An almond-shaped eye centred at `centre`, looking slightly towards the middle of the strip.
void drawTitleEye(QPainter& p, QPointF centre, qreal lookX) {
    const qreal halfWidth = 27.0;
    const qreal lid = 15.5;
    QPainterPath almond(QPointF(centre.x() - halfWidth, centre.y()));
    almond.cubicTo(centre + QPointF(-halfWidth * 0.5, -lid),
                   centre + QPointF(halfWidth * 0.5, -lid), centre + QPointF(halfWidth, 0.0));
    almond.cubicTo(centre + QPointF(halfWidth * 0.5, lid * 0.85),
                   centre + QPointF(-halfWidth * 0.5, lid * 0.85),
                   centre + QPointF(-halfWidth, 0.0));

    QRadialGradient white(centre, halfWidth);
    white.setColorAt(0.0, QColor(250, 250, 252));
    white.setColorAt(0.75, QColor(214, 216, 226));
    white.setColorAt(1.0, QColor(150, 150, 168));
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawPath(almond);

    p.save();
    p.setClipPath(almond);
    const QPointF iris = centre + QPointF(lookX, 0.6);
    QRadialGradient irisFill(iris, 10.0, iris + QPointF(-2.0, -2.5));
    irisFill.setColorAt(0.0, QColor(150, 255, 200));
    irisFill.setColorAt(0.55, QColor(0, 215, 110));
    irisFill.setColorAt(1.0, QColor(0, 85, 60));
    p.setBrush(irisFill);
    p.setPen(QPen(QColor(0, 50, 35), 1.0));
    p.drawEllipse(iris, 10.0, 10.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 10, 12));
    p.drawEllipse(iris, 4.4, 4.4);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(iris + QPointF(-3.4, -3.6), 1.9, 1.9);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(iris + QPointF(3.0, 2.6), 0.9, 0.9);
    // The upper lid's shadow on the eyeball.
    QLinearGradient shade(centre + QPointF(0, -lid * 0.75), centre + QPointF(0, -lid * 0.2));
    shade.setColorAt(0.0, QColor(0, 0, 0, 130));
    shade.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shade);
    p.drawRect(QRectF(centre.x() - halfWidth, centre.y() - lid, 2 * halfWidth, lid));
    p.restore();

    // Lid lines and a brow.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 24, 28), 2.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath upperLid(centre + QPointF(-halfWidth - 1.0, 0.4));
    upperLid.cubicTo(centre + QPointF(-halfWidth * 0.5, -lid - 0.8),
                     centre + QPointF(halfWidth * 0.5, -lid - 0.8),
                     centre + QPointF(halfWidth + 1.0, 0.4));
    p.drawPath(upperLid);
    p.setPen(QPen(QColor(30, 24, 28, 150), 1.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath lowerLid(centre + QPointF(-halfWidth * 0.8, lid * 0.28));
    lowerLid.cubicTo(centre + QPointF(-halfWidth * 0.4, lid * 0.9),
                     centre + QPointF(halfWidth * 0.4, lid * 0.9),
                     centre + QPointF(halfWidth * 0.8, lid * 0.28));
    p.drawPath(lowerLid);

    // The brow: thick at its inner end, thinning out towards the temple.
    const qreal out = centre.x() < kTitleWidth / 2.0 ? -1.0 : 1.0;
    QPainterPath brow(centre + QPointF(-out * halfWidth * 0.8, -12.0));
    brow.quadTo(centre + QPointF(out * halfWidth * 0.1, -19.5),
                centre + QPointF(out * halfWidth * 1.1, -12.5));
    brow.quadTo(centre + QPointF(out * halfWidth * 0.1, -16.8),
                centre + QPointF(-out * halfWidth * 0.78, -9.8));
    brow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 138, 170));
    p.drawPath(brow);
}

// The title strip, drawn once for each pixel density.
QPixmap drawTitle(qreal devicePixelRatio) {
    QPixmap pixmap = blankPixmap(QSizeF(kTitleWidth, kTitleHeight), devicePixelRatio, Qt::black);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient night(0, 0, 0, kTitleHeight);
    night.setColorAt(0.0, QColor(30, 26, 52));
    night.setColorAt(1.0, QColor(6, 6, 14));
    p.fillRect(QRectF(0, 0, kTitleWidth, kTitleHeight), night);
    // A dark glow around the eyes, as if lit from the board below.
    QRadialGradient glow(QPointF(kTitleWidth / 2.0, kTitleHeight * 0.6), kTitleWidth * 0.42);
    glow.setColorAt(0.0, QColor(70, 60, 110, 150));
    glow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(0, 0, kTitleWidth, kTitleHeight), glow);

    // Out-of-focus lights in the four colours of the game at both ends.
    const std::array<std::pair<QPointF, int>, 6> lights = {
        {{{10, 9}, 1}, {{22, 27}, 3}, {{8, 28}, 2}, {{170, 8}, 4}, {{158, 26}, 1}, {{172, 28}, 3}}};
    p.setPen(Qt::NoPen);
    for (const auto& [centre, colour] : lights) {
        QColor light = faceColour(colour);
        QRadialGradient blur(centre, 6.5);
        light.setAlpha(110);
        blur.setColorAt(0.0, light);
        light.setAlpha(0);
        blur.setColorAt(1.0, light);
        p.setBrush(blur);
        p.drawEllipse(centre, 6.5, 6.5);
    }

    drawTitleEye(p, QPointF(59.0, 19.0), 3.0);
    drawTitleEye(p, QPointF(121.0, 19.0), -3.0);
    p.end();
    return pixmap;
}

// The drawn pictures, kept until the application object goes: a pixmap must not outlive it, so
// the cache is emptied by a post routine instead of by static destruction.
struct PictureCache {
    QHash<QPair<int, int>, QPixmap> faces;
    QHash<int, QPixmap> titles;    // by device pixel ratio, in hundredths
    QHash<int, QPixmap> iconSizes; // by side in pixels
    QIcon icon;
};

PictureCache& pictureCache() {
    static PictureCache* const cache = [] {
        qAddPostRoutine([] { pictureCache() = PictureCache(); });
        return new PictureCache;
    }();
    return *cache;
}

} // namespace

QColor swatchColour(int colour) {
    Q_ASSERT(colour >= 1 && colour <= 4);
    return QColor(kSwatchColours.at(static_cast<std::size_t>(qBound(0, colour, 4))));
}

QColor faceColour(int colour) {
    Q_ASSERT(colour >= 0 && colour <= 4);
    return QColor(kFaceColours.at(static_cast<std::size_t>(qBound(0, colour, 4))));
}

void drawColourMark(QPainter& painter, int colour, const QRectF& area) {
    QRectF box(0, 0, qMin(area.width(), area.height()), qMin(area.width(), area.height()));
    box.moveCenter(area.center());
    const QPainterPath shape =
        QTransform(box.width(), 0, 0, box.height(), box.left(), box.top()).map(markShape(colour));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The rim lies outside the white, under a pixel wide whatever the size of the mark.
    painter.strokePath(shape, QPen(kInk, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.fillPath(shape, Qt::white);
    painter.restore();
}

QPixmap facePixmap(int face, int colour, qreal devicePixelRatio, bool marked) {
    QHash<QPair<int, int>, QPixmap>& cache = pictureCache().faces;
    face = qBound(0, face, kFaceCount - 1);
    colour = qBound(0, colour, 4);
    marked = marked && colour > 0;
    // The ratio is kept to a hundredth: screens report values such as 1.25 or 1.5 exactly.
    const QPair<int, int> key(qRound(devicePixelRatio * 100.0),
                              (marked ? 5 * kFaceCount : 0) + colour * kFaceCount + face);
    if (auto found = cache.constFind(key); found != cache.constEnd()) return found.value();

    // A marked face is the plain one, copied, with the mark over it.
    QPixmap pixmap =
        marked ? facePixmap(face, colour, devicePixelRatio).copy()
               : blankPixmap(QSizeF(kFaceSize, kFaceSize), devicePixelRatio, Qt::black);
    QPainter painter(&pixmap);
    if (marked) drawColourMark(painter, colour, kFaceMarkBox);
    else drawFace(painter, kFaceSize, face, faceColour(colour));
    painter.end();
    cache.insert(key, pixmap);
    return pixmap;
}

QPixmap titlePixmap(qreal devicePixelRatio) {
    QPixmap& cached = pictureCache().titles[qRound(devicePixelRatio * 100.0)];
    if (cached.isNull()) cached = drawTitle(devicePixelRatio);
    return cached;
}

namespace {

// The window icon draws only the sizes asked for, each once. It offers the window system sizes
// up to 64 pixels: X11 takes every size offered when a window is created, and a 256-pixel face
// cost more than the rest of the start-up; launchers take the installed icons instead.
class FaceIconEngine : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawPixmap(rect, drawn(qMin(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return drawn(qMin(size.width(), size.height()));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : {16, 24, 32, 48, 64})
            sizes.append(QSize(side, side));
        return sizes;
    }
    QIconEngine* clone() const override { return new FaceIconEngine; }

    static QPixmap drawn(int side) {
        QPixmap& cached = pictureCache().iconSizes[side];
        if (cached.isNull()) {
            cached = QPixmap(side, side);
            cached.fill(Qt::transparent);
            QPainter painter(&cached);
            drawFace(painter, side, Laughing, faceColour(1));
        }
        return cached;
    }
};

} // namespace

QIcon windowIcon() {
    QIcon& icon = pictureCache().icon;
    if (icon.isNull()) icon = QIcon(new FaceIconEngine);
    return icon;
}

void drawPicturesAhead(qreal devicePixelRatio) {
    for (int colour = 0; colour <= 4; ++colour)
        for (int face = 0; face < kFaceCount; ++face)
            facePixmap(face, colour, devicePixelRatio);
    titlePixmap(devicePixelRatio);
    const QIcon icon = windowIcon();
    for (const QSize& size : icon.availableSizes())
        icon.pixmap(size);
}

} // namespace quorvin
