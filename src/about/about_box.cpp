// The about box: built once per showing, closed by a click or a typed character.
#include "about/about_box.h"

#include "about/logo.h"
#include "widgets/board_widgets.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <utility>

namespace quorvin {
namespace {

const QColor kLightGrey(192, 192, 192);
const QColor kLinkBlue(51, 153, 255);
const QColor kPaleYellow(255, 255, 192);

// A link takes its own clicks, so they never reach the box and close it, and reports the
// pointer passing over it.
class LinkLabel : public QLabel {
  public:
    LinkLabel(QWidget* parent, std::function<void()> clicked, std::function<void()> hovered)
        : QLabel(parent), m_clicked(std::move(clicked)), m_hovered(std::move(hovered)) {
        setMouseTracking(true);
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_clicked();
    }
    void mouseMoveEvent(QMouseEvent*) override { m_hovered(); }

  private:
    std::function<void()> m_clicked;
    std::function<void()> m_hovered;
};

QLabel* place(QLabel* label, const char* name, const QRect& geometry, const QColor& colour,
              const QFont& font) {
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

// A link is as wide as its address, so that the whole address shows and only it takes clicks.
void setLinkText(QLabel* link, const QString& text) {
    link->setText(text);
    link->resize(link->fontMetrics().horizontalAdvance(text) + 2, link->height());
}

} // namespace

AboutBox::AboutBox(Platform& platform, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), m_platform(platform), m_owner(owner) {
    setObjectName(QStringLiteral("FormVantomir"));
    setFixedSize(twipsRect(0, 0, 4260, 6300).size());
    setMouseTracking(true);
    createElements();
}

QString AboutBox::webAddress() {
    return QStringLiteral("www.example.org/quorvin");
}
QString AboutBox::mailAddress() {
    return QStringLiteral("quorvin@example.org");
}

void AboutBox::createElements() {
    // Every text of the box in one family, so that labels side by side share their baseline.
    const QFont plain = windowFont(QStringLiteral("Arial"), 8.25);
    const QFont link = windowFont(QStringLiteral("Arial"), 9.75);

    m_icon = place(new QLabel(this), "imgIcono", twipsRect(349, 180, 480, 480), Qt::white, plain);
    m_icon->setScaledContents(true);

    QFont heavy = windowFont(QStringLiteral("Arial Black"), 12);
    heavy.setWeight(QFont::Black);
    m_title =
        place(new QLabel(this), "lblTitulo", twipsRect(956, 180, 2955, 375), Qt::white, heavy);
    place(new QLabel(QStringLiteral("por el equipo de Quorvin"), this), "lblCreadoPor",
          twipsRect(956, 480, 2295, 255), Qt::white, plain);

    // The logo is drawn after the first frame (finishAfterFirstFrame), so the box shows at once.
    m_logo = place(new QLabel(this), "imgLogo", twipsRect(405, 810, 3450, 3435), Qt::white, plain);

    place(new QLabel(QStringLiteral("Email: "), this), "lblTexEmail",
          twipsRect(1080, 4365, 735, 255), kLightGrey, plain);
    m_mail = place(
        new LinkLabel(
            this, [this] { m_platform.openDocument("mailto:" + m_mail->text().toStdString()); },
            [this] { underlineLinks(false, true); }),
        "lblMail", twipsRect(1605, 4350, 1575, 240), kLinkBlue, link);
    setLinkText(m_mail, mailAddress());
    place(new QLabel(QStringLiteral("Web:"), this), "lblTexWeb", twipsRect(1095, 4635, 615, 255),
          kLightGrey, plain);
    m_url = place(new LinkLabel(
                      this,
                      [this] { m_platform.openDocument("http://" + m_url->text().toStdString()); },
                      [this] { underlineLinks(true, false); }),
                  "lblURL", twipsRect(1635, 4605, 1485, 240), kLinkBlue, link);
    setLinkText(m_url, webAddress());

    // The notice's box runs past the right edge of the window: wrap its text as far from that
    // edge as it starts from the left one.
    auto* notice =
        place(new QLabel(QStringLiteral(
                             "Quorvin es un juego gratuito: puedes jugarlo, copiarlo y regalarlo "
                             "a quien quieras, siempre sin cobrar por él. Se ofrece tal cual, sin "
                             "garantía de ninguna clase."),
                         this),
              "lblTexto", twipsRect(240, 4980, 4185, 1005), kLightGrey,
              windowFont(QStringLiteral("Arial"), 9));
    notice->setWordWrap(true);
    notice->setContentsMargins(0, 0, notice->geometry().right() + 1 - width() + notice->x(), 0);

    auto* click = place(new QLabel(QStringLiteral("[click para cerrar]"), this), "lblClick",
                        twipsRect(2805, 5955, 1320, 210), kPaleYellow,
                        windowFont(QStringLiteral("Arial"), 7));
    click->setAlignment(Qt::AlignCenter);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("shpMarco"));
    frame->setGeometry(rect());
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    frame->setPalette(palette);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void AboutBox::showEvent(QShowEvent* event) {
    takeOwnerLook();
    placeOverOwner();
    underlineLinks(false, false);
    QDialog::showEvent(event);
}

// The title and the icon picture now; the window's own icon (which the system asks for in all
// its sizes, and which a box without a title bar does not show) after the first frame.
void AboutBox::takeOwnerLook() {
    if (!m_owner) return;
    m_title->setText(m_owner->windowTitle());
    m_icon->setPixmap(m_owner->windowIcon().pixmap(m_icon->size(), devicePixelRatioF()));
}

void AboutBox::finishAfterFirstFrame() {
    if (m_logo->pixmap().isNull())
        m_logo->setPixmap(aboutLogo(m_logo->size(), devicePixelRatioF()));
    if (m_owner) setWindowIcon(m_owner->windowIcon());
    if (afterFirstFrame) afterFirstFrame();
}

void AboutBox::placeOverOwner() {
    QRect over;
    if (m_owner && m_owner->isVisible()) {
        over = m_owner->window()->frameGeometry();
    } else {
        QScreen* screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
        if (screen) over = screen->availableGeometry();
    }
    if (over.isValid()) move(over.center() - QPoint(width() / 2, height() / 2));
}

void AboutBox::underlineLinks(bool web, bool mail) {
    for (auto [label, on] : {std::pair{m_url, web}, std::pair{m_mail, mail}}) {
        QFont font = label->font();
        if (font.underline() == on) continue;
        font.setUnderline(on);
        label->setFont(font);
    }
}

// Any key that types a character closes the box: letters, digits, Space, Enter, Esc. Arrows,
// function keys and lone modifiers type nothing.
void AboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->text().isEmpty()) {
        event->ignore();
        return;
    }
    accept();
}

// A click closes the box only when it began on it, so a button still held when the box opens
// does not close it at once.
void AboutBox::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void AboutBox::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressed && event->button() == Qt::LeftButton) accept();
    m_pressed = false;
}

void AboutBox::mouseMoveEvent(QMouseEvent*) {
    underlineLinks(false, false);
}

void AboutBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient night(0, 0, 0, height());
    night.setColorAt(0.0, QColor(26, 24, 50));
    night.setColorAt(1.0, QColor(6, 6, 16));
    painter.fillRect(rect(), night);
    if (!m_framed) {
        m_framed = true; // queued: it runs once this frame is finished and on the screen
        QTimer::singleShot(0, this, &AboutBox::finishAfterFirstFrame);
    }
}

} // namespace quorvin
