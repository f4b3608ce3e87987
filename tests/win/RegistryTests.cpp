// The registry accessor of the program's key: created on opening, values as strings.
#include <gtest/gtest.h>

#include "framework/Error.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/WinText.h"

namespace {

struct RegistryTest : ::testing::Test {
    const std::u16string key = u"Software\\Tamberlo\\CorvalendTests\\" + fw::IntToStr(GetCurrentProcessId());
    ~RegistryTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, fw::AsWide(key)); }

    bool KeyExists() const {
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, fw::AsWide(key), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
        RegCloseKey(handle);
        return true;
    }
};

}  // namespace

TEST_F(RegistryTest, OpeningToReadCreatesTheKey) {
    ASSERT_FALSE(KeyExists());
    const fw::RegistryIni registry(key);
    EXPECT_TRUE(KeyExists());
    EXPECT_TRUE(registry.ReadBool(u"FirstUse", true));
    EXPECT_EQ(registry.ReadString(u"AddHotKey_Func", u"none"), u"none");
}

TEST_F(RegistryTest, WritesStringsAndReadsNumbersFromThem) {
    {
        fw::RegistryIni registry(key);
        registry.WriteBool(u"FirstUse", false);
        registry.WriteString(u"Number", u"-42");
        registry.WriteString(u"Text", u"\u00E4 openfile");
        registry.WriteString(u"Hex", u"$1F");
        registry.WriteString(u"Hex2", u"0x10");
        registry.WriteString(u"Bad", u"abc");
    }
    const fw::RegistryIni registry(key);
    EXPECT_EQ(registry.ReadString(u"FirstUse", u""), u"0");
    EXPECT_FALSE(registry.ReadBool(u"FirstUse", true));
    EXPECT_EQ(registry.ReadInteger(u"Number", 0), -42);
    EXPECT_EQ(registry.ReadString(u"Text", u""), u"\u00E4 openfile");
    EXPECT_EQ(registry.ReadInteger(u"Hex", 0), 31);
    EXPECT_EQ(registry.ReadInteger(u"Hex2", 0), 16);
    EXPECT_EQ(registry.ReadInteger(u"Bad", 7), 7);
    EXPECT_TRUE(registry.ReadBool(u"Bad", true));
    EXPECT_FALSE(registry.ReadBool(u"Bad", false));

    // A value of another type reads as missing.
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, fw::AsWide(key), 0, KEY_SET_VALUE, &handle), ERROR_SUCCESS);
    const DWORD one = 1;
    RegSetValueExW(handle, L"Dword", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
    RegCloseKey(handle);
    EXPECT_EQ(registry.ReadInteger(u"Dword", 5), 5);
}
