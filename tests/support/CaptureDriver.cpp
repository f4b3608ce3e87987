// Test support: a patterned window to capture, and the mouse and screen reads that drive capture windows.
#include "tests/support/CaptureDriver.h"

#include "framework/Bitmap.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"
#include "tests/support/E2E.h"
#include "tests/support/Front.h"
#include "tests/support/WinTest.h"

namespace e2e {

namespace {

std::uint32_t PatternPixel(int x, int y) {
    return static_cast<std::uint32_t>((x * 7 + y) & 0xFF) << 16 | static_cast<std::uint32_t>((y * 5) & 0xFF) << 8 |
           static_cast<std::uint32_t>((x + y * 3) & 0xFF);
}

}  // namespace

PatternWindow::PatternWindow(int left, int top, int width, int height) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = &PatternWindow::Proc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"CorvalendE2E.Pattern";
    RegisterClassW(&cls);  // fails harmlessly once registered
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, cls.lpszClassName, L"Pattern", WS_POPUP | WS_VISIBLE, left, top, width,
                            height, /*parent=*/nullptr, /*menu=*/nullptr, cls.hInstance, /*param=*/nullptr);
    UpdateWindow(hwnd_);
    wintest::WaitFor("the pattern window on the screen", [&] { return OnScreen(); });
    wintest::BringToFront(hwnd_);
}

PatternWindow::~PatternWindow() {
    DestroyWindow(hwnd_);
}

fw::Rect PatternWindow::Rect() const {
    return ScreenRect(hwnd_);
}

bool PatternWindow::OnScreen() const {
    const fw::Rect on = Rect();
    const fw::Picture shown = fw::GrabScreen(on);
    if (shown.Empty()) return false;
    for (const POINT at :
         {POINT{0, 0}, POINT{shown.width / 2, shown.height / 2}, POINT{shown.width - 1, shown.height - 1}}) {
        if ((shown.At(at.x, at.y) & 0xFFFFFFu) != PatternPixel(at.x, at.y)) return false;
    }
    return true;
}

LRESULT CALLBACK PatternWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    fw::Picture picture(client.right, client.bottom);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) picture.At(x, y) = PatternPixel(x, y);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0, 0, 0,
                      static_cast<UINT>(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
    EndPaint(hwnd, &paint);
    return 0;
}

HWND WaitForCaptureWindow(DWORD processId, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    wintest::PumpUntil(
        [&] {
            const HWND window = wintest::FindTopWindow(processId, L"Corvalend.SaveCapture");
            const HWND view = window != nullptr ? CaptureView(window) : nullptr;
            if (window == nullptr || !IsWindowVisible(window) || view == nullptr || ScreenRect(view).IsEmpty()) {
                return false;
            }
            found = window;
            return true;
        },
        timeout);
    return found;
}

bool WaitNoCaptureWindow(DWORD processId, std::chrono::milliseconds timeout) {
    return wintest::PumpUntil(
        [&] {
            // Gone, not just hidden: Wine hides a window and then waits a while before it is destroyed.
            return wintest::FindTopWindow(processId, L"Corvalend.SaveCapture") == nullptr;
        },
        timeout);
}

HWND CaptureView(HWND captureWindow) {
    const HWND box = FindWindowExW(captureWindow, nullptr, L"Corvalend.ScrollBox", nullptr);
    return box != nullptr ? FindWindowExW(box, nullptr, L"Corvalend.ImageView", nullptr) : nullptr;
}

HWND CaptureButton(HWND captureWindow, const wchar_t* caption) {
    return FindWindowExW(captureWindow, nullptr, L"Button", caption);
}

fw::Rect ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return fw::FromRECT(r);
}

void ClickAt(int x, int y) {
    wintest::MouseMoveTo(x, y);
    wintest::MouseButton(x, y, true);
    wintest::MouseButton(x, y, false);
}

void ClickCentre(HWND window) {
    const fw::Rect r = ScreenRect(window);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void DragOnView(HWND view, POINT from, POINT to) {
    const fw::Rect r = ScreenRect(view);
    wintest::MouseMoveTo(r.left + from.x, r.top + from.y);
    wintest::MouseButton(r.left + from.x, r.top + from.y, true);
    for (int step = 1; step <= 4; ++step) {
        wintest::MouseMoveTo(r.left + from.x + (to.x - from.x) * step / 4, r.top + from.y + (to.y - from.y) * step / 4);
    }
    wintest::MouseButton(r.left + to.x, r.top + to.y, false);
}

fw::Picture GrabWholeScreen() {
    return fw::GrabScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

std::u16string ArtefactPath(const std::u16string& name) {
    // The test programs sit in build/win64; the artefacts go beside, in build/test-artefacts.
    const std::u16string folder = fw::ExtractFileDir(fw::ExtractFileDir(ProgramPath())) + u"\\test-artefacts";
    fw::ForceDirectories(folder);
    return folder + u"\\" + name;
}

std::string HostPath(const std::u16string& path) {
    if (path.size() < 3 || (path[0] != u'Z' && path[0] != u'z') || path[1] != u':') return fw::Utf16ToUtf8(path);
    std::string unix = fw::Utf16ToUtf8(path.substr(2));
    for (char& c : unix)
        if (c == '\\') c = '/';
    return unix;
}

}  // namespace e2e
