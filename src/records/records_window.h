// The records window: the ranked listing of the stored records under three filters, and the
// menu that trims the records to the best of every category. Every rule is the core's
// (records_list.h, records_file.h); the window lists, asks and shows.
#pragma once

#include "model/game.h"
#include "records/records_list.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QRadioButton;
class QWindow;

namespace quorvin {

class ListingModel;
class RecordsFile;

// Where a window of `size` (its frame included) opens beside `other` on `screen`: on the right
// where the screen has room, else on the left, below or above.
QPoint besideWindow(const QRect& other, const QSize& size, const QRect& screen);

class RecordsWindow : public QDialog {
    Q_OBJECT
  public:
    // Lists the records of `records`, or of `noGuessRecords` (the games dealt as boards that
    // deduction alone solves) when the player chooses them; the game gives the current category
    // and its platform the questions and messages. The window opens beside `gameWindow`, and
    // coming back to it from there refreshes it.
    RecordsWindow(Game& game, QWidget& gameWindow, std::shared_ptr<RecordsFile> records,
                  std::shared_ptr<RecordsFile> noGuessRecords = nullptr);
    ~RecordsWindow() override;

    // "Records" (F9): shown modally, returns when the window is hidden. `noGuess` chooses the
    // set of records it opens on: the set of the game on view.
    void showModally(bool noGuess = false);
    // After a record is stored: shown without being modal, on the current category of the set
    // the record went to.
    void showOnCurrentCategory(bool noGuess = false);

    // FillRecordsList with the filters as they stand.
    void fillRecordsList();
    // "Borrar a partir del...", item 0 to 3.
    void deleteRecordsFrom(int item);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

  private:
    void createMenu();
    void placeBesideGameWindow();
    void createElements();
    void activate(bool showReading = true);
    void setFilters(const RecordFilters& filters);
    RecordFilters filters() const;
    RecordFilters currentFilters() const; // "Actual": the game's settings
    void showList(bool shown);
    void listRecordsNow(bool showReading = true);
    void letEventsRun();
    void chooseSet(bool noGuess);
    RecordsFile& shownRecords() const { return *m_sets[m_noGuessShown ? 1 : 0]; }
    template <typename Command> void run(Command command);

    Game& m_game;
    QWidget& m_gameWindow;
    // The two sets of records: the ordinary games' and the no-guess games'.
    std::array<std::shared_ptr<RecordsFile>, 2> m_sets;
    bool m_noGuessShown = false;
    // Set while a fill or a deletion lets events run: commands that arrive meanwhile are
    // dropped, so no second fill starts inside the first.
    bool m_busy = false;
    // The game window was the active window since the last activation: coming back from it
    // refreshes the window, coming back from a message box or another program does not.
    bool m_gameWindowWasActive = false;
    QPointer<QWindow> m_lastFocus;

    QLabel* m_header = nullptr;  // Label4
    QLabel* m_status = nullptr;  // Label3
    QListView* m_list = nullptr; // List1
    ListingModel* m_listing = nullptr;
    QComboBox* m_sizes = nullptr;     // cboNivel
    QComboBox* m_colours = nullptr;   // cboColores
    QComboBox* m_patterns = nullptr;  // cboInicio
    QPushButton* m_all = nullptr;     // Command1
    QPushButton* m_current = nullptr; // Command2
    QRadioButton* m_ordinarySet = nullptr; // OptNormales
    QRadioButton* m_noGuessSet = nullptr;  // OptSinAdivinar
};

} // namespace quorvin
