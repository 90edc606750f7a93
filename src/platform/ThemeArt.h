// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own pictures (SVG resources), coloured for one of the two
// colour sets and drawn lit or unlit.

#include <QPixmap>
#include <QString>

namespace kestro::platform {

enum class Shade { Unlit, Lit };

/// Renders ":/theme/<name>.svg" in colour set 0 ("VB Colours", red on
/// black) or 1 ("Greyscale"), at its own size.
QPixmap ThemePicture(const QString& name, int colourSet, Shade shade = Shade::Lit);

}  // namespace kestro::platform
