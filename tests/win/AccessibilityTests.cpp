// Every window as a screen reader meets it, through the system's accessible objects: each control
// that takes the focus, and each one we draw, has a name and a role; no two Alt+keys of one window
// are alike, a frame's counting with the window it is in.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <iostream>
#include <string>
#include <vector>

#include "capture/SaveCaptureU.h"
#include "framework/ComPtr.h"
#include "framework/Mnemonics.h"
#include "framework/Registry.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"
#include "ui/frmAddHotkeyU.h"
#include "ui/frmFirstUseU.h"
#include "ui/frmMemoInputU.h"

using namespace corvalend;

namespace {

std::pair<std::u16string, long> Read(HWND control) {  // name and role, as a screen reader asks
    fw::ComPtr<IAccessible> object;
    VARIANT self{}, role{};
    self.vt = VT_I4, self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(object.put()));
    if (!object || FAILED(object->get_accRole(self, &role))) return {};
    std::u16string text;
    if (object->get_accName(self, &name) == S_OK)
        text.assign(reinterpret_cast<const char16_t*>(name), SysStringLen(name));
    SysFreeString(name);
    return {text, role.vt == VT_I4 ? role.lVal : 0};
}

std::u16string Text(HWND window, const wchar_t* kind = nullptr) {  // of the window, or its kind
    wchar_t text[128] = {};
    kind != nullptr ? GetClassNameW(window, text, 128) : GetWindowTextW(window, text, 128);
    return fw::FromWide(text);
}

TEST(Accessibility, EveryWindowNamesItsControlsAndHasEachAltKeyOnce) {
    fw::Application app(GetModuleHandleW(nullptr));
    wintest::EmptyHotkeyFile();
    fw::RegistryIni(kProgramKey).WriteString(kFirstUseValue, u"0");  // no guide at InitApp
    wintest::ProgramData data(app);
    fw::ForceDirectories(fw::ExtractFileDir(data.DataFile(dftHotkeys)));
    THotkeyList file(data.HotkeyServices());
    file.Add(true, 'A', MOD_ALT, hkfOpenFile, u"notepad.exe", u"", u"");
    file.Add(true, 'B', MOD_CONTROL | MOD_SHIFT, hkfMaximize, u"", u"", u"");
    file.SaveToFile(data.DataFile(dftHotkeys));
    data.InitApp();
    TSettingsForm& settings = OpenSettingsForm(app, data);
    THotkeySetting &edited = *settings.HotKeySettingsList().front(), &viewed = *settings.HotKeySettingsList().back();
    edited.SetEditMode(true);
    TfrmAddHotkey wizard(app, nullptr, data);
    TfrmFirstUse guide(app, nullptr, data);
    TfrmMemoInput input(app, nullptr);
    CaptureWindows captures;
    TSaveCapture& capture = captures.Add(app);
    const struct {
        const char* name;
        HWND root, skipped;  // a frame like the one that counts
        std::vector<HWND> drawn;
    } windows[] = {
        {"settings window", settings.Handle(), viewed.Handle(), {settings.lblWeb.Handle(), viewed.Panel4.Handle()}},
        {"new-hotkey wizard", wizard.Handle(), nullptr, {}},
        {"first-use guide", guide.Handle(), nullptr, {guide.lblLink.Handle()}},
        {"text input dialog", input.Handle(), nullptr, {}},
        {"capture window", capture.Handle(), nullptr, {capture.CaptureImage().Handle()}},
    };
    for (const auto& window : windows) {
        std::vector<HWND> all;
        EnumChildWindows(
            window.root, [](HWND c, LPARAM to) { return reinterpret_cast<std::vector<HWND>*>(to)->push_back(c), TRUE; },
            reinterpret_cast<LPARAM>(&all));
        int focusable = 0, named = 0, byLabel = 0;
        std::vector<std::u16string> keys;
        for (const HWND c : all) {
            if (c == window.skipped || IsChild(window.skipped, c)) continue;
            const std::u16string kind = Text(c, L""), text = Text(c);
            if (kind == u"Button" || (kind == u"Static" && fw::MnemonicOf(text) != 0)) keys.push_back(text);
            EXPECT_TRUE(kind != u"Button" || fw::MnemonicOf(text) != 0) << window.name << " " << fw::AsWide(text);
            for (int i = 0; kind == u"SysTabControl32" && i < TabCtrl_GetItemCount(c); ++i) {
                wchar_t tab[64] = {};
                TCITEMW item{};
                item.mask = TCIF_TEXT, item.pszText = tab, item.cchTextMax = 64;
                TabCtrl_GetItem(c, i, &item);
                keys.push_back(fw::FromWide(tab));
                EXPECT_NE(fw::MnemonicOf(keys.back()), 0) << window.name;
            }
            if ((GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP) == 0) continue;
            ++focusable;
            const auto [name, role] = Read(c);
            EXPECT_GT(role, 0) << window.name;
            // Text fields, lists and key boxes take the label before them as their name on Windows;
            // Wine's objects leave it empty.
            const HWND label = GetWindow(c, GW_HWNDPREV);
            const bool labelled = (kind == u"Edit" || kind == u"ComboBox" || kind == u"msctls_hotkey32") &&
                                  label != nullptr && Text(label, L"") == u"Static" && !Text(label).empty();
            named += !name.empty();
            byLabel += name.empty() && labelled;
            EXPECT_TRUE(!name.empty() || labelled) << window.name << ": an unnamed " << fw::AsWide(kind);
        }
        for (const HWND c : window.drawn) EXPECT_FALSE(Read(c).first.empty() || Read(c).second == 0) << window.name;
        EXPECT_EQ(fw::RepeatedMnemonics(keys), u"") << window.name << " has an Alt+key more than once";
        std::cout << window.name << ": " << named << " named, " << byLabel << " by their labels, of " << focusable
                  << " focusable\n";  // for the closing note
    }
    const std::u16string hotkey = data.HotkeyToString('B', MOD_CONTROL | MOD_SHIFT);
    EXPECT_EQ(Read(viewed.btnEdit.Handle()).first, u"Edit " + hotkey)
        << "the caption stays " << fw::AsWide(viewed.btnEdit.Text());
    EXPECT_EQ(Read(viewed.btnDelete.Handle()).first, u"Delete " + hotkey);
    EXPECT_EQ(Read(guide.lblLink.Handle()),
              std::make_pair(std::u16string(u"Visit Tamberlo Sotware on the web"), long{ROLE_SYSTEM_LINK}));
    EXPECT_EQ(Read(edited.Editor().cbParam3.Handle()).first, u"Window state");
    EXPECT_EQ(Read(settings.pcClient.Handle()).first, u"Hotkeys") << "the tabs read as the page shown";
    EXPECT_EQ(Read(capture.CaptureImage().Handle()).second, ROLE_SYSTEM_GRAPHIC);
    FreeSettingsForms();
    wintest::DeleteTree(fw::ExtractFileDir(data.DataFile(dftHotkeys)));
}

}  // namespace
