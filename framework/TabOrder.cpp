// The tab stops of a window, walked in the order of its children.
#include "framework/TabOrder.h"

#include <algorithm>
#include <vector>

namespace fw {

namespace {

struct Entry {
    HWND window;
    bool stop;
};

bool Shown(HWND window) {
    const auto style = GetWindowLongPtrW(window, GWL_STYLE);
    return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

// Every window below `parent` in keyboard order, marked where it is a tab stop. Hidden or disabled
// windows keep their place (the focus may sit on one) but are no stops, and neither are their
// children.
void Collect(HWND parent, bool shown, std::vector<Entry>& entries) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool childShown = shown && Shown(child);
        entries.push_back({child, childShown && (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) != 0});
        if (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) Collect(child, childShown, entries);
    }
}

std::vector<Entry> Entries(HWND root) {
    std::vector<Entry> entries;
    Collect(root, /*shown=*/true, entries);
    return entries;
}

}  // namespace

HWND NextTabStop(HWND root, HWND from, bool backward) {
    const std::vector<Entry> entries = Entries(root);
    if (entries.empty()) return nullptr;
    const int count = static_cast<int>(entries.size());
    // The place of `from`, or of the nearest of its parents that is in the walk.
    int at = backward ? 0 : count - 1;  // from nowhere: Tab starts at the first stop, Shift+Tab at the last
    for (HWND window = from; window != nullptr && window != root; window = GetParent(window)) {
        const auto found =
            std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.window == window; });
        if (found != entries.end()) {
            at = static_cast<int>(found - entries.begin());
            break;
        }
    }
    for (int step = 1; step <= count; ++step) {
        const Entry& entry = entries[static_cast<size_t>(((at + (backward ? -step : step)) % count + count) % count)];
        if (entry.stop) return entry.window;
    }
    return nullptr;
}

HWND FirstTabStop(HWND container, bool last) {
    const std::vector<Entry> entries = Entries(container);
    const auto isStop = [](const Entry& entry) { return entry.stop; };
    if (last) {
        const auto found = std::find_if(entries.rbegin(), entries.rend(), isStop);
        return found != entries.rend() ? found->window : nullptr;
    }
    const auto found = std::find_if(entries.begin(), entries.end(), isStop);
    return found != entries.end() ? found->window : nullptr;
}

void FocusFromKeyboard(HWND control) {
    if (control == nullptr) return;
    SetFocus(control);
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

}  // namespace fw
