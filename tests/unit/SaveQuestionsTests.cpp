// The questions before a save, by tables of cases (the keystrokes' one in SendKeysTests).
#include <gtest/gtest.h>

#include <map>

#include "framework/Text.h"
#include "ui/SaveQuestions.h"

using namespace corvalend;

namespace {

constexpr int32_t kCtrlAlt = kModCtrl | kModAlt;

// Each layout's name, and what it types by key | modifiers << 8.
struct FakeLayouts final : KeyboardLayouts {
    std::vector<std::pair<std::u16string, std::map<int, std::u16string>>> all{
        {u"United States", {{'E' | kCtrlAlt << 8, u"\r"}}},
        {u"German", {{'E' | kCtrlAlt << 8, u"\u20AC"}, {'Q' | kCtrlAlt << 8, u"@"}}},
        {u"Polish", {{'E' | kCtrlAlt << 8, u"\u0119"}, {'E' | (kCtrlAlt | kModShift) << 8, u"\u0118"}}}};
    size_t Count() override { return all.size(); }
    std::u16string Name(size_t layout) override { return all.at(layout).first; }
    std::u16string Typed(size_t layout, uint8_t key, int32_t modifiers) override {
        return all.at(layout).second.contains(key | modifiers << 8) ? all.at(layout).second.at(key | modifiers << 8)
                                                                    : u"";
    }
};

}  // namespace

TEST(SaveQuestions, CombinationThatTypesACharacterNamesTheFirstLayout) {
    FakeLayouts layouts;
    const std::u16string anyway = u"\". Use it as a hotkey anyway?";
    const std::tuple<uint16_t, int32_t, std::u16string> cases[] = {
        {'E', kCtrlAlt, u"On the German keyboard layout, CTRL+ALT+E types \"\u20AC" + anyway},
        {'E', kCtrlAlt | kModShift, u"On the Polish keyboard layout, CTRL+ALT+SHIFT+E types \"\u0118" + anyway},
        {'E', kCtrlAlt | kModWin, u""},
        {'E', kModCtrl, u""}};
    for (const auto& [key, shift, expected] : cases) {
        EXPECT_EQ(TypedCharacterQuestion(key, shift, std::u16string(1, key), layouts), expected) << key << " " << shift;
    }
}

TEST(SaveQuestions, StepsAskWhatTheyNeedAndAcceptedCombinationsAreNotAskedAgain) {
    FakeLayouts layouts;
    const auto noClose = [](std::u16string_view keys) {
        return KeyStringProblem{KeyStringProblem::NoClose, 0, keys.size()};
    };
    const auto ask = [&](const THotKeyData& hotkey, SaveStep step, const THotKeyData& accepted = {}) {
        return SaveQuestions(hotkey, step, accepted, u"Q", layouts, noClose);
    };
    const THotKeyData keys{.Active = true, .Key = 'Q', .Shift = kCtrlAlt, .Func = hkfSendKeys, .Params = u"{X<?CR?>"};
    EXPECT_EQ(ask(keys, SaveStep::KeyPage).size(), 1u);
    EXPECT_EQ(ask(keys, SaveStep::Save).at(1),
              u"The keystrokes have a problem at character 1: \"{X\r\" has no closing \"}\". Save them anyway?");
    EXPECT_EQ(ask(keys, SaveStep::Save, keys).size(), 1u) << "the combination was accepted before";
    const std::u16string empty = u"This hotkey has no parameter, so it will do nothing. Save it anyway?";
    for (const THotKeyFunc f : {hkfOpenFile, hkfOpenFileAdmin, hkfOpenWebsite, hkfPlaceFileContentInClipboard}) {
        EXPECT_EQ(ask({.Func = f, .Params = u" <?TAB?> "}, SaveStep::Save), std::vector{empty}) << f;
        EXPECT_TRUE(ask({.Func = f, .Params = u"x"}, SaveStep::Save).empty()) << f;
    }
    EXPECT_TRUE(ask({.Func = hkfPlaceInClipboard}, SaveStep::Save).empty());
}
