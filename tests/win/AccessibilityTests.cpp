// Each window as a screen reader meets it: every focusable control has a name and a role, and no two
// Alt+keys of one window are alike, a frame's counting with its window (each frame has the same).
#include <gtest/gtest.h>

#include <windows.h>

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
    object->get_accName(self, &name);  // none: S_FALSE and null
    const std::u16string text(name != nullptr ? reinterpret_cast<const char16_t*>(name) : u"", SysStringLen(name));
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
    THotkeyList file(data.HotkeyServices());
    file.Add(true, 'B', MOD_CONTROL | MOD_SHIFT, hkfMaximize, u"", u"", u"");
    file.SaveToFile(data.DataFile(dftHotkeys));
    data.InitApp();
    TSettingsForm& settings = OpenSettingsForm(app, data);
    THotkeySetting& frame = *settings.HotKeySettingsList().front();
    frame.SetEditMode(true);
    TfrmAddHotkey wizard(app, nullptr, data);
    TfrmFirstUse guide(app, nullptr, data);
    TfrmMemoInput input(app, nullptr);
    CaptureWindows captures;
    TSaveCapture& capture = captures.Add(app);
    const std::pair<const char*, HWND> windows[] = {{"settings window", settings.Handle()},
                                                    {"new-hotkey wizard", wizard.Handle()},
                                                    {"first-use guide", guide.Handle()},
                                                    {"text input dialog", input.Handle()},
                                                    {"capture window", capture.Handle()}};
    for (const auto& [window, root] : windows) {
        std::vector<HWND> all;
        EnumChildWindows(
            root, [](HWND c, LPARAM to) { return reinterpret_cast<std::vector<HWND>*>(to)->push_back(c), TRUE; },
            reinterpret_cast<LPARAM>(&all));
        int focusable = 0, named = 0;
        std::vector<std::u16string> keys{settings.tsHotkeys.Text(), settings.tsOtherSettings.Text()};  // the tabs'
        if (root != settings.Handle()) keys.clear();
        for (const HWND c : all) {
            const std::u16string kind = Text(c, L""), text = Text(c);
            if (kind == u"Button" || (kind == u"Static" && fw::MnemonicOf(text) != 0)) keys.push_back(text);
            if ((GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP) == 0) continue;
            ++focusable;
            // Wine leaves unnamed what Windows names by the label before it (text fields, lists, key boxes).
            const HWND label = GetWindow(c, GW_HWNDPREV);
            const auto [name, role] = Read(c);
            named += !name.empty() || ((kind == u"Edit" || kind == u"ComboBox" || kind == u"msctls_hotkey32") &&
                                       Text(label, L"") == u"Static" && !Text(label).empty());
            EXPECT_TRUE(role > 0 && named == focusable) << window << ": an unnamed " << fw::AsWide(kind);
        }
        EXPECT_EQ(fw::RepeatedMnemonics(keys), u"") << window << " has an Alt+key more than once";
        for (const std::u16string& key : keys) EXPECT_NE(fw::MnemonicOf(key), 0) << window << " " << fw::AsWide(key);
        std::cout << window << ": " << named << " of " << focusable << " focusable named\n";  // for the closing note
    }
    const std::u16string hotkey = data.HotkeyToString('B', MOD_CONTROL | MOD_SHIFT);
    EXPECT_EQ(Read(frame.btnEdit.Handle()).first, u"Edit " + hotkey) << "the caption stays &Edit";
    EXPECT_EQ(Read(frame.btnDelete.Handle()).first, u"Delete " + hotkey);
    EXPECT_EQ(Read(guide.lblLink.Handle()),
              std::make_pair(std::u16string(u"Visit Tamberlo Sotware on the web"), long{ROLE_SYSTEM_LINK}));
    EXPECT_EQ(Read(settings.pcClient.Handle()).first, u"Hotkeys") << "the tabs read as the page shown";
    EXPECT_EQ(Read(capture.CaptureImage().Handle()).second, ROLE_SYSTEM_GRAPHIC);
    FreeSettingsForms();
    wintest::DeleteTree(fw::ExtractFileDir(data.DataFile(dftHotkeys)));
}

}  // namespace
