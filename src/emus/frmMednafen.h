// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Mednafen front-end: the ROM to run, that game's Virtual Boy settings
// kept in Mednafen's per-game file, and the exact command that runs it.

#include <optional>
#include <string>
#include <vector>

#include "emus/Mednafen.h"
#include "emus/frmFrontEnd.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kestro::platform {
class PathLabel;
class Swatch;
}  // namespace kestro::platform

namespace kestro::emus {

class frmMednafen final : public frmFrontEnd {
    Q_OBJECT
public:
    frmMednafen(platform::Services& services, QWidget* parent = nullptr);
    ~frmMednafen() override;

private:
    /// The controls of one setting, made from the settings table.
    struct SettingRow {
        const MednafenSetting* setting = nullptr;
        QLabel* label = nullptr;
        QComboBox* choice = nullptr;  ///< cmb + name
        QCheckBox* flag = nullptr;    ///< chk + name
        QLineEdit* colour = nullptr;  ///< txt + name, with its swatch shp + name and cmd + name
        platform::Swatch* swatch = nullptr;
        QPushButton* pick = nullptr;
        QSpinBox* whole = nullptr;       ///< spn + name
        QDoubleSpinBox* real = nullptr;  ///< spn + name
    };

    void BuildControls();
    QGroupBox* BuildSettingsFrame(const char* name, const char* caption, bool threeD);
    void AddSettingRow(QGroupBox* frame, QGridLayout* grid, const MednafenSetting& setting);
    void ConnectHandlers();
    void Form_Load();
    void GetRegistry();

    /// A ROM chosen (or none): its settings shown, the command line and buttons set.
    void RomChosen(bool valid);
    void ReloadGame();
    void ShowValues(const MednafenValues& values);
    MednafenValues ValuesFromControls() const;
    static std::string ControlText(const SettingRow& row);
    const SettingRow& Row(std::string_view key) const;
    std::string ChoiceOf(std::string_view key) const;
    void UpdateEnabling();
    void UpdateCommandLine();
    std::string ProgramToRun() const;

    void txtColour_Change(const SettingRow& row);
    void cmdColour_Click(const SettingRow& row);
    void cmdRunMednafen_Click();
    void cmdSaveSettings_Click();
    void cmdRevertSettings_Click();
    void cmdRevertDefault_Click();
    void cmdCopyCommand_Click();

    MednafenEnvironment m_environment;
    std::string m_program;               ///< as configured; "" looks on PATH, then in /usr/games
    std::optional<MednafenGame> m_game;  ///< the chosen ROM's settings, as last read
    std::vector<SettingRow> m_rows;

    platform::PathLabel* lblSettingsFile = nullptr;
    QLineEdit* txtCommandLine = nullptr;
    QPushButton* cmdCopyCommand = nullptr;
    QPushButton* cmdRunMednafen = nullptr;
    QPushButton* cmdSaveSettings = nullptr;
    QPushButton* cmdRevertSettings = nullptr;
    QPushButton* cmdRevertDefault = nullptr;
    QPushButton* cmdHelp = nullptr;
};

}  // namespace kestro::emus
