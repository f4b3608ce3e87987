// The rules of the actions: placeholders, the parameter fields of each action, window states, web
// addresses, file content for the clipboard, hotkey texts and version numbers.
#include <gtest/gtest.h>

#include <iterator>
#include <utility>

#include "core/ActionRules.h"
#include "framework/TextFile.h"

using namespace corvalend;

namespace {

class FakeKeyNames final : public KeyNames {
public:
    std::u16string LayoutKeyName(uint16_t virtualKey) const override {
        return virtualKey == 0xBA ? u";" : virtualKey == 0x14 ? u"Caps Lock" : u"";
    }
};

}  // namespace

TEST(Placeholders, DecodeAndEncode) {
    EXPECT_EQ(DecodePlaceholders(u"Line1<?CR?><?LF?>Line2<?TAB?>x"), u"Line1\r\nLine2\tx");
    EXPECT_EQ(DecodePlaceholders(u"<?cr?>"), u"<?cr?>");           // case matters
    EXPECT_EQ(DecodePlaceholders(u"<?<?TAB?>CR?>"), u"<?\tCR?>");  // replacements are not scanned again
    EXPECT_EQ(DecodePlaceholders(u"a<?TAB?>"), u"a\t");            // a typed token has no escape
    EXPECT_EQ(EncodePlaceholders(u"a\r\nb\tc\n"), u"a<?CR?><?LF?>b<?TAB?>c<?LF?>");
    for (const char16_t* text : {u"", u"plain", u"\r\n\t\r", u"x\ty\r\nz"}) {
        EXPECT_EQ(DecodePlaceholders(EncodePlaceholders(text)), text);
    }
}

TEST(ActionRules, ParameterFieldsFollowTheCatalogue) {
    const ParameterFields none{};
    const ParameterFields text{.params = true};
    const ParameterFields chosen{.params = true, .chooser = true};
    const ParameterFields file{.params = true, .chooser = true, .params2 = true, .windowState = true};
    const ParameterFields delay{.params = true, .delay = true};
    const std::pair<THotKeyFunc, ParameterFields> cases[] = {
        {hkfNoAction, none},
        {hkfMaximize, none},
        {hkfMinimize, none},
        {hkfClose, none},
        {hkfCaptureWindow, delay},
        {hkfCaptureScreen, delay},
        {hkfExitWindows, none},
        {hkfOpenFile, file},
        {hkfOpenFileAdmin, file},
        {hkfSendKeys, chosen},  // the text dialog
        {hkfPlaceFileContentInClipboard, chosen},
        {hkfOpenWebsite, text},
        {hkfPlaceInClipboard, text},
        {hkfPauseHotkeys, none},
    };
    static_assert(std::size(cases) == kHotKeyFuncCount, "every action");
    for (const auto& [func, fields] : cases) {
        const ParameterFields shown = ParameterFieldsFor(func);
        EXPECT_EQ(shown.params, fields.params) << "action " << int{func};
        EXPECT_EQ(shown.chooser, fields.chooser) << "action " << int{func};
        EXPECT_EQ(shown.params2, fields.params2) << "action " << int{func};
        EXPECT_EQ(shown.windowState, fields.windowState) << "action " << int{func};
        EXPECT_EQ(shown.delay, fields.delay) << "action " << int{func};
    }
}

TEST(ActionRules, WindowStatesAndWebAddresses) {
    EXPECT_EQ(ShowStateFor(u"MAXIMIZED"), ShowState::Maximized);
    EXPECT_EQ(ShowStateFor(u"minimized"), ShowState::Minimized);
    EXPECT_EQ(ShowStateFor(u"Maximized window"), ShowState::Normal);  // a caption, not a name
    EXPECT_EQ(ShowStateFor(u"NORMAL"), ShowState::Normal);
    EXPECT_EQ(ShowStateFor(u""), ShowState::Normal);
    EXPECT_EQ(static_cast<int>(ShowState::Maximized), 3);
    EXPECT_EQ(static_cast<int>(ShowState::Minimized), 2);
    EXPECT_EQ(static_cast<int>(ShowState::Normal), 5);

    EXPECT_EQ(WebAddress(u"example.org/Path"), u"http://example.org/Path");
    EXPECT_EQ(WebAddress(u"HTTPS://Example.org"), u"HTTPS://Example.org");
    EXPECT_EQ(WebAddress(u"http://x"), u"http://x");
    EXPECT_EQ(WebAddress(u"ftp://x"), u"http://ftp://x");
    EXPECT_EQ(WebAddress(u"https:/x"), u"http://https:/x");
}

TEST(ActionRules, FileContentForTheClipboard) {
    const fw::Windows1252CodePage ansi;
    EXPECT_EQ(ClipboardTextFromFile("x", ansi), u"x\r\n");
    EXPECT_EQ(ClipboardTextFromFile("", ansi), u"");
    EXPECT_EQ(ClipboardTextFromFile("a\nb\rc\r\n\r\nd", ansi), u"a\r\nb\r\nc\r\n\r\nd\r\n");
    EXPECT_EQ(ClipboardTextFromFile("\xEF\xBB\xBF\xC3\xA4\n", ansi), u"\u00E4\r\n");
    EXPECT_EQ(ClipboardTextFromFile(std::string("\xFF\xFEx\0\n\0y\0", 8), ansi), u"x\r\ny\r\n");
    EXPECT_EQ(ClipboardTextFromFile("caf\xE9", ansi), u"caf\u00E9\r\n");
}

TEST(ActionRules, HotkeyTexts) {
    const FakeKeyNames names;
    EXPECT_EQ(HotkeyToString(78, 8, names), u"WIN + N");
    EXPECT_EQ(HotkeyToString(116, 6, names), u"CTRL + SHIFT + F5");
    EXPECT_EQ(HotkeyToString(32, 1, names), u"ALT + Space");
    EXPECT_EQ(HotkeyToString(112, 15, names), u"ALT + CTRL + SHIFT + WIN + F1");
    EXPECT_EQ(HotkeyToString(65, 0, names), u"A");
    EXPECT_EQ(HotkeyToString(0x60, 2, names), u"CTRL + 0");
    EXPECT_EQ(HotkeyToString(0x30, 2, names), u"CTRL + 0");
    EXPECT_EQ(HotkeyToString(0x87, 0, names), u"F24");
    EXPECT_EQ(HotkeyToString(0x88, 4, names), u"SHIFT + ");  // no name at all
    EXPECT_EQ(HotkeyToString(0xBA, 2, names), u"CTRL + ;");  // the layout's own name
    EXPECT_EQ(HotkeyToString(0x14, 0, names), u"Caps Lock");
    EXPECT_EQ(HotkeyToString(0x141, 9, names), u"ALT + WIN + ");  // above 255
    EXPECT_EQ(HotkeyToString(0x0D, 0x30, names), u"Enter");       // other bits ignored
}
