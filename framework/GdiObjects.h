// Drawing tools with value semantics: a pen, a brush and a font each keep their description and
// own a system object made from it. Copying one copies the description into a new system object,
// so a control that takes a tool keeps its own.
#pragma once

#include <windows.h>

#include <string>

#include "framework/SystemPalette.h"
#include "framework/UniqueHandle.h"

namespace fw {

// A cosmetic or wide pen as CreatePenIndirect makes it (PS_SOLID, PS_DOT, PS_NULL, ...).
class Pen {
public:
    explicit Pen(int style = PS_SOLID, int width = 1, COLORREF color = RGB(0, 0, 0));
    Pen(const Pen& other) : Pen(other.style_, other.width_, other.color_) {}
    Pen& operator=(const Pen& other);

    int Style() const { return style_; }
    int Width() const { return width_; }
    COLORREF Color() const { return color_; }
    HPEN Handle() const { return handle_.get(); }

private:
    int style_;
    int width_;
    COLORREF color_;
    UniquePen handle_;
};

// A solid, hatched (BS_HATCHED with an HS_ style) or hollow (BS_NULL) brush.
class Brush {
public:
    explicit Brush(COLORREF color = RGB(255, 255, 255), UINT style = BS_SOLID, ULONG_PTR hatch = 0);
    static Brush Hollow() { return Brush(RGB(255, 255, 255), BS_NULL); }
    Brush(const Brush& other) : Brush(other.color_, other.style_, other.hatch_) {}
    Brush& operator=(const Brush& other);

    UINT Style() const { return style_; }
    COLORREF Color() const { return color_; }
    HBRUSH Handle() const { return handle_.get(); }

private:
    COLORREF color_;
    UINT style_;
    ULONG_PTR hatch_;
    UniqueBrush handle_;
};

// A font by face name and size in points, with the colour its text is drawn in (ColorRole::Text: in
// high contrast the scheme's). The system font is made for the DPI it is asked for and kept until
// another DPI is asked for.
class Font {
public:
    Font();  // Tahoma 8 point in the window-text colour
    Font(std::wstring face, int pointSize, ColorSpec color, int weight = FW_NORMAL, bool italic = false);
    Font(const Font& other) : Font(other.face_, other.pointSize_, other.color_, other.weight_, other.italic_) {}
    Font& operator=(const Font& other);

    COLORREF Color() const { return RoleColor(ColorRole::Text, color_); }
    HFONT Handle(UINT dpi) const;

private:
    std::wstring face_;
    int pointSize_;
    ColorSpec color_;
    int weight_;
    bool italic_;
    mutable UINT dpi_ = 0;
    mutable UniqueFont handle_;
};

// Saves a device context's state (origin, clipping, selections, colours) and restores it at the end.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, saved_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace fw
