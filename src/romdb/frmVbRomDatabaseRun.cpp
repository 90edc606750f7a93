// SPDX-License-Identifier: GPL-3.0-or-later
// The collection window's run, its report buttons and the host side of the
// core's collection: control states at each step, progress, and events let
// run so that Cancel Identify stays usable.
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "base/Paths.h"
#include "help/frmHelp.h"
#include "platform/Drops.h"
#include "platform/PercentBar.h"
#include "platform/Text.h"
#include "romdb/DetailReport.h"
#include "romdb/SummaryWording.h"
#include "romdb/frmSelectDir.h"
#include "romdb/frmVbRomDatabase.h"

namespace kestro::romdb {

using platform::Q;

void frmVbRomDatabase::cmdIdentifyRoms_Click() {
    m_collection->Run(Options());
}

void frmVbRomDatabase::cmdCancelIdentify_Click() {
    if (ShowMessage(CancelQuestion()) != base::MessageResult::Yes) return;
    m_collection->RequestCancel();
    cmdIdentifyRoms->setEnabled(true);
    cmdCancelIdentify->setEnabled(false);
}

void frmVbRomDatabase::cmdSelectDir_Click() {
    const QString chosen = ChooseDirectory(m_services, this);
    // Cancel returns the listing to the base directory the window opened with.
    m_collection->SetListingDirectory(chosen.isEmpty() ? m_baseDirectory : platform::U8(chosen));
}

void frmVbRomDatabase::dragEnterEvent(QDragEnterEvent* event) {
    // A run in progress keeps its directory, as its disabled buttons do.
    if (!m_collection->Running() && !platform::DroppedDirectory(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void frmVbRomDatabase::dropEvent(QDropEvent* event) {
    const QString directory = platform::DroppedDirectory(event->mimeData());
    if (m_collection->Running() || directory.isEmpty()) return;
    event->acceptProposedAction();
    m_collection->SetListingDirectory(platform::U8(directory));
}

void frmVbRomDatabase::cmdRefresh_Click() {
    m_collection->Refresh();
}

void frmVbRomDatabase::lstFileIdentify_DblClick() {
    const int row = lstFileIdentify->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= m_collection->Rows().size()) return;
    const QFontMetrics metrics(lblRomDir->font());
    auto width = [&metrics](const std::string& text) { return metrics.horizontalAdvance(Q(text)); };
    ShowMessage(
        DetailReport(m_collection->Rows()[static_cast<std::size_t>(row)], m_collection->LongestNameLength(), width));
}

void frmVbRomDatabase::ShowSummary(const base::Message& summary, const char* topic, const std::string& text) {
    if (ShowMessage(summary) == base::MessageResult::Yes) {
        help::ShowHelpTopic(m_services, this, QString::fromLatin1(topic), Q(text));
    }
}

void frmVbRomDatabase::cmdVboyHave_Click() {
    const Reports& r = m_collection->reports();
    ShowSummary(HaveSummary(r.counters(), r.catalogue()), "ROM DB Have", r.have());
}

void frmVbRomDatabase::cmdVboyMiss_Click() {
    const Reports& r = m_collection->reports();
    ShowSummary(MissSummary(r.counters(), r.catalogue()), "ROM DB Miss", r.miss());
    // Against a DAT, what is missing can go into a file as a DAT of its own (or a CSV list).
    const Catalogue& catalogue = m_collection->catalogue();
    if (catalogue.IsBuiltIn() || ShowMessage(SaveMissingQuestion()) != base::MessageResult::Yes) return;
    constexpr std::string_view kMissingFilter = "DAT Files (*.dat)|*.dat|CSV Files (*.csv)|*.csv";
    const QString chosen =
        m_services.files.SaveFile(this, QStringLiteral("Save Missing Games"), Q(kMissingFilter),
                                  Q(m_collection->ListingDirectory()), QStringLiteral("Missing.dat"));
    if (chosen.isEmpty()) return;
    // The file service does not say which type was chosen: a bare name is saved as a DAT.
    const std::string target = base::WithFilterExtension(platform::U8(chosen), kMissingFilter);
    const bool csv = Q(target).endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
    const FileResult written = SaveMissingGames(m_files, target, catalogue, m_collection->ReportFiles(), csv);
    ShowMessage(written ? MissingSavedMessage(target) : MissingNotSavedMessage(target, written.reason));
}

void frmVbRomDatabase::cmdVBoyDupes_Click() {
    const Reports& r = m_collection->reports();
    ShowSummary(DupesSummary(r.counters(), r.catalogue()), "ROM DB Dupes", r.dupes());
}

void frmVbRomDatabase::cmdVBoyLog_Click() {
    help::ShowHelpTopic(m_services, this, QStringLiteral("ROM DB Log"), Q(m_collection->reports().log()));
}

void frmVbRomDatabase::cmdSaveVboy_Click() {
    ShowMessage(SaveListFiles(m_files, m_collection->ListingDirectory(), m_collection->reports(), m_changeLog == 1));
}

void frmVbRomDatabase::SetReportButtons(bool enabled) {
    for (QPushButton* b : {cmdVboyHave, cmdVboyMiss, cmdVBoyDupes, cmdSaveVboy}) b->setEnabled(enabled);
    cmdVBoyLog->setEnabled(enabled && m_changeLog == 1);
}

base::MessageResult frmVbRomDatabase::ShowMessage(const base::Message& message) {
    return m_services.messages.Show(this, message);
}

void frmVbRomDatabase::ShowProgress(int percent) {
    picPercent->SetPercent(percent);
}

void frmVbRomDatabase::LetEventsRun() {
    QCoreApplication::processEvents();
}

void frmVbRomDatabase::ListingChanged() {
    lstFileIdentify->clear();
    for (const FileRow& row : m_collection->Rows()) lstFileIdentify->addItem(Q(row.displayLine));
    lblRomDir->setText(Q(m_collection->DirectoryLabel()));
    // While a run lists its temporary and destination directories, it keeps
    // Identify ROMs off: a second run cannot start inside the first.
    if (!m_collection->Running()) cmdIdentifyRoms->setEnabled(!m_collection->Rows().empty());
    SetReportButtons(false);
}

void frmVbRomDatabase::RowChanged(std::size_t row) {
    if (QListWidgetItem* item = lstFileIdentify->item(static_cast<int>(row))) {
        item->setText(Q(m_collection->Rows()[row].displayLine));
    }
}

void frmVbRomDatabase::RunStepReached(RunStep step) {
    const bool renameChecked = m_renameRoms == 1;
    switch (step) {
        case RunStep::Started:
        case RunStep::ControlsRestored: {
            const bool idle = step == RunStep::ControlsRestored;
            cmdCancelIdentify->setEnabled(!idle);
            for (QWidget* w : std::initializer_list<QWidget*>{cmdIdentifyRoms, cmdSelectDir, cmdRefresh,
                                                              chkDetailedList, chkRenameRoms, chkChangeLog}) {
                w->setEnabled(idle);
            }
            if (renameChecked) chkMoveRoms->setEnabled(idle);
            mnuFileBack->setEnabled(idle);
            fraCatalogue->setEnabled(idle);
            if (!idle) {
                picPercent->setEnabled(true);
                lblPercent->setEnabled(true);
            }
            SetReportButtons(idle);
            break;
        }
        case RunStep::ReportsWithdrawn: SetReportButtons(false); break;
        case RunStep::ProgressHidden:
            picPercent->setEnabled(false);
            lblPercent->setEnabled(false);
            break;
    }
}

}  // namespace kestro::romdb
