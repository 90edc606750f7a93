// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The ROM information window: shows one ROM's header, edits it, identifies
// the ROM and saves it.

#include <QDialog>
#include <array>
#include <optional>
#include <string>

#include "platform/Services.h"
#include "rom/RecentRomList.h"
#include "rom/RomImage.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace kestro::rominfo {

class frmRomInfo final : public QDialog {
    Q_OBJECT
public:
    explicit frmRomInfo(platform::Services& services, QWidget* parent = nullptr);
    ~frmRomInfo() override;

    /// Opens a ROM as the Open ROM command does after its dialog. A file named
    /// from outside the window (the command line) is named again when missing,
    /// as the user may not know which name reached the program.
    void OpenRom(const QString& path, bool nameMissingFile = false);
    /// Applies a patch file to the ROM in memory, as Apply Patch does after its dialog.
    void ApplyPatchFile(const QString& path);
    /// The title bytes the window shows.
    const std::string& TitleBytes() const { return m_title; }

protected:
    /// A dropped ROM file opens as if chosen with Open; a dropped patch is
    /// applied to the open ROM as if chosen with Apply Patch.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    /// Esc closes the window as "Back to main menu" does, but asks first, as
    /// Close ROM does, when the fields hold changes not yet saved.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();
    void Form_Load();
    void GetRegistry();
    void RefreshRecentMenu();
    void Reset();
    void SetFieldsEnabled(bool enabled);
    void ShowHeader(const rom::RomHeader& header);
    void SetTitle(const std::string& title);
    void Identify();
    rom::RomHeader DisplayedHeader() const;
    /// The fields differ from the header the ROM holds (as it would be written).
    bool HasUnsavedEdits() const;
    std::string Reading() const;
    bool WriteTo(const std::string& path);
    void ShowOpened(rom::RomImage image, const QString& path, bool remember);
    void ShowPatched(const std::vector<std::uint8_t>& data, const QString& patchPath);
    bool OpenFoundBase(std::uint64_t size, std::uint32_t crc);
    /// True, after saying why, when a forced patch's result would be saved under a dump's name.
    bool RefuseForcedName(const std::string& path);

    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileRecent_Click(int index);
    void mnuFileApplyPatch_Click();
    void mnuHelpHelp_Click();
    void mnuHelpIdCodes_Click();
    void txtManufacturer_Change();
    void cmbManufacturer_Click();
    void txtRomId_Change();
    void cmdRevert_Click();
    void cmdJapaneseIme_Click();

    platform::Services& m_services;
    std::optional<rom::RomImage> m_image;
    std::string m_title;
    bool m_forcedPatch = false;  ///< a patch was applied to a dump it was not for
    std::string m_baseDirectory;
    bool m_autoDetectRom = false;
    rom::RecentRomList m_recent;
    QString m_lastDialogFileName;

    QGroupBox* fraTitle = nullptr;
    QLabel* lblTitle = nullptr;
    QPushButton* cmdJapaneseIme = nullptr;
    QGroupBox* fraManufacturer = nullptr;
    QLineEdit* txtManufacturer = nullptr;
    QComboBox* cmbManufacturer = nullptr;
    QGroupBox* fraRomId = nullptr;
    QLineEdit* txtRomId = nullptr;
    QGroupBox* fraVersion = nullptr;
    QComboBox* cmbVersion = nullptr;
    QGroupBox* fraMbit = nullptr;
    QLabel* lblMbit = nullptr;
    QGroupBox* fraIdentify = nullptr;
    QLabel* lblIdentify = nullptr;
    QPushButton* cmdRevert = nullptr;
    QLabel* lblChecksum = nullptr;
    QLabel* lblFileName = nullptr;
    QLabel* imgVBKart = nullptr;
    QPlainTextEdit* txtHelp = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileClose = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileApplyPatch = nullptr;
    QMenu* mnuFileRecent = nullptr;
    QAction* mnuFileRecentSep = nullptr;
    std::array<QAction*, rom::kRecentRomSlots> mnuFileRecentItem{};
    QAction* mnuFileBack = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpIdCodes = nullptr;
};

}  // namespace kestro::rominfo
