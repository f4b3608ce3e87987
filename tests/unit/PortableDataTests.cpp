// A portable copy's places and its settings file: the choice of folder, and values kept line by line.
#include <gtest/gtest.h>

#include "core/DataPlaceRules.h"
#include "framework/IniSettings.h"
#include "framework/Text.h"
#include "tests/support/MemoryFileStore.h"

namespace {

struct FakeFolders final : corvalend::DataFolderSystem {
    bool FileExists(const std::u16string& path) const override { return path == marker; }
    std::optional<std::u16string> MakeWritable(const std::u16string& folder) override {
        made.push_back(folder);
        return refusal;
    }
    std::u16string marker;
    std::optional<std::u16string> refusal;
    std::vector<std::u16string> made;
};

}  // namespace

TEST(PortableData, TheMarkerBesideTheProgramKeepsEverythingInItsDataFolder) {
    FakeFolders folders;
    auto choice = corvalend::ChooseDataPlaces(u"D:\\Tools\\Corvalend.exe", u"C:\\Roaming\\hotkeys.ini", folders);
    EXPECT_EQ(choice.places.hotkeyFile, u"C:\\Roaming\\hotkeys.ini");
    EXPECT_EQ(choice.places.settingsFile, u"") << "installed: the registry";
    EXPECT_TRUE(folders.made.empty()) << "an installed copy makes no folder beside itself";

    folders.marker = u"D:\\Tools\\Corvalend.portable";
    choice = corvalend::ChooseDataPlaces(u"D:\\Tools\\Corvalend.exe", u"C:\\Roaming\\hotkeys.ini", folders);
    EXPECT_EQ(choice.places.hotkeyFile, u"D:\\Tools\\Data\\hotkeys.ini");
    EXPECT_EQ(choice.places.settingsFile, u"D:\\Tools\\Data\\settings.ini");
    EXPECT_EQ(folders.made, std::vector<std::u16string>{u"D:\\Tools\\Data"});
    EXPECT_EQ(choice.problem, std::nullopt);

    folders.refusal = u"Access is denied";
    choice = corvalend::ChooseDataPlaces(u"D:\\Tools\\Corvalend.exe", u"C:\\Roaming\\hotkeys.ini", folders);
    EXPECT_EQ(choice.problem,
              u"Corvalend cannot write to its Data folder beside the program (D:\\Tools\\Data): "
              u"Access is denied. A portable copy needs a folder it may write to.");
    EXPECT_EQ(choice.places.hotkeyFile, u"") << "nowhere else instead";
}

TEST(PortableData, SettingsFileValuesChangeInPlaceAndTheRestStays) {
    const struct {
        std::u16string before;
        std::optional<std::u16string_view> value;
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
        if (c.value) settings.Write(u"FirstUse", *c.value);
        if (!c.value) EXPECT_TRUE(settings.Delete(u"FirstUse"));
        EXPECT_EQ(files.files[u"settings.ini"], fw::EncodeUtf16LE(c.after, true)) << fw::Utf16ToUtf8(c.before);
        EXPECT_EQ(settings.Read(u"firstUSE"), c.value) << fw::Utf16ToUtf8(c.before);
    }
}
