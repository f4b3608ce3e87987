// The keystroke sender with the system's keyboard: key strings typed into a focused edit control of
// a real window and read back (also characters no key of the layout types), the modifiers all up
// afterwards, the NumLock bit of the thread's key state, and the sender's message box.
#include <gtest/gtest.h>

#include <memory>

#include "core/SystemKeyboard.h"
#include "framework/Error.h"
#include "framework/Text.h"
#include "framework/WinText.h"
#include "tests/support/Front.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

namespace {

// A top-level window holding a multi-line edit control that keeps the keyboard focus, also when
// the window is activated again after a message box.
class EditWindow {
public:
    EditWindow() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = FrameProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kClassName;
        RegisterClassExW(&windowClass);  // fails harmlessly when an earlier test registered it
        frame_ = CreateWindowExW(0, kClassName, L"SendKeys target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 480,
                                 320, /*parent=*/nullptr, /*menu=*/nullptr, instance, /*param=*/nullptr);
        edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0, 460, 280,
                                frame_, /*menu=*/nullptr, instance, /*param=*/nullptr);
        SetWindowLongPtrW(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(edit_));
    }
    ~EditWindow() { DestroyWindow(frame_); }
    EditWindow(const EditWindow&) = delete;
    EditWindow& operator=(const EditWindow&) = delete;

    bool Focus() { return wintest::BringToFront(frame_, edit_); }

    std::u16string Text() const {
        std::u16string text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, u'\0');
        text.resize(static_cast<size_t>(
            GetWindowTextW(edit_, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
        return text;
    }

    void Clear() { SetWindowTextW(edit_, L""); }

    // Waits for the edit control to show the text; the final text either way.
    std::u16string WaitForText(const std::u16string& expected) {
        wintest::PumpUntil([&] { return Text() == expected; }, wintest::kPatience);
        return Text();
    }

private:
    static constexpr const wchar_t* kClassName = L"Corvalend.SendKeysTarget";

    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETFOCUS) {
            if (const auto edit = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA))) SetFocus(edit);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND frame_ = nullptr;
    HWND edit_ = nullptr;
};

bool IsDown(int vk) {
    return (GetAsyncKeyState(vk) & 0x8000) != 0 || (GetKeyState(vk) & 0x8000) != 0;
}

void ExpectNoModifierDown(const std::string& after) {
    EXPECT_FALSE(IsDown(VK_SHIFT)) << after;
    EXPECT_FALSE(IsDown(VK_CONTROL)) << after;
    EXPECT_FALSE(IsDown(VK_MENU)) << after;
}

struct SendKeysTyping : ::testing::Test {
    // One window for all the cases: under Wine without a window manager, destroying the
    // foreground window takes about two seconds.
    static void SetUpTestSuite() { window = std::make_unique<EditWindow>(); }
    static void TearDownTestSuite() { window.reset(); }
    static inline std::unique_ptr<EditWindow> window;

    EditWindow& target = *window;
    SystemKeyboard keyboard;

    void SetUp() override { ASSERT_TRUE(target.Focus()) << "the edit control did not get the keyboard focus"; }

    // A modifier left down by a failing case would spoil every later test of the program.
    void TearDown() override {
        for (const BYTE vk : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
            if (IsDown(vk)) keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), KEYEVENTF_KEYUP, 0);
        }
        keyboard.PumpKeyboardMessages();
    }

    // Types the key string into the emptied edit control and returns what it then shows.
    std::u16string Type(const std::u16string& keys, const std::u16string& expected) {
        target.Clear();
        EXPECT_TRUE(SendKeys(keys, true, keyboard)) << fw::Utf16ToUtf8(keys);
        return target.WaitForText(expected);
    }
};

}  // namespace

TEST_F(SendKeysTyping, TextArrivesExactly) {
    struct Case {
        std::u16string keys;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"Hello, world 42.", u"Hello, world 42."},
        {u"+abc", u"Abc"},
        {u"+(abc)", u"ABC"},
        {u"ab{ENTER}cd~ef", u"ab\r\ncd\r\nef"},
        {u"{{}x{}}", u"{x}"},
        {u"{a 3}{ENTER}}", u"AAA}"},
        {u"abcd{LEFT 2}{BS}X{END}{HOME}>", u">aXcd"},
        {u"abc{HOME}{DEL}{RIGHT}{del}", u"b"},
        {u"one\rtwo", u"one\r\ntwo"},
        // Characters without a key on the layout arrive as Unicode input, a pair as one character.
        {u"caf\u00E9 5\u20AC", u"caf\u00E9 5\u20AC"},
        {u"a\U0001F600b", u"a\U0001F600b"},
        {u"+\u00E9+a", u"\u00E9A"},
        {u"+(a\u20ACb)c", u"A\u20ACBc"},
        {u"^\U0001F600x", u"\U0001F600x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Type(c.keys, c.expected), c.expected) << fw::Utf16ToUtf8(c.keys);
        ExpectNoModifierDown(fw::Utf16ToUtf8(c.keys));
    }
}

TEST_F(SendKeysTyping, LineBreakPairTypesWhatTheLayoutGivesEach) {
    // CR is ENTER; LF is the layout's key for a line feed, which a multi-line edit takes as another break.
    EXPECT_EQ(Type(u"one\r\ntwo", u"one\r\n\r\ntwo"), u"one\r\n\r\ntwo");
    ExpectNoModifierDown("CR LF");
}

TEST_F(SendKeysTyping, NothingStaysHeldAfterAnEarlyEnd) {
    // A group that is never closed.
    EXPECT_EQ(Type(u"+(ab", u"AB"), u"AB");
    ExpectNoModifierDown("+(ab");
    EXPECT_TRUE(SendKeys(u"c", true, keyboard));
    EXPECT_EQ(target.WaitForText(u"ABc"), u"ABc");

    // A bad count raises only after the release.
    target.Clear();
    std::u16string error;
    try {
        SendKeys(u"+(a{ENTER x}", true, keyboard);
    } catch (const fw::Error& e) {
        error = e.Text();
    }
    EXPECT_EQ(error, u"''X'' is not a valid integer value");
    ExpectNoModifierDown("+(a{ENTER x}");
    EXPECT_TRUE(SendKeys(u"b", true, keyboard));
    EXPECT_EQ(target.WaitForText(u"Ab"), u"Ab");
}

TEST_F(SendKeysTyping, UnknownNameShowsItsMessageAndTypingGoesOn) {
    target.Clear();
    wintest::MessageBoxWatcher box(u"SendKeys");
    EXPECT_TRUE(SendKeys(u"a{XYZ}", true, keyboard));
    EXPECT_TRUE(box.Wait(wintest::kPatience));
    EXPECT_EQ(box.Text(), u"Invalid Key Name");
    ASSERT_TRUE(target.Focus());
    EXPECT_TRUE(SendKeys(u"b", true, keyboard));
    EXPECT_EQ(target.WaitForText(u"ab"), u"ab");
}

TEST(SendKeysNumLock, FlipsTheThreadKeyStateBit) {
    SystemKeyboard keyboard;
    const bool before = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    EXPECT_TRUE(SendKeys(u"{NUMLOCK}", false, keyboard));
    EXPECT_EQ((GetKeyState(VK_NUMLOCK) & 1) != 0, !before);
    BYTE state[256];
    ASSERT_TRUE(GetKeyboardState(state));
    EXPECT_EQ((state[VK_NUMLOCK] & 1) != 0, !before);
    EXPECT_TRUE(SendKeys(u"{numlock 3}", false, keyboard));
    EXPECT_EQ((GetKeyState(VK_NUMLOCK) & 1) != 0, before);
}
