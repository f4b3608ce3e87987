// Saving a 3840x2160 capture of a screen of text under the real system, as the capture window saves
// it: PNG through the system's encoder and JPEG through ours, each written beside its name and then
// put in place. Prints the medians and the file sizes.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "capture/CaptureFile.h"
#include "framework/WicPngEncoder.h"
#include "framework/Win32FileStore.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;
constexpr int kRuns = 5;
constexpr double kPngTargetMs = 400;

// Lines of small dark smoothed text on a flat light background, as an editor or a terminal shows them.
fw::Picture ScreenOfText() {
    fw::Picture picture = wintest::RenderPicture(kWidth, kHeight, [](HDC dc) {
        const RECT all{0, 0, kWidth, kHeight};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                       ANTIALIASED_QUALITY, 0, L"Tahoma");
        const HGDIOBJ old = SelectObject(dc, font);
        SetTextColor(dc, RGB(0x1E, 0x1E, 0x1E));
        const std::wstring line = L"if (picture.Empty()) return Fail(u\"Cannot create file\", path, 0x80070005); // 42";
        for (int y = 4, n = 0; y < kHeight; y += 15, ++n)
            for (int x = 8; x < kWidth; x += 960)
                TextOutW(dc, x + n % 9 * 16, y, line.c_str() + n % 13, static_cast<int>(line.size()) - n % 13);
        SelectObject(dc, old);
        DeleteObject(font);
    });
    for (std::uint32_t& pixel : picture.pixels) pixel |= 0xFF000000u;
    return picture;
}

}  // namespace

int main() {
    const fw::Picture screen = ScreenOfText();
    const wintest::ScratchFolder folder;
    fw::Win32FileStore files;
    const fw::WicPngEncoder png;
    std::printf("\nSaving a 3840x2160 screen of text under Wine (median of %d):\n", kRuns);
    for (const auto& [name, isPng] : {std::pair{u"screen.png", true}, {u"screen.jpg", false}}) {
        std::vector<double> ms;
        for (int i = 0; i < kRuns; ++i) {
            const auto start = std::chrono::steady_clock::now();
            corvalend::SaveCaptureFile(files, folder.File(name), screen, png);
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(ms.begin(), ms.end());
        const auto size = static_cast<unsigned long long>(files.Read(folder.File(name)).value_or("").size());
        std::printf("  %s %7.1f ms  %9llu bytes", isPng ? "PNG " : "JPEG", ms[kRuns / 2], size);
        if (isPng)
            std::printf("  (target <= %.0f ms)  %s", kPngTargetMs, ms[kRuns / 2] <= kPngTargetMs ? "ok" : "MISSED");
        std::printf("\n");
    }
    return 0;
}
