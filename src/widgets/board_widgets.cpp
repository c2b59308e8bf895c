// Small widgets of the game window.
#include "widgets/board_widgets.h"

#include "assets/pictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvin {

QFont windowFont(const QString& family, qreal points, bool bold) {
    QStringList families{family};
    QFont font;
    if (family.startsWith(QLatin1String("Courier"))) {
        families << QStringLiteral("Liberation Mono");
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    } else {
        if (family == QLatin1String("MS Sans Serif"))
            families << QStringLiteral("Microsoft Sans Serif");
        families << QStringLiteral("Liberation Sans") << QStringLiteral("Arial");
        font.setStyleHint(QFont::SansSerif);
    }
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

CellPicture::CellPicture(int index, QWidget* parent) : QWidget(parent), m_index(index) {
    setObjectName(QStringLiteral("Image1_%1").arg(index));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CellPicture::setPicture(const QPixmap& picture) {
    if (picture.cacheKey() == m_picture.cacheKey()) return;
    m_picture = picture;
    update();
}

void CellPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
}

// Qt gives the release to the widget that took the press, so a release always counts for the
// cell that was pressed, wherever the pointer is by then.
void CellPicture::mousePressEvent(QMouseEvent* event) {
    emit pressed(m_index, event->button());
}
void CellPicture::mouseReleaseEvent(QMouseEvent* event) {
    emit released(m_index, event->button());
}
void CellPicture::mouseMoveEvent(QMouseEvent*) {
    emit hovered(m_index);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent*) {
    emit released();
}

OutlineFrame::OutlineFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void OutlineFrame::setColour(const QColor& colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    update();
}

void OutlineFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Two pixels wide: the frame falls on the seam between cells and must read at a glance.
    painter.setPen(QPen(m_colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    // On the bottom right corner, about where the framed cell shows its own mark once revealed;
    // no other cell's mark lies under it.
    if (m_mark) drawColourMark(painter, m_mark, QRectF(width() - 10, height() - 10, 8, 8));
}

void OutlineFrame::setMark(int colour) {
    if (colour == m_mark) return;
    m_mark = colour;
    update();
}

ColourMark::ColourMark(QWidget* parent, const QRect& geometry) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(geometry);
    hide();
}

void ColourMark::setColour(int colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    setVisible(colour != 0);
    update();
}

void ColourMark::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawColourMark(painter, m_colour, QRectF(rect()).adjusted(1, 1, -1, -1)); // room for the rim
}

void setColours(QWidget* widget, const QColor& ground, const QColor& ink) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::Window) == ground && palette.color(QPalette::WindowText) == ink &&
        widget->autoFillBackground())
        return;
    palette.setColor(QPalette::Window, ground);
    palette.setColor(QPalette::WindowText, ink);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextIfChanged(QLabel* label, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (label->text() != value) label->setText(value);
}

QLabel* makeCounter(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(windowFont(QStringLiteral("MS Sans Serif"), 8.25, false));
    label->hide();
    return label;
}

} // namespace quorvin
