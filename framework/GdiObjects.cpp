// Pens, brushes and fonts that remake their system object from their description.
#include "framework/GdiObjects.h"

#include "framework/Error.h"
#include "framework/SystemError.h"

namespace fw {

namespace {

template <class H>
H CreatedOrThrow(H handle) {
    if (handle == nullptr) throw Error(SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    return handle;
}

}  // namespace

Pen::Pen(int style, int width, COLORREF color) : style_(style), width_(width), color_(color) {
    LOGPEN pen{.lopnStyle = static_cast<UINT>(style), .lopnWidth = {width, 0}, .lopnColor = color};
    handle_.reset(CreatedOrThrow(CreatePenIndirect(&pen)));
}

Pen& Pen::operator=(const Pen& other) {
    if (this != &other) {
        Pen copy(other);
        style_ = copy.style_;
        width_ = copy.width_;
        color_ = copy.color_;
        handle_ = std::move(copy.handle_);
    }
    return *this;
}

Brush::Brush(COLORREF color, UINT style, ULONG_PTR hatch) : color_(color), style_(style), hatch_(hatch) {
    LOGBRUSH brush{.lbStyle = style, .lbColor = color, .lbHatch = hatch};
    handle_.reset(CreatedOrThrow(CreateBrushIndirect(&brush)));
}

Brush& Brush::operator=(const Brush& other) {
    if (this != &other) {
        Brush copy(other);
        color_ = copy.color_;
        style_ = copy.style_;
        hatch_ = copy.hatch_;
        handle_ = std::move(copy.handle_);
    }
    return *this;
}

Font::Font() : Font(L"Tahoma", 8, SystemColorSpec(COLOR_WINDOWTEXT)) {}

Font::Font(std::wstring face, int pointSize, ColorSpec color, int weight, bool italic)
    : face_(std::move(face)), pointSize_(pointSize), color_(color), weight_(weight), italic_(italic) {}

Font& Font::operator=(const Font& other) {
    if (this != &other) {
        face_ = other.face_;
        pointSize_ = other.pointSize_;
        color_ = other.color_;
        weight_ = other.weight_;
        italic_ = other.italic_;
        dpi_ = 0;
        handle_.reset();
    }
    return *this;
}

HFONT Font::Handle(UINT dpi) const {
    if (!handle_ || dpi != dpi_) {
        LOGFONTW font{};
        font.lfHeight = -MulDiv(pointSize_, static_cast<int>(dpi), 72);
        font.lfWeight = weight_;
        font.lfItalic = italic_ ? TRUE : FALSE;
        font.lfCharSet = DEFAULT_CHARSET;
        face_.copy(font.lfFaceName, LF_FACESIZE - 1);
        handle_.reset(CreatedOrThrow(CreateFontIndirectW(&font)));
        dpi_ = dpi;
    }
    return handle_.get();
}

}  // namespace fw
