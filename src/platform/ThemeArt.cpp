// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ThemeArt.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

// The pictures live in the GUI library, a static library: referencing the
// resource initialiser keeps the linker from dropping them.
static void InitThemeResources() {
    Q_INIT_RESOURCE(kestro);
}

namespace kestro::platform {

namespace {

struct Palette {
    const char* fg;
    const char* dim;
    const char* bg;
};

// Unlit and lit shades of each colour set; the Virtual Boy's red, or grey.
// Unlit captions stay readable on black (over 4.5:1), and lit ones glow
// clearly brighter (over 7:1).
constexpr Palette kPalettes[2][2] = {
    {{"#ec2020", "#3d0000", "#000000"}, {"#ff6868", "#900000", "#000000"}},
    {{"#808080", "#383838", "#000000"}, {"#f0f0f0", "#8a8a8a", "#000000"}},
};

}  // namespace

QPixmap ThemePicture(const QString& name, int colourSet, Shade shade) {
    static const bool initialised = (InitThemeResources(), true);
    (void)initialised;
    QFile file(QStringLiteral(":/theme/") + name + QStringLiteral(".svg"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const Palette& p = kPalettes[colourSet == 1 ? 1 : 0][shade == Shade::Lit ? 1 : 0];
    QByteArray svg = file.readAll();
    svg.replace("@FG@", p.fg).replace("@DIM@", p.dim).replace("@BG@", p.bg);
    QSvgRenderer renderer(svg);
    QPixmap pixmap(renderer.defaultSize());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace kestro::platform
