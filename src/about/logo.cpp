// The about box's logo: the game's own faces, one big in the middle and a ring of cells around.
#include "about/logo.h"

#include "assets/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <array>

namespace quorvin {
namespace {

// The ring reads clockwise from the top: mostly cheerful, with one unlucky cell for the joke.
constexpr std::array<int, 14> kRingFaces = {Laughing, Smiling,  Worried,  Smiling, Laughing,
                                            Frowning, Smiling,  Laughing, Dead,    Smiling,
                                            Worried,  Laughing, Smiling,  Frowning};

// A face picture is a disc of radius 9.4 on a black square of 20: the square's side that gives
// a disc of `radius`.
qreal faceSquareFor(qreal radius) {
    return radius * kFaceSize / 9.4;
}

void drawCell(QPainter& p, QPointF centre, qreal side, int face, int colour, qreal dpr) {
    const QRectF cell(centre.x() - side / 2, centre.y() - side / 2, side, side);
    QPainterPath shape;
    shape.addRoundedRect(cell, side * 0.18, side * 0.18);
    p.save();
    p.setClipPath(shape);
    p.drawPixmap(cell, facePixmap(face, colour, dpr * side / kFaceSize), QRectF());
    p.restore();
    QColor rim = swatchColour(colour);
    rim.setAlpha(150);
    p.setPen(QPen(rim, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
}

} // namespace

QPixmap aboutLogo(QSize size, qreal devicePixelRatio) {
    QPixmap pixmap(qCeil(size.width() * devicePixelRatio), qCeil(size.height() * devicePixelRatio));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const qreal reach = qMin(size.width(), size.height()) / 2.0;

    QRadialGradient glow(centre, reach);
    glow.setColorAt(0.0, QColor(110, 96, 170, 170));
    glow.setColorAt(0.55, QColor(70, 60, 120, 90));
    glow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, reach, reach);

    // A ring of four arcs, one per colour, that the cells sit on.
    const qreal cellSide = reach * 0.21;
    const qreal ringRadius = reach - cellSide * 0.74;
    const QRectF ringBox(centre.x() - ringRadius, centre.y() - ringRadius, 2 * ringRadius,
                         2 * ringRadius);
    for (int colour = 1; colour <= 4; ++colour) {
        QColor arc = swatchColour(colour);
        arc.setAlpha(120);
        p.setPen(QPen(arc, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(ringBox, (90 - (colour - 1) * 90 - 8) * 16, -74 * 16);
    }

    for (std::size_t i = 0; i < kRingFaces.size(); ++i) {
        const qreal angle = -M_PI / 2 + 2 * M_PI * static_cast<qreal>(i) / kRingFaces.size();
        const QPointF at = centre + ringRadius * QPointF(qCos(angle), qSin(angle));
        drawCell(p, at, cellSide, kRingFaces[i], static_cast<int>(i % 4) + 1, devicePixelRatio);
    }

    // The big face, with a soft shadow below it and a gloss on its upper left.
    const qreal faceRadius = reach * 0.5;
    QRadialGradient shadow(centre + QPointF(0, faceRadius * 0.12), faceRadius * 1.15);
    shadow.setColorAt(0.8, QColor(0, 0, 0, 140));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(centre + QPointF(0, faceRadius * 0.12), faceRadius * 1.15, faceRadius * 1.15);

    const qreal square = faceSquareFor(faceRadius);
    const QRectF faceBox(centre.x() - square / 2, centre.y() - square / 2, square, square);
    QPainterPath disc;
    disc.addEllipse(centre, faceRadius + 0.5, faceRadius + 0.5);
    p.save();
    p.setClipPath(disc);
    p.drawPixmap(faceBox, facePixmap(Laughing, 3, devicePixelRatio * square / kFaceSize), QRectF());
    QRadialGradient gloss(centre - QPointF(faceRadius * 0.4, faceRadius * 0.5), faceRadius * 0.7);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(centre, faceRadius, faceRadius);
    p.restore();
    p.end();
    return pixmap;
}

} // namespace quorvin
