// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "&Recent Files" submenu of a window, shown as the recent list says.

#include <QAction>
#include <QMenu>
#include <array>

#include "platform/Text.h"
#include "rom/RecentRomList.h"

namespace kestro::platform {

/// Shows the submenu, the separator below it and the ten items as the menu
/// presentation gives them. An ampersand in a path is shown as it is; only
/// the item's own "&k " marks its access key.
inline void ShowRecentMenu(const rom::RecentMenu& menu, QMenu* submenu, QAction* separator,
                           const std::array<QAction*, rom::kRecentRomSlots>& items) {
    submenu->menuAction()->setVisible(menu.submenuVisible);
    separator->setVisible(menu.separatorVisible);
    for (std::size_t k = 0; k < items.size(); ++k) {
        const QString caption = Q(menu.items[k].caption);
        items[k]->setText(caption.left(3) + caption.mid(3).replace(QLatin1Char('&'), QStringLiteral("&&")));
        items[k]->setVisible(menu.items[k].visible);
    }
}

}  // namespace kestro::platform
