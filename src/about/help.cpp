// The help command hands the document over under a name the desktop opens in a browser.
#include "about/help.h"

#include "about/about_box.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace quorvin {

namespace {

// Desktops choose the program by the file's extension and know nothing of ".hlp", so the
// document goes out as an ".html" copy in the temporary folder. Empty when it cannot be made.
QString htmlCopyOf(const QString& document) {
    QFile source(document);
    if (!source.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = source.readAll();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    if (folder.isEmpty()) return {};
    const QString copyPath = QDir(folder).filePath(QStringLiteral("quorvin-ayuda.html"));
    QFile copy(copyPath);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    if (copy.write(bytes) != bytes.size() || !copy.flush()) return {};
    return copyPath;
}

} // namespace

void openHelp(Platform& platform, const std::string& dataPath) {
    const std::string document = dataPath + "quorvin.hlp";
    const QString copy = htmlCopyOf(QString::fromStdString(document));
    // Without a copy (no document, or a temporary folder that cannot be written, for instance
    // another user's copy there) the desktop gets the document itself and reports what it can.
    platform.openDocument(copy.isEmpty() ? document : copy.toStdString());
}

void showAboutBox(QWidget* owner, Platform& platform) {
    AboutBox box(platform, owner);
    box.exec();
}

} // namespace quorvin
