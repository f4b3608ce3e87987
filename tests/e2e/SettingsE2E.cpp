// The settings window as a user meets it in the running program: opened from the tray, a hotkey
// added through the wizard with real key presses, then edited, deactivated and deleted in its frame,
// every check's message seen in its box, and the window closed with the program going on. Each step
// is judged by what the user and other programs see: the hotkey file, the clipboard, the windows.
// Each test starts the program itself, with the hotkey file as the user's story has it by then.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/TrayIconLogic.h"
#include "core/datau.h"
#include "framework/Bitmap.h"
#include "framework/BmpWriter.h"
#include "framework/Registry.h"
#include "framework/ScopeExit.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/CaptureDriver.h"
#include "tests/support/E2E.h"
#include "tests/support/FormTest.h"
#include "tests/support/Front.h"
#include "tests/support/Pictures.h"
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
    return fw::FromWide(text);
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
    return fw::FromWide(name);
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
    return wintest::FindChildWindow(root, className, fw::AsWide(text));
}

// The first window `find` gives; null when it never comes (the test fails then, naming `what`).
HWND WaitForWindow(std::string_view what, const std::function<HWND()>& find) {
    HWND window = nullptr;
    wintest::WaitFor(what, [&] { return (window = find()) != nullptr; });
    return window;
}

// The key as a user presses it, once the late events are handled. The steps around each press wait
// for the window and the focus it needs, and for what it does.
void Press(unsigned key, unsigned modifiers = 0) {
    e2e::Press(modifiers, key);
}

// Waits until the window is in front with the keyboard focus on `focus` (anywhere inside when null),
// and stays there once the late events of the change are handled.
bool InFront(HWND window, HWND focus = nullptr) {
    return wintest::WaitInFront(window, focus);
}

// Waits until the control has the keyboard focus with its window in front (a message box answered
// and gone gives it back).
bool Focused(HWND control) {
    return InFront(GetAncestor(control, GA_ROOT), control);
}

// Replaces the text of a one-line field as a user does: click into it, select it all, type.
void ReplaceFieldText(HWND field, const std::u16string& text) {
    e2e::ClickCentre(field);
    ASSERT_TRUE(Focused(field));
    Press(VK_HOME);
    Press(VK_END, MOD_SHIFT);
    e2e::Type(text);
}

// Waits until the key-capture field holds the key alone.
bool KeyFieldShows(HWND field, unsigned key) {
    return wintest::WaitFor("the key in the key field", [&] { return LOWORD(Ask(field, HKM_GETHOTKEY)) == key; });
}

// Waits until the check box is ticked or cleared as given.
bool BoxShows(HWND box, LRESULT state) {
    return wintest::WaitFor("the check box ticked or cleared", [&] { return Ask(box, BM_GETCHECK) == state; });
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

// The file as the wizard leaves it, then as the frame's edit and deactivation do (the section the
// program could not read is gone with the first save).
const std::u16string kAfterWizard = kFirst + kOldInactive + Section(2, true, VK_F7, u"placeinclipboard", kWizardText);
const std::u16string kAfterEdit =
    kFirst + kOldInactive + Section(2, true, VK_F7, u"placeinclipboard", kEditedText, u"NORMAL");
const std::u16string kAfterDeactivation =
    kFirst + kOldInactive + Section(2, false, VK_F7, u"placeinclipboard", kEditedText, u"NORMAL");
const std::u16string kAfterDeletion = kFirst + kOldInactive;

class SettingsE2E : public ::testing::Test {
protected:
    // The program started with the hotkey file given; the wizard offers no action.
    void Start(const std::u16string& file) {
        e2e::PrepareRegistry();
        fw::RegistryIni(corvalend::kProgramKey).WriteString(u"AddHotKey_Func", u"");
        e2e::WriteHotkeyFile(file);
        wintest::EmptyTheClipboard();
        program_.emplace();
    }
    // Started so, with the settings window opened from the tray and in front.
    HWND StartWithSettings(const std::u16string& file) {
        Start(file);
        DoubleClickTrayIcon();
        const HWND settings = WaitForWindow("the settings window", [this] { return Settings(); });
        if (settings != nullptr) InFront(settings);
        return settings;
    }
    void TearDown() override {
        if (program_) {
            EXPECT_EQ(program_->Close(), 0u);
        }
    }

    DWORD Pid() const { return program_->ProcessId(); }

    // The program's visible top-level form with the caption.
    HWND FindForm(const std::u16string& caption) const {
        const HWND form = wintest::FindTopWindow(Pid(), L"Corvalend.Form", &caption);
        return form != nullptr && IsWindowVisible(form) ? form : nullptr;
    }
    HWND Settings() const { return FindForm(u"Settings"); }

    void DoubleClickTrayIcon() const {
        const auto [handler, id] = e2e::FindProgramIcon(Pid());
        ASSERT_NE(handler, nullptr) << "no tray icon";
        for (const UINT event : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
            PostMessageW(handler, WM_TRAYCALLBACK, id, event);
        }
    }
    // "Settings...", the first item of the tray menu; false when the menu does not come or go.
    bool ChooseSettingsFromTrayMenu() const {
        const auto [handler, id] = e2e::FindProgramIcon(Pid());
        PostMessageW(handler, WM_TRAYCALLBACK, id, WM_RBUTTONDOWN);
        const HWND menu = e2e::WaitForMenu(Pid(), wintest::kPatience);
        if (menu == nullptr) return false;
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        return wintest::WaitFor("the tray menu gone", [&] { return !IsWindowVisible(menu); });
    }

    // The box's text once it is answered and gone.
    std::optional<std::u16string> TakeBox(const std::u16string& caption, int answer = IDOK) const {
        return e2e::TakeMessageBox(Pid(), caption, wintest::kPatience, answer);
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
    // Clicks the frame's "Edit" and waits until the frame is in edit mode with the window in front.
    static bool StartEditing(HWND settings, HWND frame) {
        e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Edit"));
        return wintest::WaitFor("the frame in edit mode with the window in front",
                                [&] { return InEditMode(frame) && GetForegroundWindow() == settings; });
    }

    // Presses the combination and waits until the program has handled it: a press of Ctrl+Alt+F2
    // after it is handled after it. True when the clipboard changed for the combination itself,
    // which is told apart by the changes one Ctrl+Alt+F2 alone makes.
    static bool PressChangesClipboard(unsigned modifiers, unsigned key) {
        const auto changesOf = [](const std::function<void()>& press) {
            wintest::EmptyTheClipboard();
            const DWORD before = GetClipboardSequenceNumber();
            press();
            Press(VK_F2, kCtrlAlt);
            EXPECT_TRUE(
                wintest::WaitFor("\"first\" on the clipboard", [] { return wintest::ClipboardText() == u"first"; }));
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
            wintest::EmptyTheClipboard();
            Press(key, modifiers);
            wintest::PumpUntil([&] { return !(text = wintest::ClipboardText()).empty(); }, 3s);
        }
        return text;
    }

    std::optional<e2e::RunningProgram> program_;
};

}  // namespace

TEST_F(SettingsE2E, TrayOpensOneSettingsWindowWithTheVersionLine) {
    Start(kPreparedFile);
    ASSERT_EQ(Settings(), nullptr);
    DoubleClickTrayIcon();
    const HWND settings = WaitForWindow("the settings window after a double click", [this] { return Settings(); });
    ASSERT_NE(settings, nullptr) << "no settings window after a double click";
    EXPECT_EQ(TextOf(settings), u"Settings");
    EXPECT_TRUE(wintest::WaitFor("the settings window in front", [&] { return GetForegroundWindow() == settings; }));

    // "Settings..." of the tray menu shows the same window again.
    ASSERT_TRUE(ChooseSettingsFromTrayMenu());
    EXPECT_TRUE(wintest::WaitFor("the settings window in front", [&] { return GetForegroundWindow() == settings; }));
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
    const fw::Rect tabsRect = e2e::ScreenRect(tabs);
    e2e::ClickAt(tabsRect.left + 12, tabsRect.top + 8);  // the first tab
    ASSERT_TRUE(Focused(tabs));
    Press(VK_RIGHT);
    ASSERT_TRUE(wintest::WaitFor("the other page", [&] { return IsWindowVisible(otherPage) != FALSE; }));
    std::u16string title;
    for (const HWND label : Descendants(otherPage, u"STATIC", std::nullopt)) {
        if (const std::u16string text = TextOf(label); text.starts_with(u"Corvalend")) title = text;
    }
    EXPECT_EQ(title, u"Corvalend 01.20.01.00");
    Press(VK_LEFT);
    EXPECT_TRUE(wintest::WaitFor("the first page again", [&] { return !IsWindowVisible(otherPage); }));
}

TEST_F(SettingsE2E, WizardShowsItsMessagesThenAddsAHotkeyThatWorksAtOnce) {
    const HWND settings = StartWithSettings(kPreparedFile);
    ASSERT_NE(settings, nullptr) << "needs the settings window open";
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"&New hotkey"));
    const HWND wizard = WaitForWindow("the wizard", [this] { return FindForm(u"New hotkey"); });
    ASSERT_NE(wizard, nullptr) << "no wizard";
    const HWND keyField = Descendants(wizard, u"msctls_hotkey32", std::nullopt).at(0);
    ASSERT_TRUE(Focused(keyField));

    // The key page: no key, then a key without a shift key, then a combination an active hotkey has.
    Press(VK_RETURN);
    const std::u16string error = u"Error";
    ASSERT_NE(WaitForWindow("the error box",
                            [&] {
                                const HWND box = wintest::FindTopWindow(Pid(), L"#32770", &error);
                                return box != nullptr && IsWindowVisible(box) ? box : nullptr;
                            }),
              nullptr);
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first") << "hotkeys work while the wizard's message box is up";
    EXPECT_EQ(TakeBox(u"Error"), u"You must select a key for your hotkey.");
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F2);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"You must select a shift key for your hotkey.");
    ASSERT_TRUE(Focused(keyField));
    Press(VK_TAB);  // off the key field, which would take Alt+letter for itself
    ASSERT_TRUE(wintest::WaitFor("the focus off the key field",
                                 [&] { return wintest::InFront(wizard) && wintest::FocusOf(wizard) != keyField; }));
    Press('C', MOD_ALT);
    EXPECT_TRUE(BoxShows(Descendant(wizard, L"BUTTON", u"&CTRL"), BST_CHECKED));
    Press('A', MOD_ALT);
    EXPECT_TRUE(BoxShows(Descendant(wizard, L"BUTTON", u"&ALT"), BST_CHECKED));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is already in use.");
    ASSERT_TRUE(InFront(wizard));

    // Ctrl+Alt+F7 belongs to an inactive hotkey only: accepted.
    Press('K', MOD_ALT);
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F7);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F7));
    Press(VK_RETURN);
    const HWND finish = WaitForWindow("the action page", [&] { return Descendant(wizard, L"BUTTON", u"&Finish"); });
    ASSERT_NE(finish, nullptr) << "still on the key page";

    // The action page: no action chosen yet.
    ASSERT_TRUE(InFront(wizard));
    Press(VK_RETURN);
    EXPECT_EQ(TakeBox(u"Error"), u"You must select an action for the hotkey.");
    ASSERT_TRUE(InFront(wizard));
    const HWND actions = Descendants(wizard, u"ComboBox", std::nullopt).at(0);
    Press('A', MOD_ALT);  // the action list
    ASSERT_TRUE(wintest::WaitFor("the focus on the action list", [&] {
        const HWND focus = wintest::FocusOf(wizard);
        return wintest::InFront(wizard) && (focus == actions || IsChild(actions, focus));
    }));
    e2e::Type(u"p");  // "Place in clipboard", the first action with a P
    EXPECT_TRUE(
        wintest::WaitFor("\"Place in clipboard\" chosen", [&] { return TextOf(actions) == u"Place in clipboard"; }))
        << "action list shows " << fw::Utf16ToUtf8(TextOf(actions));
    Press('P', MOD_ALT);  // the parameter field
    HWND parameters = nullptr;
    ASSERT_TRUE(wintest::WaitFor("the focus on the parameter field", [&] {
        parameters = wintest::FocusOf(wizard);
        return wintest::InFront(wizard) && parameters != nullptr && fw::SameText(ClassOf(parameters), u"Edit");
    }));
    e2e::Type(kWizardText);
    ASSERT_TRUE(wintest::WaitFor("the text in the parameter field", [&] { return TextOf(parameters) == kWizardText; }));
    Press(VK_RETURN);
    ASSERT_TRUE(wintest::WaitFor("the wizard closed", [&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }))
        << "the wizard stays open";

    // The file holds every earlier hotkey of the program's, then the new one, active; it works at once.
    EXPECT_TRUE(wintest::WaitFor("the new hotkey in the file", [] { return FileHolds(kAfterWizard); }))
        << Printable(HotkeyFileBytes());
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kWizardText);
    EXPECT_NE(WaitForWindow("the new hotkey's frame", [&] { return FrameShowing(settings, kWizardText); }), nullptr)
        << "no frame for the new hotkey";
    EXPECT_EQ(Frames(settings).size(), 3u);
}

TEST_F(SettingsE2E, FrameEditsItsHotkeyAndShowsItsMessages) {
    const HWND settings = StartWithSettings(kAfterWizard);
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kWizardText);
    ASSERT_NE(frame, nullptr) << "needs the hotkey the wizard added";
    ASSERT_TRUE(StartEditing(settings, frame));

    // A combination another active hotkey has.
    const HWND keyField = Descendants(frame, u"msctls_hotkey32", std::nullopt).at(0);
    e2e::ClickCentre(keyField);
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F2);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is already in use.");
    ASSERT_TRUE(InFront(settings));
    EXPECT_TRUE(InEditMode(frame));
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F2)) << "the edit was not kept";

    // A combination another program holds; the hotkey's own (F7, held by the program) is saved below.
    {
        const wintest::HeldCombination held(kCtrlAlt, VK_F3);
        ASSERT_TRUE(held.Held());
        e2e::ClickCentre(keyField);
        ASSERT_TRUE(Focused(keyField));
        Press(VK_F3);
        EXPECT_TRUE(KeyFieldShows(keyField, VK_F3));
        e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
        EXPECT_EQ(TakeBox(u"Error"), u"The selected hotkey is used by another program.");
        ASSERT_TRUE(InFront(settings));
        EXPECT_TRUE(InEditMode(frame));
    }

    // No action: a list of actions offers no way to choose none, and a hotkey file's action of no
    // known name gives no frame; only another program can take the choice away.
    e2e::ClickCentre(keyField);
    ASSERT_TRUE(Focused(keyField));
    Press(VK_F7);
    EXPECT_TRUE(KeyFieldShows(keyField, VK_F7));
    Ask(Descendants(frame, u"ComboBox", std::nullopt).at(0), CB_SETCURSEL, static_cast<WPARAM>(-1));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_EQ(TakeBox(u"Error"), u"You must select an action for your hotkey.");
    ASSERT_TRUE(InFront(settings));
    EXPECT_TRUE(InEditMode(frame));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Cancel"));
    EXPECT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kWizardText) << "nothing was saved";

    // A new text, kept on the screen while the frame is in edit mode.
    ASSERT_TRUE(StartEditing(settings, frame));
    ReplaceFieldText(ParametersField(frame), kEditedText);
    EXPECT_TRUE(wintest::WaitFor("the new text in the parameter field", [&] {
        return TextOf(ParametersField(frame)) == kEditedText;
    })) << fw::Utf16ToUtf8(TextOf(ParametersField(frame)));
    const std::u16string artefact = e2e::ArtefactPath(u"settings-e2e.bmp");
    fw::Win32FileStore().Replace(artefact, fw::EncodeBmp(fw::GrabScreen(e2e::ScreenRect(settings))));
    std::printf("settings window screenshot: %s\n", e2e::HostPath(artefact).c_str());

    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));
    EXPECT_TRUE(Shows(frame, kEditedText)) << "the view shows the saved text";
    // A frame's save stores a window state for every action: "NORMAL" when none was chosen.
    EXPECT_TRUE(FileHolds(kAfterEdit)) << Printable(HotkeyFileBytes());
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F7), kEditedText);
}

TEST_F(SettingsE2E, DeactivatedHotkeyStaysInTheFileButDoesNothing) {
    const HWND settings = StartWithSettings(kAfterEdit);
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kEditedText);
    ASSERT_NE(frame, nullptr) << "needs the edited hotkey";
    ASSERT_TRUE(StartEditing(settings, frame));
    const HWND active = Descendant(frame, L"BUTTON", u"Active");
    e2e::ClickCentre(active);
    EXPECT_TRUE(BoxShows(active, BST_UNCHECKED));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    EXPECT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));

    EXPECT_TRUE(wintest::WaitFor("the hotkey inactive in the file", [] { return FileHolds(kAfterDeactivation); }))
        << Printable(HotkeyFileBytes());
    EXPECT_TRUE(e2e::CanRegister(kCtrlAlt, VK_F7)) << "the combination is still taken";
    EXPECT_FALSE(PressChangesClipboard(kCtrlAlt, VK_F7));
}

TEST_F(SettingsE2E, DeletedHotkeyLeavesTheFileAndTheWindow) {
    const HWND settings = StartWithSettings(kAfterDeactivation);
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, kEditedText);
    ASSERT_NE(frame, nullptr) << "needs the edited hotkey";
    // Made active again first, so that its deletion has something to withdraw.
    ASSERT_TRUE(StartEditing(settings, frame));
    const HWND active = Descendant(frame, L"BUTTON", u"Active");
    e2e::ClickCentre(active);
    ASSERT_TRUE(BoxShows(active, BST_CHECKED));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Save"));
    ASSERT_TRUE(wintest::WaitFor("the frame out of edit mode", [&] { return !InEditMode(frame); }));
    ASSERT_FALSE(e2e::CanRegister(kCtrlAlt, VK_F7));
    const std::optional<std::string> beforeDeletion = HotkeyFileBytes();

    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Delete"));
    EXPECT_EQ(TakeBox(u"Confirm", IDNO), u"Are you sure you want to delete this global hotkey?");
    ASSERT_TRUE(InFront(settings));
    EXPECT_EQ(Frames(settings).size(), 3u) << "answering No deleted it";
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Delete"));
    EXPECT_EQ(TakeBox(u"Confirm", IDYES), u"Are you sure you want to delete this global hotkey?");
    EXPECT_TRUE(wintest::WaitFor("the frame gone", [&] { return !IsWindow(frame); })) << "the frame is still there";
    EXPECT_EQ(Frames(settings).size(), 2u);
    EXPECT_TRUE(wintest::WaitFor("the hotkey gone from the file", [] { return FileHolds(kAfterDeletion); }))
        << Printable(HotkeyFileBytes());
    EXPECT_EQ(fw::Win32FileStore().Read(e2e::HotkeyFile() + u".bak"), beforeDeletion) << "the replaced file is kept";
    EXPECT_TRUE(e2e::CanRegister(kCtrlAlt, VK_F7));
    EXPECT_FALSE(PressChangesClipboard(kCtrlAlt, VK_F7));
}

TEST_F(SettingsE2E, CloseEndsTheWindowButNotTheProgram) {
    const HWND settings = StartWithSettings(kAfterDeletion);
    ASSERT_NE(settings, nullptr);
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"Close"));
    EXPECT_TRUE(wintest::WaitFor("the settings window destroyed", [&] { return !IsWindow(settings); }))
        << "the window was not destroyed";
    EXPECT_EQ(program_->WaitForExit(0ms), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first");

    // The tray makes a new window the next time, from the file as it is; Esc closes it too.
    ASSERT_TRUE(ChooseSettingsFromTrayMenu());
    const HWND again = WaitForWindow("a new settings window", [this] { return Settings(); });
    ASSERT_NE(again, nullptr) << "no settings window after the first was closed";
    EXPECT_EQ(Frames(again).size(), 2u);
    EXPECT_TRUE(wintest::WaitFor("the new settings window in front", [&] { return GetForegroundWindow() == again; }));
    ASSERT_TRUE(InFront(again));
    Press(VK_ESCAPE);
    EXPECT_TRUE(wintest::WaitFor("the new settings window destroyed", [&] { return !IsWindow(again); }))
        << "Esc did not close the window";
    EXPECT_EQ(program_->WaitForExit(0ms), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F2), u"first");
}

// Under Wine "@" on Q stands for "€" on E, and the layout is named after the language (AsciiByKeyScan).
TEST_F(SettingsE2E, CombinationThatTypesACharacterIsQuestionedAndNoSavesNothing) {
    const auto setMap = [](std::string map) {  // read by Wine when a program starts
        std::string program = "setxkbmap";     // on this test's display, through Wine's own call
        char* const argv[] = {program.data(), map.data(), nullptr};
        return fw::SystemLibrary(L"ntdll.dll").Get<long(char* const*, int)>("__wine_unix_spawnvp")(argv, 1) == 0;
    };
    ASSERT_TRUE(setMap("de"));
    const fw::ScopeExit usMap([&] { EXPECT_TRUE(setMap("us")); });
    const HWND settings = StartWithSettings(kPreparedFile);
    ASSERT_NE(settings, nullptr);
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"&New hotkey"));
    const HWND wizard = WaitForWindow("the wizard", [this] { return FindForm(u"New hotkey"); });
    const HWND keyField = Descendants(wizard, u"msctls_hotkey32", std::nullopt).at(0);
    Ask(keyField, HKM_SETHOTKEY, 'Q');
    for (const char16_t* name : {u"&CTRL", u"&ALT", u"&Next"}) e2e::ClickCentre(Descendant(wizard, L"BUTTON", name));
    const std::u16string question = TakeBox(u"Confirm", IDNO).value_or(u"(no question)");
    EXPECT_TRUE(question.starts_with(u"On the ") && !question.starts_with(u"On the  ") &&
                question.ends_with(u" keyboard layout, CTRL+ALT+Q types \"@\". Use it as a hotkey anyway?"))
        << fw::Utf16ToUtf8(question);
    EXPECT_TRUE(IsWindowVisible(keyField)) << "No stays on the key page";
    e2e::ClickCentre(Descendant(wizard, L"BUTTON", u"Cancel"));
    EXPECT_TRUE(wintest::WaitFor("the wizard closed", [&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }));
    EXPECT_TRUE(FileHolds(kPreparedFile)) << Printable(HotkeyFileBytes());
}
