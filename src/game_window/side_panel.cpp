// The side panel's elements, laid out in twips.
#include "game_window/side_panel.h"

#include "assets/pictures.h"
#include "widgets/board_widgets.h"

#include <QLabel>

namespace quorvin {

SidePanel::SidePanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Frame1"));
    m_clock = new QLabel(this);
    m_clock->setObjectName(QStringLiteral("Label2"));
    m_clock->setGeometry(twipsRect(75, 120, 735, 375));
    m_clock->setAlignment(Qt::AlignCenter);
    m_clock->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_clock->setFont(windowFont(QStringLiteral("MS Sans Serif"), 12, true));
    setColours(m_clock, Qt::black, Qt::white);
    m_clock->hide();
    for (std::size_t k = 0; k < m_counters.size(); ++k) {
        const int row = 360 * static_cast<int>(k);
        QLabel* counter = makeCounter(this, QStringLiteral("Label6_%1").arg(k));
        counter->setGeometry(twipsRect(240, 600 + row, 375, 255));
        counter->setFont(windowFont(QStringLiteral("MS Sans Serif"), 8.25, true));
        counter->setText(QStringLiteral("0"));
        setColours(counter, swatchColour(static_cast<int>(k) + 1), Qt::black);
        m_counters[k] = counter;
        // Its mark stands to its left, where the panel is empty: inside, it would crowd out
        // a count of three digits.
        m_counterMarks[k] = new ColourMark(this, twipsRect(45, 645 + row, 165, 165));
        m_counterMarks[k]->setObjectName(QStringLiteral("MarcaLabel6_%1").arg(k));
    }
}

void SidePanel::render(const std::string& clock, bool clockShown, const std::array<int, 4>& counts,
                       int colours, bool countersShown, bool marks) {
    m_clock->setVisible(clockShown);
    setTextIfChanged(m_clock, clock);
    for (std::size_t k = 0; k < m_counters.size(); ++k) {
        setTextIfChanged(m_counters[k], std::to_string(counts[k]));
        const bool shown = countersShown && static_cast<int>(k) < colours;
        m_counters[k]->setVisible(shown);
        m_counterMarks[k]->setColour(shown && marks ? static_cast<int>(k) + 1 : 0);
    }
}

} // namespace quorvin
