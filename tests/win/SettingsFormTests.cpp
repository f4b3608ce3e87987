// The settings window as the tray opens it: the column of frames built from the hotkey file, saving
// and deleting through the frames (the file and the live hotkeys follow at once), the log-on entry,
// the links, a cancelled wizard, closing, a hotkey file that cannot be written, an update check that
// waits, and the first-use guide that a save can bring up.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Updater.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/UniqueHandle.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"
#include "ui/frmFirstUseU.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;

constexpr int32_t kCtrlAlt = MOD_CONTROL | MOD_ALT;

class Settings : public wintest::ProgramSuite {
protected:
    void SetUp() override {
        wintest::EmptyHotkeyFile();
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        fw::ForceDirectories(fw::ExtractFileDir(HotkeyFile()));
        THotkeyList file(data_->HotkeyServices());
        file.Add(true, 'Q', kCtrlAlt, hkfClose, u"", u"", u"");
        file.Add(false, 'W', kCtrlAlt, hkfMinimize, u"", u"", u"");
        file.Add(true, 'E', kCtrlAlt, hkfSendKeys, u"abc", u"", u"");
        file.SaveToFile(HotkeyFile());
        data_->InitApp();
        SetRunValue(u"c:\\old\\Corvalend.exe");
    }
    void TearDown() override {
        fw::RegistryIni(kProgramKey).WriteString(kFirstUseValue, u"0");  // a failed test may leave "1"
        FreeSettingsForms();
        EXPECT_EQ(SettingsForm, nullptr);
        const std::u16string folder = fw::ExtractFileDir(HotkeyFile());  // asked before the data module goes
        data_.reset();
        wintest::DeleteTree(folder);
    }

    // Opens the window as the tray does and waits until it is on the screen.
    TSettingsForm& Open() {
        ShowSettingsForm(*app_, *data_);
        EXPECT_NE(SettingsForm, nullptr);
        EXPECT_TRUE(wintest::WaitFor("the settings window shown", [] { return SettingsForm->Visible(); }));
        SettingsForm->OpenPage = [this](HWND, const std::u16string& address) { opened_.push_back(address); };
        return *SettingsForm;
    }

    std::u16string HotkeyFile() const { return data_->DataFile(dftHotkeys); }
    // The file's hotkeys as "<active> <key> <func>" lines.
    std::vector<std::string> FileHotkeys() const {
        THotkeyList file(data_->HotkeyServices());
        file.LoadFromFile(HotkeyFile(), /*OnlyActive=*/false);
        std::vector<std::string> lines;
        for (int i = 0; i < file.Count(); ++i) {
            const THotKeyData& d = file.GetItem(i)->HotKeyData;
            lines.push_back(std::string(d.Active ? "on " : "off ") + static_cast<char>(d.Key) + " " +
                            fw::Utf16ToUtf8(HotKeyFuncToStr(d.Func)));
        }
        return lines;
    }
    // The live hotkey with the combination, registered, or null.
    TGlobalHotKey* Live(char key) const {
        TGlobalHotKey* hotkey = data_->HotKeyList().FindHotKey(key, kCtrlAlt);
        return hotkey != nullptr && hotkey->Atom() != 0 ? hotkey : nullptr;
    }
    static std::u16string RunValue() { return fw::RegistryIni(kRunKey).ReadString(kRunValueName, u"<missing>"); }
    static void SetRunValue(const std::u16string& value) { fw::RegistryIni(kRunKey).WriteString(kRunValueName, value); }

    TData& Data() { return *data_; }

    std::vector<std::u16string> opened_;

private:
    std::unique_ptr<wintest::ProgramData> data_;
};

void Click(const fw::Control& control) {
    SendMessageW(control.Handle(), BM_CLICK, 0, 0);
}

// Tops of the frames in the column, in device pixels.
std::vector<LONG> FrameTops(const TSettingsForm& form) {
    std::vector<LONG> tops;
    for (const auto& frame : form.HotKeySettingsList()) tops.push_back(frame->PixelBounds().top);
    return tops;
}

// The frame showing row `row` of the working copy, or null.
THotkeySetting* FrameOf(const TSettingsForm& form, int row) {
    for (const auto& frame : form.HotKeySettingsList()) {
        if (&frame->Hotkey() == form.HotKeyList().GetItem(row)) return frame.get();
    }
    return nullptr;
}

// Each row in view has one frame, at the row's place and showing that row; frames out of view are
// in edit mode; the keyboard meets the frames in list order. Empty when so, else what is wrong.
std::string ColumnFault(const TSettingsForm& form) {
    int previous = -1;
    for (HWND child = GetWindow(form.HotKeyPlacement.Handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto* frame = dynamic_cast<const THotkeySetting*>(fw::Control::FromHandle(child));
        const int row = frame != nullptr ? form.HotKeyList().IndexOf(&frame->Hotkey()) : -1;
        if (row <= previous) return "row " + std::to_string(row) + " after row " + std::to_string(previous);
        previous = row;
    }
    const int position = form.HotKeyPlacement.ScrollPosition();
    const int height = wintest::ClientRect(form.HotKeyPlacement.Handle()).bottom;
    int inView = 0;
    for (const auto& frame : form.HotKeySettingsList()) {
        const int row = form.HotKeyList().IndexOf(&frame->Hotkey());
        const RECT place = frame->PixelBounds();
        const std::string which = "the frame of row " + std::to_string(row);
        if (place.bottom <= 0 || place.top >= height) {
            if (!frame->EditMode()) return which + " is out of view";
            continue;
        }
        ++inView;
        if (place.top != row * 100 - position) return which + " is at " + std::to_string(place.top);
        if (!frame->EditMode() && frame->Panel4.View().Params != frame->Hotkey().HotKeyData.Params) {
            return which + " shows " + fw::Utf16ToUtf8(frame->Panel4.View().Params);
        }
    }
    const int rows = std::min(form.HotKeyList().Count(), (position + height + 99) / 100) - position / 100;
    if (inView != rows) return std::to_string(inView) + " frames in view for " + std::to_string(rows) + " rows";
    return "";
}

// Windows below `parent`, children of children included.
int WindowsBelow(HWND parent) {
    int count = 0;
    EnumChildWindows(
        parent,
        [](HWND, LPARAM counter) {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// The colour on the screen at the centre of an area of a control (at 96 DPI, in the control).
COLORREF ScreenPixelAtCentre(const fw::Control& control, const fw::Bounds& area) {
    RECT rect{};
    GetWindowRect(control.Handle(), &rect);
    const HDC screen = GetDC(nullptr);
    const COLORREF colour =
        GetPixel(screen, rect.left + area.left + area.width / 2, rect.top + area.top + area.height / 2);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Nothing is left to paint in the window and the windows below it.
bool Painted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool painted = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM result) {
            if (!GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(result) = false;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&painted));
    return painted;
}

// A port on 127.0.0.1 that takes connections and never answers, until it is closed.
class SilentPort {
public:
    SilentPort() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        listen(listener_, 8);
        host_ = u"127.0.0.1:" + fw::IntToStr(ntohs(address.sin_port));
    }
    ~SilentPort() {
        Close();
        WSACleanup();
    }
    const std::u16string& Host() const { return host_; }
    // The connections it holds are reset.
    void Close() { closesocket(std::exchange(listener_, INVALID_SOCKET)); }

private:
    SOCKET listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    std::u16string host_;
};

}  // namespace

TEST_F(Settings, OneWindowShowsEveryHotkeyOfTheFileAndEscClosesIt) {
    TSettingsForm& form = Open();
    ShowSettingsForm(App(), Data());
    EXPECT_EQ(SettingsForm, &form) << "the tray shows the one window again";
    EXPECT_EQ(form.Caption(), u"Settings");
    EXPECT_EQ(wintest::ClientRect(form.Handle()), (RECT{0, 0, 812, 466}));
    EXPECT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_THICKFRAME) << "resizable";
    EXPECT_EQ(form.pcClient.ActivePage(), &form.tsHotkeys);
    EXPECT_EQ(form.btnOK.PixelBounds(), (RECT{729, 433, 804, 458}));

    // Active or not, every hotkey has its frame, in list order, in view mode, 100 high.
    ASSERT_EQ(form.HotKeySettingsList().size(), 3u);
    EXPECT_EQ(form.HotKeyList().Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const THotkeySetting& frame = *form.HotKeySettingsList()[static_cast<size_t>(i)];
        EXPECT_EQ(&frame.Hotkey(), form.HotKeyList().GetItem(i));
        EXPECT_FALSE(frame.EditMode());
        EXPECT_EQ(frame.PixelBounds().bottom - frame.PixelBounds().top, 100);
        EXPECT_EQ(frame.PixelBounds().right,
                  form.HotKeyPlacement.PixelBounds().right - form.HotKeyPlacement.PixelBounds().left);
    }
    EXPECT_EQ(FrameTops(form), (std::vector<LONG>{0, 100, 200}));
    EXPECT_EQ(form.HotKeySettingsList()[1]->Panel4.View().Key, u"W");
    EXPECT_TRUE(form.chkStartAtWindowsStart.Checked()) << "the Run value is not empty";
    EXPECT_EQ(form.lblTitle.Text().substr(0, 10), u"Corvalend ");
    // The view's marks: the inactive hotkey's Active square is empty, its ALT square is marked.
    const THotkeySetting& inactive = *form.HotKeySettingsList()[1];
    EXPECT_TRUE(wintest::WaitFor("the inactive hotkey's marks on the screen", [&] {
        return Painted(form.Handle()) &&
               ScreenPixelAtCentre(inactive.Panel4, THotkeyViewPanel::MarkBounds96(0)) == GetSysColor(COLOR_BTNFACE) &&
               ScreenPixelAtCentre(inactive.Panel4, THotkeyViewPanel::MarkBounds96(1)) == RGB(0, 0, 0);
    }));
    wintest::KeepScreenshot(form.Handle(), u"Settings-hotkeys.bmp");
    EXPECT_EQ(ScreenPixelAtCentre(inactive.Panel4, THotkeyViewPanel::MarkBounds96(0)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixelAtCentre(inactive.Panel4, THotkeyViewPanel::MarkBounds96(1)), RGB(0, 0, 0));
    form.pcClient.SetActivePage(form.tsOtherSettings);
    EXPECT_TRUE(wintest::WaitFor("the other page painted",
                                 [&] { return form.tsOtherSettings.Visible() && Painted(form.Handle()); }));
    wintest::PumpPending();  // the system puts what was painted on the screen once the queue is empty
    wintest::KeepScreenshot(form.Handle(), u"Settings-other.bmp");

    // The links and the window's own hotkeys.
    SendMessageW(form.lblWeb.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(form.lblWeb.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageW(form.lblMail.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(form.lblMail.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(opened_,
              (std::vector<std::u16string>{u"https://www.corvalend.example/", u"mailto:author@corvalend.example"}));

    const HWND window = form.Handle();
    ASSERT_TRUE(wintest::WaitFor("the settings window in front, with the keys",
                                 [&] { return GetForegroundWindow() == window && wintest::InFront(form); }));
    wintest::PressCombination(0, VK_ESCAPE);
    EXPECT_TRUE(wintest::PumpAppUntil(
        App(), [&] { return !IsWindow(window); }, wintest::kPatience))
        << "closing frees the window";
    EXPECT_EQ(SettingsForm, nullptr);
    EXPECT_EQ(RunValue(), u"c:\\old\\Corvalend.exe") << "nothing is saved on closing";
}

TEST_F(Settings, SavingAFrameWritesTheFileAndTheLiveHotkeysFollow) {
    TSettingsForm& form = Open();
    THotkeySetting& frame = *form.HotKeySettingsList()[1];  // the inactive one
    EXPECT_EQ(Live('W'), nullptr);
    form.chkStartAtWindowsStart.SetChecked(false);  // no event: written with the save
    Click(frame.btnEdit);
    Click(frame.Editor().ckbActive);
    frame.SetKey('R');
    Click(frame.Editor().Button2);
    EXPECT_FALSE(frame.EditMode());
    EXPECT_EQ(FileHotkeys(), (std::vector<std::string>{"on Q close", "on R minimize", "on E sendkeystrokes"}));
    EXPECT_NE(Live('R'), nullptr) << "registered at once";
    EXPECT_EQ(RunValue(), u"") << "the unticked box writes the value empty";

    // Deactivating keeps the hotkey in the file and the window, and withdraws it.
    Click(frame.btnEdit);
    Click(frame.Editor().ckbActive);
    Click(frame.Editor().Button2);
    EXPECT_EQ(FileHotkeys(), (std::vector<std::string>{"on Q close", "off R minimize", "on E sendkeystrokes"}));
    EXPECT_EQ(Live('R'), nullptr);
    EXPECT_EQ(form.HotKeySettingsList().size(), 3u);
    EXPECT_EQ(Data().HotKeyList().Count(), 2) << "the live list holds the active hotkeys";

    // A save with the box ticked writes the program's path.
    form.chkStartAtWindowsStart.SetChecked(true);
    Click(frame.btnEdit);
    Click(frame.Editor().Button2);
    EXPECT_EQ(RunValue(), u"\"" + fw::Application::ExeName() + u"\"");
}

TEST_F(Settings, DeletingRemovesTheFrameOnTheNextTickAndTheHotkeyStopsAtOnce) {
    TSettingsForm& form = Open();
    THotkeySetting* const first = form.HotKeySettingsList()[0].get();
    THotkeySetting* const third = form.HotKeySettingsList()[2].get();
    ASSERT_NE(Live('Q'), nullptr);
    first->OnDelete(*first);  // as after the confirmed question
    EXPECT_EQ(form.HotKeySettingsList().size(), 3u) << "never inside the frame's own handler";
    ASSERT_TRUE(wintest::WaitFor("the frame gone", [&] { return form.HotKeySettingsList().size() == 2; }));
    EXPECT_EQ(form.HotKeySettingsList()[1].get(), third) << "the other frames stay";
    EXPECT_EQ(&third->Hotkey(), form.HotKeyList().GetItem(1));
    EXPECT_EQ(FrameTops(form), (std::vector<LONG>{0, 100})) << "the column closes the gap";
    EXPECT_EQ(FileHotkeys(), (std::vector<std::string>{"off W minimize", "on E sendkeystrokes"}));
    EXPECT_EQ(Live('Q'), nullptr);
    EXPECT_NE(Live('E'), nullptr);

    for (int left = 2; left > 0; --left) {
        THotkeySetting& frame = *form.HotKeySettingsList()[0];
        frame.OnDelete(frame);
        ASSERT_TRUE(wintest::WaitFor("the frame gone",
                                     [&] { return static_cast<int>(form.HotKeySettingsList().size()) < left; }));
    }
    EXPECT_TRUE(fw::Win32FileStore().Exists(HotkeyFile())) << "an empty file, not a missing one";
    EXPECT_TRUE(FileHotkeys().empty());
    EXPECT_EQ(Data().HotKeyList().Count(), 0);
}

TEST_F(Settings, TheLogOnBoxWritesTheRunValueWhenClicked) {
    TSettingsForm& form = Open();
    Click(form.chkStartAtWindowsStart);
    EXPECT_FALSE(form.chkStartAtWindowsStart.Checked());
    EXPECT_EQ(RunValue(), u"") << "written empty, not deleted";
    Click(form.chkStartAtWindowsStart);
    EXPECT_EQ(RunValue(), u"\"" + fw::Application::ExeName() + u"\"") << "quoted: a path with spaces is one path";
    EXPECT_TRUE(ReadStartAtLogOn()) << "the quoted entry reads as on, as the bare path of older entries does";
    EXPECT_EQ(FileHotkeys().size(), 3u) << "the hotkeys are not touched";

    // On a monitor at 144 DPI everything is half as large again, the frames and the links included.
    wintest::ChangeDpi(form, 144, 812, 466);
    wintest::ExpectScaled(wintest::ClientRect(form.Handle()), {0, 0, 812, 466}, 144, "client area");
    wintest::ExpectScaled(form.btnOK.PixelBounds(), {729, 433, 804, 458}, 144, "btnOK");
    EXPECT_EQ(FrameTops(form), (std::vector<LONG>{0, 150, 300}));
    // The link fits itself to its text from the left edge of its place.
    const RECT web = form.lblWeb.PixelBounds();
    EXPECT_EQ(web.top, 87);
    EXPECT_EQ(web.left, form.lblTitle.PixelBounds().left) << "the link's place is scaled with the others";
}

TEST_F(Settings, ACancelledWizardChangesNothing) {
    TSettingsForm& form = Open();
    THotkeySetting* const first = form.HotKeySettingsList()[0].get();
    Click(first->btnEdit);
    wintest::ModalScript script;
    HWND wizard = nullptr;
    HWND owner = nullptr;
    script.When(
        "the wizard shown",
        [&] {
            const std::u16string caption = u"New hotkey";
            wizard = wintest::FindTopWindow(GetCurrentProcessId(), L"Corvalend.Form", &caption);
            return wizard != nullptr && IsWindowVisible(wizard);
        },
        [&] {
            owner = GetWindow(wizard, GW_OWNER);
            PostMessageW(wizard, WM_CLOSE, 0, 0);
        });
    script.Start([&] { PostMessageW(wizard, WM_CLOSE, 0, 0); });
    form.Button1Click();
    EXPECT_NE(wizard, nullptr);
    EXPECT_EQ(owner, form.Handle());
    EXPECT_EQ(form.HotKeySettingsList()[0].get(), first) << "no rebuild";
    EXPECT_TRUE(first->EditMode()) << "the open edit stays";
    EXPECT_EQ(FileHotkeys().size(), 3u);
}

TEST_F(Settings, AHotkeyFileThatCannotBeWrittenKeepsTheOldFileAndTheWindow) {
    TSettingsForm& form = Open();
    THotkeySetting& frame = *form.HotKeySettingsList()[0];
    const std::string before = fw::Win32FileStore().Read(HotkeyFile()).value_or("");
    fw::UniqueKernelHandle lock(CreateFileW(fw::AsWide(HotkeyFile()), GENERIC_READ, /*share=*/0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.get() != INVALID_HANDLE_VALUE);
    Click(frame.btnEdit);
    frame.SetKey('Z');
    {
        wintest::MessageBoxWatcher box(u"Corvalend");
        Click(frame.Editor().Button2);
        EXPECT_TRUE(box.Wait(10s));
        const std::u16string expected = u"Cannot create file \"" + HotkeyFile() + u"\". ";
        EXPECT_EQ(fw::Utf16ToUtf8(box.Text().substr(0, expected.size())), fw::Utf16ToUtf8(expected));
        EXPECT_TRUE(box.HasStopIcon());
    }
    lock.reset();
    EXPECT_EQ(fw::Win32FileStore().Read(HotkeyFile()).value_or(""), before) << "the old file is intact";
    EXPECT_NE(Live('Q'), nullptr) << "the live hotkeys are untouched";
    EXPECT_TRUE(frame.EditMode()) << "the edits stay for another try";
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));

    Click(frame.Editor().Button2);
    EXPECT_EQ(FileHotkeys()[0], "on Z close");
    EXPECT_NE(Live('Z'), nullptr);
}

// While the update check started from the window waits, the window's messages run, its button is
// disabled and closing is refused: the window would be freed under the button's handler.
TEST_F(Settings, TheWindowStaysWhileItsUpdateCheckWaits) {
    SilentPort server;
    SetEnvironmentVariableW(kUpdateServerVariable, fw::AsWide(server.Host()));
    TSettingsForm& form = Open();
    form.pcClient.SetActivePage(form.tsOtherSettings);
    const HWND window = form.Handle(), button = form.btnCheckForUpdates.Handle();
    constexpr UINT kEndCheck = WM_APP + 0x71;
    bool buttonEnabled = true;
    fw::Subscription hook = App().AddMessageHook([&](MSG& message) {
        if (message.message != kEndCheck) return false;
        buttonEnabled = IsWindowEnabled(button) != FALSE;
        server.Close();  // the check fails at once
        return true;
    });
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), kEndCheck, 0, 0);
    {
        wintest::MessageBoxWatcher box(u"Corvalend");
        Click(form.btnCheckForUpdates);
        EXPECT_TRUE(box.Wait(10s));
        EXPECT_EQ(box.Text(), u"Error\r\rCould not check for updates.");
    }
    hook = {};
    SetEnvironmentVariableW(kUpdateServerVariable, nullptr);
    EXPECT_FALSE(buttonEnabled) << "disabled while the check waited";
    ASSERT_TRUE(IsWindow(window)) << "the close asked for meanwhile was refused";
    EXPECT_EQ(SettingsForm, &form);
    EXPECT_TRUE(IsWindowEnabled(button));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(wintest::PumpAppUntil(
        App(), [&] { return !IsWindow(window); }, wintest::kPatience))
        << "and closes afterwards";
}

TEST_F(Settings, AGuideShownBySavingMakesTheWindowWaitAndItsSuggestionsStay) {
    TSettingsForm& form = Open();
    const HWND window = form.Handle();
    THotkeySetting* const saving = form.HotKeySettingsList()[0].get();
    const auto saveShowingTheGuide = [&](THotkeySetting& frame, const std::function<void()>& whileShown) {
        fw::RegistryIni(kProgramKey).WriteString(kFirstUseValue, u"1");
        wintest::ModalScript script;
        script.When(
            "the guide shown", [] { return frmFirstUse != nullptr && frmFirstUse->Visible(); }, whileShown);
        script.Start([] { PostMessageW(frmFirstUse->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
        Click(frame.btnEdit);
        Click(frame.Editor().Button2);  // InitApp shows the guide, and returns when it is gone
        EXPECT_TRUE(script.Done());
    };

    // Finished: the guide merges its suggestions into the file, and the window's copy follows.
    bool waited = false;
    saveShowingTheGuide(*saving, [&] {
        waited = !IsWindowEnabled(window);
        for (int page = 0; page < 3; ++page) frmFirstUse->btnNextClick();  // the last one is Finish
    });
    EXPECT_TRUE(waited) << "the window waits while the guide is up";
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(form.HotKeySettingsList()[0].get(), saving) << "the saving frame outlives its handler";
    const std::vector<std::string> merged{"on Q close",    "off W minimize",     "on E sendkeystrokes", "on o minimize",
                                          "on j maximize", "on S capturescreen", "on N openfile"};
    EXPECT_EQ(FileHotkeys(), merged);
    ASSERT_TRUE(wintest::WaitFor("the working copy following the file",
                                 [&] { return form.HotKeyList().Count() == static_cast<int>(merged.size()); }));
    EXPECT_EQ(form.HotKeyPlacement.ColumnHeight(), 100 * static_cast<int>(merged.size()))
        << "the column shows the suggestions";
    THotkeySetting& next = *form.HotKeySettingsList()[1];
    EXPECT_EQ(&next.Hotkey(), form.HotKeyList().GetItem(1)) << "the frames show the new copy";
    Click(next.btnEdit);
    Click(next.Editor().Button2);
    EXPECT_EQ(FileHotkeys(), merged) << "the next save keeps them";

    // Closed from outside while the guide is up: hidden at once, freed after the saving handler,
    // also when the tray has opened a new one meanwhile.
    bool keptUnderTheHandler = false;
    TSettingsForm* reopened = nullptr;
    saveShowingTheGuide(*form.HotKeySettingsList()[0], [&] {
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(wintest::WaitFor("the settings window hidden", [&] { return !IsWindowVisible(window); }));
        wintest::PumpPending();  // what the close left to do later, such as freeing the window, has run
        keptUnderTheHandler = IsWindow(window) && !IsWindowVisible(window) && SettingsForm == nullptr;
        ShowSettingsForm(App(), Data());
        reopened = SettingsForm;
        PostMessageW(frmFirstUse->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_TRUE(keptUnderTheHandler);
    EXPECT_TRUE(wintest::PumpAppUntil(
        App(), [&] { return !IsWindow(window); }, wintest::kPatience))
        << "freed afterwards";
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(SettingsForm, reopened);
    EXPECT_TRUE(IsWindowVisible(reopened->Handle())) << "the new one stays";
}

// A thousand hotkeys: the column scrolls over all of them, but only the rows in view have frames, so
// the windows do not grow with the count; any row can be edited, saved and deleted.
TEST_F(Settings, AThousandHotkeysHaveFramesOnlyInViewAndEachCanBeEditedSavedAndDeleted) {
    THotkeyList file(Data().HotkeyServices());
    file.LoadFromFile(HotkeyFile(), /*OnlyActive=*/false);
    for (int i = file.Count(); i < 1000; ++i) {
        file.Add(false, 'A' + i % 26, 1 + i / 26 % 15, hkfSendKeys, u"row " + fw::IntToStr(i), u"", u"");
    }
    file.SaveToFile(HotkeyFile());
    TSettingsForm& form = Open();
    fw::ColumnScrollBox& column = form.HotKeyPlacement;
    ASSERT_EQ(form.HotKeyList().Count(), 1000);
    EXPECT_EQ(column.ColumnHeight(), 100000) << "the range is the whole column's";
    const int rowsInView = wintest::ClientRect(column.Handle()).bottom / 100 + 2;
    const int windowsPerFrame = 1 + WindowsBelow(form.HotKeySettingsList()[0]->Handle());
    // At most `frames` frames, one of them with its edit panel when `editPanel` is given.
    const auto bounded = [&](int frames, const fw::Control* editPanel = nullptr) {
        const int editing = editPanel != nullptr ? 1 + WindowsBelow(editPanel->Handle()) : 0;
        return static_cast<int>(form.HotKeySettingsList().size()) <= frames &&
               WindowsBelow(column.Handle()) <= frames * windowsPerFrame + editing;
    };
    EXPECT_TRUE(bounded(rowsInView));
    EXPECT_EQ(ColumnFault(form), "");

    const auto scroll = [&](WORD request) { SendMessageW(column.Handle(), WM_VSCROLL, MAKEWPARAM(request, 0), 0); };
    const struct {
        const char* what;
        std::function<void()> scroll;
    } moves[] = {
        {"a page down", [&] { scroll(SB_PAGEDOWN); }},
        {"a line down", [&] { scroll(SB_LINEDOWN); }},
        {"to the middle", [&] { column.ScrollTo(50000); }},
        {"a notch of the wheel up",
         [&] { SendMessageW(column.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0); }},
        {"to the end", [&] { scroll(SB_BOTTOM); }},
    };
    for (const auto& move : moves) {
        move.scroll();
        EXPECT_EQ(ColumnFault(form), "") << move.what;
        EXPECT_TRUE(bounded(rowsInView)) << move.what;
    }

    // The last hotkey is at the end of the view, and its frame edits and saves it.
    THotkeySetting* last = FrameOf(form, 999);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->PixelBounds().bottom, wintest::ClientRect(column.Handle()).bottom);
    Click(last->btnEdit);
    // Its edit panel, made now, fits the frame's width in the column.
    RECT edit{}, place{};
    GetWindowRect(last->Editor().Panel5.Handle(), &edit);
    GetWindowRect(last->Panel1.Handle(), &place);
    EXPECT_EQ(edit.right, place.right);
    last->SetParameters(u"kept while away");
    // Scrolled away and back, the frame in edit mode keeps its row and its edits.
    scroll(SB_TOP);
    EXPECT_EQ(ColumnFault(form), "");
    EXPECT_TRUE(bounded(rowsInView + 1, &last->Editor().Panel5));
    scroll(SB_BOTTOM);
    ASSERT_EQ(FrameOf(form, 999), last);
    EXPECT_TRUE(last->EditMode());
    EXPECT_EQ(last->Parameters(), u"kept while away");
    EXPECT_EQ(ColumnFault(form), "");
    Click(last->Editor().Button2);
    file.LoadFromFile(HotkeyFile(), /*OnlyActive=*/false);
    EXPECT_EQ(file.GetItem(999)->HotKeyData.Params, u"kept while away");

    // A row far down goes on the next tick, also when the column has scrolled away meanwhile, and
    // the rows below it close the gap.
    THotkeySetting* const deleted = FrameOf(form, 997);
    ASSERT_NE(deleted, nullptr);
    deleted->OnDelete(*deleted);
    scroll(SB_TOP);
    ASSERT_TRUE(wintest::WaitFor("the row gone", [&] { return form.HotKeyList().Count() == 999; }));
    EXPECT_EQ(column.ColumnHeight(), 99900);
    EXPECT_EQ(ColumnFault(form), "");
    scroll(SB_BOTTOM);
    EXPECT_EQ(ColumnFault(form), "");
    ASSERT_NE(FrameOf(form, 997), nullptr);
    EXPECT_EQ(FrameOf(form, 997)->Panel4.View().Params, u"row 998");
    file.LoadFromFile(HotkeyFile(), /*OnlyActive=*/false);
    ASSERT_EQ(file.Count(), 999);
    EXPECT_EQ(file.GetItem(996)->HotKeyData.Params, u"row 996");
    EXPECT_EQ(file.GetItem(997)->HotKeyData.Params, u"row 998");
}

TEST_F(Settings, ARefusedHotkeyIsTakenOnWakingUnlockingOrReconnectingAndOnlyThen) {
    const struct {
        UINT message;
        WPARAM event;
        bool retries;
    } cases[] = {
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true}, {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, true},
        {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, true},  {WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT, true},
        {WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT, true},  {WM_POWERBROADCAST, PBT_APMSUSPEND, false},
        {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, false},
    };
    for (const auto& c : cases) {
        Data().ClearHotKeyList();
        const HWND holder =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(RegisterHotKey(holder, 1, kCtrlAlt, 'Q'));
        Data().InitApp();
        ASSERT_EQ(Live('Q'), nullptr);
        UnregisterHotKey(holder, 1);
        DestroyWindow(holder);
        SendMessageW(App().Handle(), c.message, c.event, 0);
        EXPECT_EQ(Live('Q') != nullptr, c.retries) << c.message << " " << c.event;
    }
}

TEST_F(Settings, AFrameMarksItsRefusedLiveHotkeyUntilTheRetryTimerTakesIt) {
    // Another window holds Ctrl+Alt+Q when the live hotkeys are registered again.
    Data().ClearHotKeyList();
    const HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(holder, 1, kCtrlAlt, 'Q'));
    Data().SetRetryPeriod(50);
    Data().InitApp();
    EXPECT_TRUE(Data().RetryTimerRunning());
    TSettingsForm& form = Open();
    const THotkeyViewPanel& q = FrameOf(form, 0)->Panel4;
    EXPECT_TRUE(q.View().Refused);
    EXPECT_NE(q.Text().find(u"Key: Q (in use). "), std::u16string::npos) << fw::Utf16ToUtf8(q.Text());
    EXPECT_FALSE(FrameOf(form, 2)->Panel4.View().Refused);

    // Let go: the timer takes it, the frame's mark goes and the timer stops.
    UnregisterHotKey(holder, 1);
    DestroyWindow(holder);
    EXPECT_TRUE(wintest::WaitFor("the mark gone", [&] { return !q.View().Refused; }));
    EXPECT_NE(Live('Q'), nullptr);
    EXPECT_FALSE(Data().RetryTimerRunning());
}
