// The records window, headless, driven by clicks and keys on its widgets.
#include "widgets/board_widgets.h"
#include "game_window/game_window.h"
#include "records/records_file.h"
#include "records/records_window.h"
#include "storage/temp_dir.h"
#include "support/fake_platform.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace quorvin::test {
namespace {

const int kEkis = categoryIndex({3, 10, 6});
using Texts = std::vector<QString>;
const QString kBea = "   1º   8.1  2024/02/03 Bea        3  10x10  Ekis";
const std::vector<std::string> kFive = {
    recordText(200, {2024, 2, 1}, "Íñigo", kEkis),
    recordText(155, {2024, 2, 1}, "Ana", categoryIndex({2, 7, 8})),
    recordText(81, {2024, 2, 3}, "Bea", kEkis),
    recordText(200, {2024, 1, 31}, "Carla", kEkis), // the same time, older: ranks first
    recordText(32, {2024, 2, 1}, "Dani", categoryIndex({4, 5, 1}))};

// A records window open on a file of these records; the game is at 3 colours, 10 x 10, Ekis.
struct RecordsFixture {
    FakePlatform platform;
    GameWindow window{platform};
    testing::TempDir folder;
    std::shared_ptr<RecordsFile> file = std::make_shared<RecordsFile>(folder.file("Quorvin.dat"));
    std::unique_ptr<RecordsWindow> records =
        std::make_unique<RecordsWindow>(window.game(), window, file);

    explicit RecordsFixture(const std::vector<std::string>& texts) {
        file->load();
        for (const std::string& text : texts)
            file->append(text);
        window.game().colorCount = 3;
        window.game().boardSize = 10;
        window.game().startPattern = 6;
        records->show();
    }
    template <class T = QWidget> T* child(const char* name) { return records->findChild<T*>(name); }
    QComboBox* filter(const char* name) { return child<QComboBox>(name); }
    QListView* list() { return child<QListView>("List1"); }
    QRect line(int row) { return list()->visualRect(list()->model()->index(row, 0)); }
    // What the player reads: the three filters, the header, the lines below it; the first n.
    Texts seen(std::size_t n = 1000) {
        Texts texts = {filter("cboNivel")->currentText(), filter("cboColores")->currentText(),
                       filter("cboInicio")->currentText(), child<QLabel>("Label4")->text()};
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            texts.push_back(list()->model()->index(row, 0).data().toString());
        texts.resize(std::min(n, texts.size()));
        return texts;
    }
    void click(QWidget* widget, QRect place = {}) { // the middle of the place, or of the widget
        QTest::mouseClick(widget, Qt::LeftButton, {}, place.center());
    }
    void click(const char* name) { click(child(name)); }
    void chooseDeletion(int item) {
        auto* bar = records->findChild<QMenuBar*>();
        auto* menu = child<QMenu>("MnuBor");
        click(bar, bar->actionGeometry(menu->menuAction()));
        click(menu, menu->actionGeometry(menu->actions().at(item)));
    }
};

TEST(RecordsWindow, OpensOnTheCurrentCategoryRankedUnderItsHeader) {
    RecordsFixture f(kFive);
    EXPECT_EQ(f.records->windowTitle(), "Quorvin Records");
    EXPECT_EQ(f.seen(), (Texts{"10x10", "3 colores", "Ekis", kBea,
                               "   2º  20.0  2024/01/31 Carla      3  10x10  Ekis",
                               "   3º  20.0  2024/02/01 Íñigo      3  10x10  Ekis"}));
    EXPECT_TRUE(f.list()->isVisible() && !f.child("Label3")->isVisible());
    EXPECT_EQ(f.filter("cboNivel")->itemText(2), "7x7  ");
    EXPECT_EQ(f.child<QAction>("MnuB_3")->text(), "20º puesto");
    EXPECT_EQ(f.child("client")->size(), twipsRect(0, 0, 6480, 3450).size());
    EXPECT_TRUE(QFontInfo(f.list()->font()).fixedPitch());
    for (const char* next : {"List1", "cboColores", "cboInicio", "Command1", "Command2"}) {
        QTest::keyClick(f.records->focusWidget(), Qt::Key_Tab); // from cboNivel, focused
        EXPECT_EQ(f.records->focusWidget()->objectName(), next);
    }
    f.click(f.list()->viewport(), f.line(1)); // a click on a line closes the window
    EXPECT_FALSE(f.records->isVisible());
}

TEST(RecordsWindow, ChosenFiltersRefillTypedOnesWaitAndUnknownOnesBecomeTodos) {
    RecordsFixture f(kFive);
    f.click("Command1");
    const QString dani = "   1º   3.2  2024/02/01 Dani       4  5x5    Barrotes";
    EXPECT_EQ(f.seen(4), (Texts{"(Todos)", "(Todos)", "(Todos)", dani}));
    QTest::keyClick(f.filter("cboNivel"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f.filter("cboNivel"), "7x7"); // without the size name's two blanks
    QTest::keyClicks(f.filter("cboInicio"), "zz");
    QTest::keyClick(f.filter("cboInicio"), Qt::Key_Return); // typed texts never become items
    EXPECT_EQ(f.filter("cboInicio")->count(), 10);
    EXPECT_EQ(f.seen().size(), 8u);                      // typing alone does not refill
    QTest::keyClick(f.filter("cboColores"), Qt::Key_Up); // chooses "4 colores"
    EXPECT_EQ(f.seen(), (Texts{"(Todos)", "4 colores", "(Todos)", dani})); // one: no lines
    f.window.game().colorCount = 4; // "Actual" follows the game's settings; no record there
    f.click("Command2");
    EXPECT_EQ(f.seen(), (Texts{"10x10", "4 colores", "Ekis",
                               "        (En esta categoría no hay ningún dato)"}));

    // "Todos" clicked while "Actual" lets events run (and "Leyendo datos..." shows) is dropped.
    bool reading = false;
    QTimer::singleShot(0, [&] {
        reading = f.child("Label3")->isVisible() && !f.list()->isVisible();
        f.click("Command1");
    });
    f.window.game().colorCount = 3;
    f.click("Command2");
    EXPECT_TRUE(reading);
    EXPECT_EQ(f.seen(4), (Texts{"10x10", "3 colores", "Ekis", kBea}));
    QTest::keyClick(f.filter("cboInicio"), Qt::Key_Space); // a blank in another filter stays
    ASSERT_TRUE(f.records->isVisible());
    QTest::keyClick(f.filter("cboNivel"), Qt::Key_Space); // the space bar here closes
    EXPECT_FALSE(f.records->isVisible());
}

TEST(RecordsWindow, DeletingFromTheFifthPlaceKeepsTheBestFiveOfEachCategory) {
    std::vector<std::string> texts = {recordText(999, {2024, 1, 1}, "v", categoryIndex({2, 7, 8}))};
    for (int tenths : {700, 200, 600, 100, 500, 400, 300})
        texts.push_back(recordText(tenths, {2024, 1, 1}, "e", kEkis));
    RecordsFixture f(texts);
    const std::string question = "Esta opción borrará los records de todas las categorías a "
                                 "partir del 5º puesto.\nQuieres continuar?";
    f.click("Command1");
    f.platform.answer = false; // Cancel changes nothing
    f.chooseDeletion(0);
    EXPECT_EQ(f.platform.questions, std::vector<std::string>{question});
    EXPECT_EQ(f.file->records().size(), 8u);
    EXPECT_EQ(f.seen().size(), 3u + 8u); // still "Todos"

    f.platform.answer = true;
    f.chooseDeletion(0);
    EXPECT_EQ(f.platform.questions,
              (std::vector<std::string>{question, question, "2 datos borrados."}));
    std::string expected = fileLine(texts[0]); // its category is walked first
    for (std::size_t i : {4, 2, 7, 6, 5})
        expected += fileLine(texts[i]);
    EXPECT_EQ(testing::slurp(f.file->path()), expected);
    const Texts actual = f.seen(); // refreshed as "Actual" does: ranks 1 to 5
    EXPECT_EQ(
        Texts(actual.begin(), actual.begin() + 4),
        (Texts{"10x10", "3 colores", "Ekis", "   1º  10.0  2024/01/01 e          3  10x10  Ekis"}));
    EXPECT_EQ(actual.size(), 3u + 5u);

    std::filesystem::remove_all(f.folder.path()); // a file that cannot be written loses nothing
    f.chooseDeletion(0);
    EXPECT_TRUE(f.platform.questions.back().starts_with("No se pudo escribir"));
    EXPECT_EQ(f.file->records().size(), 6u);
    EXPECT_EQ(f.seen(), actual);
    f.records->close(); // the close box
    EXPECT_FALSE(f.records->isVisible());
}

TEST(RecordsWindow, OpensBesideTheGameWindowAsAWindowOfItsOwn) {
    RecordsFixture f(kFive);
    f.records->hide();
    f.window.layOutBoard();
    const QRect screen = f.window.screen()->availableGeometry();
    // After a record, with room on the right of the game window.
    f.window.move(screen.topLeft());
    f.records->showOnCurrentCategory();
    EXPECT_EQ(f.records->parentWidget(), nullptr);
    EXPECT_EQ(f.records->windowHandle()->transientParent(), nullptr);
    EXPECT_GT(f.records->frameGeometry().left(), f.window.frameGeometry().right());
    EXPECT_TRUE(screen.contains(f.records->frameGeometry()));
    f.records->hide();
    // "Records" with the game window against the right edge: on its left.
    f.window.move(screen.right() - f.window.frameGeometry().width(), screen.top());
    QTimer::singleShot(0, f.records.get(), [&f, screen] {
        EXPECT_LT(f.records->frameGeometry().right(), f.window.frameGeometry().left());
        EXPECT_TRUE(screen.contains(f.records->frameGeometry()));
        f.records->hide();
    });
    f.records->showModally();
}

TEST(RecordsWindow, ActivationRefreshesAsActualOnlyFromTheGameWindowOrRecords) {
    RecordsFixture f(kFive);
    f.window.show();
    f.records->showOnCurrentCategory(); // after a record: not modal, refreshed
    QWidget elsewhere;                  // a message box, another program
    elsewhere.show();
    const auto comeBackFrom = [&](QWidget* other) {
        f.click("Command1");
        for (QWidget* window : {other, static_cast<QWidget*>(f.records.get())}) {
            window->activateWindow();
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return qApp->focusWindow() == window->windowHandle(); }));
        }
        return f.seen()[0];
    };
    EXPECT_EQ(comeBackFrom(&elsewhere), "(Todos)");
    EXPECT_EQ(comeBackFrom(&f.window), "10x10");

    // "Records" while it is open without being modal: in front, modal, refreshed as "Actual".
    f.click("Command1");
    f.file->append(recordText(50, {2024, 3, 1}, "Nuevo", kEkis));
    bool modal = false;
    std::function<void()> look = [&] {
        if (!f.list()->isVisible()) return QTimer::singleShot(0, look); // still filling
        modal = QApplication::activeModalWidget() == f.records.get();
        EXPECT_EQ(f.seen()[3], "   1º   5.0  2024/03/01 Nuevo      3  10x10  Ekis");
        QTest::keyClick(f.filter("cboNivel"), Qt::Key_Return); // closes, ending the showing
    };
    QTimer::singleShot(0, look);
    f.records->showModally();
    EXPECT_TRUE(modal);
}

} // namespace
} // namespace quorvin::test
