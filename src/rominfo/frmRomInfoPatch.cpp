// SPDX-License-Identifier: GPL-3.0-or-later
// The ROM information window's patches: Apply Patch (menu or drop), the base
// check with its questions, and the search of the collection for the base.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <memory>

#include "base/FileRead.h"
#include "base/SettingsKeys.h"
#include "patch/BaseCheck.h"
#include "platform/Text.h"
#include "romdb/DatFile.h"
#include "romdb/frmSelectDir.h"
#include "rominfo/frmRomInfo.h"

namespace kestro::rominfo {

using base::MessageResult;
using platform::Q;
using platform::U8;

namespace {

constexpr std::string_view kPatchFilter = "Patch Files (*.ips;*.bps;*.ups)|*.ips;*.bps;*.ups|All Files (*.*)|*.*";

base::Message Note(const std::string& text, base::MessageIcon icon = base::MessageIcon::Information) {
    return {"Apply Patch", text, icon, base::MessageButtons::Ok, MessageResult::Ok};
}

// The DAT the collection database identifies against, when one is set and
// can be read; the built-in table otherwise.
std::unique_ptr<romdb::Catalogue> CollectionDat(base::SettingsStore& settings) {
    const std::string path = base::ReadText(settings, base::keys::CollectionDatFile);
    if (path.empty()) return nullptr;
    romdb::DatRead read = romdb::ReadDatFile(path);
    return read ? std::make_unique<romdb::Catalogue>(std::move(*read.dat)) : nullptr;
}

}  // namespace

void frmRomInfo::mnuFileApplyPatch_Click() {
    const QString path =
        m_services.files.OpenFile(this, QStringLiteral("Apply Patch"), Q(kPatchFilter), Q(m_baseDirectory), QString());
    if (!path.isEmpty()) ApplyPatchFile(path);
}

void frmRomInfo::ApplyPatchFile(const QString& path) {
    if (!m_image) return;
    std::vector<std::uint8_t> bytes;
    if (const auto read = base::ReadRegularFile(U8(path), bytes, patch::kLargestTarget); !read) {
        m_services.messages.Show(this, Note(base::JoinCr({U8(path), read.reason}), base::MessageIcon::Exclamation));
        return;
    }
    const auto dat = CollectionDat(m_services.settings);
    patch::CheckedApply outcome = patch::ApplyChecked(bytes, m_image->data, false, dat.get());
    if (outcome.WrongBase()) {
        const auto ask = [this](const base::Message& m) { return m_services.messages.Show(this, m); };
        if (ask(patch::FindBaseQuestion(outcome, m_baseDirectory)) == MessageResult::Yes &&
            OpenFoundBase(outcome.wanted.size, outcome.wanted.crc)) {
            outcome = patch::ApplyChecked(bytes, m_image->data, false, dat.get());
        } else if (ask(patch::ApplyAnywayQuestion(outcome)) == MessageResult::Yes) {
            outcome = patch::ApplyChecked(bytes, m_image->data, true, dat.get());
        } else {
            return;
        }
    }
    if (!outcome.Applied()) {
        m_services.messages.Show(this, patch::RefusedMessage(outcome));
        return;
    }
    if (const rom::RomCheck check = rom::CheckRomData(outcome.applied.target); check != rom::RomCheck::Accepted) {
        m_services.messages.Show(this, rom::RefusalMessage(check));
        return;
    }
    ShowPatched(outcome.applied.target, path);
    m_forcedPatch = m_forcedPatch || !outcome.applied.warnings.empty();
    std::string notes;
    for (const std::string& note : patch::ResultNotes(outcome)) notes += (notes.empty() ? "" : "\r") + note;
    m_services.messages.Show(this, Note(notes));
}

void frmRomInfo::ShowPatched(const std::vector<std::uint8_t>& data, const QString& patchPath) {
    m_image->data = data;
    m_image->size = static_cast<std::int32_t>(data.size());
    ShowHeader(m_image->Header());
    lblMbit->setText(Q(rom::SizeText(m_image->size)));
    if (m_autoDetectRom) Identify();
    // Save As offers the ROM's name with the patch's added; Save writes the ROM's own file.
    m_lastDialogFileName = Q(patch::PatchedFileName(U8(lblFileName->text()), U8(patchPath)));
}

bool frmRomInfo::RefuseForcedName(const std::string& path) {
    if (!m_forcedPatch) return false;
    const std::string problem = patch::ForcedNameProblem(path, CollectionDat(m_services.settings).get());
    if (problem.empty()) return false;
    m_services.messages.Show(this, Note(problem, base::MessageIcon::Exclamation));
    return true;
}

bool frmRomInfo::OpenFoundBase(std::uint64_t size, std::uint32_t crc) {
    romdb::DiskFileOps disk;
    std::string directory = m_baseDirectory;
    auto found = patch::FindBase(disk, directory, size, crc);
    while (!found) {
        patch::CheckedApply wanted;
        wanted.wanted = {size, crc, {}};
        if (m_services.messages.Show(this, patch::BaseNotFoundQuestion(wanted, directory)) != MessageResult::Yes) {
            return false;
        }
        const QString chosen = romdb::ChooseDirectory(m_services, this, Q(directory));
        if (chosen.isEmpty()) return false;
        directory = U8(chosen);
        found = patch::FindBase(disk, directory, size, crc);
    }
    if (found->entry.empty()) {
        OpenRom(Q(found->path));
        return m_image && m_image->path == found->path;
    }
    // A zipped ROM is opened from its bytes and saved beside its archive, never into it.
    if (const rom::RomCheck check = rom::CheckRomData(found->data); check != rom::RomCheck::Accepted) {
        m_services.messages.Show(this, rom::RefusalMessage(check));
        return false;
    }
    const QString path = QFileInfo(Q(found->path)).dir().filePath(QFileInfo(Q(found->entry)).fileName());
    const auto size32 = static_cast<std::int32_t>(found->data.size());
    ShowOpened(rom::RomImage{U8(path), size32, std::move(found->data)}, path, false);
    return true;
}

}  // namespace kestro::rominfo
