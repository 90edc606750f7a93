// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The collection database window: lists a directory's ROMs, identifies them
// with progress and cancel, shows and saves the reports, and renames and
// moves the files. The work itself is the core's Collection; the window
// turns its steps into control states.

#include <QDialog>
#include <memory>
#include <string>

#include "platform/Services.h"
#include "romdb/Collection.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;

namespace kestro::platform {
class PercentBar;
}

namespace kestro::romdb {

class frmVbRomDatabase final : public QDialog, private CollectionHost {
    Q_OBJECT
public:
    /// files is the file system the run works on (the disk unless a test says otherwise).
    frmVbRomDatabase(platform::Services& services, QWidget* parent = nullptr, FileOps* files = nullptr);
    ~frmVbRomDatabase() override;

    const Collection& collection() const { return *m_collection; }
    /// The cancel flag as the window's tag shows it: "Quit" while a cancel is pending.
    QString tag() const;

    /// While a run is going the window cannot be closed; Cancel Identify stops it.
    void reject() override;

protected:
    /// A dropped directory is listed as if chosen with "ROM Directory...".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();
    void Form_Load();
    void GetRegistry();
    void SaveRegistry();
    void SetReportButtons(bool enabled);
    CollectionOptions Options() const;
    /// Reads a DAT file as the catalogue to offer; a message says why not.
    bool LoadDat(const std::string& path);
    /// Identifies against the DAT loaded (true) or the built-in table, and lists again.
    void UseCatalogue(bool dat);

    // Handlers.
    void cmdIdentifyRoms_Click();
    void cmdCancelIdentify_Click();
    void cmdSelectDir_Click();
    void cmdRefresh_Click();
    void lstFileIdentify_DblClick();
    void chkDetailedList_Click();
    void chkRenameRoms_Click();
    void chkMoveRoms_Click();
    void chkChangeLog_Click();
    void cmdVboyHave_Click();
    void cmdVboyMiss_Click();
    void cmdVBoyDupes_Click();
    void cmdVBoyLog_Click();
    void cmdSaveVboy_Click();
    void optBuiltIn_Click();
    void optDatFile_Click();
    void cmdChooseDat_Click();
    void mnuHelpHelp_Click();
    void mnuHelpCodes_Click();
    void ShowSummary(const base::Message& summary, const char* topic, const std::string& text);

    // The run's host.
    base::MessageResult ShowMessage(const base::Message& message) override;
    void ShowProgress(int percent) override;
    void LetEventsRun() override;
    void ListingChanged() override;
    void RowChanged(std::size_t row) override;
    void RunStepReached(RunStep step) override;

    platform::Services& m_services;
    std::unique_ptr<FileOps> m_disk;
    FileOps& m_files;
    std::unique_ptr<Collection> m_collection;
    std::string m_baseDirectory;
    int m_detailedList = 0;
    int m_renameRoms = 0;
    int m_moveRoms = 0;
    int m_changeLog = 0;
    std::string m_datFile;    ///< the DAT in use, or empty for the built-in table
    std::string m_datLoaded;  ///< the DAT file m_datCatalogue was read from
    std::shared_ptr<const Catalogue> m_datCatalogue;

    QLabel* lblRomDir = nullptr;
    QListWidget* lstFileIdentify = nullptr;
    platform::PercentBar* picPercent = nullptr;
    QLabel* lblPercent = nullptr;
    QPushButton* cmdIdentifyRoms = nullptr;
    QPushButton* cmdCancelIdentify = nullptr;
    QPushButton* cmdSelectDir = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QCheckBox* chkDetailedList = nullptr;
    QCheckBox* chkRenameRoms = nullptr;
    QCheckBox* chkMoveRoms = nullptr;
    QCheckBox* chkChangeLog = nullptr;
    QPushButton* cmdVboyHave = nullptr;
    QPushButton* cmdVboyMiss = nullptr;
    QPushButton* cmdVBoyDupes = nullptr;
    QPushButton* cmdVBoyLog = nullptr;
    QPushButton* cmdSaveVboy = nullptr;
    QPlainTextEdit* txtHelp = nullptr;
    QGroupBox* fraCatalogue = nullptr;
    QRadioButton* optBuiltIn = nullptr;
    QRadioButton* optDatFile = nullptr;
    QLabel* lblDatFile = nullptr;
    QPushButton* cmdChooseDat = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileBack = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpCodes = nullptr;
};

}  // namespace kestro::romdb
