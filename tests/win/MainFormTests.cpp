// The hotkey overview popup as the tray opens it, with real hotkeys of a hotkey file: the grid and
// its geometry, the place beside the taskbar, the opacity as the pointer comes and goes, a
// combination taken by another program, and every way the popup hides.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/SystemHotkeys.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/MessageDlg.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/MainFormRules.h"
#include "ui/MainFormU.h"
#include "ui/SettingsFormU.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;

constexpr int32_t kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr int kTakenId = 0x5A17;  // our own registration of the combination the popup finds taken

std::u16string Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return fw::FromWide(text);
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

// The colour a label's text gets from its parent when it paints.
COLORREF TextColourOf(HWND label) {
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                 reinterpret_cast<LPARAM>(label));
    return GetTextColor(dc.get());
}

// The width of a text on one line in a label's font (its own text by default).
int TextWidthOf(HWND label, const std::u16string& text) {
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    const fw::ScopedSelectObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT extent{};
    DrawTextW(dc.get(), fw::AsWide(text), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return extent.right;
}
int TextWidthOf(HWND label) {
    return TextWidthOf(label, Text(label));
}

int Width(const RECT& r) {
    return r.right - r.left;
}

// Counts the messages of a kind as this thread takes them from its queue, whoever pumps it.
class TakenMessages {
public:
    explicit TakenMessages(std::function<bool(const MSG&)> which)
        : which_(std::move(which)),
          hook_(SetWindowsHookExW(WH_GETMESSAGE, &TakenMessages::Hook, nullptr, GetCurrentThreadId())) {
        EXPECT_NE(hook_, nullptr);
        counters_.push_back(this);
    }
    ~TakenMessages() {
        std::erase(counters_, this);
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    }
    TakenMessages(const TakenMessages&) = delete;
    TakenMessages& operator=(const TakenMessages&) = delete;

    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM removal, LPARAM message) {
        if (code == HC_ACTION && removal == PM_REMOVE) {
            for (TakenMessages* counter : counters_) {
                if (counter->which_(*reinterpret_cast<const MSG*>(message))) ++counter->count_;
            }
        }
        return CallNextHookEx(nullptr, code, removal, message);
    }

    std::function<bool(const MSG&)> which_;
    HHOOK hook_;
    int count_ = 0;
    inline static std::vector<TakenMessages*> counters_;
};

class MainFormTest : public wintest::ProgramSuite {
protected:
    // A popup of its own for each test, as the program makes it at its start: what one test does
    // to it (a DPI, the controls of an opening, the pointer's tracking) is not the next one's start.
    void SetUp() override {
        fw::RegistryIni(kProgramKey).WriteString(u"FirstUse", u"0");
        form_ = std::make_unique<TMainForm>(*app_);
    }
    void TearDown() override {
        if (Form().Visible()) Form().SpeedButton1Click();
        FreeSettingsForms();
        Data = nullptr;
        data_.reset();
        form_.reset();
        UnregisterHotKey(nullptr, kTakenId);
        wintest::DeleteTree(fw::ExtractFileDir(HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA))));
    }

    // The hotkey file holds the hotkeys (with one inactive among them) before the data module
    // loads and registers the active ones.
    void StartWith(const std::vector<THotKeyData>& hotkeys) {
        const std::u16string file = HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA));
        fw::ForceDirectories(fw::ExtractFileDir(file));
        SystemHotkeys registrar(/*onPress=*/nullptr);  // saves the file only, registers nothing
        fw::Win32FileStore files;
        fw::SystemAnsiCodePage ansi;
        THotkeyList list(HotkeySystem{registrar, files, ansi});
        list.Add(false, VK_F12, kCtrlAlt, hkfMinimize, u"", u"", u"");
        for (const THotKeyData& d : hotkeys) list.Add(true, d.Key, d.Shift, d.Func, d.Params, d.Params2, d.Params3);
        list.SaveToFile(file);
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        Data = data_.get();
    }

    // Opens the popup as a tray click does and waits until it is on the screen.
    void Open() {
        ASSERT_FALSE(Form().Visible());
        Form().TrayIconClick();
        ASSERT_TRUE(wintest::WaitFor("the popup shown", [] { return Form().Visible(); }));
    }

    static TMainForm& Form() { return *form_; }
    // The ticks of the popup's hide timer, counted as they come.
    static TakenMessages HideTimerTicks() {
        return TakenMessages([](const MSG& message) {
            return message.message == WM_TIMER && fw::Timer::SharedWindow().Handle() != nullptr &&
                   message.hwnd == fw::Timer::SharedWindow().Handle() && message.wParam == form_->HideFormTimer.Id();
        });
    }
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
    // A window of the popup in the popup's client area.
    static RECT InPopup(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        MapWindowPoints(HWND_DESKTOP, form_->Handle(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The label window of a cell of the grid (row 0 the header, row i + 1 hotkey i); a failure
    // when the row has none.
    static HWND Cell(int row, int column) {
        const fw::Label* label = form_->HotkeyText(row, column);
        if (label == nullptr) ADD_FAILURE() << "no window for row " << row << ", column " << column;
        return label != nullptr ? label->Handle() : nullptr;
    }

    // A screen point outside the popup and the taskbar.
    static POINT Elsewhere() {
        const RECT popup = Bounds();
        const RECT bar = TaskbarPos().rc;
        for (const POINT p : {POINT{200, 200}, POINT{GetSystemMetrics(SM_CXSCREEN) / 2, 300}, POINT{600, 150}}) {
            if (!PtInRect(&popup, p) && !PtInRect(&bar, p)) return p;
        }
        ADD_FAILURE() << "no free point on the screen";
        return {};
    }

private:
    inline static std::unique_ptr<TMainForm> form_;
    std::unique_ptr<wintest::ProgramData> data_;
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
    EXPECT_EQ(Form().HotkeyRowCount(), 0);
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
    // Resting in the tray it has no control windows: they come with the first opening.
    EXPECT_EQ(FindWindowExW(hwnd, /*after=*/nullptr, /*class=*/nullptr, /*title=*/nullptr), nullptr);
    EXPECT_EQ(Text(Form().Popup().SpeedButton1.Handle()), u"X");
    EXPECT_EQ(Form().Popup().BLabel1.Caption(), u"Manage hotkeys");
    EXPECT_EQ(Form().Popup().lblCheckForUpdates.Caption(), u"Check for updates");
    // "Check for updates" is right-justified, ending 8 pixels before the edge (571 of 579).
    EXPECT_EQ(InPopup(Form().Popup().lblCheckForUpdates.Handle()).right, Client().right - 8);
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

    ASSERT_EQ(Form().HotkeyRowCount(), 4);
    EXPECT_EQ(Text(Cell(0, 0)), u"Hotkey");
    EXPECT_EQ(Text(Cell(0, 1)), u"Action");
    EXPECT_EQ(Text(Cell(0, 2)), u"Parameters");
    EXPECT_EQ(Text(Cell(1, 0)), u"ALT + CTRL + F7");
    EXPECT_EQ(Text(Cell(1, 1)), u"Close active window");
    EXPECT_EQ(Text(Cell(1, 2)), u"");
    EXPECT_EQ(Text(Cell(2, 0)), u"ALT + CTRL + F8");
    EXPECT_EQ(Text(Cell(2, 1)), u"Open file");
    EXPECT_EQ(Text(Cell(2, 2)), u"a.txt, -x");
    EXPECT_EQ(Text(Cell(3, 0)), u"ALT + CTRL + F9 (in use)");
    EXPECT_EQ(Text(Cell(3, 1)), u"Send keystrokes");
    EXPECT_EQ(Text(Cell(3, 2)), u"a&b<?CR?>");
    // Only the taken combination is greyed.
    EXPECT_EQ(TextColourOf(Cell(3, 0)), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(TextColourOf(Cell(2, 0)), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(TextColourOf(Cell(3, 1)), GetSysColor(COLOR_WINDOWTEXT));

    // Geometry at 96 DPI: rows 21 pixels apart under the header, the links 21 above the bottom.
    // The taken combination's text is wider than the designed column: the column and the popup
    // widen so that it shows whole, and the parameters still end 16 pixels before the right edge.
    const RECT client = Client();
    for (int c = 0; c < 3; ++c) EXPECT_EQ(InPopup(Cell(0, c)).top, 8) << c;
    EXPECT_EQ(InPopup(Cell(1, 0)).top, 25);
    EXPECT_EQ(InPopup(Cell(2, 0)).top, 46);
    EXPECT_EQ(InPopup(Cell(3, 0)).top, 67);
    EXPECT_GE(Width(InPopup(Cell(3, 0))), TextWidthOf(Cell(3, 0)));
    EXPECT_EQ(InPopup(Cell(3, 2)), (RECT{InPopup(Cell(3, 1)).right + 10, 67, client.right - 16, 80}));
    EXPECT_GT(client.right, 579);
    EXPECT_EQ(client.bottom, 116);
    EXPECT_EQ(Form().Popup().BLabel1.PixelBounds().top, 116 - 21);
    EXPECT_EQ(Form().Popup().lblCheckForUpdates.PixelBounds().top, 116 - 21);
    EXPECT_EQ(Form().Popup().SpeedButton1.PixelBounds(), (RECT{client.right - 31, 8, client.right - 9, 25}));
    // "Check for updates" is right-justified: it ends 8 pixels before the right edge.
    EXPECT_EQ(InPopup(Form().Popup().lblCheckForUpdates.Handle()).right, client.right - 8);

    // Beside the taskbar the shell reports.
    const APPBARDATA bar = TaskbarPos();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(Form().Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const fw::Point expected =
        PopupPosition(bar.uEdge, fw::FromRECT(bar.rc), fw::FromRECT(monitor.rcWork), client.right, 116, 3, {-1, -1});
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
    EXPECT_EQ(Form().HotkeyRowCount(), 0);
    EXPECT_TRUE(IsIconic(Form().Handle()));
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
}

TEST_F(MainFormTest, NoHotkeysOnlyTheHeaderAndTheWaysToHide) {
    StartWith({});
    Open();
    EXPECT_EQ(Form().HotkeyRowCount(), 1);
    EXPECT_EQ(Client(), (RECT{0, 0, 579, 57}));
    EXPECT_EQ(Form().Popup().lblCheckForUpdates.PixelBounds().top, 57 - 21);

    // "X".
    SendMessageW(Form().Popup().SpeedButton1.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(Form().Visible());
    EXPECT_EQ(Form().HotkeyRowCount(), 0);

    // "Manage hotkeys" opens the settings window and hides the popup.
    Open();
    ASSERT_EQ(SettingsForm, nullptr);
    Form().Popup().BLabel1.OnClick(Form().Popup().BLabel1);
    EXPECT_NE(SettingsForm, nullptr);
    EXPECT_FALSE(Form().Visible());
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
}

TEST_F(MainFormTest, PointerComingAndGoing) {
    StartWith({Hotkey(VK_F7, hkfMaximize)});
    Open();
    const RECT popup = Bounds();
    const TakenMessages leaves(
        [](const MSG& message) { return message.message == WM_MOUSELEAVE && message.hwnd == Form().Handle(); });
    const TakenMessages ticks = HideTimerTicks();
    // In: fully opaque as opened, the timer restarted; onto the close button: still inside, nothing
    // changes; out: fainter.
    SetCursorPos(popup.left + 300, popup.top + 40);
    wintest::PumpPending();  // the pointer's move, which the system queued at once
    EXPECT_EQ(Opacity(Form().Handle()), 240);
    RECT button{};
    GetWindowRect(Form().Popup().SpeedButton1.Handle(), &button);
    const int left = leaves.Count();
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ASSERT_TRUE(wintest::WaitFor("the popup told that the pointer left it for the button",
                                 [&] { return leaves.Count() > left; }));
    EXPECT_EQ(Opacity(Form().Handle()), 240);
    // Resting inside, the popup stays beyond the timer's period.
    SetCursorPos(popup.left + 300, popup.top + 40);
    wintest::PumpPending();
    const int ticked = ticks.Count();
    ASSERT_TRUE(
        wintest::WaitFor("a tick of the hide timer with the pointer inside", [&] { return ticks.Count() > ticked; }));
    EXPECT_TRUE(Form().Visible());

    // Away from the popup and the taskbar: fainter at once, hidden at the next tick.
    const POINT away = Elsewhere();
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(wintest::WaitFor(
        "the popup fainter at once", [] { return Opacity(Form().Handle()) == 180; }, 500ms));
    ASSERT_TRUE(wintest::WaitFor("the popup hidden at the next tick", [] { return !Form().Visible(); }));
    EXPECT_EQ(Form().HotkeyRowCount(), 0);
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
}

TEST_F(MainFormTest, StaysWhileThePointerRestsOnTheTaskbar) {
    StartWith({});
    const RECT bar = TaskbarPos().rc;
    // A pointer is on the taskbar when strictly inside it: there must be an inside.
    if (bar.right - bar.left < 3 || bar.bottom - bar.top < 3) GTEST_SKIP() << "no taskbar to rest the pointer on";
    Open();
    const TakenMessages ticks = HideTimerTicks();
    // Far from the popup, on the taskbar's other end.
    SetCursorPos(bar.left + 2, bar.bottom - 2);
    wintest::PumpPending();
    const int ticked = ticks.Count();
    ASSERT_TRUE(wintest::WaitFor("a tick of the hide timer with the pointer on the taskbar",
                                 [&] { return ticks.Count() > ticked; }));
    EXPECT_TRUE(Form().Visible()) << "hidden with the pointer on the taskbar";
    const POINT away = Elsewhere();
    SetCursorPos(away.x, away.y);
    EXPECT_TRUE(wintest::WaitFor("the popup hidden", [] { return !Form().Visible(); }));
}

TEST_F(MainFormTest, ScaledForTheMonitorsDpi) {
    // Texts within the designed columns, at both densities.
    StartWith({Hotkey(VK_F7, hkfClose), Hotkey(VK_F8, hkfSendKeys), Hotkey(VK_F9, hkfOpenFile)});
    Open();
    wintest::ChangeDpi(Form(), 144, kPopupWidth, 116);
    Form().TrayIconClick();  // closed at 96, opened at 144
    Open();
    ASSERT_EQ(Form().HotkeyRowCount(), 4);
    EXPECT_EQ(Client(), (RECT{0, 0, 869, 174}));
    // Scaled within a pixel (the rows' box and the rows in it are each rounded).
    EXPECT_NEAR(InPopup(Cell(1, 0)).top, 38, 1);
    EXPECT_NEAR(InPopup(Cell(2, 0)).top, 69, 1);
    EXPECT_NEAR(InPopup(Cell(3, 0)).top, 101, 1);
    wintest::ExpectScaled(InPopup(Cell(3, 2)), {268, 67, 563, 80}, 144, "parameters");
    wintest::ExpectScaled(Form().Popup().SpeedButton1.PixelBounds(), {548, 8, 570, 25}, 144, "X");
    // 8 pixels at 96 DPI below the links' place (13 high at 96 DPI), whose top the link keeps as it
    // fits itself to its text.
    EXPECT_EQ(Form().Popup().BLabel1.PixelBounds().top, 174 - 12 - 20);
    // Beside the taskbar with the gap scaled too.
    const APPBARDATA bar = TaskbarPos();
    if (bar.uEdge == ABE_BOTTOM && bar.rc.bottom > bar.rc.top) {
        EXPECT_EQ(Bounds().bottom, bar.rc.top - 5);
        EXPECT_EQ(Bounds().right, bar.rc.right - 5);
    }
    wintest::ChangeDpi(Form(), 96, kPopupWidth, 174 * 96 / 144);
}

TEST_F(MainFormTest, LongTextsAreWholeAndManyHotkeysScrollOnTheScreen) {
    // 364 hotkeys, the last with the longest combination and a long path: far higher than the
    // screen and wider than designed.
    std::vector<THotKeyData> hotkeys;
    THotKeyData longest = Hotkey(VK_F10, hkfOpenFile, u"C:\\Program Files\\Some Vendor\\Some Application\\app.exe");
    longest.Shift = MOD_ALT | MOD_CONTROL | MOD_SHIFT;
    for (int32_t shift = 1; shift <= 15; ++shift) {
        for (int32_t key = VK_F1; key <= VK_F24; ++key) {
            if (shift == longest.Shift && key == longest.Key) continue;
            hotkeys.push_back(Hotkey(key, hkfMinimize));
            hotkeys.back().Shift = shift;
        }
    }
    for (int32_t key = 'A'; hotkeys.size() < 363; ++key) hotkeys.push_back(Hotkey(key, hkfMinimize));
    hotkeys.push_back(longest);
    StartWith(hotkeys);
    ASSERT_EQ(Data->HotKeyList().Count(), 364);
    Open();
    ASSERT_EQ(Form().HotkeyRowCount(), 365);

    const RECT client = Client();
    const RECT rows = InPopup(Form().Popup().sbHotkeys.Handle());
    const RECT firstRow = InPopup(Cell(1, 0));
    // Only rows in view and about a screen beyond have label windows, which stay bounded however far
    // the rows scroll.
    const auto labelWindows = [] {
        int count = 0;
        EnumChildWindows(
            Form().Popup().pnlHotkeys.Handle(), [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; },
            reinterpret_cast<LPARAM>(&count));
        return count;
    };
    const int rowsInView = (rows.bottom - rows.top) / 21;
    const int most = 3 * 3 * rowsInView;  // three screens of rows
    EXPECT_GE(labelWindows(), 3 * rowsInView);
    EXPECT_LE(labelWindows(), most);
    // The rows with windows show their hotkeys in their places, whole and in view where the box
    // shows them.
    const auto expectRowsBound = [&](const char* where) {
        SCOPED_TRACE(where);
        const int position = Form().Popup().sbHotkeys.ScrollPosition();
        for (int r = 1; r < Form().HotkeyRowCount(); ++r) {
            const int top = firstRow.top + (r - 1) * 21 - position;
            if (Form().HotkeyText(r, 0) == nullptr) {
                ASSERT_TRUE(top + 13 <= rows.top || top >= rows.bottom) << "row " << r << " in view has no window";
                continue;
            }
            const TGlobalHotKey& hotkey = *Data->HotKeyList().GetItem(r - 1);
            const THotKeyData& d = hotkey.HotKeyData;
            const HotkeyRowTexts texts =
                HotkeyRow(d, Data->HotkeyToString(static_cast<uint16_t>(d.Key), static_cast<uint16_t>(d.Shift)),
                          hotkey.Refused());
            const std::u16string expected[3] = {texts.Hotkey, texts.Action, texts.Parameters};
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(Text(Cell(r, c)), expected[c]) << "row " << r;
                EXPECT_TRUE(IsWindowVisible(Cell(r, c))) << "row " << r;
                EXPECT_GE(Width(InPopup(Cell(r, c))), TextWidthOf(Cell(r, c))) << "row " << r;
            }
            ASSERT_EQ(InPopup(Cell(r, 0)).top, top) << "row " << r;
        }
    };
    expectRowsBound("opened");

    // Every text whole on its line: the columns are as wide as the longest texts, out of view at
    // the end; the popup wider than designed, and all of it inside the work area.
    EXPECT_GE(Width(InPopup(Cell(1, 0))), TextWidthOf(Cell(1, 0), u"ALT + CTRL + SHIFT + F10"));
    EXPECT_GE(Width(InPopup(Cell(1, 2))), TextWidthOf(Cell(1, 2), longest.Params));
    EXPECT_GT(client.right, kPopupWidth);
    const RECT work = fw::WorkAreaOf(Form().Handle());
    const RECT popup = Bounds();
    EXPECT_GE(popup.left, work.left);
    EXPECT_GE(popup.top, work.top);
    EXPECT_LE(popup.right, work.right);
    EXPECT_LE(popup.bottom, work.bottom);

    // The header, the "X" and the links in view; the rows between them.
    const auto inView = [&](const RECT& r) {
        return r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom;
    };
    for (int c = 0; c < 3; ++c) EXPECT_TRUE(inView(InPopup(Cell(0, c))));
    const RECT x = InPopup(Form().Popup().SpeedButton1.Handle());
    const RECT manage = InPopup(Form().Popup().BLabel1.Handle());
    const RECT update = InPopup(Form().Popup().lblCheckForUpdates.Handle());
    for (const RECT& r : {x, manage, update}) EXPECT_TRUE(inView(r)) << r;
    EXPECT_GE(rows.top, x.bottom);
    EXPECT_LE(rows.bottom, std::min(manage.top, update.top));
    EXPECT_EQ(update.right, client.right - 8) << "right-justified";

    // The wheel, over the rows, scrolls them; the header and the links stay.
    SetCursorPos(popup.left + (rows.left + rows.right) / 2, popup.top + (rows.top + rows.bottom) / 2);
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
    ASSERT_EQ(SendInput(1, &wheel, sizeof(wheel)), 1u);
    ASSERT_TRUE(wintest::WaitFor("the rows scrolled by the wheel",
                                 [] { return Form().Popup().sbHotkeys.ScrollPosition() > 0; }));
    const int scrolled = Form().Popup().sbHotkeys.ScrollPosition();
    EXPECT_EQ(InPopup(Cell(1, 0)).top, firstRow.top - scrolled);
    EXPECT_EQ(InPopup(Cell(0, 0)).top, 8);
    EXPECT_EQ(InPopup(Form().Popup().BLabel1.Handle()), manage);

    // The scroll bar's lower arrow, clicked, goes on down.
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(Form().Popup().sbHotkeys.Handle(), OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "a scroll bar";
    SetCursorPos((bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.bottom - bar.dxyLineButton / 2);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, click, sizeof(INPUT)), 2u);
    EXPECT_TRUE(wintest::WaitFor("the rows scrolled by the arrow",
                                 [&] { return Form().Popup().sbHotkeys.ScrollPosition() > scrolled; }));
    expectRowsBound("scrolled a little");

    // A page at a time down and up, a jump into the middle and the end: the rows in view are
    // always bound, and the end shows the last row whole.
    for (int i = 0; i < 3; ++i) SendMessageW(Form().Popup().sbHotkeys.Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    expectRowsBound("pages down");
    SendMessageW(Form().Popup().sbHotkeys.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
    expectRowsBound("a page up");
    Form().Popup().sbHotkeys.ScrollTo(180 * 21);
    expectRowsBound("the middle");
    SendMessageW(Form().Popup().sbHotkeys.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
    expectRowsBound("a page up from the middle");
    SendMessageW(Form().Popup().sbHotkeys.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    expectRowsBound("the end");
    EXPECT_EQ(Text(Cell(364, 0)), u"ALT + CTRL + SHIFT + F10");
    const RECT last = InPopup(Cell(364, 2));
    EXPECT_GE(last.top, rows.top);
    EXPECT_LE(last.bottom, rows.bottom);
    EXPECT_LE(labelWindows(), most);
    RedrawWindow(Form().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wintest::KeepScreenshot(Form().Handle(), u"popup-364-hotkeys.bmp");

    // Opened again, the rows start at the top, with the windows of before.
    const int windows = labelWindows();
    Form().TrayIconClick();
    Open();
    EXPECT_EQ(Form().Popup().sbHotkeys.ScrollPosition(), 0);
    expectRowsBound("opened again");
    EXPECT_EQ(labelWindows(), windows);
}

TEST_F(MainFormTest, LaterStartShowsTheSettingsWindowOrOnlyBringsAModalWindowToTheFront) {
    StartWith({});
    // While a modal form is up, and a message box over it: that window comes to the front, nothing
    // new opens.
    fw::Form modal(App(), /*owner=*/nullptr, {.caption = u"Modal", .clientWidth = 200, .clientHeight = 100});
    HWND box = nullptr;
    std::vector<HWND> inFront;
    bool settingsOpened = false;
    const auto laterStart = [&] {
        Form().LaterStartClick();
        inFront.push_back(GetForegroundWindow());
        settingsOpened = settingsOpened || SettingsForm != nullptr;
    };
    wintest::ModalScript script;
    script
        .When(
            "the modal form in front", [&] { return wintest::InFront(modal); }, laterStart)
        .Then([] { fw::MessageDlg(nullptr, u"Waiting.", fw::MessageType::Information, fw::MessageButtons::Ok); })
        .When(
            "the message box shown",
            [&] { return (box = FindWindowW(L"#32770", L"Information")) != nullptr && IsWindowVisible(box); },
            [&] {
                laterStart();
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                modal.SetModalResult(fw::mrOk);
            });
    script.Start([&] { modal.SetModalResult(fw::mrCancel); });
    EXPECT_EQ(modal.ShowModal(), fw::mrOk);
    EXPECT_FALSE(settingsOpened);
    EXPECT_EQ(inFront, (std::vector<HWND>{modal.Handle(), box}));

    // With none up: the one settings window, restored and in front, also when it was minimized.
    Form().LaterStartClick();
    ASSERT_NE(SettingsForm, nullptr);
    const HWND settings = SettingsForm->Handle();
    EXPECT_TRUE(wintest::WaitFor("the settings window in front", [&] { return GetForegroundWindow() == settings; }));
    ShowWindow(settings, SW_MINIMIZE);
    Form().LaterStartClick();
    EXPECT_EQ(SettingsForm->Handle(), settings);
    EXPECT_FALSE(IsIconic(settings));
    EXPECT_TRUE(
        wintest::WaitFor("the restored settings window in front", [&] { return GetForegroundWindow() == settings; }));
}
