// The records window's elements, laid out in twips, its activation, the fill and the deletion.
#include "records/records_window.h"

#include "widgets/board_widgets.h"
#include "model/names.h"
#include "records/records_file.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace quorvin {

// The lines below the header, made only when the view asks for them, so a listing of a
// million records shows as fast as one of ten.
class ListingModel : public QAbstractListModel {
  public:
    explicit ListingModel(QObject* parent) : QAbstractListModel(parent) {}

    // The listing points into the records it was made from.
    void setListing(RecordsListing listing, const RecordsFile* records = nullptr) {
        beginResetModel();
        m_listing = std::move(listing);
        m_records = records;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_listing.lineCount());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || !m_records) return {};
        const auto rank = static_cast<std::size_t>(index.row()) + 2; // rank 1 is the header
        return QString::fromStdString(listedLine(m_records->records(), m_listing, rank));
    }

  private:
    const RecordsFile* m_records = nullptr;
    RecordsListing m_listing;
};

namespace {

constexpr int kFilterTop = 2640;
// The characters of the longest listed line: the rank and "º " (6), the memory line up to
// its pattern name (39), and the longest pattern name.
qreal longestLine() {
    qsizetype longest = 0;
    for (std::string_view name : kPatternNames)
        longest = std::max(longest, QString::fromUtf8(name.data(), qsizetype(name.size())).size());
    return static_cast<qreal>(6 + 39 + longest);
}

void setColours(QWidget* widget, QPalette::ColorRole background, const QColor& ground,
                QPalette::ColorRole text, const QColor& ink) {
    QPalette palette = widget->palette();
    palette.setColor(background, ground);
    palette.setColor(text, ink);
    widget->setPalette(palette);
}

template <class W> W* place(W* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QComboBox* filterBox(QWidget* parent, const char* name, int left, int width) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // What the player types is never completed nor added as an item: "7x7" typed without its
    // blanks must stay "7x7", so the next fill turns it into "(Todos)".
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(12);
    const QRect line = twipsRect(left, kFilterTop, width, 315);
    return place(box, name,
                 QRect(line.topLeft(),
                       QSize(line.width(), std::max(line.height(), box->sizeHint().height()))));
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, int left) {
    auto* pushButton = new QPushButton(QString::fromLatin1(caption), parent);
    pushButton->setAutoDefault(false); // Enter in a filter must not press a button
    return place(pushButton, name, twipsRect(left, kFilterTop, 1095, 375));
}

void fillItems(QComboBox* box, const std::vector<std::string>& items) {
    box->clear();
    for (const std::string& item : items)
        box->addItem(QString::fromStdString(item));
}

// The text of a filter; the item of that text becomes the current one, so that the list opens
// on it.
void setFilterText(QComboBox* box, const std::string& text) {
    const QString value = QString::fromStdString(text);
    const int index = box->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) box->setCurrentIndex(index);
    box->setEditText(value);
    box->lineEdit()->setCursorPosition(0); // a long name shows its start, as its list does
}

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QPoint besideWindow(const QRect& other, const QSize& size, const QRect& screen) {
    constexpr int kGap = 8;
    const auto clampX = [&](int x) {
        return std::max(screen.left(), std::min(x, screen.right() + 1 - size.width()));
    };
    const auto clampY = [&](int y) {
        return std::max(screen.top(), std::min(y, screen.bottom() + 1 - size.height()));
    };
    const QPoint beside[] = {
        {other.right() + 1 + kGap, clampY(other.top())},            // right
        {other.left() - kGap - size.width(), clampY(other.top())},  // left
        {clampX(other.left()), other.bottom() + 1 + kGap},          // below
        {clampX(other.left()), other.top() - kGap - size.height()}, // above
    };
    for (const QPoint& at : beside)
        if (screen.contains(QRect(at, size))) return at;
    // No side has room: against the screen's right edge, over as little of the other as it can.
    return {clampX(other.right() + 1 + kGap), clampY(other.top())};
}

// A window of its own, not a child of the game window: a child would stay on top of the game
// window, covering the board, and clicking the game window would not bring that forward.
RecordsWindow::RecordsWindow(Game& game, QWidget& gameWindow, std::shared_ptr<RecordsFile> records,
                             std::shared_ptr<RecordsFile> noGuessRecords)
    : QDialog(nullptr), m_game(game), m_gameWindow(gameWindow) {
    m_sets[0] = std::move(records);
    // Without a second set (tests of the ordinary records) both choices list the same records.
    m_sets[1] = noGuessRecords ? std::move(noGuessRecords) : m_sets[0];
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Quorvin Records"));
    setWindowIcon(gameWindow.windowIcon());
    setFont(windowFont(QStringLiteral("MS Sans Serif"), 8.25));
    createMenu();
    createElements();

    // Activation: the window is refreshed when it is shown and when the player comes back to
    // it from the game window, not when a message box closes or another program lets go.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
        if (!focus) return;
        if (focus == m_gameWindow.windowHandle() && m_lastFocus == windowHandle())
            m_gameWindowWasActive = true;
        else if (focus == windowHandle() && m_gameWindowWasActive && isVisible())
            activate();
        m_lastFocus = focus;
    });
}

RecordsWindow::~RecordsWindow() {
    // The focus changes as the window goes; its handler must not run on a half-destroyed window.
    disconnect(qApp, nullptr, this, nullptr);
}

void RecordsWindow::createMenu() {
    auto* bar = new QMenuBar(this);
    QMenu* menu = bar->addMenu(QStringLiteral("Borrar a partir del..."));
    menu->setObjectName(QStringLiteral("MnuBor"));
    for (int item = 0; item < kTrimItemCount; ++item) {
        QAction* action = menu->addAction(QString::fromStdString(trimItemCaption(item)));
        action->setObjectName(QStringLiteral("MnuB_%1").arg(item));
        connect(action, &QAction::triggered, this, [this, item] { deleteRecordsFrom(item); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(bar);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void RecordsWindow::createElements() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsRect(0, 0, 6480, 3450).size());
    layout()->addWidget(client);

    // Created first, so the list covers it: it is seen only while the list is hidden.
    m_status = place(new QLabel(fromUtf8(kReadingText), client), "Label3",
                     twipsRect(360, 1200, 5655, 375));
    m_status->setFont(windowFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->hide();

    m_header = place(new QLabel(client), "Label4", twipsRect(120, 120, 6255, 375));
    m_header->setAutoFillBackground(true);
    setColours(m_header, QPalette::Window, QColor(0, 0, 128), QPalette::WindowText,
               QColor(255, 255, 0));
    m_header->setTextFormat(Qt::PlainText);

    m_list = place(new QListView(client), "List1", twipsRect(120, 480, 6255, 2085));
    m_list->setUniformItemSizes(true);
    // Lines are cut at the edge, never scrolled sideways: the header does not scroll, and
    // the columns must stay under it.
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColours(m_list, QPalette::Base, Qt::black, QPalette::Text, QColor(0, 255, 0));
    m_listing = new ListingModel(this);
    m_list->setModel(m_listing);
    connect(m_list, &QListView::clicked, this, [this] {
        if (!m_busy) hide();
    });
    // The header's text starts where the lines' text does, so its columns stand over theirs.
    const int textMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
    m_header->setIndent(m_list->frameWidth() + textMargin);
    // The longest line (the longest pattern name) fits beside the scroll bar: where the face
    // is too wide for that, its letters are set a little closer, in the header alike.
    const int room = m_list->width() - 2 * m_list->frameWidth() - 2 * textMargin -
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    QFont font = windowFont(QStringLiteral("Courier New"), 9);
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    if (longestLine() * advance > room)
        font.setLetterSpacing(QFont::AbsoluteSpacing, room / longestLine() - advance);
    m_list->setFont(font);
    m_header->setFont(font);

    m_sizes = filterBox(client, "cboNivel", 120, 1095);
    m_sizes->installEventFilter(this);
    m_colours = filterBox(client, "cboColores", 1320, 1095);
    fillItems(m_colours, colourFilterItems());
    m_patterns = filterBox(client, "cboInicio", 2520, 1335);
    for (QComboBox* box : {m_sizes, m_colours, m_patterns})
        connect(box, &QComboBox::activated, this, [this] { fillRecordsList(); });

    m_all = button(client, "Command1", "Todos", 4080);
    connect(m_all, &QPushButton::clicked, this, [this] {
        run([this] {
            setFilters(allFilters());
            listRecordsNow();
        });
    });
    m_current = button(client, "Command2", "Actual", 5280);
    connect(m_current, &QPushButton::clicked, this, [this] {
        run([this] {
            setFilters(currentFilters());
            listRecordsNow();
        });
    });

    // The two sets of records, below the filters: a game dealt as a board that deduction alone
    // solves is easier, so its records are ranked apart.
    m_ordinarySet = place(new QRadioButton(QStringLiteral("Partidas normales"), client),
                          "OptNormales", twipsRect(120, 3090, 2295, 255));
    m_noGuessSet = place(new QRadioButton(QStringLiteral("Partidas sin adivinar"), client),
                         "OptSinAdivinar", twipsRect(2520, 3090, 2655, 255));
    m_ordinarySet->setChecked(true);
    for (QRadioButton* option : {m_ordinarySet, m_noGuessSet})
        connect(option, &QRadioButton::clicked, this, [this, option] {
            run([this, option] {
                chooseSet(option == m_noGuessSet);
                listRecordsNow();
            });
        });

    setTabOrder(m_sizes, m_list);
    setTabOrder(m_list, m_colours);
    setTabOrder(m_colours, m_patterns);
    setTabOrder(m_patterns, m_all);
    setTabOrder(m_all, m_current);
    setTabOrder(m_current, m_ordinarySet);
    setTabOrder(m_ordinarySet, m_noGuessSet);
}

void RecordsWindow::chooseSet(bool noGuess) {
    m_noGuessShown = noGuess;
    (noGuess ? m_noGuessSet : m_ordinarySet)->setChecked(true);
    setWindowTitle(noGuess ? QStringLiteral("Quorvin Records (sin adivinar)")
                           : QStringLiteral("Quorvin Records"));
}

template <typename Command> void RecordsWindow::run(Command command) {
    if (m_busy) return;
    m_busy = true;
    command();
    m_busy = false;
}

void RecordsWindow::showModally(bool noGuess) {
    if (m_busy) { // the window is open and filling: it only comes to the front
        raise();
        activateWindow();
        return;
    }
    // "Records" while the window is open without being modal (it stays open after a record):
    // the player asked for the records, so it comes to the front as "Records" always shows
    // it, modal and refreshed on the current category. Hidden first, so it shows again modal.
    if (isVisible()) hide();
    else
        placeBesideGameWindow();
    chooseSet(noGuess);
    exec();
}

void RecordsWindow::showOnCurrentCategory(bool noGuess) {
    chooseSet(noGuess);
    if (isVisible()) {
        activate(); // no show to activate it: the new record is listed now
    } else {
        placeBesideGameWindow();
        show();
    }
    raise();
    activateWindow();
}

void RecordsWindow::placeBesideGameWindow() {
    const QRect game = m_gameWindow.frameGeometry();
    const QScreen* screen = m_gameWindow.screen();
    if (!screen) return;
    ensurePolished();
    adjustSize();
    // Before its first showing the window has no frame yet: it will get one like the game's.
    const QSize frame = isVisible() ? frameGeometry().size()
                                    : size() + (game.size() - m_gameWindow.geometry().size());
    move(besideWindow(game, frame, screen->availableGeometry()));
}

void RecordsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return; // brought back from the task bar: a plain repaint
    // The window is not on the screen yet, so there is nothing to paint "Leyendo datos..." on;
    // and events run here would leave its native window at a wrong size.
    activate(false);
    m_sizes->setFocus();
}

void RecordsWindow::activate(bool showReading) {
    m_gameWindowWasActive = false;
    run([this, showReading] {
        fillItems(m_patterns, patternFilterItems());
        fillItems(m_sizes, sizeFilterItems());
        setFilters(currentFilters());
        listRecordsNow(showReading);
    });
}

void RecordsWindow::fillRecordsList() {
    run([this] { listRecordsNow(); });
}

RecordFilters RecordsWindow::currentFilters() const {
    return filtersFor(m_game.category());
}

RecordFilters RecordsWindow::filters() const {
    return {m_sizes->currentText().toStdString(), m_colours->currentText().toStdString(),
            m_patterns->currentText().toStdString()};
}

void RecordsWindow::setFilters(const RecordFilters& filters) {
    setFilterText(m_sizes, filters.size);
    setFilterText(m_colours, filters.colours);
    setFilterText(m_patterns, filters.pattern);
}

void RecordsWindow::showList(bool shown) {
    m_list->setVisible(shown);
    m_status->setVisible(!shown);
}

void RecordsWindow::letEventsRun() {
    QCoreApplication::processEvents();
}

void RecordsWindow::listRecordsNow(bool showReading) {
    // Taken before events run: what the player types meanwhile waits for the next fill.
    const RecordFilters checked = checkedFilters(filters());
    setFilters(checked);
    m_header->clear();
    m_listing->setListing({});
    m_status->setText(fromUtf8(kReadingText));
    showList(false);
    if (showReading) letEventsRun(); // "Leyendo datos..." is painted before the list is made
    const RecordsFile& shown = shownRecords();
    RecordsListing listing = listRecords(shown.records(), checked);
    m_header->setText(QString::fromStdString(listing.header));
    m_listing->setListing(std::move(listing), &shown);
    showList(true);
}

void RecordsWindow::deleteRecordsFrom(int item) {
    run([this, item] {
        const int keep = keptPerCategory(item);
        Platform& platform = m_game.platform();
        if (!platform.confirm(trimQuestion(keep), true)) return;
        showList(false);
        // The trim itself picks the best of every category in one pass, in milliseconds
        // whatever the number of records, so the count of the categories runs quickly before it.
        for (int n = 1; n <= kCategoryCount; ++n) {
            m_status->setText(QString::fromStdString(trimProgress(n)));
            letEventsRun();
        }
        m_status->setText(fromUtf8(kSavingText));
        letEventsRun();
        m_listing->setListing({}); // the trim renumbers the records the listing points at
        // The trim works on the set on view, the one the player is looking at.
        const RecordsFile::TrimResult result = shownRecords().trim(keep);
        if (result.status == FileStatus::Ok)
            platform.inform(trimmedMessage(result.deleted), false);
        else if (result.status == FileStatus::Busy)
            platform.inform("Otra copia del juego está usando el archivo de records. No se ha "
                            "borrado ningún record; inténtalo otra vez dentro de un momento.",
                            true);
        else
            platform.inform("No se pudo escribir el archivo de records " + shownRecords().path() +
                                ". No se ha borrado ningún record.",
                            true);
        setFilters(currentFilters());
        listRecordsNow();
    });
}

bool RecordsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter or the space bar in the size filter closes the window (so a blank cannot be typed
    // there: a size name typed without its trailing blanks falls back to "(Todos)").
    if (watched == m_sizes && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            if (!m_busy) hide();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The close box and Escape; not while a fill or a deletion is under way.
void RecordsWindow::reject() {
    if (!m_busy) QDialog::reject();
}

} // namespace quorvin
