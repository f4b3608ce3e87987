// The action catalogue, the hotkey list's operations and registration against a recording registrar.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Hotkeys.h"
#include "framework/Error.h"
#include "tests/support/MemoryFileStore.h"

using namespace corvalend;

namespace {

class RecordingItems final : public fw::ItemList {
public:
    void Clear() override { items.clear(); }
    void AddItem(const std::u16string& text, intptr_t object) override { items.emplace_back(text, object); }
    std::vector<std::pair<std::u16string, intptr_t>> items;
};

struct HotkeyListTest : ::testing::Test {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
};

}  // namespace

TEST(ActionCatalogue, StoredNamesAreExactAndRoundTrip) {
    for (int f = hkfMaximize; f < kHotKeyFuncCount; ++f) {
        const auto func = static_cast<THotKeyFunc>(f);
        EXPECT_EQ(StrToHotKeyFunc(HotKeyFuncToStr(func)), func) << f;
    }
    EXPECT_EQ(HotKeyFuncToStr(hkfNoAction), u"");
    EXPECT_EQ(HotKeyFuncToStr(hkfSendKeys), u"sendkeystrokes");
    EXPECT_EQ(StrToHotKeyFunc(u"placefilecontentinclipboard"), hkfPlaceFileContentInClipboard);
    for (const char16_t* name : {u"Maximize", u"MAXIMIZE", u"", u" maximize", u"maximize ", u"unknown"}) {
        EXPECT_EQ(StrToHotKeyFunc(name), hkfNoAction);
    }
    EXPECT_EQ(HotKeyFuncToCaption(hkfNoAction), u"Unknown action");
    EXPECT_EQ(HotKeyFuncToCaption(hkfOpenFileAdmin), u"Open file as administrator");
    EXPECT_EQ(HotKeyFuncToCaption(hkfPlaceFileContentInClipboard), u"Place file content in clipboard");
}

TEST(ActionCatalogue, MenuOrderAndWindowStates) {
    RecordingItems list;
    FillHotKeyFuncs(list);
    ASSERT_EQ(list.items.size(), 13u);
    const intptr_t expected[] = {1, 2, 3, 4, 12, 9, 10, 11, 5, 6, 7, 8};
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(list.items[i].second, expected[i]) << i;
        EXPECT_EQ(list.items[i].first, HotKeyFuncToCaption(static_cast<THotKeyFunc>(expected[i])));
    }
    EXPECT_EQ(list.items[4].first, u"Open file as administrator");
    EXPECT_EQ(list.items[11].first, u"Send keystrokes");

    EXPECT_EQ(WindowStateList(hkfMaximize), WindowStateList(hkfOpenFile));
    const TWindowStateList states = WindowStateList(hkfOpenFile);
    ASSERT_EQ(states.size(), 3u);
    EXPECT_EQ(states[1], std::make_pair(std::u16string(u"MAXIMIZED"), std::u16string(u"Maximized window")));

    list.items = {{u"old", 1}, {u"older", 2}};
    FillWindowStates(list, hkfOpenFile);
    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(list.items[0].first, u"Normal window");
    EXPECT_EQ(list.items[2].first, u"Minimized window");
}

TEST(ActionCatalogue, ParameterPredicates) {
    auto truthy = [](bool (*predicate)(THotKeyFunc)) {
        std::vector<int> set;
        for (int f = 0; f < kHotKeyFuncCount; ++f) {
            if (predicate(static_cast<THotKeyFunc>(f))) set.push_back(f);
        }
        return set;
    };
    EXPECT_EQ(truthy(HotKeyFuncHasParams), (std::vector<int>{4, 8, 9, 10, 11, 12}));
    EXPECT_EQ(truthy(HotKeyFuncBrowsesFile), (std::vector<int>{4, 11, 12}));
    EXPECT_EQ(truthy(HotKeyFuncEditsText), (std::vector<int>{8}));
    EXPECT_EQ(truthy(HotKeyFuncHasParams2), (std::vector<int>{4, 12}));
    EXPECT_EQ(truthy(HotKeyFuncHasParams3), (std::vector<int>{4, 12}));
}

// The boxes of both editing windows, the hotkey text and the registration read the one table.
TEST(Modifiers, TicksAndBitsInTheTablesOrder) {
    const struct {
        TModifierTicks ticks;
        int32_t shift;
    } cases[] = {
        {{false, false, false, false}, 0}, {{true, false, false, false}, 1},  // ALT
        {{false, true, false, false}, 2},                                     // CTRL
        {{false, false, true, false}, 4},                                     // SHIFT
        {{false, false, false, true}, 8},                                     // WIN
        {{false, true, false, true}, 10},  {{true, true, true, true}, 15},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShiftStateOf(c.ticks), c.shift);
        EXPECT_EQ(ModifierTicksOf(c.shift), c.ticks) << c.shift;
    }
    for (int32_t shift = 0; shift < 16; ++shift) EXPECT_EQ(ShiftStateOf(ModifierTicksOf(shift)), shift);
    EXPECT_EQ(ModifierTicksOf(0x30 | kModCtrl), (TModifierTicks{false, true, false, false})) << "other bits ignored";
}

TEST_F(HotkeyListTest, AddFindDeleteAndBounds) {
    THotkeyList list(system);
    TGlobalHotKey* a = list.Add(true, 78, 8, hkfOpenFile, u"notepad.exe", u"", u"");
    TGlobalHotKey* b = list.Add(false, 78, 8, hkfClose, u"", u"", u"");
    TGlobalHotKey* c = list.Add(true, 65, 3, hkfMaximize, u"", u"", u"");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(a->KeyList, b->KeyList);
    EXPECT_EQ(a->Atom(), 0);
    EXPECT_EQ(list.FindHotKey(78, 8), a);  // the first of two equal combinations
    EXPECT_EQ(list.FindHotKey(65, 3), c);
    EXPECT_EQ(list.FindHotKey(65, 2), nullptr);
    EXPECT_EQ(list.IndexOf(c), 2);
    EXPECT_EQ(list.IndexOf(nullptr), -1);

    try {
        list.GetItem(3);
        FAIL() << "no error";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Text(), u"List index out of bounds (3)");
    }
    EXPECT_THROW(list.Delete(-1), fw::Error);
    EXPECT_EQ(list.Count(), 3);

    list.Delete(0);
    EXPECT_EQ(list.GetItem(0), b);
    EXPECT_EQ(list.FindHotKey(78, 8), b);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(HotkeyListTest, RegistersUnderTheCombinationsAtomAndWithdrawsOnFree) {
    {
        THotkeyList list(system);
        TGlobalHotKey* winN = list.Add(true, 78, 8, hkfOpenFile, u"", u"", u"");
        TGlobalHotKey* winO = list.Add(true, 111, 8, hkfOpenFile, u"", u"", u"");
        TGlobalHotKey* bare = list.Add(true, 0x70, 0, hkfMaximize, u"", u"", u"");
        list.RegisterKeys();
        EXPECT_NE(winN->Atom(), 0);
        EXPECT_EQ(registrar.AtomRefs(u"corvalend-78-8"), 1);
        EXPECT_EQ(registrar.AtomRefs(u"corvalend-111-8"), 1);
        EXPECT_TRUE(registrar.IsRegistered(8, 78));
        EXPECT_TRUE(registrar.IsRegistered(8, 111));
        EXPECT_TRUE(registrar.IsRegistered(0, 0x70));  // no modifiers: the bare key
        EXPECT_FALSE(winO->Refused());
        EXPECT_FALSE(bare->Refused());

        winN->RegisterHotkey();  // registering twice takes no second reference
        EXPECT_EQ(registrar.AtomRefs(u"corvalend-78-8"), 1);

        list.Delete(0);
        EXPECT_FALSE(registrar.IsRegistered(8, 78));
        EXPECT_EQ(registrar.AtomRefs(u"corvalend-78-8"), 0);

        winO->UnregisterHotkey();
        EXPECT_EQ(winO->Atom(), 0);
        const size_t callsBefore = registrar.calls.size();
        winO->UnregisterHotkey();  // a second withdrawal does nothing
        EXPECT_EQ(registrar.calls.size(), callsBefore);
    }
    EXPECT_EQ(registrar.RegisteredCount(), 0u);
    EXPECT_TRUE(registrar.atoms.empty());
}

TEST_F(HotkeyListTest, RefusedCombinationKeepsNoAtom) {
    THotkeyList list(system);
    TGlobalHotKey* first = list.Add(true, 78, 8, hkfOpenFile, u"", u"", u"");
    TGlobalHotKey* second = list.Add(true, 78, 8, hkfClose, u"", u"", u"");
    registrar.reserved.insert({2, 65});
    TGlobalHotKey* reserved = list.Add(true, 65, 2, hkfClose, u"", u"", u"");
    list.RegisterKeys();

    EXPECT_NE(first->Atom(), 0);
    EXPECT_FALSE(first->Refused());
    EXPECT_EQ(second->Atom(), 0);
    EXPECT_TRUE(second->Refused());
    EXPECT_EQ(reserved->Atom(), 0);
    EXPECT_TRUE(reserved->Refused());
    EXPECT_EQ(registrar.AtomRefs(u"corvalend-78-8"), 1);
    EXPECT_EQ(registrar.AtomRefs(u"corvalend-65-2"), 0);

    list.Clear();
    EXPECT_TRUE(registrar.atoms.empty());
    EXPECT_EQ(registrar.RegisteredCount(), 0u);
}

TEST_F(HotkeyListTest, FailedAtomMeansNoRegistration) {
    THotkeyList list(system);
    TGlobalHotKey* item = list.Add(true, 78, 8, hkfOpenFile, u"", u"", u"");
    registrar.atomTableFull = true;
    list.RegisterKeys();
    EXPECT_EQ(item->Atom(), 0);
    EXPECT_EQ(registrar.RegisteredCount(), 0u);
    EXPECT_EQ(registrar.calls, std::vector<std::string>{"AddAtom corvalend-78-8"});
}

TEST_F(HotkeyListTest, RefusedWithdrawalKeepsTheAtom) {
    THotkeyList list(system);
    TGlobalHotKey* item = list.Add(true, 78, 8, hkfOpenFile, u"", u"", u"");
    item->RegisterHotkey();
    const uint16_t atom = item->Atom();
    registrar.registered.clear();  // the system no longer knows the registration
    item->UnregisterHotkey();
    EXPECT_EQ(item->Atom(), atom);
    EXPECT_EQ(registrar.AtomRefs(u"corvalend-78-8"), 1);
}

namespace {

class RecordingTimer final : public RetryTimer {
public:
    void Start() override { calls.push_back("start"); }
    void Stop() override { calls.push_back("stop"); }
    std::vector<std::string> calls;
};

size_t CountCalls(const FakeRegistrar& registrar, const std::string& prefix) {
    return static_cast<size_t>(std::count_if(registrar.calls.begin(), registrar.calls.end(),
                                             [&](const std::string& call) { return call.starts_with(prefix); }));
}

}  // namespace

TEST_F(HotkeyListTest, OnlyHotkeysRefusedForAnotherProgramAreRetriedAndOnlyThenTheTimerRuns) {
    THotkeyList list(system);
    RecordingTimer timer;
    THotkeyRetry retry(timer);
    registrar.reserved.insert({2, 65});
    registrar.reserved.insert({4, 66});
    TGlobalHotKey* held = list.Add(true, 65, 2, hkfClose, u"", u"", u"");
    TGlobalHotKey* alsoHeld = list.Add(true, 66, 4, hkfClose, u"", u"", u"");
    TGlobalHotKey* first = list.Add(true, 78, 8, hkfOpenFile, u"", u"", u"");
    TGlobalHotKey* twin = list.Add(true, 78, 8, hkfClose, u"", u"", u"");
    list.RegisterKeys();
    ASSERT_TRUE(held->Refused() && alsoHeld->Refused() && twin->Refused());
    EXPECT_FALSE(list.RefusedForOther(list.IndexOf(twin))) << "its own twin holds it: retrying cannot help";
    retry.UpdateTimer(list);
    EXPECT_EQ(timer.calls, std::vector<std::string>{"start"});

    // Still held: tried again, the twin never; the timer goes on without being started again.
    registrar.calls.clear();
    EXPECT_FALSE(retry.Retry(list));
    EXPECT_EQ(CountCalls(registrar, "RegisterHotKey"), 2u);
    EXPECT_EQ(timer.calls, std::vector<std::string>{"start"});

    // One let go: taken, and the timer runs for the other.
    registrar.reserved.erase({2, 65});
    EXPECT_TRUE(retry.Retry(list));
    EXPECT_FALSE(held->Refused());
    EXPECT_NE(held->Atom(), 0);
    EXPECT_TRUE(registrar.IsRegistered(2, 65));
    EXPECT_TRUE(retry.TimerRunning());

    // The last let go: the timer stops, and with nothing refused a retry registers nothing.
    registrar.reserved.erase({4, 66});
    EXPECT_TRUE(retry.Retry(list));
    EXPECT_FALSE(alsoHeld->Refused());
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"start", "stop"}));
    registrar.calls.clear();
    EXPECT_FALSE(retry.Retry(list));
    EXPECT_EQ(CountCalls(registrar, "RegisterHotKey"), 0u);
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"start", "stop"}));

    // The first twin withdrawn (a reload, say): the other twin may take the combination.
    first->UnregisterHotkey();
    EXPECT_TRUE(list.RefusedForOther(list.IndexOf(twin)));
    EXPECT_TRUE(retry.Retry(list));
    EXPECT_FALSE(twin->Refused());
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"start", "stop"}));
}
