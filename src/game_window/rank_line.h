// The line under the board: the rank the clock would reach, or the hint's line, which spans the
// window in letters that shrink to fit; on the background of a peeked colour, with its mark.
#pragma once

#include <QLabel>

#include <string>

namespace quorvin {

class ColourMark;

class RankLine : public QLabel {
  public:
    explicit RankLine(QWidget* parent);

    // The line's place under the board, in its parent's pixels.
    void setPlace(const QRect& underBoard);
    // `wide`: the hint's line, across the parent's width. `peekColour`: the colour peeked at,
    // kWindowBackground for none.
    void render(const std::string& text, bool wide, int peekColour, bool marks);

  private:
    void place();

    QRect m_underBoard;
    bool m_wide = false;
    ColourMark* m_peekMark = nullptr; // MarcaLabel1, while a colour is peeked
};

} // namespace quorvin
