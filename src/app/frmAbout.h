// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPixmap>

#include "platform/Services.h"

class QLabel;
class QPushButton;

namespace kestro::platform {
class PictureBox;
}

namespace kestro::app {

/// The About window: name, version, descriptions, thanks, and a controller
/// picture that lights up under the mouse.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(platform::Services& services, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void imgVBControl_MouseMove();
    void Form_MouseMove();
    void imgVBControl_MouseUp();

    platform::Services& m_services;
    QLabel* lblKestro = nullptr;
    QLabel* lblForUse = nullptr;
    QLabel* lblFreeware = nullptr;
    QLabel* lblIHope = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblNickname = nullptr;
    QLabel* lblEmail = nullptr;
    QLabel* lblThanksTo = nullptr;
    platform::PictureBox* imgVBControl = nullptr;
    QLabel* imgVBControl2 = nullptr;
    QLabel* imgVBControl3 = nullptr;
    QPushButton* cmdOK = nullptr;
};

}  // namespace kestro::app
