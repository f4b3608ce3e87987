// Capture arithmetic: source rectangle, selection and shade, the crop release, file-name extensions.
#include "capture/CaptureRules.h"

#include <algorithm>
#include <utility>

#include "framework/PictureOps.h"

namespace corvalend {

namespace {

bool Contains(const fw::Rect& rect, const fw::Point& point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

fw::Rect Intersection(const fw::Rect& a, const fw::Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

long long Area(const fw::Rect& rect) {
    return rect.IsEmpty() ? 0 : static_cast<long long>(rect.Width()) * rect.Height();
}

// How far the point lies outside the rectangle, squared (0 inside).
long long DistanceSquared(const fw::Rect& rect, const fw::Point& point) {
    const long long dx = point.x < rect.left     ? rect.left - point.x
                         : point.x >= rect.right ? point.x - (rect.right - 1)
                                                 : 0;
    const long long dy = point.y < rect.top       ? rect.top - point.y
                         : point.y >= rect.bottom ? point.y - (rect.bottom - 1)
                                                  : 0;
    return dx * dx + dy * dy;
}

const ScreenMonitor& Primary(const std::vector<ScreenMonitor>& monitors) {
    const auto found =
        std::find_if(monitors.begin(), monitors.end(), [](const auto& monitor) { return monitor.primary; });
    return found != monitors.end() ? *found : monitors.front();
}

// The monitor that holds most of the rectangle; nothing when it touches none.
const ScreenMonitor* MonitorOfRect(const std::vector<ScreenMonitor>& monitors, const fw::Rect& rect) {
    const ScreenMonitor* most = nullptr;
    long long mostArea = 0;
    for (const ScreenMonitor& monitor : monitors) {
        const long long area = Area(Intersection(monitor.bounds, rect));
        if (area > mostArea) {
            mostArea = area;
            most = &monitor;
        }
    }
    return most;
}

// Each side that reaches beyond the monitor's work area pushed out to the monitor's edge: each side
// on its own, and the replacement always from the whole monitor.
fw::Rect ApplyWorkArea(const fw::Rect& rect, const ScreenMonitor& monitor) {
    fw::Rect adjusted = rect;
    if (adjusted.left < monitor.workArea.left) adjusted.left = monitor.bounds.left;
    if (adjusted.top < monitor.workArea.top) adjusted.top = monitor.bounds.top;
    if (adjusted.right > monitor.workArea.right) adjusted.right = monitor.bounds.right;
    if (adjusted.bottom > monitor.workArea.bottom) adjusted.bottom = monitor.bounds.bottom;
    return adjusted;
}

}  // namespace

const ScreenMonitor& MonitorAtPoint(const std::vector<ScreenMonitor>& monitors, const std::optional<fw::Point>& point) {
    if (!point) return Primary(monitors);
    for (const ScreenMonitor& monitor : monitors) {
        if (Contains(monitor.bounds, *point)) return monitor;
    }
    // Between monitors of an uneven layout: the nearest, the primary one on a tie.
    const ScreenMonitor* nearest = &Primary(monitors);
    long long best = DistanceSquared(nearest->bounds, *point);
    for (const ScreenMonitor& monitor : monitors) {
        const long long distance = DistanceSquared(monitor.bounds, *point);
        if (distance < best) {
            best = distance;
            nearest = &monitor;
        }
    }
    return *nearest;
}

fw::Rect VirtualScreen(const std::vector<ScreenMonitor>& monitors) {
    fw::Rect all = monitors.empty() ? fw::Rect{} : monitors.front().bounds;
    for (const ScreenMonitor& monitor : monitors) {
        all = {std::min(all.left, monitor.bounds.left), std::min(all.top, monitor.bounds.top),
               std::max(all.right, monitor.bounds.right), std::max(all.bottom, monitor.bounds.bottom)};
    }
    return all;
}

CaptureChoice ChooseCapture(const std::vector<ScreenMonitor>& monitors,
                            const std::optional<fw::Point>& cursor,
                            const std::optional<ForegroundWindow>& window) {
    const ScreenMonitor& pointed = MonitorAtPoint(monitors, cursor);
    const CaptureChoice wholeScreen{pointed.bounds, pointed.workArea};
    // No window, or one on no monitor (minimised, or gone off every screen).
    const ScreenMonitor* own = window ? MonitorOfRect(monitors, window->rect) : nullptr;
    if (own == nullptr) return wholeScreen;
    const bool reachesAnother = std::any_of(monitors.begin(), monitors.end(), [&](const ScreenMonitor& monitor) {
        return &monitor != own && !Intersection(monitor.bounds, window->rect).IsEmpty();
    });
    const fw::Rect source = reachesAnother && !window->maximised ? Intersection(window->rect, VirtualScreen(monitors))
                                                                 : ApplyWorkArea(window->rect, *own);
    return source.IsEmpty() ? wholeScreen : CaptureChoice{source, own->workArea};
}

CaptureChoice ChooseCapture(CaptureGeometry& geometry, bool activeOnly) {
    const std::vector<ScreenMonitor> monitors = geometry.Monitors();
    return ChooseCapture(monitors, geometry.CursorPos(), activeOnly ? geometry.ForegroundWindowRect() : std::nullopt);
}

void NormalizeSelection(SelectionBounds& selection) {
    fw::Bounds& bounds = selection.bounds;
    if (bounds.width < 0) {
        bounds.left += bounds.width;
        bounds.width = -bounds.width;
    }
    if (bounds.height < 0) {
        bounds.top += bounds.height;
        bounds.height = -bounds.height;
    }
}

fw::Rect GetSelectionRect(const SelectionBounds& selection, int pictureWidth, int pictureHeight) {
    const fw::Rect whole{0, 0, std::max(pictureWidth, 0), std::max(pictureHeight, 0)};
    if (!selection.visible) return whole;
    // In 64 bits: bounds near the ends of the int range must not wrap around.
    const fw::Bounds& bounds = selection.bounds;
    long long left = bounds.left, top = bounds.top;
    long long right = left + bounds.width, bottom = top + bounds.height;
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

namespace {

// A side after an arrow key with Ctrl: up to the room left in the picture, down to minSize.
int ResizedSide(int size, int delta, int minSize, int room) {
    return std::max(std::min(size + delta, room), std::min(size, minSize));
}

}  // namespace

fw::Rect MoveSelectionByKey(const SelectionBounds& selection, int dx, int dy, int pictureWidth, int pictureHeight) {
    const fw::Rect selected = GetSelectionRect(selection, pictureWidth, pictureHeight);
    const int left = std::clamp(selected.left + dx, 0, std::max(pictureWidth - selected.Width(), 0));
    const int top = std::clamp(selected.top + dy, 0, std::max(pictureHeight - selected.Height(), 0));
    return {left, top, left + selected.Width(), top + selected.Height()};
}

fw::Rect ResizeSelectionByKey(const SelectionBounds& selection,
                              int dx,
                              int dy,
                              int minSize,
                              int pictureWidth,
                              int pictureHeight) {
    const fw::Rect selected = GetSelectionRect(selection, pictureWidth, pictureHeight);
    return {selected.left, selected.top,
            selected.left + ResizedSide(selected.Width(), dx, minSize, pictureWidth - selected.left),
            selected.top + ResizedSide(selected.Height(), dy, minSize, pictureHeight - selected.top)};
}

int ScrollToShow(int position, int viewLength, int start, int end) {
    if (end > position + viewLength) position = end - viewLength;
    return std::min(position, start);
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
    if (ext == u".png") return CaptureFileFormat::Png;
    return ext == u".jpg" || ext == u".jpeg" ? CaptureFileFormat::Jpeg : CaptureFileFormat::Bitmap;
}

std::u16string DefaultExtForFileType(int filterIndex) {
    return filterIndex == 1 ? u"jpg" : filterIndex == 2 ? u"png" : u"bmp";
}

std::u16string ChangeFileExt(const std::u16string& fileName, const std::u16string& ext) {
    return fileName.substr(0, ExtPos(fileName)) + u"." + ext;
}

}  // namespace corvalend
