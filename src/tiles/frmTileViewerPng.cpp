// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's way out to an indexed PNG and back in: exporting the
// view's tiles, importing an edited picture, and saving the new ROM.
#include <QAction>
#include <QLabel>

#include "base/AtomicFile.h"
#include "base/Paths.h"
#include "platform/Text.h"
#include "tiles/TileTexts.h"
#include "tiles/frmTileViewer.h"

namespace kestro::tiles {

using platform::Q;
using platform::U8;

void frmTileViewer::mnuFileSavePng_Click() {
    const TileBlock block = WholeRowsOf(CurrentView(), kViewRows, static_cast<std::int64_t>(m_rom->size()));
    if (block.rows == 0) {
        m_services.messages.Show(this, NoWholeRowMessage());
        return;
    }
    const QString path = ChooseSavePath(kPngFilter, Q(m_baseDirectory), QString());
    if (path.isEmpty()) return;
    const TilePlace place{base::FileNameOf(U8(lblFileName->text())), block.offset, block.width};
    if (auto written = WriteTilePng(U8(path), ReadTiles(*m_rom, block), m_palette, place); !written) {
        m_services.messages.Show(this, WriteFailedMessage(written.reason));
        return;
    }
    m_services.messages.Show(this, SavedMessage(U8(path)));
}

void frmTileViewer::mnuFileImportPng_Click() {
    const QString path = m_services.files.OpenFile(this, QStringLiteral("Import Tiles from PNG"), Q(kPngFilter),
                                                   Q(m_baseDirectory), QString());
    if (path.isEmpty()) return;
    auto picture = ReadPictureFile(U8(path));
    std::variant<TileImport, ImportRefusal> imported = ImportRefusal{};
    if (auto* bytes = std::get_if<std::vector<std::uint8_t>>(&picture)) {
        const TileView view = CurrentView();
        imported = ImportTiles(*m_rom, *bytes, m_palette, {view.offset, view.width}, false);
        const auto* refusal = std::get_if<ImportRefusal>(&imported);
        if (refusal != nullptr && refusal->colourOutsidePalette) {
            if (m_services.messages.Show(this, NearestQuestion(refusal->reason)) != base::MessageResult::Yes) return;
            imported = ImportTiles(*m_rom, *bytes, m_palette, {view.offset, view.width}, true);
        }
    } else {
        imported = std::get<ImportRefusal>(picture);
    }
    if (const auto* refusal = std::get_if<ImportRefusal>(&imported)) {
        m_services.messages.Show(this, ImportRefusedMessage(U8(path), refusal->reason));
        return;
    }
    ShowImport(std::get<TileImport>(imported));
}

void frmTileViewer::ShowImport(TileImport& imported) {
    const auto original = m_rom;
    m_rom = std::make_shared<const std::vector<std::uint8_t>>(std::move(imported.rom));
    // The view moves to where the tiles went, and marks them until the next redraw.
    lblOffset->setText(QString::number(imported.block.offset));
    lblWidth->setText(QString::number(imported.block.width));
    RefreshCachedWidth();
    if (!RedrawTiles()) return;
    MarkTiles(m_image, imported.changes.tiles, kChangedTileMark);
    ShowImage();
    const bool changed = !imported.changes.tiles.empty();
    m_services.messages.Show(this, ImportedMessage(ChangesText(imported.changes), changed));
    if (!changed || SaveImportedRom()) return;
    m_rom = original;
    RedrawTiles();
}

bool frmTileViewer::SaveImportedRom() {
    const std::string original = U8(lblFileName->text());
    const QString path =
        ChooseSavePath(kRomFilter, Q(base::DirectoryOf(original)), Q(EditedRomName(base::FileNameOf(original))));
    if (path.isEmpty()) return false;
    if (auto written = base::WriteFileAtomically(U8(path), *m_rom); !written) {
        m_services.messages.Show(this, WriteFailedMessage(written.reason));
        return false;
    }
    // From here on the viewer works on the new file, as after opening it.
    if (LoadRom(path)) lblFileName->setText(path);
    m_services.messages.Show(this, RomSavedMessage(U8(path)));
    return true;
}

}  // namespace kestro::tiles
