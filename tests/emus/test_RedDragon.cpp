// SPDX-License-Identifier: GPL-3.0-or-later
// Red Dragon's options.dat (reader quirks, writer format), the form the
// window shows from it, and the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>

#include "base/Paths.h"
#include "emus/RedDragon.h"
#include "support/core/TempDir.h"

namespace kestro::emus {
namespace {

using base::JoinPath;
using test::TempDir;

std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

// The file a window writes when it opened on `read` and nothing was changed.
std::string RewrittenText(const std::optional<RedDragonOptions>& read) {
    return RedDragonOptionsText(OptionsFromForm(OpenedForm(read), read ? read->keys : RedDragonKeys{}));
}

TEST(RedDragonOptions, WritesFourDigitLinesInOrderWithCrLf) {
    EXPECT_EQ(FourDigits(12345), "12345") << "a longer number is not cut";

    RedDragonOptions o{1, 9, 5, 1, 4, 1280, 1024, 10};
    for (int k = 0; k < kRedDragonKeyCount; ++k) o.keys[static_cast<std::size_t>(k)] = 101 + k;
    EXPECT_EQ(RedDragonOptionsText(o),
              Lines({"platform=0001", "frmskip=0009", "dspmode=0005", "dspswap=0001", "palmod=0004", "scrx=1280",
                     "scry=1024",     "scrmode=0010", "lu=0105",      "ld=0106",      "ll=0107",     "lr=0108",
                     "ru=0109",       "rd=0110",      "rl=0111",      "rr=0112",      "ba=0101",     "bb=0102",
                     "st=0113",       "sl=0114",      "tl=0103",      "tr=0104"}));
    EXPECT_EQ(ParseRedDragonOptions(RedDragonOptionsText(o)), o) << "what the window writes comes back, palette too";
}

// The common quirks (any case, LF alone, later lines winning, run-together
// lines, the old palette key) are the play command's tests; these are the rest.
TEST(RedDragonOptions, ReadsTheNumberInTheLastFourCharacters) {
    const RedDragonOptions o = ParseRedDragonOptions(
        "dspmode=  12\r\n"       // the number in the last four characters
        "dspswap=1\r\n"          // its last four characters "ap=1" hold no number
        "rr=0009 junk 0011\r\n"  // the last four characters only
        "ba==0007\r\n"           // "ba" and "ba=" keys: "ba" counts
        "\x01\x02=\xff\xfe\r\n"
        "platformx=0001\r\n"  // not a key
        "tl=12.5\r\n"         // a fraction rounds half to even
        "tr=-007\r\n");
    EXPECT_EQ(o.displayMode, 12);
    EXPECT_EQ(o.swap3D, 0);
    EXPECT_EQ(o.platform, 0);
    EXPECT_EQ(o.keys[kKeyRightRight], 11);
    EXPECT_EQ(o.keys[kKeyA], 7);
    EXPECT_EQ(o.keys[kKeyLeftTrigger], 12);
    EXPECT_EQ(o.keys[kKeyRightTrigger], -7);
}

// Only the head of a file counts, so a binary or huge one reads as junk.
TEST(RedDragonOptions, BinaryHugeMissingAndFolderFiles) {
    TempDir dir;
    std::mt19937 random(7);
    std::string junk(256 * 1024, '\0');
    for (char& c : junk) c = static_cast<char>(random());
    std::ofstream(dir.File("options.dat"), std::ios::binary) << "frmskip=0004\r\n" << junk << "\r\nfrmskip=0007\r\n";
    const auto read = ReadRedDragonOptions(dir.File("options.dat"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->frameSkip, 4);
    EXPECT_FALSE(ReadRedDragonOptions(dir.File("missing.dat")));
    std::filesystem::create_directory(dir.File("adir.dat"));
    EXPECT_FALSE(ReadRedDragonOptions(dir.File("adir.dat"))) << "a directory is no options file";
}

std::string SelectedSize(const RedDragonForm& form) {
    return form.screenSize < 0 ? std::string() : form.sizes.at(static_cast<std::size_t>(form.screenSize));
}

TEST(RedDragonForm, TheFileFillsTheControlsAsAFreshWindowShowsThem) {
    // No file: the defaults, then the size of width and height 0 appended.
    RedDragonForm form = OpenedForm(std::nullopt);
    EXPECT_EQ(form.screenMode, 0);
    EXPECT_EQ(form.sizes.size(), 33u);
    EXPECT_EQ(SelectedSize(form), "   0x0");

    // DirectDraw accel; a palette beyond its list takes the last entry, a display mode before it the first.
    RedDragonOptions read{1, 12, -3, 1, 9, 640, 480, 4};
    form = OpenedForm(read);
    EXPECT_EQ(form.screenMode, 3);
    EXPECT_EQ(form.sizes.size(), kDirectDrawScreenSizes.size());
    EXPECT_EQ(SelectedSize(form), " 640x480");
    EXPECT_EQ(std::tuple(form.version, form.palette, form.displayMode, form.frameSkip, form.swap3D),
              std::tuple(1, 4, 0, 9, true));

    // A size the mode does not offer is added last and selected.
    read = {};
    read.screenWidth = 500;
    read.screenHeight = 500;
    form = OpenedForm(read);
    EXPECT_EQ(SelectedSize(form), form.sizes.back());
    EXPECT_EQ(form.sizes.back(), " 500x500");
    EXPECT_NE(RewrittenText(read).find("scrx=0500\r\nscry=0500\r\nscrmode=0000"), std::string::npos);

    // Codes 1, 2, 3 and 5 select no mode; nothing selected writes scrmode=0000.
    for (int code : {1, 5}) {
        read.screenMode = code;
        form = OpenedForm(read);
        EXPECT_EQ(form.screenMode, -1) << code;
        EXPECT_EQ(form.sizes, std::vector<std::string>{" 500x500"});
        EXPECT_NE(RewrittenText(read).find("scrmode=0000"), std::string::npos);
    }
}

TEST(RedDragonForm, SizesModesAndRevertsChangeWhatIsWritten) {
    RedDragonForm form = OpenedForm(std::nullopt);
    auto written = [&] { return OptionsFromForm(form, {}); };
    for (const auto& [size, width, height] :
         {std::tuple{" 640x480", 640, 480}, {"1280x1024", 1280, 1024}, {"  80x80", 80, 80}}) {
        ASSERT_TRUE(SelectScreenSize(form, size));
        EXPECT_EQ(written().screenWidth * 10000 + written().screenHeight, width * 10000 + height) << size;
    }

    SelectScreenMode(form, 3);
    EXPECT_EQ(form.screenSize, -1) << "a new mode's list has nothing selected";
    EXPECT_EQ(written().screenMode, 4);
    EXPECT_EQ(written().screenWidth, 0);
    SelectScreenMode(form, 8);
    EXPECT_EQ(form.sizes.back(), " 384x224");
    EXPECT_EQ(written().screenMode, 10);
    form.screenMode = -1;
    EXPECT_EQ(written().screenMode, 0);

    // Revert to Default: Autodetect with 640x480; Revert Settings adds no size.
    form.frameSkip = 7;
    form.version = 1;
    form.brightnessHack = 1;
    RevertToDefault(form);
    EXPECT_EQ(form.screenMode, 0);
    EXPECT_EQ(form.brightnessHack, 0);
    EXPECT_EQ(SelectedSize(form), " 640x480");
    EXPECT_EQ(form.frameSkip, 0);
    EXPECT_EQ(form.version, 0);
    RedDragonOptions read;
    read.screenWidth = 500;
    read.screenHeight = 500;
    read.frameSkip = 2;
    form.brightnessHack = 1;  // not in the file: reverting clears it
    ShowOptions(form, read, false);
    EXPECT_EQ(form.brightnessHack, 0);
    EXPECT_EQ(form.sizes.size(), 32u);
    EXPECT_EQ(SelectedSize(form), " 640x480") << "the selection stays";
    EXPECT_EQ(form.frameSkip, 2);
}

// The run with a ROM, its directory and its file are the play command's tests.
TEST(RedDragonRun, WithoutARomOrAtARootNoBlankAndNoSecondSeparator) {
    TempDir dir;
    const std::string emu = dir.File("Red Dragon");
    std::filesystem::create_directory(emu);
    const PreparedRun run = RedDragonRun(emu + "/", std::nullopt, {});
    EXPECT_EQ(run.commandLine, emu + "/RDRAGON");
    EXPECT_TRUE(run.request.arguments.empty());
    EXPECT_EQ(run.request.workingDirectory, emu + "/");
    EXPECT_EQ(RedDragonRun(dir.File("gone"), std::nullopt, {}).commandLine, "/RDRAGON");
}

}  // namespace
}  // namespace kestro::emus
