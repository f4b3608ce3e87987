// The toolkit's geometry (Geometry.h) to and from the system's RECT and POINT.
#pragma once

#include <windows.h>

#include "framework/Geometry.h"

namespace fw {

inline RECT ToRECT(const Rect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}
inline Rect FromRECT(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}
inline Point FromPOINT(const POINT& point) {
    return {point.x, point.y};
}

}  // namespace fw
