// The two commands of the "Ayuda" menu: the help document and the about box.
#pragma once

#include "model/platform.h"

#include <string>

class QWidget;

namespace quorvin {

// Opens the help document, dataPath + "quorvin.hlp" (HTML), with the desktop's browser.
void openHelp(Platform& platform, const std::string& dataPath);

// Shows the about box modally over `owner` and returns when it is closed.
void showAboutBox(QWidget* owner, Platform& platform);

} // namespace quorvin
