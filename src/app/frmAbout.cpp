// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frmAbout.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/MainMenuTexts.h"
#include "platform/PictureBox.h"
#include "platform/Text.h"
#include "platform/ThemeArt.h"
#include "platform/Widgets.h"

namespace kestro::app {

using namespace kestro::base;

using platform::Q;

frmAbout::frmAbout(platform::Services& services, QWidget* parent) : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Kestro Utilities..."));
    setMouseTracking(true);
    installEventFilter(this);
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    connect(imgVBControl, &platform::PictureBox::mouseEntered, this, &frmAbout::imgVBControl_MouseMove);
    connect(imgVBControl, &platform::PictureBox::mouseMoved, this, &frmAbout::imgVBControl_MouseMove);
    connect(imgVBControl, &platform::PictureBox::rightReleased, this, &frmAbout::imgVBControl_MouseUp);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::BuildControls() {
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto label = [&](const char* name, std::string_view text, bool bold = false) {
        auto* l = new QLabel(Q(text), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        l->setMouseTracking(true);
        l->installEventFilter(this);
        if (bold) {
            QFont f = l->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.4);
            l->setFont(f);
        }
        grid->addWidget(l, row++, 1);
        return l;
    };
    lblKestro = label("lblKestro", kAbout.program, true);
    lblForUse = label("lblForUse", kAbout.forUse);
    lblFreeware = label("lblFreeware", kAbout.freeware);
    lblIHope = label("lblIHope", kAbout.iHope);
    lblCopyright = label("lblCopyright", kAbout.copyright);
    lblNickname = label("lblNickname", kAbout.nickname);
    lblEmail = label("lblEmail", kAbout.email);
    lblThanksTo = label("lblThanksTo", kAbout.thanksTo);

    imgVBControl = new platform::PictureBox(QStringLiteral("imgVBControl"), this);
    imgVBControl->setToolTip(QStringLiteral("Click Me  =)"));
    // Picture sources: 2 highlighted, 3 normal.
    imgVBControl2 = new QLabel(this);
    imgVBControl2->setObjectName(QStringLiteral("imgVBControl2"));
    imgVBControl2->setPixmap(platform::ThemePicture(QStringLiteral("controller"), 0, platform::Shade::Lit));
    imgVBControl2->hide();
    imgVBControl3 = new QLabel(this);
    imgVBControl3->setObjectName(QStringLiteral("imgVBControl3"));
    imgVBControl3->setPixmap(platform::ThemePicture(QStringLiteral("controller"), 0, platform::Shade::Unlit));
    imgVBControl3->hide();
    imgVBControl->setPixmap(imgVBControl3->pixmap());
    grid->addWidget(imgVBControl, 0, 0, row, 1, Qt::AlignTop);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->installEventFilter(this);
    grid->addWidget(cmdOK, row, 1, Qt::AlignRight);
    grid->setColumnMinimumWidth(1, 320);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) Form_MouseMove();
    return QDialog::eventFilter(watched, event);
}

void frmAbout::imgVBControl_MouseMove() {
    imgVBControl->setPixmap(imgVBControl2->pixmap());
}

void frmAbout::Form_MouseMove() {
    imgVBControl->setPixmap(imgVBControl3->pixmap());
}

void frmAbout::imgVBControl_MouseUp() {
    if (m_services.messages.Show(this, AboutThanksMessage()) == MessageResult::No) {
        m_services.messages.Show(this, AboutSelectedNoMessage());
    }
}

}  // namespace kestro::app
