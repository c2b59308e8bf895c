// The panel right of the board: the clock and the counters of the hidden cells of each colour,
// each counter with its colour's mark beside it when the marks are on.
#pragma once

#include <QFrame>

#include <array>
#include <string>

class QLabel;

namespace quorvin {

class ColourMark;

class SidePanel : public QFrame {
  public:
    explicit SidePanel(QWidget* parent);

    // The clock's text, shown from the first game on; the counts of the `colours` colours in
    // play, shown with the board.
    void render(const std::string& clock, bool clockShown, const std::array<int, 4>& counts,
                int colours, bool countersShown, bool marks);

  private:
    QLabel* m_clock = nullptr;                   // Label2
    std::array<QLabel*, 4> m_counters{};         // Label6
    std::array<ColourMark*, 4> m_counterMarks{}; // MarcaLabel6, beside them
};

} // namespace quorvin
