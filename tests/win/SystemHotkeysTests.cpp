// Registration with the system: atoms named after the combination, key presses arriving at the
// registrar from the program's hotkey window, refusals and withdrawals that leave nothing behind.
#include <gtest/gtest.h>

#include <deque>

#include "core/SystemHotkeys.h"
#include "framework/Application.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

namespace {

struct Press {
    uint16_t id;
    uint32_t modifiers, key;
};

struct SystemHotkeysTest : ::testing::Test {
    fw::Application app{GetModuleHandleW(nullptr)};
    std::deque<Press> presses;
    SystemHotkeys registrar{[this](uint16_t id, uint32_t modifiers, uint32_t key) {
        presses.push_back({id, modifiers, key});
    }};
    fw::Win32FileStore files;
    fw::SystemAnsiCodePage ansi;
    HotkeySystem system{registrar, files, ansi};

    // The next press the registrar heard of; none when it never came.
    std::optional<Press> NextHotkey() {
        std::optional<Press> hotkey;
        if (wintest::WaitFor("a hotkey press", [&] { return !presses.empty(); })) {
            hotkey = presses.front();
            presses.pop_front();
        }
        return hotkey;
    }

    static std::u16string AtomName(uint16_t atom) {
        wchar_t name[64] = {};
        GlobalGetAtomNameW(atom, name, 64);
        return fw::FromWide(name);
    }
    static bool AtomExists(const std::u16string& name) { return GlobalFindAtomW(fw::AsWide(name)) != 0; }
};

}  // namespace

TEST_F(SystemHotkeysTest, PressesArriveWithModifiersAndKey) {
    THotkeyList list(system);
    TGlobalHotKey* altShiftF9 = list.Add(true, VK_F9, MOD_ALT | MOD_SHIFT, hkfClose, u"", u"", u"");
    TGlobalHotKey* winN = list.Add(true, 'N', MOD_WIN, hkfOpenFile, u"", u"", u"");
    TGlobalHotKey* ctrlO = list.Add(true, 'O', MOD_CONTROL, hkfOpenFile, u"", u"", u"");
    TGlobalHotKey* bareF7 = list.Add(true, VK_F7, 0, hkfMaximize, u"", u"", u"");
    list.RegisterKeys();
    EXPECT_EQ(AtomName(winN->Atom()), u"corvalend-78-8");
    EXPECT_EQ(AtomName(ctrlO->Atom()), u"corvalend-79-2");
    EXPECT_EQ(AtomName(altShiftF9->Atom()), u"corvalend-120-5");
    EXPECT_GE(bareF7->Atom(), 0xC000);

    for (TGlobalHotKey* item : {altShiftF9, winN, ctrlO, bareF7}) {
        const THotKeyData& d = item->HotKeyData;
        wintest::PressCombination(d.Shift, d.Key);
        const auto hotkey = NextHotkey();
        ASSERT_TRUE(hotkey.has_value()) << fw::Utf16ToUtf8(AtomName(item->Atom()));
        EXPECT_EQ(hotkey->id, item->Atom());
        EXPECT_EQ(hotkey->modifiers, static_cast<uint32_t>(d.Shift));
        EXPECT_EQ(hotkey->key, static_cast<uint32_t>(d.Key));
    }

    list.Delete(0);
    EXPECT_FALSE(AtomExists(u"corvalend-120-5"));
    // The deleted one, then one still registered: the system reports presses in their order, so the
    // next message is the second's.
    wintest::PressCombination(MOD_ALT | MOD_SHIFT, VK_F9);
    wintest::PressCombination(MOD_WIN, 'N');
    const auto hotkey = NextHotkey();
    ASSERT_TRUE(hotkey.has_value());
    EXPECT_EQ(hotkey->id, winN->Atom()) << "the deleted hotkey still arrived";
}

TEST_F(SystemHotkeysTest, RefusedCombinationsLeakNoAtom) {
    // Another window holds CTRL+SHIFT+F11 already.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT, VK_F11));
    {
        THotkeyList list(system);
        TGlobalHotKey* taken = list.Add(true, VK_F11, MOD_CONTROL | MOD_SHIFT, hkfClose, u"", u"", u"");
        TGlobalHotKey* first = list.Add(true, VK_F10, MOD_CONTROL | MOD_SHIFT, hkfClose, u"", u"", u"");
        TGlobalHotKey* twin = list.Add(true, VK_F10, MOD_CONTROL | MOD_SHIFT, hkfMinimize, u"", u"", u"");
        list.RegisterKeys();
        list.RegisterKeys();  // again: no second reference

        EXPECT_TRUE(taken->Refused());
        EXPECT_EQ(taken->Atom(), 0);
        EXPECT_FALSE(AtomExists(u"corvalend-122-6"));
        EXPECT_FALSE(first->Refused());
        EXPECT_TRUE(twin->Refused());
        EXPECT_EQ(twin->Atom(), 0);

        list.Delete(0);
        list.Delete(0);  // the first of the twins: its atom goes with it
        EXPECT_FALSE(AtomExists(u"corvalend-121-6"));
    }
    UnregisterHotKey(nullptr, 1);

    // With the other program gone, the combination can be had again.
    THotkeyList list(system);
    list.Add(true, VK_F11, MOD_CONTROL | MOD_SHIFT, hkfClose, u"", u"", u"");
    list.RegisterKeys();
    EXPECT_FALSE(list.GetItem(0)->Refused());
    list.UnregisterKeys();
    EXPECT_EQ(list.GetItem(0)->Atom(), 0);
    EXPECT_FALSE(AtomExists(u"corvalend-122-6"));
}
