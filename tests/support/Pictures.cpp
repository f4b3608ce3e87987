// Test support: pictures of what windows paint and what the clipboard holds.
#include "tests/support/Pictures.h"

#include <cstdlib>

#include "framework/Bitmap.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"

namespace wintest {

fw::Picture RenderPicture(int width, int height, const std::function<void(HDC)>& draw) {
    fw::Picture picture(width, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    const fw::UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits == nullptr) return picture;
    const fw::ScopedSelectObject select(dc.get(), bitmap.get());
    draw(dc.get());
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = pixels[i] & 0xFFFFFFu;
    return picture;
}

fw::Picture PrintClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return RenderPicture(client.right, client.bottom, [&](HDC dc) {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

fw::Picture CopyFromDC(HDC source, int width, int height) {
    return RenderPicture(width, height, [&](HDC dc) { BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY); });
}

namespace {

// Another program may hold the clipboard for a moment.
void OpenTheClipboard() {
    WaitFor("the clipboard free to open", [] { return OpenClipboard(nullptr) != FALSE; });
}

}  // namespace

fw::Picture ClipboardPicture() {
    fw::Picture picture;
    OpenTheClipboard();
    if (const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) picture = fw::BitmapToPicture(bitmap);
    CloseClipboard();
    return picture;
}

std::u16string ClipboardText() {
    std::u16string text;
    OpenTheClipboard();
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = fw::FromWide(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard() {
    OpenTheClipboard();
    EmptyClipboard();
    CloseClipboard();
}

double MeanChannelError(const fw::Picture& a, const fw::Picture& b) {
    if (a.width != b.width || a.height != b.height || a.Empty()) return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (const int shift : {0, 8, 16})
            sum +=
                std::abs(static_cast<int>(a.pixels[i] >> shift & 0xFF) - static_cast<int>(b.pixels[i] >> shift & 0xFF));
    return sum / static_cast<double>(a.pixels.size() * 3);
}

}  // namespace wintest
