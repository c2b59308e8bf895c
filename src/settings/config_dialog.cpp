// The configuration dialog's controls, laid out in twips, and their handlers; every decision
// about a warning or a way back is the rules' (config_rules.h).
#include "settings/config_dialog.h"

#include "assets/pictures.h"
#include "model/names.h"
#include "solver/no_guess.h"
#include "widgets/board_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace quorvin {

// A filled square or circle without an outline, in its palette's window colour, and the mark
// of a colour in its middle (0: none).
class FilledShape : public QWidget {
public:
    FilledShape(bool round, const QColor& colour, QWidget* parent) : QWidget(parent), m_round(round) {
        setFillColour(colour);
    }
    void setFillColour(const QColor& colour) {
        QPalette p = palette();
        p.setColor(QPalette::Window, colour);
        setPalette(p);
        update();
    }
    void setMark(int colour) {
        if (colour == m_mark) return;
        m_mark = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Window));
        if (m_round) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.drawEllipse(QRectF(rect()));
        } else {
            painter.drawRect(rect());
        }
        const qreal margin = qMin(width(), height()) * 0.2; // the fill shows around the mark
        if (m_mark)
            drawColourMark(painter, m_mark,
                           QRectF(rect()).adjusted(margin, margin, -margin, -margin));
    }

private:
    bool m_round;
    int m_mark = 0;
};

namespace {

QString sizeCaption(int side) { return QStringLiteral("%1 x %1").arg(side); }

template <class W> W* place(W* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QGroupBox* frame(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    return place(new QGroupBox(QString::fromUtf8(caption), parent), name, geometry);
}

} // namespace

ConfigDialog::ConfigDialog(Session& session, Preferences& preferences, QWidget* parent)
    : QDialog(parent), m_session(session), m_game(session.game()), m_preferences(preferences) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Configuración"));
    setFixedSize(twipsRect(0, 0, 6135, 3165).size());
    setFont(windowFont(QStringLiteral("MS Sans Serif"), 8));
    // The frames' captions sit on their border line, so the controls placed near a frame's top
    // edge stand inside it.
    setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
    createControls();
    // Under a style sheet the controls inside a frame no longer inherit the dialog's face.
    for (QWidget* control : findChildren<QWidget*>())
        if (control != m_sizeLabel) control->setFont(font());
}

void ConfigDialog::createControls() {
    QGroupBox* level = frame(this, "Frame2", "Nivel", twipsRect(120, 120, 1695, 1215));
    m_sizeLabel = place(new QLabel(QStringLiteral("13 x 13"), level), "Label1",
                        twipsRect(240, 240, 1215, 375));
    m_sizeLabel->setAlignment(Qt::AlignCenter);
    m_sizeLabel->setFont(windowFont(QStringLiteral("MS Sans Serif"), 13.5, true));
    m_sizeBar = place(new QScrollBar(Qt::Horizontal, level), "HScroll1", twipsRect(240, 720, 1215, 255));
    m_sizeBar->setRange(kMinBoardSize, kMaxBoardSize);
    m_sizeBar->setSingleStep(1);
    // A click in the trough moves one size too: eleven sizes need no bigger step.
    m_sizeBar->setPageStep(1);
    // The board size changes when the thumb is let go; while it is dragged only the label follows.
    m_sizeBar->setTracking(false);
    // Unlike a scrolling bar, this one is a control the player tabs to: Right and wheel-up
    // make the board bigger.
    m_sizeBar->setInvertedControls(false);
    m_sizeBar->setFocusPolicy(Qt::StrongFocus);
    connect(m_sizeBar, &QScrollBar::valueChanged, this, &ConfigDialog::sizeChanged);
    connect(m_sizeBar, &QScrollBar::sliderMoved, this, &ConfigDialog::sizeDragged);
    m_sizeBar->installEventFilter(this);

    QGroupBox* colours = frame(this, "Frame1", "Colores", twipsRect(1920, 120, 1935, 1575));
    const char* optionCaptions[] = {"Dos.", "Tres.", "Cuatro."};
    for (int k = 0; k < 3; ++k) {
        auto* option = new QRadioButton(QString::fromLatin1(optionCaptions[k]), colours);
        option->setGeometry(twipsRect(240, 360 + 360 * k, k == 2 ? 855 : 735, 255));
        option->setObjectName(QStringLiteral("Option1_%1").arg(k));
        connect(option, &QRadioButton::clicked, this, [this, k] { colourChosen(k); });
        m_colourOptions[static_cast<std::size_t>(k)] = option;
    }
    for (int k = 0; k < 4; ++k) {
        auto* swatch = new FilledShape(false, swatchColour(k + 1), colours);
        swatch->setObjectName(QStringLiteral("Shape1_%1").arg(k));
        swatch->setGeometry(twipsRect(1320, 360 + 240 * k, 255, 255));
        m_swatches[static_cast<std::size_t>(k)] = swatch;
    }

    QGroupBox* start = frame(this, "Frame3", "Inicio", twipsRect(3960, 120, 2055, 1575));
    m_patterns = new QComboBox(start);
    m_patterns->setObjectName(QStringLiteral("cboInicio"));
    m_patterns->setEditable(false);
    const QRect listBox = twipsRect(240, 240, 1575, 315);
    m_patterns->setGeometry(listBox.x(), listBox.y(), listBox.width(),
                            std::max(listBox.height(), m_patterns->sizeHint().height()));
    connect(m_patterns, &QComboBox::activated, this, &ConfigDialog::patternChosen);
    place(new FilledShape(false, Qt::black, start), "Shape3", twipsRect(600, 600, 855, 855));
    for (int i = 0; i < kPreviewSide * kPreviewSide; ++i) {
        auto* circle = new FilledShape(true, palette().color(QPalette::Window), start);
        circle->setObjectName(QStringLiteral("Shape2_%1").arg(i));
        circle->setGeometry(twipsRect(600 + 120 * (i % 7), 600 + 120 * (i / 7), 135, 135));
        m_circles[static_cast<std::size_t>(i)] = circle;
    }
    m_patternTimer = new QTimer(this);
    m_patternTimer->setObjectName(QStringLiteral("Timer1"));
    m_patternTimer->setSingleShot(true);
    m_patternTimer->setInterval(1);
    connect(m_patternTimer, &QTimer::timeout, this, &ConfigDialog::restorePatternList);

    m_continued = place(new QCheckBox(QStringLiteral("Juego continuado."), this), "Check1",
                        twipsRect(120, 1440, 1695, 255));
    connect(m_continued, &QCheckBox::clicked, this, &ConfigDialog::continuedToggled);
    m_marks = place(new QCheckBox(QStringLiteral("Marcas de color."), this), "Check2",
                    twipsRect(120, 1800, 2415, 255));
    m_marks->setToolTip(QStringLiteral(
        "Cada color lleva también su forma: punto, barra, triángulo o cruz."));
    connect(m_marks, &QCheckBox::clicked, this, &ConfigDialog::marksToggled);
    m_noGuess =
        place(new QCheckBox(QStringLiteral("Sólo partidas que se resuelven sin adivinar."), this),
              "Check3", twipsRect(120, 2130, 5895, 255));
    connect(m_noGuess, &QCheckBox::clicked, this, &ConfigDialog::noGuessToggled);
    m_noGuessReason = place(new QLabel(this), "Label2", twipsRect(120, 2460, 2400, 495));
    m_noGuessReason->setWordWrap(true);
    m_noGuessReason->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_accept = place(new QPushButton(QStringLiteral("Aceptar"), this), "Command1",
                     twipsRect(2640, 2460, 1575, 495));
    m_accept->setDefault(true);
    connect(m_accept, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = place(new QPushButton(QStringLiteral("Cancelar"), this), "Command2",
                         twipsRect(4440, 2460, 1575, 495));
    connect(cancel, &QPushButton::clicked, this, &ConfigDialog::cancelClicked);

    // "Aceptar" comes first; then the controls in the order they stand.
    QWidget* order[] = {m_accept,
                        cancel,
                        m_sizeBar,
                        m_colourOptions[0],
                        m_colourOptions[1],
                        m_colourOptions[2],
                        m_patterns,
                        m_continued,
                        m_marks,
                        m_noGuess};
    for (std::size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);
}

void ConfigDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) activate();
}

void ConfigDialog::activate() {
    m_sizeBarHeld = false;
    m_sizePending = false;
    m_sizeBar->setMaximum(kMaxBoardSize);
    m_rules.begin(m_game);
    m_colourOptions[static_cast<std::size_t>(m_game.colorCount - 2)]->setChecked(true);
    colourSwatches();
    m_continued->setChecked(m_game.continuedGame);
    m_savedPreferences = m_preferences;
    m_marks->setChecked(m_preferences.colourMarks);
    {
        const QSignalBlocker quiet(m_sizeBar);
        m_sizeBar->setValue(m_game.boardSize);
    }
    m_sizeLabel->setText(sizeCaption(m_sizeBar->value()));
    m_patterns->clear();
    for (std::string_view name : kPatternNames)
        m_patterns->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    m_patterns->setCurrentIndex(m_game.startPattern);
    drawPreview();
    showNoGuessOption();
    m_accept->setFocus();
}

bool ConfigDialog::change(ConfigSetting which, int value) {
    const bool changed = m_rules.change(m_game, m_session.clock.ticked, which, value);
    showNoGuessOption();
    return changed;
}

// Where a board that deduction alone solves takes too long to find, the option is not offered:
// the box is shown off and disabled, with the reason beside it, rather than keeping the player
// waiting. The player's choice is kept for the categories where it is offered.
void ConfigDialog::showNoGuessOption() {
    const bool offered =
        noGuessDealsOffered(m_game.boardSize, m_game.colorCount, m_game.startPattern);
    m_noGuess->setEnabled(offered);
    m_noGuess->setChecked(offered && m_game.noGuessDeals);
    m_noGuessReason->setText(offered ? QString()
                                     : QStringLiteral("En esta categoría no se ofrece: "
                                                      "tardaría en encontrarse."));
}

void ConfigDialog::noGuessToggled(bool on) {
    change(ConfigSetting::NoGuessDeals, on ? 1 : 0);
    m_accept->setFocus();
}

// A press on an arrow or in the trough steps the bar and keeps stepping while the button is
// held. A warning opened right then would take the release away from the bar, which would go on
// stepping (and asking) behind the box. So while the button is down the bar only shows the size;
// the change, with its warning, is made once the bar has had its release. Keys and the wheel
// change the size at once.
void ConfigDialog::sizeChanged(int value) {
    m_sizeLabel->setText(sizeCaption(value));
    if (m_sizeBarHeld) {
        m_sizePending = true;
        return;
    }
    applySize(value);
}

void ConfigDialog::sizeBarReleased() {
    m_sizeBarHeld = false;
    if (!m_sizePending) return;
    m_sizePending = false;
    applySize(m_sizeBar->value());
}

void ConfigDialog::applySize(int value) {
    if (!change(ConfigSetting::BoardSize, value)) {
        const QSignalBlocker quiet(m_sizeBar); // going back is not a change to ask about
        m_sizeBar->setValue(m_rules.savedBoardSize);
    }
    m_sizeLabel->setText(sizeCaption(m_sizeBar->value()));
    m_accept->setFocus();
}

bool ConfigDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_sizeBar) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            m_sizeBarHeld = true;
        else if (type == QEvent::MouseButtonRelease)
            // Queued, so the bar handles the release first: it stops stepping and, after a drag
            // of the thumb, takes its final value.
            QTimer::singleShot(0, this, &ConfigDialog::sizeBarReleased);
    }
    return QDialog::eventFilter(watched, event);
}

void ConfigDialog::sizeDragged(int value) { m_sizeLabel->setText(sizeCaption(value)); }

void ConfigDialog::colourChosen(int index) {
    if (!change(ConfigSetting::ColorCount, index + 2)) {
        const int back = m_rules.savedColorCount - 2;
        m_colourOptions[static_cast<std::size_t>(back)]->setChecked(true);
        colourChosen(back);
        return;
    }
    colourSwatches();
    m_accept->setFocus();
}

void ConfigDialog::patternChosen() {
    change(ConfigSetting::StartPattern, m_patterns->findText(m_patterns->currentText()));
    drawPreview();
    // A declined change leaves the list showing the new name; the timer brings the saved one back.
    m_patternTimer->start();
    m_accept->setFocus();
}

void ConfigDialog::restorePatternList() {
    if (m_patterns->currentIndex() == m_game.startPattern) return;
    m_patterns->setCurrentIndex(m_game.startPattern);
    patternChosen();
}

void ConfigDialog::continuedToggled(bool on) {
    m_game.continuedGame = on;
    m_accept->setFocus();
}

// The marks show at once, on the game window behind the dialog too; no new game is needed.
void ConfigDialog::marksToggled(bool on) {
    m_preferences.colourMarks = on;
    colourSwatches();
    showPreview();
    emit preferencesChanged();
    m_accept->setFocus();
}

// "Cancelar" takes back the marks too, as every other choice of this showing.
void ConfigDialog::cancelClicked() {
    m_rules.cancel(m_game);
    if (m_preferences != m_savedPreferences) {
        m_preferences = m_savedPreferences;
        emit preferencesChanged();
    }
    reject();
}

// Escape is "Cancelar". Closing by the window frame keeps the edits, as "Aceptar" does: QDialog
// turns that close into reject(), which restores nothing here.
void ConfigDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancelClicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A swatch beyond the colours in play takes the dialog's background and cannot be seen.
void ConfigDialog::colourSwatches() {
    const QColor background = palette().color(QPalette::Window);
    for (int k = 0; k < 4; ++k) {
        FilledShape* swatch = m_swatches[static_cast<std::size_t>(k)];
        const bool inPlay = k < m_game.colorCount;
        swatch->setFillColour(inPlay ? swatchColour(k + 1) : background);
        swatch->setMark(inPlay && m_preferences.colourMarks ? k + 1 : 0);
    }
}

void ConfigDialog::drawPreview() {
    m_game.drawPreview();
    showPreview();
}

// The preview's green stands for a cell shown at the start; with the marks on it carries the
// green's mark, the dot, so it tells from a hidden circle by more than its colour.
void ConfigDialog::showPreview() {
    const QColor background = palette().color(QPalette::Window);
    for (std::size_t i = 0; i < m_circles.size(); ++i) {
        m_circles[i]->setFillColour(m_game.preview[i] ? QColor(0, 255, 0) : background);
        m_circles[i]->setMark(m_game.preview[i] && m_preferences.colourMarks ? 1 : 0);
    }
}

} // namespace quorvin
