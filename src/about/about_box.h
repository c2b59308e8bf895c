// The about box: the game's icon and title, the logo, the terms of use and two links. Any click
// outside the links or any typed character closes it.
#pragma once

#include "model/platform.h"

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;

namespace quorvin {

class AboutBox : public QDialog {
  public:
    // `owner` lends its icon and title at each showing, and the box opens centred over it when
    // it is visible (over the screen otherwise). Links are opened through `platform`.
    AboutBox(Platform& platform, QWidget* owner);

    static QString webAddress();
    static QString mailAddress();

    // Runs once the box's first frame is on the screen, with the logo: work the player need
    // not wait for can be done then, while the box is read.
    std::function<void()> afterFirstFrame;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void createElements();
    void takeOwnerLook();
    void placeOverOwner();
    void underlineLinks(bool web, bool mail);
    void finishAfterFirstFrame();

    Platform& m_platform;
    QWidget* m_owner;
    QLabel* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_url = nullptr;
    QLabel* m_mail = nullptr;
    QLabel* m_logo = nullptr;
    bool m_pressed = false;
    bool m_framed = false; // the first frame has been painted
};

} // namespace quorvin
