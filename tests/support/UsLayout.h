// A US keyboard as the system's layout queries report it, for the keystroke sender's test doubles.
#pragma once

#include <cstdint>

// The key code for a character: virtual key in the low byte, SHIFT (1), CTRL (2), ALT (4) in the
// high byte; 0xFFFF when no key types it.
uint16_t UsLayoutKey(char16_t c);
