// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's redraw, navigation, goto, auto-update and palette.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <cmath>

#include "base/NumericText.h"
#include "platform/DrawingSurface.h"
#include "platform/Text.h"
#include "rominfo/RomajiReading.h"
#include "tiles/TileTexts.h"
#include "tiles/frmGoto.h"
#include "tiles/frmPalette.h"
#include "tiles/frmTileViewer.h"

namespace kestro::tiles {

using platform::Q;
using platform::U8;

namespace {
double ValueOf(const QLabel* label) {
    return base::NumericValue(U8(label->text()));
}
}  // namespace

// Lets the event loop run after every tile, shows each tile row once it is
// complete, and stops the redraw when the window closed, another ROM came in
// or another redraw began.
class frmTileViewer::RedrawPacer final : public RenderPacer {
public:
    RedrawPacer(frmTileViewer& window, int generation, int columns)
        : m_window(window), m_generation(generation), m_columns(columns) {}

    bool TileDrawn(int, int column) override {
        if (column + 1 == m_columns) m_window.picTileViewer->update();
        QCoreApplication::processEvents();
        return m_window.m_redrawGeneration == m_generation;
    }

private:
    frmTileViewer& m_window;
    int m_generation;
    int m_columns;
};

TileView frmTileViewer::CurrentView() const {
    return {static_cast<std::int64_t>(WholeTiles(ValueOf(lblOffset))), m_width};
}

bool frmTileViewer::RedrawTiles() {
    if (!m_rom) return false;
    const double start = m_services.clock.Seconds();
    // Disabling the focused button moves the focus on, to the picture, where
    // the next key would show its code; it goes back when the buttons return.
    const QPointer<QWidget> hadFocus = focusWidget();
    SetRedrawControlsEnabled(false);
    if (ValueOf(lblFileLen) < ValueOf(lblOffset)) lblOffset->setText(lblFileLen->text());
    RefreshCachedWidth();
    const TileView view = CurrentView();
    setWindowTitle(Q(kRedrawingCaption));

    const auto rom = m_rom;  // the bytes stay alive even if another ROM is opened meanwhile
    const int generation = ++m_redrawGeneration;
    m_redrawing = true;
    RedrawPacer pacer(*this, generation, VisibleColumns(view.width));
    const bool finished = RenderView(*rom, view, m_palette, kSurfaceColour, m_image, &pacer);
    if (!finished) return false;  // whoever stopped it has set the window as it must be
    m_redrawing = false;
    ShowImage();
    setWindowTitle(TitleCaption());
    SetRedrawControlsEnabled(true);
    if (hadFocus && hadFocus->isEnabled()) hadFocus->setFocus();
    const double elapsed = ElapsedSeconds(start, m_services.clock.Seconds());
    cmdUpdate->setText(Q(UpdateCaption(elapsed)));
    return true;
}

void frmTileViewer::StopRedraw() {
    ++m_redrawGeneration;
    if (!m_redrawing) return;
    m_redrawing = false;
    cmdChangePalette->setEnabled(true);
    setWindowTitle(TitleCaption());
}

QString frmTileViewer::TitleCaption() const {
    return Q(RomCaption(rominfo::RomajiReadingUtf8(m_title)));
}

void frmTileViewer::done(int result) {
    StopRedraw();
    QDialog::done(result);
}

void frmTileViewer::SetNavigationEnabled(bool enabled) {
    for (QPushButton* b : cmdNavigation) b->setEnabled(enabled);
}

void frmTileViewer::SetRedrawControlsEnabled(bool enabled) {
    SetNavigationEnabled(enabled);
    cmdUpdate->setEnabled(enabled && !chkAutoUpdate->isChecked());
    chkAutoUpdate->setEnabled(enabled);
    cmdChangePalette->setEnabled(enabled);
}

void frmTileViewer::ShowImage() {
    picTileViewer->SetImage(QImage(reinterpret_cast<const uchar*>(m_image.pixels.data()), m_image.width, m_image.height,
                                   m_image.width * 4, QImage::Format_RGB32));
}

void frmTileViewer::RefreshCachedWidth() {
    m_width =
        static_cast<std::int16_t>(std::clamp(WholeTiles(ValueOf(lblWidth)), double{INT16_MIN}, double{INT16_MAX}));
}

void frmTileViewer::cmdUpdate_Click() {
    RedrawTiles();
}

void frmTileViewer::cmdNavigation_Click(ViewStep step) {
    const ViewPlace next = Step(step, {ValueOf(lblOffset), ValueOf(lblWidth)}, ValueOf(lblFileLen));
    if (ChangesWidth(step)) {
        lblWidth->setText(Q(base::DecimalText(next.width)));
        RefreshCachedWidth();
    } else {
        lblOffset->setText(Q(base::DecimalText(next.offset)));
    }
    if (chkAutoUpdate->isChecked()) RedrawTiles();
}

void frmTileViewer::cmdGoto_Click(GotoWhat what) {
    lblGotoWhat->setText(what == GotoWhat::Width ? QStringLiteral("Width") : QStringLiteral("Offset"));
    QLabel* target = what == GotoWhat::Width ? lblWidth : lblOffset;
    frmGoto dialog(what, target->text(), ValueOf(lblFileLen), this);
    dialog.exec();
    if (dialog.result()) {
        target->setText(*dialog.result());
        if (what == GotoWhat::Width) RefreshCachedWidth();
    }
    if (chkAutoUpdate->isChecked()) RedrawTiles();
}

void frmTileViewer::chkAutoUpdate_Click() {
    const bool checked = chkAutoUpdate->isChecked();
    if (!lblFileName->text().isEmpty()) {
        cmdUpdate->setEnabled(!checked);
        m_autoUpdate = checked;
        SaveRegistry();
    }
    if (checked && !lblFileLen->text().isEmpty()) RedrawTiles();
}

void frmTileViewer::cmdChangePalette_Click() {
    frmPalette palette(m_services, this);
    palette.exec();
    GetRegistry();
    ShowSwatchColours();
    if (chkAutoUpdate->isChecked() && !lblFileLen->text().isEmpty()) RedrawTiles();
}

}  // namespace kestro::tiles
