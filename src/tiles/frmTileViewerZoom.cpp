// SPDX-License-Identifier: GPL-3.0-or-later
// The tile viewer's zoom: the view drawn 1x to 4x on screen, chosen from the
// View menu or with + and -, and kept in the settings.
#include <QAction>
#include <QActionGroup>
#include <QLayout>
#include <QMenuBar>
#include <algorithm>

#include "base/SettingsKeys.h"
#include "platform/DrawingSurface.h"
#include "platform/Widgets.h"
#include "tiles/frmTileViewer.h"

namespace kestro::tiles {

void frmTileViewer::BuildViewMenu(QMenuBar* bar) {
    using platform::AddAction;
    QMenu* mnuView = platform::AddMenu(bar, "mnuView", "&View");
    mnuViewZoomIn = AddAction(mnuView, "mnuViewZoomIn", "Zoom &In");
    mnuViewZoomIn->setShortcuts({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal), QKeySequence::ZoomIn});
    mnuViewZoomOut = AddAction(mnuView, "mnuViewZoomOut", "Zoom &Out");
    mnuViewZoomOut->setShortcuts({QKeySequence(Qt::Key_Minus), QKeySequence::ZoomOut});
    mnuView->addSeparator();
    auto* sizes = new QActionGroup(this);
    for (int z = kMinZoom; z <= kMaxZoom; ++z) {
        QAction*& entry = mnuViewZoom[static_cast<std::size_t>(z - 1)];
        entry = mnuView->addAction(QStringLiteral("&%1\u00d7").arg(z));
        entry->setObjectName(QStringLiteral("mnuViewZoom%1").arg(z));
        entry->setCheckable(true);
        sizes->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, z] { SetZoom(z); });
    }
    connect(mnuViewZoomIn, &QAction::triggered, this, [this] { mnuViewZoom_Click(+1); });
    connect(mnuViewZoomOut, &QAction::triggered, this, [this] { mnuViewZoom_Click(-1); });
    QMenu* mnuEdit = bar->findChild<QMenu*>(QStringLiteral("mnuEdit"));
    mnuEdit->addSeparator();
    mnuEditZoomed = AddAction(mnuEdit, "mnuEditZoomed", "Copy and Save at &Zoomed Size");
    mnuEditZoomed->setCheckable(true);
}

void frmTileViewer::mnuViewZoom_Click(int step) {
    SetZoom(m_zoom + step);
}

void frmTileViewer::SetZoom(int zoom) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    mnuViewZoom[static_cast<std::size_t>(m_zoom - 1)]->setChecked(true);
    if (base::ReadWhole(m_services.settings, kTileViewerZoomKey) != m_zoom) {
        base::WriteWhole(m_services.settings, kTileViewerZoomKey, m_zoom);
    }
    picTileViewer->SetZoom(m_zoom);
    // The window is fixed at its layout's size, which the surface just changed.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(sizeHint());
}

PixelImage frmTileViewer::OutputImage() const {
    return mnuEditZoomed->isChecked() ? Enlarged(m_image, m_zoom) : m_image;
}

}  // namespace kestro::tiles
