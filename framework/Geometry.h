// The toolkit's geometry in pixels: a point, a size, a rectangle by its edges, and the bounds of a
// placed thing by its corner and size. No system calls, so the rules that use them are tested
// natively; Win32Geometry.h converts them to and from the system's RECT and POINT.
#pragma once

namespace fw {

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const Size&, const Size&) = default;
};

// A rectangle by its edges, as the system gives screen and client areas; right and bottom are
// exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// A rectangle by its top-left corner and size, as layout tables are designed and controls placed.
// Width and height may be negative (a selection dragged up or to the left).
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const Bounds&, const Bounds&) = default;
};

constexpr Rect ToRect(const Bounds& bounds) {
    return {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
}

}  // namespace fw
