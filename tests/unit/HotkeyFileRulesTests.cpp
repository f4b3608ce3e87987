// The backup kept safe from hotkey files that hold none, and the offer to restore it at start.
#include <gtest/gtest.h>

#include "core/HotkeyFileRules.h"
#include "tests/support/MemoryFileStore.h"

using namespace corvalend;

namespace {

const std::u16string kFile = u"C:\\Data\\hotkeys.ini";
const std::u16string kBak = kFile + u".bak";
const std::string kGood = fw::EncodeUtf16LE(u"[key0]\r\nactive=0\r\nfunc=close\r\n", true);
const std::string kCutShort = fw::EncodeUtf16LE(u"[key0]\r\nactive=1\r\nke", true);
const std::string kZeros(64, '\0');

struct FakeQuestion final : RestoreQuestion {
    std::u16string LastWriteText(const std::u16string& path) const override { return path + u" 10:30"; }
    bool AskYesNo(const std::u16string& question) override { return asked.push_back(question), yes; }
    std::vector<std::u16string> asked;
    bool yes = true;
};

}  // namespace

TEST(HotkeyFileRules, DamagedMeansNotBlankYetNoHotkeyTheLoaderKeeps) {
    const fw::Windows1252CodePage ansi;
    const std::pair<std::string, bool> cases[] = {{"", false},
                                                  {"\xFF\xFE", false},
                                                  {fw::EncodeUtf16LE(u" \r\n\t", true), false},
                                                  {kGood, false},
                                                  {kZeros, true},
                                                  {"\x89PNG\r\n\x1A\n\x01", true},
                                                  {kCutShort, true},
                                                  {"[k]\nfunc=Maximize\n", true}};
    for (const auto& [bytes, damaged] : cases) EXPECT_EQ(HotkeyFileDamaged(bytes, ansi), damaged) << bytes;
}

TEST(HotkeyFileRules, ASaveNeverPutsAFileWithoutHotkeysInPlaceOfABackupWithSome) {
    struct Case {
        std::string file, backup, backupAfter;
    } cases[] = {
        {kZeros, kGood, kGood}, {"\xFF\xFE", kGood, kGood}, {kGood, kZeros, kGood}, {kZeros, kCutShort, kZeros}};
    for (const Case& c : cases) {
        MemoryFileStore files;
        const fw::Windows1252CodePage ansi;
        FakeRegistrar registrar;
        files.files = {{kFile, c.file}, {kBak, c.backup}};
        THotkeyList(HotkeySystem{registrar, files, ansi}).SaveToFile(kFile);
        EXPECT_EQ(files.files[kBak], c.backupAfter) << c.file;
        EXPECT_EQ(files.files[kFile], "\xFF\xFE") << "the new file is written all the same";
    }
}

TEST(HotkeyFileRules, ADamagedFileWithAGoodBackupIsRestoredWhenTheUserSaysYes) {
    const fw::Windows1252CodePage ansi;
    for (const bool yes : {true, false}) {
        MemoryFileStore files;
        files.files = {{kFile, kZeros}, {kBak, kGood}, {kFile + u".damaged", "older"}};
        FakeQuestion question;
        question.yes = yes;
        EXPECT_EQ(OfferBackupOfDamagedFile(kFile, files, ansi, question), yes);
        EXPECT_EQ(question.asked, (std::vector<std::u16string>{u"The hotkey file holds no hotkeys Corvalend can read. "
                                                               u"Restore the copy saved on " +
                                                               kBak + u" 10:30?"}));
        EXPECT_EQ(files.files[kFile], yes ? kGood : kZeros);
        EXPECT_EQ(files.files[kFile + u".damaged"], yes ? kZeros : "older");
        EXPECT_EQ(files.files[kBak], kGood) << "the backup stays";
    }
    // No question without a damaged file that can be read and a readable backup holding hotkeys.
    struct Quiet {
        std::optional<std::string> file, backup;
        std::u16string locked;
    } quiet[] = {{kGood, kGood, u""}, {"", kGood, u""},      {kZeros, {}, u""},     {kZeros, kCutShort, u""},
                 {{}, kGood, u""},    {kZeros, kGood, kBak}, {kZeros, kGood, kFile}};
    for (const Quiet& q : quiet) {
        MemoryFileStore files;
        if (q.file) files.files[kFile] = *q.file;
        if (q.backup) files.files[kBak] = *q.backup;
        files.unreadable.insert(q.locked);
        const auto before = files.files;
        FakeQuestion question;
        EXPECT_FALSE(OfferBackupOfDamagedFile(kFile, files, ansi, question));
        EXPECT_TRUE(question.asked.empty());
        EXPECT_EQ(files.files, before);
    }
}
