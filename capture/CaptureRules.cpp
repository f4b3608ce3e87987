// Capture arithmetic: source rectangle, selection and shade, the crop release, file-name extensions.
#include "capture/CaptureRules.h"

#include <algorithm>
#include <utility>

#include "framework/PictureOps.h"

namespace corvalend {

namespace {

bool Contains(const fw::Rect& r, const fw::Point& p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

fw::Rect Intersection(const fw::Rect& a, const fw::Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

long long Area(const fw::Rect& r) {
    return r.IsEmpty() ? 0 : static_cast<long long>(r.Width()) * r.Height();
}

// How far the point lies outside the rectangle, squared (0 inside).
long long DistanceSquared(const fw::Rect& r, const fw::Point& p) {
    const long long dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - (r.right - 1) : 0;
    const long long dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - (r.bottom - 1) : 0;
    return dx * dx + dy * dy;
}

const ScreenMonitor& Primary(const std::vector<ScreenMonitor>& monitors) {
    const auto found = std::find_if(monitors.begin(), monitors.end(), [](const auto& m) { return m.primary; });
    return found != monitors.end() ? *found : monitors.front();
}

// The monitor that holds most of the rectangle; nothing when it touches none.
const ScreenMonitor* MonitorOfRect(const std::vector<ScreenMonitor>& monitors, const fw::Rect& rect) {
    const ScreenMonitor* most = nullptr;
    long long mostArea = 0;
    for (const ScreenMonitor& m : monitors) {
        const long long area = Area(Intersection(m.bounds, rect));
        if (area > mostArea) {
            mostArea = area;
            most = &m;
        }
    }
    return most;
}

// Each side that reaches beyond the monitor's work area pushed out to the monitor's edge: each side
// on its own, and the replacement always from the whole monitor.
fw::Rect ApplyWorkArea(const fw::Rect& rect, const ScreenMonitor& monitor) {
    fw::Rect r = rect;
    if (r.left < monitor.workArea.left) r.left = monitor.bounds.left;
    if (r.top < monitor.workArea.top) r.top = monitor.bounds.top;
    if (r.right > monitor.workArea.right) r.right = monitor.bounds.right;
    if (r.bottom > monitor.workArea.bottom) r.bottom = monitor.bounds.bottom;
    return r;
}

}  // namespace

const ScreenMonitor& MonitorAtPoint(const std::vector<ScreenMonitor>& monitors, const std::optional<fw::Point>& point) {
    if (!point) return Primary(monitors);
    for (const ScreenMonitor& m : monitors) {
        if (Contains(m.bounds, *point)) return m;
    }
    // Between monitors of an uneven layout: the nearest, the primary one on a tie.
    const ScreenMonitor* nearest = &Primary(monitors);
    long long best = DistanceSquared(nearest->bounds, *point);
    for (const ScreenMonitor& m : monitors) {
        const long long distance = DistanceSquared(m.bounds, *point);
        if (distance < best) {
            best = distance;
            nearest = &m;
        }
    }
    return *nearest;
}

fw::Rect VirtualScreen(const std::vector<ScreenMonitor>& monitors) {
    fw::Rect all = monitors.empty() ? fw::Rect{} : monitors.front().bounds;
    for (const ScreenMonitor& m : monitors) {
        all = {std::min(all.left, m.bounds.left), std::min(all.top, m.bounds.top), std::max(all.right, m.bounds.right),
               std::max(all.bottom, m.bounds.bottom)};
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
    const bool reachesAnother = std::any_of(monitors.begin(), monitors.end(), [&](const ScreenMonitor& m) {
        return &m != own && !Intersection(m.bounds, window->rect).IsEmpty();
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

namespace {

// A side after an arrow key with Ctrl: up to the room left in the picture, down to minSize.
int ResizedSide(int size, int delta, int minSize, int room) {
    return std::max(std::min(size + delta, room), std::min(size, minSize));
}

}  // namespace

fw::Rect MoveSelectionByKey(const SelectionBounds& selection, int dx, int dy, int pictureWidth, int pictureHeight) {
    const fw::Rect r = GetSelectionRect(selection, pictureWidth, pictureHeight);
    const int left = std::clamp(r.left + dx, 0, std::max(pictureWidth - r.Width(), 0));
    const int top = std::clamp(r.top + dy, 0, std::max(pictureHeight - r.Height(), 0));
    return {left, top, left + r.Width(), top + r.Height()};
}

fw::Rect ResizeSelectionByKey(const SelectionBounds& selection,
                              int dx,
                              int dy,
                              int minSize,
                              int pictureWidth,
                              int pictureHeight) {
    const fw::Rect r = GetSelectionRect(selection, pictureWidth, pictureHeight);
    return {r.left, r.top, r.left + ResizedSide(r.Width(), dx, minSize, pictureWidth - r.left),
            r.top + ResizedSide(r.Height(), dy, minSize, pictureHeight - r.top)};
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
    return ext == u".jpg" || ext == u".jpeg" ? CaptureFileFormat::Jpeg : CaptureFileFormat::Bitmap;
}

std::u16string DefaultExtForFileType(int filterIndex) {
    return filterIndex == 1 ? u"jpg" : u"bmp";
}

std::u16string ChangeFileExt(const std::u16string& fileName, const std::u16string& ext) {
    return fileName.substr(0, ExtPos(fileName)) + u"." + ext;
}

}  // namespace corvalend
