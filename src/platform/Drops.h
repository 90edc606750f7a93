// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a drag from a file manager carries, as the windows that take drops
// understand it: one ROM image file, or one directory.

#include <QString>

class QDragEnterEvent;
class QDropEvent;
class QMimeData;
class QWidget;

namespace kestro::platform {

/// The path of the one local file the drag carries when its name ends in
/// ".vb" (in any case); empty for anything else.
QString DroppedRomFile(const QMimeData* data);

/// The path of the one local file the drag carries when it is a patch
/// (.ips, .bps or .ups, in any case); empty for anything else.
QString DroppedPatchFile(const QMimeData* data);

/// The path of the one local directory the drag carries; empty for anything else.
QString DroppedDirectory(const QMimeData* data);

/// Takes a drag that carries a ROM file (the pointer shows it may drop).
void AcceptRomDrag(QDragEnterEvent* event);
/// The ROM file a drop carries, the drop taken; empty when it carries none.
QString TakeRomDrop(QDropEvent* event);

/// Lets the window take drops wherever they land on it: its text boxes
/// would otherwise take a dropped file's name as typed text.
void AcceptDropsOnWindow(QWidget* window);

}  // namespace kestro::platform
