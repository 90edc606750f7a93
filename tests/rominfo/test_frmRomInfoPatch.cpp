// SPDX-License-Identifier: GPL-3.0-or-later
// Apply Patch in the ROM information window: the wrong base named, the right
// one found in a zipped collection, the patched header shown, Save As.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

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

    // Declined twice (the search, then applying anyway): nothing changes.
    const QString patchPath = QString::fromStdString(dir.File("english.bps"));
    for (MessageResult first : {MessageResult::No, MessageResult::Yes}) {
        ts.files.Choose(patchPath);
        ts.messages.Answer(first);
        if (first == MessageResult::No) ts.messages.Answer(MessageResult::No);
        test::FindChild<QAction>(&w, "mnuFileApplyPatch")->trigger();
        const auto shown = ts.messages.Take();
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown[0].text,
                  "This patch is for Red Alarm (Japan); the opened file is Red Alarm (USA).\r\r"
                  "Look for it in your collection (" +
                      collection + ")?");
        EXPECT_EQ(shown[0].defaultButton, MessageResult::No);
        if (first == MessageResult::No) {
            EXPECT_EQ(shown[1].defaultButton, MessageResult::No);  // apply anyway?
            EXPECT_EQ(label("lblIdentify"), QStringLiteral("Red Alarm (U) [!]"));
        }
    }
    // Found in the zip, opened, patched: the new header is shown, nothing written yet.
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

    // A dropped IPS patch applies to the ROM in memory as well, and names the result.
    test::WriteBytes(dir.File("back.ips"), patch::CreateIps(english, japan).patch);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("back.ips")))});
    const QPoint at(w.width() / 2, w.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &drop);
    EXPECT_EQ(test::TakeOne(ts.messages).text, "The patched ROM is Red Alarm (Japan).");
    EXPECT_EQ(label("lblIdentify"), QStringLiteral("Red Alarm (J) [!]"));

    // Applied anyway to the wrong dump: the result may not take a dump's name.
    rominfo::frmRomInfo forced(ts.services);
    forced.OpenRom(QString::fromStdString(dir.File("u.vb")));
    ts.files.Choose(patchPath);
    for (MessageResult answer : {MessageResult::No, MessageResult::Yes}) ts.messages.Answer(answer);
    test::FindChild<QAction>(&forced, "mnuFileApplyPatch")->trigger();
    ts.messages.Take();
    const std::string dumpName = dir.File("Red Alarm (Japan).vb");
    ts.files.Choose(QString::fromStdString(dumpName));
    test::FindChild<QAction>(&forced, "mnuFileSaveAs")->trigger();
    EXPECT_EQ(test::TakeOne(ts.messages).text,
              "A patch applied to another dump gives no known dump: save it under another name than "
              "Red Alarm (Japan).vb.");
    EXPECT_FALSE(std::filesystem::exists(dumpName));
}
