// SPDX-License-Identifier: GPL-3.0-or-later
// The themed look of the main window: precaution screen, title screen and
// the picture menu, in two colour sets.
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>

#include "app/MainMenuTexts.h"
#include "app/frmMain.h"
#include "platform/PictureBox.h"
#include "platform/Text.h"
#include "platform/ThemeArt.h"

namespace kestro::app {

using platform::PictureBox;
using platform::Q;
using platform::Shade;
using platform::ThemePicture;
using platform::Twips;

namespace {

constexpr int kThemedWidthTwips = 5850;
constexpr int kThemedHeightTwips = 3735;
constexpr int kLowBatIntervalMs = 500;

struct ButtonArt {
    const char* name;
    const char* picture;
    QRect where;
    const char* tooltip;
};

// Placement of the ten image buttons on the 390 x 249 menu picture.
const ButtonArt kButtons[] = {
    {"imgRomInfo", "btn_rominfo", {20, 50, 110, 48}, nullptr},
    {"imgTileViewer", "btn_tileviewer", {140, 50, 110, 48}, nullptr},
    {"imgVbRomDatabase", "btn_database", {260, 50, 110, 48}, nullptr},
    {"imgEmus", "btn_emus", {20, 110, 110, 48}, nullptr},
    {"imgUtils", "btn_utils", {140, 110, 110, 48}, nullptr},
    {"imgOptions", "btn_options", {260, 110, 110, 48}, nullptr},
    {"imgAbout", "btn_about", {20, 190, 48, 32}, "About Kestro Utils..."},
    {"imgHelp", "btn_help", {78, 190, 48, 32}, "Kestro Utils Help..."},
    {"imgClose", "btn_close", {264, 190, 48, 32}, "Quit Kestro Utils..."},
    {"imgPower", "btn_power", {322, 190, 48, 32}, nullptr},
};
// Between the help and close pictures, clear of both.
const QRect kLowBatWhere{187, 198, 16, 16};

QString Element(const char* name, int set) {
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(set);
}

}  // namespace

void frmMain::BuildThemedLook() {
    m_themedPage = new QWidget(m_pages);
    m_themedPage->setObjectName(QStringLiteral("themedLook"));
    m_themedPage->setFixedSize(Twips(kThemedWidthTwips), Twips(kThemedHeightTwips));
    for (int set = 0; set < 2; ++set) BuildThemedSet(set);
    m_pages->addWidget(m_themedPage);
    tmrLowBat = new QTimer(this);
    tmrLowBat->setObjectName(QStringLiteral("tmrLowBat"));
    tmrLowBat->setInterval(kLowBatIntervalMs);
    const std::array<std::pair<QKeyCombination, QMenu*>, 2> keys{
        {{Qt::ALT | Qt::Key_F, mnuFile}, {Qt::ALT | Qt::Key_H, mnuHelp}}};
    for (std::size_t k = 0; k < keys.size(); ++k) {
        QMenu* menu = keys[k].second;
        m_themedMenuKeys[k] = new QShortcut(QKeySequence(keys[k].first), this);
        m_themedMenuKeys[k]->setEnabled(false);  // the plain look's menu bar has these keys
        connect(m_themedMenuKeys[k], &QShortcut::activated, this, [this, menu] { ShowMenuByKey(menu); });
    }
}

void frmMain::ShowMenuByKey(QMenu* menu) {
    menu->popup(mapToGlobal(QPoint(0, 0)));
    if (!menu->actions().isEmpty()) menu->setActiveAction(menu->actions().constFirst());
}

void frmMain::BuildThemedSet(int set) {
    ThemedSet& t = m_themed[static_cast<std::size_t>(set)];
    const QRect full(0, 0, Twips(kThemedWidthTwips), Twips(kThemedHeightTwips));
    auto picture = [&](const char* name, const char* art, const QRect& where) {
        auto* box = new PictureBox(Element(name, set), m_themedPage);
        box->setProperty("art", QString::fromLatin1(art));
        box->setGeometry(where);
        box->hide();
        return box;
    };
    t.precaution = picture("imgPrecaution", "precaution", full);
    t.title = picture("imgTitle", "title", full);
    // The screens and picture buttons take Tab and Enter as buttons do; a
    // mouse click does not move the focus frame.
    t.precaution->setFocusPolicy(Qt::TabFocus);
    t.title->setFocusPolicy(Qt::TabFocus);
    t.menu = picture("imgMenu", "menu", full);
    t.pointer = picture("imgPointer", "pointer", {0, 0, 32, 32});
    t.lowBat = picture("imgLowBat", "lowbat", kLowBatWhere);
    for (int b = 0; b < ButtonCount; ++b) {
        const ButtonArt& art = kButtons[b];
        t.buttons[b] = picture(art.name, art.picture, art.where);
        t.buttons[b]->setFocusPolicy(Qt::TabFocus);
        if (art.tooltip) t.buttons[b]->setToolTip(QString::fromLatin1(art.tooltip));
        auto* box = t.buttons[b];
        connect(box, &PictureBox::mouseEntered, this, [this, b] { LightButton(b); });
        connect(box, &PictureBox::focusEntered, this, [this, b] { LightButton(b); });
        connect(box, &PictureBox::clicked, this, [this, b] { imgButton_Click(static_cast<ImageButton>(b)); });
    }
    t.buttons[Power]->setToolTip(Q(kPowerTooltip));
    connect(t.precaution, &PictureBox::clicked, this, [this, set] { imgPrecaution_Click(set); });
    connect(t.title, &PictureBox::clicked, this, [this, set] { imgTitle_Click(set); });
    connect(t.menu, &PictureBox::mouseMoved, this, &frmMain::imgMenu_MouseMove);
    connect(t.menu, &PictureBox::clicked, this, &frmMain::imgMenu_Click);
    connect(t.lowBat, &PictureBox::clicked, this, &frmMain::imgMenu_Click);
}

void frmMain::DrawThemedPictures() {
    // Drawing the pictures from SVG is most of the window's making; the plain
    // look never needs them.
    if (m_themedDrawn) return;
    m_themedDrawn = true;
    for (int set = 0; set < 2; ++set) {
        ThemedSet& t = m_themed[static_cast<std::size_t>(set)];
        for (PictureBox* box : {t.precaution, t.title, t.menu, t.pointer, t.lowBat}) {
            box->setPixmap(ThemePicture(box->property("art").toString(), set));
        }
        for (int b = 0; b < ButtonCount; ++b) {
            const QString art = QString::fromLatin1(kButtons[b].picture);
            t.lit[b] = ThemePicture(art, set, Shade::Lit);
            t.unlit[b] = ThemePicture(art, set, Shade::Unlit);
            t.buttons[b]->setPixmap(t.unlit[b]);
        }
    }
}

void frmMain::ShowThemedLook() {
    DrawThemedPictures();
    const int s = ThemeColourSet(m_settings);
    // Coming from the plain look starts at the precaution screen; a change of
    // colour set keeps the screen the user was on.
    const bool wasThemed = m_pages->currentWidget() == m_themedPage;
    int stage = 0;
    for (const ThemedSet& t : m_themed) {
        if (t.title->isVisibleTo(m_themedPage)) stage = 1;
        if (t.menu->isVisibleTo(m_themedPage)) stage = 2;
    }
    if (!wasThemed) stage = 0;
    for (ThemedSet& t : m_themed) {
        for (QWidget* w : {static_cast<QWidget*>(t.precaution), static_cast<QWidget*>(t.title),
                           static_cast<QWidget*>(t.menu), static_cast<QWidget*>(t.lowBat)}) {
            w->hide();
        }
        for (auto* b : t.buttons) b->hide();
    }
    menuBar()->hide();
    for (QShortcut* key : m_themedMenuKeys) key->setEnabled(true);
    mnuFile->menuAction()->setVisible(false);
    mnuHelp->menuAction()->setVisible(false);
    for (QPushButton* b : {cmdRomInfo, cmdTileViewer, cmdRomDatabase, cmdEmus, cmdUtils, cmdOptions}) b->hide();
    m_pages->setCurrentWidget(m_themedPage);
    setFixedSize(Twips(kThemedWidthTwips), Twips(kThemedHeightTwips));
    if (!wasThemed) CentreOnScreen();
    m_themedPage->setCursor(QCursor(m_themed[static_cast<std::size_t>(s)].pointer->pixmap(), 2, 2));
    ThemedSet& t = m_themed[static_cast<std::size_t>(s)];
    if (stage == 0) t.precaution->show();
    if (stage == 1) t.title->show();
    if (stage == 2) ShowThemedMenu(s);
    if (stage < 2) (stage == 0 ? t.precaution : t.title)->setFocus();
}

void frmMain::ShowThemedMenu(int set) {
    ThemedSet& t = m_themed[static_cast<std::size_t>(set)];
    t.title->hide();
    t.menu->show();
    for (int b = 0; b < ButtonCount; ++b) {
        t.buttons[b]->setPixmap(t.unlit[b]);
        t.buttons[b]->show();
        t.buttons[b]->raise();
    }
    if (!AnyEmulatorEnabled(m_settings)) {
        t.buttons[Emus]->hide();
        mnuFileEmus->menuAction()->setEnabled(false);
    }
    if (!AnyUtilityEnabled(m_settings)) {
        t.buttons[Utils]->hide();
        mnuFileUtils->menuAction()->setEnabled(false);
    }
    if (tmrLowBat->isActive()) t.lowBat->raise();
    // No picture is lit until the user moves to one; Tab then starts at the first.
    m_themedPage->setFocus();
}

void frmMain::imgPrecaution_Click(int set) {
    m_themed[static_cast<std::size_t>(set)].title->show();
    m_themed[static_cast<std::size_t>(set)].title->setFocus();
    m_themed[static_cast<std::size_t>(set)].precaution->hide();
}

void frmMain::imgTitle_Click(int set) {
    ShowThemedMenu(set);
}

void frmMain::LightButton(int button) {
    ThemedSet& t = m_themed[static_cast<std::size_t>(ThemeColourSet(m_settings))];
    for (int b = 0; b < ButtonCount; ++b) t.buttons[b]->setPixmap(b == button ? t.lit[b] : t.unlit[b]);
}

void frmMain::imgMenu_MouseMove() {
    LightButton(-1);
}

bool frmMain::QuitIfBatteryDead() {
    if (m_powerCounter < kPowerButtonSteps) return false;
    mnuFileQuit_Click();
    return true;
}

void frmMain::imgMenu_Click() {
    QuitIfBatteryDead();
}

void frmMain::imgButton_Click(ImageButton button) {
    if (QuitIfBatteryDead()) return;
    switch (button) {
        case RomInfo: mnuFileRomInfo_Click(); break;
        case TileViewer: mnuFileTileViewer_Click(); break;
        case VbRomDatabase: mnuFileRomDatabase_Click(); break;
        case Emus: cmdEmus_Click(); break;
        case Utils: cmdUtils_Click(); break;
        case Options: mnuFileOptions_Click(); break;
        case About: mnuHelpAbout_Click(); break;
        case Help: mnuHelpHelp_Click(); break;
        case Close: mnuFileQuit_Click(); break;
        case Power: imgPower_Click(); break;
        case ButtonCount: break;
    }
}

void frmMain::imgPower_Click() {
    const PowerButtonStep step = PowerButtonStepFor(m_powerCounter);
    m_services.messages.Show(this, step.message);
    for (ThemedSet& t : m_themed) t.buttons[Power]->setToolTip(Q(step.nextTooltip));
    ++m_powerCounter;
    if (m_powerCounter == kPowerButtonSteps) {
        m_themed[static_cast<std::size_t>(ThemeColourSet(m_settings))].lowBat->raise();
        tmrLowBat->start();
    }
}

void frmMain::tmrLowBat_Timer() {
    PictureBox* lamp = m_themed[static_cast<std::size_t>(ThemeColourSet(m_settings))].lowBat;
    lamp->setVisible(!lamp->isVisibleTo(m_themedPage));
}

}  // namespace kestro::app
