// The line under the board, placed and coloured.
#include "game_window/rank_line.h"

#include "assets/pictures.h"
#include "model/game.h"
#include "widgets/board_widgets.h"

#include <QFontMetrics>

namespace quorvin {

RankLine::RankLine(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("Label1"));
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_peekMark = new ColourMark(this, twipsRect(45, 45, 165, 165));
    m_peekMark->setObjectName(QStringLiteral("MarcaLabel1"));
}

void RankLine::setPlace(const QRect& underBoard) {
    m_underBoard = underBoard;
    m_wide = false;
    place();
}

void RankLine::render(const std::string& text, bool wide, int peekColour, bool marks) {
    setTextIfChanged(this, text);
    if (wide != m_wide) {
        m_wide = wide;
        place();
    }
    const QWidget* window = parentWidget();
    if (peekColour == kWindowBackground)
        setColours(this, window->palette().color(QPalette::Window),
                   window->palette().color(QPalette::WindowText));
    else
        setColours(this, swatchColour(peekColour), Qt::black);
    m_peekMark->setColour(marks && peekColour != kWindowBackground ? peekColour : 0);
}

// The line spans the board in 8.25-point letters. The hint's lines are wider than a small board:
// while one shows, the line spans the whole window and its letters shrink, down to 6 points,
// until it fits.
void RankLine::place() {
    QRect place = m_underBoard;
    QFont font = windowFont(QStringLiteral("Arial"), 8.25, false);
    if (m_wide) {
        place.setLeft(0);
        place.setRight(parentWidget()->width() - 1);
        while (font.pointSizeF() > 6 &&
               QFontMetrics(font).horizontalAdvance(text()) > place.width())
            font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    if (geometry() != place) setGeometry(place);
    if (this->font() != font) setFont(font);
}

} // namespace quorvin
