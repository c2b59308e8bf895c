// The game's shared state and board model: the settings, the cells with their colours, states,
// neighbour counts and faces, the counters beside the board, and the rules that change them
// (deal, moves, reveal, solved check, selection, start patterns). A plain value of numbers and
// flags; the windows make the texts they show from it.
#pragma once

#include "model/category.h"
#include "model/platform.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvin {

// Expressions of a face picture.
enum Face { Laughing = 0, Smiling = 1, Frowning = 2, Worried = 3, Dead = 4 };

// The face a hidden cell shows for its two neighbour counts.
int neutralFace(int sameNeighbours, int otherNeighbours);

// No face forced on a reveal: a cell that no longer shows a grey face is left as it is.
inline constexpr int kNoFaceOverride = 100;
// A background that copies no swatch: the window's own colour.
inline constexpr int kWindowBackground = 0;
// The configuration dialog's start-pattern preview is always 7 x 7.
inline constexpr int kPreviewSide = 7;

// Whether a cell still counts as unsolved. A lost game shows every cell in colour but leaves
// its state alone.
enum class CellState { Hidden, Revealed };

struct Cell {
    CellState state = CellState::Hidden;
    // Its neighbours of its own colour and of other colours, 0..8 each; set by the deal, fixed
    // for the game.
    int sameNeighbours = 0;
    int otherNeighbours = 0;
    int face = 0;          // the expression shown, 0..4
    bool coloured = false; // false: the grey face; true: the face in the cell's colour

    bool isHidden() const { return state == CellState::Hidden; }
    bool operator==(const Cell&) const = default;
};

// The rank line under the board: the place the clock's time would take among the category's
// times, and the time that holds that place, in tenths of a second.
struct Rank {
    int place = 1;
    int tenths = 0;
    bool operator==(const Rank&) const = default;
};

class Game {
public:
    explicit Game(Platform& platform) : m_platform(&platform) {}

    Platform& platform() const { return *m_platform; }

    // Settings.
    int boardSize = 7; // N, 5..15
    int colorCount = 2;
    int startPattern = 0;
    bool continuedGame = true;
    // Deal only boards that deduction alone solves, where the category allows it. Kept in the
    // desktop's preferences, not in the settings file, whose eight lines have no room for it.
    bool noGuessDeals = false;

    // Shared game state.
    std::vector<int> board; // the colour 1..colorCount of every cell, row by row; 0 before a deal
    int faceOverride = kNoFaceOverride;
    bool gameRunning = false;
    std::string playerName = "Anónimo";
    bool drawOnBoard = true; // false while the configuration preview is drawn

    // Play state.
    int selectedColour = 1;
    bool peekMode = false;
    int cursorCell = 0;

    // What the game window shows.
    std::vector<Cell> cells;
    std::array<int, 4> colourCounters{}; // hidden cells per colour
    std::vector<int> rowCounters;        // hidden cells of the selected colour per row
    std::vector<int> columnCounters;     // ... per column
    // The row and column counters show nothing: before the first deal of a board and once it
    // is solved. They are emptied and refilled together.
    bool lineCountersBlank = true;
    std::vector<bool> rowHighlighted; // bright white behind the counter when true
    std::vector<bool> columnHighlighted;
    int swatchColour = 1;            // the selected-colour swatch and the cursor frame's border
    bool cursorFrameVisible = false; // the frame around cursorCell
    bool lostMarkerVisible = false;  // the magenta frame around lostCell
    int lostCell = 0;
    std::optional<Rank> rank;            // the line under the board; empty when none
    int peekColour = kWindowBackground;  // that line's background while a cell is peeked
    bool timerEnabled = false;           // the clock's timer
    std::array<bool, kPreviewSide * kPreviewSide> preview{}; // true: the circle is bright green

    int cellCount() const { return boardSize * boardSize; }
    Category category() const { return {colorCount, boardSize, startPattern}; }

    // Sizes the board for boardSize, every colour 0, every cell hidden without neighbour counts.
    void resizeBoard();
    // Takes the four settings of a game and sizes the board for them, ready to deal.
    void setUp(int side, int colours, int pattern, bool continued);
    // The rule steps of a new game: the colours, counters, neighbour counts, faces and start
    // pattern; colour 1 selected and counted; the cursor on cell 0 with row 0 and column 0
    // highlighted.
    void deal();
    // The two neighbour counts of cell i: {same colour, other colour}.
    std::pair<int, int> countNeighbours(int i) const;

    // Turns cell i from hidden to revealed, keeps the counters, and ends the game when the last
    // hidden cell goes. With drawOnBoard false it only paints preview circle i.
    void revealCell(int i);
    void playCell(int i);
    void guessRight(int i);
    void guessWrong(int i);
    void revealNeighbours(int i);

    void showSelection();
    void nextColour();
    void selectColour(int colour);

    // Reveals the cells of the selected start pattern, on the board or on the preview.
    void applyStartPattern();
    // Clears the preview and draws the selected pattern on it.
    void drawPreview();

    // The board is solved when no hidden cell is left.
    bool isSolved() const;

    // Row and column counters of the cursor cell lose or get their highlight.
    void highlightCursor(bool on);

private:
    void recountColourCounters();
    void finishSolved();

    Platform* m_platform;
};

} // namespace quorvin
