// SPDX-License-Identifier: GPL-3.0-or-later
// The ROM information window's commands: open, close, save, revert and the
// field rules.
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "base/Paths.h"
#include "help/frmHelp.h"
#include "platform/Drops.h"
#include "platform/Text.h"
#include "rom/Identification.h"
#include "rom/MakerTable.h"
#include "rominfo/RomInfoTexts.h"
#include "rominfo/RomajiReading.h"
#include "rominfo/frmJapaneseIme.h"
#include "rominfo/frmRomInfo.h"

namespace kestro::rominfo {

using base::MessageResult;
using platform::Q;
using platform::U8;

namespace {

// Upper-cases a code box in place without moving its caret. The boxes hold
// single-byte fields, so the text goes through bytes, not UTF-8.
void UpperCaseKeepingCaret(QLineEdit* box) {
    const QString upper = platform::FieldToDisplay(rom::UpperCaseCode(platform::DisplayToField(box->text())));
    if (upper == box->text()) return;
    const int caret = box->cursorPosition();
    box->setText(upper);
    box->setCursorPosition(caret);
}

}  // namespace

std::string frmRomInfo::Reading() const {
    return RomajiReading(m_title);
}

void frmRomInfo::mnuFileOpen_Click() {
    const QString path =
        m_services.files.OpenFile(this, QStringLiteral("Open ROM"), Q(kRomFilter), Q(m_baseDirectory), QString());
    if (path.isEmpty()) return;
    m_lastDialogFileName = path;  // the shared dialog keeps the name it returned
    OpenRom(path);
}

void frmRomInfo::dragEnterEvent(QDragEnterEvent* event) {
    if (m_image && !platform::DroppedPatchFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    platform::AcceptRomDrag(event);
}

void frmRomInfo::dropEvent(QDropEvent* event) {
    if (const QString patch = platform::DroppedPatchFile(event->mimeData()); m_image && !patch.isEmpty()) {
        event->acceptProposedAction();
        ApplyPatchFile(patch);
        return;
    }
    const QString path = platform::TakeRomDrop(event);
    if (!path.isEmpty()) OpenRom(path);
}

void frmRomInfo::OpenRom(const QString& path, bool nameMissingFile) {
    rom::RomOpenResult opened = rom::OpenRom(U8(path));
    if (nameMissingFile && opened.check == rom::RomCheck::Missing) {
        opened.message.text = base::JoinCr({opened.message.text, U8(path)});
    }
    if (!opened.Accepted()) {
        m_services.messages.Show(this, opened.message);
        m_recent.Remove(U8(path));
        RefreshRecentMenu();
        Reset();
        return;
    }
    ShowOpened(std::move(opened.image), path, true);
}

void frmRomInfo::ShowOpened(rom::RomImage image, const QString& path, bool remember) {
    m_image = std::move(image);
    m_forcedPatch = false;
    SetFieldsEnabled(true);
    ShowHeader(m_image->Header());
    lblMbit->setText(Q(rom::SizeText(m_image->size)));
    txtManufacturer->setCursorPosition(static_cast<int>(txtManufacturer->text().size()));
    txtRomId->setCursorPosition(static_cast<int>(txtRomId->text().size()));
    mnuFileClose->setEnabled(true);
    mnuFileSave->setEnabled(true);
    mnuFileSaveAs->setEnabled(true);
    mnuFileApplyPatch->setEnabled(true);
    lblFileName->setText(path);
    if (remember) {
        m_recent.Add(U8(path.trimmed()));
        RefreshRecentMenu();
    }
    if (m_autoDetectRom) Identify();
}

void frmRomInfo::ShowHeader(const rom::RomHeader& header) {
    SetTitle(header.title);
    txtManufacturer->setText(platform::FieldToDisplay(header.makerCode));
    txtRomId->setText(platform::FieldToDisplay(header.gameCode));
    cmbVersion->setCurrentIndex(header.version);
}

void frmRomInfo::SetTitle(const std::string& title) {
    m_title = title;
    lblTitle->setText(platform::TitleToDisplay(title));
    if (title.empty() && !m_image) return;
    const std::string reading = Reading();
    lblTitle->setToolTip(reading != title ? platform::ReadingToDisplay(reading) : lblTitle->text());
    setWindowTitle(Q(RomInfoCaption(RomajiReadingUtf8(title))));
}

void frmRomInfo::Identify() {
    lblIdentify->setText(Q(rom::kIdentifyingText));
    cmdRevert->setEnabled(false);
    // Let the label be drawn before the checksums keep the window busy.
    lblIdentify->repaint();
    QCoreApplication::processEvents();
    const rom::Identification id = rom::IdentifyRom(m_image->data);
    lblChecksum->setText(Q(id.checksumA));
    lblIdentify->setText(Q(id.label));
    cmdRevert->setEnabled(id.revertAvailable);
}

rom::RomHeader frmRomInfo::DisplayedHeader() const {
    return {m_title, platform::DisplayToField(txtManufacturer->text()), platform::DisplayToField(txtRomId->text()),
            static_cast<std::uint8_t>(std::max(0, cmbVersion->currentIndex()))};
}

bool frmRomInfo::WriteTo(const std::string& path) {
    if (RefuseForcedName(path)) return false;
    rom::ApplyHeader(*m_image, DisplayedHeader());
    const base::FileWriteResult written = rom::WriteImageTo(*m_image, path);
    if (!written) {
        m_services.messages.Show(this, rom::SaveFailedMessage(path, written.reason));
        return false;
    }
    m_image->path = path;
    return true;
}

bool frmRomInfo::HasUnsavedEdits() const {
    if (!m_image) return false;
    const rom::RomHeader shown = DisplayedHeader();
    const rom::RomHeader held = m_image->Header();
    return rom::PadField(shown.title, rom::kTitleLength) != rom::PadField(held.title, rom::kTitleLength) ||
           rom::PadField(shown.makerCode, rom::kMakerLength) != rom::PadField(held.makerCode, rom::kMakerLength) ||
           rom::PadField(shown.gameCode, rom::kGameCodeLength) != rom::PadField(held.gameCode, rom::kGameCodeLength) ||
           shown.version != held.version;
}

void frmRomInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && HasUnsavedEdits() &&
        m_services.messages.Show(this, CloseRomQuestion()) != MessageResult::Yes) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmRomInfo::mnuFileClose_Click() {
    if (m_services.messages.Show(this, CloseRomQuestion()) == MessageResult::Yes) Reset();
}

void frmRomInfo::mnuFileSave_Click() {
    if (m_services.messages.Show(this, SaveRomQuestion(RomajiReadingUtf8(m_title))) != MessageResult::Yes) return;
    if (WriteTo(U8(lblFileName->text()))) setWindowTitle(Q(RomInfoCaption(RomajiReadingUtf8(m_title))));
}

void frmRomInfo::mnuFileSaveAs_Click() {
    const QString chosen = m_services.files.SaveFile(this, QStringLiteral("Save ROM As"), Q(kRomFilter),
                                                     Q(m_baseDirectory), m_lastDialogFileName);
    if (chosen.isEmpty()) return;
    const QString path = Q(base::WithFilterExtension(U8(chosen), kRomFilter));
    m_lastDialogFileName = path;
    if (QFileInfo::exists(path) &&
        m_services.messages.Show(this, ReplaceFileQuestion(U8(path))) != MessageResult::Yes) {
        return;
    }
    const QString previous = lblFileName->text();
    lblFileName->setText(path);
    if (!WriteTo(U8(path))) {
        lblFileName->setText(previous);  // the ROM still belongs to the file it came from
        return;
    }
    m_recent.Add(U8(path));
    RefreshRecentMenu();
    setWindowTitle(Q(RomInfoCaption(RomajiReadingUtf8(m_title))));
}

void frmRomInfo::mnuFileRecent_Click(int index) {
    if (auto path = m_recent.Select(index)) {
        OpenRom(Q(*path));
    } else {
        RefreshRecentMenu();
    }
}

void frmRomInfo::mnuHelpHelp_Click() {
    help::ShowHelpTopic(m_services, this, QStringLiteral("ROM Info"), txtHelp->toPlainText());
}

void frmRomInfo::mnuHelpIdCodes_Click() {
    help::ShowHelpTopic(m_services, this, QStringLiteral("ROM ID Codes"), QString());
}

void frmRomInfo::txtManufacturer_Change() {
    UpperCaseKeepingCaret(txtManufacturer);
    const auto index = rom::FindMaker(platform::DisplayToField(txtManufacturer->text()));
    cmbManufacturer->setCurrentIndex(index.value_or(-1));
}

void frmRomInfo::cmbManufacturer_Click() {
    const std::string code = rom::MakerCode(cmbManufacturer->currentIndex());
    if (platform::DisplayToField(txtManufacturer->text()) != code) txtManufacturer->setText(Q(code));
}

void frmRomInfo::txtRomId_Change() {
    UpperCaseKeepingCaret(txtRomId);
}

void frmRomInfo::cmdRevert_Click() {
    if (auto header = rom::RevertHeader(U8(lblChecksum->text()))) ShowHeader(*header);
}

void frmRomInfo::cmdJapaneseIme_Click() {
    frmJapaneseIme editor(m_services, m_title, this);
    if (editor.exec() == QDialog::Accepted) SetTitle(editor.Title());
}

}  // namespace kestro::rominfo
