// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Reality Boy front-end: the ROM to run, the display options stored in
// the settings, and the normal and debug-mode runs.

#include <array>

#include "emus/RealityBoy.h"
#include "emus/frmFrontEnd.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace kestro::emus {

class frmRealityBoy final : public frmFrontEnd {
    Q_OBJECT
public:
    frmRealityBoy(platform::Services& services, QWidget* parent = nullptr);
    ~frmRealityBoy() override;

private:
    void BuildControls();
    QGroupBox* BuildChoices(const char* name, const char* caption, const char* buttonName,
                            const RealityBoyChoice* choices, std::size_t count, QRadioButton** buttons,
                            QButtonGroup*& group);
    QGroupBox* BuildGeneralOptions();
    void ConnectHandlers();
    void Form_Load();

    void GetRegistry();
    void SaveRegistry();
    /// Opening's step 2 (and Revert Settings): the controls from the options.
    void ShowOptions(const RealityBoyOptions& options);
    RealityBoyOptions OptionsFromControls() const;
    void SetRunButtons(bool enabled);

    void optDspMode_Click(int index);
    void vscFrameSkip_Change(int value);
    void vscBrightness_Change(int value);
    void txtFrameSkip_Change();
    void txtBrightness_Change();
    void NumericBox_Change(QLineEdit* box, QScrollBar* bar, int upperBound);
    void cmdRunRealityBoy_Click();
    void cmdRunDebugMode_Click();
    void Run(bool debug);
    void cmdSaveSettings_Click();
    void cmdRevertSettings_Click();
    void cmdRevertDefault_Click();
    void cmdControlConfig_Click();

    RealityBoyOptions m_options;
    std::string m_directory;

    std::array<QRadioButton*, kRealityBoyDisplayModes.size()> optDspMode{};
    std::array<QRadioButton*, kRealityBoyResolutions.size()> optDisplay{};
    std::array<QRadioButton*, kRealityBoyPalettes.size()> optPalette{};
    QButtonGroup* m_dspModes = nullptr;
    QButtonGroup* m_displays = nullptr;
    QButtonGroup* m_palettes = nullptr;
    QCheckBox* chkFlip = nullptr;
    QCheckBox* chkPalette = nullptr;
    QScrollBar* vscFrameSkip = nullptr;
    QLineEdit* txtFrameSkip = nullptr;
    QScrollBar* vscBrightness = nullptr;
    QLineEdit* txtBrightness = nullptr;
    QPushButton* cmdRunRealityBoy = nullptr;
    QPushButton* cmdRunDebugMode = nullptr;
    QPushButton* cmdRevertDefault = nullptr;
    QPushButton* cmdRevertSettings = nullptr;
    QPushButton* cmdSaveSettings = nullptr;
    QPushButton* cmdControlConfig = nullptr;
};

}  // namespace kestro::emus
