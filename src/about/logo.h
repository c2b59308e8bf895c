// The logo of the about box, drawn in code so that it stays sharp at any pixel density.
#pragma once

#include <QPixmap>
#include <QSize>

namespace quorvin {

// A big laughing face in a ring of board cells of the four colours, on a transparent ground.
QPixmap aboutLogo(QSize size, qreal devicePixelRatio);

} // namespace quorvin
