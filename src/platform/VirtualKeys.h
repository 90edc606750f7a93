// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys and mouse buttons as Windows numbers them (virtual-key codes), the
// numbering the emulators' key settings use.

#include <Qt>
#include <QtGlobal>

class QKeyEvent;

namespace kestro::platform {

/// The virtual-key code of a key: from Qt's key, told apart by the native key
/// symbol where Qt gives one key for two (the numeric keypad, the left and
/// right Windows keys), and by the key's position where Qt knows no key (the
/// letters of a non-Latin layout). Shift, Control and Alt give the generic 16,
/// 17 and 18, left or right. 0 for a key Windows has no code for.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeVirtualKey, quint32 nativeScanCode);
int VirtualKeyOf(const QKeyEvent& event);

/// 1 for the left mouse button, 2 the right, 4 the middle, 5 and 6 the side
/// buttons; 0 for others.
int VirtualKeyOf(Qt::MouseButton button);

}  // namespace kestro::platform
