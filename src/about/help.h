// The two commands of the "Ayuda" menu: the help document and the about box.
#pragma once

#include "model/platform.h"

#include <functional>
#include <string>

class QWidget;

namespace quorvin {

// Opens the help document (HTML, named quorvin.hlp) with the desktop's browser.
void openHelp(Platform& platform, const std::string& document);

// Shows the about box modally over `owner` and returns when it is closed; `meanwhile` runs once
// the box is on the screen.
void showAboutBox(QWidget* owner, Platform& platform, std::function<void()> meanwhile = {});

} // namespace quorvin
