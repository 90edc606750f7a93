// SPDX-License-Identifier: GPL-3.0-or-later
// Picture buttons, their art, and the start-up choice of the title font.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "platform/PictureBox.h"
#include "platform/SystemLocations.h"
#include "platform/ThemeArt.h"

using namespace kestro::platform;

TEST(PictureBox, ActsOnAReleaseInsideAsAButtonDoes) {
    PictureBox box(QStringLiteral("imgTest"));
    box.resize(40, 30);
    box.show();
    QSignalSpy clicks(&box, &PictureBox::clicked);

    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 0) << "a press alone does nothing";
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);

    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    EXPECT_EQ(clicks.count(), 1) << "released off the picture, the press is taken back";

    QTest::mouseClick(&box, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 1) << "only the left button clicks";
}

TEST(StartupFont, TitlesTakeTheFixedPitchGothicFace) {
    const int fixedGothic = KatakanaFaceScore(QStringLiteral("IPAGothic"), FC_DUAL);
    EXPECT_GT(fixedGothic, KatakanaFaceScore(QStringLiteral("IPAPGothic"), FC_PROPORTIONAL));
    EXPECT_GT(fixedGothic, KatakanaFaceScore(QStringLiteral("IPAMincho"), FC_DUAL));
    EXPECT_GT(KatakanaFaceScore(QStringLiteral("IPAPGothic"), FC_PROPORTIONAL),
              KatakanaFaceScore(QStringLiteral("IPAPMincho"), FC_PROPORTIONAL));

    // On a machine set up as the README says, fontconfig offers both IPA gothic faces.
    const KatakanaFontFile found = FindKatakanaFont();
    if (!found.family.startsWith(QStringLiteral("IPA")))
        GTEST_SKIP() << "the IPA gothic font (fonts-ipafont-gothic) is not installed";
    EXPECT_EQ(found.family, QStringLiteral("IPAGothic"));
}

namespace {

// Contrast against black (WCAG) of the brightest pixel: the caption's colour.
double BrightestContrast(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    double brightest = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 255) continue;
            brightest =
                std::max(brightest, 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue()));
        }
    }
    return (brightest + 0.05) / 0.05;
}

}  // namespace

TEST(ThemeArt, UnlitCaptionsAreReadableAndLitOnesClearlyBrighter) {
    for (int set = 0; set < 2; ++set) {
        for (const char* name : {"btn_rominfo", "btn_database", "btn_options"}) {
            const double unlit = BrightestContrast(ThemePicture(QString::fromLatin1(name), set, Shade::Unlit));
            const double lit = BrightestContrast(ThemePicture(QString::fromLatin1(name), set, Shade::Lit));
            EXPECT_GE(unlit, 4.5) << name << " in set " << set;
            EXPECT_GE(lit, unlit * 1.5) << name << " in set " << set;
        }
        // The small line at the foot of the precaution and title screens.
        for (const char* name : {"precaution", "title"}) {
            const QPixmap foot = ThemePicture(QString::fromLatin1(name), set).copy(0, 200, 390, 16);
            EXPECT_GE(BrightestContrast(foot), 4.5) << name << " in set " << set;
        }
    }
}
