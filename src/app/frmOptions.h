// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options window: every setting of the main window in one place. Nothing
// is kept until Apply, which checks the chosen directories first.

#include <QDialog>
#include <array>

#include "app/AppSettings.h"
#include "platform/Services.h"

class QCheckBox;
class QGroupBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace kestro::platform {
class PathLabel;
}

namespace kestro::app {

class frmOptions final : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(platform::Services& services, QWidget* parent = nullptr);

private:
    /// One program's row: "Enabled", its caption, its directory, "Change...".
    struct ProgramRow {
        QCheckBox* chkEnabled = nullptr;  ///< chkRboyEnabled ...
        QLabel* lblDir1 = nullptr;        ///< lblRboyDir1 ...
        platform::PathLabel* lblDir = nullptr;
        QPushButton* cmdDir = nullptr;
    };

    void BuildControls();
    QGroupBox* BuildGeneralFrame();
    QGroupBox* BuildProgramFrame(const char* name, const char* caption, int first);
    void AddMednafenRow(QGroupBox* frame);
    QGroupBox* BuildRomFrame();
    void ConnectHandlers();
    void Form_Load();
    void GetRegistry();
    void SaveRegistry();
    void SetControls();
    void ReadControls();
    bool ProgramsFound();
    void ShowMruCount();

    void chkIntro_Click();
    void chkMruItems_Click();
    void vscMruItems_Change();
    void cmdMruItems_Click();
    void cmdBaseDir_Click();
    void chkEnabled_Click(int program);
    void cmdDir_Click(int program);
    void chkMednafenEnabled_Click();
    void cmdMednafenProgram_Click();
    void chkRenameRoms_Click();
    void cmdApply_Click();
    void cmdDefault_Click();
    void cmdCancel_Click();

    platform::Services& m_services;
    AppSettings m_settings;

    QCheckBox* chkIntro = nullptr;
    std::array<QRadioButton*, 2> optThemeCol{};
    QLabel* lblBaseDir1 = nullptr;
    platform::PathLabel* lblBaseDir = nullptr;
    QPushButton* cmdBaseDir = nullptr;
    QCheckBox* chkMruItems = nullptr;
    QScrollBar* vscMruItems = nullptr;
    QLabel* lblMruItems = nullptr;
    QLabel* lblMruItems1 = nullptr;
    QPushButton* cmdMruItems = nullptr;
    std::array<ProgramRow, base::kProgramCount> m_rows;
    /// Mednafen's row: a program rather than a directory, empty to look on PATH.
    QCheckBox* chkMednafenEnabled = nullptr;
    QLabel* lblMednafenProgram1 = nullptr;
    QLineEdit* txtMednafenProgram = nullptr;
    QPushButton* cmdMednafenProgram = nullptr;
    QCheckBox* chkDetectRom = nullptr;
    QCheckBox* chkAutoUpdate = nullptr;
    QCheckBox* chkDetailedList = nullptr;
    QCheckBox* chkRenameRoms = nullptr;
    QCheckBox* chkMoveRoms = nullptr;
    QCheckBox* chkChangeLog = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdCancel = nullptr;
};

}  // namespace kestro::app
