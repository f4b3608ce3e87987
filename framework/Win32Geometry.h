// The toolkit's geometry (Geometry.h) to and from the system's RECT and POINT.
#pragma once

#include <windows.h>

#include "framework/Geometry.h"

namespace fw {

inline RECT ToRECT(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline Rect FromRECT(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
inline Point FromPOINT(const POINT& p) {
    return {p.x, p.y};
}

}  // namespace fw
