// Pixels between pictures and the system's bitmaps, the screen grab, and greyed icons.
#include "framework/Bitmap.h"

#include <algorithm>

#include "framework/Error.h"
#include "framework/PictureOps.h"

namespace fw {

namespace {

// 32 bits per pixel, rows top-down: the memory layout of a Picture.
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The system leaves the fourth byte of 32-bit pixels undefined; our pictures are opaque.
void CopyOpaque(const void* source, Picture& picture) {
    const auto* in = static_cast<const std::uint32_t*>(source);
    for (std::uint32_t& pixel : picture.pixels) pixel = *in++ | 0xFF000000u;
}

}  // namespace

Picture GrabScreen(const Rect& rect) {
    Picture picture(rect.Width(), rect.Height(), 0xFF000000u);
    if (picture.Empty()) return picture;
    const HWND desktop = GetDesktopWindow();
    const UniqueWindowDC screen(desktop, GetWindowDC(desktop));
    if (!screen) return picture;
    const BITMAPINFO info = TopDown32(picture.width, picture.height);
    void* bits = nullptr;
    const UniqueBitmap section(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, /*section=*/nullptr, /*offset=*/0));
    const UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    if (!section || !memory || bits == nullptr) return picture;
    {
        const ScopedSelectObject select(memory.get(), section.get());
        // Not examined, as a failed copy is not reported: the capture shows what the bitmap holds.
        BitBlt(memory.get(), 0, 0, picture.width, picture.height, screen.get(), rect.left, rect.top, SRCCOPY);
    }
    GdiFlush();
    CopyOpaque(bits, picture);
    return picture;
}

UniqueBitmap PictureToBitmap(const Picture& picture) {
    const UniqueWindowDC screen(/*window=*/nullptr, GetDC(nullptr));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), picture.width, picture.height));
    if (!bitmap) throw Error(u"Out of system resources");
    if (!picture.Empty()) {
        const BITMAPINFO info = TopDown32(picture.width, picture.height);
        if (SetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(picture.height), picture.pixels.data(), &info,
                      DIB_RGB_COLORS) == 0) {
            throw Error(u"Out of system resources");
        }
    }
    return bitmap;
}

Picture BitmapToPicture(HBITMAP bitmap) {
    BITMAP about{};
    if (GetObjectW(bitmap, sizeof(about), &about) == 0) return Picture();
    Picture picture(about.bmWidth, about.bmHeight < 0 ? -about.bmHeight : about.bmHeight);
    if (picture.Empty()) return picture;
    BITMAPINFO info = TopDown32(picture.width, picture.height);
    const UniqueWindowDC screen(/*window=*/nullptr, GetDC(nullptr));
    if (GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(picture.height), picture.pixels.data(), &info,
                  DIB_RGB_COLORS) == 0) {
        return Picture();
    }
    CopyOpaque(picture.pixels.data(), picture);
    return picture;
}

UniqueIcon GreyedIcon(HICON icon) {
    ICONINFO parts{};
    if (!GetIconInfo(icon, &parts)) return UniqueIcon();
    const UniqueBitmap mask(parts.hbmMask);
    const UniqueBitmap colour(parts.hbmColor);
    BITMAP about{};
    if (!colour || GetObjectW(colour.get(), sizeof(about), &about) == 0) return UniqueIcon();
    // Read with the alpha the icon's pixels carry, which BitmapToPicture would make opaque.
    Picture picture(about.bmWidth, about.bmHeight < 0 ? -about.bmHeight : about.bmHeight);
    BITMAPINFO info = TopDown32(picture.width, picture.height);
    const UniqueWindowDC screen(/*window=*/nullptr, GetDC(nullptr));
    if (picture.Empty() || GetDIBits(screen.get(), colour.get(), 0, static_cast<UINT>(picture.height),
                                     picture.pixels.data(), &info, DIB_RGB_COLORS) == 0) {
        return UniqueIcon();
    }
    GreyOut(picture);
    void* bits = nullptr;
    const UniqueBitmap grey(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, /*section=*/nullptr, /*offset=*/0));
    if (!grey || bits == nullptr) return UniqueIcon();
    std::copy(picture.pixels.begin(), picture.pixels.end(), static_cast<std::uint32_t*>(bits));
    ICONINFO greyParts{.fIcon = TRUE, .xHotspot = 0, .yHotspot = 0, .hbmMask = mask.get(), .hbmColor = grey.get()};
    return UniqueIcon(CreateIconIndirect(&greyParts));
}

}  // namespace fw
