// SPDX-License-Identifier: GPL-3.0-or-later
// The palette window and its loader, driven through their controls.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "platform/Swatch.h"
#include "platform/Text.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"
#include "tiles/PaletteFile.h"
#include "tiles/frmPalette.h"

namespace kestro::tiles {
namespace {

using base::MessageResult;
using platform::Q;

class PaletteWindow : public ::testing::Test {
protected:
    QLineEdit* Box(const char* name) { return window().findChild<QLineEdit*>(QString::fromLatin1(name)); }
    // The colour the preview shows, as painted inside the window.
    QColor Preview(int colour) {
        auto* s = window().findChild<platform::Swatch*>(QStringLiteral("picCol%1Preview").arg(colour));
        return window().grab().toImage().pixelColor(s->mapTo(&window(), s->rect().center()));
    }
    void Click(const char* name) {
        QTest::mouseClick(window().findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    frmPalette& window() {
        if (!m_window) m_window = std::make_unique<frmPalette>(t.services);
        return *m_window;
    }
    // Opens the loader from "Load" and clicks one of its buttons.
    void LoadWith(const char* loaderButton) {
        test::WhenModalShown([loaderButton](QWidget* loader) {
            QTest::mouseClick(loader->findChild<QPushButton*>(QString::fromLatin1(loaderButton)), Qt::LeftButton);
        });
        Click("cmdLoad");
    }

    test::TestServices t;
    test::TempDir dir;
    std::unique_ptr<frmPalette> m_window;
};

TEST_F(PaletteWindow, OpensWithTheStoredColoursAndOnlyApplyWritesThem) {
    t.settings.Write("White Tile Red", "255");
    t.settings.Write("White Tile Green", "0");
    t.settings.Write("White Tile Blue", "0");
    EXPECT_EQ(Box("txtCol2G")->text(), QStringLiteral("192"));  // absent keys: grey
    EXPECT_EQ(Preview(1), QColor(255, 0, 0));
    Box("txtCol1G")->setText(QStringLiteral("17"));
    window().show();
    Click("cmdCancel");
    EXPECT_FALSE(window().isVisible()) << "Cancel closes the window";
    EXPECT_EQ(t.settings.WriteCount(), 3);

    m_window.reset();
    Box("txtCol1G")->setText(QStringLiteral("17"));
    Box("txtCol4R")->clear();  // an emptied box applies as 0
    Click("cmdApply");
    EXPECT_EQ(t.settings.Values().size(), 12u);
    EXPECT_EQ(t.settings.Values().at("White Tile Green"), "17");
    EXPECT_EQ(t.settings.Values().at("Black Tile Red"), "0");
}

// What a box keeps of what is typed is the core's test; here that it is kept
// where the user types and the preview follows.
TEST_F(PaletteWindow, BoxesNormaliseAsTheUserTypesAndPreviewsFollow) {
    Box("txtCol2R")->setText(QStringLiteral("300"));
    QLineEdit* box = Box("txtCol3G");
    box->clear();
    QTest::keyClicks(box, QStringLiteral("4x7"));
    EXPECT_EQ(box->text(), QStringLiteral("47"));
    EXPECT_EQ(box->cursorPosition(), 2);
    EXPECT_EQ(Preview(3), QColor(128, 47, 128));

    // No button is the window's default: Enter in a box saves, loads, reverts and applies nothing.
    window().show();
    EXPECT_FALSE(test::KeyOpensModal(box, Qt::Key_Return));
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(t.settings.WriteCount(), 0);
}

TEST_F(PaletteWindow, LoadsAPaletteFileAndRefusesAForeignOne) {
    const TilePalette custom{{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {250, 251, 252}}}};
    ASSERT_TRUE(WritePaletteFile(dir.File("mine.pvb"), custom));
    t.files.Choose(Q(dir.File("mine.pvb")));
    LoadWith("cmdLoadCustom");
    EXPECT_EQ(window().BoxPalette(), custom);

    std::ofstream(dir.File("foreign.pvb"), std::ios::binary) << "PAX123456789012";
    t.files.Choose(Q(dir.File("foreign.pvb")));
    LoadWith("cmdLoadCustom");
    EXPECT_EQ(test::TakeOne(t.messages).text, "File is not a Kestro palette file.");
    EXPECT_EQ(window().BoxPalette(), custom);  // the boxes kept their values
}

TEST_F(PaletteWindow, PresetsRevertAndSaveWhichAsksBeforeReplacing) {
    const std::string path = dir.File("saved.pvb");
    LoadWith("cmdRevertRed");
    Click("cmdCol2Revert");  // one colour back as the window opened
    EXPECT_EQ(window().BoxPalette().colours[1], (Rgb{192, 192, 192}));
    EXPECT_EQ(window().BoxPalette().colours[0], (Rgb{255, 0, 0})) << "only colour 2 went back";
    LoadWith("cmdRevertRed");
    t.files.Choose(Q(dir.File("saved")));  // the type's extension is added
    Click("cmdSave");
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::get<TilePalette>(ReadPaletteFile(path)), kVbPalette);

    LoadWith("cmdRevertGrey");
    t.files.Choose(Q(path));
    t.messages.Answer(MessageResult::No);
    Click("cmdSave");
    const auto question = test::TakeOne(t.messages);
    EXPECT_EQ(question.text, path + " already exists.\rDo you wish to replace it?");
    EXPECT_EQ(question.defaultButton, MessageResult::No);
    EXPECT_EQ(std::get<TilePalette>(ReadPaletteFile(path)), kVbPalette);

    t.files.Choose(Q(path));
    t.messages.Answer(MessageResult::Yes);
    Click("cmdSave");
    EXPECT_EQ(std::get<TilePalette>(ReadPaletteFile(path)), kGreyPreset);
}

}  // namespace
}  // namespace kestro::tiles
