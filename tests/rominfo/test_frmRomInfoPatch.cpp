// SPDX-License-Identifier: GPL-3.0-or-later
// Apply Patch in the ROM information window: the wrong base named, the right
// one found in a zipped collection, the patched header shown, Save As.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>

#include "patch/Patch.h"
#include "platform/Text.h"
#include "romdb/RomDbFixtures.h"
#include "rominfo/frmRomInfo.h"
#include "support/core/TempDir.h"
#include "support/gui/WindowChecks.h"

using namespace kestro;
using base::MessageResult;
using test::RomBuilder;

TEST(RomInfoPatch, WrongBaseIsNamedFoundInTheCollectionPatchedAndSavedAsANewFile) {
    test::TempDir dir;
    test::TestServices ts;
    const std::string collection = dir.File("collection");
    std::filesystem::create_directories(collection);
    const auto japan = RomBuilder::KnownDump("Red Alarm (J) [!]").Build();
    const auto english = RomBuilder::KnownDump("Red Alarm (J) [!]").Title("REDALARM EN").Build();
    const auto usa = RomBuilder::KnownDump("Red Alarm (U) [!]").WriteTo(dir.File("u.vb"));
    test::WriteZip(collection + "/set.zip", {{"Red Alarm (J).vb", japan}});
    const auto zipBefore = test::ReadBytes(collection + "/set.zip");
    test::WriteText(dir.File("vb.dat"), test::LogiqxDat("vb", {{"Red Alarm (Japan)", {{"j.vb", japan}}},
                                                               {"Red Alarm (USA)", {{"u.vb", usa}}}}));
    test::WriteBytes(dir.File("english.bps"), patch::CreateBps(japan, english));
    ts.settings.Write("Auto Detect ROM", "True");
    ts.settings.Write("Base Directory", collection);
    ts.settings.Write("Collection DAT File", dir.File("vb.dat"));
    rominfo::frmRomInfo w(ts.services);
    w.show();
    w.OpenRom(QString::fromStdString(dir.File("u.vb")));
    const auto label = [&](const char* name) { return test::FindChild<QLabel>(&w, name)->text(); };

    // Applies the patch in a window with these answers; the boxes it showed.
    const auto applyPatch = [&](QWidget* window, std::initializer_list<MessageResult> answers) {
        ts.files.Choose(QString::fromStdString(dir.File("english.bps")));
        for (MessageResult answer : answers) ts.messages.Answer(answer);
        test::FindChild<QAction>(window, "mnuFileApplyPatch")->trigger();
        return ts.messages.Take();
    };

    // Declined twice (the search, then applying anyway): nothing changes.
    const auto declined = applyPatch(&w, {MessageResult::No, MessageResult::No});
    ASSERT_EQ(declined.size(), 2u);
    EXPECT_EQ(declined[0].text,
              "This patch is for Red Alarm (Japan); the opened file is Red Alarm (USA).\r\r"
              "Look for it in your collection (" +
                  collection + ")?");
    EXPECT_EQ(declined[0].defaultButton, MessageResult::No);
    EXPECT_EQ(declined[1].defaultButton, MessageResult::No);  // apply anyway?
    EXPECT_EQ(label("lblIdentify"), QStringLiteral("Red Alarm (U) [!]"));

    // Found in the zip, opened, patched: the new header is shown, nothing written yet.
    applyPatch(&w, {MessageResult::Yes});
    EXPECT_EQ(platform::U8(label("lblTitle")), "REDALARM EN");
    EXPECT_EQ(label("lblIdentify"), QStringLiteral("Red Alarm (J) [h]"));
    EXPECT_EQ(platform::U8(label("lblFileName")), collection + "/Red Alarm (J).vb");

    const std::string saved = dir.File("english.vb");
    ts.files.Choose(QString::fromStdString(saved));
    test::FindChild<QAction>(&w, "mnuFileSaveAs")->trigger();
    EXPECT_EQ(platform::U8(ts.files.StartNames().back()), collection + "/Red Alarm (J) (english).vb");
    EXPECT_TRUE(test::ReadBytes(saved) == english);
    EXPECT_TRUE(test::ReadBytes(collection + "/set.zip") == zipBefore);
    EXPECT_TRUE(test::ReadBytes(dir.File("u.vb")) == usa);

    // Applied anyway to the wrong dump: the result may not take a dump's name.
    rominfo::frmRomInfo forced(ts.services);
    forced.OpenRom(QString::fromStdString(dir.File("u.vb")));
    applyPatch(&forced, {MessageResult::No, MessageResult::Yes});
    const std::string dumpName = dir.File("Red Alarm (Japan).vb");
    ts.files.Choose(QString::fromStdString(dumpName));
    test::FindChild<QAction>(&forced, "mnuFileSaveAs")->trigger();
    EXPECT_EQ(test::TakeOne(ts.messages).text,
              "A patch applied to another dump gives no known dump: save it under another name than "
              "Red Alarm (Japan).vb.");
    EXPECT_FALSE(std::filesystem::exists(dumpName));
}
