// Every window of the program as a user with large fonts, a high-contrast scheme or a screen reader
// meets it: each caption has room for its text in the window's font at 96 and 144 DPI, no two
// controls side by side overlap, in high contrast nothing is drawn in a colour that is not the
// scheme's, every focusable control has a name and a role, and no two Alt+keys of one window are
// alike (a frame's counting with its window: each frame has the same).
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>
#include <uxtheme.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "capture/SaveCaptureU.h"
#include "framework/Bitmap.h"
#include "framework/ComPtr.h"
#include "framework/Mnemonics.h"
#include "framework/SystemPalette.h"
#include "framework/Text.h"
#include "framework/UniqueHandle.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/MainFormU.h"
#include "ui/SettingsFormU.h"
#include "ui/frmAddHotkeyU.h"
#include "ui/frmFirstUseU.h"
#include "ui/frmMemoInputU.h"

using namespace corvalend;

namespace {

// A window on the screen, and the states in which its controls show (pages, a frame being edited).
struct ShownWindow {
    std::string name;
    fw::Form* form = nullptr;
    std::vector<std::function<void()>> states;
    std::unique_ptr<fw::Form> owned;
};

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(
        parent, [](HWND w, LPARAM list) { return reinterpret_cast<std::vector<HWND>*>(list)->push_back(w), TRUE; },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

std::wstring Get(HWND w, bool className) {
    wchar_t text[512] = {};
    className ? GetClassNameW(w, text, 512) : GetWindowTextW(w, text, 512);
    return text;
}

std::pair<std::u16string, long> Read(HWND control) {  // name and role, as a screen reader asks
    fw::ComPtr<IAccessible> object;
    VARIANT self{}, role{};
    self.vt = VT_I4, self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(object.put()));
    if (!object || FAILED(object->get_accRole(self, &role))) return {};
    object->get_accName(self, &name);  // none: S_FALSE and null
    const std::u16string text(name != nullptr ? reinterpret_cast<const char16_t*>(name) : u"", SysStringLen(name));
    SysFreeString(name);
    return {text, role.vt == VT_I4 ? role.lVal : 0};
}

// The width (or, wrapped at `wrap`, the size) of a text in the control's font, "&" as a prefix.
SIZE Measure(HWND w, const std::wstring& text, int wrap = 0) {
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    const fw::ScopedSelectObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(w, WM_GETFONT, 0, 0)));
    RECT r{0, 0, wrap, 0};
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    DrawTextW(dc.get(), text.c_str(), -1, &r,
              DT_CALCRECT | (wrap > 0 ? DT_WORDBREAK : DT_SINGLELINE) | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
    return {r.right, r.bottom};
}

// What does not fit in one control, or "".
std::string Misfit(HWND w, UINT dpi) {
    RECT c{};
    GetClientRect(w, &c);
    const std::wstring cls = Get(w, true), text = Get(w, false);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    int need = 0;
    if (cls == L"Button") {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX || text.empty()) return "";
        const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
        // Push buttons: a 3D edge and the focus rectangle each side; boxes: the glyph and its gap.
        need = Measure(w, text).cx + fw::ScaleForDpi(push ? 2 * 3 : 13 + 4, dpi);
    } else if (cls == L"Static") {
        const LONG kind = style & SS_TYPEMASK;
        if (text.empty() || (style & SS_ELLIPSISMASK) != 0 || (kind != SS_LEFT && kind != SS_LEFTNOWORDWRAP))
            return "";  // shortened on purpose, or no text drawn
        if (dynamic_cast<THotkeyViewPanel*>(fw::Control::FromHandle(w)) != nullptr) return "";  // its reading only
        const SIZE wrapped = Measure(w, text, kind == SS_LEFT ? c.right : 0);
        if (wrapped.cy > c.bottom) return "needs " + std::to_string(wrapped.cy) + " px down";
        need = wrapped.cx;
    } else if (cls == L"ComboBox") {
        for (int i = 0; i < SendMessageW(w, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t item[256] = {};
            SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            const int width = Measure(w, std::wstring(L"&&") + item).cx - Measure(w, L"&&").cx +
                              GetSystemMetricsForDpi(SM_CXVSCROLL, dpi) + fw::ScaleForDpi(2 * 3, dpi);
            if (width > need) need = width;
        }
    }
    return need > c.right ? "needs " + std::to_string(need) + " px, has " + std::to_string(c.right) : "";
}

void ExpectLegible(HWND form, const std::string& where, UINT dpi) {
    const std::vector<HWND> all = Children(form);
    for (HWND w : all) {
        if (!IsWindowVisible(w)) continue;
        const std::string misfit = Misfit(w, dpi);
        EXPECT_EQ(misfit, "") << where << ": " << fw::Utf16ToUtf8(fw::FromWide(Get(w, true).c_str())) << " \""
                              << fw::Utf16ToUtf8(fw::FromWide(Get(w, false).c_str())) << "\"";
        RECT a{}, b{}, overlap{};
        GetWindowRect(w, &a);
        for (HWND v : all) {
            const bool line =
                (GetWindowLongW(v, GWL_STYLE) & SS_TYPEMASK) >= SS_ETCHEDHORZ && Get(v, true) == L"Static";
            if (v <= w || GetParent(v) != GetParent(w) || !IsWindowVisible(v) || line) continue;
            GetWindowRect(v, &b);
            EXPECT_FALSE(IntersectRect(&overlap, &a, &b))
                << where << ": \"" << fw::Utf16ToUtf8(fw::FromWide(Get(w, false).c_str())) << "\" overlaps \""
                << fw::Utf16ToUtf8(fw::FromWide(Get(v, false).c_str())) << "\" ("
                << fw::Utf16ToUtf8(fw::FromWide(Get(v, true).c_str())) << ")";
        }
    }
}

class EveryWindow : public wintest::ProgramSuite {
protected:
    static constexpr unsigned kFirstKey = 'Q', kFirstModifiers = MOD_CONTROL | MOD_ALT;
    void SetUp() override {
        wintest::EmptyHotkeyFile();
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        fw::ForceDirectories(fw::ExtractFileDir(data_->DataFile(dftHotkeys)));
        THotkeyList file(data_->HotkeyServices());
        file.Add(true, kFirstKey, kFirstModifiers, hkfMaximize, u"", u"", u"");
        file.Add(false, 'W', MOD_CONTROL | MOD_ALT | MOD_SHIFT, hkfSendKeys,
                 u"a long keystroke text that runs on past the end of its place {ENTER}", u"", u"");
        file.SaveToFile(data_->DataFile(dftHotkeys));
        data_->InitApp();
        Data = data_.get();
    }
    void TearDown() override {
        fw::SetHighContrastQuery(nullptr);
        FreeSettingsForms();
        Data = nullptr;
        data_.reset();
    }

    // Every window of the program, shown.
    std::vector<ShownWindow> OpenAll() {
        std::vector<ShownWindow> shown;
        auto pages = [](fw::PageControl& pages) {
            std::vector<std::function<void()>> states;
            for (int i = 0; i < pages.PageCount(); ++i) states.push_back([&pages, i] { pages.SetActivePageIndex(i); });
            return states;
        };
        auto popup = std::make_unique<TMainForm>(*app_);
        popup->TrayIconClick();
        shown.push_back({"popup", popup.get(), {[] {}}, std::move(popup)});
        TSettingsForm& settings = OpenSettingsForm(*app_, *data_);
        settings.Show();
        ShownWindow entry{"settings", &settings, pages(settings.pcClient), nullptr};
        for (const auto& frame : settings.HotKeySettingsList()) frame->SetEditMode(true);
        shown.push_back(std::move(entry));
        auto wizard = std::make_unique<TfrmAddHotkey>(*app_, nullptr, *data_);
        shown.push_back({"wizard", wizard.get(), pages(wizard->pcClient), std::move(wizard)});
        auto guide = std::make_unique<TfrmFirstUse>(*app_, nullptr, *data_);
        shown.push_back({"guide", guide.get(), pages(guide->pcClient), std::move(guide)});
        shown.push_back({"text input", nullptr, {[] {}}, std::make_unique<TfrmMemoInput>(*app_, nullptr)});
        TSaveCapture& capture = captures_.Add(*app_);
        capture.CaptureImage().SetPicture(fw::Picture(300, 200, 0x00406080));
        shown.push_back({"capture", &capture, {[] {}}, nullptr});
        for (ShownWindow& w : shown) {
            if (w.form == nullptr) w.form = w.owned.get();
            if (!w.form->Visible()) w.form->Show();
        }
        return shown;
    }

    std::unique_ptr<wintest::ProgramData> data_;
    CaptureWindows captures_;
};

TEST_F(EveryWindow, EveryCaptionFitsItsControlAndNoControlsOverlapAt96And144Dpi) {
    for (ShownWindow& w : OpenAll()) {
        const fw::Size client = w.form->ClientSize96();
        for (const UINT dpi : {96u, 144u}) {
            wintest::ChangeDpi(*w.form, dpi, client.width, client.height);
            for (size_t s = 0; s < w.states.size(); ++s) {
                w.states[s]();
                ExpectLegible(w.form->Handle(), w.name + " " + std::to_string(s) + " at " + std::to_string(dpi), dpi);
            }
        }
        wintest::KeepScreenshot(w.form->Handle(), fw::Utf8ToUtf16("legibility-" + w.name));
    }
}

// The window's client area as the screen shows it, the window in front of all others.
fw::Picture Grab(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);  // the popup's see-through is no colour of ours
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wintest::PumpPending();
    RECT c{};
    GetClientRect(window, &c);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&c), 2);
    const fw::Picture picture = fw::GrabScreen(fw::FromRECT(c));
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return picture;
}

TEST_F(EveryWindow, InHighContrastEveryWindowDrawsOnlyInTheSchemesColours) {
    // A scheme of its own whose colours differ in red alone: they, and the smoothed edges of letters
    // between them, keep its green and blue, which no design colour or picture of ours has.
    constexpr uint32_t kSchemeGreenBlue = 0x4D85;
    std::array<int, COLOR_MENUBAR + 1> indexes{};
    std::array<COLORREF, COLOR_MENUBAR + 1> saved{}, scheme{};
    for (int i = 0; i <= COLOR_MENUBAR; ++i) {
        indexes[i] = i;
        saved[i] = GetSysColor(i);
        scheme[i] = RGB(10 + 8 * i, kSchemeGreenBlue >> 8, kSchemeGreenBlue & 0xFF);
    }
    const bool themed = IsThemeActive();
    EnableTheming(FALSE);  // as in high contrast: the controls drawn in the scheme's colours
    fw::SetHighContrastQuery([] { return true; });
    std::vector<ShownWindow> shown = OpenAll();
    SetSysColors(static_cast<int>(indexes.size()), indexes.data(), scheme.data());  // the windows hear of it
    TSaveCapture& capture = *static_cast<TSaveCapture*>(shown.back().form);
    capture.SelectedArea().SetBounds(40, 40, 120, 80);
    capture.SelectedArea().Show();
    capture.ShowSelectionShade();
    for (ShownWindow& w : shown) {
        for (size_t s = 0; s < w.states.size(); ++s) {
            w.states[s]();
            const fw::Picture picture = Grab(w.form->Handle());
            // The capture's picture and its darkening, read in the shade's region above the selection.
            std::set<uint32_t> own;
            if (&capture == w.form) own = {0x406080, picture.At(8, 46) & 0xFFFFFF};
            int stray = 0;
            uint32_t first = 0;
            for (const uint32_t pixel : picture.pixels)
                // The focus rectangle is the system's inversion of what is under it.
                if ((pixel & 0xFFFF) != kSchemeGreenBlue && (~pixel & 0xFFFF) != kSchemeGreenBlue &&
                    !own.contains(pixel & 0xFFFFFF) && stray++ == 0)
                    first = pixel & 0xFFFFFF;
            EXPECT_EQ(stray, 0) << w.name << " " << s << ": not the scheme's, first 0x" << std::hex << first;
        }
        wintest::KeepScreenshot(w.form->Handle(), fw::Utf8ToUtf16("high-contrast-" + w.name));
    }
    SetSysColors(static_cast<int>(indexes.size()), indexes.data(), saved.data());
    EnableTheming(themed);
}

TEST_F(EveryWindow, NamesItsFocusableControlsAndHasEachAltKeyOnce) {
    const std::vector<ShownWindow> shown = OpenAll();
    for (const ShownWindow& w : shown) {
        if (w.name == "popup") continue;  // its rows are drawn: their names are tested natively
        int focusable = 0, named = 0;
        std::vector<std::u16string> keys;
        std::vector<HWND> laterFrames;  // each frame has the first one's Alt+keys
        if (const auto* settings = dynamic_cast<TSettingsForm*>(w.form)) {
            keys = {settings->tsHotkeys.Text(), settings->tsOtherSettings.Text()};  // the tabs'
            for (const auto& frame : settings->HotKeySettingsList()) laterFrames.push_back(frame->Handle());
            laterFrames.erase(laterFrames.begin());
        }
        for (const HWND c : Children(w.form->Handle())) {
            if (std::any_of(laterFrames.begin(), laterFrames.end(), [c](HWND f) { return f == c || IsChild(f, c); }))
                continue;
            const std::wstring kind = Get(c, true), text = Get(c, false);
            if (kind == L"Button" || (kind == L"Static" && fw::MnemonicOf(fw::FromWide(text.c_str())) != 0))
                keys.push_back(fw::FromWide(text.c_str()));
            if ((GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP) == 0) continue;
            ++focusable;
            // Wine leaves unnamed what Windows names by the label before it (text fields, lists, key boxes).
            const HWND label = GetWindow(c, GW_HWNDPREV);
            const auto [name, role] = Read(c);
            named += !name.empty() || ((kind == L"Edit" || kind == L"ComboBox" || kind == L"msctls_hotkey32") &&
                                       Get(label, true) == L"Static" && !Get(label, false).empty());
            EXPECT_TRUE(role > 0 && named == focusable) << w.name << ": an unnamed " << kind;
        }
        EXPECT_EQ(fw::RepeatedMnemonics(keys), u"") << w.name << " has an Alt+key more than once";
        for (const std::u16string& key : keys) EXPECT_NE(fw::MnemonicOf(key), 0) << w.name << " " << fw::AsWide(key);
        std::cout << w.name << ": " << named << " of " << focusable << " focusable named\n";  // for the closing note
    }
    const auto& settings = *static_cast<TSettingsForm*>(shown[1].form);
    const THotkeySetting& frame = *settings.HotKeySettingsList().front();
    const std::u16string hotkey = data_->HotkeyToString(kFirstKey, kFirstModifiers);
    EXPECT_EQ(Read(frame.btnEdit.Handle()).first, u"Edit " + hotkey) << "the caption stays &Edit";
    EXPECT_EQ(Read(frame.btnDelete.Handle()).first, u"Delete " + hotkey);
    EXPECT_EQ(Read(static_cast<TfrmFirstUse*>(shown[3].form)->lblLink.Handle()),
              std::make_pair(std::u16string(u"Visit Tamberlo Sotware on the web"), long{ROLE_SYSTEM_LINK}));
    EXPECT_EQ(Read(settings.pcClient.Handle()).first, u"Hotkeys") << "the tabs read as the page shown";
    EXPECT_EQ(Read(static_cast<TSaveCapture*>(shown.back().form)->CaptureImage().Handle()).second, ROLE_SYSTEM_GRAPHIC);
}

}  // namespace
