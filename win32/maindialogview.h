#pragma once

#include "dialog/controller.h"
#include "dialog/dialogwindow.h"
#include "model/record.h"
#include "win32/prompts.h"
#include "win32/urlopener.h"

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <vector>

// The main dialog on Win32: the window that the system builds from the
// in-memory template, and the dialog procedure that hands every message to
// one small handler, which forwards to the controller. It keeps no logic of
// its own beyond translating: the controller decides, this window shows.
class MainDialogView : public DialogWindow {
public:
    // The image commands reach the image library through imageLayer (none:
    // the image buttons do nothing). Without prompts or an opener the view
    // uses the system's save dialog, message boxes and shell.
    explicit MainDialogView(ImageLayer* imageLayer, UserPrompts* prompts = nullptr, UrlOpener* urlOpener = nullptr);

    // Runs the dialog modally, without an owner window, until it ends;
    // returns the system's result (the dialog's end result, or -1 when it
    // could not be created). The record is attached while the dialog
    // initialises.
    INT_PTR RunModal(HINSTANCE instance, DecagonRecord* record);
    // The same dialog, modeless and hidden until shown, for tests and tools.
    HWND CreateModeless(HINSTANCE instance, DecagonRecord* record, HWND owner);

    HWND Window() const { return dialog_; }
    DialogController& Controller() { return controller_; }
    // The result EndDialog was called with; 0 while the dialog runs.
    int EndResult() const { return endResult_; }
    // The preview as last presented; no pixels before the first Compute.
    const Canvas& Preview() const { return preview_; }
    // Where the preview lies, in the 96-dpi pixels the controller speaks
    // (its box is 250 x 250 of them), and on the screen in device pixels.
    PixelPoint PreviewPosition() const { return previewAt_; }
    RECT PreviewDeviceRect() const;
    // The window's resolution: 96 dots per inch at 100 %, 144 at 150 %, 192
    // at 200 %.
    UINT Dpi() const { return dpi_; }

    // DialogWindow.
    std::string ItemText(int controlId) const override;
    void SetItemText(int controlId, const std::string& text) override;
    bool IsButtonChecked(int controlId) const override;
    void SetButtonChecked(int controlId, bool checked) override;
    int AddListItem(int controlId, const std::string& text, std::int32_t data) override;
    int ListItemCount(int controlId) const override;
    int ListSelection(int controlId) const override;
    void SetListSelection(int controlId, int index) override;
    std::int32_t ListItemData(int controlId, int index) const override;
    void FocusItem(int controlId) override;
    void SelectItemText(int controlId, int first, int last) override;
    void LimitItemText(int controlId, int limit) override;
    PixelRect ClientRect() const override;
    void PresentPreview(const Canvas& box, PixelPoint where) override;
    void EndDialog(int result) override;

    // The handlers of the dialog procedure.
    BOOL OnInitDialog(HWND dialog);
    void OnCommand(int controlId, UINT code);
    void OnNotify(const NMHDR* header);
    void OnPaint();
    void OnDestroy();
    // The window moved to a monitor of another scale: it takes the
    // rectangle the system suggests, and everything it sizes in pixels
    // (the preview, the colour items, the picture and the icon) the new
    // scale.
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    // Paints what the dialog draws itself (the preview) onto a surface of
    // its client area.
    void PaintClient(HDC surface);

private:
    struct ControlEntry;
    // The control with the id, if it is of the window class (any class when
    // none is given); nullptr if not.
    const ControlEntry* Find(int controlId, const char* windowClass = nullptr) const;
    HWND Control(int controlId, const char* windowClass = nullptr) const;
    // Fills the tables of the controls below from the dialog's children.
    void FindControls();
    // A length in 96-dpi pixels on this window's screen.
    int Scaled(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }
    // The picture and the icon at the window's scale, from the sources
    // drawn for it; at 96 dpi those of the template stay.
    void ShowArtwork();

    // The dialog's controls, found once when the dialog is made: its
    // controls never change, and asking the system for a control by id, or
    // walking a radio group window by window, goes through all of them
    // (under wine, with calls to its server on the way). In window order,
    // and by id.
    struct ControlEntry {
        HWND window;
        std::string windowClass;
        bool startsGroup;
        bool isRadio;
    };
    std::vector<ControlEntry> order_;
    std::unordered_map<int, std::size_t> controls_;

    HWND dialog_ = nullptr;
    DecagonRecord* record_ = nullptr;
    std::vector<std::uint8_t> template_;
    Win32UserPrompts ownPrompts_;
    ShellUrlOpener ownOpener_;
    DialogController controller_;
    Canvas preview_;
    PixelPoint previewAt_ = {0, 0};
    int endResult_ = 0;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HBITMAP picture_ = nullptr; // the scaled picture and icon, the view's own
    HICON icon_ = nullptr;
};

// The dialog procedure of the main dialog. The creation parameter is the
// MainDialogView.
INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The owner-drawn colour lists: every item is 100 x 20 pixels at 96 dpi
// (scaled by dpi / 96), and is painted as a swatch of its palette position.
// DrawColorListItem answers FALSE (not handled) for an item id of -1.
void MeasureColorListItem(MEASUREITEMSTRUCT& item, UINT dpi = USER_DEFAULT_SCREEN_DPI);
BOOL DrawColorListItem(const DRAWITEMSTRUCT& item);
