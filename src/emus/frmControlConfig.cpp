// SPDX-License-Identifier: GPL-3.0-or-later
#include "emus/frmControlConfig.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "emus/EmulatorRun.h"
#include "emus/FrontEndMessages.h"
#include "emus/KeyTables.h"
#include "emus/frmKeyCapture.h"
#include "platform/Text.h"
#include "platform/ThemeArt.h"
#include "platform/Widgets.h"

namespace kestro::emus {

using base::MessageResult;
using platform::Named;
using platform::Q;
using platform::U8;

namespace {

// Where each input's button sits around the picture (row, column), in member
// order: each pad's four buttons in a cross on its own side, the triggers
// above them, Select and Start under the left pad, B and A under the right.
constexpr std::array<std::pair<int, int>, 14> kKeyPlaces{{
    {4, 6},
    {4, 4},
    {0, 1},
    {0, 5},
    {1, 1},
    {3, 1},
    {2, 0},
    {2, 2},
    {1, 5},
    {3, 5},
    {2, 4},
    {2, 6},
    {4, 2},
    {4, 0},
}};

constexpr std::array<const char*, 4> kRealityBoyKeys{{
    "'Q' or <Esc> - Quit Reality Boy.",
    "'0' to '9'   - Adjust frame skip.",
    "'[' or ']'   - Flip 3D effects.",
    "'P'          - Save display to a                 bitmap (BMP) file.",
}};

constexpr int kKeyButtonWidth = 88;

}  // namespace

frmControlConfig::frmControlConfig(platform::Services& services, const QString& emulator, QListWidget* lstControls,
                                   QWidget* parent)
    : QDialog(parent), m_services(services), m_emulator(emulator), m_lstControls(lstControls) {
    setObjectName(QStringLiteral("frmControlConfig"));
    BuildControls();
    platform::KeepOnlyDesignedDefault(this);
    ConnectHandlers();
    Form_Load();
}

bool frmControlConfig::Configurable() const {
    return m_emulator != QStringLiteral("Reality Boy");
}

void frmControlConfig::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    imgController = Named(new QLabel(this), "imgController");
    imgController->setPixmap(platform::ThemePicture(QStringLiteral("keypad"), 0));
    imgController->setAlignment(Qt::AlignCenter);
    layout->addWidget(imgController);
    auto* grid = new QGridLayout();
    layout->addLayout(grid);
    BuildKeyButtons(grid);

    auto* buttons = new QHBoxLayout();
    cmdVirteDefault = platform::AddButton(this, buttons, "cmdVirteDefault", "Default");
    cmdVirteRevert = platform::AddButton(this, buttons, "cmdVirteRevert", "Revert");
    buttons->addStretch();
    cmdVirteCancel = platform::AddButton(this, buttons, "cmdVirteCancel", "Cancel");
    cmdVirteOK = platform::AddButton(this, buttons, "cmdVirteOK", "OK");
    BuildRealityBoyPart(layout);
    layout->addLayout(buttons);
    cmdOK = platform::AddButton(this, buttons, "cmdOK", "OK");
    setFixedSize(sizeHint());
}

void frmControlConfig::BuildKeyButtons(QGridLayout* grid) {
    grid->setColumnMinimumWidth(3, 24);  // the gap between the two grips
    for (std::size_t i = 0; i < cmdKey.size(); ++i) {
        const ControllerInput& input = kControllerInputs[i];
        cmdKey[i] = new QPushButton(this);
        cmdKey[i]->setObjectName(QString::fromLatin1(input.button.data(), static_cast<int>(input.button.size())));
        cmdKey[i]->setToolTip(QString::fromLatin1(input.toolTip.data(), static_cast<int>(input.toolTip.size())));
        cmdKey[i]->setFixedWidth(kKeyButtonWidth);
        grid->addWidget(cmdKey[i], kKeyPlaces[i].first, kKeyPlaces[i].second);
    }
}

void frmControlConfig::BuildRealityBoyPart(QVBoxLayout* layout) {
    fraRealityBoy = Named(new QGroupBox(QStringLiteral("Additional Key Configurations:"), this), "fraRealityBoy");
    auto* lines = new QVBoxLayout(fraRealityBoy);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (std::size_t i = 0; i < kRealityBoyKeys.size(); ++i) {
        auto* line = new QLabel(QString::fromLatin1(kRealityBoyKeys[i]), fraRealityBoy);
        line->setObjectName(QStringLiteral("lblRealityBoy_") + QString::number(i));
        line->setFont(fixed);
        lines->addWidget(line);
    }
    cmdDebug = Named(new QPushButton(QStringLiteral("Show Debug Mode Key Configuration..."), this), "cmdDebug");
    lines->addWidget(cmdDebug, 0, Qt::AlignLeft);
    layout->addWidget(fraRealityBoy);
}

void frmControlConfig::ConnectHandlers() {
    for (std::size_t i = 0; i < cmdKey.size(); ++i) {
        connect(cmdKey[i], &QPushButton::clicked, this, [this, i] { cmdKey_Click(static_cast<int>(i)); });
    }
    connect(cmdVirteDefault, &QPushButton::clicked, this, &frmControlConfig::cmdVirteDefault_Click);
    connect(cmdVirteRevert, &QPushButton::clicked, this, &frmControlConfig::cmdVirteRevert_Click);
    connect(cmdVirteCancel, &QPushButton::clicked, this, &frmControlConfig::cmdVirteCancel_Click);
    connect(cmdVirteOK, &QPushButton::clicked, this, &frmControlConfig::cmdVirteOK_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmControlConfig::cmdOK_Click);
    connect(cmdDebug, &QPushButton::clicked, this, &frmControlConfig::cmdDebug_Click);
}

void frmControlConfig::Form_Load() {
    setWindowTitle(m_emulator + QStringLiteral(" Control Configuration..."));
    if (m_emulator == QStringLiteral("Virtual-E"))
        GetAnyRegistry();
    else if (m_emulator == QStringLiteral("Red Dragon"))
        LoadFromRedDragon();
    else
        m_codes = DefaultKeyCodes();  // Reality Boy's fixed layout
    for (QPushButton* b : {cmdVirteDefault, cmdVirteRevert, cmdVirteCancel, cmdVirteOK}) b->setVisible(Configurable());
    cmdOK->setVisible(!Configurable());
    fraRealityBoy->setVisible(!Configurable());
    setFixedSize(sizeHint());
    ShowCaptions();
}

void frmControlConfig::GetAnyRegistry() {
    m_codes = ReadVirtualEKeys(m_services.registry);
}

bool frmControlConfig::SaveAnyRegistry() {
    return platform::WriteRegistryOrShowError(m_services.messages, this,
                                              [this] { SaveVirtualEKeys(m_services.registry, m_codes); });
}

void frmControlConfig::LoadFromRedDragon() {
    std::vector<std::string> entries;
    for (int i = 0; m_lstControls != nullptr && i < m_lstControls->count(); ++i) {
        entries.push_back(U8(m_lstControls->item(i)->text()));
    }
    m_codes = KeysFromRedDragon(entries);
}

void frmControlConfig::SaveToRedDragon() {
    if (m_lstControls == nullptr) return;
    m_lstControls->clear();
    for (const std::string& entry : KeysToRedDragon(m_codes)) m_lstControls->addItem(Q(entry));
}

void frmControlConfig::ShowCaptions() {
    for (std::size_t i = 0; i < cmdKey.size(); ++i) cmdKey[i]->setText(Q(VirtualEKeyName(m_codes[i])));
}

int frmControlConfig::ChooseSide(const ModifierSides& sides) {
    // Red Dragon knows only left and right modifiers; ask until one is chosen.
    for (;;) {
        if (m_services.messages.Show(this, LeftKeyQuestion(sides)) == MessageResult::Yes) return sides.left;
        if (m_services.messages.Show(this, RightKeyQuestion(sides)) == MessageResult::Yes) return sides.right;
    }
}

void frmControlConfig::cmdKey_Click(int input) {
    if (!Configurable()) {
        m_services.messages.Show(this, RealityBoyKeysMessage());
        return;
    }
    frmKeyCapture capture(m_emulator, this);
    capture.exec();
    std::optional<int> code = capture.Captured();
    if (!code) return;
    if (m_emulator == QStringLiteral("Red Dragon")) {
        if (auto sides = SidesOf(*code)) code = ChooseSide(*sides);
        if (RedDragonCodeOfVirtualE(*code) == 0) {
            m_services.messages.Show(this, RedDragonLacksKeyMessage(*code));
            return;
        }
    }
    m_codes[static_cast<std::size_t>(input)] = *code;
    cmdKey[static_cast<std::size_t>(input)]->setText(Q(VirtualEKeyName(*code)));
}

void frmControlConfig::cmdVirteDefault_Click() {
    if (m_services.messages.Show(this, RevertToDefaultQuestion()) != MessageResult::Yes) return;
    m_codes = DefaultKeyCodes();
    ShowCaptions();
}

void frmControlConfig::cmdVirteRevert_Click() {
    if (m_services.messages.Show(this, RevertToSavedQuestion()) != MessageResult::Yes) return;
    if (m_emulator == QStringLiteral("Virtual-E"))
        GetAnyRegistry();
    else
        LoadFromRedDragon();
    ShowCaptions();
}

void frmControlConfig::cmdVirteCancel_Click() {
    reject();
}

void frmControlConfig::cmdVirteOK_Click() {
    if (m_emulator == QStringLiteral("Virtual-E")) {
        // A failed write keeps the window open with the keys chosen.
        if (!SaveAnyRegistry()) return;
    } else {
        SaveToRedDragon();
    }
    accept();
}

void frmControlConfig::cmdOK_Click() {
    accept();
}

void frmControlConfig::cmdDebug_Click() {
    m_services.messages.Show(this, DebugKeysMessage());
}

}  // namespace kestro::emus
