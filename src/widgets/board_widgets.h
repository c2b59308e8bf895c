// Small widgets that every window shares: a cell picture that reports the mouse, a swatch that
// reports its clicks, an outline frame, a colour's mark, and the conversion from twips to pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <string>

namespace quorvin {

// Positions and sizes are kept in twips, as the layout is designed; 15 twips are one pixel.
inline int twipsToPixels(double twips) {
    return qRound(twips / 15.0);
}
inline QRect twipsRect(double left, double top, double width, double height) {
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return QRect(x, y, twipsToPixels(left + width) - x, twipsToPixels(top + height) - y);
}

// The fonts the windows were designed with, or faces of the same widths where they are missing:
// "MS Sans Serif" and "Arial" fall back to a metric-compatible sans face, "Courier New" to a
// fixed-width one, so texts keep the room the layout gives them.
QFont windowFont(const QString& family, qreal points, bool bold = false);

// A widget's background and the colour of its text and border, both set: a colour the layout
// names must not meet a text colour the desktop's theme chose (light text on the white highlight
// under a dark theme).
void setColours(QWidget* widget, const QColor& ground, const QColor& ink);
void setTextIfChanged(QLabel* label, const std::string& text);
// A boxed counter label with centred text in the windows' small font, hidden until shown.
QLabel* makeCounter(QWidget* parent, const QString& name);

// One cell of the board: shows a face picture and reports presses, releases and moves.
class CellPicture : public QWidget {
    Q_OBJECT
  public:
    CellPicture(int index, QWidget* parent);
    int index() const { return m_index; }
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }

  signals:
    void pressed(int index, Qt::MouseButton button);
    void released(int index, Qt::MouseButton button);
    void hovered(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    int m_index;
    QPixmap m_picture;
};

// A label that reports a mouse release on it (the selected-colour swatch).
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void released();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A rectangle outline drawn over the board; the mouse passes through it. It may carry a
// colour's mark on its bottom right corner (0: none).
class OutlineFrame : public QWidget {
  public:
    explicit OutlineFrame(QWidget* parent);
    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }
    void setMark(int colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor m_colour;
    int m_mark = 0;
};

// The mark of colour 1 to 4, centred in its place, over or beside what shows the colour; colour
// 0 hides it. The mouse passes through it.
class ColourMark : public QWidget {
  public:
    ColourMark(QWidget* parent, const QRect& geometry);
    void setColour(int colour);
    int colour() const { return m_colour; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int m_colour = 0;
};

} // namespace quorvin
