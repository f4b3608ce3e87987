// One owner for every system handle: a move-only wrapper that gives the handle back exactly once.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

#include "framework/CommonControls.h"

namespace fw {

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::IsValid(old)) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

template <class H, class Closer, H invalid = H{}>
struct SimpleTraits {
    using Handle = H;
    static Handle Invalid() { return invalid; }
    static bool IsValid(Handle handle) { return handle != invalid; }
    static void Close(Handle handle) { Closer{}(handle); }
};

struct CloseKernelHandle {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct DestroyWindowHandle {
    void operator()(HWND handle) const { DestroyWindow(handle); }
};
struct CloseRegistryKey {
    void operator()(HKEY handle) const { RegCloseKey(handle); }
};
struct FreeGlobalMemory {
    void operator()(HGLOBAL handle) const { GlobalFree(handle); }
};
struct DestroyIconHandle {
    void operator()(HICON handle) const { DestroyIcon(handle); }
};
struct DestroyMenuHandle {
    void operator()(HMENU handle) const { DestroyMenu(handle); }
};
struct DestroyImageList {
    void operator()(HIMAGELIST handle) const { CommonControls().ImageList_Destroy(handle); }
};
using UniqueImageList = UniqueHandle<SimpleTraits<HIMAGELIST, DestroyImageList>>;

// Kernel objects (mutexes, processes, threads) use null for "none".
using UniqueKernelHandle = UniqueHandle<SimpleTraits<HANDLE, CloseKernelHandle>>;
// Files use INVALID_HANDLE_VALUE for "none".
struct FileTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueWindow = UniqueHandle<SimpleTraits<HWND, DestroyWindowHandle>>;
using UniqueKey = UniqueHandle<SimpleTraits<HKEY, CloseRegistryKey>>;
using UniqueGlobalMemory = UniqueHandle<SimpleTraits<HGLOBAL, FreeGlobalMemory>>;
using UniqueIcon = UniqueHandle<SimpleTraits<HICON, DestroyIconHandle>>;
using UniqueMenu = UniqueHandle<SimpleTraits<HMENU, DestroyMenuHandle>>;

// GDI: bitmaps (and other objects) go back with DeleteObject, memory contexts with DeleteDC.
struct DeleteGdiObject {
    void operator()(HGDIOBJ handle) const { DeleteObject(handle); }
};
struct DeleteDeviceContext {
    void operator()(HDC handle) const { DeleteDC(handle); }
};
using UniqueBitmap = UniqueHandle<SimpleTraits<HBITMAP, DeleteGdiObject>>;
using UniqueMemoryDC = UniqueHandle<SimpleTraits<HDC, DeleteDeviceContext>>;
using UniqueFont = UniqueHandle<SimpleTraits<HFONT, DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<SimpleTraits<HBRUSH, DeleteGdiObject>>;
using UniquePen = UniqueHandle<SimpleTraits<HPEN, DeleteGdiObject>>;

// A window's device context from GetDC or GetWindowDC, given back with ReleaseDC.
class UniqueWindowDC {
public:
    UniqueWindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
    ~UniqueWindowDC() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    UniqueWindowDC(const UniqueWindowDC&) = delete;
    UniqueWindowDC& operator=(const UniqueWindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The paint pair of one WM_PAINT: BeginPaint when made, EndPaint however the painting ends. An
// error while painting still validates the area, so it is reported once instead of coming back
// with every new WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }
    // The part of the client area to paint.
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects a GDI object into a context and the previous one back at the end.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace fw
