// The game window: menu, board, counters, clock and start button. It forwards every input to
// the session and renders what the session and the game hold; it keeps no rule of its own.
#pragma once

#include "model/game.h"
#include "session/session.h"
#include "settings/preferences.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QPushButton;

namespace quorvin {

class CellPicture;
class ClickLabel;
class ColourMark;
class GameKeys;
class DealMaker;
class HintController;
class RankLine;
class SidePanel;
class OutlineFrame;

// The game window implements the core's platform by passing time, chance and the player's
// answers to the outside platform it is given, and doing the window's own part itself.
class GameWindow : public QMainWindow, public Platform {
    Q_OBJECT
public:
    explicit GameWindow(Platform& outside, QWidget* parent = nullptr);
    ~GameWindow() override;

    Game& game() { return m_game; }
    Session& session() { return m_session; }
    // The player's preferences; the next render() shows them.
    Preferences& preferences() { return m_preferences; }

    // Sizes the window and the board for the game's board side, destroying and creating the
    // cell pictures and the counters, and centres the window on the screen. The first layout
    // also makes the menus and the other elements.
    void layOutBoard();
    void newGame();
    // Renders the game's state on the widgets; cheap, run after every input.
    void render();

    // Commands whose windows other parts of the program provide.
    std::function<void()> onConfigure;
    std::function<void()> onRecords;
    std::function<void()> onHelp;
    std::function<void()> onAbout;
    std::function<void()> onSolved;
    // Asked when the window is about to close: false keeps it open.
    std::function<bool()> onClosing;

    // Platform.
    double now() override { return m_outside.now(); }
    // The draws of a prepared deal come first, while it is dealt; then the outside's chance.
    double random() override;
    void boardSolved() override;
    void processEvents() override;
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& suggested) override {
        return m_outside.askText(title, prompt, suggested);
    }
    bool confirm(const std::string& text, bool warning) override {
        return m_outside.confirm(text, warning);
    }
    bool askYesNo(const std::string& text) override { return m_outside.askYesNo(text); }
    void inform(const std::string& text, bool warning) override { m_outside.inform(text, warning); }
    void openDocument(const std::string& address) override { m_outside.openDocument(address); }

    void pauseGame();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createElements();
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text,
                        const QKeySequence& shortcut, void (GameWindow::*handler)());
    void newGameCommand();
    void pauseCommand();
    void configureCommand();
    void recordsCommand();
    void helpCommand();
    void aboutCommand();
    void hintCommand();
    void startPressed();
    void timerTick();
    void renderCells();
    void renderCounters();

    Platform& m_outside;
    Game m_game;
    Session m_session;
    Preferences m_preferences;

    QWidget* m_client = nullptr;
    QLabel* m_title = nullptr;            // Image2
    ClickLabel* m_swatch = nullptr;       // Label7
    ColourMark* m_swatchMark = nullptr;   // MarcaLabel7, over the swatch
    QFrame* m_background = nullptr;       // Fondo
    RankLine* m_rankLine = nullptr;       // Label1
    SidePanel* m_panel = nullptr;         // Frame1: the clock and the colour counters
    QPushButton* m_startButton = nullptr; // Command2
    QLabel* m_notice = nullptr;           // Label3
    OutlineFrame* m_lostMarker = nullptr; // Shape1
    OutlineFrame* m_cursorFrame = nullptr; // Shape2
    std::vector<CellPicture*> m_cells;    // Image1
    std::vector<QLabel*> m_rowCounters;   // Label4
    std::vector<QLabel*> m_columnCounters; // Label5
    QTimer* m_timer = nullptr;            // Timer1
    int m_laidOutSide = 0;
    char m_decimalSeparator = '.'; // the player's, for the rank line's times

    QAction* m_hintAction = nullptr;     // MnuPista
    OutlineFrame* m_hintFrame = nullptr; // ShapePista, around the hinted cell
    HintController* m_hint = nullptr;
    DealMaker* m_deals = nullptr; // the boards deduction alone solves, prepared ahead
    GameKeys* m_keys = nullptr;
};

} // namespace quorvin
