// A portable copy's places and its settings file: the choice of folder, and values kept line by line.
#include <gtest/gtest.h>

#include "core/DataPlaceRules.h"
#include "framework/IniSettings.h"
#include "tests/support/MemoryFileStore.h"

namespace {

// The marker stands beside every program on D:, and D:\Locked may not be written.
struct FakeFolders final : corvalend::DataFolderSystem {
    bool FileExists(const std::u16string& path) const override { return path.starts_with(u"D:"); }
    std::optional<std::u16string> MakeWritable(const std::u16string& folder) override {
        return folder.starts_with(u"D:\\Locked") ? std::optional<std::u16string>(u"Access is denied") : std::nullopt;
    }
};

}  // namespace

TEST(PortableData, TheMarkerBesideTheProgramKeepsEverythingInItsDataFolder) {
    FakeFolders folders;
    const auto choose = [&](const std::u16string& program) {
        const auto choice = corvalend::ChooseDataPlaces(program, u"C:\\R\\hotkeys.ini", folders);
        return choice.places.hotkeyFile + u"|" + choice.places.settingsFile + u"|" + choice.problem.value_or(u"");
    };
    EXPECT_EQ(choose(u"C:\\P\\Corvalend.exe"), u"C:\\R\\hotkeys.ini||") << "installed: the registry";
    EXPECT_EQ(choose(u"D:\\T\\Corvalend.exe"), u"D:\\T\\Data\\hotkeys.ini|D:\\T\\Data\\settings.ini|");
    EXPECT_EQ(choose(u"D:\\Locked\\Corvalend.exe"),
              u"||Corvalend cannot write to its Data folder beside the program (D:\\Locked\\Data): Access is denied. "
              u"A portable copy needs a folder it may write to.")
        << "nowhere else instead";
}

TEST(PortableData, SettingsFileValuesChangeInPlaceAndTheRestStays) {
    const struct {
        std::u16string before;
        std::optional<std::u16string_view> value;  // none: deleted
        std::u16string after;
    } cases[] = {
        {u"", u"0", u"[Settings]\r\nFirstUse=0\r\n"},
        {u"; mine\n[Other]\nFirstUse=7\n", u"0",
         u"; mine\r\n[Other]\r\nFirstUse=7\r\n\r\n[Settings]\r\nFirstUse=0\r\n"},
        {u"[settings]\r\n a=1\r\n\r\n[Other]\r\n", u"0", u"[settings]\r\n a=1\r\nFirstUse=0\r\n\r\n[Other]\r\n"},
        {u"[Settings]\r\n firstuse = 1 \r\nb=2\r\n", u"0", u"[Settings]\r\nFirstUse=0\r\nb=2\r\n"},
        {u"[Settings]\r\nFirstUse=1\r\nb=2\r\n", std::nullopt, u"[Settings]\r\nb=2\r\n"},
    };
    for (const auto& c : cases) {
        MemoryFileStore files;
        const fw::Windows1252CodePage ansi;
        fw::IniSettings settings(files, ansi, u"settings.ini", u"Settings");
        if (!c.before.empty()) files.files[u"settings.ini"] = fw::EncodeUtf16LE(c.before, true);
        EXPECT_TRUE(c.value ? (settings.Write(u"FirstUse", *c.value), true) : settings.Delete(u"FirstUse"));
        EXPECT_EQ(files.files[u"settings.ini"], fw::EncodeUtf16LE(c.after, true));
        EXPECT_EQ(settings.Read(u"firstUSE"), c.value);
    }
}
