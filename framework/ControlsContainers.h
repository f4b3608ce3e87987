// Child windows that hold controls: a panel (optionally bordered and coloured), a frame (a panel
// made to be a reusable group of controls), a page control with its pages, and a scroll box that
// stacks its controls in a column and scrolls it.
//
// Controls on a container take it as their parent: fw::Label lbl{panel, {...}}. Their bounds are
// in the container's client area.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/AccessibleName.h"
#include "framework/Controls.h"

namespace fw {

enum class PanelBorder { None, Lowered, Single };

struct PanelOptions {
    PanelBorder border = PanelBorder::None;
    std::optional<COLORREF> color = {};  // none: the parent's colour
};

// A plain child container (our own window class).
class Panel : public Control, public Container {
public:
    Panel(Container& parent, const ControlInfo& info, const PanelOptions& options = {});

    HWND ContainerHandle() const override { return Handle(); }
    Form& RootForm() const override { return OwnerForm(); }

protected:
    struct Extra {
        DWORD style = 0;
        DWORD exStyle = 0;
    };
    Panel(Container& parent, const ControlInfo& info, const PanelOptions& options, const Extra& extra);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    Container* ParentContainer() const override { return Parent(); }
};

// A group of controls built as one unit (an editor for one item, say) and placed on a form, a
// panel or in a scroll box's column.
class Frame : public Panel {
public:
    Frame(Container& parent, const ControlInfo& info, const PanelOptions& options = {})
        : Panel(parent, info, options) {}
};

class PageControl;

// One page of a page control; it fills the page control's display area.
class TabSheet : public Panel {
public:
    TabSheet(PageControl& pages, const std::u16string& caption);
    ~TabSheet() override;

private:
    PageControl& pages_;
};

// Pages of which one shows at a time. With tabs it is the system's tab control and the user picks
// a page by its tab; without, a plain container and the program turns the pages.
class PageControl : public Control, public Container {
public:
    PageControl(Container& parent, const ControlInfo& info, bool showTabs = true);

    HWND ContainerHandle() const override { return Handle(); }
    Form& RootForm() const override { return OwnerForm(); }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabSheet& Page(int index) const { return *pages_.at(static_cast<size_t>(index)); }
    int ActivePageIndex() const { return active_; }
    void SetActivePageIndex(int index);  // raises no OnChange
    TabSheet* ActivePage() const { return active_ >= 0 ? pages_[static_cast<size_t>(active_)] : nullptr; }
    void SetActivePage(TabSheet& page);
    // The next (or previous) page, going round, as the user's pick: raises OnChange. False without
    // tabs or with one page.
    bool TurnPage(bool backward);
    // The display area in the page control's client area, pixels at 96 DPI.
    Bounds PageBounds96() const;

    std::function<void()> OnChange;  // the user picked another tab

protected:
    LRESULT OnNotify(NMHDR& header) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    Container* ParentContainer() const override { return Parent(); }
    void LayoutControls() override;
    void LayoutControl(Control& control) override;
    bool ErasesBackground() const override { return !showTabs_; }

private:
    friend class TabSheet;
    void AddPage(TabSheet& page);
    // Alt+key of a tab's caption: shows its page; true when one has it.
    bool PressTab(char16_t c);
    void RemovePage(TabSheet& page);
    RECT DisplayRect() const;

    bool showTabs_;
    std::vector<TabSheet*> pages_;
    int active_ = -1;
    // The tabs read as the page shown: the system's tab control has no text of its own.
    AccessibleName accessibleName_;
};

// A column of controls (frames, usually) stacked from the top in creation order, each as wide as
// the box and as high as its own bounds say; hidden ones take no room. The column scrolls
// vertically with the scroll bar and the mouse wheel.
//
// A virtual column has windows for only some of its rows, so that it may have thousands: its height
// is given, each visible control stands at the top its own bounds give (in the column), and
// OnViewChange lets the owner make, bind and place the controls for the part in view.
class ColumnScrollBox : public Panel {
public:
    ColumnScrollBox(Container& parent, const ControlInfo& info, const PanelOptions& options = {});

    // How far the column is scrolled, in device pixels.
    int ScrollPosition() const { return position_; }
    void ScrollTo(int position);
    // The height of the whole column in device pixels.
    int ColumnHeight() const;

    // Makes the column virtual, `height` pixels high at 96 DPI; again whenever rows come or go.
    void SetVirtualHeight(int height);
    // The part of the column in view, in pixels at 96 DPI.
    Bounds View96() const;
    // A virtual column's view moved or changed its size; the controls are placed after it returns.
    std::function<void()> OnViewChange;

    // Scrolls the least that shows the part of the column from `top` to `bottom` (device pixels in
    // the column, not in the view); its top when it is higher than the view.
    void ScrollIntoView(int top, int bottom);
    // Keyboard focus: a virtual column's owner knows where the rows are. OnTabOut: Tab leaves the
    // control `child`, true when the owner has moved the focus; OnShowFocused: the keyboard brought
    // the focus into `child`. Without the latter the child's own place is scrolled into view.
    std::function<bool(Control& child, bool backward)> OnTabOut;
    std::function<void(Control& child)> OnShowFocused;
    bool TabOut(Control& child, bool backward) override { return OnTabOut && OnTabOut(child, backward); }
    void ShowFocused(Control& child) override;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayoutControls() override;
    void LayoutControl(Control& control) override;
    void ControlRemoved() override;  // the column closes the gap

private:
    int LineHeight() const;
    void Place(Control& control, int top, int width) const;

    int position_ = 0;
    int wheelRemainder_ = 0;
    std::optional<int> virtualHeight_;
};

}  // namespace fw
