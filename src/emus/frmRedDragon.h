// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Red Dragon front-end: options.dat shown in controls when the window
// opens and written from them at each run, the ROM to run, and the keys
// handed to the key configuration window through lstControls.

#include <array>

#include "emus/RedDragon.h"
#include "emus/frmFrontEnd.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kestro::emus {

class frmRedDragon final : public frmFrontEnd {
    Q_OBJECT
public:
    frmRedDragon(platform::Services& services, QWidget* parent = nullptr);
    ~frmRedDragon() override;

    /// The key codes as they stand (member order), for the next run.
    const RedDragonKeys& keys() const { return m_keys; }

private:
    void BuildControls();
    QGroupBox* BuildGraphicsMode();
    QGroupBox* BuildEmulationOptions();
    void ConnectHandlers();
    void Form_Load();

    void GetRegistry();
    /// Read options: the file's values into the controls, as a fresh window shows them.
    void ReadOptions();
    void ShowForm(const RedDragonForm& form);
    RedDragonForm FormFromControls() const;

    void lstScreenMode_Click(int row);
    void sliFrameskip_Change(int value);
    void cmdRunRedDragon_Click();
    void cmdRevertSettings_Click();
    void cmdRevertDefault_Click();
    void cmdControlConfig_Click();
    /// The key configuration window, given lstControls filled with the codes.
    void ShowKeyConfiguration();

    std::string m_directory;
    RedDragonOptions m_read;  ///< the values read when the window opened
    RedDragonKeys m_keys{};

    QListWidget* lstScreenMode = nullptr;
    QListWidget* lstScreenSize = nullptr;
    QListWidget* lstScreenCols = nullptr;
    QComboBox* cmbVersion = nullptr;
    QSlider* sliFrameskip = nullptr;
    QLabel* lblFrameskipNumber = nullptr;
    QComboBox* cmbDisplayMode = nullptr;
    std::array<QRadioButton*, kRedDragonBrightnessHack.size()> optBrightness{};
    QButtonGroup* m_brightness = nullptr;
    QComboBox* cmbPalette = nullptr;
    QCheckBox* chkSwap3D = nullptr;
    QPushButton* cmdRunRedDragon = nullptr;
    QPushButton* cmdRevertSettings = nullptr;
    QPushButton* cmdRevertDefault = nullptr;
    QPushButton* cmdControlConfig = nullptr;
    QPlainTextEdit* txtOptions = nullptr;
    QListWidget* lstControls = nullptr;
};

}  // namespace kestro::emus
