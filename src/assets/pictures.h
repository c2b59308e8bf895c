// The game's pictures, drawn with QPainter at the screen's pixel density: the 25 faces, the
// title strip, the window icon, and the colour tables they and the swatches use.
#pragma once

#include "model/game.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace quorvin {

inline constexpr int kFaceSize = 20;    // device-independent pixels, square
inline constexpr int kTitleWidth = 180; // device-independent pixels
inline constexpr int kTitleHeight = 35;

// Faces are numbered as the board model numbers them (Laughing .. Dead).
inline constexpr int kFaceCount = 5;

// The background of a colour's swatch, counter and frame: colours 1 to 4.
QColor swatchColour(int colour);
// The skin of a face picture: 0 is the grey of a hidden cell, 1 to 4 the colours in play.
// Only blue differs from its swatch, a lighter shade so that the dark features stay readable.
QColor faceColour(int colour);

// The mark of colour 1 to 4, which tells the colour by its shape alone, for the players who see
// some of the colours as one: a dot, a bar, a triangle and a cross, white with a dark rim, so
// that it reads on black, on every colour and in grey. Drawn as large as it fits, centred in
// `area`, its rim just outside.
void drawColourMark(QPainter& painter, int colour, const QRectF& area);

// Face 0..4 in colour 0..4 (0 = grey), 20 x 20 device-independent pixels on black, drawn for
// the given device pixel ratio; `marked` adds the colour's mark in the bottom right corner (a
// grey face has none). Cached: every call with the same arguments returns the same picture, so
// a cell's face can be recognised by comparing cacheKey().
QPixmap facePixmap(int face, int colour, qreal devicePixelRatio, bool marked = false);

// The title strip, 180 x 35 device-independent pixels: a close-up of a pair of eyes. Cached.
QPixmap titlePixmap(qreal devicePixelRatio);

// The window icon: a laughing face, drawn for any size when it is first asked for.
QIcon windowIcon();

// Draws the 25 faces, the title strip and the window icon's sizes for the given density ahead
// of their first use, while the player has time to spare (the about box is up at start-up).
void drawPicturesAhead(qreal devicePixelRatio);

} // namespace quorvin
