// The help command hands the document over under a name the desktop opens in a browser.
#include "about/help.h"

#include "about/about_box.h"
#include "storage/text_file.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace quorvin {

namespace {

// Desktops choose the program by the file's extension and know nothing of ".hlp", so the
// document goes out as an ".html" copy. The copy lies in the player's own cache folder, not in
// the shared temporary folder: there another user's copy would stand in the way, and a name
// anyone can create could be a planted link. It is written beside its name and renamed over it,
// so even a link there is replaced, never followed. Empty when it cannot be made.
QString htmlCopyOf(const QString& document) {
    QFile source(document);
    if (!source.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = source.readAll();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString copyPath = QDir(folder).filePath(QStringLiteral("ayuda.html"));
    const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return writeFileAtomically(copyPath.toStdString(), content) == FileStatus::Ok ? copyPath
                                                                                  : QString();
}

} // namespace

void openHelp(Platform& platform, const std::string& document) {
    const QString copy = htmlCopyOf(QString::fromStdString(document));
    // Without a copy (no document, or a cache folder that cannot be written) the desktop gets
    // the document itself and reports what it can.
    platform.openDocument(copy.isEmpty() ? document : copy.toStdString());
}

void showAboutBox(QWidget* owner, Platform& platform, std::function<void()> meanwhile) {
    AboutBox box(platform, owner);
    box.afterFirstFrame = std::move(meanwhile);
    box.exec();
}

} // namespace quorvin
