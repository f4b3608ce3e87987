// The link label as a real system window: what it paints, how it sizes itself, how it reacts to
// the mouse and to accelerator keys, and what it hands to the shell.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls/BControls.h"
#include "framework/Application.h"
#include "framework/DialogChar.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/WinText.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;

constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class TestForm final : public fw::Form {
public:
    explicit TestForm(fw::Application& app)
        : Form(app,
               /*owner=*/nullptr,
               {.caption = u"Label test",
                .clientWidth = 420,
                .clientHeight = 200,
                .border = fw::FormBorder::None,
                .position = fw::FormPosition::Designed}) {
        SetPosition(100, 100);
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Show();
    }
};

// Pixels of a window's client area as they are on the screen, as COLORREF values.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> data;
    COLORREF At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    int Count(COLORREF color) const { return static_cast<int>(std::count(data.begin(), data.end(), color)); }
    // The rows and columns that hold anything but the background.
    RECT InkBounds(COLORREF background) const {
        RECT ink{width, height, -1, -1};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (At(x, y) == background) continue;
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
            }
        }
        return ink;
    }
};

Pixels FromDC(HDC source, int width, int height) {
    Pixels pixels{width, height, {}};
    for (const std::uint32_t rgb : wintest::CopyFromDC(source, width, height).pixels) {
        pixels.data.push_back(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    return pixels;
}

Pixels Capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const HDC dc = GetDC(window);
    Pixels pixels = FromDC(dc, client.right, client.bottom);
    ReleaseDC(window, dc);
    return pixels;
}

HFONT TahomaFont(int height, bool bold, bool underline) {
    return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                       0, L"Tahoma");
}

// What DrawTextW makes of a text with the given flags, on its own, for comparison with the label.
Pixels Reference(int width, int height, const std::u16string& text, RECT r, UINT flags, COLORREF fg, COLORREF bg) {
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    const HFONT font = TahomaFont(11, false, false);
    const HGDIOBJ oldFont = SelectObject(memory, font);
    const HBRUSH brush = CreateSolidBrush(bg);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    SetTextColor(memory, fg);
    SetBkMode(memory, TRANSPARENT);
    DrawTextW(memory, fw::AsWide(text), static_cast<int>(text.size()), &r, flags);
    Pixels pixels = FromDC(memory, width, height);
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(brush);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

SIZE TextExtent(const std::u16string& text, HFONT font) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    RECT r{};
    DrawTextW(dc, fw::AsWide(text), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {r.right, r.bottom};
}

LPARAM Point(int x, int y) {
    return MAKELPARAM(x, y);
}

struct LabelTest : ::testing::Test {
    // One form for all: Wine takes two seconds to take a shown top-level window down without a
    // window manager.
    static inline std::unique_ptr<fw::Application> sharedApp;
    static inline std::unique_ptr<TestForm> sharedForm;
    static void SetUpTestSuite() {
        sharedApp = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        sharedForm = std::make_unique<TestForm>(*sharedApp);
    }
    static void TearDownTestSuite() {
        sharedForm.reset();
        sharedApp.reset();
    }

    fw::Application& app = *sharedApp;
    TestForm& form = *sharedForm;
    std::vector<std::u16string> shell;  // targets handed to the shell
    std::vector<std::string> events;

    LabelTest() { app.SetTitle(u"Corvalend"); }

    std::unique_ptr<TBLabel> MakeLabel(const fw::ControlInfo& info, const TLabelFont& font = {}) {
        auto label = std::make_unique<TBLabel>(form, info, font);
        label->SetShellOpen([this](const std::u16string& target) {
            shell.push_back(target);
            events.push_back("shell");
        });
        label->OnClick = [this](TBLabel&) { events.push_back("click"); };
        label->OnMouseEnter = [this](TBLabel& l) { events.push_back(l.Hovered() ? "enter(hovered)" : "enter"); };
        label->OnMouseLeave = [this](TBLabel& l) { events.push_back(l.Hovered() ? "leave(hovered)" : "leave"); };
        label->OnMouseDown = [this](TBLabel&, TMouseButton button, WPARAM, int x, int y) {
            events.push_back("down" + std::to_string(button) + "@" + std::to_string(x) + "," + std::to_string(y));
        };
        UpdateWindow(form.Handle());
        return label;
    }

    // Puts the pointer on the label, as the mouse would before the system sends it a move.
    void PointerOver(const TBLabel& label) {
        RECT r{};
        GetWindowRect(label.Handle(), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(label.Handle(), WM_MOUSEMOVE, 0, Point(2, 2));
    }
};

}  // namespace

TEST_F(LabelTest, CaptionIsTheWindowTextAndAutomaticSizingFitsIt) {
    auto label = MakeLabel({.text = u"Manage hotkeys", .bounds = {8, 20, 10, 5}},
                           {.Style = fsBold | fsUnderline, .Color = clBlue});
    wchar_t text[64] = {};
    GetWindowTextW(label->Handle(), text, 64);
    EXPECT_EQ(fw::FromWide(text), u"Manage hotkeys");  // what screen readers read
    wchar_t className[32] = {};
    GetClassNameW(label->Handle(), className, 32);
    EXPECT_EQ(lstrcmpiW(className, L"Static"), 0);
    EXPECT_NE(SendMessageW(label->Handle(), WM_GETFONT, 0, 0), 0);

    const HFONT bold = TahomaFont(11, true, true);
    const SIZE extent = TextExtent(u"Manage hotkeys", bold);
    RECT bounds = label->PixelBounds();
    EXPECT_EQ(bounds.left, 8);
    EXPECT_EQ(bounds.top, 20);
    EXPECT_EQ(bounds.right - bounds.left, extent.cx);
    EXPECT_EQ(bounds.bottom - bounds.top, extent.cy);

    // Right-justified: the label ends where its bounds do, whatever the caption; the alignment set
    // after the bounds fits it again.
    label->SetBounds({200, 40, 150, 13});  // right edge 350
    EXPECT_EQ(label->PixelBounds().left, 200);
    label->SetAlignment(taRightJustify);
    EXPECT_EQ(label->PixelBounds().right, 350);
    label->SetCaption(u"Check for updates");
    bounds = label->PixelBounds();
    EXPECT_EQ(bounds.right, 350);
    EXPECT_EQ(bounds.right - bounds.left, TextExtent(u"Check for updates", bold).cx);
    EXPECT_EQ(bounds.top, 40);

    // The caption set from outside (as UI automation may) is the caption too.
    SetWindowTextW(label->Handle(), L"Check &now");
    EXPECT_EQ(label->Caption(), u"Check &now");
    bounds = label->PixelBounds();
    EXPECT_EQ(bounds.right, 350);
    EXPECT_EQ(bounds.right - bounds.left, TextExtent(u"Check &now", bold).cx);

    // The margin stays around fitted text; without automatic sizing the bounds are as given.
    label->SetAlignment(taLeftJustify);
    label->SetMargin(4);
    bounds = label->PixelBounds();
    EXPECT_EQ(bounds.right - bounds.left, TextExtent(u"Check &now", bold).cx + 8);
    EXPECT_EQ(bounds.bottom - bounds.top, extent.cy + 8);
    label->SetAutoSize(false);
    label->SetBounds({10, 10, 30, 40});
    bounds = label->PixelBounds();
    EXPECT_EQ(bounds.right - bounds.left, 30);
    EXPECT_EQ(bounds.bottom - bounds.top, 40);
    DeleteObject(bold);

    // Right-justified with automatic sizing: drawn from the left margin, filling the label.
    auto right = MakeLabel({.text = u"Check for updates", .bounds = {300, 100, 65, 13}}, {.Color = clBlue});
    right->SetAlignment(taRightJustify);
    right->SetAlignVert(vaBottom);
    right->SetColor(clRed);
    UpdateWindow(right->Handle());
    const RECT ink = Capture(right->Handle()).InkBounds(kRed);
    EXPECT_LE(ink.left, 1);
    EXPECT_LE(ink.top, 2);
}

TEST_F(LabelTest, PaintsBackgroundMarginAndHoverColours) {
    auto label = MakeLabel({.text = u"Visit on the web", .bounds = {10, 10, 65, 13}}, {.Color = clBlue});
    label->SetAutoSize(false);
    label->SetBounds({10, 10, 200, 30});
    label->SetColor(kYellow);
    label->SetMargin(4);
    UpdateWindow(label->Handle());

    Pixels normal = Capture(label->Handle());
    ASSERT_EQ(normal.width, 200);
    ASSERT_EQ(normal.height, 30);
    const RECT ink = normal.InkBounds(kYellow);
    EXPECT_GE(ink.left, 4);  // text inset by the margin, background everywhere else
    EXPECT_GE(ink.top, 4);
    EXPECT_LE(ink.right, 196);
    EXPECT_LE(ink.bottom, 26);
    EXPECT_GT(normal.Count(kBlue), 10);
    EXPECT_EQ(normal.Count(kRed), 0);
    EXPECT_EQ(normal.At(0, 0), kYellow);
    EXPECT_EQ(normal.At(199, 29), kYellow);

    // Entering: the handler first (not yet hovered), then red text at once, background unchanged.
    PointerOver(*label);
    EXPECT_TRUE(label->Hovered());
    Pixels hovered = Capture(label->Handle());  // nothing pumped: painted at once
    EXPECT_GT(hovered.Count(kRed), 10);
    EXPECT_EQ(hovered.Count(kBlue), 0);
    EXPECT_EQ(hovered.At(0, 0), kYellow);
    EXPECT_EQ(hovered.At(199, 29), kYellow);
    // Default hover style is underline only: an underline row appears under the text.
    const RECT hoverInk = hovered.InkBounds(kYellow);
    EXPECT_GE(hoverInk.bottom, ink.bottom);

    // Moving on the label does not enter again.
    SendMessageW(label->Handle(), WM_MOUSEMOVE, 0, Point(5, 5));
    EXPECT_EQ(events, (std::vector<std::string>{"enter"}));

    // The real pointer leaving: the system's leave notification.
    SetCursorPos(5, 700);
    EXPECT_TRUE(wintest::WaitFor("the label told that the pointer left", [&] { return !label->Hovered(); }));
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave(hovered)"}));
    EXPECT_GT(Capture(label->Handle()).Count(kBlue), 10);

    // With the hover background.
    label->SetUseHoverBGColor(true);
    label->SetHoverBGColor(kGreen);
    PointerOver(*label);
    hovered = Capture(label->Handle());
    EXPECT_EQ(hovered.At(0, 0), kGreen);
    EXPECT_EQ(hovered.At(199, 29), kGreen);
    EXPECT_GT(hovered.Count(kRed), 10);
    SendMessageW(label->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(label->Hovered());
    EXPECT_EQ(Capture(label->Handle()).At(0, 0), kYellow);

    // Hover off: entering and leaving change nothing, but the handlers still run.
    events.clear();
    label->SetHover(false);
    PointerOver(*label);
    EXPECT_FALSE(label->Hovered());
    EXPECT_EQ(Capture(label->Handle()).data, normal.data);
    SendMessageW(label->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));

    // Hover switched off while hovered: normal drawing returns only when the pointer leaves.
    label->SetHover(true);
    PointerOver(*label);
    label->SetHover(false);
    EXPECT_TRUE(label->Hovered());
    SendMessageW(label->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(label->Hovered());
    EXPECT_EQ(Capture(label->Handle()).data, normal.data);
}

TEST_F(LabelTest, FitsTextWithEllipsisAndAlignsItOnlyWithoutAutoSize) {
    const std::u16string caption = u"A caption far too long for this narrow label";
    auto label = MakeLabel({.text = caption, .bounds = {10, 10, 65, 13}}, {.Color = clBlack});
    label->SetColor(kWhite);
    label->SetAutoSize(false);
    label->SetBounds({10, 10, 90, 40});
    UpdateWindow(label->Handle());

    const RECT all{0, 0, 90, 40};
    const Pixels shown = Capture(label->Handle());
    EXPECT_EQ(shown.data, Reference(90, 40, caption, all, DT_SINGLELINE | DT_END_ELLIPSIS, kBlack, kWhite).data);
    EXPECT_NE(shown.data, Reference(90, 40, caption, all, DT_SINGLELINE, kBlack, kWhite).data);

    // A path keeps its start and its file name.
    const std::u16string path = u"C:\\Program Files\\Tamberlo\\Corvalend\\hotkeys.ini";
    label->SetCaption(path);
    label->SetFitType(ftFilename);
    EXPECT_EQ(Capture(label->Handle()).data,  // painted at once
              Reference(90, 40, path, all, DT_SINGLELINE | DT_PATH_ELLIPSIS, kBlack, kWhite).data);
    {
        std::wstring shortened(fw::AsWide(path));
        shortened.resize(shortened.size() + 8);
        const HDC dc = CreateCompatibleDC(nullptr);
        const HFONT font = TahomaFont(11, false, false);
        const HGDIOBJ old = SelectObject(dc, font);
        RECT r = all;
        DrawTextW(dc, shortened.data(), -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
        const std::wstring text = shortened.c_str();
        EXPECT_EQ(text.rfind(L"C:", 0), 0u) << fw::Utf16ToUtf8(fw::FromWide(text.c_str()));
        EXPECT_NE(text.find(L"..."), std::wstring::npos);
        EXPECT_EQ(text.substr(text.size() - 12), L"\\hotkeys.ini");
    }

    // Vertical alignment at the bottom, painted at once; with FitInRect off, back at the top.
    label->SetCaption(u"Short");
    label->SetFitType(ftNormal);
    UpdateWindow(label->Handle());
    const RECT top = Capture(label->Handle()).InkBounds(kWhite);
    EXPECT_LT(top.top, 4);
    label->SetAlignVert(vaBottom);
    const RECT bottom = Capture(label->Handle()).InkBounds(kWhite);
    EXPECT_GT(bottom.top, 20);
    EXPECT_GE(bottom.bottom, 36);
    label->SetMargin(5);  // the margin lifts it
    EXPECT_EQ(Capture(label->Handle()).InkBounds(kWhite).bottom, bottom.bottom - 5);
    label->SetMargin(0);
    label->SetFitInRect(false);
    EXPECT_EQ(Capture(label->Handle()).InkBounds(kWhite).top, top.top);

    // Right and centre only when fitted.
    label->SetFitInRect(true);
    label->SetAlignVert(vaTop);
    label->SetAlignment(taRightJustify);
    UpdateWindow(label->Handle());
    const RECT right = Capture(label->Handle()).InkBounds(kWhite);
    EXPECT_GT(right.left, 50);
    EXPECT_GE(right.right, 86);
    label->SetAlignment(taCenter);
    UpdateWindow(label->Handle());
    const RECT centre = Capture(label->Handle()).InkBounds(kWhite);
    EXPECT_NEAR((centre.left + centre.right) / 2, 45, 2);
}

TEST_F(LabelTest, LeftPressOpensTargetAndReleaseClicks) {
    auto label = MakeLabel({.text = u"Visit on the web", .bounds = {10, 10, 65, 13}});
    label->SetExecute(u"http://www.example.invalid/");
    label->SetExecuteFile(true);

    SendMessageW(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 4));
    EXPECT_EQ(GetCapture(), label->Handle());
    EXPECT_EQ(events, (std::vector<std::string>{"down0@3,4", "shell"}));  // the handler first; no click yet
    SendMessageW(label->Handle(), WM_LBUTTONUP, 0, Point(3, 4));
    EXPECT_EQ(events, (std::vector<std::string>{"down0@3,4", "shell", "click"}));
    EXPECT_EQ(shell, (std::vector<std::u16string>{u"http://www.example.invalid/"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // Released away from the label: the target was opened, but there is no click.
    events.clear();
    SendMessageW(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 4));
    SendMessageW(label->Handle(), WM_LBUTTONUP, 0, Point(-20, 4));
    EXPECT_EQ(events, (std::vector<std::string>{"down0@3,4", "shell"}));

    // A release without a press on the label is no click either.
    events.clear();
    SendMessageW(label->Handle(), WM_LBUTTONUP, 0, Point(3, 4));
    EXPECT_TRUE(events.empty());

    // The right button: the handler, nothing for the shell, no click.
    SendMessageW(label->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, Point(1, 1));
    SendMessageW(label->Handle(), WM_RBUTTONUP, 0, Point(1, 1));
    EXPECT_EQ(events, (std::vector<std::string>{"down1@1,1"}));

    // ExecuteFile off, or no target: only the click.
    events.clear();
    label->SetExecuteFile(false);
    SendMessageW(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
    SendMessageW(label->Handle(), WM_LBUTTONUP, 0, Point(1, 1));
    label->SetExecuteFile(true);
    label->SetExecute(u"");
    SendMessageW(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(2, 2));
    SendMessageW(label->Handle(), WM_LBUTTONUP, 0, Point(2, 2));
    EXPECT_EQ(events, (std::vector<std::string>{"down0@1,1", "click", "down0@2,2", "click"}));
    EXPECT_EQ(shell.size(), 2u);

    // A failing handler is reported by the application, and the label goes on working.
    label->OnClick = [](TBLabel&) { throw fw::Error(u"Link broken"); };
    wintest::MessageBoxWatcher box(u"Corvalend");
    SendMessageW(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
    SendMessageW(label->Handle(), WM_LBUTTONUP, 0, Point(1, 1));
    EXPECT_TRUE(box.Wait(10s));
    EXPECT_EQ(box.Text(), u"Link broken.");
    EXPECT_TRUE(IsWindow(label->Handle()));
}

TEST_F(LabelTest, ShellRunsTheTargetForReal) {
    wintest::ScratchFolder folder;
    const std::u16string marker = folder.File(u"opened.txt");
    const std::u16string script = folder.File(u"link.cmd");
    const std::string body = "@echo opened> \"" + fw::Utf16ToUtf8(marker) + "\"\r\n";
    const HANDLE file = CreateFileW(fw::AsWide(script), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, body.data(), static_cast<DWORD>(body.size()), &written, nullptr);
    CloseHandle(file);

    TBLabel label(form, {.text = u"Run it", .bounds = {0, 0, 65, 13}});  // the system's shell, no recorder
    label.SetExecute(script);
    label.SetExecuteFile(true);
    SendMessageW(label.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(1, 1));
    SendMessageW(label.Handle(), WM_LBUTTONUP, 0, Point(1, 1));
    EXPECT_TRUE(wintest::WaitFor("the file the script writes",
                                 [&] { return GetFileAttributesW(fw::AsWide(marker)) != INVALID_FILE_ATTRIBUTES; }));
    // The script may still hold its files for a moment: the scratch folder goes only once it lets
    // them go.
    const auto gone = [](const std::u16string& file) {
        return DeleteFileW(fw::AsWide(file)) || GetLastError() == ERROR_FILE_NOT_FOUND;
    };
    EXPECT_TRUE(wintest::WaitFor("the script done with its files", [&] { return gone(marker) && gone(script); }));
}

TEST_F(LabelTest, AcceleratorFiresClick) {
    auto label = MakeLabel({.text = u"&Manage hotkeys", .bounds = {10, 10, 65, 13}});
    EXPECT_TRUE(label->DialogChar(u'm'));
    EXPECT_FALSE(label->DialogChar(u'a'));
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));

    auto other = MakeLabel({.text = u"Tom && &Jerry", .bounds = {10, 40, 65, 13}});
    auto literal = MakeLabel({.text = u"Tom && Jerry", .bounds = {10, 70, 65, 13}});
    events.clear();
    EXPECT_TRUE(fw::OfferDialogChar(form.Handle(), MSG{form.Handle(), WM_SYSCHAR, 'J', 0, 0, {}}));
    EXPECT_FALSE(fw::OfferDialogChar(form.Handle(), MSG{form.Handle(), WM_SYSCHAR, '&', 0, 0, {}}));
    EXPECT_FALSE(fw::OfferDialogChar(form.Handle(), MSG{form.Handle(), WM_CHAR, 'M', 0, 0, {}}));
    // Aimed at a window outside the form.
    EXPECT_FALSE(fw::OfferDialogChar(form.Handle(), MSG{app.Handle(), WM_SYSCHAR, 'M', 0, 0, {}}));
    // A hidden label is not offered the key.
    ShowWindow(label->Handle(), SW_HIDE);
    EXPECT_FALSE(fw::OfferDialogChar(form.Handle(), MSG{label->Handle(), WM_SYSCHAR, 'M', 0, 0, {}}));
    ShowWindow(label->Handle(), SW_SHOW);
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));

    // Alt+M typed on the keyboard, through the application's loop and a hook as a form sets it up.
    events.clear();
    fw::Subscription hook = app.AddMessageHook([this](MSG& m) { return fw::OfferDialogChar(form.Handle(), m); });
    // Keys go to the foreground window. Wine hands the X focus over asynchronously, and a late focus
    // event of an earlier window can take the foreground away again, also while the keys wait in the
    // queue: pressed again when the form lost the foreground before the keys were handled.
    bool kept = false;
    for (int attempt = 0; attempt < 5 && !kept; ++attempt) {
        SetForegroundWindow(form.Handle());
        SetFocus(form.Handle());
        ASSERT_TRUE(wintest::WaitFor("the form in front with the focus", [this] {
            return GetForegroundWindow() == form.Handle() && GetFocus() == form.Handle();
        }));
        wintest::PressCombination(MOD_ALT, 'M');
        app.ProcessMessages();  // the keys wait in this thread's queue: handled through the loop and its hook
        kept = !events.empty() || GetForegroundWindow() == form.Handle();
    }
    hook = {};
    EXPECT_EQ(events, (std::vector<std::string>{"click"}));
}
