// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Drops.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace kestro::platform {

namespace {
// A window shows one ROM or lists one directory, so a drag of several
// things is not taken rather than guessing which one was meant.
QString OnlyLocalPath(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}
}  // namespace

QString DroppedRomFile(const QMimeData* data) {
    const QString path = OnlyLocalPath(data);
    if (path.isEmpty() || !path.endsWith(QStringLiteral(".vb"), Qt::CaseInsensitive)) return {};
    return QFileInfo(path).isDir() ? QString() : path;
}

QString DroppedPatchFile(const QMimeData* data) {
    const QString path = OnlyLocalPath(data);
    for (const QString& ending : {QStringLiteral(".ips"), QStringLiteral(".bps"), QStringLiteral(".ups")}) {
        if (path.endsWith(ending, Qt::CaseInsensitive)) return QFileInfo(path).isDir() ? QString() : path;
    }
    return {};
}

QString DroppedDirectory(const QMimeData* data) {
    const QString path = OnlyLocalPath(data);
    return !path.isEmpty() && QFileInfo(path).isDir() ? path : QString();
}

void AcceptRomDrag(QDragEnterEvent* event) {
    if (!DroppedRomFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

QString TakeRomDrop(QDropEvent* event) {
    const QString path = DroppedRomFile(event->mimeData());
    if (!path.isEmpty()) event->acceptProposedAction();
    return path;
}

void AcceptDropsOnWindow(QWidget* window) {
    window->setAcceptDrops(true);
    for (QLineEdit* box : window->findChildren<QLineEdit*>()) box->setAcceptDrops(false);
    for (QAbstractScrollArea* area : window->findChildren<QAbstractScrollArea*>()) {
        area->setAcceptDrops(false);
        area->viewport()->setAcceptDrops(false);
    }
}

}  // namespace kestro::platform
