// The hotkey overview popup as the tray opens it, with real hotkeys of a hotkey file: the grid and
// its geometry, the place beside the taskbar, the opacity as the pointer comes and goes, a
// combination taken by another program, and every way the popup hides.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/SystemHotkeys.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/win/FormTest.h"
#include "tests/win/WinTest.h"
#include "ui/MainFormRules.h"
#include "ui/MainFormU.h"
#include "ui/SettingsFormU.h"

namespace {

using namespace std::chrono_literals;

constexpr int32_t kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr int kTakenId = 0x5A17;  // our own registration of the combination the popup finds taken

std::u16string Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return fw::FromW(text);
}

std::u16string Text(const std::unique_ptr<fw::Label>& label) {
    return Text(label->Handle());
}

uint8_t Opacity(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window, /*key=*/nullptr, &alpha, &flags);
    return (flags & LWA_ALPHA) ? alpha : 255;
}

THotKeyData Hotkey(int32_t key, THotKeyFunc func, std::u16string params = {}, std::u16string params2 = {}) {
    THotKeyData d;
    d.Active = true;
    d.Key = key;
    d.Shift = kCtrlAlt;
    d.Func = func;
    d.Params = std::move(params);
    d.Params2 = std::move(params2);
    d.Params3 = u"MAXIMIZED";
    return d;
}

// The colour the popup gives a label's text when it paints.
COLORREF TextColourOf(HWND parent, HWND label) {
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(label));
    return GetTextColor(dc.get());
}

class MainFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        app_->SetTitle(u"Corvalend");
        form_ = std::make_unique<TMainForm>(*app_);
    }
    static void TearDownTestSuite() {
        form_.reset();
        app_.reset();
    }

    void SetUp() override { fw::RegistryIni(kProgramKey).WriteString(u"FirstUse", u"0"); }
    void TearDown() override {
        if (Form().Visible()) Form().SpeedButton1Click();
        delete SettingsForm;
        Data = nullptr;
        data_.reset();
        UnregisterHotKey(nullptr, kTakenId);
        wintest::DeleteTree(fw::ExtractFileDir(HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA))));
    }

    // The hotkey file holds the hotkeys (with one inactive among them) before the data module
    // loads and registers the active ones.
    void StartWith(const std::vector<THotKeyData>& hotkeys) {
        const std::u16string file = HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA));
        fw::ForceDirectories(fw::ExtractFileDir(file));
        SystemHotkeys registrar(app_->Handle());
        fw::Win32FileStore files;
        fw::SystemAnsiCodePage ansi;
        THotkeyList list(HotkeySystem{registrar, files, ansi});
        list.Add(false, VK_F12, kCtrlAlt, hkfMinimize, u"", u"", u"");
        for (const THotKeyData& d : hotkeys) list.Add(true, d.Key, d.Shift, d.Func, d.Params, d.Params2, d.Params3);
        list.SaveToFile(file);
        data_ = std::make_unique<TData>(*app_);
        Data = data_.get();
    }

    // Opens the popup as a tray click does and waits until it is on the screen.
    void Open() {
        ASSERT_FALSE(Form().Visible());
        Form().TrayIconClick();
        ASSERT_TRUE(wintest::PumpUntil([] { return Form().Visible(); }, 5s));
    }

    static TMainForm& Form() { return *form_; }
    static fw::Application& App() { return *app_; }
    static RECT Client() {
        RECT client{};
        GetClientRect(form_->Handle(), &client);
        return client;
    }
    static RECT Bounds() {
        RECT bounds{};
        GetWindowRect(form_->Handle(), &bounds);
        return bounds;
    }

    // A screen point outside the popup and the taskbar.
    static POINT Elsewhere() {
        const RECT popup = Bounds();
        const RECT bar = Data->TaskbarPos().rc;
        for (const POINT p : {POINT{200, 200}, POINT{GetSystemMetrics(SM_CXSCREEN) / 2, 300}, POINT{600, 150}}) {
            if (!PtInRect(&popup, p) && !PtInRect(&bar, p)) return p;
        }
        ADD_FAILURE() << "no free point on the screen";
        return {};
    }

private:
    inline static std::unique_ptr<fw::Application> app_;
    inline static std::unique_ptr<TMainForm> form_;
    std::unique_ptr<TData> data_;
};

}  // namespace

TEST_F(MainFormTest, CreatedHiddenMinimizedAndSeeThrough) {
    const HWND hwnd = Form().Handle();
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsIconic(hwnd));
    EXPECT_EQ(Opacity(hwnd), 200);
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_EQ(Text(hwnd), u"Corvalend");
    EXPECT_TRUE(Form().HotkeyText().empty());
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
    EXPECT_EQ(Text(Form().SpeedButton1.Handle()), u"X");
    EXPECT_EQ(Form().BLabel1.Label().Caption(), u"Manage hotkeys");
    EXPECT_EQ(Form().lblCheckForUpdates.Label().Caption(), u"Check for updates");
}

TEST_F(MainFormTest, ThreeHotkeysOneOfThemTakenElsewhere) {
    // Another program has CTRL+ALT+F9 before we start.
    ASSERT_TRUE(RegisterHotKey(nullptr, kTakenId, kCtrlAlt, VK_F9));
    StartWith({
        Hotkey(VK_F7, hkfClose),
        Hotkey(VK_F8, hkfOpenFile, u"a.txt", u"-x"),
        Hotkey(VK_F9, hkfSendKeys, u"a&b<?CR?>", u"unused"),
    });
    ASSERT_EQ(Data->HotKeyList().Count(), 3);
    Open();

    const auto& grid = Form().HotkeyText();
    ASSERT_EQ(grid.size(), 4u);
    EXPECT_EQ(Text(grid[0][0]), u"Hotkey");
    EXPECT_EQ(Text(grid[0][1]), u"Action");
    EXPECT_EQ(Text(grid[0][2]), u"Parameters");
    EXPECT_EQ(Text(grid[1][0]), u"ALT + CTRL + F7");
    EXPECT_EQ(Text(grid[1][1]), u"Close active window");
    EXPECT_EQ(Text(grid[1][2]), u"");
    EXPECT_EQ(Text(grid[2][0]), u"ALT + CTRL + F8");
    EXPECT_EQ(Text(grid[2][1]), u"Open file");
    EXPECT_EQ(Text(grid[2][2]), u"a.txt, -x");
    EXPECT_EQ(Text(grid[3][0]), u"ALT + CTRL + F9 (in use)");
    EXPECT_EQ(Text(grid[3][1]), u"Send keystrokes");
    EXPECT_EQ(Text(grid[3][2]), u"a&b<?CR?>");
    // Only the taken combination is greyed.
    EXPECT_EQ(TextColourOf(Form().Handle(), grid[3][0]->Handle()), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(TextColourOf(Form().Handle(), grid[2][0]->Handle()), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(TextColourOf(Form().Handle(), grid[3][1]->Handle()), GetSysColor(COLOR_WINDOWTEXT));

    // Geometry at 96 DPI: rows 21 pixels apart under the header, the links 21 above the bottom.
    for (int c = 0; c < 3; ++c) EXPECT_EQ(grid[0][c]->PixelBounds().top, 8) << c;
    EXPECT_EQ(grid[1][0]->PixelBounds().top, 25);
    EXPECT_EQ(grid[2][0]->PixelBounds().top, 46);
    EXPECT_EQ(grid[3][0]->PixelBounds().top, 67);
    EXPECT_EQ(grid[3][2]->PixelBounds(), (RECT{268, 67, 563, 80}));
    EXPECT_EQ(Client(), (RECT{0, 0, 579, 116}));
    EXPECT_EQ(Form().BLabel1.PixelBounds().top, 116 - 21);
    EXPECT_EQ(Form().lblCheckForUpdates.PixelBounds().top, 116 - 21);
    EXPECT_EQ(Form().SpeedButton1.PixelBounds(), (RECT{548, 8, 570, 28}));

    // Beside the taskbar the shell reports.
    const APPBARDATA bar = Data->TaskbarPos();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(Form().Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& w = monitor.rcWork;
    const ScreenPoint expected = PopupPosition(bar.uEdge, {bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom},
                                               {w.left, w.top, w.right, w.bottom}, 579, 116, 3, {-1, -1});
    EXPECT_EQ(Bounds().left, expected.x) << "taskbar edge " << bar.uEdge;
    EXPECT_EQ(Bounds().top, expected.y);

    EXPECT_EQ(Opacity(Form().Handle()), 240);
    EXPECT_FALSE(IsIconic(Form().Handle()));
    EXPECT_TRUE(Form().HideFormTimer.Enabled());
    EXPECT_FALSE(IsWindowVisible(App().Handle())) << "no taskbar button";
    RedrawWindow(Form().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wintest::KeepScreenshot(Form().Handle(), u"popup-three-hotkeys.bmp");

    // A second click closes it: grid gone, minimized, timer off.
    Form().TrayIconClick();
    EXPECT_FALSE(Form().Visible());
    EXPECT_TRUE(Form().HotkeyText().empty());
    EXPECT_TRUE(IsIconic(Form().Handle()));
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
}

TEST_F(MainFormTest, NoHotkeysOnlyTheHeaderAndTheWaysToHide) {
    StartWith({});
    Open();
    EXPECT_EQ(Form().HotkeyText().size(), 1u);
    EXPECT_EQ(Client(), (RECT{0, 0, 579, 57}));
    EXPECT_EQ(Form().lblCheckForUpdates.PixelBounds().top, 57 - 21);

    // "X".
    SendMessageW(Form().SpeedButton1.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(Form().Visible());
    EXPECT_TRUE(Form().HotkeyText().empty());

    // "Manage hotkeys" opens the settings window and hides the popup.
    Open();
    ASSERT_EQ(SettingsForm, nullptr);
    Form().BLabel1.Label().OnClick(Form().BLabel1.Label());
    EXPECT_NE(SettingsForm, nullptr);
    EXPECT_FALSE(Form().Visible());
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
}

TEST_F(MainFormTest, PointerComingAndGoing) {
    StartWith({Hotkey(VK_F7, hkfMaximize)});
    Open();
    const RECT popup = Bounds();
    // In: fully opaque as opened, the timer restarted; onto the close button: still inside, nothing
    // changes; out: fainter.
    SetCursorPos(popup.left + 300, popup.top + 40);
    wintest::PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(Opacity(Form().Handle()), 240);
    RECT button{};
    GetWindowRect(Form().SpeedButton1.Handle(), &button);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    wintest::PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(Opacity(Form().Handle()), 240);
    // Resting inside, the popup stays beyond the timer's period.
    SetCursorPos(popup.left + 300, popup.top + 40);
    wintest::PumpUntil([] { return false; }, 1300ms);
    EXPECT_TRUE(Form().Visible());

    // Away from the popup and the taskbar: fainter at once, hidden at the next tick.
    const POINT away = Elsewhere();
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(wintest::PumpUntil([] { return Opacity(Form().Handle()) == 180; }, 500ms));
    ASSERT_TRUE(wintest::PumpUntil([] { return !Form().Visible(); }, 3s)) << "still shown";
    EXPECT_TRUE(Form().HotkeyText().empty());
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
}

TEST_F(MainFormTest, StaysWhileThePointerRestsOnTheTaskbar) {
    StartWith({});
    const RECT bar = Data->TaskbarPos().rc;
    // A pointer is on the taskbar when strictly inside it: there must be an inside.
    if (bar.right - bar.left < 3 || bar.bottom - bar.top < 3) GTEST_SKIP() << "no taskbar to rest the pointer on";
    Open();
    // Far from the popup, on the taskbar's other end.
    SetCursorPos(bar.left + 2, bar.bottom - 2);
    wintest::PumpUntil([] { return false; }, 1500ms);
    EXPECT_TRUE(Form().Visible()) << "hidden with the pointer on the taskbar";
    const POINT away = Elsewhere();
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(wintest::PumpUntil([] { return !Form().Visible(); }, 3s)) << "still shown";
}

TEST_F(MainFormTest, ScaledForTheMonitorsDpi) {
    StartWith({Hotkey(VK_F7, hkfClose), Hotkey(VK_F8, hkfMaximize), Hotkey(VK_F9, hkfMinimize)});
    Open();
    wintest::ChangeDpi(Form(), 144, kPopupWidth, 116);
    Form().TrayIconClick();  // closed at 96, opened at 144
    Open();
    const auto& grid = Form().HotkeyText();
    ASSERT_EQ(grid.size(), 4u);
    EXPECT_EQ(Client(), (RECT{0, 0, 869, 174}));
    EXPECT_EQ(grid[1][0]->PixelBounds().top, 38);
    EXPECT_EQ(grid[2][0]->PixelBounds().top, 69);
    EXPECT_EQ(grid[3][0]->PixelBounds().top, 101);
    wintest::ExpectScaled(grid[3][2]->PixelBounds(), {268, 67, 563, 80}, 144, "parameters");
    wintest::ExpectScaled(Form().SpeedButton1.PixelBounds(), {548, 8, 570, 28}, 144, "X");
    EXPECT_EQ(Form().BLabel1.PixelBounds().bottom, 174 - 12);  // 8 pixels at 96 DPI below the links
    // Beside the taskbar with the gap scaled too.
    const APPBARDATA bar = Data->TaskbarPos();
    if (bar.uEdge == ABE_BOTTOM && bar.rc.bottom > bar.rc.top) {
        EXPECT_EQ(Bounds().bottom, bar.rc.top - 5);
        EXPECT_EQ(Bounds().right, bar.rc.right - 5);
    }
    wintest::ChangeDpi(Form(), 96, kPopupWidth, 174 * 96 / 144);
}
