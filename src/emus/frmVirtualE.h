// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Virtual-E front-end: edits the emulator's twelve registry settings and
// starts it; its keys are set in the key configuration window.

#include <QDialog>
#include <array>
#include <string>

#include "emus/VirtualE.h"
#include "platform/Services.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

namespace kestro::emus {

class frmVirtualE final : public QDialog {
    Q_OBJECT
public:
    explicit frmVirtualE(platform::Services& services, QWidget* parent = nullptr);

    /// The settings as last read or saved.
    const VirtualEOptions& Options() const { return m_options; }

private:
    /// A frame's option buttons, numbered from 1 as the stored index is.
    struct OptionGroup {
        QButtonGroup* group = nullptr;
        std::array<QRadioButton*, 5> options{};
    };

    void BuildControls();
    QGroupBox* BuildOptionFrame(OptionGroup& group, const char* frame, const char* frameTitle, const char* name,
                                std::initializer_list<const char*> captions);
    QGroupBox* BuildCoreFrame();
    QGroupBox* BuildGeneralFrame();
    void BuildNumberEntry(QGridLayout* grid, int row, QLineEdit*& box, QScrollBar*& bar, const char* label,
                          const char* boxName, const char* barName, const char* labelName);
    void BuildMenus();
    void ConnectHandlers();
    void Form_Load();
    void GetAnyRegistry();
    bool SaveAnyRegistry();
    void ShowOptions(const VirtualEOptions& options);
    VirtualEOptions ControlOptions() const;
    void UpdateBrightnessPictures();
    void NumberEntry_Change(QLineEdit* box, QScrollBar* bar);

    void cmdRunVirtualE_Click();
    void cmdSaveSettings_Click();
    void cmdRevertSettings_Click();
    void cmdRevertDefault_Click();
    void cmdControlConfig_Click();
    void sliBrightness_Change();
    void vscFrameSkip_Change();
    void txtFrameSkip_Change();
    void vscFps_Change();
    void txtFps_Change();
    void mnuFileBack_Click();
    void mnuHelpHelp_Click();

    platform::Services& m_services;
    VirtualEOptions m_options;
    /// The options the controls were last set from: a stored number outside
    /// a control's range is kept while the control stays where it was put.
    VirtualEOptions m_shown;
    std::string m_directory;

    OptionGroup optDisplay;
    OptionGroup optEmulator;
    OptionGroup optStyle;
    QSlider* sliBrightness = nullptr;
    std::array<QLabel*, 11> imgBrightness{};
    QLineEdit* txtFrameSkip = nullptr;
    QScrollBar* vscFrameSkip = nullptr;
    QLineEdit* txtFps = nullptr;
    QScrollBar* vscFps = nullptr;
    QCheckBox* chkIgnoreDisplayIrq = nullptr;
    QCheckBox* chkIgnoreTimerIrq = nullptr;
    QCheckBox* chkIgnoreControlIrq = nullptr;
    QCheckBox* chkEnableSram = nullptr;
    QCheckBox* chkIgnoreRomPalette = nullptr;
    QCheckBox* chkEnableSound = nullptr;
    QPushButton* cmdRunVirtualE = nullptr;
    QPushButton* cmdSaveSettings = nullptr;
    QPushButton* cmdRevertSettings = nullptr;
    QPushButton* cmdRevertDefault = nullptr;
    QPushButton* cmdControlConfig = nullptr;
    QPlainTextEdit* txtHelp = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileBack = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpLog = nullptr;
    std::string m_lastLog;  ///< the log of this window's last start
};

}  // namespace kestro::emus
