// Pictures and the clipboard in the Windows and end-to-end tests: what a window paints or the
// clipboard holds, read into a picture or a text, and how far two pictures differ.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Picture.h"

namespace wintest {

// A picture of `width` x `height` with what `draw` paints into a memory context that holds it;
// pixels as 0x00RRGGBB.
fw::Picture RenderPicture(int width, int height, const std::function<void(HDC)>& draw);
// The window's client area as it paints itself (WM_PRINTCLIENT), whether or not it is on the screen.
fw::Picture PrintClient(HWND window);
// The context's pixels from its top-left corner.
fw::Picture CopyFromDC(HDC source, int width, int height);

// The clipboard's bitmap; empty when there is none.
fw::Picture ClipboardPicture();
// The clipboard's Unicode text ("" when it holds none), and emptying it.
std::u16string ClipboardText();
void EmptyTheClipboard();

// The mean difference of the colour channels of two pictures of one size (a large one otherwise).
double MeanChannelError(const fw::Picture& a, const fw::Picture& b);

}  // namespace wintest
