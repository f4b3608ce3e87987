// Driving the running program's capture windows from outside, as a user would: a distinctive window
// to capture, finding the capture window and its parts, real mouse input, and reading the screen.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "framework/Geometry.h"
#include "framework/Picture.h"

namespace e2e {

// A window of this process that shows a picture with a different colour in almost every pixel, at
// a known place on the screen; made once it shows there.
class PatternWindow {
public:
    PatternWindow(int left, int top, int width, int height);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    fw::Rect Rect() const;
    // Its picture shows on the screen (nothing covers it).
    bool OnScreen() const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// The process's visible capture window once its picture is shown; null after the time.
HWND WaitForCaptureWindow(DWORD processId, std::chrono::milliseconds timeout);
// Waits until the process has no capture window any more; false after the time.
bool WaitNoCaptureWindow(DWORD processId, std::chrono::milliseconds timeout);
// The capture window's image view and its buttons by caption.
HWND CaptureView(HWND captureWindow);
HWND CaptureButton(HWND captureWindow, const wchar_t* caption);
// The window's rectangle on the screen.
fw::Rect ScreenRect(HWND window);

// Clicks through the system's input queue, in screen pixels.
void ClickAt(int x, int y);
void ClickCentre(HWND window);
// A left-button drag in a few steps, from and to view pixels of the image view.
void DragOnView(HWND view, POINT from, POINT to);

// The whole primary screen as it is now.
fw::Picture GrabWholeScreen();

// A path for a test artefact in build/test-artefacts (created when missing), and its Unix form when
// the path lies on Wine's drive for the root folder.
std::u16string ArtefactPath(const std::u16string& name);
std::string HostPath(const std::u16string& path);

}  // namespace e2e
