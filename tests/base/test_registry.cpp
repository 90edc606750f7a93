// SPDX-License-Identifier: GPL-3.0-or-later
// The registry the emulators' settings go to: the registry class over memory;
// a Wine prefix's registry files, read as Wine writes them and edited so that
// only the values written (and their key's time lines) change; and the same
// against a real Wine, with its server stopped and running.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/WineRegistry.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro::base;

namespace {

// A user.reg as Wine 8 leaves it after a few programs ran: escapes, an
// expandable text, a multi-text, a default value, a key that exists only
// through its sub-key, and a class line.
const std::string kUserReg = R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Software\\Emulators\\Tool] 1796539300
#time=1dd854cd9570b90
#class="Tool class"
@="Default \"quoted\" text"
"Path"="C:\\Games\\VB \x00e9t\x00e9"
"Home"=str(2):"%USERPROFILE%\\VB"
"List"=str(7):"one\0two\0"
"Tabbed"="a\tb"
"Level"=dword:0000002a

[Software\\Virtual-E\\VIRTUALE\\Options] 1796539400
#time=1dd854cd9570c00
"Display"=dword:00000003
"CPU"=dword:00000001

[Software\\Wine\\Deep\\Key\\Leaf] 1796539211
#time=1dd854ca4f447d2
"X"="y"
)";

constexpr WineFileTime kNow = 0x1dd900000000000ull;  // the moment our writes are stamped with
constexpr char kOptions[] = "Software\\Virtual-E\\VIRTUALE\\Options";
constexpr char kKeypad[] = "Software\\Virtual-E\\VIRTUALE\\Keypad";

using kestro::test::FileText;
using kestro::test::RunShell;
using kestro::test::WriteText;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// A text as the registry holds it, with its terminating zero.
std::string Z(const std::string& text) {
    return text + '\0';
}

std::string Text(const std::optional<RegistryData>& data) {
    if (!data) return "<none>";
    return std::string(data->bytes.begin(), data->bytes.end());
}

// The error a call raises, if any.
template <typename Call>
std::optional<RegistryError> Raised(Call call) {
    try {
        call();
    } catch (const RegistryError& error) {
        return error;
    }
    return std::nullopt;
}

RegistryData Dword(std::uint32_t v) {
    return {REG_DWORD_, {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}};
}

// The registry class on a value, by default a number under Virtual-E's options key, as its window uses it.
cRegistry OptionsValue(RegistryBackend& backend, const std::string& value, std::int32_t type = REG_DWORD_,
                       const std::string& key = kOptions) {
    cRegistry cursor(backend);
    cursor.SetClassKey(HKEY_CURRENT_USER_);
    cursor.SetSectionKey(key);
    cursor.SetValueKey(value);
    cursor.SetValueType(type);
    return cursor;
}

// Numbers written in one group, as the emulators' windows save them.
void WriteNumbers(RegistryBackend& backend, const std::string& key,
                  const std::vector<std::pair<const char*, int>>& values) {
    cRegistry reg = OptionsValue(backend, "", REG_DWORD_, key);
    RegistryWriteGroup group(reg);
    for (const auto& [name, value] : values) {
        reg.SetValueKey(name);
        reg.SetValue(std::int32_t{value});
    }
    group.Commit();
}

// Stands in for the machine: a server that runs or not, and a "wine" that
// records what it was asked to import and exports what it was last given.
struct FakeWine {
    bool serverRunning = false;
    int exitCode = 0;
    std::vector<std::string> imports;  // each .reg file's text, back in UTF-8
    std::string served;                // what an export writes, as "reg" writes it
    int exports = 0;
    WineEnvironment Environment() {
        return {[this](const std::string&) { return serverRunning; },
                [this](const std::vector<std::string>& command, const std::string& directory, const std::string&) {
                    if (command[2] == "export") {
                        ++exports;
                        if (served.empty()) return WineCommandResult{true, 1, "reg: Unable to find the key"};
                        WriteText(directory + "/" + command[4], served);
                        return WineCommandResult{true, 0, ""};
                    }
                    std::string raw = served = FileText(directory + "/" + command.back());
                    std::u16string units;
                    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
                        units.push_back(char16_t(std::uint8_t(raw[i]) | std::uint8_t(raw[i + 1]) << 8));
                    }
                    imports.push_back(Utf8FromUtf16(units));
                    return WineCommandResult{true, exitCode, exitCode ? "reg: Unable to import the file" : ""};
                },
                [] { return kNow; }};
    }
};

// The file without the named key's section, to compare everything else.
std::string Without(const std::string& text, const std::string& header) {
    const auto at = text.find("\n[" + header + "]");
    if (at == std::string::npos) return text;
    const auto next = text.find("\n[", at + 1);
    return text.substr(0, at) + (next == std::string::npos ? "" : text.substr(next));
}

class WinePrefix : public ::testing::Test {
protected:
    void SetUp() override { WriteText(dir.File("user.reg"), kUserReg); }
    WineRegistryBackend Backend() { return WineRegistryBackend(dir.Path().string(), wine.Environment()); }
    std::string UserReg() { return FileText(dir.File("user.reg")); }

    kestro::test::TempDir dir;
    FakeWine wine;
};

}  // namespace

TEST(Registry, KeyExistsTestsTheKeyOnly) {
    MemoryRegistryBackend backend;
    cRegistry reg = OptionsValue(backend, "Missing", REG_SZ_);
    EXPECT_FALSE(reg.KeyExists());
    backend.CreateKey(HKEY_CURRENT_USER_, kOptions);
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_EQ(RegistryValueText(reg.Value()), "") << "an absent value reads as the default";
    reg.SetSectionKey("software\\virtual-e\\virtuale\\OPTIONS");
    EXPECT_TRUE(reg.KeyExists()) << "key paths compare without case";

    backend.DenyQuery(HKEY_CURRENT_USER_, "Software\\Locked");
    reg.SetSectionKey("Software\\Locked");
    EXPECT_FALSE(reg.KeyExists());
}

// Each value is stored by the type asked for (a text naming a variable as an
// expandable one, a big-endian number as a native one), and read back as stored.
TEST(Registry, EachTypeRoundTrips) {
    setenv("KESTRO_TEST_DIR", "/srv/vb", 1);
    MemoryRegistryBackend backend;
    using Row = std::tuple<RegistryValue, std::int32_t, std::int32_t, RegistryValue>;
    const Row written[] = {
        {std::string("C:\\VirtualE"), REG_SZ_, REG_SZ_, std::string("C:\\VirtualE")},
        {std::int32_t{-2}, REG_DWORD_, REG_DWORD_, std::int32_t{-2}},
        {std::vector<std::uint8_t>{1, 2, 250}, REG_BINARY_, REG_BINARY_, std::vector<std::uint8_t>{1, 2, 250}},
        {std::int32_t{0x01020304}, REG_DWORD_BIG_ENDIAN_, REG_DWORD_, std::int32_t{0x01020304}},
        {std::string("%KESTRO_TEST_DIR%/roms %UNKNOWN_NAME_X%"), REG_SZ_, REG_EXPAND_SZ_,
         std::string("/srv/vb/roms %UNKNOWN_NAME_X%")},
        {std::string("50%% off"), REG_SZ_, REG_SZ_, std::string("50%% off")},
        {std::string("100%"), REG_SZ_, REG_SZ_, std::string("100%")},
    };
    for (const auto& [value, type, storedType, read] : written) {
        cRegistry reg = OptionsValue(backend, "Value", type);
        reg.SetValue(value);
        EXPECT_EQ(backend.Query(HKEY_CURRENT_USER_, kOptions, "Value")->type, storedType);
        EXPECT_EQ(reg.Value(), read);
    }
    // Values stored by others read by their stored type, whatever type the class was set to.
    const std::tuple<const char*, RegistryData, RegistryValue> stored[] = {
        {"Long", {REG_DWORD_, {1, 2, 3, 4, 5, 6, 7, 8}}, std::int32_t{0x04030201}},  // its first four bytes
        {"Big", {REG_DWORD_BIG_ENDIAN_, {4, 3, 2, 1}}, std::int32_t{0x04030201}},
    };
    for (const auto& [name, data, value] : stored) {
        backend.SetValue(HKEY_CURRENT_USER_, kOptions, name, data);
        cRegistry reg = OptionsValue(backend, name, REG_SZ_);
        EXPECT_EQ(reg.Value(), value) << name;
        EXPECT_EQ(reg.ValueType(), data.type) << name;
    }
}

TEST_F(WinePrefix, ReadsEveryKindOfValueWineWrites) {
    WineRegistryBackend reg = Backend();
    const auto user = HKEY_CURRENT_USER_;
    EXPECT_TRUE(reg.OpenForQuery(user, "software\\VIRTUAL-E\\virtuale\\options")) << "keys match without case";
    EXPECT_TRUE(reg.OpenForQuery(user, "Software\\Wine\\Deep")) << "a key that holds only sub-keys exists";
    EXPECT_FALSE(reg.OpenForQuery(user, "Software\\Virtual"));
    EXPECT_FALSE(reg.OpenForQuery(HKEY_LOCAL_MACHINE_, "Software")) << "no system.reg here";

    const std::string tool = "Software\\Emulators\\Tool";
    EXPECT_EQ(Text(reg.Query(user, tool, "")), Z("Default \"quoted\" text"));
    EXPECT_EQ(Text(reg.Query(user, tool, "path")), Z("C:\\Games\\VB \xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(reg.Query(user, tool, "Home")->type, REG_EXPAND_SZ_);
    EXPECT_EQ(Text(reg.Query(user, tool, "Home")), Z("%USERPROFILE%\\VB"));
    EXPECT_EQ(reg.Query(user, tool, "List")->type, REG_MULTI_SZ_);
    EXPECT_EQ(Text(reg.Query(user, tool, "List")), std::string("one\0two\0\0", 9));
    EXPECT_EQ(Text(reg.Query(user, tool, "Tabbed")), Z("a\tb"));
    EXPECT_EQ(reg.Query(user, tool, "LEVEL")->bytes, Dword(42).bytes);

    // Hex data over continuation lines, as Wine wraps it; damaged hex is no value.
    const WineRegistryFile hex(
        "WINE REGISTRY Version 2\n\n[A] 1\n\"Font\"=hex:f5,ff,\\\n  00,22\n\"Odd\"=hex:01,0\n\"BadHigh\"=hex:01,g2\n"
        "\"BadLow\"=hex:01,2g\n");
    EXPECT_EQ(hex.Find("A", "Font"), (RegistryData{REG_BINARY_, {0xf5, 0xff, 0x00, 0x22}}));
    for (const char* name : {"Odd", "BadHigh", "BadLow"}) EXPECT_FALSE(hex.Find("A", name)) << name;
}

TEST_F(WinePrefix, WritesChangeOnlyTheirOwnLinesAndTheirKeysTimes) {
    WineRegistryBackend reg = Backend();
    const auto user = HKEY_CURRENT_USER_;
    ASSERT_TRUE(reg.SetValue(user, kOptions, "display", Dword(2)));  // an existing value, named in other case
    ASSERT_TRUE(reg.SetValue(user, kOptions, "Sound", Dword(1)));    // a new one in an existing key
    std::string expected = Replaced(kUserReg, "\"Display\"=dword:00000003", "\"display\"=dword:00000002");
    expected = Replaced(expected, "\"CPU\"=dword:00000001\n", "\"CPU\"=dword:00000001\n\"Sound\"=dword:00000001\n");
    expected =
        Replaced(expected, "Options] 1796539400\n#time=1dd854cd9570c00", "Options] 1797715756\n#time=1dd900000000000");
    EXPECT_EQ(UserReg(), expected);

    // The program writes numbers only; what it hands a running Wine is UTF-16, past 16 bits too.
    EXPECT_EQ(Utf16FromUtf8("\xF0\x90\x80\x80"), std::u16string(u"\U00010000"));
}

TEST_F(WinePrefix, FirstUseCreatesTheKeysAtTheEndAndKeepsWindowsLineEnds) {
    // A file saved with CR LF and without a last line end, whose keys all sort first.
    std::string crlf = "WINE REGISTRY Version 2\r\n\r\n[AppEvents] 1\r\n#time=1\r\n\"A\"=\"b\"";
    WriteText(dir.File("user.reg"), crlf);
    WineRegistryBackend reg = Backend();
    cRegistry cursor = OptionsValue(reg, "Skip");
    cursor.SetValue(std::int32_t{5});
    EXPECT_EQ(UserReg(), crlf +
                             "\r\n\r\n[Software\\\\Virtual-E\\\\VIRTUALE\\\\Options] 1797715756\r\n"
                             "#time=1dd900000000000\r\n\"Skip\"=dword:00000005\r\n");
}

TEST_F(WinePrefix, WithoutAPrefixReadsFindNothingAndWritesSayWhy) {
    WineRegistryBackend none((dir.Path() / "nowhere").string(), wine.Environment());
    EXPECT_FALSE(none.OpenForQuery(HKEY_CURRENT_USER_, kOptions));
    cRegistry::SetExecutableName("kestro-utils");
    cRegistry cursor = OptionsValue(none, "Display");
    const auto error = Raised([&] { cursor.SetValue(std::int32_t{2}); });
    ASSERT_TRUE(error) << "a write without a prefix went through";
    EXPECT_EQ(error->Number(), 26001);
    EXPECT_EQ(error->Source(), "kestro-utils.cRegistry");
    EXPECT_STREQ(error->what(),
                 "Failed to set registry value Key: '-2147483647',Section: "
                 "'Software\\Virtual-E\\VIRTUALE\\Options',Key: 'Display' to value: '2'");
    EXPECT_NE(error->Reason().find("There is no Wine prefix at " + (dir.Path() / "nowhere").string()),
              std::string::npos);
    EXPECT_NE(error->Reason().find("wineboot -i"), std::string::npos);
    EXPECT_EQ(RegistryErrorMessage(*error).text.rfind("Run-time error '26001':\r\rFailed to set registry value", 0),
              0u);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "nowhere")) << "no half-made prefix";

    std::filesystem::remove(dir.File("user.reg"));
    WineRegistryBackend noUser = Backend();
    EXPECT_FALSE(noUser.SetValue(HKEY_CURRENT_USER_, kOptions, "Display", Dword(2)));
    EXPECT_NE(noUser.FailureReason().find("has no user.reg yet"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("user.reg")));

    WriteText(dir.File("user.reg"), "REGEDIT4\n");  // not Wine's: left alone
    EXPECT_FALSE(noUser.SetValue(HKEY_CURRENT_USER_, kOptions, "Display", Dword(2)));
    EXPECT_NE(noUser.FailureReason().find("not a registry file written by Wine"), std::string::npos);
    EXPECT_EQ(UserReg(), "REGEDIT4\n");
}

TEST_F(WinePrefix, WhileWineRunsWritesGoToItsServerInOneImport) {
    wine.serverRunning = true;
    WineRegistryBackend reg = Backend();
    WriteNumbers(reg, kOptions, {{"Display", 4}, {"Sound", 4}});
    ASSERT_EQ(wine.imports.size(), 1u);
    EXPECT_EQ(wine.imports[0],
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Virtual-E\\VIRTUALE\\Options]\r\n"
              "\"Display\"=dword:00000004\r\n\"Sound\"=dword:00000004\r\n");
    EXPECT_EQ(UserReg(), kUserReg) << "the file, which the server will write over, is not touched";
    cRegistry cursor = OptionsValue(reg, "Sound");
    EXPECT_EQ(std::get<std::int32_t>(cursor.Value()), 4) << "what the server holds is read back";

    // Opened afresh, or changed by the emulator itself: the server's values, not the file's stale ones,
    // read in one export for the key (whose form, regedit's, differs from the file's).
    wine.served = RegImportText({{"HKEY_CURRENT_USER\\Software\\Virtual-E\\VIRTUALE\\Options", "Display", Dword(1)}});
    WineRegistryBackend fresh = Backend();
    cRegistry again = OptionsValue(fresh, "Display");
    {
        const RegistryReadGroup oneLook(again);
        EXPECT_TRUE(again.KeyExists());
        EXPECT_EQ(std::get<std::int32_t>(again.Value()), 1) << "the file says 3";
    }
    EXPECT_EQ(wine.exports, 2) << "one export for the first read, one for all read together";

    wine.serverRunning = false;  // the server saved and ended: the file speaks again
    EXPECT_TRUE(std::holds_alternative<std::monostate>(cursor.Value()));

    // An import Wine refuses is the user's error, not a silent loss.
    wine.serverRunning = true;
    wine.exitCode = 1;
    cursor.SetValueKey("Display");
    const auto refused = Raised([&] { cursor.SetValue(std::int32_t{1}); });
    ASSERT_TRUE(refused) << "a refused import went unreported";
    EXPECT_NE(refused->Reason().find("reg: Unable to import the file"), std::string::npos);
    EXPECT_NE(refused->Reason().find("Close the emulator"), std::string::npos);
}

TEST_F(WinePrefix, OneSaveIsStoredWholeOrNotAtAll) {
    WineRegistryBackend reg = Backend();
    cRegistry cursor = OptionsValue(reg, "Display");
    {
        RegistryWriteGroup group(cursor);
        cursor.SetValue(std::int32_t{4});
        cursor.SetValueKey("CPU");
        cursor.SetValue(std::int32_t{4});
        cursor.SetValueType(REG_BINARY_);
        EXPECT_THROW(cursor.SetValue(std::int32_t{4}), RegistryError);  // a fault half-way through the save
    }
    EXPECT_EQ(UserReg(), kUserReg) << "nothing of the abandoned save was stored";
}

// A pipe where Wine keeps its server's socket, and a user.reg the user made read-only
// (a pipe or device in its place is refused as every file read refuses one).
TEST_F(WinePrefix, AServerPipeIsNotWaitedOnAndAReadOnlyFileIsNotReplaced) {
    ASSERT_EQ(::mkfifo(dir.File("wineserver").c_str(), 0600), 0);
    EXPECT_FALSE(WineServerRunning(dir.Path().string())) << "and did not wait for a writer";

    // Read-only: root may write anything, so the write is tried as nobody.
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
    std::filesystem::permissions(dir.File("user.reg"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read |
                                                           std::filesystem::perms::others_read);
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    if (::fork() == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(1);
        WineRegistryBackend asUser = Backend();
        asUser.SetValue(HKEY_CURRENT_USER_, kOptions, "Display", Dword(2));
        const std::string reason = asUser.FailureReason();
        ::_exit(::write(channel[1], reason.data(), reason.size()) < 0);
    }
    ::close(channel[1]);
    char text[512];
    const auto size = ::read(channel[0], text, sizeof text);
    ::close(channel[0]);
    ::wait(nullptr);
    EXPECT_EQ(std::string(text, size > 0 ? size : 0), "Cannot write " + dir.File("user.reg") + ": Permission denied.");
}

TEST(RealWine, WrittenValuesAreWhatWineReadsWithOrWithoutItsServer) {
    if (RunShell("command -v wine && command -v wineboot && command -v wineserver").status != 0) {
        GTEST_SKIP() << "Wine is not installed (Debian package \"wine\"); the real-Wine check is skipped.";
    }
    kestro::test::TempDir dir;
    const std::string prefix = (dir.Path() / "prefix").string();
    const std::string env = "WINEPREFIX='" + prefix + "' WINEDEBUG=-all ";
    auto boot = RunShell(env + "timeout 600 wineboot -i; " + env + "timeout 120 wineserver -w");
    ASSERT_TRUE(std::filesystem::exists(prefix + "/user.reg")) << "wineboot made no prefix:\n" << boot.text;
    ASSERT_FALSE(WineServerRunning(prefix));

    // With no server: the file is edited, and only the key written changes.
    const std::string before = FileText(prefix + "/user.reg");
    WineRegistryBackend backend(prefix);
    WriteNumbers(backend, kOptions, {{"Display", 2}, {"CPU", 3}, {"Brtness", -5}});
    const std::string after = FileText(prefix + "/user.reg");
    EXPECT_EQ(Without(after, "Software\\\\Virtual-E\\\\VIRTUALE\\\\Options"), before);
    auto query = RunShell(env + "timeout 300 wine reg query 'HKCU\\Software\\Virtual-E\\VIRTUALE\\Options'");
    EXPECT_NE(query.text.find("Display    REG_DWORD    0x2"), std::string::npos) << query.text;
    EXPECT_NE(query.text.find("Brtness    REG_DWORD    0xfffffffb"), std::string::npos) << query.text;

    // With a server running: an edit of the file would be lost, so the values go through it.
    // All three streams away from our pipe, or reading it waits for the server to end.
    RunShell(env + "wineserver -p 120 >/dev/null 2>&1 </dev/null");
    for (int i = 0; i < 100 && !WineServerRunning(prefix); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(WineServerRunning(prefix)) << "the server was not seen running";
    const std::string served = FileText(prefix + "/user.reg");
    WriteNumbers(backend, kKeypad, {{"A Button", 77}, {"Start", 66}});
    EXPECT_EQ(FileText(prefix + "/user.reg"), served) << "the server's file is left to the server";
    // Read back at once, with a value Wine's own "reg add" gave the server meanwhile (as the
    // emulator saves its own): what the server holds, which its file does not show yet.
    query = RunShell(
        env + "timeout 300 wine reg add 'HKCU\\Software\\Virtual-E\\VIRTUALE\\Keypad' /v Select /t REG_DWORD /d 90 /f");
    ASSERT_EQ(query.status, 0) << query.text;
    WineRegistryBackend fresh(prefix);
    cRegistry reg = OptionsValue(fresh, "", REG_DWORD_, kKeypad);
    const RegistryReadGroup oneLook(reg);
    for (const auto& [name, value] : {std::pair{"A Button", 77}, {"Select", 90}}) {
        reg.SetValueKey(name);
        EXPECT_EQ(std::get<std::int32_t>(reg.Value()), value) << name;
    }
    RunShell(env + "wineserver -k");
}
