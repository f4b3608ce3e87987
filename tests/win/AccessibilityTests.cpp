// What a screen reader meets in each window, read back as one does, through the system's accessible
// objects: every control that takes the focus, and every one we draw, has a name and a role; and the
// Alt+keys of one window are all different, a frame's counting with the window it is in.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <iostream>
#include <memory>
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

struct Reading {
    std::u16string name;
    long role = 0;
};

// As a screen reader asks: the window's client object, its name and role.
Reading Read(HWND control) {
    fw::ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.put())))) {
        return {};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Reading reading;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        reading.name = std::u16string(reinterpret_cast<const char16_t*>(name), SysStringLen(name));
        SysFreeString(name);
    }
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) reading.role = role.lVal;
    return reading;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> Descendants(HWND root) {
    std::vector<HWND> found;
    EnumChildWindows(
        root,
        [](HWND child, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Has(HWND window, LONG_PTR style) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & style) == style;
}

// The control takes the focus from the keyboard (when it shows): a tab stop, or the tabs.
bool Focusable(HWND window) {
    return Has(window, WS_TABSTOP) || ClassOf(window) == WC_TABCONTROLW;
}

// The system's rule for a text field, a list or a key box: the name is the text of the label just
// before it in the window order (Wine's objects do not apply it, Windows' do).
bool NamedByLabel(HWND control) {
    const std::wstring kind = ClassOf(control);
    if (kind != L"Edit" && kind != L"ComboBox" && kind != HOTKEY_CLASSW) return false;
    const HWND label = GetWindow(control, GW_HWNDPREV);
    return label != nullptr && ClassOf(label) == L"Static" && GetWindowTextLengthW(label) > 0;
}

struct WindowUnderTest {
    const char* name;
    HWND root;
    std::vector<HWND> drawn;   // the controls we paint ourselves
    std::vector<HWND> frames;  // frames of which the window shows many alike: the first one counts
};

class Accessibility : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        app_->SetTitle(u"Corvalend");
    }
    static void TearDownTestSuite() { app_.reset(); }
    void SetUp() override {
        wintest::EmptyHotkeyFile();
        fw::RegistryIni(kProgramKey).WriteString(kFirstUseValue, u"0");  // no guide of its own at InitApp
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        fw::ForceDirectories(fw::ExtractFileDir(data_->DataFile(dftHotkeys)));
        THotkeyList file(data_->HotkeyServices());
        file.Add(true, 'A', MOD_ALT, hkfOpenFile, u"notepad.exe", u"", u"NORMAL");
        file.Add(true, 'B', MOD_CONTROL | MOD_SHIFT, hkfMaximize, u"", u"", u"");
        file.SaveToFile(data_->DataFile(dftHotkeys));
        folder_ = fw::ExtractFileDir(data_->DataFile(dftHotkeys));
        data_->InitApp();
        settings_ = &OpenSettingsForm(*app_, *data_);
        settings_->HotKeySettingsList().front()->SetEditMode(true);  // the edit panel with it
        wizard_ = std::make_unique<TfrmAddHotkey>(*app_, settings_->Handle(), *data_);
        guide_ = std::make_unique<TfrmFirstUse>(*app_, nullptr, *data_);
        input_ = std::make_unique<TfrmMemoInput>(*app_, settings_->Handle());
        captures_ = std::make_unique<CaptureWindows>();
        capture_ = &captures_->Add(*app_);
        capture_->CaptureImage().SetPicture(fw::Picture(40, 30));
    }
    void TearDown() override {
        captures_.reset();
        input_.reset();
        guide_.reset();
        wizard_.reset();
        FreeSettingsForms();
        data_.reset();
        wintest::DeleteTree(folder_);
    }

    std::vector<WindowUnderTest> Windows() const {
        std::vector<HWND> frames;
        for (const auto& frame : settings_->HotKeySettingsList()) frames.push_back(frame->Handle());
        return {
            {"settings window",
             settings_->Handle(),
             {settings_->lblWeb.Handle(), settings_->lblMail.Handle(),
              settings_->HotKeySettingsList().back()->Panel4.Handle()},
             frames},
            {"new-hotkey wizard", wizard_->Handle(), {}, {}},
            {"first-use guide", guide_->Handle(), {guide_->lblLink.Handle()}, {}},
            {"text input dialog", input_->Handle(), {}, {}},
            {"capture window", capture_->Handle(), {capture_->CaptureImage().Handle()}, {}},
        };
    }

    // The window's own controls and those of its first frame.
    static std::vector<HWND> Controls(const WindowUnderTest& window) {
        std::vector<HWND> controls;
        for (const HWND control : Descendants(window.root)) {
            const bool inOtherFrame =
                std::any_of(window.frames.begin() + (window.frames.empty() ? 0 : 1), window.frames.end(),
                            [&](HWND frame) { return frame == control || IsChild(frame, control); });
            if (!inOtherFrame) controls.push_back(control);
        }
        return controls;
    }

    inline static std::unique_ptr<fw::Application> app_;
    std::unique_ptr<wintest::ProgramData> data_;
    std::u16string folder_;
    TSettingsForm* settings_ = nullptr;
    std::unique_ptr<TfrmAddHotkey> wizard_;
    std::unique_ptr<TfrmFirstUse> guide_;
    std::unique_ptr<TfrmMemoInput> input_;
    std::unique_ptr<CaptureWindows> captures_;
    TSaveCapture* capture_ = nullptr;
};

TEST_F(Accessibility, EveryFocusableOrDrawnControlHasANameAndARole) {
    for (const WindowUnderTest& window : Windows()) {
        int focusable = 0, named = 0, byLabel = 0;
        for (const HWND control : Controls(window)) {
            if (!Focusable(control)) continue;
            ++focusable;
            const Reading reading = Read(control);
            EXPECT_GT(reading.role, 0) << window.name;
            if (!reading.name.empty()) {
                ++named;
            } else if (NamedByLabel(control)) {
                ++byLabel;
            } else {
                const std::wstring kind = ClassOf(control);
                ADD_FAILURE() << window.name << ": a " << std::string(kind.begin(), kind.end())
                              << " with no name and no label before it";
            }
        }
        for (const HWND control : window.drawn) {
            const Reading reading = Read(control);
            EXPECT_FALSE(reading.name.empty()) << window.name;
            EXPECT_GT(reading.role, 0) << window.name;
        }
        EXPECT_GT(focusable, 0) << window.name;
        // For the closing note: named through the objects here, and by their labels on Windows.
        std::cout << window.name << ": " << named << " named + " << byLabel << " by their labels of " << focusable
                  << " focusable\n";
    }
}

TEST_F(Accessibility, EditAndDeleteReadTheirHotkeyAndLinksAndThePictureTheirRoles) {
    const THotkeySetting& frame = *settings_->HotKeySettingsList().back();
    const std::u16string hotkey = data_->HotkeyToString('B', MOD_CONTROL | MOD_SHIFT);
    EXPECT_EQ(Read(frame.btnEdit.Handle()).name, u"Edit " + hotkey);
    EXPECT_EQ(Read(frame.btnDelete.Handle()).name, u"Delete " + hotkey);
    EXPECT_EQ(frame.btnEdit.Text(), u"&Edit") << "the caption stays";

    const Reading link = Read(guide_->lblLink.Handle());
    EXPECT_EQ(link.name, u"Visit Tamberlo Sotware on the web");
    EXPECT_EQ(link.role, ROLE_SYSTEM_LINK);
    EXPECT_EQ(Read(settings_->HotKeySettingsList().front()->Editor().cbParam3.Handle()).name, u"Window state");
    EXPECT_EQ(Read(wizard_->cbParam3.Handle()).name, u"Window state");
    const Reading picture = Read(capture_->CaptureImage().Handle());
    EXPECT_EQ(picture.role, ROLE_SYSTEM_GRAPHIC);
    EXPECT_EQ(picture.name.rfind(u"Screen capture, selection w: ", 0), 0u) << fw::AsWide(picture.name);
}

TEST_F(Accessibility, NoTwoAltKeysAlikeInOneWindowAndEveryButtonBoxAndTabHasOne) {
    for (const WindowUnderTest& window : Windows()) {
        std::vector<std::u16string> captions;
        for (const HWND control : Controls(window)) {
            const std::wstring kind = ClassOf(control);
            wchar_t caption[128] = {};
            GetWindowTextW(control, caption, 128);
            const std::u16string text = fw::FromWide(caption);
            if (kind == L"Button" && !Has(control, BS_GROUPBOX)) {
                EXPECT_NE(fw::MnemonicOf(text), 0) << window.name << ": " << std::string(text.begin(), text.end());
                captions.push_back(text);
            } else if (kind == L"Static" && !Has(control, SS_NOPREFIX) && fw::MnemonicOf(text) != 0) {
                captions.push_back(text);
            } else if (kind == WC_TABCONTROLW) {
                for (int i = 0; i < TabCtrl_GetItemCount(control); ++i) {
                    wchar_t tab[64] = {};
                    TCITEMW item{};
                    item.mask = TCIF_TEXT;
                    item.pszText = tab;
                    item.cchTextMax = 64;
                    TabCtrl_GetItem(control, i, &item);
                    EXPECT_NE(fw::MnemonicOf(fw::FromWide(tab)), 0) << window.name;
                    captions.push_back(fw::FromWide(tab));
                }
            }
        }
        const std::u16string repeated = fw::RepeatedMnemonics(captions);
        EXPECT_EQ(repeated, u"") << window.name << " has Alt+" << std::string(repeated.begin(), repeated.end())
                                 << " more than once";
    }
}

}  // namespace
