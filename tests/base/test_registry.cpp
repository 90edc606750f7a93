// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/Registry.h"

using namespace kestro::base;

namespace {
constexpr char kKey[] = "Software\\Virtual-E\\VIRTUALE\\Options";

cRegistry At(RegistryBackend& backend, const std::string& value, std::int32_t type) {
    cRegistry reg(backend);
    reg.SetClassKey(HKEY_CURRENT_USER_);
    reg.SetSectionKey(kKey);
    reg.SetValueKey(value);
    reg.SetValueType(type);
    return reg;
}
}  // namespace

TEST(Registry, KeyExistsTestsTheKeyOnly) {
    MemoryRegistryBackend backend;
    cRegistry reg = At(backend, "Missing", REG_SZ_);
    EXPECT_FALSE(reg.KeyExists());
    backend.CreateKey(HKEY_CURRENT_USER_, kKey);
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(reg.Value())) << "absent value reads as the default";
    EXPECT_EQ(RegistryValueText(reg.Value()), "");
    reg.SetSectionKey("software\\virtual-e\\virtuale\\OPTIONS");
    EXPECT_TRUE(reg.KeyExists()) << "key paths compare without case";

    backend.DenyQuery(HKEY_CURRENT_USER_, "Software\\Locked");
    reg.SetSectionKey("Software\\Locked");
    EXPECT_FALSE(reg.KeyExists());
}

TEST(Registry, EachTypeRoundTrips) {
    MemoryRegistryBackend backend;
    cRegistry text = At(backend, "Text", REG_SZ_);
    text.SetValue(std::string("C:\\VirtualE"));
    EXPECT_EQ(std::get<std::string>(text.Value()), "C:\\VirtualE");
    EXPECT_EQ(text.ValueType(), REG_SZ_);

    cRegistry number = At(backend, "Number", REG_DWORD_);
    number.SetValue(std::int32_t{-2});
    EXPECT_EQ(std::get<std::int32_t>(number.Value()), -2);
    backend.SetValue(HKEY_CURRENT_USER_, kKey, "Long", {REG_DWORD_, {1, 2, 3, 4, 5, 6, 7, 8}});
    EXPECT_EQ(std::get<std::int32_t>(At(backend, "Long", REG_DWORD_).Value()), 0x04030201) << "its first four bytes";

    cRegistry bytes = At(backend, "Bytes", REG_BINARY_);
    bytes.SetValue(std::vector<std::uint8_t>{1, 2, 250});
    EXPECT_EQ(std::get<std::vector<std::uint8_t>>(bytes.Value()), (std::vector<std::uint8_t>{1, 2, 250}));

    // Multi-text keeps its embedded separators.
    std::vector<std::uint8_t> multi{'a', 0, 'b', 0, 0};
    backend.SetValue(HKEY_CURRENT_USER_, kKey, "Multi", {REG_MULTI_SZ_, multi});
    cRegistry m = At(backend, "Multi", REG_SZ_);
    EXPECT_EQ(std::get<std::string>(m.Value()), std::string("a\0b\0", 4));
    EXPECT_EQ(m.ValueType(), REG_MULTI_SZ_);

    // Big-endian numbers are written native and read reversed.
    cRegistry reg = At(backend, "Big", REG_DWORD_BIG_ENDIAN_);
    reg.SetValue(std::int32_t{0x01020304});
    auto stored = backend.Query(HKEY_CURRENT_USER_, kKey, "Big");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, REG_DWORD_);
    EXPECT_EQ(stored->bytes, (std::vector<std::uint8_t>{4, 3, 2, 1}));

    backend.SetValue(HKEY_CURRENT_USER_, kKey, "Stored5", {REG_DWORD_BIG_ENDIAN_, {4, 3, 2, 1}});
    cRegistry five = At(backend, "Stored5", REG_SZ_);
    EXPECT_EQ(std::get<std::int32_t>(five.Value()), 0x04030201);
    EXPECT_EQ(five.ValueType(), REG_DWORD_BIG_ENDIAN_);
}

TEST(Registry, PercentNamesDecideExpandableText) {
    EXPECT_TRUE(HasExpandableName("%HOME%\\roms"));
    EXPECT_TRUE(HasExpandableName("a%B%"));
    EXPECT_FALSE(HasExpandableName("100%"));
    EXPECT_FALSE(HasExpandableName("%%"));
    EXPECT_FALSE(HasExpandableName("plain"));

    setenv("KESTRO_TEST_DIR", "/srv/vb", 1);
    MemoryRegistryBackend backend;
    cRegistry reg = At(backend, "Path", REG_SZ_);
    reg.SetValue(std::string("%KESTRO_TEST_DIR%/roms %UNKNOWN_NAME_X%"));
    EXPECT_EQ(backend.Query(HKEY_CURRENT_USER_, kKey, "Path")->type, REG_EXPAND_SZ_);
    EXPECT_EQ(std::get<std::string>(reg.Value()), "/srv/vb/roms %UNKNOWN_NAME_X%");

    reg.SetValue(std::string("50%% off"));
    EXPECT_EQ(backend.Query(HKEY_CURRENT_USER_, kKey, "Path")->type, REG_SZ_);
    EXPECT_EQ(std::get<std::string>(reg.Value()), "50%% off");
}

TEST(Registry, FailedWriteRaises26001WithItsText) {
    MemoryRegistryBackend backend;
    backend.DenyWrites(HKEY_CURRENT_USER_);
    cRegistry::SetExecutableName("kestro-utils");
    cRegistry reg = At(backend, "Width", REG_DWORD_);
    try {
        reg.SetValue(std::int32_t{384});
        FAIL() << "no error raised";
    } catch (const RegistryError& e) {
        EXPECT_EQ(e.Number(), 26001);
        EXPECT_EQ(e.Source(), "kestro-utils.cRegistry");
        EXPECT_STREQ(e.what(),
                     "Failed to set registry value Key: '-2147483647',Section: "
                     "'Software\\Virtual-E\\VIRTUALE\\Options',Key: 'Width' to value: '384'");
    }

    // A number where bytes are needed is refused the same way.
    MemoryRegistryBackend writable;
    cRegistry wrongKind = At(writable, "Blob", REG_BINARY_);
    EXPECT_THROW(wrongKind.SetValue(std::int32_t{1}), RegistryError);
}
