// Mouse input as the toolkit's controls see it: which button, the keys and buttons held, and the
// toolkit's cursor ids. Portable, so control logic can be tested without the system.
#pragma once

#include <cstdint>

// The mouse buttons as the tray icon's and the link label's events name them.
enum TMouseButton { mbLeft, mbRight, mbMiddle };

namespace fw {

enum class MouseButton { Left, Right, Middle };

// The modifier keys and mouse buttons held during a mouse event, as a set of flags.
struct ShiftState {
    enum Flag : uint8_t {
        Shift = 1 << 0,
        Alt = 1 << 1,
        Ctrl = 1 << 2,
        Left = 1 << 3,
        Right = 1 << 4,
        Middle = 1 << 5,
        Double = 1 << 6,  // the press is the second of a double click
    };
    uint8_t flags = 0;

    ShiftState() = default;
    constexpr ShiftState(uint8_t f) : flags(f) {}  // NOLINT: flags combine naturally, e.g. Left | Shift
    constexpr bool Has(Flag f) const { return (flags & f) != 0; }
    friend constexpr bool operator==(ShiftState, ShiftState) = default;
};

// The toolkit's cursor ids: 0 means "no cursor of its own" (the parent's), negative values are the
// system's standard cursors.
using CursorId = int16_t;
constexpr CursorId crDefault = 0;
constexpr CursorId crArrow = -2;
constexpr CursorId crCross = -3;
constexpr CursorId crIBeam = -4;
constexpr CursorId crSizeNESW = -6;
constexpr CursorId crSizeNS = -7;
constexpr CursorId crSizeNWSE = -8;
constexpr CursorId crSizeWE = -9;
constexpr CursorId crUpArrow = -10;
constexpr CursorId crHourGlass = -11;
constexpr CursorId crNo = -18;
constexpr CursorId crAppStart = -19;
constexpr CursorId crHelp = -20;
constexpr CursorId crHandPoint = -21;
constexpr CursorId crSizeAll = -22;

}  // namespace fw
