// SPDX-License-Identifier: GPL-3.0-or-later
// The Wine prefix's registry files: read as Wine writes them, edited so that
// only the values written (and their key's time lines) change.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "base/FileRead.h"
#include "base/WineRegistry.h"
#include "support/core/FakePrograms.h"
#include "support/core/TempDir.h"

using namespace kestro::base;

namespace {

// A user.reg as Wine 8 leaves it after a few programs ran: escapes, an
// expandable text, a multi-text, hex data over continuation lines, a default
// value, a key that exists only through its sub-key, and a class line.
const std::string kUserReg = R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Control Panel\\Desktop] 1796539211
#time=1dd854ca497f536
"DragFullWindows"="0"
"UserPreferencesMask"=hex:30,00,00,80,12,00,00,00
"WheelScrollLines"="3"

[Control Panel\\Desktop\\WindowMetrics] 1796539211
#time=1dd854ca497e91a
"CaptionFont"=hex:f5,ff,ff,ff,00,00,00,00,00,00,00,00,00,00,00,00,bc,02,00,00,\
  00,00,00,00,00,00,00,22,4d,00,53,00,20,00,53,00,68,00,65,00,6c,00,6c,00,20,\
  00,44,00,6c,00,67,00
"CaptionHeight"="18"

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

using kestro::test::FileText;
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

std::int32_t Number(const std::optional<RegistryData>& data) {
    if (!data || data->bytes.size() != 4) return -1;
    return data->bytes[0] | data->bytes[1] << 8 | data->bytes[2] << 16 | data->bytes[3] << 24;
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

// The registry class on a number under Virtual-E's options key, as its window uses it.
cRegistry OptionsValue(RegistryBackend& backend, const char* value) {
    cRegistry cursor(backend);
    cursor.SetClassKey(HKEY_CURRENT_USER_);
    cursor.SetSectionKey(kOptions);
    cursor.SetValueKey(value);
    cursor.SetValueType(REG_DWORD_);
    return cursor;
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

class WinePrefix : public ::testing::Test {
protected:
    void SetUp() override { WriteText(dir.File("user.reg"), kUserReg); }
    WineRegistryBackend Backend() { return WineRegistryBackend(dir.Path().string(), wine.Environment()); }
    std::string UserReg() { return FileText(dir.File("user.reg")); }

    kestro::test::TempDir dir;
    FakeWine wine;
};

}  // namespace

TEST_F(WinePrefix, ReadsEveryKindOfValueWineWrites) {
    WineRegistryBackend reg = Backend();
    const auto user = HKEY_CURRENT_USER_;
    EXPECT_TRUE(reg.OpenForQuery(user, "software\\VIRTUAL-E\\virtuale\\options")) << "keys match without case";
    EXPECT_TRUE(reg.OpenForQuery(user, "Software\\Wine\\Deep")) << "a key that holds only sub-keys exists";
    EXPECT_TRUE(reg.OpenForQuery(user, "Software\\Virtual-E"));
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
    EXPECT_EQ(Number(reg.Query(user, tool, "LEVEL")), 42);
    EXPECT_FALSE(reg.Query(user, tool, "Missing"));

    auto font = reg.Query(user, "Control Panel\\Desktop\\WindowMetrics", "CaptionFont");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->type, REG_BINARY_);
    ASSERT_EQ(font->bytes.size(), 52u) << "continuation lines are joined";
    EXPECT_EQ(font->bytes[27], 0x22);
    EXPECT_EQ(font->bytes[48], 0x6c);
    EXPECT_EQ(Text(reg.Query(user, "Control Panel\\Desktop\\WindowMetrics", "CaptionHeight")), Z("18"));

    // Through the registry class, as Virtual-E's window reads it.
    cRegistry cursor = OptionsValue(reg, "Display");
    EXPECT_TRUE(cursor.KeyExists());
    EXPECT_EQ(std::get<std::int32_t>(cursor.Value()), 3);
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

    // A new key, made by its first value, goes where Wine itself would put it, between its neighbours.
    ASSERT_TRUE(reg.SetValue(user, "Software\\Virtual-E\\VIRTUALE\\Keypad", "A Button", Dword(77)));
    expected = Replaced(expected, "[Software\\\\Virtual-E\\\\VIRTUALE\\\\Options]",
                        "[Software\\\\Virtual-E\\\\VIRTUALE\\\\Keypad] 1797715756\n#time=1dd900000000000\n"
                        "\"A Button\"=dword:0000004d\n\n[Software\\\\Virtual-E\\\\VIRTUALE\\\\Options]");
    EXPECT_EQ(UserReg(), expected);

    // Texts are escaped as Wine escapes them, and read back whole.
    const std::string text = "C:\\VB \"x\"\t\xC3\xA9";
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    ASSERT_TRUE(reg.SetValue(user, "Software\\Emulators\\Tool", "Path", {REG_SZ_, bytes}));
    EXPECT_NE(UserReg().find("\"Path\"=\"C:\\\\VB \\\"x\\\"\\t\\xe9\"\n"), std::string::npos);
    EXPECT_EQ(reg.Query(user, "Software\\Emulators\\Tool", "Path")->bytes, bytes);
    EXPECT_EQ(Utf16FromUtf8("\xF0\x90\x80\x80"), std::u16string(u"\U00010000")) << "the first past 16 bits";

    // Long binary data wraps as Wine wraps it and reads back the same.
    std::vector<std::uint8_t> blob(40);
    for (std::size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(reg.SetValue(user, "Software\\Emulators\\Tool", "Blob", {REG_BINARY_, blob}));
    EXPECT_NE(UserReg().find(",\\\n  "), std::string::npos);
    ASSERT_TRUE(reg.SetValue(user, "Software\\Emulators\\Tool", "Short", {REG_BINARY_, {1, 2, 3}}));
    EXPECT_NE(UserReg().find("\n\"Short\"=hex:01,02,03\n"), std::string::npos) << "no comma after the last byte";
    EXPECT_EQ(reg.Query(user, "Software\\Emulators\\Tool", "Blob")->bytes, blob);
    EXPECT_EQ(Number(reg.Query(user, "Software\\Emulators\\Tool", "Level")), 42) << "its neighbours are intact";
}

TEST_F(WinePrefix, FirstUseCreatesTheKeysAtTheEndAndKeepsWindowsLineEnds) {
    // A file saved with CR LF and without a last line end, whose keys all sort first.
    std::string crlf = "WINE REGISTRY Version 2\r\n\r\n[AppEvents] 1\r\n#time=1\r\n\"A\"=\"b\"";
    WriteText(dir.File("user.reg"), crlf);
    WineRegistryBackend reg = Backend();
    cRegistry cursor = OptionsValue(reg, "Skip");
    EXPECT_FALSE(cursor.KeyExists());
    cursor.SetValue(std::int32_t{5});
    EXPECT_TRUE(cursor.KeyExists());
    EXPECT_EQ(std::get<std::int32_t>(cursor.Value()), 5);
    EXPECT_EQ(UserReg(), crlf +
                             "\r\n\r\n[Software\\\\Virtual-E\\\\VIRTUALE\\\\Options] 1797715756\r\n"
                             "#time=1dd900000000000\r\n\"Skip\"=dword:00000005\r\n");
}

TEST_F(WinePrefix, WithoutAPrefixReadsFindNothingAndWritesSayWhy) {
    WineRegistryBackend none((dir.Path() / "nowhere").string(), wine.Environment());
    EXPECT_FALSE(none.OpenForQuery(HKEY_CURRENT_USER_, kOptions));
    cRegistry cursor = OptionsValue(none, "Display");
    const auto error = Raised([&] { cursor.SetValue(std::int32_t{2}); });
    ASSERT_TRUE(error) << "a write without a prefix went through";
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
    cRegistry cursor = OptionsValue(reg, "Display");
    {
        RegistryWriteGroup group(cursor);
        for (const char* name : {"Display", "Sound"}) {
            cursor.SetValueKey(name);
            cursor.SetValue(std::int32_t{4});
        }
        EXPECT_TRUE(wine.imports.empty()) << "held until the group ends";
        group.Commit();
    }
    ASSERT_EQ(wine.imports.size(), 1u);
    EXPECT_EQ(wine.imports[0],
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Virtual-E\\VIRTUALE\\Options]\r\n"
              "\"Display\"=dword:00000004\r\n\"Sound\"=dword:00000004\r\n");
    EXPECT_EQ(UserReg(), kUserReg) << "the file, which the server will write over, is not touched";
    cursor.SetValueKey("Sound");
    EXPECT_EQ(std::get<std::int32_t>(cursor.Value()), 4) << "what the server holds is read back";

    // Opened afresh, or changed by the emulator itself: the server's values, not the file's stale ones,
    // read in one export for the key (whose form, regedit's, differs from the file's).
    const std::string key = "HKEY_CURRENT_USER\\Software\\Virtual-E\\VIRTUALE\\Options", path = Z("C:\\VB \xC3\xA9");
    wine.served = RegImportText({{key, "Display", Dword(1)}, {key, "Path", {REG_SZ_, {path.begin(), path.end()}}}});
    WineRegistryBackend fresh = Backend();
    cRegistry again = OptionsValue(fresh, "Display");
    {
        const RegistryReadGroup oneLook(again);
        EXPECT_TRUE(again.KeyExists());
        EXPECT_EQ(std::get<std::int32_t>(again.Value()), 1) << "the file says 3";
        again.SetValueKey("Path");
        EXPECT_EQ(std::get<std::string>(again.Value()), "C:\\VB \xC3\xA9");
        EXPECT_EQ(again.EnumerateValues(), (std::vector<std::string>{"Display", "Path"}));
    }
    EXPECT_EQ(wine.exports, 2) << "one export for the first read, one for all read together";
    again.DeleteValue();
    EXPECT_NE(wine.imports.back().find("\"Path\"=-\r\n"), std::string::npos);

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

// Something other than a file where Wine keeps one: refused at once, in one sentence each.
TEST_F(WinePrefix, APipeOrAReadOnlyFileIsRefusedAtOnce) {
    ASSERT_EQ(::mkfifo(dir.File("wineserver").c_str(), 0600), 0);
    EXPECT_FALSE(WineServerRunning(dir.Path().string())) << "and did not wait for a writer";
    std::filesystem::rename(dir.File("user.reg"), dir.File("saved.reg"));
    ASSERT_EQ(::mkfifo(dir.File("user.reg").c_str(), 0600), 0);
    WineRegistryBackend reg = Backend();
    EXPECT_FALSE(reg.OpenForQuery(HKEY_CURRENT_USER_, kOptions));
    EXPECT_FALSE(reg.SetValue(HKEY_CURRENT_USER_, kOptions, "Display", Dword(2)));
    EXPECT_EQ(reg.FailureReason(), "Cannot read " + dir.File("user.reg") + ": " + kNotARegularFile + ".");

    // Read-only: root may write anything, so the write is tried as nobody.
    std::filesystem::remove(dir.File("user.reg"));
    std::filesystem::rename(dir.File("saved.reg"), dir.File("user.reg"));
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

// The operations the program itself does not use, alike over memory and over a prefix's file.
TEST_F(WinePrefix, KeysAndValuesAreCreatedListedAndDeletedAlike) {
    MemoryRegistryBackend memory;
    WineRegistryBackend wineFile = Backend();
    for (RegistryBackend* backend : std::initializer_list<RegistryBackend*>{&memory, &wineFile}) {
        cRegistry reg(*backend);
        reg.SetClassKey(HKEY_CURRENT_USER_);
        reg.SetSectionKey("Software\\Kestro\\Games\\Blox");
        reg.CreateKey();
        reg.SetSectionKey("Software\\Kestro");
        EXPECT_EQ(reg.EnumerateSections(), std::vector<std::string>{"Games"});
        reg.SetSectionKey("Software\\Kestro\\Games");
        EXPECT_EQ(reg.EnumerateSections(), std::vector<std::string>{"Blox"});
        reg.SetValueType(REG_SZ_);
        for (const char* name : {"Title", "Maker"}) {
            reg.SetValueKey(name);
            reg.SetValue(std::string("x"));
        }
        EXPECT_EQ(reg.EnumerateValues(), (std::vector<std::string>{"Title", "Maker"}));
        reg.SetValueKey("title");
        reg.DeleteValue();
        EXPECT_EQ(reg.EnumerateValues(), std::vector<std::string>{"Maker"});
        const std::pair<void (cRegistry::*)(), std::string> refusals[] = {
            {&cRegistry::DeleteValue,
             "Failed to delete registry Key: '-2147483647',Section: 'Software\\Kestro\\Games',Key: 'title'"},
            {&cRegistry::DeleteKey, "Failed to delete registry Key: '-2147483647',Section: 'Software\\Kestro\\Games'"},
        };
        for (const auto& [operation, text] : refusals)
            EXPECT_STREQ(Raised([&] { (reg.*operation)(); }).value_or(RegistryError("", "none")).what(), text.c_str());
        reg.SetSectionKey("Software\\Kestro\\Games\\Blox");
        reg.DeleteKey();
        EXPECT_FALSE(reg.KeyExists());
        EXPECT_TRUE(reg.EnumerateValues().empty());
        EXPECT_THROW(reg.DeleteValue(), RegistryError) << "Failed to open key '...' for delete access";
        reg.SetSectionKey("Software\\Kestro\\Games");
        EXPECT_TRUE(reg.KeyExists());
        EXPECT_TRUE(reg.EnumerateSections().empty());
    }
    EXPECT_EQ(UserReg().find("Blox"), std::string::npos);
    EXPECT_FALSE(WineRegistryFile(kUserReg).DeleteKey("Software\\Wine\\Deep", kNow)) << "it holds a key";
    EXPECT_NE(UserReg().find("\n[Software\\\\Kestro\\\\Games] 1797715756\n#time=1dd900000000000\n\"Maker\"=\"x\"\n"),
              std::string::npos);
    memory.DenyWrites(HKEY_CURRENT_USER_);
    cRegistry denied(memory);
    denied.SetClassKey(HKEY_CURRENT_USER_);
    denied.SetSectionKey("Software\\New");
    EXPECT_STREQ(Raised([&] { denied.CreateKey(); }).value_or(RegistryError("", "none")).what(),
                 "Failed to create registry Key: '-2147483647',Section: 'Software\\New'");
}
