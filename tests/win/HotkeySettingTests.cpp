// The hotkey editor frame as a real window on a host form: its layout and view panel, editing with
// real key presses into the key field and the check boxes, save and cancel, both refusals, the
// delete question and the keystroke parameter through the real text input dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/BmpWriter.h"
#include "framework/Clipboard.h"
#include "framework/Form.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/HotkeySettingU.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;
using wintest::PressCombination;

class HostForm final : public fw::Form {
public:
    explicit HostForm(fw::Application& app)
        : Form(app,
               nullptr,
               {.caption = u"Hotkey frames",
                .clientWidth = 820,
                .clientHeight = 100,
                .border = fw::FormBorder::Dialog}) {}
};

// Returns once the click's handler is done, and with it any message box the handler showed.
void Click(const fw::Control& button) {
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
}

// The control's place in its parent's client area, at 96 DPI on this test's monitor.
RECT Place(const fw::Control& control) {
    return control.PixelBounds();
}

std::u16string ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fw::FromWide(path);
}

// build/win64/CorvalendWinTests.exe -> build/test-artefacts/<name>.
std::u16string ArtefactPath(const std::u16string& name) {
    const std::u16string folder = fw::ExtractFileDir(fw::ExtractFileDir(ProgramPath())) + u"\\test-artefacts";
    fw::ForceDirectories(folder);
    return folder + u"\\" + name;
}

class HotkeySetting : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        wintest::EmptyHotkeyFile();
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        list_ = std::make_unique<THotkeyList>(data_->HotkeyServices());
        host_ = std::make_unique<HostForm>(*app_);
        host_->Show();
    }
    static void TearDownTestSuite() {
        host_.reset();
        list_.reset();
        data_.reset();
        app_.reset();
    }
    void TearDown() override {
        frame_.reset();
        list_->Clear();
    }

    // A frame for `hotkey` on the host, in view mode.
    THotkeySetting& MakeFrame(TGlobalHotKey* hotkey) {
        frame_ = std::make_unique<THotkeySetting>(*host_, *data_, *hotkey, *list_);
        frame_->OnSave = [this](THotkeySetting& sender) {
            saves_.push_back(&sender);
            savedData_ = sender.Hotkey().HotKeyData;
        };
        wintest::PumpPending();
        return *frame_;
    }

    // Gives the control the keyboard focus as the user would have it: the host in front, its keys
    // going to the control.
    static void Focus(fw::Control& control) {
        SetForegroundWindow(host_->Handle());
        control.SetFocus();
        ASSERT_TRUE(wintest::WaitFor("the focus on the control, the host in front", [&] {
            return GetForegroundWindow() == host_->Handle() && wintest::InFront(*host_) && control.Focused();
        }));
    }
    // The keys go into this thread's queue at once: what they do has been done when this returns.
    static void Press(unsigned modifiers, unsigned key) {
        PressCombination(modifiers, key);
        wintest::PumpPending();
    }

    static TData& Data() { return *data_; }
    static THotkeyList& List() { return *list_; }
    static HostForm& Host() { return *host_; }

    std::vector<THotkeySetting*> saves_;
    THotKeyData savedData_;

private:
    inline static std::unique_ptr<fw::Application> app_;
    inline static std::unique_ptr<wintest::ProgramData> data_;
    inline static std::unique_ptr<THotkeyList> list_;
    inline static std::unique_ptr<HostForm> host_;
    std::unique_ptr<THotkeySetting> frame_;
};

void ExpectSquares(THotkeySetting& f, bool alt, bool ctrl, bool shift, bool win, const char* when) {
    EXPECT_EQ(f.Panel4.View().Ticks, (TModifierTicks{alt, ctrl, shift, win})) << when;
    EXPECT_EQ(f.Editor().ShiftKeyAlt.Checked(), alt) << when;
    EXPECT_EQ(f.Editor().ShiftKeyCtrl.Checked(), ctrl) << when;
    EXPECT_EQ(f.Editor().ShiftKeyShift.Checked(), shift) << when;
    EXPECT_EQ(f.Editor().ShiftKeyWin.Checked(), win) << when;
}

TEST_F(HotkeySetting, ViewPanelLayoutAndKeyboardOrder) {
    THotkeySetting& f = MakeFrame(
        List().Add(true, VK_F5, kModCtrl | kModShift, hkfOpenFile, u"c:\\x & y.txt", u"-p <?CR?>", u"maximized"));
    EXPECT_FALSE(f.EditMode());
    EXPECT_EQ(Place(f).bottom - Place(f).top, 100);
    EXPECT_TRUE(f.Panel4.Visible());
    EXPECT_FALSE(f.Editor().Panel5.Visible());
    EXPECT_TRUE(f.btnEdit.Enabled() && f.btnDelete.Enabled());
    EXPECT_EQ(f.btnEdit.Text(), u"&Edit");
    EXPECT_EQ(f.btnDelete.Text(), u"&Delete");
    EXPECT_EQ(Place(f.Panel2).right, 66);
    EXPECT_EQ(Place(f.Panel4).bottom, 88);
    EXPECT_EQ(Place(f.Editor().Panel5).bottom, 97);
    EXPECT_EQ(Place(f.Bevel1).top, 98) << "the line at the frame's bottom edge";

    // What the view shows: the stored texts, literally; a screen reader reads them all.
    EXPECT_EQ(f.Panel4.View().Key, Data().HotkeyToString(VK_F5, 0));
    EXPECT_EQ(f.Panel4.Text(),
              u"Active: yes. Shift key: CTRL, SHIFT. Key: F5. Action: Open file. Parameters: c:\\x & y.txt. "
              u"Additional parameters: -p <?CR?>");
    ExpectSquares(f, false, true, true, false, "loaded");
    EXPECT_EQ(f.Editor().cbAction.ItemText(12), u"Pause or resume hotkeys") << "the last";
    EXPECT_EQ(f.Editor().cbParam3.ItemCount(), 3);
    EXPECT_EQ(f.Editor().cbParam3.ItemText(f.Editor().cbParam3.ItemIndex()), u"Maximized window") << "any letter case";
    EXPECT_EQ(f.Parameters3(), u"MAXIMIZED");

    // The columns of both panels.
    EXPECT_EQ(Place(f.Editor().ckbActive).left, 6);
    EXPECT_EQ(Place(f.Editor().ShiftKeyAlt).left, 76);
    EXPECT_EQ(Place(f.Editor().ShiftKeyCtrl).left, 76);
    EXPECT_EQ(Place(f.Editor().ShiftKeyShift).left, 141);
    EXPECT_EQ(Place(f.Editor().ShiftKeyWin).left, 141);
    EXPECT_EQ(Place(f.Editor().ShiftKeyAlt).top, Place(f.Editor().ShiftKeyShift).top);
    EXPECT_LT(Place(f.Editor().ShiftKeyAlt).top, Place(f.Editor().ShiftKeyCtrl).top);
    EXPECT_EQ(Place(f.Editor().HotKey1).left, 206);
    EXPECT_EQ(Place(f.Editor().cbAction).left, 288);
    EXPECT_EQ(Place(f.Editor().edtParameters).left, 486);
    EXPECT_LT(Place(f.Editor().btnParameters).right, Place(f.Editor().Panel6).left);

    Click(f.btnEdit);
    EXPECT_TRUE(f.EditMode());
    EXPECT_TRUE(f.Editor().Panel5.Visible());
    EXPECT_FALSE(f.Panel4.Visible());
    EXPECT_FALSE(f.btnEdit.Enabled() || f.btnDelete.Enabled());
    EXPECT_EQ(Place(f).bottom - Place(f).top, 100);
    EXPECT_EQ(f.Editor().Button2.Text(), u"Sa&ve");
    EXPECT_EQ(f.Editor().Button3.Text(), u"Cance&l");
    EXPECT_EQ(f.Editor().btnParameters.Text(), u"&...");

    const THotkeyEditPanel& e = f.Editor();
    // clang-format off
    const std::vector<const fw::Control*> order = {&e.ckbActive, &e.ShiftKeyAlt, &e.ShiftKeyShift, &e.ShiftKeyCtrl,
        &e.ShiftKeyWin, &e.HotKey1, &e.cbAction, &e.cbParam3, &e.edtParameters, &e.btnParameters,
        &e.edtAdditionalParameters, &e.Button2, &e.Button3};  // reading order
    // clang-format on  // reading order
    HWND current = f.Editor().ckbActive.Handle();
    for (size_t i = 1; i < order.size(); ++i) {
        current = GetNextDlgTabItem(Host().Handle(), current, /*previous=*/FALSE);
        EXPECT_EQ(current, order[i]->Handle()) << "tab stop " << i;
    }

    // The frame in edit mode, kept for looking at.
    wintest::PumpPending();
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const RECT client = wintest::ClientRect(Host().Handle());
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const bool printed = PrintWindow(Host().Handle(), memory, PW_CLIENTONLY) != FALSE;
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const std::string bmp = fw::EncodeBmp(fw::BitmapToPicture(bitmap));
    DeleteObject(bitmap);
    EXPECT_TRUE(printed);
    const std::u16string path = ArtefactPath(u"HotkeySettingEditMode.bmp");
    fw::Win32FileStore().Replace(path, bmp);
    std::printf("Screenshot of the frame in edit mode: %s\n", fw::Utf16ToUtf8(path).c_str());
}

TEST_F(HotkeySetting, EditWithTheKeyboardThenSaveAndCancel) {
    TGlobalHotKey* hotkey = List().Add(true, 'A', kModAlt, hkfSendKeys, u"hi", u"", u"");
    THotkeySetting& f = MakeFrame(hotkey);
    Click(f.btnEdit);

    Focus(f.Editor().HotKey1);
    Press(MOD_CONTROL, 'K');
    EXPECT_EQ(f.Key(), 'K') << "the key field keeps the bare key";
    EXPECT_EQ(f.ShiftState(), kModCtrl) << "the boxes follow the modifiers typed with it";
    Focus(f.Editor().ShiftKeyWin);
    Press(0, VK_SPACE);
    EXPECT_EQ(f.ShiftState(), kModCtrl | kModWin);
    Focus(f.Editor().cbAction);
    Press(0, VK_HOME);  // the first action: Maximize, which has no parameters
    EXPECT_EQ(f.Func(), hkfMaximize);
    EXPECT_FALSE(f.Editor().edtParameters.Visible() || f.Editor().btnParameters.Visible() ||
                 f.Editor().cbParam3.Visible());
    EXPECT_EQ(f.Panel4.View().Action, u"Send keystrokes") << "only a write of Func changes the view's action";

    Click(f.Editor().Button2);
    ASSERT_EQ(saves_.size(), 1u);
    EXPECT_EQ(saves_[0], &f);
    EXPECT_EQ(savedData_.Key, 'K') << "the hotkey holds the values before OnSave";
    const THotKeyData& d = hotkey->HotKeyData;
    EXPECT_TRUE(d.Active);
    EXPECT_EQ(d.Key, 'K');
    EXPECT_EQ(d.Shift, kModCtrl | kModWin);
    EXPECT_EQ(d.Func, hkfMaximize);
    EXPECT_EQ(d.Params, u"hi") << "hidden parameters are kept";
    EXPECT_EQ(d.Params3, u"NORMAL");
    EXPECT_FALSE(f.EditMode());
    EXPECT_EQ(f.Panel4.Text(), u"Active: yes. Shift key: CTRL, WIN. Key: K. Action: Maximize active window");
    ExpectSquares(f, false, true, false, true, "saved");

    // Cancel brings back everything stored.
    Click(f.btnEdit);
    Focus(f.Editor().ShiftKeyShift);
    Press(0, VK_SPACE);
    Focus(f.Editor().HotKey1);
    Press(0, 'Z');
    EXPECT_EQ(f.Key(), 'Z');
    EXPECT_EQ(f.ShiftState(), kModCtrl | kModShift | kModWin);
    f.SetFunc(hkfOpenWebsite);
    Click(f.Editor().Button3);
    EXPECT_FALSE(f.EditMode());
    EXPECT_EQ(f.Key(), 'K');
    EXPECT_EQ(f.Func(), hkfMaximize);
    ExpectSquares(f, false, true, false, true, "cancelled");
    EXPECT_EQ(d.Shift, kModCtrl | kModWin);
    EXPECT_EQ(saves_.size(), 1u);

    // Without an OnSave handler Save does nothing at all.
    f.OnSave = nullptr;
    Click(f.btnEdit);
    f.SetKey('Q');
    Click(f.Editor().Button2);
    EXPECT_TRUE(f.EditMode());
    EXPECT_EQ(d.Key, 'K');
}

TEST_F(HotkeySetting, ActiveBoxEnablesTheOtherEditControls) {
    THotkeySetting& f = MakeFrame(List().Add(true, 'B', kModCtrl, hkfOpenFile, u"a", u"b", u"NORMAL"));
    Click(f.btnEdit);
    Focus(f.Editor().ckbActive);
    Press(0, VK_SPACE);
    EXPECT_FALSE(f.Active());
    EXPECT_FALSE(f.Panel4.View().Active);
    const std::vector<const fw::Control*> editControls = {
        &f.Editor().ShiftKeyAlt,   &f.Editor().HotKey1,       &f.Editor().cbAction,
        &f.Editor().edtParameters, &f.Editor().btnParameters, &f.Editor().edtAdditionalParameters,
        &f.Editor().cbParam3,      &f.Editor().Label5,        &f.Editor().Label8,
        &f.Editor().Bevel3};
    for (const fw::Control* control : editControls) {
        EXPECT_FALSE(control->Enabled()) << GetDlgCtrlID(control->Handle());
    }
    EXPECT_TRUE(f.Editor().ckbActive.Enabled());
    EXPECT_TRUE(f.Editor().Button2.Enabled() && f.Editor().Button3.Enabled()) << "Save and Cancel stay usable";
    EXPECT_TRUE(f.Editor().edtParameters.Visible()) << "the parameter controls still follow the action";

    Press(0, VK_SPACE);
    EXPECT_TRUE(f.Active());
    EXPECT_TRUE(f.Editor().HotKey1.Enabled() && f.Editor().cbParam3.Enabled() && f.Editor().ShiftKeyWin.Enabled());
}

TEST_F(HotkeySetting, SavingARefusedHotkeyShowsWhyAndKeepsTheEdits) {
    List().Add(true, 'N', kModCtrl | kModAlt, hkfMaximize, u"", u"", u"");
    List().Add(false, 'M', kModCtrl | kModAlt, hkfMinimize, u"", u"", u"");
    TGlobalHotKey* hotkey = List().Add(false, 'E', kModWin, hkfOpenFile, u"c:\\a.txt", u"", u"hidden");
    THotkeySetting& f = MakeFrame(hotkey);
    EXPECT_EQ(f.Editor().cbParam3.ItemIndex(), -1) << "an unknown window state selects nothing";
    Click(f.btnEdit);
    EXPECT_FALSE(f.Editor().HotKey1.Enabled()) << "inactive: only the Active box is usable";
    // Typed in while active, then made inactive again.
    f.SetActive(true);
    f.SetKey('N');
    f.SetShiftState(kModCtrl | kModAlt);
    f.SetActive(false);
    ASSERT_EQ(f.ShiftState(), kModCtrl | kModAlt);
    {
        wintest::MessageBoxWatcher box(u"Error");
        Click(f.Editor().Button2);
        ASSERT_TRUE(box.Wait(10s)) << "the error box, answered and closed";
        EXPECT_EQ(box.Text(), u"The selected hotkey is already in use.") << "even though this one is inactive";
        EXPECT_TRUE(box.HasStopIcon());
        EXPECT_EQ(box.Buttons(), std::vector<int>{IDOK});
        EXPECT_EQ(box.Owner(), Host().Handle()) << "owned by the frame's form";
    }
    EXPECT_TRUE(f.EditMode());
    EXPECT_TRUE(saves_.empty());
    EXPECT_EQ(f.Key(), 'N') << "the edits stay";
    EXPECT_EQ(hotkey->HotKeyData.Key, 'E');
    EXPECT_EQ(hotkey->HotKeyData.Shift, kModWin);

    // The combination of an inactive hotkey is free; the unknown window state is stored as NORMAL.
    f.SetKey('M');
    Click(f.Editor().Button2);
    ASSERT_EQ(saves_.size(), 1u);
    EXPECT_EQ(hotkey->HotKeyData.Key, 'M');
    EXPECT_EQ(hotkey->HotKeyData.Params3, u"NORMAL");
}

TEST_F(HotkeySetting, AnotherProgramsCombinationIsRefusedTheLiveOneOfThisHotkeyIsNot) {
    const wintest::HeldCombination held(MOD_CONTROL | MOD_SHIFT, VK_F8);
    ASSERT_TRUE(held.Held());
    // The live hotkey this frame edits holds its combination itself.
    TGlobalHotKey* live = Data().HotKeyList().Add(true, VK_F7, kModCtrl | kModShift, hkfClose, u"", u"", u"");
    live->RegisterHotkey();
    ASSERT_NE(live->Atom(), 0);
    TGlobalHotKey* hotkey = List().Add(true, VK_F7, kModCtrl | kModShift, hkfClose, u"", u"", u"");
    THotkeySetting& f = MakeFrame(hotkey);
    Click(f.btnEdit);
    f.SetKey(VK_F8);
    {
        wintest::MessageBoxWatcher box(u"Error");
        Click(f.Editor().Button2);
        ASSERT_TRUE(box.Wait(10s));
        EXPECT_EQ(box.Text(), u"The selected hotkey is used by another program.");
        EXPECT_TRUE(box.HasStopIcon());
    }
    EXPECT_TRUE(f.EditMode());
    EXPECT_TRUE(saves_.empty());
    EXPECT_EQ(hotkey->HotKeyData.Key, VK_F7);

    f.SetKey(VK_F7);  // back to its own combination: saved
    {
        wintest::MessageBoxWatcher box(u"Error");  // answers a wrong refusal instead of hanging
        Click(f.Editor().Button2);
        EXPECT_FALSE(box.Seen()) << fw::Utf16ToUtf8(box.Text());
    }
    EXPECT_EQ(saves_.size(), 1u);
    Data().HotKeyList().Delete(Data().HotKeyList().IndexOf(live));
}

TEST_F(HotkeySetting, SavingWithoutAnActionIsRefused) {
    TGlobalHotKey* hotkey = List().Add(true, 'E', kModWin, hkfOpenFile, u"", u"", u"");
    hotkey->HotKeyData.Func = hkfNoAction;
    THotkeySetting& f = MakeFrame(hotkey);
    EXPECT_EQ(f.Panel4.View().Action, u"Unknown action");
    EXPECT_EQ(f.Editor().cbAction.ItemIndex(), -1);
    EXPECT_FALSE(f.Editor().edtParameters.Visible() || f.Panel4.View().Shown.params || f.Editor().cbParam3.Visible());
    Click(f.btnEdit);
    {
        wintest::MessageBoxWatcher box(u"Error");
        Click(f.Editor().Button2);
        ASSERT_TRUE(box.Wait(10s));
        EXPECT_EQ(box.Text(), u"You must select an action for your hotkey.");
    }
    EXPECT_TRUE(f.EditMode());
    EXPECT_TRUE(saves_.empty());
}

TEST_F(HotkeySetting, DeleteAsksFirst) {
    THotkeySetting& f = MakeFrame(List().Add(true, 'D', kModCtrl, hkfClose, u"", u"", u""));
    std::vector<THotkeySetting*> deleted;
    {
        wintest::MessageBoxWatcher box(u"Confirm", IDYES);
        Click(f.btnDelete);  // no handler: no question
        EXPECT_FALSE(box.Seen());
    }
    f.OnDelete = [&](THotkeySetting& sender) { deleted.push_back(&sender); };
    {
        wintest::MessageBoxWatcher box(u"Confirm", IDNO);
        Click(f.btnDelete);
        ASSERT_TRUE(box.Wait(10s));
        EXPECT_EQ(box.Text(), u"Are you sure you want to delete this global hotkey?");
        EXPECT_EQ(box.Buttons(), (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(box.DefaultButton(), IDYES);
        EXPECT_EQ(box.Owner(), Host().Handle());
    }
    EXPECT_TRUE(deleted.empty());
}

TEST_F(HotkeySetting, DeleteConfirmedCallsOnDelete) {
    THotkeySetting& f = MakeFrame(List().Add(true, 'D', kModCtrl, hkfClose, u"", u"", u""));
    std::vector<THotkeySetting*> deleted;
    f.OnDelete = [&](THotkeySetting& sender) { deleted.push_back(&sender); };
    {
        wintest::MessageBoxWatcher box(u"Confirm", IDYES);
        Click(f.btnDelete);
        ASSERT_TRUE(box.Wait(10s));
    }
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0], &f);
    EXPECT_EQ(List().Count(), 1) << "the frame removes nothing itself";
}

TEST_F(HotkeySetting, KeystrokesGoThroughTheTextDialogAndPastedLinesStayOnOneLine) {
    TGlobalHotKey* hotkey = List().Add(true, 'S', kModCtrl, hkfSendKeys, u"a<?CR?><?LF?>b", u"", u"");
    THotkeySetting& f = MakeFrame(hotkey);
    Click(f.btnEdit);
    EXPECT_TRUE(f.Editor().btnParameters.Visible());

    HWND dialog = nullptr;
    std::u16string shown;
    HWND owner = nullptr;
    wintest::ModalScript script;
    script
        .When(
            "the text input dialog in front, its text field focused",
            [&] {
                const std::u16string caption = u"Input text";
                dialog = wintest::FindTopWindow(GetCurrentProcessId(), L"Corvalend.Form", &caption);
                return dialog != nullptr && IsWindowVisible(dialog) && GetForegroundWindow() == dialog &&
                       GetFocus() != nullptr && GetFocus() == wintest::FindChildWindow(dialog, L"Edit");
            },
            [&] {
                if (dialog == nullptr) return;
                owner = GetWindow(dialog, GW_OWNER);
                wchar_t buffer[64] = {};
                GetWindowTextW(wintest::FindChildWindow(dialog, L"Edit"), buffer, 64);
                shown = fw::FromWide(buffer);
                PressCombination(MOD_CONTROL, VK_END);
            })
        .Then([] { PressCombination(0, VK_RETURN); })
        .Then([] { wintest::TypeText(u"c"); })
        .Then([&] {
            if (dialog != nullptr) SendMessageW(wintest::FindChildWindow(dialog, L"Button", L"&OK"), BM_CLICK, 0, 0);
        });
    script.Start([&] { PostMessageW(dialog, WM_CLOSE, 0, 0); });
    Click(f.Editor().btnParameters);
    ASSERT_NE(dialog, nullptr) << "the text input dialog";
    EXPECT_EQ(owner, Host().Handle()) << "owned by the frame's form";
    EXPECT_EQ(shown, u"a\r\nb");
    EXPECT_EQ(f.Parameters(), u"a<?CR?><?LF?>b<?CR?><?LF?>c");

    // Text with line breaks pasted into the one-line fields: whatever the field keeps, the hotkey
    // gets no raw line break, and the hotkey file reads back the same hotkeys.
    fw::Clipboard(Host().Handle()).SetText(u"one\r\ntwo\nthree");
    Focus(f.Editor().edtParameters);
    Press(0, VK_END);
    Press(MOD_CONTROL, 'V');
    const std::u16string pasted = f.Parameters();
    EXPECT_EQ(pasted.rfind(u"a<?CR?><?LF?>b<?CR?><?LF?>cone", 0), 0u) << fw::Utf16ToUtf8(pasted);
    f.SetParameters2(u"x\r\n[key7]\nFunc=close");
    Click(f.Editor().Button2);
    ASSERT_EQ(saves_.size(), 1u);
    const THotKeyData& d = hotkey->HotKeyData;
    EXPECT_EQ(d.Params.find_first_of(u"\r\n"), std::u16string::npos) << fw::Utf16ToUtf8(d.Params);
    EXPECT_EQ(d.Params, fw::ReplaceAll(fw::ReplaceAll(pasted, u"\r", u"<?CR?>"), u"\n", u"<?LF?>"));
    EXPECT_EQ(d.Params2, u"x<?CR?><?LF?>[key7]<?LF?>Func=close");
    EXPECT_EQ(f.Panel4.View().Params, d.Params) << "the view shows the placeholders literally";

    wintest::ScratchFolder folder;
    const std::u16string file = folder.File(u"hotkeys.ini");
    List().SaveToFile(file);
    THotkeyList reread(Data().HotkeyServices());
    reread.LoadFromFile(file, /*OnlyActive=*/false);
    ASSERT_EQ(reread.Count(), 1);
    EXPECT_EQ(reread.GetItem(0)->HotKeyData.Params, d.Params);
    EXPECT_EQ(reread.GetItem(0)->HotKeyData.Params2, d.Params2);
}

TEST_F(HotkeySetting, SaveAsksAboutAnEmptyParameterWithNoAsDefaultAndNoSavesNothing) {
    THotkeySetting& f = MakeFrame(List().Add(true, 'E', kModWin, hkfOpenFile, u"", u"", u""));
    Click(f.btnEdit);
    wintest::MessageBoxWatcher box(u"Confirm", IDNO);
    Click(f.Editor().Button2);
    ASSERT_TRUE(box.Wait(10s));
    EXPECT_EQ(box.Text(), u"This hotkey has no parameter, so it will do nothing. Save it anyway?");
    EXPECT_EQ(box.DefaultButton(), IDNO);
    EXPECT_TRUE(f.EditMode() && saves_.empty()) << "No saves nothing";
}

}  // namespace
