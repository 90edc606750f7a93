#pragma once
// The Red Dragon front-end: options.dat shown in controls when the window
// opens and written from them at each run, the ROM to run, and the keys
// handed to the key configuration window through lstControls.

#include <QDialog>
#include <array>

#include "emus/RedDragon.h"
#include "platform/Services.h"

class QAction;
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

namespace kestro::platform {
class RomChooser;
}

namespace kestro::emus {

class frmRedDragon final : public QDialog {
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
    void mnuHelpHelp_Click();

    platform::Services& m_services;
    platform::RomChooser* m_rom = nullptr;
    std::string m_directory;
    std::string m_baseDirectory;
    RedDragonOptions m_read;  ///< the values read when the window opened
    RedDragonKeys m_keys{};

    QAction* mnuFileBack = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QListWidget* lstScreenMode = nullptr;
    QListWidget* lstScreenSize = nullptr;
    QListWidget* lstScreenCols = nullptr;
    QComboBox* cmbVersion = nullptr;
    QSlider* sliFrameskip = nullptr;
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
    QPlainTextEdit* txtHelp = nullptr;
};

}  // namespace kestro::emus
