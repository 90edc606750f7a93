// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's File and Edit commands: opening and closing ROMs, the
// recent files, copying and saving the view.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>

#include "base/Paths.h"
#include "platform/DrawingSurface.h"
#include "platform/Drops.h"
#include "platform/Swatch.h"
#include "platform/Text.h"
#include "rom/RomImage.h"
#include "tiles/ImageFile.h"
#include "tiles/TileTexts.h"
#include "tiles/frmTileViewer.h"

namespace kestro::tiles {

using platform::Q;
using platform::U8;

void frmTileViewer::mnuFileOpen_Click() {
    const QString path =
        m_services.files.OpenFile(this, QStringLiteral("Open"), Q(kRomFilter), Q(m_baseDirectory), QString());
    if (path.isEmpty()) return;
    AfterOpen(LoadRom(path), path);
}

void frmTileViewer::mnuFileRecent_Click(int index) {
    const auto path = m_recent.Select(index);
    if (!path) {
        RefreshRecentMenu();  // the file was gone and left the list
        return;
    }
    AfterOpen(LoadRom(Q(*path)), Q(*path));
}

void frmTileViewer::dragEnterEvent(QDragEnterEvent* event) {
    platform::AcceptRomDrag(event);
}

void frmTileViewer::dropEvent(QDropEvent* event) {
    const QString path = platform::TakeRomDrop(event);
    if (!path.isEmpty()) AfterOpen(LoadRom(path), path);
}

bool frmTileViewer::LoadRom(const QString& path) {
    rom::RomOpenResult opened = rom::OpenRom(U8(path));
    if (!opened.Accepted()) {
        m_services.messages.Show(this, opened.message);
        m_recent.Remove(U8(path));
        RefreshRecentMenu();
        return false;
    }
    StopRedraw();
    lblFileLen->setText(QString::number(opened.image.size));
    m_title = opened.image.Header().title;
    m_rom = std::make_shared<const std::vector<std::uint8_t>>(std::move(opened.image.data));
    m_recent.Add(U8(path));
    RefreshRecentMenu();
    lblRomLabel->setText(platform::TitleToDisplay(m_title));
    setWindowTitle(TitleCaption());
    return true;
}

void frmTileViewer::AfterOpen(bool loaded, const QString& path) {
    if (!loaded) {
        mnuFileClose_Click();
        return;
    }
    lblFileName->setText(path);
    for (QAction* a : RomActions()) a->setEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(lblWidth1), static_cast<QWidget*>(lblWidth),
                       static_cast<QWidget*>(lblOffset1), static_cast<QWidget*>(lblOffset)}) {
        w->setEnabled(true);
    }
    SetNavigationEnabled(true);
    cmdUpdate->setEnabled(!chkAutoUpdate->isChecked());
    chkAutoUpdate->setEnabled(true);
    // A new background clears the surface.
    picTileViewer->SetBackColour(platform::ToQColor(kSurfaceColour));
    m_image = PixelImage(kViewWidth, kViewHeight, kSurfaceColour);
    ShowImage();
    lblOffset->setText(QStringLiteral("0"));
    if (chkAutoUpdate->isChecked()) RedrawTiles();
}

void frmTileViewer::mnuFileClose_Click() {
    StopRedraw();
    for (QAction* a : RomActions()) a->setEnabled(false);
    m_image.Fill(kSurfaceColour);
    picTileViewer->update();
    SetNavigationEnabled(false);
    cmdUpdate->setEnabled(false);
    chkAutoUpdate->setEnabled(false);
}

void frmTileViewer::mnuFileBack_Click() {
    close();
}

void frmTileViewer::mnuEditCopy_Click() {
    const PixelImage image = OutputImage();
    QGuiApplication::clipboard()->setImage(QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                                                  image.height, image.width * 4, QImage::Format_RGB32)
                                               .copy());
    m_services.messages.Show(this, CopiedMessage());
}

QString frmTileViewer::ChooseSavePath(std::string_view filter, const QString& directory, const QString& name) {
    const QString chosen = m_services.files.SaveFile(this, QStringLiteral("Save As"), Q(filter), directory, name);
    if (chosen.isEmpty()) return {};
    const QString path = Q(base::WithFilterExtension(U8(chosen), filter));
    if (QFileInfo::exists(path) &&
        m_services.messages.Show(this, ReplaceQuestion(U8(path))) != base::MessageResult::Yes) {
        return {};
    }
    return path;
}

void frmTileViewer::mnuEditSave_Click() {
    const QString path = ChooseSavePath(kBitmapFilter, Q(m_baseDirectory), QString());
    if (path.isEmpty()) return;
    if (auto written = WriteBitmapFile(U8(path), OutputImage()); !written) {
        m_services.messages.Show(this, WriteFailedMessage(written.reason));
        return;
    }
    m_services.messages.Show(this, SavedMessage(U8(path)));
}

}  // namespace kestro::tiles
