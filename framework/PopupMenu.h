// A popup menu: items with a caption and a click handler ("-" is a separator), one of which may be
// the default item. Popup shows it at a screen point and runs the chosen item's handler before it
// returns.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/HiddenWindow.h"

namespace fw {

struct MenuItem {
    std::u16string Caption;  // "-" makes a separator
    std::function<void()> OnClick;
    bool Default = false;
    bool Checked = false;  // a tick the system draws and screen readers announce

    bool IsSeparator() const { return Caption == u"-"; }
};

class PopupMenu {
public:
    PopupMenu() = default;
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    std::vector<MenuItem> Items;
    // Whether the object showing the menu (a tray icon) pops it up by itself.
    bool AutoPopup = true;
    // The object that showed the menu last; for the items' handlers.
    const void* PopupComponent = nullptr;

    // Shows the menu at the screen point and runs the handler of the item chosen, if any. The menu
    // is built anew for each showing, so changed items show at once. Opened from the keyboard
    // (`selectFirst`), its first item is selected, as the system's own menus are.
    void Popup(int x, int y, bool selectFirst = false);

private:
    // On the hidden window that owns the menus while they show, from the first showing on.
    HiddenWindow::Member owner_;
};

}  // namespace fw
