// A popup menu: items with a caption and a click handler ("-" is a separator), one of which may be
// the default item. Popup shows it at a screen point and runs the chosen item's handler before it
// returns.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class UtilWindow;

struct MenuItem {
    std::u16string Caption;  // "-" makes a separator
    std::function<void()> OnClick;
    bool Default = false;

    bool IsSeparator() const { return Caption == u"-"; }
};

class PopupMenu {
public:
    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    std::vector<MenuItem> Items;
    // Whether the object showing the menu (a tray icon) pops it up by itself.
    bool AutoPopup = true;
    // The object that showed the menu last; for the items' handlers.
    const void* PopupComponent = nullptr;

    // Shows the menu at the screen point and runs the handler of the item chosen, if any. The menu
    // is built anew for each showing, so changed items show at once.
    void Popup(int x, int y);

private:
    // The window that owns the menu while it shows.
    std::unique_ptr<UtilWindow> window_;
};

}  // namespace fw
