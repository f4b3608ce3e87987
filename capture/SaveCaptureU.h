// TSaveCapture: the window a capture opens with its picture. The user draws a selection on the
// picture, moves and resizes it, crops the picture to it (button, or two quick releases on it) and
// undoes crops one by one (Ctrl+Z), and copies the selection (or the whole picture) to the clipboard
// or saves it as JPEG, PNG or bitmap; copying and saving close the window. All of it works from the keyboard too. Every
// window is kept by a CaptureWindows list and frees itself, through the list, once it is closed (its close action is
// Free).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "capture/CaptureRules.h"
#include "capture/SizeRect.h"
#include "framework/AccessibleName.h"
#include "framework/ControlsStandard.h"
#include "framework/Form.h"
#include "framework/ImageView.h"
#include "framework/SaveDialog.h"
#include "framework/ScrollBox.h"
#include "framework/WicPngEncoder.h"
#include "framework/Win32FileStore.h"

namespace corvalend {

class TSaveCapture;

// The capture windows open now. The list owns them; a window that closes is freed through it, and
// whatever is still open goes with the list.
class CaptureWindows {
public:
    CaptureWindows() = default;
    ~CaptureWindows();
    CaptureWindows(const CaptureWindows&) = delete;
    CaptureWindows& operator=(const CaptureWindows&) = delete;

    // A new hidden window without a picture.
    TSaveCapture& Add(fw::Application& app);
    size_t Count() const { return windows_.size(); }

    // The settings key (through its redirect, if any) that keeps the folder and type of the last
    // save; "" keeps nothing and each dialog starts as the system has it.
    std::u16string SettingsKey;
    TSaveCapture& operator[](size_t index) const { return *windows_[index]; }

private:
    friend class TSaveCapture;
    void Free(TSaveCapture& window);

    std::vector<std::unique_ptr<TSaveCapture>> windows_;
};

class TSaveCapture final : public fw::Form {
public:
    // Hidden; Show shows it, closing (Close, the close box) frees it once the handler that closed it
    // has returned.
    TSaveCapture(fw::Application& app, CaptureWindows& owner);
    ~TSaveCapture() override;

    // Tab order as they read: save, copy, crop. The focus starts on crop, so Enter crops unless
    // another button has the focus.
    fw::Button Button1{*this, {.text = u"&Save to file...", .bounds = {11, 8, 105, 25}}};
    fw::Button Button2{*this, {.text = u"C&opy to clipboard", .bounds = {122, 8, 106, 25}}};  // room for the caption
    fw::Button btnCrop{*this,
                       {.text = u"&Crop to selection", .bounds = {640, 8, 105, 25}, .anchors = fw::akTop | fw::akRight},
                       {.isDefault = true}};

    fw::ImageView& CaptureImage() { return *CaptureImage_; }
    TSizeRect& SelectedArea() { return *SelectedArea_; }
    fw::ScrollBox& ScrollBox1() { return *ScrollBox1_; }

    // The tick count of the last release on the selection that did not crop.
    std::uint32_t SelectedAreaLastDown = 0;
    // The system's millisecond tick count; tests give their own clock.
    std::function<std::uint32_t()> TickCount = [] { return static_cast<std::uint32_t>(GetTickCount()); };

    void CropToSelection();
    // Back to the picture before the last crop; nothing when there was none.
    void UndoCrop();
    void CopyCaptureToClipboard();
    void SaveCaptureToFile();
    void ShowSelectionShade();
    void RemoveSelectionShade();
    void NormalizeSelection();
    fw::Rect GetSelectionRect() const;
    fw::Picture CopySelectionToBitmap() const;

protected:
    // The scroll box below the buttons fills the rest of the client area.
    void LayoutControls() override;
    void DeleteAfterRelease() override;  // through the list that owns the window

private:
    void CreateControls();
    void FormCreate();
    void FormClose(fw::CloseAction& action);

    void btnCropClick() { CropToSelection(); }
    void Button1Click() { SaveCaptureToFile(); }
    void Button2Click() { CopyCaptureToClipboard(); }
    void CaptureImageMouseDown(fw::MouseButton button, fw::ShiftState shift, int x, int y);
    void CaptureImageMouseMove(fw::ShiftState shift, int x, int y);
    void CaptureImageMouseUp(fw::MouseButton button, fw::ShiftState shift, int x, int y);
    void SelectedAreaMouseDown(TSizeRect& sender, fw::MouseButton button, fw::ShiftState shift, int x, int y);
    void SelectedAreaMouseUp(TSizeRect& sender, fw::MouseButton button, fw::ShiftState shift, int x, int y);
    void SaveScreenshotDialogTypeChange(fw::SaveDialog& sender);
    // Esc closes, Ctrl+C copies, Ctrl+S saves, Ctrl+Z undoes a crop; the arrows move (Ctrl: size) the selection, or
    // scroll the view without one.
    bool FormKeyDown(UINT key);
    void ArrowKey(UINT key, bool ctrl, bool shift);

    // "Crop to selection" only while there is a selection; the focus it had goes to "Save to file..."
    // and comes back with the next selection.
    void UpdateCropButton();
    // The folder and type of the last save, and a name of this moment.
    void PrepareSaveDialog();
    void KeepSavePlace(const std::u16string& fileName);

    SelectionBounds Selection() const;
    // A selection drawn up or left of its start has a negative size and is not painted as a
    // control until the release normalises it; meanwhile the view draws its normalised frame.
    fw::Rect DraggedFrame() const;
    void InvalidateDraggedFrame();
    void PaintDraggedFrame(HDC dc);

    CaptureWindows& owner_;
    fw::Win32FileStore files_;
    fw::WicPngEncoder png_;
    std::vector<fw::Picture> earlierPictures_;  // before each crop, the first one first
    bool cropLentFocus_ = true;                 // the focus meant for "Crop to selection" is elsewhere
    fw::SaveDialog SaveScreenshotDialog_;
    std::unique_ptr<fw::ScrollBox> ScrollBox1_;  // with the lowered edge of the panel that holds it
    std::unique_ptr<fw::ImageView> CaptureImage_;
    std::unique_ptr<TSizeRect> SelectedArea_;               // after the view: it goes first
    std::unique_ptr<fw::AccessibleName> CaptureImageName_;  // of the view and its selection
};

}  // namespace corvalend
