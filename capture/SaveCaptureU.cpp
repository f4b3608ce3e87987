#include "capture/SaveCaptureU.h"

#include <algorithm>

#include "capture/CaptureFile.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Clipboard.h"
#include "framework/PictureOps.h"

namespace {

// The layout at 96 DPI: client area, the button row (the top panel) and the buttons.
constexpr int kClientWidth = 754;
constexpr int kClientHeight = 415;
constexpr int kPanel1Height = 41;
constexpr int kButtonWidth = 105;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 8;
constexpr int kButton1Left = 11;
constexpr int kButton2Left = 122;
constexpr int kCropRightGap = kClientWidth - 640 - kButtonWidth;  // "Crop to selection" keeps it

constexpr COLORREF kSelectionPenColour = 0x333333;
constexpr int kSelectionBoxSize = 6;

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

int Scale(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

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
        std::find_if(windows_.begin(), windows_.end(), [&](const auto& w) { return w.get() == &window; });
    if (found == windows_.end()) return;
    const std::unique_ptr<TSaveCapture> freed = std::move(*found);
    windows_.erase(found);
}

// ---- TSaveCapture ----

TSaveCapture::TSaveCapture(fw::Application& app, CaptureWindows& owner) : Window(app), owner_(owner) {
    Create({.name = L"Corvalend.SaveCapture",
            .icon = LoadIconW(app.Instance(), MAKEINTRESOURCEW(1)),
            .background = GetSysColorBrush(COLOR_BTNFACE)},
           {.title = u"Save Capture", .style = kWindowStyle, .x = CW_USEDEFAULT});
    CreateControls();
    FormCreate();
    PlaceOnScreen();
}

TSaveCapture::~TSaveCapture() {
    // The controls go before the window: its last messages, and the view's, must not reach this
    // object any more.
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
    CaptureImage_->OnMouseDown = nullptr;
    CaptureImage_->OnMouseMove = nullptr;
    CaptureImage_->OnMouseUp = nullptr;
    CaptureImage_->OnPaint = nullptr;
    CaptureImage_->OnResize = nullptr;
}

void TSaveCapture::CreateControls() {
    const HINSTANCE instance = App().Instance();
    auto button = [&](int id, const wchar_t* caption) {
        return CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                               Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                               /*param=*/nullptr);
    };
    btnCrop_ = button(idCropToSelection, L"Crop to selection");
    ScrollBox1_ = std::make_unique<fw::ScrollBox>(App(), Handle(), WS_EX_STATICEDGE);
    CaptureImage_ = std::make_unique<fw::ImageView>(App(), ScrollBox1_->Handle());
    ScrollBox1_->SetContent(CaptureImage_->Handle());
    ShowWindow(CaptureImage_->Handle(), SW_SHOWNA);
    SelectedArea_ = std::make_unique<TSizeRect>(CaptureImage_->Host());
    Button1_ = button(idSaveToFile, L"Save to file...");
    Button2_ = button(idCopyToClipboard, L"Copy to clipboard");

    CaptureImage_->OnMouseDown = [this](fw::MouseButton b, fw::ShiftState s, int x, int y) {
        CaptureImageMouseDown(b, s, x, y);
    };
    CaptureImage_->OnMouseMove = [this](fw::ShiftState s, int x, int y) { CaptureImageMouseMove(s, x, y); };
    CaptureImage_->OnMouseUp = [this](fw::MouseButton b, fw::ShiftState s, int x, int y) {
        CaptureImageMouseUp(b, s, x, y);
    };
    CaptureImage_->OnPaint = [this](HDC dc) { PaintDraggedFrame(dc); };
    CaptureImage_->OnResize = [this] { ScrollBox1_->ContentResized(); };

    TSizeRect& area = *SelectedArea_;
    area.SetNormalBrush(fw::Brush::Hollow());
    area.SetNormalPen(fw::Pen(PS_DOT, 1, kSelectionPenColour));
    area.SetBoxSize(kSelectionBoxSize);
    area.SetNormalDisplayFont(fw::Font(L"Tahoma", 8, GetSysColor(COLOR_WINDOWTEXT)));
    area.SetActiveDisplayFont(fw::Font(L"Tahoma", 8, GetSysColor(COLOR_WINDOWTEXT)));
    area.SetDisplayInfoFormat(u"w: %w h: %h l: %l t: %t");
    area.SetBounds(10, 10, 100, 100);
    area.OnMouseDown = [this](TSizeRect& sender, fw::MouseButton b, fw::ShiftState s, int x, int y) {
        SelectedAreaMouseDown(sender, b, s, x, y);
    };
    area.OnMouseUp = [this](TSizeRect& sender, fw::MouseButton b, fw::ShiftState s, int x, int y) {
        SelectedAreaMouseUp(sender, b, s, x, y);
    };

    SaveScreenshotDialog_.Title = u"Save screenshot";
    SaveScreenshotDialog_.Filter = u"JPEG|*.jpg|Bitmap|*.bmp";
    SaveScreenshotDialog_.SetDefaultExt(u"jpg");
    SaveScreenshotDialog_.OverwritePrompt = false;
    SaveScreenshotDialog_.OnTypeChange = [this](fw::SaveDialog& sender) { SaveScreenshotDialogTypeChange(sender); };
}

void TSaveCapture::FormCreate() {
    SelectedArea_->Hide();
}

void TSaveCapture::PlaceOnScreen() {
    const UINT dpi = GetDpiForWindow(Handle());
    RECT frame{0, 0, Scale(kClientWidth, dpi), Scale(kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, /*menu=*/FALSE, 0, dpi);
    const RECT work = fw::WorkAreaOf(Handle());
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
    const int top = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);
    SetWindowPos(Handle(), /*after=*/nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void TSaveCapture::Layout() {
    if (!ScrollBox1_) return;  // the window's first size comes before its controls
    const UINT dpi = GetDpiForWindow(Handle());
    RECT client{};
    GetClientRect(Handle(), &client);
    const int buttonWidth = Scale(kButtonWidth, dpi);
    const int buttonHeight = Scale(kButtonHeight, dpi);
    const int top = Scale(kButtonTop, dpi);
    const int panel1 = Scale(kPanel1Height, dpi);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(Button1_, nullptr, Scale(kButton1Left, dpi), top, buttonWidth, buttonHeight, flags);
    SetWindowPos(Button2_, nullptr, Scale(kButton2Left, dpi), top, buttonWidth, buttonHeight, flags);
    SetWindowPos(btnCrop_, nullptr, client.right - Scale(kCropRightGap, dpi) - buttonWidth, top, buttonWidth,
                 buttonHeight, flags);
    SetWindowPos(ScrollBox1_->Handle(), nullptr, 0, panel1, client.right, std::max<int>(client.bottom - panel1, 0),
                 flags);
    const HFONT font = font_.Handle(dpi);
    for (const HWND button : {Button1_, Button2_, btnCrop_}) {
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}

void TSaveCapture::Show() {
    ShowWindow(Handle(), SW_SHOW);
}

void TSaveCapture::Close() {
    FormClose();
}

void TSaveCapture::FormClose() {
    // The close action is "free": the window goes once the message that closed it is done.
    if (closing_) return;
    closing_ = true;
    Release();
}

void TSaveCapture::FreeReleased() {
    owner_.Free(*this);
}

LRESULT TSaveCapture::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                switch (LOWORD(wParam)) {
                    case idCropToSelection:
                        btnCropClick();
                        return 0;
                    case idSaveToFile:
                        Button1Click();
                        return 0;
                    case idCopyToClipboard:
                        Button2Click();
                        return 0;
                    default:
                        break;
                }
            }
            break;
        case WM_SIZE:
            Layout();
            break;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            Layout();
            return 0;
        }
        case WM_CLOSE:
            Close();
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

// ---- Drawing a selection ----

SelectionBounds TSaveCapture::Selection() const {
    const TSizeRect& area = *SelectedArea_;
    return {area.Left(), area.Top(), area.Width(), area.Height(), area.Visible()};
}

void TSaveCapture::CaptureImageMouseDown(fw::MouseButton /*button*/, fw::ShiftState /*shift*/, int x, int y) {
    InvalidateDraggedFrame();
    SelectedArea_->SetBounds(x, y, 0, 0);
    SelectedArea_->Hide();
}

void TSaveCapture::CaptureImageMouseMove(fw::ShiftState shift, int x, int y) {
    if (shift != fw::ShiftState(fw::ShiftState::Left)) return;
    InvalidateDraggedFrame();
    TSizeRect& area = *SelectedArea_;
    area.Show();
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

fw::PixelRect TSaveCapture::DraggedFrame() const {
    SelectionBounds bounds = Selection();
    if (!bounds.visible || (bounds.width >= 0 && bounds.height >= 0) || bounds.width == 0 || bounds.height == 0) {
        return {};
    }
    ::NormalizeSelection(bounds);
    return {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
}

void TSaveCapture::InvalidateDraggedFrame() {
    const fw::PixelRect frame = DraggedFrame();
    if (frame.IsEmpty()) return;
    const RECT area{frame.left, frame.top, frame.right, frame.bottom};
    InvalidateRect(CaptureImage_->Handle(), &area, FALSE);
}

void TSaveCapture::PaintDraggedFrame(HDC dc) {
    const fw::PixelRect frame = DraggedFrame();
    if (frame.IsEmpty()) return;
    const TSizeRect& area = *SelectedArea_;
    fw::SavedDC saved(dc);
    SelectObject(dc, area.NormalPen().Handle());
    SelectObject(dc, area.NormalBrush().Handle());
    SetBkMode(dc, TRANSPARENT);
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
}

// ---- Shade, crop, copy and save ----

void TSaveCapture::NormalizeSelection() {
    SelectionBounds bounds = Selection();
    ::NormalizeSelection(bounds);
    SelectedArea_->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
}

fw::PixelRect TSaveCapture::GetSelectionRect() const {
    const fw::Picture& picture = CaptureImage_->GetPicture();
    return ::GetSelectionRect(Selection(), picture.width, picture.height);
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
    CaptureImage_->SetPicture(CopySelectionToBitmap());
    SelectedArea_->Hide();
}

void TSaveCapture::CopyCaptureToClipboard() {
    fw::UniqueBitmap bitmap = fw::PictureToBitmap(CopySelectionToBitmap());
    fw::Clipboard(Handle()).SetBitmap(std::move(bitmap));
    Close();
}

void TSaveCapture::SaveCaptureToFile() {
    const fw::Picture selection = CopySelectionToBitmap();
    if (!SaveScreenshotDialog_.Execute(Handle())) return;
    SaveCaptureFile(files_, SaveScreenshotDialog_.FileName, selection);
    Close();
}

void TSaveCapture::SaveScreenshotDialogTypeChange(fw::SaveDialog& sender) {
    sender.SetDefaultExt(DefaultExtForFileType(sender.FilterIndex));
    sender.SetDialogFileName(ChangeFileExt(sender.DialogFileName(), sender.DefaultExt()));
}
