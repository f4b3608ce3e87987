// The screen side of capture: grabbing what a window shows, the capture's rectangle from the
// system, screenshot files on a real disk read back by the system and by libjpeg, and the
// clipboard's bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "capture/CaptureFile.h"
#include "capture/ScreenCapture.h"
#include "framework/Bitmap.h"
#include "framework/Clipboard.h"
#include "framework/Error.h"
#include "framework/FileStore.h"
#include "framework/PictureOps.h"
#include "framework/SystemError.h"
#include "framework/WicPngEncoder.h"
#include "framework/Win32FileStore.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"
#include "tests/support/JpegDecode.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;

// Four coloured quarters and a single pixel of its own colour in the top-left corner.
constexpr int kWidth = 90;
constexpr int kHeight = 60;
constexpr COLORREF kQuarters[4] = {RGB(0x10, 0x20, 0x30), RGB(0xC0, 0x80, 0x40), RGB(0x20, 0xE0, 0xA0),
                                   RGB(0xFF, 0xFF, 0xFF)};
constexpr COLORREF kCorner = RGB(0xFE, 0x01, 0x7F);

std::uint32_t ToPixel(COLORREF c) {
    return 0xFF000000u | static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

fw::Picture ExpectedPattern() {
    fw::Picture picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.At(x, y) = ToPixel(kQuarters[(y >= kHeight / 2 ? 2 : 0) + (x >= kWidth / 2 ? 1 : 0)]);
    picture.At(0, 0) = ToPixel(kCorner);
    return picture;
}

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    for (int q = 0; q < 4; ++q) {
        const RECT r{q % 2 ? kWidth / 2 : 0, q / 2 ? kHeight / 2 : 0, q % 2 ? kWidth : kWidth / 2,
                     q / 2 ? kHeight : kHeight / 2};
        const HBRUSH brush = CreateSolidBrush(kQuarters[q]);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    SetPixel(dc, 0, 0, kCorner);
    EndPaint(window, &paint);
    return 0;
}

// A borderless, top-most window showing the pattern at a known place on the screen.
struct PatternWindow {
    fw::UniqueWindow window;
    PatternWindow(int left, int top) {
        WNDCLASSW cls{};
        cls.lpfnWndProc = PatternProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"CorvalendCapturePattern";
        RegisterClassW(&cls);  // fails harmlessly when a previous test registered it
        window.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                                     left, top, kWidth, kHeight, /*parent=*/nullptr, /*menu=*/nullptr, cls.hInstance,
                                     /*param=*/nullptr));
        SetForegroundWindow(window.get());
        UpdateWindow(window.get());
    }
    fw::Rect Rect() const {
        RECT r{};
        GetWindowRect(window.get(), &r);
        return fw::FromRECT(r);
    }
};

// The window reaches the screen a little after it painted: look until it is there.
bool ShowsOnScreen(const fw::Rect& rect, const fw::Picture& expected) {
    return wintest::WaitFor("the pattern on the screen",
                            [&] { return fw::GrabScreen(rect).pixels == expected.pixels; });
}

std::u16string ErrorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const fw::Error& e) {
        return e.Text();
    }
    return u"(no error)";
}

// Uneven size and varied colours in every channel.
fw::Picture Varied(int width, int height) {
    fw::Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.At(x, y) =
                0xFF000000u | (x * 37 + y * 11) % 256 << 16 | (x * 13 + y * 53) % 256 << 8 | (x * y + 5) % 256;
    return picture;
}

}  // namespace

// One window for all: Wine takes two seconds to hide a foreground window when no window manager runs.
TEST(ScreenCapture, GrabsWhatTheForegroundWindowShows) {
    PatternWindow pattern(100, 120);
    const fw::Rect rect = pattern.Rect();
    ASSERT_EQ(rect, (fw::Rect{100, 120, 100 + kWidth, 120 + kHeight}));
    const fw::Picture expected = ExpectedPattern();
    ASSERT_TRUE(ShowsOnScreen(rect, expected)) << "the pattern never reached the screen";

    // One pixel, and a part of the window.
    EXPECT_EQ(fw::GrabScreen({100, 120, 101, 121}).pixels, std::vector<std::uint32_t>{ToPixel(kCorner)});
    const fw::Picture part = fw::GrabScreen({100 + kWidth / 2 - 1, 121, 100 + kWidth / 2 + 1, 122});
    EXPECT_EQ(part.pixels, (std::vector<std::uint32_t>{ToPixel(kQuarters[0]), ToPixel(kQuarters[1])}));
    EXPECT_TRUE(fw::GrabScreen({100, 120, 100, 200}).Empty());

    // The system's view of the monitors, the pointer and the window: under Wine one monitor, the
    // primary one, which the pointer is on.
    Win32CaptureGeometry geometry;
    const std::vector<ScreenMonitor> monitors = geometry.Monitors();
    ASSERT_EQ(monitors.size(), static_cast<size_t>(GetSystemMetrics(SM_CMONITORS)));
    const ScreenMonitor& primary = MonitorAtPoint(monitors, fw::Point{0, 0});
    EXPECT_TRUE(primary.primary);
    EXPECT_EQ(primary.bounds, (fw::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(primary.workArea, fw::FromRECT(work));
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(geometry.CursorPos(), fw::FromPOINT(cursor));
    ASSERT_EQ(GetForegroundWindow(), pattern.window.get());
    const std::optional<ForegroundWindow> foreground = geometry.ForegroundWindowRect();
    ASSERT_TRUE(foreground.has_value());
    EXPECT_EQ(foreground->rect, rect);
    EXPECT_FALSE(foreground->maximised);

    // The foreground window's capture is the window; the whole screen's holds it at its place.
    const TakenCapture active = TakeCapture(true);
    EXPECT_EQ(active.picture.width, kWidth);
    EXPECT_EQ(active.picture.pixels, expected.pixels);
    EXPECT_EQ(active.previewWorkArea, primary.workArea);
    const fw::Picture screen = TakeCapture(false).picture;
    ASSERT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(screen.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(screen.At(100, 120), ToPixel(kCorner));
    EXPECT_EQ(screen.At(100 + kWidth - 1, 120 + kHeight - 1), ToPixel(kQuarters[3]));

    // Partly off the left edge: the capture starts at the screen's edge and shows the visible part.
    SetWindowPos(pattern.window.get(), nullptr, -20, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(ChooseCapture(geometry, true).source, (fw::Rect{0, 40, kWidth - 20, 40 + kHeight}));
    const fw::Picture visible = fw::CopyRect(expected, {20, 0, kWidth, kHeight});
    EXPECT_TRUE(wintest::WaitFor("a capture of what is visible",
                                 [&] { return TakeCapture(true).picture.pixels == visible.pixels; }));
}

TEST(CaptureFiles, BitmapAndJpegReadBack) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    const fw::Picture picture = Varied(37, 23);

    // A bitmap under any name that is not JPEG's or PNG's, read back by the system exactly.
    for (const char16_t* name : {u"shot.bmp", u"shot.gif", u"shot"}) {
        const std::u16string path = folder.File(name);
        SaveCaptureFile(files, path, picture, fw::WicPngEncoder());
        const fw::UniqueBitmap loaded(static_cast<HBITMAP>(
            LoadImageW(nullptr, fw::AsWide(path), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        ASSERT_TRUE(loaded) << fw::Utf16ToUtf8(path);
        const fw::Picture back = fw::BitmapToPicture(loaded.get());
        EXPECT_EQ(back.width, 37);
        EXPECT_EQ(back.pixels, picture.pixels) << fw::Utf16ToUtf8(path);
    }

    // JPEG for ".jpg" and ".jpeg" in any case; an existing file is overwritten.
    const std::u16string jpegPath = folder.File(u"Shot.JPEG");
    files.Replace(jpegPath, "old content");
    SaveCaptureFile(files, jpegPath, picture, fw::WicPngEncoder());
    const std::string bytes = files.Read(jpegPath).value_or("");
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    const DecodedJpeg decoded = DecodeJpeg(bytes);
    EXPECT_EQ(decoded.picture.width, 37);
    EXPECT_EQ(decoded.picture.height, 23);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_FALSE(decoded.progressive);
    SaveCaptureFile(files, folder.File(u"one.jpg"), fw::Picture(1, 1, 0xFF00FF00u), fw::WicPngEncoder());
    const fw::Picture one = DecodeJpeg(files.Read(folder.File(u"one.jpg")).value_or("")).picture;
    ASSERT_EQ(one.pixels.size(), 1u);
    EXPECT_NEAR(static_cast<int>(one.pixels[0] >> 8 & 0xFF), 255, 3);
    EXPECT_NEAR(static_cast<int>(one.pixels[0] & 0xFF), 0, 3);
}

TEST(CaptureFiles, FolderThatCannotBeWrittenRaisesTheFileError) {
    wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    files.Replace(folder.File(u"blocker"), "a file, not a folder");
    // The system's reason for a folder that is not there (the writer makes a temporary file in it
    // first, so the system may name the folder rather than the path).
    const std::u16string reasons[] = {fw::SystemErrorText(ERROR_PATH_NOT_FOUND), fw::SystemErrorText(ERROR_DIRECTORY),
                                      fw::SystemErrorText(ERROR_FILE_NOT_FOUND)};
    for (const std::u16string& path : {folder.File(u"missing\\shot.jpg"), folder.File(u"blocker\\shot.bmp"),
                                       std::u16string(u"Q:\\nowhere\\shot.bmp"), folder.File(u"missing\\shot.png")}) {
        const std::u16string error =
            ErrorText([&] { SaveCaptureFile(files, path, fw::Picture(2, 2), fw::WicPngEncoder()); });
        EXPECT_TRUE(std::any_of(std::begin(reasons), std::end(reasons), [&](const std::u16string& reason) {
            return error == fw::CannotCreateFileText(path, reason);
        })) << fw::Utf16ToUtf8(error);
        EXPECT_FALSE(files.Exists(path));
    }
    EXPECT_EQ(files.Read(folder.File(u"blocker")), "a file, not a folder");
}

TEST(CaptureClipboard, PlacesTheBitmapAndReportsAHeldClipboard) {
    const fw::UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    fw::Clipboard(owner.get()).SetText(u"before");
    const fw::Picture picture = Varied(37, 23);
    fw::Clipboard(owner.get()).SetBitmap(fw::PictureToBitmap(picture));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));  // the contents were replaced
    const fw::Picture placed = wintest::ClipboardPicture();
    EXPECT_EQ(placed.width, 37);
    EXPECT_EQ(placed.pixels, picture.pixels);

    fw::Clipboard(owner.get()).SetBitmap(fw::PictureToBitmap(fw::Picture(1, 1, 0xFF123456u)));
    EXPECT_EQ(wintest::ClipboardPicture().pixels, std::vector<std::uint32_t>{0xFF123456u});

    std::u16string error;
    {
        const wintest::HeldClipboard held;
        ASSERT_TRUE(held.Held());
        error = ErrorText([&] { fw::Clipboard(owner.get()).SetBitmap(fw::PictureToBitmap(picture)); });
    }
    EXPECT_EQ(error, u"Cannot open clipboard: " + fw::SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(wintest::ClipboardPicture().pixels, std::vector<std::uint32_t>{0xFF123456u});  // left unchanged
}
