// The capture window driven by mouse and key messages, as the system posts them: drawing and moving
// a selection and its shade, cropping, copying and saving through the real save dialog, and the
// errors the user is shown.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>

#include "capture/CaptureSaveRules.h"
#include "capture/SaveCaptureU.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/BmpWriter.h"
#include "framework/Error.h"
#include "framework/FileStore.h"
#include "framework/PictureOps.h"
#include "framework/Registry.h"
#include "framework/SystemError.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "tests/support/JpegDecode.h"
#include "tests/support/Pictures.h"
#include "tests/support/SaveDialogDriver.h"
#include "tests/support/WinTest.h"
#include "tests/win/GraphicHostWindow.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;
using wintest::Point;

// Every pixel its own colour, none of them the selection's grey or pure black.
fw::Picture Varied(int width, int height) {
    fw::Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>((x * 7) & 0xFF) << 16 |
                               static_cast<std::uint32_t>((y * 5) & 0xFF) << 8 | 0x80u;
    return picture;
}

class SaveCaptureWin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        app_->SetTitle(u"Corvalend");
        windows_ = std::make_unique<CaptureWindows>();
    }
    static void TearDownTestSuite() {
        windows_.reset();
        app_.reset();
    }
    void TearDown() override {
        ReleaseCapture();
        wintest::PumpPending();
    }

    // A capture window as the capture action makes it, but never shown: Wine closes hidden windows
    // at once. Each test takes a new one; the ones that close free themselves.
    static TSaveCapture& NewWindow(const fw::Picture& picture) {
        TSaveCapture& window = windows_->Add(*app_);
        window.CaptureImage().SetPicture(picture);
        return window;
    }

    // A mouse message as the system posts it to the view, handled before this returns.
    static void Mouse(TSaveCapture& window, UINT message, WPARAM keys, int x, int y) {
        PostMessageW(window.CaptureImage().Handle(), message, keys, Point(x, y));
        wintest::PumpPending();
    }
    static void Drag(TSaveCapture& window, POINT from, POINT to, WPARAM keys = MK_LBUTTON) {
        Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, from.x, from.y);
        Mouse(window, WM_MOUSEMOVE, keys, (from.x + to.x) / 2, (from.y + to.y) / 2);
        Mouse(window, WM_MOUSEMOVE, keys, to.x, to.y);
        Mouse(window, WM_LBUTTONUP, 0, to.x, to.y);
    }
    // Press and release on the same spot.
    static void Click(TSaveCapture& window, int x, int y) {
        Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Mouse(window, WM_LBUTTONUP, 0, x, y);
    }

    // A key pressed with Ctrl and Shift held as given, as the system posts it to the control with the
    // focus, through the application's loop with the window's keys and dialog keys.
    static void Key(TSaveCapture& window, UINT key, bool ctrl = false, bool shift = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        const HWND focus = GetFocus();
        PostMessageW(focus != nullptr && IsChild(window.Handle(), focus) ? focus : window.Handle(), WM_KEYDOWN, key, 1);
        app_->ProcessMessages();
        state[VK_CONTROL] = state[VK_SHIFT] = 0;
        SetKeyboardState(state);
    }

    // The view as it paints itself (picture, shade, selection), pixels as 0x00RRGGBB.
    static fw::Picture Render(TSaveCapture& window) { return wintest::PrintClient(window.CaptureImage().Handle()); }

    static bool Open(TSaveCapture* window) {
        for (size_t i = 0; i < windows_->Count(); ++i)
            if (&(*windows_)[i] == window) return true;
        return false;
    }

    inline static std::unique_ptr<fw::Application> app_;
    inline static std::unique_ptr<CaptureWindows> windows_;
};

}  // namespace

TEST_F(SaveCaptureWin, LayoutAsDesignedAndNoSelectionAtFirst) {
    TSaveCapture& window = NewWindow(Varied(40, 30));
    RECT client{};
    GetClientRect(window.Handle(), &client);
    const UINT dpi = GetDpiForWindow(window.Handle());
    auto scaled = [&](int v) { return MulDiv(v, static_cast<int>(dpi), 96); };
    EXPECT_EQ(client.right, scaled(754));
    EXPECT_EQ(client.bottom, scaled(415));
    wchar_t caption[64] = {};
    GetWindowTextW(window.Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Save Capture");
    auto placed = [&](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto text = [](HWND control) {
        wchar_t t[64] = {};
        GetWindowTextW(control, t, 64);
        return std::wstring(t);
    };
    EXPECT_EQ(text(window.Button1.Handle()), L"&Save to file...");
    EXPECT_EQ(text(window.Button2.Handle()), L"C&opy to clipboard");
    EXPECT_EQ(text(window.btnCrop.Handle()), L"&Crop to selection");
    EXPECT_EQ(placed(window.Button1.Handle()).left, scaled(11));
    EXPECT_EQ(placed(window.Button1.Handle()).top, scaled(8));
    EXPECT_EQ(placed(window.Button2.Handle()).left, scaled(122));
    EXPECT_EQ(placed(window.btnCrop.Handle()).left, scaled(640));
    EXPECT_EQ(placed(window.btnCrop.Handle()).right - placed(window.btnCrop.Handle()).left, scaled(105));
    EXPECT_EQ(placed(window.btnCrop.Handle()).bottom - placed(window.btnCrop.Handle()).top, scaled(25));
    EXPECT_EQ(placed(window.ScrollBox1().Handle()).top, scaled(41));

    // "Crop to selection" keeps its distance to the right edge.
    SetWindowPos(window.Handle(), nullptr, 0, 0, 1000, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(placed(window.btnCrop.Handle()).right, client.right - scaled(9));
    EXPECT_EQ(placed(window.Button1.Handle()).left, scaled(11));

    EXPECT_FALSE(window.SelectedArea().Visible());
    EXPECT_FALSE(window.CaptureImage().HasOverlay());
    EXPECT_EQ(window.SelectedArea().BoxSize(), 6);
    EXPECT_EQ(window.SelectedArea().NormalPen().Style(), PS_DOT);
    EXPECT_EQ(window.SelectedArea().NormalPen().Color(), 0x333333u);
    EXPECT_EQ(window.SelectedArea().NormalBrush().Style(), static_cast<UINT>(BS_NULL));
    RECT view{};
    GetClientRect(window.CaptureImage().Handle(), &view);
    EXPECT_EQ(view.right, 40);
    EXPECT_EQ(view.bottom, 30);
    window.Close();
}

TEST_F(SaveCaptureWin, SeveralWindowsShareNothingAndGoWithTheirOwner) {
    HWND first = nullptr, second = nullptr;
    {
        CaptureWindows owner;
        TSaveCapture& a = owner.Add(*app_);
        TSaveCapture& b = owner.Add(*app_);
        a.CaptureImage().SetPicture(Varied(60, 50));
        b.CaptureImage().SetPicture(Varied(80, 70));
        first = a.Handle();
        second = b.Handle();
        Drag(a, {10, 10}, {40, 30});
        EXPECT_TRUE(a.SelectedArea().Visible());
        EXPECT_FALSE(b.SelectedArea().Visible());
        EXPECT_FALSE(b.CaptureImage().HasOverlay());
        a.Close();
        EXPECT_EQ(owner.Count(), 2u);
        wintest::PumpPending();
        ASSERT_EQ(owner.Count(), 1u);
        EXPECT_FALSE(IsWindow(first));
        EXPECT_EQ(&owner[0], &b);
    }
    EXPECT_FALSE(IsWindow(second)) << "a window still open goes with its owner";
}

TEST_F(SaveCaptureWin, DrawingUpAndLeftGivesANormalisedSelectionAndItsShade) {
    TSaveCapture& window = NewWindow(Varied(400, 300));
    const fw::Picture& picture = window.CaptureImage().GetPicture();
    Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, 200, 150);
    Mouse(window, WM_MOUSEMOVE, MK_LBUTTON, 120, 100);
    // While drawn up and left, its frame shows where the selection will be.
    fw::Picture shown = Render(window);
    int grey = 0;
    for (int x = 120; x < 200; ++x) grey += shown.At(x, 100) == 0x333333u ? 1 : 0;
    EXPECT_GT(grey, 20) << "the dotted frame of a selection drawn up and left";
    EXPECT_EQ(shown.At(160, 125), picture.At(160, 125) & 0xFFFFFFu) << "the inside shows the picture";

    Mouse(window, WM_MOUSEMOVE, MK_LBUTTON, 50, 40);
    Mouse(window, WM_LBUTTONUP, 0, 50, 40);
    TSizeRect& area = window.SelectedArea();
    EXPECT_TRUE(area.Visible());
    EXPECT_EQ(area.BoundsRect(), (fw::Rect{50, 40, 200, 150}));
    EXPECT_EQ(GetCapture(), nullptr);

    ASSERT_TRUE(window.CaptureImage().HasOverlay());
    const fw::Picture& shade = *window.CaptureImage().Overlay();
    ASSERT_EQ(shade.width, 400);
    ASSERT_EQ(shade.height, 300);
    for (const auto& [x, y] : {std::pair{0, 0}, {49, 40}, {200, 149}, {120, 150}, {399, 299}})
        EXPECT_EQ(shade.At(x, y), 0x96000000u) << x << "," << y;
    for (const auto& [x, y] : {std::pair{50, 40}, {199, 149}, {120, 100}})
        EXPECT_EQ(shade.At(x, y), 0x00000000u) << x << "," << y;

    // Painted: darkened outside, the picture itself inside (away from the frame and its boxes).
    shown = Render(window);
    EXPECT_EQ(shown.At(120, 30), fw::BlendPixel(picture.At(120, 30), 0x96000000u) & 0xFFFFFFu);
    EXPECT_EQ(shown.At(120, 100), picture.At(120, 100) & 0xFFFFFFu);

    // A plain click hides the selection and takes the shade away.
    Click(window, 300, 250);
    EXPECT_FALSE(area.Visible());
    EXPECT_FALSE(window.btnCrop.Enabled()) << "nothing to crop";
    EXPECT_EQ(window.CaptureImage().Overlay()->pixels, std::vector<std::uint32_t>(400 * 300, 0u));
    shown = Render(window);
    EXPECT_EQ(shown.At(120, 30), picture.At(120, 30) & 0xFFFFFFu);
    // Cropping then keeps the whole picture.
    SendMessageW(window.btnCrop.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, Varied(400, 300).pixels);
    window.Close();
}

TEST_F(SaveCaptureWin, OnlyTheLeftButtonAloneStretchesTheSelection) {
    TSaveCapture& window = NewWindow(Varied(200, 150));
    Drag(window, {10, 10}, {100, 90}, MK_LBUTTON | MK_SHIFT);
    EXPECT_FALSE(window.SelectedArea().Visible());
    Drag(window, {10, 10}, {100, 90}, MK_LBUTTON | MK_CONTROL);
    EXPECT_FALSE(window.SelectedArea().Visible());
    Mouse(window, WM_RBUTTONDOWN, MK_RBUTTON, 10, 10);
    Mouse(window, WM_MOUSEMOVE, MK_RBUTTON, 100, 90);
    Mouse(window, WM_RBUTTONUP, 0, 100, 90);
    EXPECT_FALSE(window.SelectedArea().Visible());
    EXPECT_EQ(GetCapture(), nullptr);
    Drag(window, {10, 10}, {100, 90});
    EXPECT_EQ(window.SelectedArea().BoundsRect(), (fw::Rect{10, 10, 100, 90}));
    window.Close();
}

TEST_F(SaveCaptureWin, TwoReleasesOnTheSelectionWithin250msCropAndTheViewShrinks) {
    TSaveCapture& window = NewWindow(Varied(1200, 900));  // larger than the scroll box
    std::uint32_t now = 100000;
    window.TickCount = [&] { return now; };
    Drag(window, {300, 200}, {450, 310});
    ASSERT_EQ(window.SelectedArea().BoundsRect(), (fw::Rect{300, 200, 450, 310}));
    SCROLLINFO range{
        .cbSize = sizeof(range), .fMask = SIF_RANGE, .nMin = 0, .nMax = 0, .nPage = 0, .nPos = 0, .nTrackPos = 0};
    GetScrollInfo(window.ScrollBox1().Handle(), SB_HORZ, &range);
    EXPECT_EQ(range.nMax, 1199);

    // A press on the selection takes the shade away; its release brings it back.
    Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, 375, 255);
    EXPECT_FALSE(window.CaptureImage().HasOverlay());
    Mouse(window, WM_LBUTTONUP, 0, 375, 255);
    EXPECT_TRUE(window.CaptureImage().HasOverlay());
    EXPECT_EQ(window.SelectedAreaLastDown, 100000u);

    now += 300;  // too slow: no crop
    Click(window, 375, 255);
    EXPECT_EQ(window.CaptureImage().GetPicture().width, 1200);
    EXPECT_EQ(window.SelectedAreaLastDown, 100300u);

    now += 200;  // quick: crop
    Click(window, 375, 255);
    const fw::Picture& cropped = window.CaptureImage().GetPicture();
    EXPECT_EQ(cropped.pixels, fw::CopyRect(Varied(1200, 900), {300, 200, 450, 310}).pixels);
    EXPECT_EQ(cropped.width, 150);
    EXPECT_FALSE(window.SelectedArea().Visible());
    EXPECT_FALSE(window.CaptureImage().HasOverlay());
    EXPECT_EQ(window.SelectedAreaLastDown, 100300u) << "a crop keeps the stored time";
    RECT view{};
    GetWindowRect(window.CaptureImage().Handle(), &view);
    EXPECT_EQ(view.right - view.left, 150);
    EXPECT_EQ(view.bottom - view.top, 110);
    GetScrollInfo(window.ScrollBox1().Handle(), SB_HORZ, &range);
    EXPECT_EQ(range.nMax, 149);
    GetScrollInfo(window.ScrollBox1().Handle(), SB_VERT, &range);
    EXPECT_EQ(range.nMax, 109);
    window.Close();
}

TEST_F(SaveCaptureWin, SelectionPastTheRightEdgeClipsForShadeCropAndCopy) {
    TSaveCapture& window = NewWindow(Varied(400, 300));
    Drag(window, {300, 50}, {450, 120});
    EXPECT_EQ(window.SelectedArea().BoundsRect(), (fw::Rect{300, 50, 450, 120}));
    EXPECT_EQ(window.GetSelectionRect(), (fw::Rect{300, 50, 400, 120}));
    const fw::Picture& shade = *window.CaptureImage().Overlay();
    EXPECT_EQ(shade.At(399, 60), 0u);
    EXPECT_EQ(shade.At(299, 60), 0x96000000u);
    SendMessageW(window.btnCrop.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(window.CaptureImage().GetPicture().width, 100);
    EXPECT_EQ(window.CaptureImage().GetPicture().height, 70);

    // Copy: a new selection of the cropped picture goes to the clipboard and the window closes.
    Drag(window, {20, 10}, {60, 50});
    TSaveCapture* copied = &window;
    SendMessageW(window.Button2.Handle(), BM_CLICK, 0, 0);
    const fw::Picture placed = wintest::ClipboardPicture();
    EXPECT_EQ(placed.pixels,
              fw::CopyRect(fw::CopyRect(Varied(400, 300), {300, 50, 400, 120}), {20, 10, 60, 50}).pixels);
    EXPECT_EQ(placed.width, 40);
    EXPECT_TRUE(Open(copied)) << "freed once the click is done, not within it";
    wintest::PumpPending();
    EXPECT_FALSE(Open(copied));
    EXPECT_EQ(wintest::ClipboardPicture().pixels, placed.pixels) << "the bitmap outlives the window that placed it";
}

TEST_F(SaveCaptureWin, OddSelectionsAndTinyPicturesNeverFail) {
    TSaveCapture& window = NewWindow(Varied(1, 1));
    Drag(window, {0, 0}, {0, 0});  // a selection without size
    EXPECT_EQ(window.GetSelectionRect(), (fw::Rect{0, 0, 1, 1}));
    Drag(window, {0, 0}, {-50, 30});
    EXPECT_EQ(window.GetSelectionRect(), (fw::Rect{0, 0, 1, 1}));
    Render(window);
    SendMessageW(window.btnCrop.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, Varied(1, 1).pixels);

    window.CaptureImage().SetPicture(Varied(300, 200));
    Drag(window, {100, 100}, {150, 140});
    // Dragged by its middle far off the picture: cropping, the shade and painting cope.
    Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON, 125, 120);
    Mouse(window, WM_MOUSEMOVE, MK_LBUTTON, -30000, -30000);
    Mouse(window, WM_LBUTTONUP, 0, -30000, -30000);
    EXPECT_LT(window.SelectedArea().Left(), -20000);
    EXPECT_EQ(window.GetSelectionRect(), (fw::Rect{0, 0, 300, 200}));
    EXPECT_EQ(window.CaptureImage().Overlay()->pixels, std::vector<std::uint32_t>(300 * 200, 0u));
    Render(window);
    SendMessageW(window.btnCrop.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(window.CaptureImage().GetPicture().width, 300);
    window.Close();
}

TEST_F(SaveCaptureWin, SavesJpegOrBitmapByTheChosenName) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    const fw::Picture picture = Varied(120, 90);
    struct Case {
        std::u16string typed;
        std::u16string written;
        bool jpeg;
        std::u16string offeredExt;  // of the type of the last save
    };
    const std::u16string key = u"Software\\Tamberlo\\CorvalendCaptureTests\\";
    fw::RegistryIni(key).DeleteValue(kCaptureTypeValue);
    fw::RegistryIni(key).WriteString(kCaptureFolderValue, folder.Path());
    windows_->SettingsKey = key;  // each dialog starts in the folder and with the type of the last save
    for (const Case& c :
         {Case{u"Shot.JPEG", u"Shot.JPEG", true, u".jpg"}, Case{u"plain", u"plain.jpg", true, u".jpg"},
          Case{u"shot.gif", u"shot.gif", false, u".jpg"}, Case{u"again", u"again.bmp", false, u".bmp"}}) {
        TSaveCapture& window = NewWindow(picture);
        Drag(window, {10, 20}, {70, 60});
        TSaveCapture* saved = &window;
        std::atomic<bool> driven{false};
        std::u16string offered;
        wchar_t shownFolder[MAX_PATH] = {};
        std::thread user([&] {
            const HWND dialog = wintest::WaitForSaveDialog(GetCurrentProcessId(), u"Save screenshot", 10s);
            if (dialog == nullptr) return;
            offered = wintest::SaveDialogFileName(dialog);
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(shownFolder));
            wintest::SetSaveDialogFileName(dialog, folder.File(c.typed));
            wintest::PressSaveDialogButton(dialog, IDOK);
            driven = true;
        });
        SendMessageW(window.Button1.Handle(), BM_CLICK, 0, 0);
        user.join();
        ASSERT_TRUE(driven) << "no save dialog";
        EXPECT_EQ(offered.rfind(u"Capture ", 0), 0u) << fw::Utf16ToUtf8(offered);
        EXPECT_EQ(offered.substr(offered.size() - 4), c.offeredExt);
        EXPECT_EQ(fw::FromWide(shownFolder), folder.Path());
        const std::optional<std::string> bytes = files.Read(folder.File(c.written));
        ASSERT_TRUE(bytes.has_value()) << fw::Utf16ToUtf8(c.written);
        const fw::Picture expected = fw::CopyRect(picture, {10, 20, 70, 60});
        if (c.jpeg) {
            const DecodedJpeg decoded = DecodeJpeg(*bytes);
            EXPECT_EQ(decoded.picture.width, 60);
            EXPECT_EQ(decoded.picture.height, 40);
            EXPECT_FALSE(decoded.progressive);
            EXPECT_LT(wintest::MeanChannelError(decoded.picture, DecodeJpeg(ReferenceJpeg(expected)).picture), 1.0);
        } else {
            EXPECT_EQ(*bytes, fw::EncodeBmp(expected));
        }
        wintest::PumpPending();
        EXPECT_FALSE(Open(saved)) << "a saved capture closes";
    }
    windows_->SettingsKey.clear();
}

TEST_F(SaveCaptureWin, TypeChangeSwapsTheExtensionAndTheDefaultOne) {
    wintest::ScratchFolder folder;
    TSaveCapture& window = NewWindow(Varied(30, 20));
    std::u16string afterBitmap, afterJpeg;
    std::thread user([&] {
        const HWND dialog = wintest::WaitForSaveDialog(GetCurrentProcessId(), u"Save screenshot", 10s);
        if (dialog == nullptr) return;
        wintest::SetSaveDialogFileName(dialog, u"shot.jpg");
        wintest::SelectSaveDialogType(dialog, 3);
        afterBitmap = wintest::SaveDialogFileName(dialog);
        wintest::SelectSaveDialogType(dialog, 1);
        afterJpeg = wintest::SaveDialogFileName(dialog);
        // With Bitmap chosen, a name without extension gets ".bmp".
        wintest::SelectSaveDialogType(dialog, 3);
        wintest::SetSaveDialogFileName(dialog, folder.File(u"typed"));
        wintest::PressSaveDialogButton(dialog, IDOK);
    });
    SendMessageW(window.Button1.Handle(), BM_CLICK, 0, 0);
    user.join();
    EXPECT_EQ(afterBitmap, u"shot.bmp");
    EXPECT_EQ(afterJpeg, u"shot.jpg");
    const std::optional<std::string> bytes = fw::Win32FileStore().Read(folder.File(u"typed.bmp"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->substr(0, 2), "BM");
    wintest::PumpPending();
}

TEST_F(SaveCaptureWin, FailedSaveAndHeldClipboardAreShownAndTheWindowStays) {
    wintest::ScratchFolder folder;
    TSaveCapture& window = NewWindow(Varied(50, 40));
    const std::u16string target = folder.File(u"missing\\shot.jpg");
    {
        wintest::MessageBoxWatcher box(u"Corvalend");
        std::thread user([&] {
            const HWND dialog = wintest::WaitForSaveDialog(GetCurrentProcessId(), u"Save screenshot", 10s);
            if (dialog == nullptr) return;
            wintest::SetSaveDialogFileName(dialog, target);
            wintest::PressSaveDialogButton(dialog, IDOK);
        });
        SendMessageW(window.Button1.Handle(), BM_CLICK, 0, 0);
        user.join();
        ASSERT_TRUE(box.Wait(10s));
        EXPECT_TRUE(box.HasStopIcon());
        const std::u16string prefix = u"Cannot create file \"" + target + u"\". ";
        EXPECT_EQ(box.Text().substr(0, prefix.size()), prefix) << fw::Utf16ToUtf8(box.Text());
    }
    wintest::PumpPending();
    ASSERT_TRUE(Open(&window));
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, Varied(50, 40).pixels);

    // Cancelling the dialog changes nothing.
    std::thread canceller([&] {
        if (const HWND dialog = wintest::WaitForSaveDialog(GetCurrentProcessId(), u"Save screenshot", 10s))
            wintest::PressSaveDialogButton(dialog, IDCANCEL);
    });
    SendMessageW(window.Button1.Handle(), BM_CLICK, 0, 0);
    canceller.join();
    wintest::PumpPending();
    ASSERT_TRUE(Open(&window));

    {
        const wintest::HeldClipboard held;
        ASSERT_TRUE(held.Held());
        wintest::MessageBoxWatcher box(u"Corvalend");
        SendMessageW(window.Button2.Handle(), BM_CLICK, 0, 0);
        ASSERT_TRUE(box.Wait(10s));
        EXPECT_EQ(box.Text(),
                  fw::ErrorDisplayText(u"Cannot open clipboard: " + fw::SystemErrorText(ERROR_ACCESS_DENIED)));
    }
    wintest::PumpPending();
    EXPECT_TRUE(Open(&window));
    window.Close();
}

TEST_F(SaveCaptureWin, KeysScrollTheViewOrMoveAndSizeTheSelectionAndTabBetweenTheButtons) {
    TSaveCapture& window = NewWindow(Varied(1000, 800));
    window.Show();
    SetFocus(window.btnCrop.Handle());
    const HWND box = window.ScrollBox1().Handle();
    // Without a selection the arrows scroll the view.
    Key(window, VK_RIGHT);
    Key(window, VK_DOWN);
    EXPECT_GT(GetScrollPos(box, SB_HORZ), 0);
    EXPECT_GT(GetScrollPos(box, SB_VERT), 0);
    Key(window, VK_LEFT);
    Key(window, VK_UP);
    EXPECT_EQ(GetScrollPos(box, SB_HORZ), 0);
    EXPECT_EQ(GetScrollPos(box, SB_VERT), 0);

    // With one they move it (ten pixels with Shift) and Ctrl sizes it from its right and bottom edges;
    // the shade follows, the view stays and so does the focus.
    Drag(window, {10, 20}, {70, 60});
    TSizeRect& area = window.SelectedArea();
    ASSERT_EQ(area.BoundsRect(), (fw::Rect{10, 20, 70, 60}));
    Key(window, VK_RIGHT);
    EXPECT_EQ(area.BoundsRect(), (fw::Rect{11, 20, 71, 60}));
    Key(window, VK_UP, false, true);
    EXPECT_EQ(area.BoundsRect(), (fw::Rect{11, 10, 71, 50}));
    Key(window, VK_LEFT, true);
    EXPECT_EQ(area.BoundsRect(), (fw::Rect{11, 10, 70, 50}));
    Key(window, VK_DOWN, true, true);
    EXPECT_EQ(area.BoundsRect(), (fw::Rect{11, 10, 70, 60}));
    Key(window, VK_UP, false, true);  // stops at the picture's top edge
    EXPECT_EQ(area.BoundsRect(), (fw::Rect{11, 0, 70, 50}));
    ASSERT_TRUE(window.CaptureImage().HasOverlay());
    const fw::Picture& shade = *window.CaptureImage().Overlay();
    EXPECT_EQ(shade.At(10, 0), 0x96000000u);
    EXPECT_EQ(shade.At(11, 0), 0x00000000u);
    EXPECT_EQ(shade.At(69, 49), 0x00000000u);
    EXPECT_EQ(shade.At(70, 49), 0x96000000u);
    EXPECT_EQ(GetScrollPos(box, SB_HORZ), 0);
    EXPECT_EQ(GetFocus(), window.btnCrop.Handle());

    // Tab and Shift+Tab go round the three buttons.
    Key(window, VK_TAB);
    EXPECT_EQ(GetFocus(), window.Button1.Handle());
    Key(window, VK_TAB);
    EXPECT_EQ(GetFocus(), window.Button2.Handle());
    Key(window, VK_TAB);
    EXPECT_EQ(GetFocus(), window.btnCrop.Handle());
    Key(window, VK_TAB, false, true);
    EXPECT_EQ(GetFocus(), window.Button2.Handle());

    // Moved past the visible part, the view follows the selection.
    Drag(window, {700, 20}, {740, 60});
    for (int i = 0; i < 10; ++i) Key(window, VK_RIGHT, false, true);
    ASSERT_EQ(area.BoundsRect(), (fw::Rect{800, 20, 840, 60}));
    RECT view{};
    GetClientRect(box, &view);
    EXPECT_EQ(GetScrollPos(box, SB_HORZ), 840 - view.right);

    SetFocus(window.btnCrop.Handle());  // cropped, it lends its focus to "Save to file..." until the next selection
    Key(window, VK_RETURN);
    EXPECT_EQ(GetFocus(), window.Button1.Handle());
    Drag(window, {10, 20}, {70, 60});
    EXPECT_EQ(GetFocus(), window.btnCrop.Handle());
    // Esc closes the window.
    Key(window, VK_ESCAPE);
    wintest::PumpPending();
    EXPECT_FALSE(Open(&window));
}

TEST_F(SaveCaptureWin, EnterCropsCtrlSSavesAndCtrlCCopies) {
    wintest::ScratchFolder folder;
    const fw::Picture picture = Varied(120, 90);
    TSaveCapture& window = NewWindow(picture);
    Drag(window, {10, 20}, {70, 60});
    Key(window, VK_RETURN);
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, fw::CopyRect(picture, {10, 20, 70, 60}).pixels);
    EXPECT_FALSE(window.SelectedArea().Visible());
    Drag(window, {5, 5}, {6, 6});  // a slip of the hand, cropped too: Ctrl+Z goes back a crop at a time
    Key(window, VK_RETURN);
    Key(window, 'Z', true);
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, fw::CopyRect(picture, {10, 20, 70, 60}).pixels);
    Key(window, 'Z', true);
    Key(window, 'Z', true);
    EXPECT_EQ(window.CaptureImage().GetPicture().pixels, picture.pixels);

    // Ctrl+S runs the save dialog: cancelled, the window stays.
    std::atomic<bool> asked{false};
    std::thread canceller([&] {
        const HWND dialog = wintest::WaitForSaveDialog(GetCurrentProcessId(), u"Save screenshot", 10s);
        if (dialog == nullptr) return;
        asked = true;
        wintest::PressSaveDialogButton(dialog, IDCANCEL);
    });
    Key(window, 'S', true);
    canceller.join();
    EXPECT_TRUE(asked) << "no save dialog";
    wintest::PumpPending();
    ASSERT_TRUE(Open(&window));
    // Ctrl+C copies what is left and closes.
    Key(window, 'C', true);
    EXPECT_EQ(wintest::ClipboardPicture().pixels, picture.pixels);
    wintest::PumpPending();
    EXPECT_FALSE(Open(&window));
}
