// The keyboard's way through a window: its tab stops in the order Tab visits them. A window that
// holds controls (WS_EX_CONTROLPARENT) is gone through in its children's order; unlike the dialog
// manager's walk, one that is a tab stop itself (a tab control over its pages) is visited before
// its children, so its own keys (the arrows, Ctrl+Tab) can be reached.
#pragma once

#include <windows.h>

namespace fw {

// The tab stop after (or before) `from` in `root`, going round; `from` may be any window in `root`
// (a control's own child stands for the control). Null when `root` has no tab stop.
HWND NextTabStop(HWND root, HWND from, bool backward);

// The first (or last) tab stop inside `container`, or null.
HWND FirstTabStop(HWND container, bool last);

// Focuses a control as the keyboard does: a text field entered so has its text selected.
void FocusFromKeyboard(HWND control);

}  // namespace fw
