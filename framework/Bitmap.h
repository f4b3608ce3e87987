// Pictures and the system's bitmaps: copying screen pixels into a picture, and device bitmaps made
// from pictures (for the clipboard) or read back into them.
#pragma once

#include <windows.h>

#include "framework/Geometry.h"
#include "framework/Picture.h"
#include "framework/UniqueHandle.h"

namespace fw {

// The pixels of the screen rectangle (screen coordinates, right and bottom exclusive) as they are
// visible now, windows on top included; alpha is 0xFF. The copy's success is not examined: where
// nothing could be copied the picture is black. An empty rectangle gives an empty picture.
Picture GrabScreen(const Rect& rect);

// A device bitmap compatible with the screen holding the picture. Raises "Out of system resources"
// when the system cannot make one.
UniqueBitmap PictureToBitmap(const Picture& picture);

// The pixels of a bitmap that is not selected into a context; alpha is 0xFF.
Picture BitmapToPicture(HBITMAP bitmap);

// A copy of the icon in light greys (GreyOut), its shape and transparency kept; null when the system
// cannot read or make one.
UniqueIcon GreyedIcon(HICON icon);

}  // namespace fw
