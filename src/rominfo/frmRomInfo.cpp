// SPDX-License-Identifier: GPL-3.0-or-later
#include "rominfo/frmRomInfo.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/SettingsKeys.h"
#include "platform/Drops.h"
#include "platform/QtServices.h"
#include "platform/RecentMenuView.h"
#include "platform/Text.h"
#include "platform/ThemeArt.h"
#include "platform/Widgets.h"
#include "rom/MakerTable.h"
#include "rominfo/RomInfoTexts.h"

namespace kestro::rominfo {

using platform::Q;
using platform::Twips;

namespace {
constexpr int kNoIdentifyHeightTwips = 3450;
constexpr int kTitlePointSize = 10;
}  // namespace

frmRomInfo::frmRomInfo(platform::Services& services, QWidget* parent)
    : QDialog(parent), m_services(services), m_recent(services.settings) {
    setObjectName(QStringLiteral("frmRomInfo"));
    BuildControls();
    BuildMenus();
    platform::KeepOnlyDesignedDefault(this);
    ConnectHandlers();
    Form_Load();
    platform::AcceptDropsOnWindow(this);
}

frmRomInfo::~frmRomInfo() = default;

void frmRomInfo::BuildControls() {
    auto* layout = new QGridLayout(this);
    auto frame = [this](const char* name, const char* caption) {
        return platform::Named(new QGroupBox(QString::fromLatin1(caption), this), name);
    };

    fraTitle = frame("fraTitle", "ROM Title:");
    lblTitle = platform::Named(new QLabel(fraTitle), "lblTitle");
    lblTitle->setFont(platform::KatakanaFont(kTitlePointSize));
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setMinimumWidth(200);
    cmdJapaneseIme = platform::Named(new QPushButton(QStringLiteral("Edit..."), fraTitle), "cmdJapaneseIme");
    auto* titleRow = new QHBoxLayout(fraTitle);
    titleRow->addWidget(lblTitle, 1);
    titleRow->addWidget(cmdJapaneseIme);

    fraManufacturer = frame("fraManufacturer", "Manufacturer ID:");
    txtManufacturer = platform::Named(new QLineEdit(fraManufacturer), "txtManufacturer");
    txtManufacturer->setMaxLength(static_cast<int>(rom::kMakerLength));
    txtManufacturer->setFixedWidth(40);
    cmbManufacturer = platform::Named(new QComboBox(fraManufacturer), "cmbManufacturer");
    auto* makerRow = new QHBoxLayout(fraManufacturer);
    makerRow->addWidget(txtManufacturer);
    makerRow->addWidget(cmbManufacturer, 1);

    fraRomId = frame("fraRomId", "ROM ID:");
    txtRomId = platform::Named(new QLineEdit(fraRomId), "txtRomId");
    txtRomId->setMaxLength(static_cast<int>(rom::kGameCodeLength));
    (new QHBoxLayout(fraRomId))->addWidget(txtRomId);

    fraVersion = frame("fraVersion", "Version:");
    cmbVersion = platform::Named(new QComboBox(fraVersion), "cmbVersion");
    (new QHBoxLayout(fraVersion))->addWidget(cmbVersion);

    fraMbit = frame("fraMbit", "ROM Size:");
    lblMbit = platform::Named(new QLabel(fraMbit), "lblMbit");
    (new QHBoxLayout(fraMbit))->addWidget(lblMbit);

    fraIdentify = frame("fraIdentify", "Identify ROM:");
    lblIdentify = platform::Named(new QLabel(fraIdentify), "lblIdentify");
    (new QVBoxLayout(fraIdentify))->addWidget(lblIdentify);
    // Beside the frame, not in it: the frame stays disabled as Reset leaves
    // it, and Revert must still answer when identification allows it.
    cmdRevert =
        platform::Named(new QPushButton(QStringLiteral("Revert ROM info to original settings"), this), "cmdRevert");

    // Kept from view: the path that Save writes, the checksum Revert looks
    // up, and the help text the help window shows.
    lblChecksum = platform::Named(new QLabel(this), "lblChecksum");
    lblFileName = platform::Named(new QLabel(this), "lblFileName");
    txtHelp = platform::Named(new QPlainTextEdit(this), "txtHelp");
    txtHelp->setReadOnly(true);
    txtHelp->setPlainText(platform::DisplayText(Q(RomInfoHelpText())));
    for (QWidget* hidden :
         {static_cast<QWidget*>(lblChecksum), static_cast<QWidget*>(lblFileName), static_cast<QWidget*>(txtHelp)}) {
        hidden->hide();
    }
    imgVBKart = platform::Named(new QLabel(this), "imgVBKart");
    imgVBKart->setPixmap(platform::ThemePicture(QStringLiteral("cartridge"), 0));

    layout->addWidget(fraTitle, 0, 0, 1, 2);
    layout->addWidget(imgVBKart, 0, 2, 2, 1, Qt::AlignCenter);
    layout->addWidget(fraManufacturer, 1, 0);
    layout->addWidget(fraRomId, 1, 1);
    layout->addWidget(fraVersion, 2, 0);
    layout->addWidget(fraMbit, 2, 1, 1, 2);
    layout->addWidget(fraIdentify, 3, 0, 1, 3);
    layout->addWidget(cmdRevert, 4, 0, 1, 3, Qt::AlignLeft);
    layout->setRowStretch(5, 1);
}

void frmRomInfo::BuildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    mnuFile = platform::AddMenu(bar, "mnuFile", "&File");
    mnuFileOpen = platform::AddAction(mnuFile, "mnuFileOpen", "&Open ROM...");
    mnuFileClose = platform::AddAction(mnuFile, "mnuFileClose", "&Close ROM");
    mnuFile->addSeparator();
    mnuFileSave = platform::AddAction(mnuFile, "mnuFileSave", "&Save ROM");
    mnuFileSaveAs = platform::AddAction(mnuFile, "mnuFileSaveAs", "Save ROM &As...");
    mnuFile->addSeparator();
    mnuFileApplyPatch = platform::AddAction(mnuFile, "mnuFileApplyPatch", "Apply &Patch...");
    mnuFile->addSeparator();
    mnuFileRecent = platform::AddMenu(mnuFile, "mnuFileRecent", "&Recent Files");
    for (std::size_t k = 0; k < mnuFileRecentItem.size(); ++k) {
        QAction* item = mnuFileRecent->addAction(QString());
        item->setObjectName(QStringLiteral("mnuFileRecent") + QString::number(k));
        mnuFileRecentItem[k] = item;
    }
    mnuFileRecentSep = mnuFile->addSeparator();
    mnuFileRecentSep->setObjectName(QStringLiteral("mnuFileRecentSep"));
    mnuFileBack = platform::AddAction(mnuFile, "mnuFileBack", "&Back to main menu");

    mnuHelp = platform::AddMenu(bar, "mnuHelp", "&Help");
    mnuHelpHelp = platform::AddAction(mnuHelp, "mnuHelpHelp", "ROM Information &Help...");
    mnuHelp->addSeparator();
    mnuHelpIdCodes = platform::AddAction(mnuHelp, "mnuHelpIdCodes", "ROM &Identification Codes...");
}

void frmRomInfo::ConnectHandlers() {
    connect(mnuFileOpen, &QAction::triggered, this, &frmRomInfo::mnuFileOpen_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmRomInfo::mnuFileClose_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmRomInfo::mnuFileSave_Click);
    connect(mnuFileSaveAs, &QAction::triggered, this, &frmRomInfo::mnuFileSaveAs_Click);
    connect(mnuFileApplyPatch, &QAction::triggered, this, &frmRomInfo::mnuFileApplyPatch_Click);
    for (std::size_t k = 0; k < mnuFileRecentItem.size(); ++k) {
        connect(mnuFileRecentItem[k], &QAction::triggered, this,
                [this, k] { mnuFileRecent_Click(static_cast<int>(k)); });
    }
    connect(mnuFileBack, &QAction::triggered, this, &QDialog::close);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmRomInfo::mnuHelpHelp_Click);
    connect(mnuHelpIdCodes, &QAction::triggered, this, &frmRomInfo::mnuHelpIdCodes_Click);
    connect(txtManufacturer, &QLineEdit::textChanged, this, &frmRomInfo::txtManufacturer_Change);
    connect(cmbManufacturer, &QComboBox::activated, this, &frmRomInfo::cmbManufacturer_Click);
    connect(txtRomId, &QLineEdit::textChanged, this, &frmRomInfo::txtRomId_Change);
    connect(cmdRevert, &QPushButton::clicked, this, &frmRomInfo::cmdRevert_Click);
    connect(cmdJapaneseIme, &QPushButton::clicked, this, &frmRomInfo::cmdJapaneseIme_Click);
}

void frmRomInfo::Form_Load() {
    for (int v = 0; v <= 255; ++v) cmbVersion->addItem(Q(rom::VersionText(v)));
    for (const rom::Maker& maker : rom::kMakers) cmbManufacturer->addItem(Q(maker.listName));
    GetRegistry();
    fraIdentify->setVisible(m_autoDetectRom);
    cmdRevert->setVisible(m_autoDetectRom);
    if (!m_autoDetectRom) setFixedHeight(Twips(kNoIdentifyHeightTwips));
    RefreshRecentMenu();
    Reset();
}

void frmRomInfo::GetRegistry() {
    m_baseDirectory = base::ReadText(m_services.settings, base::keys::BaseDirectory);
    m_autoDetectRom = base::ReadYesNo(m_services.settings, base::keys::AutoDetectRom);
    m_recent.Load();
}

void frmRomInfo::SetFieldsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{fraTitle, lblTitle, cmdJapaneseIme, fraManufacturer,
                                                      cmbManufacturer, txtManufacturer, fraVersion, cmbVersion,
                                                      fraRomId, txtRomId, fraMbit, lblMbit}) {
        w->setEnabled(enabled);
    }
}

void frmRomInfo::Reset() {
    m_image.reset();
    SetFieldsEnabled(false);
    SetTitle({});
    lblTitle->setToolTip(QString());
    txtManufacturer->clear();
    cmbManufacturer->setCurrentIndex(-1);  // clearing an empty box changes nothing, so no rule runs
    cmbVersion->setCurrentIndex(-1);
    txtRomId->clear();
    lblMbit->clear();
    fraIdentify->setEnabled(false);
    lblIdentify->setEnabled(false);
    lblIdentify->clear();
    cmdRevert->setEnabled(false);
    setWindowTitle(Q(kNoRomCaption));
    mnuFileClose->setEnabled(false);
    mnuFileSave->setEnabled(false);
    mnuFileSaveAs->setEnabled(false);
    mnuFileApplyPatch->setEnabled(false);
}

void frmRomInfo::RefreshRecentMenu() {
    m_recent.Refresh();
    platform::ShowRecentMenu(m_recent.Menu(), mnuFileRecent, mnuFileRecentSep, mnuFileRecentItem);
}

}  // namespace kestro::rominfo
