// The settings window as a user meets it in the running program: opened from the tray, a hotkey
// added through the wizard with real key presses, then edited, deactivated and deleted in its frame,
// every check's message seen in its box, and the window closed with the program going on. Each step
// is judged by what the user and other programs see: the hotkey file, the clipboard, the windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/datau.h"
#include "framework/Bitmap.h"
#include "framework/BmpWriter.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "framework/WindowMessages.h"
#include "tests/support/CaptureDriver.h"
#include "tests/support/E2E.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"

namespace {

using namespace std::chrono_literals;

constexpr unsigned kCtrlAlt = MOD_CONTROL | MOD_ALT;

// A hotkey's section as the program writes it.
std::u16string Section(int index,
                       bool active,
                       int key,
                       const std::u16string& func,
                       const std::u16string& params,
                       const std::u16string& params3 = u"") {
    return u"[key" + fw::IntToStr(index) + u"]\r\nactive=" + (active ? u"1" : u"0") + u"\r\nkey=" + fw::IntToStr(key) +
           u"\r\nshift=" + fw::IntToStr(kCtrlAlt) + u"\r\nfunc=" + func + u"\r\nparams=" + params +
           u"\r\nparams2=\r\nparams3=" + params3 + u"\r\n\r\n";
}

// Ctrl+Alt+F2 puts "first" on the clipboard throughout; Ctrl+Alt+F7 is taken only by an inactive
// hotkey, so the wizard may give it to a new one. The program drops the section whose action has no
// known name: it gets no frame and is gone from the file with the first save.
const std::u16string kFirst = Section(0, true, VK_F2, u"placeinclipboard", u"first");
const std::u16string kOldInactive = Section(1, false, VK_F7, u"placeinclipboard", u"old inactive");
const std::u16string kPreparedFile =
    kFirst + u"[key1]\r\nactive=1\r\nkey=118\r\nshift=3\r\nfunc=PlaceInClipboard\r\nparams=unknown\r\n\r\n" +
    Section(2, false, VK_F7, u"placeinclipboard", u"old inactive");

const char16_t kWizardText[] = u"Added through the wizard";
const char16_t kEditedText[] = u"Changed in the frame \u00E4";

std::u16string TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &length);
    return fw::FromW(text);
}

// A message to a control of the program, answered within the time (0 when it is not).
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return fw::FromW(name);
}

// Every window below `root` (children of children included) of the class and, when given, the text.
std::vector<HWND> Descendants(HWND root, const std::u16string& className, const std::optional<std::u16string>& text) {
    struct Search {
        const std::u16string& className;
        const std::optional<std::u16string>& text;
        std::vector<HWND> found;
    } search{className, text, {}};
    EnumChildWindows(
        root,
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            if (fw::SameText(ClassOf(window), s.className) && (!s.text || TextOf(window) == *s.text)) {
                s.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Descendant(HWND root, const wchar_t* className, const std::u16string& text) {
    return wintest::FindChildWindow(root, className, fw::W(text));
}

// The first window `find` gives within the time; null after it.
HWND WaitForWindow(const std::function<HWND()>& find, std::chrono::milliseconds timeout) {
    HWND window = nullptr;
    wintest::PumpUntil([&] { return (window = find()) != nullptr; }, timeout);
    return window;
}

// Under Wine the focus events of a window that came to the front arrive a little later and reset the
// keyboard state: keys pressed before then may be lost.
void LetFocusSettle() {
    wintest::PumpUntil([] { return false; }, 300ms);
}

void Press(unsigned key, unsigned modifiers = 0) {
    wintest::PressCombination(modifiers, key);
    wintest::PumpUntil([] { return false; }, 50ms);
}

void Type(const std::u16string& text) {
    wintest::TypeText(text);
    wintest::PumpUntil([] { return false; }, 100ms);
}

// Replaces the text of a one-line field as a user does: click into it, select it all, type.
void ReplaceFieldText(HWND field, const std::u16string& text) {
    e2e::ClickCentre(field);
    Press(VK_HOME);
    Press(VK_END, MOD_SHIFT);
    Type(text);
}

// Waits until the key-capture field holds the key alone.
bool KeyFieldShows(HWND field, unsigned key) {
    return wintest::PumpUntil([&] { return LOWORD(Ask(field, HKM_GETHOTKEY)) == key; }, 2s);
}

// Waits until the check box is ticked or cleared as given.
bool BoxShows(HWND box, LRESULT state) {
    return wintest::PumpUntil([&] { return Ask(box, BM_GETCHECK) == state; }, 2s);
}

std::optional<std::string> HotkeyFileBytes() {
    return fw::Win32FileStore().Read(e2e::HotkeyFile());
}

bool FileHolds(const std::u16string& text) {
    return HotkeyFileBytes() == fw::EncodeUtf16LE(text, true);
}

std::string Printable(const std::optional<std::string>& bytes) {
    if (!bytes) return "(no file)";
    return fw::Utf16ToUtf8(fw::DecodeText(*bytes, fw::Windows1252CodePage()));
}

class SettingsE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        e2e::PrepareRegistry();
        fw::RegistryIni(corvalend::kProgramKey).WriteString(u"AddHotKey_Func", u"");  // the wizard offers no action
        e2e::WriteHotkeyFile(kPreparedFile);
        e2e::EmptyTheClipboard();
        program_ = new e2e::RunningProgram();
    }
    static void TearDownTestSuite() {
        EXPECT_EQ(program_->Close(), 0u);
        delete program_;
        program_ = nullptr;
    }

    static DWORD Pid() { return program_->ProcessId(); }

    // The program's visible top-level form with the caption.
    static HWND FindForm(const std::u16string& caption) {
        const HWND form = wintest::FindTopWindow(Pid(), L"Corvalend.Form", &caption);
        return form != nullptr && IsWindowVisible(form) ? form : nullptr;
    }
    static HWND Settings() { return FindForm(u"Settings"); }

    static void DoubleClickTrayIcon() {
        const auto [handler, id] = e2e::FindProgramIcon(Pid());
        ASSERT_NE(handler, nullptr) << "no tray icon";
        for (const UINT event : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            PostMessageW(handler, WM_TRAYCALLBACK, id, event);
        }
    }
    // "Settings...", the first item of the tray menu; false when the menu does not come or go.
    static bool ChooseSettingsFromTrayMenu() {
        const auto [handler, id] = e2e::FindProgramIcon(Pid());
        PostMessageW(handler, WM_TRAYCALLBACK, id, WM_RBUTTONDOWN);
        const HWND menu = e2e::WaitForMenu(Pid(), 10s);
        if (menu == nullptr) return false;
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        return wintest::PumpUntil([&] { return !IsWindowVisible(menu); }, 5s);
    }

    static std::optional<std::u16string> TakeBox(const std::u16string& caption, int answer = IDOK) {
        return e2e::TakeMessageBox(Pid(), caption, 10s, answer);
    }

    // The frames of the column, top to bottom as they were made: each holds an "Edit" button on its
    // left-hand panel.
    static std::vector<HWND> Frames(HWND settings) {
        std::vector<HWND> frames;
        for (const HWND edit : Descendants(settings, u"BUTTON", u"Edit")) frames.push_back(GetParent(GetParent(edit)));
        return frames;
    }
    // Whether the frame's view shows the parameter text, as a screen reader reads it.
    static bool Shows(HWND frame, const std::u16string& params) {
        const std::u16string reading = u"Parameters: " + params;
        for (const HWND text : Descendants(frame, u"STATIC", std::nullopt)) {
            const std::u16string shown = TextOf(text);
            const size_t at = shown.find(reading);
            if (at != std::u16string::npos &&
                (at + reading.size() == shown.size() || shown[at + reading.size()] == u'.')) {
                return true;
            }
        }
        return false;
    }
    // The frame whose view shows the parameter text.
    static HWND FrameShowing(HWND settings, const std::u16string& params) {
        for (const HWND frame : Frames(settings)) {
            if (Shows(frame, params)) return frame;
        }
        return nullptr;
    }
    static bool InEditMode(HWND frame) { return IsWindowVisible(Descendant(frame, L"BUTTON", u"Save")) != FALSE; }
    static HWND ParametersField(HWND frame) {
        for (const HWND edit : Descendants(frame, u"EDIT", std::nullopt)) {
            if (IsWindowVisible(edit)) return edit;
        }
        return nullptr;
    }

    // Presses the combination and waits until the program has handled it: a press of Ctrl+Alt+F2
    // after it is handled after it. True when the clipboard changed for the combination itself,
    // which is told apart by the changes one Ctrl+Alt+F2 alone makes.
    static bool PressChangesClipboard(unsigned modifiers, unsigned key) {
        const auto changesOf = [](const std::function<void()>& press) {
            e2e::EmptyTheClipboard();
            const DWORD before = GetClipboardSequenceNumber();
            press();
            Press(VK_F2, kCtrlAlt);
            EXPECT_TRUE(wintest::PumpUntil([] { return e2e::ClipboardText() == u"first"; }, 5s));
            return GetClipboardSequenceNumber() - before;
        };
        const DWORD alone = changesOf([] {});
        return changesOf([&] { Press(key, modifiers); }) != alone;
    }

    // What the combination puts on the clipboard. A press that Wine loses to a late focus change
    // is made once more.
    static std::u16string PressedText(unsigned modifiers, unsigned key) {
        std::u16string text;
        for (int attempt = 0; attempt < 2 && text.empty(); ++attempt) {
            e2e::EmptyTheClipboard();
            Press(key, modifiers);
            wintest::PumpUntil([&] { return !(text = e2e::ClipboardText()).empty(); }, 3s);
        }
        return text;
    }

    inline static e2e::RunningProgram* program_ = nullptr;
};

}  // namespace

TEST_F(SettingsE2E, TrayOpensOneSettingsWindowWithTheVersionLine) {
    ASSERT_EQ(Settings(), nullptr);
    DoubleClickTrayIcon();
    const HWND settings = WaitForWindow(Settings, 10s);
    ASSERT_NE(settings, nullptr) << "no settings window after a double click";
    EXPECT_EQ(TextOf(settings), u"Settings");
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == settings; }, 2s));

    // "Settings..." of the tray menu shows the same window again.
    ASSERT_TRUE(ChooseSettingsFromTrayMenu());
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == settings; }, 5s));
    int forms = 0;
    for (const HWND window : e2e::TopWindowsOf(Pid())) {
        if (ClassOf(window) == u"Corvalend.Form" && IsWindowVisible(window)) ++forms;
    }
    EXPECT_EQ(forms, 1);
    EXPECT_EQ(Settings(), settings);

    // Every hotkey of the file has its frame, the inactive one too; the unknown action has none.
    EXPECT_EQ(Frames(settings).size(), 2u);
    EXPECT_NE(FrameShowing(settings, u"first"), nullptr);
    EXPECT_NE(FrameShowing(settings, u"old inactive"), nullptr);

    // The other page, turned with the keyboard on its tab, has the version line.
    const HWND tabs = Descendants(settings, u"SysTabControl32", std::nullopt).at(0);
    const HWND otherPage = Descendant(tabs, L"Corvalend.Panel", u"Other settings");
    ASSERT_NE(otherPage, nullptr);
    LetFocusSettle();
    const fw::Rect tabsRect = e2e::ScreenRect(tabs);
    e2e::ClickAt(tabsRect.left + 12, tabsRect.top + 8);  // the first tab
    Press(VK_RIGHT);
    ASSERT_TRUE(wintest::PumpUntil([&] { return IsWindowVisible(otherPage) != FALSE; }, 5s));
    std::u16string title;
    for (const HWND label : Descendants(otherPage, u"STATIC", std::nullopt)) {
        if (const std::u16string text = TextOf(label); text.starts_with(u"Corvalend")) title = text;
    }
    EXPECT_EQ(title, u"Corvalend 01.20.01.00");
    Press(VK_LEFT);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(otherPage); }, 5s));
}

TEST_F(SettingsE2E, WizardShowsItsMessagesThenAddsAHotkeyThatWorksAtOnce) {
    const HWND settings = Settings();
    ASSERT_NE(settings, nullptr) << "needs the settings window open";
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"&New hotkey"));
    const HWND wizard = WaitForWindow([] { return FindForm(u"New hotkey"); }, 10s);
    ASSERT_NE(wizard, nullptr) << "no wizard";
    LetFocusSettle();

    // The key page: no key, then a key without a shift key, then a combination an active hotkey has.
    Press(VK_RETURN);
    const std::u16string error = u"Error";
    ASSERT_NE(WaitForWindow([&] { return wintest::FindTopWindow(Pid(), L"#32770", &error); }, 10s), nullptr);
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first") << "hotkeys work while the wizard's message box is up";
    EXPECT_EQ(TakeBox(u"Error"), u"You must select a key for your hotkey.");
    LetFocusSettle();
    Press(VK_F2);  // the key field has the focus
    const HWND keyField = Descendants(wizard, u"msctls_hotkey32", std::nullopt).at(0);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"You must select a shift key for your hotkey.");
    LetFocusSettle();
    Press(VK_TAB);  // off the key field, which would take Alt+letter for itself
    Press('C', MOD_ALT);
    Press('A', MOD_ALT);
    EXPECT_TRUE(BoxShows(Descendant(wizard, L"BUTTON", u"&CTRL"), BST_CHECKED));
    EXPECT_TRUE(BoxShows(Descendant(wizard, L"BUTTON", u"&ALT"), BST_CHECKED));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is already in use.");
    LetFocusSettle();

    // Ctrl+Alt+F7 belongs to an inactive hotkey only: accepted.
    Press('K', MOD_ALT);
    Press(VK_F7);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F7));
    Press(VK_RETURN);
    const HWND finish = WaitForWindow([&] { return Descendant(wizard, L"BUTTON", u"&Finish"); }, 5s);
    ASSERT_NE(finish, nullptr) << "still on the key page";

    // The action page: no action chosen yet.
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"You must select an action for the hotkey.");
    LetFocusSettle();
    Press('A', MOD_ALT);  // the action list
    Type(u"p");           // "Place in clipboard", the first action with a P
    const HWND actions = Descendants(wizard, u"ComboBox", std::nullopt).at(0);
    EXPECT_TRUE(wintest::PumpUntil([&] { return TextOf(actions) == u"Place in clipboard"; }, 2s))
        << "action list shows " << fw::Utf16ToUtf8(TextOf(actions));
    Press('P', MOD_ALT);  // the parameter field
    Type(kWizardText);
    Press(VK_RETURN);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }, 10s))
        << "the wizard stays open";
    LetFocusSettle();  // the settings window is active again

    // The file holds every earlier hotkey of the program's, then the new one, active; it works at once.
    EXPECT_TRUE(wintest::PumpUntil(
        [] { return FileHolds(kFirst + kOldInactive + Section(2, true, VK_F7, u"placeinclipboard", kWizardText)); },
        5s))
        << Printable(HotkeyFileBytes());
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kWizardText);
    EXPECT_NE(WaitForWindow([&] { return FrameShowing(settings, kWizardText); }, 5s), nullptr)
        << "no frame for the new hotkey";
    EXPECT_EQ(Frames(settings).size(), 3u);
}

TEST_F(SettingsE2E, FrameEditsItsHotkeyAndShowsItsMessages) {
    const HWND settings = Settings();
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kWizardText);
    ASSERT_NE(frame, nullptr) << "needs the hotkey the wizard added";
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Edit"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return InEditMode(frame); }, 5s));
    LetFocusSettle();

    // A combination another active hotkey has.
    const HWND keyField = Descendants(frame, u"msctls_hotkey32", std::nullopt).at(0);
    e2e::ClickCentre(keyField);
    Press(VK_F2);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is already in use.");
    LetFocusSettle();
    EXPECT_TRUE(InEditMode(frame));
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2)) << "the edit was not kept";

    // A combination another program holds; the hotkey's own (F7, held by the program) is saved below.
    {
        const wintest::HeldCombination held(kCtrlAlt, VK_F3);
        ASSERT_TRUE(held.Held());
        e2e::ClickCentre(keyField);
        Press(VK_F3);
        EXPECT_TRUE(KeyFieldShows(keyField, VK_F3));
        e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
        EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is used by another program.");
        LetFocusSettle();
        EXPECT_TRUE(InEditMode(frame));
    }

    // No action: a list of actions offers no way to choose none, and a hotkey file's action of no
    // known name gives no frame; only another program can take the choice away.
    e2e::ClickCentre(keyField);
    Press(VK_F7);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F7));
    Ask(Descendants(frame, u"ComboBox", std::nullopt).at(0), CB_SETCURSEL, static_cast<WPARAM>(-1));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_EQ(TakeBox(u"Error"), u"You must select an action for your hotkey.");
    LetFocusSettle();
    EXPECT_TRUE(InEditMode(frame));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Cancel"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return !InEditMode(frame); }, 5s));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kWizardText) << "nothing was saved";

    // A new text, kept on the screen while the frame is in edit mode.
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Edit"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return InEditMode(frame); }, 5s));
    LetFocusSettle();
    ReplaceFieldText(ParametersField(frame), kEditedText);
    EXPECT_TRUE(wintest::PumpUntil([&] { return TextOf(ParametersField(frame)) == kEditedText; }, 2s))
        << fw::Utf16ToUtf8(TextOf(ParametersField(frame)));
    const std::u16string artefact = e2e::ArtefactPath(u"settings-e2e.bmp");
    fw::Win32FileStore().Replace(artefact, fw::EncodeBmp(fw::GrabScreen(e2e::ScreenRect(settings))));
    std::printf("settings window screenshot: %s\n", e2e::HostPath(artefact).c_str());

    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return !InEditMode(frame); }, 5s));
    EXPECT_TRUE(Shows(frame, kEditedText)) << "the view shows the saved text";
    // A frame's save stores a window state for every action: "NORMAL" when none was chosen.
    EXPECT_TRUE(FileHolds(kFirst + kOldInactive + Section(2, true, VK_F7, u"placeinclipboard", kEditedText, u"NORMAL")))
        << Printable(HotkeyFileBytes());
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kEditedText);
}

TEST_F(SettingsE2E, DeactivatedHotkeyStaysInTheFileButDoesNothing) {
    const HWND settings = Settings();
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kEditedText);
    ASSERT_NE(frame, nullptr) << "needs the edited hotkey";
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Edit"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return InEditMode(frame); }, 5s));
    LetFocusSettle();
    const HWND active = Descendant(frame, L"BUTTON", u"Active");
    e2e::ClickCentre(active);
    EXPECT_TRUE(BoxShows(active, BST_UNCHECKED));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return !InEditMode(frame); }, 5s));

    EXPECT_TRUE(wintest::PumpUntil(
        [] {
            return FileHolds(kFirst + kOldInactive +
                             Section(2, false, VK_F7, u"placeinclipboard", kEditedText, u"NORMAL"));
        },
        5s))
        << Printable(HotkeyFileBytes());
    EXPECT_TRUE(e2e::CanRegister(kCtrlAlt, VK_F7)) << "the combination is still taken";
    EXPECT_FALSE(PressChangesClipboard(kCtrlAlt, VK_F7));
}

TEST_F(SettingsE2E, DeletedHotkeyLeavesTheFileAndTheWindow) {
    const HWND settings = Settings();
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kEditedText);
    ASSERT_NE(frame, nullptr) << "needs the edited hotkey";
    // Made active again first, so that its deletion has something to withdraw.
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Edit"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return InEditMode(frame); }, 5s));
    LetFocusSettle();
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Active"));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    ASSERT_TRUE(wintest::PumpUntil([&] { return !InEditMode(frame); }, 5s));
    ASSERT_FALSE(e2e::CanRegister(kCtrlAlt, VK_F7));
    const std::optional<std::string> beforeDeletion = HotkeyFileBytes();

    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Delete"));
    EXPECT_EQ(TakeBox(u"Confirm", IDNO), u"Are you sure you want to delete this global hotkey?");
    LetFocusSettle();
    EXPECT_EQ(Frames(settings).size(), 3u) << "answering No deleted it";
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Delete"));
    EXPECT_EQ(TakeBox(u"Confirm", IDYES), u"Are you sure you want to delete this global hotkey?");
    LetFocusSettle();
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(frame); }, 5s)) << "the frame is still there";
    EXPECT_EQ(Frames(settings).size(), 2u);
    EXPECT_TRUE(wintest::PumpUntil([] { return FileHolds(kFirst + kOldInactive); }, 5s))
        << Printable(HotkeyFileBytes());
    EXPECT_EQ(fw::Win32FileStore().Read(e2e::HotkeyFile() + u".bak"), beforeDeletion) << "the replaced file is kept";
    EXPECT_TRUE(e2e::CanRegister(kCtrlAlt, VK_F7));
    EXPECT_FALSE(PressChangesClipboard(kCtrlAlt, VK_F7));
}

TEST_F(SettingsE2E, CloseEndsTheWindowButNotTheProgram) {
    const HWND settings = Settings();
    ASSERT_NE(settings, nullptr);
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"Close"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(settings); }, 10s)) << "the window was not destroyed";
    LetFocusSettle();
    EXPECT_EQ(program_->WaitForExit(0ms), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first");

    // The tray makes a new window the next time, from the file as it is; Esc closes it too.
    ASSERT_TRUE(ChooseSettingsFromTrayMenu());
    const HWND again = WaitForWindow(Settings, 10s);
    ASSERT_NE(again, nullptr) << "no settings window after the first was closed";
    EXPECT_EQ(Frames(again).size(), 2u);
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetForegroundWindow() == again; }, 2s));
    LetFocusSettle();
    Press(VK_ESCAPE);
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(again); }, 10s)) << "Esc did not close the window";
    LetFocusSettle();
    EXPECT_EQ(program_->WaitForExit(0ms), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first");
}
