// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key configuration window: which key stands for each of the fourteen
// controller inputs. Virtual-E's keys are stored in its registry, Red
// Dragon's go back to its front-end's hand-over list, Reality Boy's are
// fixed and only shown.

#include <QDialog>
#include <array>

#include "emus/KeyConfig.h"
#include "platform/Services.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace kestro::emus {

class frmControlConfig final : public QDialog {
    Q_OBJECT
public:
    /// emulator: "Reality Boy", "Virtual-E" or "Red Dragon". lstControls is
    /// the Red Dragon front-end's hand-over list of its fourteen codes (as
    /// decimal texts), read on opening and written by OK; unused otherwise.
    frmControlConfig(platform::Services& services, const QString& emulator, QListWidget* lstControls = nullptr,
                     QWidget* parent = nullptr);

    /// The keys as the window holds them, in Virtual-E's numbering.
    const KeyCodes& Codes() const { return m_codes; }

private:
    bool Configurable() const;
    void BuildControls();
    void BuildKeyButtons(QGridLayout* grid);
    void BuildRealityBoyPart(QVBoxLayout* layout);
    void ConnectHandlers();
    void Form_Load();
    void GetAnyRegistry();
    bool SaveAnyRegistry();
    void LoadFromRedDragon();
    void SaveToRedDragon();
    void ShowCaptions();
    int ChooseSide(const ModifierSides& sides);

    void cmdKey_Click(int input);
    void cmdVirteDefault_Click();
    void cmdVirteRevert_Click();
    void cmdVirteCancel_Click();
    void cmdVirteOK_Click();
    void cmdOK_Click();
    void cmdDebug_Click();

    platform::Services& m_services;
    QString m_emulator;
    QListWidget* m_lstControls;
    KeyCodes m_codes{};

    std::array<QPushButton*, 14> cmdKey{};  ///< cmdAButton ... cmdSelect, in member order
    QLabel* imgController = nullptr;
    QPushButton* cmdVirteDefault = nullptr;
    QPushButton* cmdVirteRevert = nullptr;
    QPushButton* cmdVirteCancel = nullptr;
    QPushButton* cmdVirteOK = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdDebug = nullptr;
    QGroupBox* fraRealityBoy = nullptr;
};

}  // namespace kestro::emus
