// The preferences file, through QSettings: the organisation and the application, both
// "Quorvin", name it Quorvin/Quorvin.conf in the player's configuration folder.
#include "settings/preferences.h"

#include <QFileInfo>
#include <QSettings>

namespace quorvin {
namespace {

QSettings preferencesFile() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvin"),
                     QStringLiteral("Quorvin"));
}

// Only the two words QSettings writes count: a value edited into "yes" or "1" is not a choice
// the game made, and the default is the safer reading of it.
bool readFlag(const QSettings& file, const char* key, bool fallback) {
    const QString text = file.value(QLatin1String(key)).toString();
    if (text == QLatin1String("true")) return true;
    if (text == QLatin1String("false")) return false;
    return fallback;
}

} // namespace

Preferences loadPreferences() {
    const QSettings file = preferencesFile();
    Preferences preferences;
#define QUORVIN_READ_PREFERENCE(name, fallback)                                                \
    preferences.name = readFlag(file, #name, fallback);
    QUORVIN_PREFERENCES(QUORVIN_READ_PREFERENCE)
#undef QUORVIN_READ_PREFERENCE
    return preferences;
}

bool savePreferences(const Preferences& preferences) {
    QSettings file = preferencesFile();
#define QUORVIN_WRITE_PREFERENCE(name, fallback)                                               \
    file.setValue(QLatin1String(#name), preferences.name);
    QUORVIN_PREFERENCES(QUORVIN_WRITE_PREFERENCE)
#undef QUORVIN_WRITE_PREFERENCE
    file.sync();
    return file.status() == QSettings::NoError;
}

std::string preferencesFolder() {
    const QString folder = QFileInfo(preferencesFile().fileName()).absolutePath();
    return (folder + QLatin1Char('/')).toStdString();
}

} // namespace quorvin
