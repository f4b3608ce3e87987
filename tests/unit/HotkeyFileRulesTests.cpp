// The hotkey file's backup kept safe from files that hold no hotkeys, and offered back at start.
#include <gtest/gtest.h>

#include "core/HotkeyFileRules.h"
#include "tests/support/MemoryFileStore.h"

using namespace corvalend;

namespace {
const std::u16string kFile = u"C:\\hotkeys.ini", kBak = kFile + u".bak", kDamaged = kFile + u".damaged";
const std::string kGood = "[k]\nfunc=close", kCutShort = fw::EncodeUtf16LE(u"[k]\na", true), kZeros(9, '\0');
const fw::Windows1252CodePage kAnsi;
struct FakeQuestion final : RestoreQuestion {
    explicit FakeQuestion(bool yes) : yes(yes) {}
    std::u16string LastWriteText(const std::u16string& path) const override { return path + u" 10:30"; }
    bool AskYesNo(const std::u16string& question) override { return asked.push_back(question), yes; }
    std::vector<std::u16string> asked;
    bool yes;
};
}  // namespace

TEST(HotkeyFileRules, ADamagedFileIsOfferedItsBackupAndNoFileWithoutHotkeysReplacesABackupWithSome) {
    const std::u16string question =
        u"The hotkey file holds no hotkeys Corvalend can read. Restore the copy saved on " + kBak + u" 10:30?";
    // The file, its backup, whether the start offers the backup, whether a save leaves the backup alone.
    const std::tuple<std::string, std::string, bool, bool> cases[] = {
        {kZeros, kGood, true, true},          {kCutShort, kGood, true, true},
        {"[k]\nfunc=Max", kGood, true, true}, {fw::EncodeUtf16LE(u" \n", true), kGood, false, true},
        {kGood, kGood, false, false},         {kZeros, kCutShort, false, false},
        {kZeros, "locked", false, false},     {"", kGood, false, true}};
    for (const auto& [file, backup, offered, leftAlone] : cases) {
        for (const bool yes : {true, false}) {
            MemoryFileStore files;
            files.files = {{kFile, file}, {kBak, backup}, {kDamaged, "older"}};
            files.unreadable.insert(backup == "locked" ? kBak : u"");
            const auto before = files.files;
            FakeQuestion asker(yes);
            EXPECT_EQ(OfferBackupOfDamagedFile(kFile, files, kAnsi, asker), offered && yes) << file;
            EXPECT_EQ(asker.asked, std::vector<std::u16string>(offered, question)) << file;
            const decltype(before) restored{{kFile, backup}, {kBak, backup}, {kDamaged, file}};
            EXPECT_EQ(files.files, offered && yes ? restored : before) << file;
            if (yes) continue;
            FakeRegistrar registrar;
            THotkeyList(HotkeySystem{registrar, files, kAnsi}).SaveToFile(kFile);
            EXPECT_EQ(files.files[kBak], leftAlone ? backup : file) << file;
        }
    }
}
