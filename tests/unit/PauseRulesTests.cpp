// A pause keeps only the pause hotkeys registered, and none refused to be retried; the tip says so.
#include <gtest/gtest.h>

#include "core/PauseRules.h"
#include "tests/support/MemoryFileStore.h"

using namespace corvalend;

TEST(PauseRules, OnlyThePauseHotkeyStaysAndResumingRegistersAndRefusesAsBefore) {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    THotkeyList list({registrar, files, ansi});
    registrar.reserved.insert({kModCtrl, 'R'});  // another program holds the second
    for (const char key : {'M', 'R', 'P'})
        list.Add(true, key, kModCtrl, key == 'P' ? hkfPauseHotkeys : hkfClose, u"", u"", u"");
    for (const bool paused : {false, true, false}) {
        RegisterAsPauseAllows(list, paused);
        EXPECT_EQ(registrar.IsRegistered(kModCtrl, 'M'), !paused);
        EXPECT_TRUE(registrar.IsRegistered(kModCtrl, 'P'));
        EXPECT_EQ(list.RefusedForOther(1), !paused) << "marked and retried only while not paused";
        EXPECT_EQ(TrayTip(u"Corvalend", paused), paused ? u"Corvalend (paused)" : u"Corvalend");
    }
}
