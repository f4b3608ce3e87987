// The new-hotkey wizard as a real window driven with real key presses: the checks of both pages and
// their messages, Finish appending to the hotkey file and reloading the live hotkeys, and the
// action remembered in the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <dwmapi.h>

#include <chrono>
#include <memory>
#include <string>

#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/frmAddHotkeyU.h"

using namespace corvalend;

namespace {

using wintest::ClientRect;
using wintest::InFront;
using wintest::PressCombination;

constexpr int kOpenFileItem = 3;  // in the menu order of the actions
constexpr int kCloseItem = 2;

// The window that opens the wizard. Never shown.
class OwnerForm final : public fw::Form {
public:
    explicit OwnerForm(fw::Application& app)
        : Form(app, nullptr, {.caption = u"Owner", .clientWidth = 300, .clientHeight = 60}) {}
};

class AddHotkey : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        owner_ = std::make_unique<OwnerForm>(*app_);
    }
    static void TearDownTestSuite() {
        owner_.reset();
        app_.reset();
    }

    void SetUp() override {
        StoreFunc(u"");  // the registry outlives the test run
        wintest::EmptyHotkeyFile();
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        fw::Win32FileStore().Replace(HotkeyFile(), "");
        THotkeyList file(data_->HotkeyServices());
        file.Add(true, 'Q', MOD_CONTROL | MOD_ALT, hkfClose, u"", u"", u"");
        file.Add(false, 'W', MOD_CONTROL | MOD_ALT, hkfMinimize, u"", u"", u"");
        file.SaveToFile(HotkeyFile());
        data_->InitApp();
    }
    void TearDown() override {
        const std::u16string folder = fw::ExtractFileDir(HotkeyFile());  // asked before the data module goes
        data_.reset();
        wintest::DeleteTree(folder);
    }

    std::u16string HotkeyFile() const { return data_->DataFile(dftHotkeys); }
    std::string FileBytes() const { return fw::Win32FileStore().Read(HotkeyFile()).value_or(""); }
    static std::u16string StoredFunc() {
        return fw::RegistryIni(kProgramKey).ReadString(kAddHotKeyFuncValue, u"<missing>");
    }
    static void StoreFunc(const std::u16string& name) {
        fw::RegistryIni(kProgramKey).WriteString(kAddHotKeyFuncValue, name);
    }

    static fw::Application& App() { return *app_; }
    static HWND Owner() { return owner_->Handle(); }
    TData& Data() { return *data_; }

private:
    inline static std::unique_ptr<fw::Application> app_;
    inline static std::unique_ptr<OwnerForm> owner_;
    std::unique_ptr<wintest::ProgramData> data_;
};

// Expects an error box with `text` for the next key press, and closes it.
class ErrorBox {
public:
    void Expect(std::u16string text) {
        expected_ = std::move(text);
        watcher_ = std::make_unique<wintest::MessageBoxWatcher>(u"Error");
    }
    // The box came and went, and the form has the keys again.
    bool Gone(const fw::Form& form) const { return watcher_ != nullptr && watcher_->Closed() && InFront(form); }
    void Check() {
        ASSERT_TRUE(watcher_ != nullptr);
        EXPECT_EQ(fw::Utf16ToUtf8(watcher_->Text()), fw::Utf16ToUtf8(expected_));
        EXPECT_TRUE(watcher_->HasStopIcon());
        watcher_.reset();
    }

private:
    std::u16string expected_;
    std::unique_ptr<wintest::MessageBoxWatcher> watcher_;
};

bool IsOn(const fw::Control& control) {
    return IsWindowVisible(control.Handle()) != FALSE;
}

// The first page with a free combination, SHIFT+E, then Next to the action page.
void ToTheActionPage(wintest::ModalScript& script, TfrmAddHotkey& form) {
    TfrmAddHotkey* wizard = &form;  // the steps run after this returns
    script
        .When(
            "the wizard in front", [=] { return InFront(*wizard); }, [] { PressCombination(0, 'E'); })
        .When(
            "the key E", [=] { return wizard->HotKey1.Key() == 'E'; }, [] { PressCombination(0, VK_TAB); })
        .When(
            "the WIN box focused", [=] { return wizard->ShiftKeyWin.Focused(); },
            [] { PressCombination(MOD_ALT, 'S'); })
        .When(
            "SHIFT ticked", [=] { return wizard->ShiftKeyShift.Checked(); }, [] { PressCombination(0, VK_RETURN); });
}

}  // namespace

TEST_F(AddHotkey, LayoutOfTheDialog) {
    TfrmAddHotkey wizard(App(), Owner(), Data());
    EXPECT_EQ(wizard.Caption(), u"New hotkey");
    EXPECT_EQ(ClientRect(wizard.Handle()), (RECT{0, 0, 571, 403}));
    const LONG_PTR style = GetWindowLongPtrW(wizard.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "fixed size";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << "only the close box";
    EXPECT_EQ(GetWindow(wizard.Handle(), GW_OWNER), Owner());
    EXPECT_EQ(wizard.pnlTop.PixelBounds(), (RECT{0, 0, 571, 49}));
    EXPECT_EQ(wizard.pnlBottom.PixelBounds(), (RECT{0, 362, 571, 403}));
    EXPECT_EQ(wizard.pnlClient.PixelBounds(), (RECT{0, 49, 571, 362}));
    EXPECT_EQ(wizard.pnlClient.Color(), RGB(255, 255, 255));
    BOOL composed = FALSE;
    DwmIsCompositionEnabled(&composed);
    EXPECT_EQ(wizard.pnlTop.Color(), composed ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNFACE))
        << "the top band is frame where frames are composed, else the dialog's colour";
    EXPECT_EQ(wizard.btnPrevious.PixelBounds(), (RECT{325, 8, 400, 33}));
    EXPECT_EQ(wizard.btnNext.PixelBounds(), (RECT{406, 8, 481, 33}));
    EXPECT_EQ(wizard.btnCancel.PixelBounds(), (RECT{487, 8, 562, 33}));
    EXPECT_EQ(wizard.btnPrevious.Text(), u"&Previous");
    EXPECT_FALSE(wizard.btnPrevious.Enabled());
    EXPECT_EQ(wizard.btnNext.Text(), u"&Next");
    EXPECT_EQ(wizard.btnCancel.Text(), u"Cance&l");
    EXPECT_EQ(wizard.DefaultButton(), &wizard.btnNext);
    EXPECT_EQ(wizard.CancelButton(), &wizard.btnCancel);
    EXPECT_EQ(wizard.pcClient.ActivePage(), &wizard.tsKey);
    EXPECT_EQ(wizard.HotKey1.Key(), 0);
    EXPECT_EQ(wizard.HotKey1.PixelBounds().left, 106);
    EXPECT_EQ(wizard.Label2.PixelBounds().left, 32);
    EXPECT_EQ(wizard.cbAction.PixelBounds().left, 126);
    EXPECT_EQ(wizard.ShiftKeyWin.Text(), u"&WIN");
    EXPECT_EQ(wizard.ShiftKeyShift.Text(), u"&SHIFT");
    EXPECT_LT(wizard.ShiftKeyWin.PixelBounds().top, wizard.ShiftKeyALt.PixelBounds().top);
    EXPECT_LT(wizard.ShiftKeyCTRL.PixelBounds().top, wizard.ShiftKeyShift.PixelBounds().top);
    EXPECT_EQ(wizard.cbAction.ItemText(12), u"Pause or resume hotkeys") << "the last";
    EXPECT_EQ(wizard.cbAction.ItemIndex(), -1);
    EXPECT_EQ(wintest::FontHeight(wizard.Label1.Handle()), -MulDiv(12, 96, 72)) << "12-point heading";
    EXPECT_EQ(wintest::FontHeight(wizard.Label4.Handle()), -11) << "Tahoma 8 pt";
    for (const fw::Control* hidden : std::initializer_list<const fw::Control*>{
             &wizard.Label10, &wizard.edtParameters, &wizard.btnParameters, &wizard.lblAdditionalParameters,
             &wizard.edtAdditionalParameters, &wizard.cbParam3}) {
        EXPECT_FALSE(hidden->Visible());
    }
    EXPECT_EQ(wizard.HotKeyList().Count(), 2) << "every hotkey of the file, inactive ones too";
    wintest::ChangeDpi(wizard, 144, 571, 403);
    wintest::ExpectScaled(ClientRect(wizard.Handle()), {0, 0, 571, 403}, 144, "client area");
    wintest::ExpectScaled(wizard.btnNext.PixelBounds(), {406, 8, 481, 33}, 144, "btnNext");
}

TEST_F(AddHotkey, ChecksBothPagesThenFinishAppendsOneHotkeyAndReloads) {
    StoreFunc(u"");
    const std::string before = FileBytes();
    TfrmAddHotkey wizard(App(), Owner(), Data());
    ErrorBox box;
    int page2AfterNext = -1;
    bool finishShown = false;
    bool previousEnabled = false;
    int pageAfterPrevious = -1;
    bool fieldsShown = false;
    std::string fileWhileChecking;

    const auto inFront = [&] { return InFront(wizard); };
    const auto keyFocused = [&] { return wizard.HotKey1.Focused(); };
    const auto winBoxFocused = [&] { return wizard.ShiftKeyWin.Focused(); };
    const auto boxGone = [&] { return box.Gone(wizard); };
    const auto keyIs = [&](uint16_t key) { return [&wizard, key] { return wizard.HotKey1.Key() == key; }; };

    wintest::ModalScript script;
    script
        .When("the wizard in front", inFront, [&] { PressCombination(0, VK_TAB); })  // the key field to WIN
        .When("the WIN box focused", winBoxFocused,
              [&] {
                  box.Expect(u"You must select a key for your hotkey.");
                  PressCombination(0, VK_RETURN);
              })
        .When("the box for no key", boxGone,
              [&] {
                  box.Check();
                  PressCombination(MOD_ALT, 'K');
              })
        .When("the key field focused", keyFocused, [&] { PressCombination(0, 'W'); })  // the inactive one's key
        .When("the key W", keyIs('W'), [&] { PressCombination(0, VK_TAB); })
        .When("the WIN box focused", winBoxFocused,
              [&] {
                  box.Expect(u"You must select a shift key for your hotkey.");
                  PressCombination(0, VK_RETURN);
              })
        .When("the box for no shift key", boxGone,
              [&] {
                  box.Check();
                  PressCombination(MOD_ALT, 'K');
              })
        .When("the key field focused", keyFocused, [&] { PressCombination(0, 'Q'); })  // the active one's key
        .When("the key Q", keyIs('Q'), [&] { PressCombination(0, VK_TAB); })
        .When("the WIN box focused", winBoxFocused, [&] { PressCombination(MOD_ALT, 'C'); })
        .When(
            "CTRL ticked", [&] { return wizard.ShiftKeyCTRL.Checked(); }, [&] { PressCombination(MOD_ALT, 'A'); })
        .When(
            "ALT ticked", [&] { return wizard.ShiftKeyALt.Checked(); },
            [&] {
                box.Expect(u"The selected hotkey is already in use.");
                PressCombination(0, VK_RETURN);
            })
        .When("the box for a combination in use", boxGone,
              [&] {
                  box.Check();
                  EXPECT_EQ(wizard.pcClient.ActivePage(), &wizard.tsKey) << "stays after a failed check";
                  wintest::KeepScreenshot(wizard.Handle(), u"AddHotkey-page1.bmp");
                  PressCombination(MOD_ALT, 'K');
              })
        .When("the key field focused", keyFocused, [&] { PressCombination(0, 'W'); })  // only an inactive one's
        .When("the key W", keyIs('W'), [&] { PressCombination(0, VK_TAB); })
        .When("the WIN box focused", winBoxFocused, [&] { PressCombination(0, VK_RETURN); })
        .When(
            "the action page", [&] { return wizard.pcClient.ActivePageIndex() == 1; },
            [&] {
                page2AfterNext = wizard.pcClient.ActivePageIndex();
                finishShown = wizard.btnNext.Text() == u"&Finish";
                previousEnabled = wizard.btnPrevious.Enabled();
                box.Expect(u"You must select an action for the hotkey.");
                PressCombination(MOD_ALT, 'F');
            })
        .When("the box for no action", boxGone,
              [&] {
                  box.Check();
                  PressCombination(MOD_ALT, 'P');  // Previous: no check
              })
        .When(
            "the key page again", [&] { return wizard.pcClient.ActivePageIndex() != 1; },
            [&] {
                pageAfterPrevious = wizard.pcClient.ActivePageIndex();
                EXPECT_EQ(wizard.btnNext.Text(), u"&Next");
                EXPECT_FALSE(wizard.btnPrevious.Enabled());
                EXPECT_EQ(wizard.HotKey1.Key(), 'W') << "kept as entered";
                PressCombination(MOD_ALT, 'N');
            })
        .When(
            "the action page again", [&] { return wizard.pcClient.ActivePage() == &wizard.tsAction; },
            [&] { wizard.cbAction.SetFocus(); })
        .When(
            "the action list focused", [&] { return wizard.cbAction.Focused(); },
            [&] {
                for (int i = 0; i <= kOpenFileItem; ++i) PressCombination(0, VK_DOWN);
            })
        .When(
            "Open file chosen", [&] { return wizard.cbAction.ItemIndex() == kOpenFileItem; },
            [&] {
                fieldsShown = IsOn(wizard.edtParameters) && IsOn(wizard.Label10) && IsOn(wizard.btnParameters) &&
                              IsOn(wizard.edtAdditionalParameters) && IsOn(wizard.lblAdditionalParameters) &&
                              IsOn(wizard.cbParam3) && wizard.cbParam3.ItemIndex() == 0 &&
                              wizard.cbParam3.ItemText(1) == u"Maximized window";
                PressCombination(0, VK_TAB);  // to the parameter field
            })
        .When(
            "the parameter field focused", [&] { return wizard.edtParameters.Focused(); },
            [&] { wintest::TypeText(u"C:\\app.exe"); })
        .When(
            "the typed path", [&] { return wizard.edtParameters.Text() == u"C:\\app.exe"; },
            [&] {
                // Text with line breaks, as a paste or another program may put it into a one-line field.
                SetWindowTextW(wizard.edtAdditionalParameters.Handle(), L"-a\r\n[key7]\r\nfunc=exitwindows");
                wizard.cbParam3.SetFocus();
            })
        .When(
            "the window-state list focused", [&] { return wizard.cbParam3.Focused(); },
            [&] { PressCombination(0, VK_DOWN); })
        .When(
            "Maximized window chosen", [&] { return wizard.cbParam3.ItemIndex() == 1; },
            [&] {
                wintest::KeepScreenshot(wizard.Handle(), u"AddHotkey-page2.bmp");
                fileWhileChecking = FileBytes();
                PressCombination(MOD_ALT, 'F');
            });
    script.Start([&] { PostMessageW(wizard.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(wizard.ShowModal(), fw::mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(page2AfterNext, 1);
    EXPECT_TRUE(finishShown);
    EXPECT_TRUE(previousEnabled);
    EXPECT_EQ(pageAfterPrevious, 0);
    EXPECT_TRUE(fieldsShown) << "Open file shows every parameter field";
    EXPECT_EQ(fileWhileChecking, before) << "nothing written before Finish";

    THotkeyList file(Data().HotkeyServices());
    file.LoadFromFile(HotkeyFile(), /*OnlyActive=*/false);
    ASSERT_EQ(file.Count(), 3) << "the earlier two, then the new one";
    EXPECT_EQ(file.GetItem(0)->HotKeyData.Key, 'Q');
    EXPECT_FALSE(file.GetItem(1)->HotKeyData.Active) << "the inactive one survives";
    const THotKeyData& added = file.GetItem(2)->HotKeyData;
    EXPECT_TRUE(added.Active);
    EXPECT_EQ(added.Key, 'W');
    EXPECT_EQ(added.Shift, MOD_CONTROL | MOD_ALT);
    EXPECT_EQ(added.Func, hkfOpenFile);
    EXPECT_EQ(fw::Utf16ToUtf8(added.Params), "C:\\app.exe");
    EXPECT_EQ(fw::Utf16ToUtf8(added.Params2), "-a<?CR?><?LF?>[key7]<?CR?><?LF?>func=exitwindows");
    EXPECT_EQ(added.Params3, u"MAXIMIZED");
    const std::string bytes = FileBytes();
    EXPECT_NE(bytes.find(fw::EncodeUtf16LE(u"[key2]\r\nactive=1\r\nkey=87\r\nshift=3\r\nfunc=openfile\r\n", false)),
              std::string::npos);
    EXPECT_EQ(bytes.find(fw::EncodeUtf16LE(u"[key3]", false)), std::string::npos) << "exactly one hotkey added";

    // InitApp ran: the live list holds the active hotkeys of the new file, registered.
    ASSERT_EQ(Data().HotKeyList().Count(), 2);
    EXPECT_EQ(Data().HotKeyList().GetItem(1)->HotKeyData.Key, 'W');
    EXPECT_NE(Data().HotKeyList().GetItem(1)->Atom(), 0);
    EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'W')) << "taken by the live hotkey";
}

TEST_F(AddHotkey, NextNamesACombinationAnotherProgramHolds) {
    const wintest::HeldCombination held(MOD_CONTROL | MOD_SHIFT, VK_F8);
    ASSERT_TRUE(held.Held());
    const std::string before = FileBytes();
    TfrmAddHotkey wizard(App(), Owner(), Data());
    ErrorBox box;
    wintest::ModalScript script;
    script
        .When(
            "the wizard in front", [&] { return InFront(wizard); },
            [&] {
                wizard.HotKey1.SetHotKey(VK_F8);
                wizard.ShiftKeyCTRL.SetChecked(true);
                wizard.ShiftKeyShift.SetChecked(true);
                box.Expect(u"The selected hotkey is used by another program.");
                PostMessageW(wizard.btnNext.Handle(), BM_CLICK, 0, 0);
            })
        .When(
            "the box for the held combination", [&] { return box.Gone(wizard); },
            [&] {
                box.Check();
                EXPECT_EQ(wizard.pcClient.ActivePage(), &wizard.tsKey) << "stays on the key page";
                wizard.HotKey1.SetHotKey(VK_F9);  // another combination is taken
                PostMessageW(wizard.btnNext.Handle(), BM_CLICK, 0, 0);
            })
        .When(
            "the action page", [&] { return wizard.pcClient.ActivePageIndex() == 1; },
            [&] { PostMessageW(wizard.Handle(), WM_CLOSE, 0, 0); });
    script.Start([&] { PostMessageW(wizard.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(wizard.ShowModal(), fw::mrCancel);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(AddHotkey, LastActionIsStoredOnEveryCloseAndOfferedAgain) {
    StoreFunc(u"openfile");
    const std::string before = FileBytes();
    {
        TfrmAddHotkey wizard(App(), Owner(), Data());
        EXPECT_EQ(wizard.cbAction.ItemIndex(), kOpenFileItem) << "preselected";
        EXPECT_TRUE(wizard.edtParameters.Visible()) << "and its fields shown";
        EXPECT_TRUE(wizard.cbParam3.Visible());
        // Page 2 with a valid key, another action, then Esc.
        wintest::ModalScript script;
        ToTheActionPage(script, wizard);
        script
            .When(
                "the action page", [&] { return wizard.pcClient.ActivePage() == &wizard.tsAction; },
                [&] { wizard.cbAction.SetFocus(); })
            .When(
                "the action list focused", [&] { return wizard.cbAction.Focused(); },
                [&] { PressCombination(0, VK_UP); })  // "Close active window"
            .When(
                "Close active window chosen", [&] { return wizard.cbAction.ItemIndex() == kCloseItem; },
                [&] {
                    EXPECT_FALSE(wizard.edtParameters.Visible());
                    EXPECT_FALSE(wizard.cbParam3.Visible());
                    PressCombination(0, VK_ESCAPE);
                });
        script.Start([&] { PostMessageW(wizard.Handle(), WM_CLOSE, 0, 0); });
        EXPECT_EQ(wizard.ShowModal(), fw::mrCancel);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(StoredFunc(), u"close") << "written on Cancel";
    EXPECT_EQ(FileBytes(), before) << "Cancel adds nothing";

    StoreFunc(u"no such action");
    {
        TfrmAddHotkey wizard(App(), Owner(), Data());
        EXPECT_EQ(wizard.cbAction.ItemIndex(), -1) << "an unknown name preselects nothing";
        wintest::ModalScript script;
        script.When(
            "the wizard in front", [&] { return InFront(wizard); },
            [&] { PostMessageW(wizard.Handle(), WM_CLOSE, 0, 0); });  // the close box
        script.Start([&] { PostMessageW(wizard.Handle(), WM_CLOSE, 0, 0); });
        EXPECT_EQ(wizard.ShowModal(), fw::mrCancel);
    }
    EXPECT_EQ(StoredFunc(), u"") << "nothing selected: the empty text";
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(AddHotkey, ParameterButtonEditsKeystrokesInTheTextInputDialog) {
    StoreFunc(u"sendkeystrokes");
    TfrmAddHotkey wizard(App(), Owner(), Data());
    EXPECT_TRUE(wizard.edtParameters.Visible());
    EXPECT_TRUE(wizard.btnParameters.Visible());
    EXPECT_FALSE(wizard.edtAdditionalParameters.Visible());
    EXPECT_FALSE(wizard.cbParam3.Visible());
    HWND input = nullptr;
    std::u16string shown;
    // The caret in the dialog's text field, at its end.
    const auto caretAtEnd = [] {
        DWORD end = 0;
        SendMessageW(GetFocus(), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
        return end == static_cast<DWORD>(GetWindowTextLengthW(GetFocus()));
    };
    wintest::ModalScript script;
    ToTheActionPage(script, wizard);
    script
        .When(
            "the action page", [&] { return wizard.pcClient.ActivePage() == &wizard.tsAction; },
            [&] {
                wizard.edtParameters.SetText(u"a<?CR?><?LF?>b");
                wizard.btnParameters.SetFocus();
            })
        .When(
            "the parameter button focused", [&] { return wizard.btnParameters.Focused(); },
            [&] { PressCombination(0, VK_SPACE); })
        .When(
            "the text input dialog in front",
            [&] {
                const std::u16string caption = u"Input text";
                input = wintest::FindTopWindow(GetCurrentProcessId(), L"Corvalend.Form", &caption);
                return input != nullptr && IsWindowVisible(input) && GetActiveWindow() == input &&
                       IsChild(input, GetFocus());
            },
            [&] {
                EXPECT_EQ(GetWindow(input, GW_OWNER), wizard.Handle()) << "owned by the wizard";
                wchar_t text[64] = {};
                GetWindowTextW(GetFocus(), text, 64);
                shown = fw::FromWide(text);
                PressCombination(MOD_CONTROL, VK_END);
            })
        .When("the caret at the end", caretAtEnd,
              [&] { PressCombination(0, VK_TAB); })  // a tab character in the dialog
        .When(
            "the typed tab", [&] { return GetWindowTextLengthW(GetFocus()) == 5; },
            [&] {
                if (const HWND ok = wintest::FindChildWindow(input, L"Button", L"&OK"))
                    SendMessageW(ok, BM_CLICK, 0, 0);
            })
        .When(
            "the wizard in front again", [&] { return InFront(wizard); }, [&] { PressCombination(0, VK_ESCAPE); });
    script.Start([&] { PostMessageW(wizard.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(wizard.ShowModal(), fw::mrCancel);
    EXPECT_EQ(shown, u"a\r\nb") << "placeholders decoded in the dialog";
    EXPECT_EQ(fw::Utf16ToUtf8(wizard.edtParameters.Text()), "a<?CR?><?LF?>b<?TAB?>") << "encoded again on OK";
}
