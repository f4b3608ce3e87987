// Builds the popup menu, tracks it at a point and runs the chosen item's handler.
#include "framework/PopupMenu.h"

#include "framework/SystemError.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"

namespace fw {

namespace {

HiddenWindow menuOwners(/*message=*/0);

}  // namespace

void PopupMenu::Popup(int x, int y, bool selectFirst) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) ThrowLastError();
    for (size_t i = 0; i < Items.size(); ++i) {
        const MenuItem& item = Items[i];
        // Command 0 means "nothing chosen": item i is command i + 1.
        const BOOL added = item.IsSeparator() ? AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr)
                                              : AppendMenuW(menu.get(), MF_STRING | (item.Checked ? MF_CHECKED : 0),
                                                            i + 1, AsWide(item.Caption));
        if (!added) ThrowLastError();
        if (item.Default && !item.IsSeparator()) SetMenuDefaultItem(menu.get(), static_cast<UINT>(i + 1), FALSE);
    }
    if (!owner_) owner_ = menuOwners.Add(HiddenWindow::Handler());
    // The keyboard's Down, waiting in the queue, is the menu's first key: its first item selected.
    if (selectFirst) PostMessageW(menuOwners.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x,
                                                         y, /*reserved=*/0, menuOwners.Handle(), /*rect=*/nullptr));
    // The handler may change the items: take it before running it.
    if (chosen >= 1 && chosen <= Items.size()) {
        const std::function<void()> onClick = Items[chosen - 1].OnClick;
        if (onClick) onClick();
    }
}

}  // namespace fw
