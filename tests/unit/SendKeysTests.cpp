// The keystroke sender against a recording keyboard with a US-like layout: the exact key events,
// their order and flags, the message boxes between them, and what is left held at the end.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "core/SendKeys.h"
#include "framework/Error.h"
#include "framework/Text.h"
#include "tests/support/UsLayout.h"
#include "ui/SaveQuestions.h"

using namespace corvalend;

namespace {

constexpr uint8_t kShift = 0x10;
constexpr uint8_t kCtrl = 0x11;
constexpr uint8_t kAlt = 0x12;
constexpr uint8_t kEnter = 0x0D;
constexpr uint8_t kNumLock = 0x90;

// Deliberately unlike the real scan codes, so that a vk passed for a scan code shows; the high
// bits must not reach the event.
uint8_t ScanFor(uint8_t vk) {
    return static_cast<uint8_t>(vk ^ 0xA5);
}

// One step seen by the keyboard: a key event, a Unicode event (vk 0, the unit in `unit`), or a
// message box (vk 0, its text in `box`).
struct Step {
    uint8_t vk = 0;
    uint8_t scan = 0;
    uint32_t flags = 0;
    std::u16string box;
    char16_t unit = 0;
    bool operator==(const Step&) const = default;
};

void PrintTo(const Step& step, std::ostream* out) {
    if (!step.box.empty()) {
        *out << "box \"" << fw::Utf16ToUtf8(step.box) << "\"";
        return;
    }
    static const char* const kKinds[] = {"down", "xdown", "up", "xup"};
    if (step.unit != 0) {
        *out << "unicode " << kKinds[step.flags & 3] << " U+" << std::hex << int(step.unit) << std::dec;
        return;
    }
    *out << kKinds[step.flags & 3] << " 0x" << std::hex << int(step.vk) << " scan 0x" << int(step.scan) << std::dec;
    if (step.flags > 3) *out << " flags " << step.flags;
}

Step Down(uint8_t vk) {
    return {vk, ScanFor(vk), 0, {}};
}
Step Up(uint8_t vk) {
    return {vk, ScanFor(vk), 2, {}};
}
Step ExtendedDown(uint8_t vk) {
    return {vk, ScanFor(vk), 1, {}};
}
Step ExtendedUp(uint8_t vk) {
    return {vk, ScanFor(vk), 3, {}};
}
Step Box(std::u16string text) {
    return {0, 0, 0, std::move(text)};
}

using Steps = std::vector<Step>;

// The text as Unicode input: each UTF-16 unit down, then up.
Steps Typed(std::u16string_view text) {
    Steps steps;
    for (const char16_t unit : text) {
        steps.push_back({0, 0, 0, {}, unit});
        steps.push_back({0, 0, 2, {}, unit});
    }
    return steps;
}

Steps operator+(Steps a, const Steps& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Written as a call so that the commas need no parentheses inside the assertion macros.
template <typename... Each>
Steps Of(Each... steps) {
    return Steps{steps...};
}

Steps Tap(uint8_t vk, int times = 1) {
    Steps steps;
    for (int i = 0; i < times; ++i) {
        steps.push_back(Down(vk));
        steps.push_back(Up(vk));
    }
    return steps;
}

class RecordingKeyboard final : public KeyboardPort {
public:
    void SendKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) override { steps.push_back({vk, scan, flags, {}}); }
    void SendUnicodeEvent(char16_t unit, bool keyUp) override { steps.push_back({0, 0, keyUp ? 2u : 0u, {}, unit}); }
    uint32_t ScanCodeOf(uint8_t vk) override { return 0xE100 | ScanFor(vk); }
    uint16_t KeyForChar(char16_t c) override {
        ++charQueries;
        return UsLayoutKey(c);
    }
    uint16_t KeyForAnsiChar(char c) override {
        ++ansiQueries;
        return UsLayoutKey(static_cast<unsigned char>(c));
    }
    // Latin-1 as the ANSI code page; other characters become the default character "?".
    std::string ToAnsi(char16_t c) override { return std::string(1, c < 0x100 ? static_cast<char>(c) : '?'); }
    std::u16string FromAnsi(std::string_view bytes) override {
        std::u16string text;
        for (const char byte : bytes) text.push_back(static_cast<unsigned char>(byte));
        return text;
    }
    bool NumLockToggled() override { return numLockToggled; }
    void ReadKeyState(std::array<uint8_t, 256>& state) override { state = keyState; }
    void WriteKeyState(const std::array<uint8_t, 256>& state) override {
        keyState = state;
        ++keyStateWrites;
    }
    void PumpKeyboardMessages() override { pumpsAfter.push_back(steps.size()); }
    void ShowMessageBox(std::u16string_view caption, std::u16string_view text) override {
        captions.emplace_back(caption);
        steps.push_back(Box(std::u16string(text)));
    }

    Steps steps;
    std::vector<std::u16string> captions;
    std::vector<size_t> pumpsAfter;  // number of steps at each pump
    int charQueries = 0;
    int ansiQueries = 0;
    bool numLockToggled = false;
    std::array<uint8_t, 256> keyState{};
    int keyStateWrites = 0;
};

struct SendKeysTest : ::testing::Test {
    RecordingKeyboard keyboard;

    // The steps of one call with wait = false; the result must be `expected`.
    Steps Send(std::u16string_view text, bool expected = true) {
        keyboard.steps.clear();
        EXPECT_EQ(SendKeys(text, false, keyboard), expected) << fw::Utf16ToUtf8(text);
        return keyboard.steps;
    }

    // The message of the error the call raises, with the steps before it in `steps`.
    std::u16string SendFailing(std::u16string_view text, Steps& steps) {
        keyboard.steps.clear();
        std::u16string message = u"(nothing raised)";
        try {
            SendKeys(text, false, keyboard);
        } catch (const fw::Error& error) {
            message = error.Text();
        }
        steps = keyboard.steps;
        return message;
    }
};

}  // namespace

TEST_F(SendKeysTest, EmptyTextSendsNothing) {
    EXPECT_EQ(Send(u"", false), Of());
    EXPECT_EQ(Send(std::u16string_view(u"\0ab", 3), false), Of());
    EXPECT_TRUE(keyboard.captions.empty());
}

TEST_F(SendKeysTest, PlainCharactersArePairsWithoutModifiers) {
    EXPECT_EQ(Send(u"abc"), Tap('A') + Tap('B') + Tap('C'));
    EXPECT_EQ(Send(u"x 1"), Tap('X') + Tap(' ') + Tap('1'));
    // The text ends at its first null character.
    EXPECT_EQ(Send(std::u16string_view(u"ab\0c", 4)), Tap('A') + Tap('B'));
}

TEST_F(SendKeysTest, LayoutModifiersComeWithTheirKeyOnly) {
    EXPECT_EQ(Send(u"A"), Of(Down(kShift)) + Tap('A') + Of(Up(kShift)));
    EXPECT_EQ(Send(u"aB"), Tap('A') + Of(Down(kShift)) + Tap('B') + Of(Up(kShift)));
    EXPECT_EQ(Send(u"\u00E4"), Of(Down(kCtrl), Down(kAlt)) + Tap(0xDE) + Of(Up(kCtrl), Up(kAlt)));
    // Released in pressing order, not reversed.
    EXPECT_EQ(Send(u"\u03A9"),
              Of(Down(kShift), Down(kCtrl), Down(kAlt)) + Tap('Q') + Of(Up(kShift), Up(kCtrl), Up(kAlt)));
    EXPECT_EQ(Send(u"\u00B5"), Tap('M'));
    EXPECT_EQ(Send(u"\r\n\t"), Tap(kEnter) + Of(Down(kCtrl)) + Tap(kEnter) + Of(Up(kCtrl)) + Tap(0x09));
}

TEST_F(SendKeysTest, PrefixHoldsItsModifierUntilAfterTheNextKey) {
    EXPECT_EQ(Send(u"+abc"), Of(Down(kShift)) + Tap('A') + Of(Up(kShift)) + Tap('B') + Tap('C'));
    EXPECT_EQ(Send(u"^c"), Of(Down(kCtrl)) + Tap('C') + Of(Up(kCtrl)));
    EXPECT_EQ(Send(u"%f"), Of(Down(kAlt)) + Tap('F') + Of(Up(kAlt)));
    EXPECT_EQ(Send(u"%^+a"),
              Of(Down(kAlt), Down(kCtrl), Down(kShift)) + Tap('A') + Of(Up(kShift), Up(kCtrl), Up(kAlt)));
    // A prefix and the layout's SHIFT each press and release on their own.
    EXPECT_EQ(Send(u"+A"), Of(Down(kShift), Down(kShift)) + Tap('A') + Of(Up(kShift), Up(kShift)));
    EXPECT_EQ(Send(u"++a"), Of(Down(kShift), Down(kShift)) + Tap('A') + Of(Up(kShift)));
    EXPECT_EQ(Send(u"^~a"), Of(Down(kCtrl)) + Tap(kEnter) + Of(Up(kCtrl)) + Tap('A'));
}

TEST_F(SendKeysTest, GroupHoldsModifiersUntilItsEnd) {
    EXPECT_EQ(Send(u"+(abc)"), Of(Down(kShift)) + Tap('A') + Tap('B') + Tap('C') + Of(Up(kShift)));
    EXPECT_EQ(Send(u"(+ab)c"), Of(Down(kShift)) + Tap('A') + Tap('B') + Of(Up(kShift)) + Tap('C'));
    EXPECT_EQ(Send(u"((a))"), Tap('A'));
    // Groups do not nest: the first ")" ends the group and releases, the second releases nothing.
    EXPECT_EQ(Send(u"^((a)b)"), Of(Down(kCtrl)) + Tap('A') + Of(Up(kCtrl)) + Tap('B'));
    EXPECT_EQ(Send(u"+(a{{}{ENTER})"), Of(Down(kShift)) + Tap('A') + Of(Down(kShift)) + Tap(0xDB) + Of(Up(kShift)) +
                                           Tap(kEnter) + Of(Up(kShift)));
}

TEST_F(SendKeysTest, TildeAndEnterNameSendOneEnter) {
    EXPECT_EQ(Send(u"~"), Tap(kEnter));
    EXPECT_EQ(Send(u"{ENTER}"), Tap(kEnter));
    EXPECT_EQ(Send(u"{Enter}"), Tap(kEnter));
}

TEST_F(SendKeysTest, EveryKeyNameIsFound) {
    struct Named {
        const char16_t* name;
        uint8_t vk;
    };
    const Named names[] = {
        {u"BACKSPACE", 0x08}, {u"BKSP", 0x08},  {u"BREAK", 0x03},      {u"BS", 0x08},   {u"CAPSLOCK", 0x14},
        {u"CLEAR", 0x0C},     {u"DEL", 0x2E},   {u"DELETE", 0x2E},     {u"DOWN", 0x28}, {u"END", 0x23},
        {u"ENTER", 0x0D},     {u"ESC", 0x1B},   {u"ESCAPE", 0x1B},     {u"F1", 0x70},   {u"F10", 0x79},
        {u"F11", 0x7A},       {u"F12", 0x7B},   {u"F13", 0x7C},        {u"F14", 0x7D},  {u"F15", 0x7E},
        {u"F16", 0x7F},       {u"F2", 0x71},    {u"F3", 0x72},         {u"F4", 0x73},   {u"F5", 0x74},
        {u"F6", 0x75},        {u"F7", 0x76},    {u"F8", 0x77},         {u"F9", 0x78},   {u"HELP", 0x2F},
        {u"HOME", 0x24},      {u"INS", 0x2D},   {u"LEFT", 0x25},       {u"PGDN", 0x22}, {u"PGUP", 0x21},
        {u"PRTSC", 0x2A},     {u"RIGHT", 0x27}, {u"SCROLLLOCK", 0x91}, {u"TAB", 0x09},  {u"UP", 0x26},
    };
    const std::set<uint8_t> extended{0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2D, 0x2E};
    for (const Named& n : names) {
        const Steps expected = extended.count(n.vk) != 0 ? Of(ExtendedDown(n.vk), ExtendedUp(n.vk)) : Tap(n.vk);
        const std::u16string name(n.name);
        EXPECT_EQ(Send(u"{" + name + u"}"), expected) << fw::Utf16ToUtf8(name);
        EXPECT_EQ(Send(u"{" + fw::AsciiLower(name) + u"}"), expected) << fw::Utf16ToUtf8(name);
    }
    EXPECT_TRUE(keyboard.captions.empty());
}

TEST_F(SendKeysTest, NavigationKeysCarryTheExtendedFlag) {
    EXPECT_EQ(Send(u"{PGUP}{LEFT}{DEL}"), (Of(ExtendedDown(0x21), ExtendedUp(0x21), ExtendedDown(0x25),
                                              ExtendedUp(0x25), ExtendedDown(0x2E), ExtendedUp(0x2E))));
    EXPECT_EQ(Send(u"{ENTER}{F5}"), Tap(kEnter) + Tap(0x74));
    EXPECT_EQ(Send(u"+{END}"), (Of(Down(kShift), ExtendedDown(0x23), ExtendedUp(0x23), Up(kShift))));
}

TEST_F(SendKeysTest, UnknownNamesShowInvalidKeyNameAndParsingGoesOn) {
    EXPECT_EQ(Send(u"{}"), Of(Box(u"Invalid Key Name")));
    EXPECT_EQ(Send(u"{XYZ}a"), Of(Box(u"Invalid Key Name")) + Tap('A'));
    for (const char16_t* name : {u"SPACE", u"INSERT", u"PAUSE", u"F17", u"LWIN", u"ENTE", u"ENTERR", u"F1F"}) {
        EXPECT_EQ(Send(u"{" + std::u16string(name) + u"}"), Of(Box(u"Invalid Key Name"))) << fw::Utf16ToUtf8(name);
    }
    // Held modifiers wait for the next key that is sent.
    EXPECT_EQ(Send(u"+{XYZ}a"), Of(Down(kShift), Box(u"Invalid Key Name")) + Tap('A') + Of(Up(kShift)));
    for (const std::u16string& caption : keyboard.captions) EXPECT_EQ(caption, u"SendKeys");
}

TEST_F(SendKeysTest, CharacterWithoutKeyIsTypedAsUnicode) {
    EXPECT_EQ(Send(u"a\u20ACb\u00E9"), Tap('A') + Typed(u"\u20AC") + Tap('B') + Typed(u"\u00E9"));
    // A pair goes as its two units, high first, without asking the layout.
    EXPECT_EQ(Send(u"x\U0001F600"), Tap('X') + Typed(u"\xD83D\xDE00"));
    EXPECT_EQ(keyboard.charQueries, 5);
    EXPECT_TRUE(keyboard.captions.empty());
    // The prefixes' modifiers are released before it and do not wait for the next key.
    EXPECT_EQ(Send(u"+\u20ACb"), Of(Down(kShift), Up(kShift)) + Typed(u"\u20AC") + Tap('B'));
    EXPECT_EQ(Send(u"^%\U0001F600"), Of(Down(kCtrl), Down(kAlt), Up(kCtrl), Up(kAlt)) + Typed(u"\U0001F600"));
    // In a group they are pressed again for the keys after it.
    EXPECT_EQ(Send(u"+(a\u20ACb)c"), Of(Down(kShift)) + Tap('A') + Of(Up(kShift)) + Typed(u"\u20AC") +
                                         Of(Down(kShift)) + Tap('B') + Of(Up(kShift)) + Tap('C'));
    EXPECT_EQ(Send(u"(^\u00E9"), Of(Down(kCtrl), Up(kCtrl)) + Typed(u"\u00E9") + Of(Down(kCtrl), Up(kCtrl)));
    EXPECT_TRUE(keyboard.captions.empty());
}

TEST_F(SendKeysTest, HalfASurrogatePairShowsInvalidKeyName) {
    const char16_t high = 0xD83D;
    const char16_t low = 0xDE00;
    EXPECT_EQ(Send(std::u16string{u'a', high, u'b'}), Tap('A') + Of(Box(u"Invalid KeyName")) + Tap('B'));
    EXPECT_EQ(Send(std::u16string{u'+', low, high, u'b'}),
              Of(Down(kShift), Box(u"Invalid KeyName"), Box(u"Invalid KeyName")) + Tap('B') + Of(Up(kShift)));
    ASSERT_EQ(keyboard.captions.size(), 3u);
    EXPECT_EQ(keyboard.captions[0], u"SendKeys");
}

TEST_F(SendKeysTest, OneCharacterNamesTypeTheirUpperCaseCharacter) {
    EXPECT_EQ(Send(u"{a}"), Of(Down(kShift)) + Tap('A') + Of(Up(kShift)));
    EXPECT_EQ(Send(u"{+}"), Of(Down(kShift)) + Tap(0xBB) + Of(Up(kShift)));
    // Inside braces "~" is the character, not ENTER.
    EXPECT_EQ(Send(u"{~}"), Of(Down(kShift)) + Tap(0xC0) + Of(Up(kShift)));
    EXPECT_EQ(Send(u"{7}"), Tap('7'));
    // No key for the character: skipped without a message.
    EXPECT_EQ(Send(u"{\u00E9}x"), Tap('X'));
    // A character outside the ANSI code page arrives as its default character.
    EXPECT_EQ(Send(u"{\u20AC}"), Of(Down(kShift)) + Tap(0xBF) + Of(Up(kShift)));
    EXPECT_TRUE(keyboard.captions.empty());
    // The name goes to the layout as its ANSI character; only the "x" outside braces as UTF-16.
    EXPECT_EQ(keyboard.ansiQueries, 6);
    EXPECT_EQ(keyboard.charQueries, 1);
}

TEST_F(SendKeysTest, RepeatCountUsesItsLowSixteenBits) {
    EXPECT_EQ(Send(u"{ENTER 3}"), Tap(kEnter, 3));
    EXPECT_EQ(Send(u"{enter 3}"), Tap(kEnter, 3));
    EXPECT_EQ(Send(u"{a 3}"), Of(Down(kShift)) + Tap('A', 3) + Of(Up(kShift)));
    EXPECT_EQ(Send(u"{ENTER 0}"), Of());
    EXPECT_EQ(Send(u"{ENTER 65536}"), Of());
    EXPECT_EQ(Send(u"{ENTER 65538}"), Tap(kEnter, 2));
    EXPECT_EQ(Send(u"{TAB -65535}"), Tap(0x09));
    EXPECT_EQ(Send(u"{TAB $2}{TAB 0x2}{TAB +2}{TAB 002}"), Tap(0x09, 8));
    EXPECT_EQ(Send(u"{PGDN 2}"), (Of(ExtendedDown(0x22), ExtendedUp(0x22), ExtendedDown(0x22), ExtendedUp(0x22))));
    // The modifiers of the prefix and of the layout surround all repetitions.
    EXPECT_EQ(Send(u"^{a 2}b"), Of(Down(kCtrl), Down(kShift)) + Tap('A', 2) + Of(Up(kShift), Up(kCtrl)) + Tap('B'));
    // Zero repetitions still press and release the layout's modifiers.
    EXPECT_EQ(Send(u"{a 0}"), (Of(Down(kShift), Up(kShift))));
}

TEST_F(SendKeysTest, CountThatIsNoIntegerRaisesTheConversionError) {
    Steps steps;
    EXPECT_EQ(SendFailing(u"a{ENTER x}b", steps), u"''X'' is not a valid integer value");
    EXPECT_EQ(steps, Tap('A'));
    EXPECT_EQ(SendFailing(u"{ENTER }", steps), u"'''' is not a valid integer value");
    EXPECT_EQ(SendFailing(u"{ENTER 3 }", steps), u"''3 '' is not a valid integer value");
    EXPECT_EQ(SendFailing(u"{ENTER 1 2}", steps), u"''1 2'' is not a valid integer value");
    EXPECT_EQ(SendFailing(u"{ENTER  3}", steps), u"'' 3'' is not a valid integer value");
    EXPECT_EQ(SendFailing(u"{enter 3x}", steps), u"''3X'' is not a valid integer value");
    EXPECT_EQ(SendFailing(u"{ENTER 4294967296}", steps), u"''4294967296'' is not a valid integer value");
    // Only "a" to "z" are upper-cased.
    EXPECT_EQ(SendFailing(u"{ENTER \u00E9}", steps), u"''\u00E9'' is not a valid integer value");
    EXPECT_EQ(steps, Of());
    // The count is checked before the name.
    EXPECT_EQ(SendFailing(u"{XYZ y}", steps), u"''Y'' is not a valid integer value");
    EXPECT_TRUE(keyboard.captions.empty());
}

TEST_F(SendKeysTest, BracesAreTypedThroughTheirOwnItems) {
    const Steps open = Of(Down(kShift)) + Tap(0xDB) + Of(Up(kShift));
    const Steps close = Of(Down(kShift)) + Tap(0xDD) + Of(Up(kShift));
    EXPECT_EQ(Send(u"{{}"), open);
    EXPECT_EQ(Send(u"{}}"), close);
    EXPECT_EQ(Send(u"{ENTER}}"), close);
    EXPECT_EQ(Send(u"{XYZ 3}}"), close);
    EXPECT_EQ(Send(u"{{}{}}"), open + close);
    // The third character of "{{}" is not looked at.
    EXPECT_EQ(Send(u"{{xb"), open + Tap('B'));
    EXPECT_EQ(Send(u"{{"), open);
    EXPECT_EQ(Send(u"+{{}"), Of(Down(kShift)) + open + Of(Up(kShift)));
    EXPECT_TRUE(keyboard.captions.empty());
}

TEST_F(SendKeysTest, NameBufferKeepsTwentyCharacters) {
    // The content is cut to "ENTER 00000000000003" before the count is split off.
    EXPECT_EQ(Send(u"{ENTER " + std::u16string(13, u'0') + u"3xyz}"), Tap(kEnter, 3));
    Steps steps;
    EXPECT_EQ(SendFailing(u"{ENTER 1234567890123456}", steps), u"''12345678901234'' is not a valid integer value");
    // Twenty characters without the space: a name, and no count at all.
    EXPECT_EQ(Send(u"{ABCDEFGHIJKLMNOPQRST 3}"), Of(Box(u"Invalid Key Name")));
    EXPECT_EQ(Send(u"{SCROLLLOCKSCROLLLOCKSCROLLLOCK}"), Of(Box(u"Invalid Key Name")));
    // The space is the twentieth character: the count is empty.
    EXPECT_EQ(SendFailing(u"{ABCDEFGHIJKLMNOPQRS x}", steps), u"'''' is not a valid integer value");
    EXPECT_EQ(SendFailing(u"{SCROLLLOCK" + std::u16string(9, u' ') + u"xyz}", steps),
              u"''" + std::u16string(8, u' ') + u"X'' is not a valid integer value");
}

TEST_F(SendKeysTest, MissingCloseShowsNoCloseAndStops) {
    EXPECT_EQ(Send(u"{ENTER", false), Of(Box(u"No Close")));
    EXPECT_EQ(Send(u"a{ENTER}b{c", false), Tap('A') + Tap(kEnter) + Tap('B') + Of(Box(u"No Close")));
    EXPECT_EQ(Send(u"{", false), Of(Box(u"No Close")));
    EXPECT_EQ(Send(u"{ab{c}d", true), Of(Box(u"Invalid Key Name")) + Tap('D'));
    ASSERT_FALSE(keyboard.captions.empty());
    EXPECT_EQ(keyboard.captions[0], u"SendKeys");
}

TEST_F(SendKeysTest, NoModifierStaysDownWhateverEndsTheText) {
    // A group that is never closed.
    EXPECT_EQ(Send(u"+(ab"), Of(Down(kShift)) + Tap('A') + Tap('B') + Of(Up(kShift)));
    EXPECT_EQ(Send(u"+^%(a"),
              Of(Down(kShift), Down(kCtrl), Down(kAlt)) + Tap('A') + Of(Up(kShift), Up(kCtrl), Up(kAlt)));
    EXPECT_EQ(Send(u"^("), (Of(Down(kCtrl), Up(kCtrl))));
    // Prefixes with nothing after them, or only a character without a key.
    EXPECT_EQ(Send(u"a+"), Tap('A') + Of(Down(kShift), Up(kShift)));
    EXPECT_EQ(Send(u"%\xD83D"), (Of(Down(kAlt), Box(u"Invalid KeyName"), Up(kAlt))));
    EXPECT_EQ(Send(u"+(a{XYZ}"), Of(Down(kShift)) + Tap('A') + Of(Box(u"Invalid Key Name"), Up(kShift)));
    // "No Close": released after the message, and the result stays false.
    EXPECT_EQ(Send(u"+^%{x", false),
              (Of(Down(kShift), Down(kCtrl), Down(kAlt), Box(u"No Close"), Up(kShift), Up(kCtrl), Up(kAlt))));
    EXPECT_EQ(Send(u"+a^(b{c", false),
              Of(Down(kShift)) + Tap('A') + Of(Up(kShift), Down(kCtrl)) + Tap('B') + Of(Box(u"No Close"), Up(kCtrl)));
    // A bad count: released before the error reaches the caller.
    Steps steps;
    EXPECT_EQ(SendFailing(u"^(a{ENTER x}b", steps), u"''X'' is not a valid integer value");
    EXPECT_EQ(steps, Of(Down(kCtrl)) + Tap('A') + Of(Up(kCtrl)));
    EXPECT_EQ(SendFailing(u"+{TAB ?}", steps), u"''?'' is not a valid integer value");
    EXPECT_EQ(steps, (Of(Down(kShift), Up(kShift))));
}

TEST_F(SendKeysTest, NumLockFlipsTheThreadKeyStateWithoutKeyEvents) {
    keyboard.keyState[kNumLock] = 0x80;  // down, not toggled
    keyboard.keyState['A'] = 0x81;
    EXPECT_EQ(Send(u"{NUMLOCK}"), Of());
    EXPECT_EQ(keyboard.keyState[kNumLock], 0x81);
    EXPECT_EQ(keyboard.keyState['A'], 0x81);
    EXPECT_EQ(keyboard.keyStateWrites, 1);

    keyboard.numLockToggled = true;
    keyboard.keyState[kNumLock] = 0x01;
    EXPECT_EQ(Send(u"{numlock 5}"), Of());
    EXPECT_EQ(keyboard.keyState[kNumLock], 0x00);
    EXPECT_EQ(keyboard.keyStateWrites, 2);

    // The toggle state as the thread reports it decides, not the stored bit.
    keyboard.numLockToggled = true;
    keyboard.keyState[kNumLock] = 0x00;
    EXPECT_EQ(Send(u"{NUMLOCK 0}"), Of());
    EXPECT_EQ(keyboard.keyState[kNumLock], 0x00);
    keyboard.numLockToggled = false;
    keyboard.keyState[kNumLock] = 0x01;
    Send(u"{NUMLOCK}");
    EXPECT_EQ(keyboard.keyState[kNumLock], 0x01);

    EXPECT_EQ(Send(u"+{NUMLOCK}a"), (Of(Down(kShift), Up(kShift))) + Tap('A'));
}

TEST_F(SendKeysTest, WaitPumpsAfterEveryKeyEvent) {
    EXPECT_TRUE(SendKeys(u"+a{XYZ}{ENTER 2}\u20AC", true, keyboard));
    EXPECT_EQ(keyboard.steps.size(), 11u);
    // SHIFT down, a down, a up, SHIFT up, the message box (no pump), two ENTER pairs, the Unicode pair.
    EXPECT_EQ(keyboard.pumpsAfter, (std::vector<size_t>{1, 2, 3, 4, 6, 7, 8, 9, 10, 11}));

    keyboard.steps.clear();
    keyboard.pumpsAfter.clear();
    EXPECT_TRUE(SendKeys(u"+a{NUMLOCK}", false, keyboard));
    EXPECT_EQ(keyboard.steps.size(), 4u);
    EXPECT_TRUE(keyboard.pumpsAfter.empty());
}

// The reading without sending, as the question before a save words its first problem.
TEST_F(SendKeysTest, CheckingNamesTheFirstProblemAndItsCharacterAndSendsNothing) {
    const auto problem = [](int at, std::u16string_view sentence) {
        return u"The keystrokes have a problem at character " + fw::IntToStr(at) + u": " + std::u16string(sentence) +
               u" Save them anyway?";
    };
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Hello {ENTER world {BOGUS}", problem(7, u"\"{ENTER world {BOGUS}\" is not a key name.")},
        {u"ab{XYZ}{ENTER", problem(3, u"\"{XYZ}\" is not a key name.")},
        {u"+(ab){ENTER", problem(6, u"\"{ENTER\" has no closing \"}\".")},
        {u"{TAB}{ENTER 2}}", problem(6, u"\"{ENTER 2}}\" types only \"}\".")},
        {u"x{\x01}", problem(2, u"\"{\x01}\" cannot be typed.")},     // no key for it in the layout
        {u"{\u20AC}", problem(1, u"\"{\u20AC}\" cannot be typed.")},  // not in the ANSI code page
        {u"ab\xD800", problem(3, u"\"\xD800\" cannot be typed.")},
        {u"{" + std::u16string(40, u'A'),
         problem(1, u"\"{" + std::u16string(31, u'A') + u"...\" has no closing \"}\".")},
        {u"{}}{{}~{NUMLOCK}%{F4 3}\u20AC\U0001F600{a}", u""}};
    for (const auto& [keys, expected] : cases)
        EXPECT_EQ(KeyStringQuestion(keys, CheckKeyString(keys, keyboard)), expected);
    EXPECT_EQ(keyboard.steps, Of()) << "nothing sent and no box shown";
    EXPECT_EQ(keyboard.keyStateWrites, 0);
}
