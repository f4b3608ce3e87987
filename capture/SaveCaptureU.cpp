// The capture window's controls and handlers: drawing, cropping (and undoing it), copying and saving
// the selection.
#include "capture/SaveCaptureU.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "capture/CaptureFile.h"
#include "capture/CaptureSaveRules.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Clipboard.h"
#include "framework/PictureOps.h"
#include "framework/Registry.h"
#include "framework/Win32Geometry.h"

namespace corvalend {

namespace {

// The button row (the top panel) at 96 DPI; the scroll box takes the rest of the client area.
constexpr int kPanel1Height = 41;

constexpr COLORREF kSelectionPenColour = 0x333333;
constexpr int kSelectionBoxSize = 6;

}  // namespace

// ---- CaptureWindows ----

CaptureWindows::~CaptureWindows() {
    // One at a time, newest first: a window going may not find itself in a half-cleared list.
    while (!windows_.empty()) {
        std::unique_ptr<TSaveCapture> last = std::move(windows_.back());
        windows_.pop_back();
    }
}

TSaveCapture& CaptureWindows::Add(fw::Application& app) {
    windows_.push_back(std::make_unique<TSaveCapture>(app, *this));
    return *windows_.back();
}

void CaptureWindows::Free(TSaveCapture& window) {
    const auto found =
        std::find_if(windows_.begin(), windows_.end(), [&](const auto& owned) { return owned.get() == &window; });
    if (found == windows_.end()) return;
    const std::unique_ptr<TSaveCapture> freed = std::move(*found);
    windows_.erase(found);
}

// ---- TSaveCapture ----

TSaveCapture::TSaveCapture(fw::Application& app, CaptureWindows& owner)
    : Form(app,
           /*owner=*/nullptr,
           {.caption = u"Save Capture",
            .clientWidth = 754,
            .clientHeight = 415,
            .position = fw::FormPosition::ScreenCenter,
            .windowClass = L"Corvalend.SaveCapture",
            .icon = LoadIconW(app.Instance(), MAKEINTRESOURCEW(1))}),
      owner_(owner) {
    OnClose = [this](fw::CloseAction& action) { FormClose(action); };
    OnKeyDown = [this](UINT key) { return FormKeyDown(key); };
    CreateControls();
    FormCreate();
    LayoutControls();
}

TSaveCapture::~TSaveCapture() {
    // The view's last messages must not reach this object any more.
    CaptureImage_->OnMouseDown = nullptr;
    CaptureImage_->OnMouseMove = nullptr;
    CaptureImage_->OnMouseUp = nullptr;
    CaptureImage_->OnPaintOver = nullptr;
    CaptureImage_->OnResize = nullptr;
}

void TSaveCapture::CreateControls() {
    btnCrop.OnClick = [this] { btnCropClick(); };
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    ScrollBox1_ = std::make_unique<fw::ScrollBox>(App(), Handle(), WS_EX_STATICEDGE);
    CaptureImage_ = std::make_unique<fw::ImageView>(App(), ScrollBox1_->Handle());
    ScrollBox1_->SetContent(CaptureImage_->Handle());
    ShowWindow(CaptureImage_->Handle(), SW_SHOWNA);
    SelectedArea_ = std::make_unique<TSizeRect>(CaptureImage_->Host());

    CaptureImage_->OnMouseDown = [this](fw::MouseButton button, fw::ShiftState shift, int x, int y) {
        CaptureImageMouseDown(button, shift, x, y);
    };
    CaptureImage_->OnMouseMove = [this](fw::ShiftState shift, int x, int y) { CaptureImageMouseMove(shift, x, y); };
    CaptureImage_->OnMouseUp = [this](fw::MouseButton button, fw::ShiftState shift, int x, int y) {
        CaptureImageMouseUp(button, shift, x, y);
    };
    CaptureImage_->OnPaintOver = [this](HDC dc) { PaintDraggedFrame(dc); };
    CaptureImage_->OnResize = [this] { ScrollBox1_->ContentResized(); };

    TSizeRect& area = *SelectedArea_;
    area.SetNormalBrush(fw::Brush::Hollow());
    area.SetNormalPen(fw::Pen(PS_DOT, 1, kSelectionPenColour));
    area.SetBoxSize(kSelectionBoxSize);
    area.SetNormalDisplayFont(fw::Font(L"Tahoma", 8, fw::SystemColorSpec(COLOR_WINDOWTEXT)));
    area.SetActiveDisplayFont(fw::Font(L"Tahoma", 8, fw::SystemColorSpec(COLOR_WINDOWTEXT)));
    area.SetDisplayInfoFormat(u"w: %w h: %h l: %l t: %t");
    area.SetBounds(10, 10, 100, 100);
    // The picture and its selection are drawn, not windows of the system: a screen reader hears of
    // both from the view, with the selection as its text shows it.
    CaptureImageName_ = std::make_unique<fw::AccessibleName>(
        CaptureImage_->Handle(),
        [this] {
            const fw::Rect selection = GetSelectionRect();
            return u"Screen capture, selection " + FormatInfoText(SelectedArea_->DisplayInfoFormat(), selection.Width(),
                                                                  selection.Height(), selection.left, selection.top);
        },
        ROLE_SYSTEM_GRAPHIC);
    area.OnMouseDown = [this](TSizeRect& sender, fw::MouseButton button, fw::ShiftState shift, int x, int y) {
        SelectedAreaMouseDown(sender, button, shift, x, y);
    };
    area.OnMouseUp = [this](TSizeRect& sender, fw::MouseButton button, fw::ShiftState shift, int x, int y) {
        SelectedAreaMouseUp(sender, button, shift, x, y);
    };

    SaveScreenshotDialog_.Title = u"Save screenshot";
    SaveScreenshotDialog_.Filter = kCaptureSaveFilter;
    SaveScreenshotDialog_.SetDefaultExt(u"jpg");
    SaveScreenshotDialog_.OverwritePrompt = false;
    SaveScreenshotDialog_.OnTypeChange = [this](fw::SaveDialog& sender) { SaveScreenshotDialogTypeChange(sender); };
}

void TSaveCapture::FormCreate() {
    SetActiveControl(btnCrop.Handle());
    SelectedArea_->Hide();
    UpdateCropButton();
}

void TSaveCapture::FormClose(fw::CloseAction& action) {
    action = fw::CloseAction::Free;
}

void TSaveCapture::LayoutControls() {
    Form::LayoutControls();
    if (!ScrollBox1_) return;  // the window's first size comes before the scroll box
    RECT client{};
    GetClientRect(Handle(), &client);
    const int top = fw::ScaleForDpi(kPanel1Height, Dpi());
    SetWindowPos(ScrollBox1_->Handle(), /*after=*/nullptr, 0, top, client.right, std::max<int>(client.bottom - top, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSaveCapture::DeleteAfterRelease() {
    owner_.Free(*this);
}

// ---- Drawing a selection ----

SelectionBounds TSaveCapture::Selection() const {
    const TSizeRect& area = *SelectedArea_;
    return {{area.Left(), area.Top(), area.Width(), area.Height()}, area.Visible()};
}

void TSaveCapture::CaptureImageMouseDown(fw::MouseButton /*button*/, fw::ShiftState /*shift*/, int x, int y) {
    InvalidateDraggedFrame();
    SelectedArea_->SetBounds(x, y, 0, 0);
    SelectedArea_->Hide();
    UpdateCropButton();
}

void TSaveCapture::CaptureImageMouseMove(fw::ShiftState shift, int x, int y) {
    if (shift != fw::ShiftState(fw::ShiftState::Left)) return;
    InvalidateDraggedFrame();
    TSizeRect& area = *SelectedArea_;
    area.Show();
    UpdateCropButton();
    area.SetWidth(x - area.Left());
    area.SetHeight(y - area.Top());
    InvalidateDraggedFrame();
}

void TSaveCapture::CaptureImageMouseUp(fw::MouseButton /*button*/, fw::ShiftState /*shift*/, int /*x*/, int /*y*/) {
    ShowSelectionShade();
}

void TSaveCapture::SelectedAreaMouseDown(TSizeRect& /*sender*/,
                                         fw::MouseButton /*button*/,
                                         fw::ShiftState /*shift*/,
                                         int /*x*/,
                                         int /*y*/) {
    RemoveSelectionShade();
}

void TSaveCapture::SelectedAreaMouseUp(TSizeRect& /*sender*/,
                                       fw::MouseButton /*button*/,
                                       fw::ShiftState /*shift*/,
                                       int /*x*/,
                                       int /*y*/) {
    const std::uint32_t now = TickCount();
    if (IsCropRelease(now, SelectedAreaLastDown)) {
        CropToSelection();
        return;
    }
    SelectedAreaLastDown = now;
    ShowSelectionShade();
}

fw::Rect TSaveCapture::DraggedFrame() const {
    SelectionBounds selection = Selection();
    const fw::Bounds& bounds = selection.bounds;
    if (!selection.visible || (bounds.width >= 0 && bounds.height >= 0) || bounds.width == 0 || bounds.height == 0)
        return {};
    corvalend::NormalizeSelection(selection);
    return fw::ToRect(selection.bounds);
}

void TSaveCapture::InvalidateDraggedFrame() {
    const fw::Rect frame = DraggedFrame();
    if (frame.IsEmpty()) return;
    const RECT area = fw::ToRECT(frame);
    InvalidateRect(CaptureImage_->Handle(), &area, FALSE);
}

void TSaveCapture::PaintDraggedFrame(HDC dc) {
    const fw::Rect frame = DraggedFrame();
    if (frame.IsEmpty()) return;
    const TSizeRect& area = *SelectedArea_;
    fw::SavedDC saved(dc);
    SelectSelectionTools(dc, area.NormalPen(), area.NormalBrush());
    SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
}

// ---- Keys ----

bool TSaveCapture::FormKeyDown(UINT key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_MENU) < 0) return false;  // Alt+key stays with the system and the dialog keys
    switch (key) {
        case VK_ESCAPE:
            Close();
            return true;
        case 'C':
            if (!ctrl || shift) return false;
            CopyCaptureToClipboard();
            return true;
        case 'S':
            if (!ctrl || shift) return false;
            SaveCaptureToFile();
            return true;
        case 'Z':
            if (!ctrl || shift) return false;
            UndoCrop();
            return true;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            // Not between the buttons, as the dialog keys would have it: the arrows are the picture's.
            ArrowKey(key, ctrl, shift);
            return true;
        default:
            return false;
    }
}

void TSaveCapture::ArrowKey(UINT key, bool ctrl, bool shift) {
    const bool horizontal = key == VK_LEFT || key == VK_RIGHT;
    const bool forward = key == VK_RIGHT || key == VK_DOWN;
    TSizeRect& area = *SelectedArea_;
    if (!area.Visible()) {
        SendMessageW(ScrollBox1_->Handle(), horizontal ? WM_HSCROLL : WM_VSCROLL, forward ? SB_LINEDOWN : SB_LINEUP, 0);
        return;
    }
    if (GetCapture() != nullptr) return;  // the mouse is drawing or dragging it
    const int step = (shift ? 10 : 1) * (forward ? 1 : -1);
    const int dx = horizontal ? step : 0;
    const int dy = horizontal ? 0 : step;
    const fw::Picture& picture = CaptureImage_->GetPicture();
    const fw::Rect newSelection =
        ctrl ? ResizeSelectionByKey(Selection(), dx, dy, 2 * area.BoxSize(), picture.width, picture.height)
             : MoveSelectionByKey(Selection(), dx, dy, picture.width, picture.height);
    area.SetBounds(newSelection.left, newSelection.top, newSelection.Width(), newSelection.Height());
    ShowSelectionShade();
    // The selection stays in view: with it the arrows no longer scroll.
    const HWND box = ScrollBox1_->Handle();
    RECT view{};
    GetClientRect(box, &view);
    ScrollBox1_->ScrollTo(ScrollToShow(GetScrollPos(box, SB_HORZ), view.right, newSelection.left, newSelection.right),
                          ScrollToShow(GetScrollPos(box, SB_VERT), view.bottom, newSelection.top, newSelection.bottom));
}

// ---- Shade, crop, copy and save ----

void TSaveCapture::NormalizeSelection() {
    SelectionBounds selection = Selection();
    corvalend::NormalizeSelection(selection);
    const fw::Bounds& bounds = selection.bounds;
    SelectedArea_->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
}

fw::Rect TSaveCapture::GetSelectionRect() const {
    const fw::Picture& picture = CaptureImage_->GetPicture();
    return corvalend::GetSelectionRect(Selection(), picture.width, picture.height);
}

void TSaveCapture::ShowSelectionShade() {
    InvalidateDraggedFrame();
    NormalizeSelection();
    const fw::Picture& picture = CaptureImage_->GetPicture();
    CaptureImage_->DeleteOverlay();
    CaptureImage_->AddOverlay(BuildSelectionShade(Selection(), picture.width, picture.height));
}

void TSaveCapture::RemoveSelectionShade() {
    CaptureImage_->DeleteOverlay();
}

fw::Picture TSaveCapture::CopySelectionToBitmap() const {
    return fw::CopyRect(CaptureImage_->GetPicture(), GetSelectionRect());
}

void TSaveCapture::CropToSelection() {
    RemoveSelectionShade();
    fw::Picture cropped = CopySelectionToBitmap();
    earlierPictures_.push_back(CaptureImage_->GetPicture());
    CaptureImage_->SetPicture(std::move(cropped));
    SelectedArea_->Hide();
    UpdateCropButton();
}

void TSaveCapture::UndoCrop() {
    if (earlierPictures_.empty()) return;
    RemoveSelectionShade();
    CaptureImage_->SetPicture(std::move(earlierPictures_.back()));
    earlierPictures_.pop_back();
    SelectedArea_->Hide();
    UpdateCropButton();
}

void TSaveCapture::UpdateCropButton() {
    const bool selected = SelectedArea_->Visible();
    if (btnCrop.Enabled() == selected) return;
    const bool hadFocus = btnCrop.Focused();
    btnCrop.SetEnabled(selected);
    // A disabled control with the focus would leave the keys to nobody.
    if (!selected && hadFocus) {
        cropLentFocus_ = true;
        Button1.SetFocus();
    } else if (selected && std::exchange(cropLentFocus_, false) && Button1.Focused()) {
        btnCrop.SetFocus();
    }
}

void TSaveCapture::CopyCaptureToClipboard() {
    fw::UniqueBitmap bitmap = fw::PictureToBitmap(CopySelectionToBitmap());
    fw::Clipboard(Handle()).SetBitmap(std::move(bitmap));
    Close();
}

void TSaveCapture::SaveCaptureToFile() {
    const fw::Picture selection = CopySelectionToBitmap();
    PrepareSaveDialog();
    if (!SaveScreenshotDialog_.Execute(Handle())) return;
    SaveCaptureFile(files_, SaveScreenshotDialog_.FileName, selection, png_);
    Close();
    KeepSavePlace(SaveScreenshotDialog_.FileName);  // the file is saved, whatever happens to the settings
}

void TSaveCapture::PrepareSaveDialog() {
    fw::SaveDialog& dialog = SaveScreenshotDialog_;
    CaptureSaveStart start;
    if (!owner_.SettingsKey.empty()) {
        const fw::RegistryIni settings(owner_.SettingsKey);
        const std::u16string folder = settings.ReadString(kCaptureFolderValue, u"");
        start = ChooseCaptureSaveStart(folder, settings.ReadString(kCaptureTypeValue, u""),
                                       !folder.empty() && fw::DirectoryExists(folder));
    }
    dialog.InitialDir = start.folder;
    dialog.FilterIndex = start.filterIndex;
    dialog.SetDefaultExt(DefaultExtForFileType(start.filterIndex));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    // With its extension: the dialog would take the seconds after the last dot for one.
    dialog.FileName = DefaultCaptureName({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}) +
                      u"." + dialog.DefaultExt();
}

void TSaveCapture::KeepSavePlace(const std::u16string& fileName) {
    if (owner_.SettingsKey.empty()) return;
    fw::RegistryIni settings(owner_.SettingsKey);
    // With its final separator, so that a drive's root stays the root and not the drive's current folder.
    settings.WriteString(kCaptureFolderValue, fileName.substr(0, fileName.find_last_of(u"\\/") + 1));
    settings.WriteString(kCaptureTypeValue, KeptCaptureType(CaptureFileFormatFor(fileName)));
}

void TSaveCapture::SaveScreenshotDialogTypeChange(fw::SaveDialog& sender) {
    sender.SetDefaultExt(DefaultExtForFileType(sender.FilterIndex));
    sender.SetDialogFileName(ChangeFileExt(sender.DialogFileName(), sender.DefaultExt()));
}

}  // namespace corvalend
