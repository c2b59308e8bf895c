// The configuration dialog: board size, colours, start pattern with its 7 x 7 preview, the
// continued-game mode and the colour marks. It edits the game's settings and the preferences
// live and warns before a restarting change.
#pragma once

#include "session/session.h"
#include "settings/config_rules.h"
#include "settings/preferences.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace quorvin {

class FilledShape;

class ConfigDialog : public QDialog {
    Q_OBJECT
public:
  // Opens centred over `parent` (the game window) and edits the session's game settings and the
  // player's preferences; the session's clock decides the warning.
  ConfigDialog(Session& session, Preferences& preferences, QWidget* parent);

signals:
    // A preference changed, to be shown at once.
    void preferencesChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void activate();
    void sizeChanged(int value);
    void sizeBarReleased();
    void applySize(int value);
    void sizeDragged(int value);
    void colourChosen(int index);
    void patternChosen();
    void restorePatternList();
    void continuedToggled(bool on);
    void marksToggled(bool on);
    void noGuessToggled(bool on);
    void showNoGuessOption();
    void cancelClicked();
    void colourSwatches();
    void drawPreview();
    void showPreview();
    bool change(ConfigSetting which, int value);

    Session& m_session;
    Game& m_game;
    ConfigRules m_rules;
    Preferences& m_preferences;
    Preferences m_savedPreferences; // as the showing found them, for "Cancelar"

    QLabel* m_sizeLabel = nullptr;                   // Label1
    QScrollBar* m_sizeBar = nullptr;                 // HScroll1
    std::array<QRadioButton*, 3> m_colourOptions{};  // Option1
    std::array<FilledShape*, 4> m_swatches{};        // Shape1
    QComboBox* m_patterns = nullptr;                 // cboInicio
    std::array<FilledShape*, kPreviewSide * kPreviewSide> m_circles{}; // Shape2
    QCheckBox* m_continued = nullptr;                // Check1
    QCheckBox* m_marks = nullptr;                    // Check2
    QCheckBox* m_noGuess = nullptr;                  // Check3
    QLabel* m_noGuessReason = nullptr;               // Label2
    QPushButton* m_accept = nullptr;                 // Command1
    QTimer* m_patternTimer = nullptr;                // Timer1
    // The mouse button is down on the size bar, and a size it stepped to waits for the release.
    bool m_sizeBarHeld = false;
    bool m_sizePending = false;
};

} // namespace quorvin
