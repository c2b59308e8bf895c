// Benchmarks of the windows, offscreen: the game window's layout change from side 5 to 15 and
// back, a new game on 15 x 15, the start that shows the board and one move by a mouse click, and
// the records window's fill for one category and for "(Todos)" at 100,000 and 1,000,000
// records; each followed by repaint() of the whole window, which paints now whatever changed
// (Qt keeps the unchanged opaque cells in its buffer; the grab figure paints every widget).
// Prints the median of each, in ms, with the paint events it took.
#include "game_window/game_window.h"
#include "model/game.h"
#include "records/records_file.h"
#include "records/records_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "synthetic_records.h"

namespace {

using namespace quorvin;

// A seeded generator and a real clock; the window asks the player nothing here.
class BenchPlatform : public Platform {
  public:
    BenchPlatform() { m_clock.start(); }
    double now() override { return static_cast<double>(m_clock.nsecsElapsed()) / 1e9; }
    double random() override { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }

  private:
    QElapsedTimer m_clock;
    std::mt19937_64 m_engine{7};
};

// What the event loop would do between two inputs: pending paints, and the deletions Qt defers
// until control is back in the loop (each layout pass leaves one; piled up they slow
// everything after them).
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Counts the paint events the widgets receive, to show that a timed action did paint.
class PaintCounter : public QObject {
  public:
    long long paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

PaintCounter* paintCounter = nullptr;

struct Figure {
    const char* name;
    const char* target;
    std::vector<double> times; // milliseconds
    double paintsPerRun = 0;
};

// Runs `prepare` (not timed), then `action` (timed), `repetitions` times after `warmUps`
// untimed rounds, settling the event loop around each.
Figure measure(const char* name, const char* target, int repetitions,
               const std::function<void()>& prepare, const std::function<void()>& action,
               int warmUps = 3) {
    Figure figure{name, target, {}};
    long long paints = 0;
    for (int r = -warmUps; r < repetitions; ++r) {
        prepare();
        settle();
        const long long paintsBefore = paintCounter->paints;
        QElapsedTimer timer;
        timer.start();
        action();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (r >= 0) paints += paintCounter->paints - paintsBefore;
        settle();
        if (r >= 0) figure.times.push_back(ms);
    }
    figure.paintsPerRun = static_cast<double>(paints) / repetitions;
    return figure;
}

void print(const Figure& f) {
    const auto [low, high] = std::minmax_element(f.times.begin(), f.times.end());
    std::printf("%-40s %9.3f ms  (min %.3f, max %.3f, n=%zu, %.0f paint events)  target %s\n",
                f.name, bench::median(f.times), *low, *high, f.times.size(), f.paintsPerRun,
                f.target);
    std::fflush(stdout);
}

class WindowBench {
  public:
    WindowBench() : m_window(m_platform) {
        Game& g = m_window.game();
        g.colorCount = 4;
        g.startPattern = 0;
        g.continuedGame = true;
        setSide(5);
        m_window.newGame();
        settle();
    }

    void run(int repetitions) {
        // Both directions in one round, each timed on its own.
        Figure up{"LayOutBoard 5 -> 15, repaint", "< 3 ms", {}};
        Figure down{"LayOutBoard 15 -> 5, repaint", "< 3 ms", {}};
        for (int r = -3; r < repetitions; ++r) {
            long long paintsUp = 0;
            long long paintsDown = 0;
            const double toFifteen = timed([&] { setSide(15); }, paintsUp);
            const double toFive = timed([&] { setSide(5); }, paintsDown);
            if (r >= 0) {
                up.times.push_back(toFifteen);
                down.times.push_back(toFive);
                up.paintsPerRun += static_cast<double>(paintsUp) / repetitions;
                down.paintsPerRun += static_cast<double>(paintsDown) / repetitions;
            }
        }
        print(up);
        print(down);

        setSide(15);
        settle();
        print(measure(
            "NewGame 15x15, repaint", "< 3 ms", repetitions, [] {},
            [&] {
                m_window.newGame();
                m_window.repaint();
            }));
        print(measure(
            "Start (board shown) 15x15, repaint", "(none; < 3 ms like a move)", repetitions,
            [&] { m_window.newGame(); }, [&] { pressStart(); }));
        QWidget* clicked = nullptr;
        print(measure(
            "Move 15x15 (mouse click), repaint", "< 3 ms", repetitions,
            [&] { clicked = prepareRightMove(); },
            [&] {
                QTest::mouseClick(clicked, Qt::LeftButton, {}, clicked->rect().center());
                m_window.repaint();
            }));
        print(measure(
            "Move 15x15, every widget painted (grab)", "(the ceiling of a frame)", repetitions,
            [&] { clicked = prepareRightMove(); },
            [&] {
                QTest::mouseClick(clicked, Qt::LeftButton, {}, clicked->rect().center());
                const QPixmap frame = m_window.grab();
                if (frame.isNull()) std::abort();
            }));
        print(measure(
            "Wrong move 15x15 (penalty), repaint", "(none; < 3 ms like a move)", repetitions,
            [&] { clicked = prepareWrongMove(); },
            [&] {
                QTest::mouseClick(clicked, Qt::LeftButton, {}, clicked->rect().center());
                m_window.repaint();
            }));
    }

  private:
    double timed(const std::function<void()>& action, long long& paints) {
        settle();
        const long long paintsBefore = paintCounter->paints;
        QElapsedTimer timer;
        timer.start();
        action();
        const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        paints = paintCounter->paints - paintsBefore;
        settle();
        return ms;
    }

    // The layout change as the configuration makes it, with the repaint of the whole window.
    void setSide(int side) {
        Game& g = m_window.game();
        g.boardSize = side;
        g.resizeBoard();
        m_window.layOutBoard();
        m_window.repaint();
    }

    void pressStart() {
        m_window.session().pressStart();
        m_window.render();
        m_window.repaint();
    }

    // A dealt, started 15 x 15 game, and a hidden cell of the colour `colourOf` picks selected.
    QWidget* prepareMove(const std::function<int(int)>& colourOf) {
        m_window.newGame();
        pressStart();
        Game& g = m_window.game();
        int i = static_cast<int>(m_platform.random() * g.cellCount());
        while (!g.cells[static_cast<std::size_t>(i)].isHidden())
            i = (i + 1) % g.cellCount();
        g.selectColour(colourOf(g.board[static_cast<std::size_t>(i)]));
        m_window.render();
        m_window.repaint();
        return m_window.findChild<QWidget*>(QStringLiteral("Image1_%1").arg(i));
    }
    QWidget* prepareRightMove() {
        return prepareMove([](int colour) { return colour; });
    }
    QWidget* prepareWrongMove() {
        const int colours = m_window.game().colorCount;
        return prepareMove([colours](int colour) { return colour % colours + 1; });
    }

    BenchPlatform m_platform;
    GameWindow m_window;
};

// The records window on a synthetic records file, filled as the player fills it: the "Actual"
// button lists the game's category (4 colours, 15 x 15, "50-por-ciento"), "Todos" every record.
class RecordsBench {
  public:
    explicit RecordsBench(std::size_t lines) : m_lines(lines), m_window(m_platform) {
        Game& g = m_window.game();
        g.colorCount = 4;
        g.boardSize = 15;
        g.startPattern = 0;
        m_path = m_folder.path() + "Quorvin.dat";
        bench::writeFile(m_path, bench::syntheticRecordsBytes(lines), true);
        m_records = std::make_shared<RecordsFile>(m_path);
        if (m_records->load() != FileStatus::Ok || m_records->records().size() != lines)
            throw std::runtime_error("the records did not load");
        m_recordsWindow = std::make_unique<RecordsWindow>(m_window.game(), m_window, m_records);
        m_recordsWindow->showOnCurrentCategory();
        settle();
    }

    void run(int repetitions) {
        const QString size = QString::number(static_cast<double>(m_lines), 'f', 0);
        auto* current = m_recordsWindow->findChild<QPushButton*>(QStringLiteral("Command2"));
        auto* all = m_recordsWindow->findChild<QPushButton*>(QStringLiteral("Command1"));
        const std::string oneName = "Records fill, one category, " + size.toStdString();
        const std::string allName = "Records fill, (Todos), " + size.toStdString();
        print(measure(
            oneName.c_str(), m_lines >= 1'000'000 ? "< 20 ms" : "(none)", repetitions,
            [&] { QTest::mouseClick(all, Qt::LeftButton); }, [&] { fill(current); }));
        print(measure(
            allName.c_str(), m_lines >= 1'000'000 ? "< 600 ms" : "(none)", repetitions,
            [&] { QTest::mouseClick(current, Qt::LeftButton); }, [&] { fill(all); }));
    }

  private:
    void fill(QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        m_recordsWindow->repaint();
    }

    std::size_t m_lines;
    bench::TempFolder m_folder;
    std::string m_path;
    BenchPlatform m_platform;
    GameWindow m_window;
    std::shared_ptr<RecordsFile> m_records;
    std::unique_ptr<RecordsWindow> m_recordsWindow;
};

// The offscreen platform's notes that it cannot do what a window manager does, and that no
// runtime folder is set, left out.
QtMessageHandler standardHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support")) ||
        text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (standardHandler) standardHandler(type, context, text);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    standardHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    PaintCounter counter;
    paintCounter = &counter;
    app.installEventFilter(&counter);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 51;
    std::printf("Game window, %s platform, %d repetitions each, median:\n",
                qPrintable(QGuiApplication::platformName()), repetitions);
    {
        WindowBench bench;
        bench.run(repetitions);
    }
    for (const std::size_t lines : {100'000, 1'000'000}) {
        RecordsBench bench(lines);
        bench.run(std::min(repetitions, 21));
    }
    return 0;
}
