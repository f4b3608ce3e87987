// Capture arithmetic: source rectangle, selection and shade, the crop release, file-name extensions.
#include "capture/CaptureRules.h"

#include <algorithm>
#include <utility>

#include "framework/PictureOps.h"

namespace corvalend {

fw::Rect CaptureSourceRect(const ScreenMetrics& screen, const std::optional<fw::Rect>& windowRect) {
    const fw::Rect whole{0, 0, screen.width, screen.height};
    fw::Rect r = windowRect.value_or(whole);
    // Each side on its own, and the replacement always from the whole screen: a maximised window,
    // whose frame overlaps the screen edges, is captured as the whole screen, taskbar included.
    if (r.left < screen.workArea.left) r.left = 0;
    if (r.top < screen.workArea.top) r.top = 0;
    if (r.right > screen.workArea.right) r.right = screen.width;
    if (r.bottom > screen.workArea.bottom) r.bottom = screen.height;
    return r.IsEmpty() ? whole : r;
}

fw::Rect ChooseCaptureRect(CaptureGeometry& geometry, bool activeOnly) {
    const ScreenMetrics screen = geometry.Screen();
    return CaptureSourceRect(screen, activeOnly ? geometry.ForegroundWindowRect() : std::nullopt);
}

void NormalizeSelection(SelectionBounds& selection) {
    fw::Bounds& b = selection.bounds;
    if (b.width < 0) {
        b.left += b.width;
        b.width = -b.width;
    }
    if (b.height < 0) {
        b.top += b.height;
        b.height = -b.height;
    }
}

fw::Rect GetSelectionRect(const SelectionBounds& selection, int pictureWidth, int pictureHeight) {
    const fw::Rect whole{0, 0, std::max(pictureWidth, 0), std::max(pictureHeight, 0)};
    if (!selection.visible) return whole;
    // In 64 bits: bounds near the ends of the int range must not wrap around.
    const fw::Bounds& b = selection.bounds;
    long long left = b.left, top = b.top;
    long long right = left + b.width, bottom = top + b.height;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    left = std::max<long long>(left, 0);
    top = std::max<long long>(top, 0);
    right = std::min<long long>(right, whole.right);
    bottom = std::min<long long>(bottom, whole.bottom);
    // A selection dragged wholly off the picture leaves nothing to crop, copy or save; taking the
    // whole picture then is what the user gets with no selection at all.
    if (right <= left || bottom <= top) return whole;
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
}

fw::Picture BuildSelectionShade(const SelectionBounds& selection, int pictureWidth, int pictureHeight) {
    fw::Picture shade(pictureWidth, pictureHeight, kClearColour);
    if (!selection.visible) return shade;
    const fw::Rect hole = GetSelectionRect(selection, pictureWidth, pictureHeight);
    const fw::Rect whole{0, 0, shade.width, shade.height};
    if (hole == whole) return shade;
    fw::FillOutside(shade, hole, kShadeColour);
    return shade;
}

bool IsCropRelease(std::uint32_t nowTicks, std::uint32_t lastReleaseTicks) {
    return static_cast<std::uint32_t>(nowTicks - lastReleaseTicks) < kCropReleaseInterval;
}

namespace {

// Where the extension starts, or npos.
size_t ExtPos(const std::u16string& fileName) {
    const size_t dot = fileName.find_last_of(u'.');
    if (dot == std::u16string::npos) return dot;
    const size_t separator = fileName.find_last_of(u"\\/");
    return separator != std::u16string::npos && separator > dot ? std::u16string::npos : dot;
}

}  // namespace

std::u16string LowerCaseFileExt(const std::u16string& fileName) {
    const size_t dot = ExtPos(fileName);
    std::u16string ext = dot == std::u16string::npos ? std::u16string() : fileName.substr(dot);
    for (char16_t& c : ext) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return ext;
}

CaptureFileFormat CaptureFileFormatFor(const std::u16string& fileName) {
    const std::u16string ext = LowerCaseFileExt(fileName);
    return ext == u".jpg" || ext == u".jpeg" ? CaptureFileFormat::Jpeg : CaptureFileFormat::Bitmap;
}

std::u16string DefaultExtForFileType(int filterIndex) {
    return filterIndex == 1 ? u"jpg" : u"bmp";
}

std::u16string ChangeFileExt(const std::u16string& fileName, const std::u16string& ext) {
    return fileName.substr(0, ExtPos(fileName)) + u"." + ext;
}

}  // namespace corvalend
