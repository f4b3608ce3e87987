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
    for (const std::string& bytes : {std::string("not hotkeys"), THotkeyList(system).FileBytes(), other.FileBytes()}) {
        files.files[u"other.ini"] = bytes;
        const bool holds = bytes == other.FileBytes();
        EXPECT_EQ(ImportHotkeyFile(own, u"other.ini", system),
                  holds ? std::optional(TImportCount{2, 1}) : std::nullopt);
        EXPECT_EQ(own.Count(), holds ? 4 : 2);
    }
    EXPECT_EQ(own.GetItem(2)->HotKeyData.Params + own.GetItem(3)->HotKeyData.Params, u"bw");
    EXPECT_EQ(ImportedText(TImportCount{12, 3}),
              u"Imported 12 hotkeys; skipped 3 whose combination is already in use.");
    EXPECT_EQ(ImportedText(TImportCount{1, 1}), u"Imported 1 hotkey; skipped 1 whose combination is already in use.");
    EXPECT_EQ(ImportedText(TImportCount{1, 0}), u"Imported 1 hotkey.");
}
