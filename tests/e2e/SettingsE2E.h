// The settings window driven from outside: the program started with a prepared hotkey file, and
// what the tests of the settings window, its frames and its wizard share.
#pragma once

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

namespace settings_e2e {

using namespace std::chrono_literals;

inline constexpr unsigned kCtrlAlt = MOD_CONTROL | MOD_ALT;

// A hotkey's section as the program writes it.
inline std::u16string Section(int index,
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
inline const std::u16string kFirst = Section(0, true, VK_F2, u"placeinclipboard", u"first");
inline const std::u16string kOldInactive = Section(1, false, VK_F7, u"placeinclipboard", u"old inactive");
inline const std::u16string kPreparedFile =
    kFirst + u"[key1]\r\nactive=1\r\nkey=118\r\nshift=3\r\nfunc=PlaceInClipboard\r\nparams=unknown\r\n\r\n" +
    Section(2, false, VK_F7, u"placeinclipboard", u"old inactive");

inline const char16_t kWizardText[] = u"Added through the wizard";
inline const char16_t kEditedText[] = u"Changed in the frame \u00E4";

inline std::u16string TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &length);
    return fw::FromWide(text);
}

// A message to a control of the program, answered within the time (0 when it is not).
inline LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_BLOCK, 5000, &result);
    return static_cast<LRESULT>(result);
}

inline std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return fw::FromWide(name);
}

// Every window below `root` (children of children included) of the class and, when given, the text.
inline std::vector<HWND> Descendants(HWND root,
                                     const std::u16string& className,
                                     const std::optional<std::u16string>& text) {
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

inline HWND Descendant(HWND root, const wchar_t* className, const std::u16string& text) {
    return wintest::FindChildWindow(root, className, fw::AsWide(text));
}

// The first window `find` gives; null when it never comes (the test fails then, naming `what`).
inline HWND WaitForWindow(std::string_view what, const std::function<HWND()>& find) {
    HWND window = nullptr;
    wintest::WaitFor(what, [&] { return (window = find()) != nullptr; });
    return window;
}

// The key as a user presses it, once the late events are handled. The steps around each press wait
// for the window and the focus it needs, and for what it does.
inline void Press(unsigned key, unsigned modifiers = 0) {
    e2e::Press(modifiers, key);
}

// Waits until the window is in front with the keyboard focus on `focus` (anywhere inside when null),
// and stays there once the late events of the change are handled.
inline bool InFront(HWND window, HWND focus = nullptr) {
    return wintest::WaitInFront(window, focus);
}

// Waits until the control has the keyboard focus with its window in front (a message box answered
// and gone gives it back).
inline bool Focused(HWND control) {
    return InFront(GetAncestor(control, GA_ROOT), control);
}

// Replaces the text of a one-line field as a user does: click into it, select it all, type.
inline void ReplaceFieldText(HWND field, const std::u16string& text) {
    e2e::ClickCentre(field);
    ASSERT_TRUE(Focused(field));
    Press(VK_HOME);
    Press(VK_END, MOD_SHIFT);
    e2e::Type(text);
}

// Waits until the key-capture field holds the key alone.
inline bool KeyFieldShows(HWND field, unsigned key) {
    return wintest::WaitFor("the key in the key field", [&] { return LOWORD(Ask(field, HKM_GETHOTKEY)) == key; });
}

// Waits until the check box is ticked or cleared as given.
inline bool BoxShows(HWND box, LRESULT state) {
    return wintest::WaitFor("the check box ticked or cleared", [&] { return Ask(box, BM_GETCHECK) == state; });
}

inline std::optional<std::string> HotkeyFileBytes() {
    return fw::Win32FileStore().Read(e2e::HotkeyFile());
}

inline bool FileHolds(const std::u16string& text) {
    return HotkeyFileBytes() == fw::EncodeUtf16LE(text, true);
}

inline std::string Printable(const std::optional<std::string>& bytes) {
    if (!bytes) return "(no file)";
    return fw::Utf16ToUtf8(fw::DecodeText(*bytes, fw::Windows1252CodePage()));
}

// The file as the wizard leaves it, then as the frame's edit and deactivation do (the section the
// program could not read is gone with the first save).
inline const std::u16string kAfterWizard =
    kFirst + kOldInactive + Section(2, true, VK_F7, u"placeinclipboard", kWizardText);
inline const std::u16string kAfterEdit =
    kFirst + kOldInactive + Section(2, true, VK_F7, u"placeinclipboard", kEditedText, u"NORMAL");
inline const std::u16string kAfterDeactivation =
    kFirst + kOldInactive + Section(2, false, VK_F7, u"placeinclipboard", kEditedText, u"NORMAL");
inline const std::u16string kAfterDeletion = kFirst + kOldInactive;

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
        for (const HWND edit : Descendants(settings, u"BUTTON", u"&Edit")) frames.push_back(GetParent(GetParent(edit)));
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
    static bool InEditMode(HWND frame) { return IsWindowVisible(Descendant(frame, L"BUTTON", u"Sa&ve")) != FALSE; }
    static HWND ParametersField(HWND frame) {
        for (const HWND edit : Descendants(frame, u"EDIT", std::nullopt)) {
            if (IsWindowVisible(edit)) return edit;
        }
        return nullptr;
    }
    // Clicks the frame's "Edit" and waits until the frame is in edit mode with the window in front.
    static bool StartEditing(HWND settings, HWND frame) {
        e2e::ClickCentre(Descendant(frame, L"BUTTON", u"&Edit"));
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

}  // namespace settings_e2e
