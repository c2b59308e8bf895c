// The start-up, measured on fresh processes: the program starts itself again and again (the
// child), each child goes through the game's own start-up sequence (main.cpp and startGame) on a
// data folder of its own, closes the about box as soon as its first frame is painted, and
// reports when each step was reached, its processor time and its peak memory. The parent prints
// the medians. For scale, a bare Qt window with 225 face pictures is measured the same way.
#include "about/about_box.h"
#include "game_window/desktop_platform.h"
#include "game_window/game_window.h"
#include "game_window/start_up.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "synthetic_records.h"

extern char** environ;

namespace {

using quorvin::bench::monotonicNs;

// ---- The child ----

// What a child reports: the time of each step (ns) and its peak memory and processor time.
std::map<std::string, long long> marks;

void mark(const char* step) {
    marks[step] = monotonicNs();
}

// The peak memory is the process's own high-water mark (VmHWM): ru_maxrss would also count the
// parent's, which a spawned child inherits across its exec.
void markResources() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    marks["cpu_us"] = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1'000'000LL +
                      usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long long kb = 0;
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %lld kB", &kb) == 1) marks["peak_kb"] = kb;
        std::fclose(status);
    }
}

// The offscreen platform's notes that it cannot do what a window manager does, and that no
// runtime folder is set, left out of the report.
QtMessageHandler standardHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support")) ||
        text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (standardHandler) standardHandler(type, context, text);
}

// The application of main.cpp, watching its windows: a top-level window's first frame is
// finished when the outermost event that painted it (the expose, the update request or a direct
// paint) has been handled, its children and the flush included.
class ProbeApplication : public QApplication {
  public:
    using QApplication::QApplication;

    std::function<void(QWidget*)> onShow;
    std::function<void(QWidget*)> onFirstFrame;

    bool notify(QObject* receiver, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(receiver);
        if (widget && event->type() == QEvent::Show && widget->isWindow() && onShow) onShow(widget);
        if (widget && event->type() == QEvent::Paint && !m_framed.contains(widget->window()))
            m_painting.insert(widget->window());
        ++m_depth;
        const bool handled = QApplication::notify(receiver, event);
        --m_depth;
        if (m_depth == 0 && !m_painting.empty()) {
            const std::set<QWidget*> painted = std::move(m_painting);
            m_painting.clear();
            for (QWidget* top : painted) {
                m_framed.insert(top);
                if (onFirstFrame) onFirstFrame(top);
            }
        }
        return handled;
    }

  private:
    int m_depth = 0;
    std::set<QWidget*> m_painting;
    std::set<QWidget*> m_framed;
};

// main.cpp and startGame as the game runs them; only the data folder is the benchmark's own.
void runGame(ProbeApplication& app, const QString& dataFolder) {
    QWidget* gameWindow = nullptr;
    app.onShow = [&](QWidget* top) {
        if (dynamic_cast<quorvin::AboutBox*>(top) && !marks.contains("about_shown"))
            mark("about_shown");
        else if (top == gameWindow && !marks.contains("game_shown"))
            mark("game_shown");
    };
    app.onFirstFrame = [&](QWidget* top) {
        if (auto* box = dynamic_cast<quorvin::AboutBox*>(top); box && !marks.contains("about")) {
            mark("about");
            // The player's click, as soon as the box is on the screen.
            QTimer::singleShot(0, box, [box] {
                mark("about_closed");
                box->accept();
            });
        } else if (top == gameWindow && !marks.contains("game")) {
            mark("game");
            markResources();
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        }
    };

    QApplication::setApplicationName(QStringLiteral("Quorvin"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvin"));
    QTranslator qtSpanish;
    if (qtSpanish.load(QStringLiteral("qtbase_es"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtSpanish);
    mark("app");

    quorvin::DesktopPlatform platform;
    quorvin::GameWindow window(platform);
    gameWindow = &window;
    platform.setOwner(&window);
    mark("window_built");
    quorvin::startGame(window, dataFolder);
    mark("started");
    if (!marks.contains("game")) app.exec(); // the frame is not painted yet: the loop paints it
}

// For scale: a bare main window of 225 pictures of 20 x 20 pixels drawn with QPainter, under a
// menu bar (text brings in the font database, which any window with a caption pays for).
void runBareWindow(ProbeApplication& app) {
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&Juego"))->addAction(QStringLiteral("Nuevo"));
    app.onFirstFrame = [&](QWidget* top) {
        if (top != &window || marks.contains("game")) return;
        mark("game");
        markResources();
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    };
    mark("app");
    QPixmap face(20, 20);
    face.fill(Qt::black);
    {
        QPainter painter(&face);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(192, 192, 192));
        painter.drawEllipse(QRectF(1, 1, 18, 18));
    }
    auto* board = new QWidget;
    auto* grid = new QGridLayout(board);
    grid->setSpacing(0);
    for (int i = 0; i < 225; ++i) {
        auto* cell = new QLabel;
        cell->setPixmap(face);
        grid->addWidget(cell, i / 15, i % 15);
    }
    window.setCentralWidget(board);
    window.show();
    app.exec();
}

int runChild(int argc, char* argv[], const std::string& what) {
    standardHandler = qInstallMessageHandler(quietHandler);
    ProbeApplication app(argc, argv);
    if (what == "--bare")
        runBareWindow(app);
    else
        runGame(app, QString::fromLocal8Bit(argv[2]));
    for (const auto& [key, value] : marks)
        std::printf("%s=%lld\n", key.c_str(), value);
    return marks.contains("game") ? 0 : 1;
}

// ---- The parent ----

using Report = std::map<std::string, long long>;

// Starts the program as a child and reads its report; the spawn time is "spawn".
bool runOnce(const std::string& program, const std::vector<std::string>& arguments,
             Report& report) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (std::string& word : words)
        args.push_back(word.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    report["spawn"] = monotonicNs();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string output;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    if (spawned != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    char key[64];
    long long value = 0;
    for (const char* at = output.c_str(); std::sscanf(at, "%63[^=]=%lld\n", key, &value) == 2;) {
        report[key] = value;
        at = std::strchr(at, '\n');
        if (!at) break;
        ++at;
    }
    return report.contains("game");
}

// Medians of the reports' differences, in ms (or MB for the memory).
class Summary {
  public:
    explicit Summary(std::vector<Report> reports) : m_reports(std::move(reports)) {}

    double span(const char* from, const char* to) const {
        std::vector<double> values;
        for (const Report& r : m_reports)
            if (r.contains(from) && r.contains(to))
                values.push_back(static_cast<double>(r.at(to) - r.at(from)) / 1e6);
        return quorvin::bench::median(values);
    }
    double value(const char* key, double scale) const {
        std::vector<double> values;
        for (const Report& r : m_reports)
            if (r.contains(key)) values.push_back(static_cast<double>(r.at(key)) / scale);
        return quorvin::bench::median(values);
    }

  private:
    std::vector<Report> m_reports;
};

// The data folder of a game scenario, with its records file.
struct Scenario {
    std::vector<std::string> arguments;
    std::size_t records = 0;
    std::unique_ptr<quorvin::bench::TempFolder> folder;
    std::vector<Report> reports;
};

void printGame(const Scenario& scenario, int runs) {
    const Summary s(scenario.reports);
    std::printf("Start-up of the game with %zu records, %d fresh processes, median:\n",
                scenario.records, runs);
    std::printf("  main() -> about box first frame          %7.1f ms\n", s.span("main", "about"));
    std::printf("  main() -> game window first frame        %7.1f ms   target < 40 ms\n",
                s.span("main", "game"));
    std::printf("  peak memory (VmHWM)                      %7.1f MB   target < 40 MB\n",
                s.value("peak_kb", 1024));
    std::printf("  processor time up to that frame          %7.1f ms   (user + system)\n",
                s.value("cpu_us", 1000));
    std::printf("  process start -> main()                  %7.1f ms   (loading the libraries)\n",
                s.span("spawn", "main"));
    std::printf("  steps: QApplication and translator       %7.1f ms\n", s.span("main", "app"));
    std::printf("         game window built                 %7.1f ms\n",
                s.span("app", "window_built"));
    std::printf("         about box built and shown         %7.1f ms\n",
                s.span("window_built", "about_shown"));
    std::printf("         about box painted                 %7.1f ms\n",
                s.span("about_shown", "about"));
    std::printf("         closed -> game window shown       %7.1f ms   (settings, records, "
                "layout)\n",
                s.span("about_closed", "game_shown"));
    std::printf("         game window painted               %7.1f ms\n",
                s.span("game_shown", "game"));
}

void printBare(const Scenario& scenario, int runs) {
    const Summary s(scenario.reports);
    std::printf("For scale, a bare Qt main window (a menu bar, 225 pictures), %d fresh processes, "
                "median:\n",
                runs);
    std::printf("  main() -> first frame                    %7.1f ms\n", s.span("main", "game"));
    std::printf("  peak memory (VmHWM)                      %7.1f MB\n", s.value("peak_kb", 1024));
    std::printf("  process start -> main()                  %7.1f ms\n", s.span("spawn", "main"));
}

// Every scenario runs once per round, so a passing load on the machine touches them alike; the
// first round is not counted (it writes the settings file and warms the disk cache, as any
// earlier start of the game would have).
bool measure(const std::string& program, std::vector<Scenario>& scenarios, int runs) {
    for (int r = -1; r < runs; ++r) {
        for (Scenario& scenario : scenarios) {
            Report report;
            if (!runOnce(program, scenario.arguments, report)) {
                std::fprintf(stderr, "startup_bench: the child failed\n");
                return false;
            }
            report["main"] = report["main_entry"];
            if (r >= 0) scenario.reports.push_back(report);
        }
    }
    return true;
}

std::string ownProgram() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

// startup_bench [runs [records...]]: 21 runs, with 0 and with 1,000,000 records by default.
int main(int argc, char* argv[]) {
    const long long entry = monotonicNs();
    if ((argc == 3 && std::strcmp(argv[1], "--child") == 0) ||
        (argc == 2 && std::strcmp(argv[1], "--bare") == 0)) {
        marks["main_entry"] = entry;
        return runChild(argc, argv, argv[1]);
    }

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::vector<std::size_t> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(static_cast<std::size_t>(std::atoll(argv[i])));
    if (sizes.empty()) sizes = {0, 1'000'000};
    const std::string program = ownProgram();
    if (FILE* load = std::fopen("/proc/loadavg", "r")) {
        char text[64] = {};
        if (std::fgets(text, sizeof text, load)) std::printf("Load average before: %s", text);
        std::fclose(load);
    }
    std::vector<Scenario> scenarios;
    scenarios.push_back({{"--bare"}, 0, nullptr, {}});
    for (const std::size_t records : sizes) {
        auto folder = std::make_unique<quorvin::bench::TempFolder>();
        if (!quorvin::bench::writeFile(folder->path() + "Quorvin.dat",
                                       quorvin::bench::syntheticRecordsBytes(records), true))
            return 1;
        scenarios.push_back({{"--child", folder->path()}, records, std::move(folder), {}});
    }
    if (!measure(program, scenarios, runs)) return 1;
    printBare(scenarios.front(), runs);
    for (std::size_t i = 1; i < scenarios.size(); ++i)
        printGame(scenarios[i], runs);
    return 0;
}
