// SPDX-License-Identifier: GPL-3.0-or-later
// The Virtual-E front-end, driven through its controls, over a registry in
// memory and over a Wine prefix's user.reg.
#include <QCheckBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <fstream>

#include "base/WineRegistry.h"
#include "emus/FrontEndFixture.h"
#include "emus/VirtualE.h"
#include "emus/frmVirtualE.h"

namespace kestro::emus {
namespace {

using base::MessageResult;
using Numbers = std::vector<std::int32_t>;

class VirtualEWindow : public test::FrontEndTest<frmVirtualE> {
protected:
    VirtualEWindow() {
        std::ofstream(base::JoinPath(emu, "VirtualE.Exe")) << "MZ";
        t.settings.Write("Virtual-E Directory", emu);
    }
    bool Checked(const char* name) { return Find<QAbstractButton>(name)->isChecked(); }
    /// The numbers stored under the names given, -1 for one that is missing.
    std::vector<std::int32_t> Stored(std::initializer_list<const char*> names) {
        std::vector<std::int32_t> numbers;
        for (const char* name : names) {
            auto data = registry->Query(base::HKEY_CURRENT_USER_, kVirtualEOptionsKey, name);
            numbers.push_back(data ? data->bytes[0] | data->bytes[1] << 8 | data->bytes[2] << 16 | data->bytes[3] << 24
                                   : -1);
        }
        return numbers;
    }

    base::RegistryBackend* registry = &t.registry;
};

// A run with the settings as stored writes them all again and asks nothing;
// changed settings are asked about, and Cancel starts on the stored ones.
TEST_F(VirtualEWindow, RunWritesTheSettingsOrAsksAboutChanges) {
    Open();
    Click("cmdRunVirtualE");
    EXPECT_TRUE(t.messages.Shown().empty());
    EXPECT_EQ(Stored({"Display", "Skip"}), (Numbers{2, 1})) << "the defaults, written at the first run";
    EXPECT_EQ(t.recorder.requests.size(), 1u);

    Find<QCheckBox>("chkEnableSound")->setChecked(true);
    t.messages.Answer(MessageResult::Cancel);
    Click("cmdRunVirtualE");
    EXPECT_EQ(t.messages.Take(),
              (std::vector<base::Message>{
                  {"Save setting changes",
                   "Settings have changed since last save.\rDo you wish to save & use current settings?",
                   base::MessageIcon::Question, base::MessageButtons::OkCancel, MessageResult::Cancel}}));
    EXPECT_EQ(t.recorder.requests.size(), 2u) << "Cancel still starts the emulator";
    EXPECT_EQ(Stored({"Sound"}), Numbers{0}) << "...with nothing saved";
    t.messages.Answer(MessageResult::Ok);
    Click("cmdRunVirtualE");
    EXPECT_EQ(Stored({"Sound"}), Numbers{1});
    t.messages.Take();
    Click("cmdRunVirtualE");
    EXPECT_TRUE(t.messages.Take().empty()) << "saved settings are unchanged settings";

    // A registry that refuses the write shows its error and starts nothing.
    t.registry.DenyWrites(base::HKEY_CURRENT_USER_);
    Click("cmdRunVirtualE");
    EXPECT_NE(t.messages.Take().at(0).text.find("Key: 'Display' to value: '2'"), std::string::npos);
    EXPECT_EQ(t.recorder.requests.size(), 4u);
}

TEST_F(VirtualEWindow, EntriesKeepToTheirRangesAndSaveAndRevertFollowTheControls) {
    Open();
    auto* fps = Find<QLineEdit>("txtFps");
    fps->setText(QStringLiteral("0"));
    EXPECT_EQ(fps->text(), QStringLiteral("1"));
    fps->setText(QStringLiteral("40000"));
    EXPECT_EQ(Find<QScrollBar>("vscFps")->value(), 32767);
    EXPECT_TRUE(CountsUpward("vscFrameSkip") && CountsUpward("vscFps"));
    Find<QScrollBar>("vscFrameSkip")->setValue(30);
    EXPECT_EQ(Find<QLineEdit>("txtFrameSkip")->text(), QStringLiteral("30"));

    auto* slider = Find<QSlider>("sliBrightness");
    slider->setValue(-5);
    EXPECT_TRUE(Find<QLabel>("imgBrightness_0")->isVisibleTo(window.get()));
    EXPECT_FALSE(Find<QLabel>("imgBrightness_5")->isVisibleTo(window.get())) << "the picture follows the slider";
    slider->setValue(2);

    Find<QRadioButton>("optStyle_3")->setChecked(true);
    fps->setText(QStringLiteral("12"));
    Click("cmdSaveSettings");
    EXPECT_EQ(Stored({"Brtness", "Skip", "Style"}), (Numbers{2, 30, 3}));
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertDefault");
    EXPECT_TRUE(Checked("optStyle_1"));
    EXPECT_EQ(Find<QLineEdit>("txtFrameSkip")->text() + fps->text(), QStringLiteral("11"));
    EXPECT_EQ(Stored({"Style"}), Numbers{3}) << "Revert to Default only changes the controls";
    t.messages.Answer(MessageResult::Yes);
    Click("cmdRevertSettings");
    EXPECT_TRUE(Checked("optStyle_3"));
    EXPECT_EQ(slider->value(), 2);
}

TEST_F(VirtualEWindow, StoredNumbersOutsideTheControlsRangesAreKeptUntilChanged) {
    t.registry.CreateKey(base::HKEY_CURRENT_USER_, kVirtualEOptionsKey);
    WriteRegistryValues(t.registry, {{kVirtualEOptionsKey, "Display", 4, 7},
                                     {kVirtualEOptionsKey, "Brtness", 4, 9},
                                     {kVirtualEOptionsKey, "Skip", 4, 0}});
    Open();
    Click("cmdRunVirtualE");
    EXPECT_TRUE(t.messages.Shown().empty()) << "nothing was changed";
    EXPECT_EQ(Stored({"Display", "Brtness", "Skip"}), (Numbers{7, 9, 0}));
    Find<QRadioButton>("optDisplay_3")->setChecked(true);
    Find<QSlider>("sliBrightness")->setValue(4);
    Click("cmdSaveSettings");
    EXPECT_EQ(Stored({"Display", "Brtness", "Skip"}), (Numbers{3, 4, 0}));
}

// The window over a Wine prefix: what it saves is in user.reg, beside
// everything that was there, and comes back when the window opens again.
// The busy pointer shows while the file is written, and is given back.
TEST_F(VirtualEWindow, SettingsGoIntoTheWinePrefixAndComeBack) {
    const std::string userReg =
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
        "\n#arch=win64\n\n[Software\\\\Wine] 1796539211\n#time=1dd854ca497f536\n\"Version\"=\"win10\"\n";
    std::filesystem::create_directory(dir.File("prefix"));
    std::ofstream(dir.File("prefix/user.reg"), std::ios::binary) << userReg;
    std::vector<Qt::CursorShape> pointers;
    const auto writtenAt = [&pointers] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        pointers.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
        return base::WineFileTime{0x1dd900000000000ull};
    };
    base::WineRegistryBackend wine(dir.File("prefix"), {[](const std::string&) { return false; }, nullptr, writtenAt});
    platform::Services onWine{t.messages, t.files, t.settings, t.recorder, t.clock, wine};
    registry = &wine;
    window = std::make_unique<frmVirtualE>(onWine);
    Find<QRadioButton>("optDisplay_4")->setChecked(true);
    Find<QCheckBox>("chkEnableSram")->setChecked(true);
    Click("cmdSaveSettings");
    EXPECT_TRUE(t.messages.Shown().empty());
    EXPECT_EQ(pointers, std::vector<Qt::CursorShape>{Qt::WaitCursor});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const std::string text = test::FileText(dir.File("prefix/user.reg"));
    EXPECT_EQ(text.rfind(userReg.substr(0, userReg.find("[Software")), 0), 0u);
    EXPECT_NE(text.find(userReg.substr(userReg.find("[Software"))), std::string::npos) << "Wine's own key is kept";
    EXPECT_NE(text.find("Options] 1797715756\n#time=1dd900000000000\n\"Display\"=dword:00000004\n"), std::string::npos);

    window = std::make_unique<frmVirtualE>(onWine);
    EXPECT_TRUE(Checked("optDisplay_4"));
    EXPECT_TRUE(Checked("chkEnableSram"));
    window.reset();
}

}  // namespace
}  // namespace kestro::emus
