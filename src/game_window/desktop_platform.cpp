// The real world behind the core's platform interface.
#include "game_window/desktop_platform.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <chrono>
#include <cstdio>

namespace quorvin {

namespace {
const QString kTitle = QStringLiteral("Quorvin");
}

DesktopPlatform::DesktopPlatform() {
    m_clock.start();
    // Seeded once from the time of day, so two runs a second apart deal different boards.
    const auto seed = static_cast<std::uint64_t>(
        std::chrono::system_clock::now().time_since_epoch().count());
    m_engine.seed(seed);
}

double DesktopPlatform::now() { return static_cast<double>(m_clock.nsecsElapsed()) / 1e9; }

double DesktopPlatform::random() { return unitInterval(m_engine()); }

std::optional<std::string> DesktopPlatform::askText(const std::string& title,
                                                    const std::string& prompt,
                                                    const std::string& suggested) {
    bool accepted = false;
    const QString answer = QInputDialog::getText(
        m_owner, QString::fromStdString(title), QString::fromStdString(prompt), QLineEdit::Normal,
        QString::fromStdString(suggested), &accepted);
    if (!accepted) return std::nullopt;
    // Composed, so that a letter typed with a separate accent is stored as one accented letter.
    return answer.normalized(QString::NormalizationForm_C).toStdString();
}

bool DesktopPlatform::confirm(const std::string& text, bool warning) {
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, kTitle,
                    QString::fromStdString(text), QMessageBox::Ok | QMessageBox::Cancel, m_owner);
    return box.exec() == QMessageBox::Ok;
}

bool DesktopPlatform::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kTitle, QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    // Spanish whether or not Qt's translation is installed; Enter and Escape answer "No".
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DesktopPlatform::inform(const std::string& text, bool warning) {
    // A copy for the terminal or the session's log, where a box that was closed unread is not.
    std::fprintf(stderr, "Quorvin: %s\n", text.c_str());
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, kTitle,
                    QString::fromStdString(text), QMessageBox::Ok, m_owner);
    box.exec();
}

void DesktopPlatform::openDocument(const std::string& address) {
    const QString text = QString::fromStdString(address);
    const QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(text) : QUrl(text);
    QDesktopServices::openUrl(url);
}

} // namespace quorvin
