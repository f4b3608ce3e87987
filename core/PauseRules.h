// Hotkeys paused (for a game, say): which live hotkeys stay registered meanwhile, and the texts that
// tell the user so in the tray's tip, the tray menu and the overview popup.
#pragma once

#include <string>
#include <string_view>

#include "core/Hotkeys.h"

namespace corvalend {

inline constexpr char16_t kPauseMenuCaption[] = u"Pause hotkeys";
inline constexpr char16_t kPausedPopupText[] = u"Hotkeys are paused";

// Only the hotkeys that pause or resume stay registered while paused: one of them has to end it.
bool KeptWhilePaused(THotKeyFunc func);

// Registers the list's hotkeys, or while paused only those kept and withdraws the others, which are
// then neither registered nor refused, so that nothing retries them until the pause ends.
void RegisterAsPauseAllows(THotkeyList& list, bool paused);

// The tray icon's tip: the program's title, with " (paused)" after it while paused.
std::u16string TrayTip(std::u16string_view title, bool paused);

}  // namespace corvalend
