// The real world behind the core's platform interface: a monotonic clock, a seeded generator,
// Qt's message boxes and text prompt, and the desktop's open-a-document service.
#pragma once

#include "model/platform.h"

#include <QElapsedTimer>

#include <cstdint>
#include <random>

class QWidget;

namespace quorvin {

class DesktopPlatform : public Platform {
public:
    DesktopPlatform();

    // The window the boxes and the prompt belong to.
    void setOwner(QWidget* owner) { m_owner = owner; }

    double now() override;
    double random() override;
    std::optional<std::string> askText(const std::string& title, const std::string& prompt,
                                       const std::string& suggested) override;
    bool confirm(const std::string& text, bool warning) override;
    bool askYesNo(const std::string& text) override;
    void inform(const std::string& text, bool warning) override;
    void openDocument(const std::string& address) override;

private:
    QElapsedTimer m_clock;
    std::mt19937_64 m_engine;
    QWidget* m_owner = nullptr;
};

} // namespace quorvin
