// Import of another hotkey file: which hotkeys come after the user's own, and what the user is told.
#include <gtest/gtest.h>

#include "core/HotkeyImportRules.h"
#include "tests/support/MemoryFileStore.h"

using namespace corvalend;

TEST(HotkeyImport, AHotkeyComesUnlessAnActiveOwnHotkeyHasItsCombinationAndTheCountsAreTold) {
    MemoryFileStore files;
    FakeRegistrar registrar;
    const fw::Windows1252CodePage ansi;
    const HotkeySystem system{registrar, files, ansi};
    THotkeyList own(system), other(system);
    own.Add(true, 'A', kModCtrl, hkfClose, u"", u"", u"");
    own.Add(false, 'B', kModCtrl, hkfMinimize, u"", u"", u"");
    other.Add(true, 'A', kModCtrl, hkfMaximize, u"", u"", u"");    // an active own hotkey has it: skipped
    other.Add(false, 'B', kModCtrl, hkfSendKeys, u"b", u"", u"");  // the own one is inactive: comes
    other.Add(true, 'A', kModAlt, hkfOpenWebsite, u"w", u"", u"");
    files.files[u"other.ini"] = other.FileBytes();
    EXPECT_EQ(ImportHotkeyFile(own, u"other.ini", system), (TImportCount{.imported = 2, .skipped = 1}));
    ASSERT_EQ(own.Count(), 4);
    EXPECT_EQ(own.GetItem(2)->HotKeyData.Params, u"b");
    EXPECT_EQ(own.GetItem(3)->HotKeyData.Func, hkfOpenWebsite);

    for (const std::string& bytes :
         {std::string("not a hotkey file"), THotkeyList(system).FileBytes(), std::string()}) {
        files.files[u"other.ini"] = bytes;
        EXPECT_EQ(ImportHotkeyFile(own, u"other.ini", system), std::nullopt) << bytes;
        EXPECT_EQ(own.Count(), 4);
    }
    const std::pair<TImportCount, std::u16string> texts[] = {
        {{12, 3}, u"Imported 12 hotkeys; skipped 3 whose combination is already in use."},
        {{1, 1}, u"Imported 1 hotkey; skipped 1 whose combination is already in use."},
        {{1, 0}, u"Imported 1 hotkey."},
        {{0, 2}, u"Imported 0 hotkeys; skipped 2 whose combination is already in use."}};
    for (const auto& [count, text] : texts) EXPECT_EQ(ImportedText(count), text);
}
