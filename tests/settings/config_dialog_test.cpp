// The configuration dialog and command, headless, driven by clicks and keys on its controls.
#include "assets/pictures.h"
#include "game_window/board_widgets.h"
#include "game_window/game_window.h"
#include "settings/config_dialog.h"
#include "settings/configure_command.h"
#include "support/fake_platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace quorvin::test {
namespace {

const std::string kWarning = "Este cambio reiniciará el juego. Continuar?";
const QColor kGreen(0, 255, 0);

struct ConfigFixture {
    FakePlatform platform;
    GameWindow window{platform};
    QTemporaryDir folder;

    // A dealt game on a 7 x 7 board, two colours, pattern 0, continued mode on, clock at `clock`.
    explicit ConfigFixture(const std::string& clock = "0") {
        window.layOutBoard();
        window.newGame();
        window.session().clock = clock;
    }
    Game& game() { return window.game(); }
    std::string dataPath() { return QDir(folder.path()).filePath("").toStdString() + "/"; }
    QString settingsFile() { return QDir(folder.path()).filePath("Quorvin.inf"); }
    int cellWidgets() {
        int n = 0;
        for (QObject* child : window.findChildren<QWidget*>())
            n += child->objectName().startsWith("Image1_");
        return n;
    }
    // Runs the command with `player` acting on the open modal dialog.
    void configure(std::function<void(ConfigDialog&)> player) {
        QTimer::singleShot(0, &window, [this, player] {
            auto* dialog = window.findChild<ConfigDialog*>("Form5");
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(dialog->isModal() && dialog->isVisible());
            player(*dialog);
            if (dialog->isVisible()) dialog->close(); // a failed assertion must not hang the run
        });
        runConfiguration(window, dataPath());
    }
};

template <class T = QWidget> T* child(QWidget& dialog, const QString& name) {
    T* found = dialog.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}
QColor fill(QWidget& dialog, const QString& name) {
    return child(dialog, name)->palette().color(QPalette::Window);
}
void click(QWidget& dialog, const QString& name) {
    QTest::mouseClick(child(dialog, name), Qt::LeftButton);
}
void chooseColours(QWidget& dialog, int count) { click(dialog, QStringLiteral("Option1_%1").arg(count - 2)); }
void stepSize(QWidget& dialog, Qt::Key key) { QTest::keyClick(child(dialog, "HScroll1"), key); }
// Moves the pattern list down `steps` entries with the arrow key, as a player does.
void stepPattern(QWidget& dialog, int steps) {
    for (int k = 0; k < steps; ++k) QTest::keyClick(child(dialog, "cboInicio"), Qt::Key_Down);
}
void waitForTimer(QWidget& dialog) {
    auto* timer = child<QTimer>(dialog, "Timer1");
    EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }));
}
std::vector<bool> shownPreview(QWidget& dialog) {
    std::vector<bool> green;
    for (int i = 0; i < 49; ++i) green.push_back(fill(dialog, QStringLiteral("Shape2_%1").arg(i)) == kGreen);
    return green;
}

TEST(ConfigDialogLayout, ControlsStandWhereDesignedWithTheirCaptions) {
    ConfigFixture f;
    f.game().boardSize = 13;
    ConfigDialog d(f.window);
    d.show();
    EXPECT_EQ(d.windowTitle(), "Configuración");
    EXPECT_EQ(d.size(), twipsRect(0, 0, 6135, 2745).size());
    struct Row {
        const char* name;
        QRect twips;
        const char* caption;
    };
    const Row rows[] = {
        {"Frame2", {120, 120, 1695, 1215}, "Nivel"},
        {"Label1", {240, 240, 1215, 375}, "13 x 13"},
        {"HScroll1", {240, 720, 1215, 255}, ""},
        {"Frame1", {1920, 120, 1935, 1575}, "Colores"},
        {"Option1_0", {240, 360, 735, 255}, "Dos."},
        {"Option1_1", {240, 720, 735, 255}, "Tres."},
        {"Option1_2", {240, 1080, 855, 255}, "Cuatro."},
        {"Shape1_3", {1320, 1080, 255, 255}, ""},
        {"Frame3", {3960, 120, 2055, 1575}, "Inicio"},
        {"Shape3", {600, 600, 855, 855}, ""},
        {"Shape2_0", {600, 600, 135, 135}, ""},
        {"Shape2_48", {1320, 1320, 135, 135}, ""},
        {"Check1", {120, 1440, 1695, 255}, "Juego continuado."},
        {"Command1", {2640, 2040, 1575, 495}, "Aceptar"},
        {"Command2", {4440, 2040, 1575, 495}, "Cancelar"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* w = child(d, row.name);
        const QRect& t = row.twips;
        EXPECT_EQ(w->geometry(), twipsRect(t.x(), t.y(), t.width(), t.height()));
        QString caption;
        if (auto* box = qobject_cast<QGroupBox*>(w)) caption = box->title();
        if (auto* label = qobject_cast<QLabel*>(w)) caption = label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) caption = button->text();
        EXPECT_EQ(caption, QString::fromUtf8(row.caption));
    }
    EXPECT_EQ(child(d, "Label1")->parentWidget()->objectName(), "Frame2");
    EXPECT_EQ(child(d, "Shape2_10")->parentWidget()->objectName(), "Frame3");
    auto* list = child<QComboBox>(d, "cboInicio");
    EXPECT_FALSE(list->isEditable());
    ASSERT_EQ(list->count(), 9);
    EXPECT_EQ(list->itemText(8), "Vacío");
    EXPECT_EQ(fill(d, "Shape3"), QColor(Qt::black));
    EXPECT_TRUE(child<QPushButton>(d, "Command1")->isDefault());
    EXPECT_EQ(d.focusWidget(), child(d, "Command1"));
    auto* bar = child<QScrollBar>(d, "HScroll1");
    EXPECT_EQ(bar->minimum(), 5);
    EXPECT_EQ(bar->maximum(), 15);
    EXPECT_EQ(bar->value(), 13);
    EXPECT_TRUE(child<QCheckBox>(d, "Check1")->isChecked());
}

TEST(ConfigDialogWarning, OncePerShowingAfterTheClockRan) {
    ConfigFixture f("4.2");
    ConfigDialog d(f.window);
    d.show();
    click(d, "Check1"); // the continued mode never warns
    EXPECT_TRUE(f.platform.questions.empty());
    chooseColours(d, 3);
    stepSize(d, Qt::Key_Left);
    stepPattern(d, 1);
    EXPECT_EQ(f.platform.questions, std::vector<std::string>{kWarning});
    EXPECT_EQ(settingsOf(f.game()), (Settings{6, 3, 1, false}));
    click(d, "Command1");
    EXPECT_FALSE(d.isVisible());

    d.show(); // a new showing asks again
    chooseColours(d, 2);
    EXPECT_EQ(f.platform.questions.size(), 2u);
}

TEST(ConfigDialogWarning, DeclinedChangeSetsEachControlBack) {
    ConfigFixture f("4.2");
    f.game().colorCount = 2;
    f.game().startPattern = 1;
    f.platform.answer = false;
    ConfigDialog d(f.window);
    d.show();
    const QColor background = d.palette().color(QPalette::Window);

    chooseColours(d, 3);
    EXPECT_TRUE(child<QRadioButton>(d, "Option1_0")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(d, "Option1_1")->isChecked());
    EXPECT_EQ(f.game().colorCount, 2);
    EXPECT_EQ(fill(d, "Shape1_2"), background);

    stepSize(d, Qt::Key_Right);
    EXPECT_EQ(child<QScrollBar>(d, "HScroll1")->value(), 7);
    EXPECT_EQ(child<QLabel>(d, "Label1")->text(), "7 x 7");
    EXPECT_EQ(f.game().boardSize, 7);

    const std::vector<bool> bars = shownPreview(d);
    QTest::keyClick(child(d, "cboInicio"), Qt::Key_End); // "Vacío"
    EXPECT_EQ(f.game().startPattern, 1);
    EXPECT_EQ(shownPreview(d), bars);
    waitForTimer(d);
    EXPECT_EQ(child<QComboBox>(d, "cboInicio")->currentText(), "Barrotes");
    EXPECT_EQ(shownPreview(d), bars);
    EXPECT_EQ(f.platform.questions.size(), 3u) << "every declined change asks again";
}

TEST(ConfigDialogClosing, CancelarRestoresAllFourAndTheFrameKeepsTheEdits) {
    for (bool byFrame : {false, true}) {
        SCOPED_TRACE(byFrame ? "closed by the frame" : "Cancelar");
        ConfigFixture f("4.2");
        f.configure([byFrame](ConfigDialog& d) {
            stepSize(d, Qt::Key_Right);
            chooseColours(d, 4);
            stepPattern(d, 3);
            click(d, "Check1");
            if (byFrame)
                d.close();
            else
                click(d, "Command2");
        });
        if (byFrame) {
            EXPECT_EQ(settingsOf(f.game()), (Settings{8, 4, 3, false}));
            EXPECT_EQ(f.window.session().clock, "0") << "a new game";
            EXPECT_TRUE(QFile::exists(f.settingsFile()));
        } else {
            EXPECT_EQ(settingsOf(f.game()), (Settings{7, 2, 0, true}));
            EXPECT_EQ(f.window.session().clock, "4.2") << "the game is kept";
            EXPECT_FALSE(QFile::exists(f.settingsFile()));
            EXPECT_EQ(f.cellWidgets(), 49);
        }
    }
}

TEST(ConfigDialogClosing, EscapeIsCancelar) {
    ConfigFixture f;
    ConfigDialog d(f.window);
    d.show();
    chooseColours(d, 3);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(f.game().colorCount, 2);
}

TEST(ConfigureCommand, SizeChangeRelaysTheBoardWritesBareNumbersAndDeals) {
    ConfigFixture f("4.2");
    f.configure([](ConfigDialog& d) {
        stepSize(d, Qt::Key_Right);
        stepSize(d, Qt::Key_Right);
        chooseColours(d, 3);
        click(d, "Command1");
    });
    EXPECT_EQ(f.cellWidgets(), 81);
    EXPECT_EQ(f.game().cellCount(), 81);
    EXPECT_EQ(f.window.session().clock, "0");
    QFile file(f.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "\"NIVEL (5-15):\"\r\n9\r\n\"COLORES (2-4):\"\r\n3\r\n"
                              "\"INICIO (0-8):\"\r\n0\r\n\"CONTINUADO (0/1):\"\r\n1\r\n");
}

TEST(ConfigureCommand, SizeChangedAndBackOrContinuedModeAloneChangesNothingElse) {
    ConfigFixture f("4.2");
    f.configure([](ConfigDialog& d) {
        stepSize(d, Qt::Key_Right);
        stepSize(d, Qt::Key_Left);
        click(d, "Check1");
        click(d, "Command1");
    });
    EXPECT_FALSE(f.game().continuedGame);
    EXPECT_EQ(f.window.session().clock, "4.2");
    EXPECT_FALSE(QFile::exists(f.settingsFile()));
    EXPECT_EQ(f.cellWidgets(), 49);
}

TEST(ConfigureCommand, UnwritableFolderIsReportedAndTheNewGameStillStarts) {
    ConfigFixture f;
    f.folder.remove(); // the data folder is gone
    f.configure([](ConfigDialog& d) {
        chooseColours(d, 4);
        click(d, "Command1");
    });
    ASSERT_EQ(f.platform.questions.size(), 1u);
    EXPECT_EQ(f.platform.questions[0], settingsWriteFailedMessage(f.dataPath()));
    EXPECT_EQ(f.game().colorCount, 4);
}

TEST(ConfigDialogPictures, SwatchesShowExactlyTheColoursInPlay) {
    ConfigFixture f;
    ConfigDialog d(f.window);
    d.show();
    const QColor background = d.palette().color(QPalette::Window);
    const QColor expected[] = {{0, 255, 128}, {255, 128, 128}, {255, 255, 128}, {0, 128, 255}};
    for (int count : {4, 2, 3}) {
        chooseColours(d, count);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(fill(d, QStringLiteral("Shape1_%1").arg(k)), k < count ? expected[k] : background)
                << count << " colours, swatch " << k;
    }
}

TEST(ConfigDialogPictures, PreviewShowsTheChosenPattern) {
    ConfigFixture f;
    ConfigDialog d(f.window);
    d.show();
    const QColor background = d.palette().color(QPalette::Window);
    auto expect = [&](const char* name, const std::function<bool(int)>& revealed) {
        SCOPED_TRACE(name);
        waitForTimer(d);
        EXPECT_EQ(child<QComboBox>(d, "cboInicio")->currentText(), QString::fromUtf8(name));
        for (int i = 0; i < 49; ++i)
            EXPECT_EQ(fill(d, QStringLiteral("Shape2_%1").arg(i)), revealed(i) ? kGreen : background)
                << "circle " << i;
    };
    stepPattern(d, 1);
    expect("Barrotes", [](int i) { return i % 7 % 2 == 1; });
    stepPattern(d, 3);
    auto randomCount = [&] {
        const std::vector<bool> shown = shownPreview(d);
        return std::count(shown.begin(), shown.end(), true);
    };
    EXPECT_EQ(randomCount(), 19) << "Aleatorio2";
    stepPattern(d, 2);
    expect("Ekis", [](int i) { return i % 8 == 0 || (i % 6 == 0 && i > 0 && i < 48); });
    stepPattern(d, 2);
    expect("Vacío", [](int) { return false; });
}

} // namespace
} // namespace quorvin::test
