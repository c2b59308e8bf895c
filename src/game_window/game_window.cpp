// The game window: its elements, their layout for each board side, and the input it forwards.
#include "game_window/game_window.h"

#include "assets/pictures.h"
#include "game_window/captions.h"
#include "game_window/deal_maker.h"
#include "game_window/game_keys.h"
#include "game_window/hint_controller.h"
#include "game_window/rank_line.h"
#include "game_window/side_panel.h"
#include "solver/no_guess.h"
#include "widgets/board_widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace quorvin {

namespace {

// The fixed places of the window's elements, in twips.
constexpr int kCellSize = 300;
constexpr int kFirstCellLeft = 480;
constexpr int kFirstCellTop = 1200;
constexpr int kBackgroundLeft = 420;
constexpr int kBackgroundTop = 1140;
constexpr int kCounterSize = 255;

const QColor kBrightWhite(255, 255, 255);
const QColor kMagenta(255, 0, 255);

MouseButton toMouseButton(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return MouseButton::Left;
    if (button == Qt::RightButton) return MouseButton::Right;
    return MouseButton::Other;
}

} // namespace

GameWindow::GameWindow(Platform& outside, QWidget* parent)
    : QMainWindow(parent), m_outside(outside), m_game(*this), m_session(m_game) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvin 1.0"));
    setWindowIcon(quorvin::windowIcon()); // the drawn icon, not QWidget::windowIcon()
    m_decimalSeparator = QLocale::system().decimalPoint().at(0).toLatin1();
    // The menus and elements are made by the first layout: at start-up the about box comes
    // first, and the player should not wait for a window that is not shown yet.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &GameWindow::timerTick);
    m_keys = new GameKeys(this, m_session, [this] { render(); });
}

GameWindow::~GameWindow() = default;

QAction* GameWindow::addCommand(QMenu* menu, const QString& name, const QString& text,
                                const QKeySequence& shortcut, void (GameWindow::*handler)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void GameWindow::createMenus() {
    QMenu* game = menuBar()->addMenu(QStringLiteral("&Juego"));
    game->setObjectName(QStringLiteral("MnuJ"));
    addCommand(game, "MnuNew", "Nuevo", Qt::Key_F2, &GameWindow::newGameCommand);
    addCommand(game, "MnuPause", "Pausa", Qt::Key_F3, &GameWindow::pauseCommand);
    m_hintAction = addCommand(game, "MnuPista", "Pista", Qt::Key_F5, &GameWindow::hintCommand);
    m_hintAction->setEnabled(false);
    game->addSeparator()->setObjectName(QStringLiteral("seg"));
    addCommand(game, "MnuConf", QStringLiteral("Configuración"), Qt::Key_F4,
               &GameWindow::configureCommand);
    addCommand(game, "MnuRec", "Records", Qt::Key_F9, &GameWindow::recordsCommand);
    QMenu* help = menuBar()->addMenu(QStringLiteral("Ayuda"));
    help->setObjectName(QStringLiteral("MnuH"));
    addCommand(help, "MnuHow", "Como Jugar", Qt::Key_F1, &GameWindow::helpCommand);
    addCommand(help, "MnuABout", "Acerca de...", QKeySequence(), &GameWindow::aboutCommand);
}

void GameWindow::createElements() {
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);

    m_title = new QLabel(m_client);
    m_title->setObjectName(QStringLiteral("Image2"));
    m_title->setScaledContents(true);

    m_swatch = new ClickLabel(m_client);
    m_swatch->setObjectName(QStringLiteral("Label7"));
    m_swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_swatch->setToolTip(QStringLiteral("Color Seleccionado"));
    m_swatch->setGeometry(twipsRect(120, 840, kCounterSize, kCounterSize));
    m_swatch->hide();
    m_swatchMark = new ColourMark(m_swatch, twipsRect(45, 45, 165, 165));
    m_swatchMark->setObjectName(QStringLiteral("MarcaLabel7"));
    connect(m_swatch, &ClickLabel::released, this, [this] {
        m_session.releaseSwatch();
        render();
    });

    m_background = new QFrame(m_client);
    m_background->setObjectName(QStringLiteral("Fondo"));
    m_background->setFrameStyle(QFrame::Box | QFrame::Plain);
    setColours(m_background, Qt::black, Qt::black);

    m_rankLine = new RankLine(m_client);

    m_panel = new SidePanel(m_client);

    m_startButton = new QPushButton(QStringLiteral("Empezar"), m_client);
    m_startButton->setObjectName(QStringLiteral("Command2"));
    m_startButton->hide();
    connect(m_startButton, &QPushButton::clicked, this, &GameWindow::startPressed);

    m_notice = new QLabel(QStringLiteral("Generando partida..."), m_client);
    m_notice->setObjectName(QStringLiteral("Label3"));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_notice->setFont(windowFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    QPalette noticePalette = m_notice->palette();
    noticePalette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    m_notice->setPalette(noticePalette);
    m_notice->resize(twipsRect(0, 0, 2415, 255).size());
    m_notice->hide();

    m_lostMarker = new OutlineFrame(m_client);
    m_lostMarker->setObjectName(QStringLiteral("Shape1"));
    m_lostMarker->setColour(kMagenta);
    m_lostMarker->hide();
    m_cursorFrame = new OutlineFrame(m_client);
    m_cursorFrame->setObjectName(QStringLiteral("Shape2"));
    m_cursorFrame->hide();
    m_hintFrame = new OutlineFrame(m_client);
    m_hintFrame->setObjectName(QStringLiteral("ShapePista"));
    m_hintFrame->hide();
    m_hint = new HintController(m_session, m_client, [this] { render(); }, this);
}

void GameWindow::layOutBoard() {
    if (!m_client) {
        createMenus();
        createElements();
    }
    const int n = m_game.boardSize;
    m_lostMarker->hide();
    m_startButton->hide();
    m_rankLine->clear();

    // Cells and counters are rebuilt for the new side, hidden; showing them all at once when
    // the game starts is far cheaper than showing them one by one.
    for (CellPicture* cell : m_cells) delete cell;
    for (QLabel* label : m_rowCounters) delete label;
    for (QLabel* label : m_columnCounters) delete label;
    m_cells.clear();
    m_rowCounters.clear();
    m_columnCounters.clear();

    const int side = kCellSize * n + 120;
    m_background->setGeometry(twipsRect(kBackgroundLeft, kBackgroundTop, side, side));
    m_rankLine->setPlace(twipsRect(kBackgroundLeft, kBackgroundTop + side, side, 255));
    const int clientWidth = 1395 + kCellSize * n;
    const int clientHeight = 1515 + kCellSize * n;
    m_client->setFixedSize(twipsRect(0, 0, clientWidth, clientHeight).size());
    m_title->setGeometry(twipsRect(120, 120, 1200 + kCellSize * n, 585));
    m_title->setPixmap(titlePixmap(devicePixelRatioF()));
    m_panel->setGeometry(twipsRect(kBackgroundLeft + side, 720, 855, 2055));

    for (int i = 0; i < n * n; ++i) {
        auto* cell = new CellPicture(i, m_client);
        cell->setGeometry(twipsRect(kFirstCellLeft + kCellSize * (i % n),
                                    kFirstCellTop + kCellSize * (i / n), kCellSize, kCellSize));
        cell->hide();
        connect(cell, &CellPicture::pressed, this, [this](int index, Qt::MouseButton button) {
            m_session.pressCell(index, toMouseButton(button));
            render();
        });
        connect(cell, &CellPicture::released, this, [this](int index, Qt::MouseButton button) {
            m_session.releaseCell(index, toMouseButton(button));
            render();
        });
        connect(cell, &CellPicture::hovered, this, [this](int index) {
            m_session.hoverCell(index);
            render();
        });
        m_cells.push_back(cell);
    }
    for (int k = 0; k < n; ++k) {
        QLabel* row = makeCounter(m_client, QStringLiteral("Label4_%1").arg(k));
        row->setGeometry(
            twipsRect(120, kFirstCellTop + kCellSize * k + 30, kCounterSize, kCounterSize));
        QLabel* column = makeCounter(m_client, QStringLiteral("Label5_%1").arg(k));
        column->setGeometry(
            twipsRect(kFirstCellLeft + kCellSize * k + 30, 840, kCounterSize, kCounterSize));
        m_rowCounters.push_back(row);
        m_columnCounters.push_back(column);
    }
    m_notice->raise();
    m_startButton->raise();
    m_lostMarker->raise();
    m_cursorFrame->raise();
    m_hintFrame->raise();

    adjustSize();
    setFixedSize(sizeHint());
    // Centred on the screen at every layout; a screen smaller than the window leaves it
    // partly off screen, as the player would see on any window that big.
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        const QSize outer = frameGeometry().size().expandedTo(size());
        move(area.left() + (area.width() - outer.width()) / 2,
             area.top() + (area.height() - outer.height()) / 2);
    }
    m_laidOutSide = n;
    show();
    QCoreApplication::processEvents();
}

double GameWindow::random() {
    if (m_deals && m_deals->isReplaying()) return m_deals->nextDraw();
    return m_outside.random();
}

// With the option on (where the category offers it) the deal is a board that deduction alone
// solves, or, while none is ready, a wait for one: the board stays hidden, the notice says that
// a board is being looked for, "Empezar" waits, and the window answers the player all the while.
void GameWindow::newGame() {
    bool dealt = true;
    if (m_game.noGuessDeals &&
        noGuessDealsOffered(m_game.boardSize, m_game.colorCount, m_game.startPattern)) {
        if (!m_deals) {
            m_deals = new DealMaker(this);
            connect(m_deals, &DealMaker::ready, this, [this] {
                if (m_session.searchingDeal) newGame();
            });
        }
        dealt = m_deals->deal(m_session, [this] {
            return static_cast<std::uint64_t>(m_outside.random() * 0x1p32) << 32 ^
                   static_cast<std::uint64_t>(m_outside.random() * 0x1p32);
        });
    } else {
        m_session.newGame();
    }
    if (dealt)
        unsetCursor();
    else
        setCursor(Qt::BusyCursor);
    render();
    if (dealt) m_startButton->setFocus();
}

void GameWindow::processEvents() {
    render();
    QCoreApplication::processEvents();
}

void GameWindow::boardSolved() {
    render();
    // A game solved with the hint's help is not offered to the records.
    if (m_session.hintUsed()) {
        inform("Tablero resuelto con ayuda de la Pista: esta partida no entra en los records.",
               false);
        return;
    }
    if (onSolved) onSolved();
}

void GameWindow::pauseGame() {
    m_session.pause();
    render();
}

void GameWindow::newGameCommand() {
    if (m_game.gameRunning && !confirm("Quieres empezar otra partida?", false)) return;
    newGame();
}

void GameWindow::pauseCommand() { pauseGame(); }

// The commands that open another window pause a running game first.
void GameWindow::configureCommand() {
    pauseGame();
    if (onConfigure) onConfigure();
}

void GameWindow::recordsCommand() {
    pauseGame();
    if (onRecords) onRecords();
}

void GameWindow::helpCommand() {
    pauseGame();
    if (onHelp) onHelp();
}

void GameWindow::aboutCommand() {
    pauseGame();
    if (onAbout) onAbout();
}

void GameWindow::hintCommand() { m_hint->ask(); }

void GameWindow::startPressed() {
    m_session.pressStart();
    render();
}

void GameWindow::timerTick() {
    m_session.tick();
    render();
}

void GameWindow::render() {
    const Game& g = m_game;
    const Session& s = m_session;
    if (m_hint) m_hint->positionShown();
    if (m_laidOutSide != g.boardSize ||
        static_cast<int>(g.cells.size()) != g.boardSize * g.boardSize)
        return; // not laid out for this board yet
    renderCells();
    renderCounters();

    const bool marks = m_preferences.colourMarks;
    m_swatch->setVisible(s.panelVisible);
    setColours(m_swatch, swatchColour(g.swatchColour), Qt::black);
    m_swatchMark->setColour(marks ? g.swatchColour : 0);
    const bool hintLine = !s.hintLine().empty();
    m_rankLine->render(hintLine ? s.hintLine() : rankCaption(g.rank, m_decimalSeparator), hintLine,
                       g.peekColour, marks);

    // The notice stands in the middle of the board; while a board is looked for, the waiting
    // start button is there, so it stands halfway between the board's top and the button.
    const QRect board = m_background->geometry();
    const int buttonTop =
        twipsToPixels(kBackgroundTop + (kCellSize * g.boardSize + 120 - 615) / 2.0);
    m_notice->move(board.left() + (board.width() - m_notice->width()) / 2,
                   s.searchingDeal ? (board.top() + buttonTop - m_notice->height()) / 2
                                   : board.top() + (board.height() - m_notice->height()) / 2);
    m_notice->setText(s.searchingDeal ? QStringLiteral("Buscando tablero...")
                                      : QStringLiteral("Generando partida..."));
    m_notice->setVisible(s.noticeVisible);

    // The start button covers four fifths of the board's background, centred on it.
    const double side = kCellSize * g.boardSize + 120;
    const double width = side / 100 * 80;
    m_startButton->setGeometry(twipsRect(kBackgroundLeft + (side - width) / 2,
                                         kBackgroundTop + (side - 615) / 2, width, 615));
    m_startButton->setText(QString::fromStdString(startCaption(s.startAction)));
    m_startButton->setVisible(s.startButtonVisible);
    m_startButton->setEnabled(!s.searchingDeal);

    auto around = [](const QRect& cell, int margin) {
        return cell.adjusted(-margin, -margin, margin, margin);
    };
    const auto cell = [&](int i) { return m_cells[static_cast<std::size_t>(i)]->geometry(); };
    m_lostMarker->setGeometry(around(cell(g.lostCell), twipsToPixels(60)));
    m_lostMarker->setVisible(g.lostMarkerVisible);
    m_cursorFrame->setGeometry(around(cell(g.cursorCell), twipsToPixels(30)));
    // The cursor's frame carries no mark: it would cover the framed cell's own, and the swatch
    // shows the same colour with its mark.
    m_cursorFrame->setColour(swatchColour(g.swatchColour));
    m_cursorFrame->setVisible(g.cursorFrameVisible);
    m_hintAction->setEnabled(s.canHint());
    if (s.hintCell() >= 0) {
        m_hintFrame->setGeometry(around(cell(s.hintCell()), twipsToPixels(60)));
        m_hintFrame->setColour(swatchColour(s.hintColour()));
        m_hintFrame->setMark(marks ? s.hintColour() : 0);
    }
    m_hintFrame->setVisible(s.hintCell() >= 0 && s.boardVisible);

    if (g.timerEnabled && !m_timer->isActive()) m_timer->start();
    if (!g.timerEnabled && m_timer->isActive()) m_timer->stop();
}

void GameWindow::renderCells() {
    const Game& g = m_game;
    const qreal ratio = devicePixelRatioF();
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const Cell& cell = g.cells[i];
        m_cells[i]->setPicture(facePixmap(cell.face, cell.coloured ? g.board[i] : 0, ratio,
                                          m_preferences.colourMarks));
    }
    // The cells are shown or hidden together, with their parent's updates held meanwhile.
    const bool visible = m_session.boardVisible;
    if (!m_cells.empty() && m_cells.front()->isVisible() != visible) {
        m_client->setUpdatesEnabled(false);
        for (CellPicture* c : m_cells) c->setVisible(visible);
        m_client->setUpdatesEnabled(true);
    }
}

void GameWindow::renderCounters() {
    const Game& g = m_game;
    const bool visible = m_session.boardVisible;
    const QColor windowColour = palette().color(QPalette::Window);
    const QColor windowText = palette().color(QPalette::WindowText);
    const bool marks = m_preferences.colourMarks;
    const auto highlight = [&](QLabel* counter, bool on) {
        if (on) setColours(counter, kBrightWhite, Qt::black);
        else setColours(counter, windowColour, windowText);
    };
    const auto lineCounter = [&](int count) {
        return g.lineCountersBlank ? std::string() : std::to_string(count);
    };
    for (std::size_t k = 0; k < m_rowCounters.size(); ++k) {
        setTextIfChanged(m_rowCounters[k], lineCounter(g.rowCounters[k]));
        setTextIfChanged(m_columnCounters[k], lineCounter(g.columnCounters[k]));
        highlight(m_rowCounters[k], g.rowHighlighted[k]);
        highlight(m_columnCounters[k], g.columnHighlighted[k]);
        m_rowCounters[k]->setVisible(visible);
        m_columnCounters[k]->setVisible(visible);
    }
    m_panel->render(clockCaption(m_session.clock), m_session.panelVisible, g.colourCounters,
                    g.colorCount, visible, marks);
}

// Closing the game window ends the program at once, whatever other window is open; nothing is
// saved and no question is asked, unless `onClosing` keeps the window open (records waiting).
void GameWindow::closeEvent(QCloseEvent* event) {
    if (onClosing && !onClosing()) return event->ignore();
    QMainWindow::closeEvent(event);
    QCoreApplication::quit();
}

void GameWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Minimising pauses; restoring does not continue.
    if (event->type() == QEvent::WindowStateChange && isMinimized()) pauseGame();
}

} // namespace quorvin
