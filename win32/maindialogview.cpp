#include "win32/maindialogview.h"

#include "fileio/widetext.h"
#include "render/swatch.h"
#include "resources/dialogtemplate.h"
#include "win32/dialogtemplatewriter.h"
#include "win32/dib.h"
#include "win32/numericfilter.h"

#include <windowsx.h>

#include <cstring>

namespace {
MainDialogView* ViewOf(HWND dialog) { return reinterpret_cast<MainDialogView*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

bool IsClass(HWND window, const char* windowClass)
{
    char name[32] = {};
    return window != nullptr && GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, windowClass) == 0;
}

// The controller's events for the codes of the command and notification
// messages; every other code is Other.
ControlEvent CommandEvent(UINT code)
{
    if (code == BN_CLICKED)
        return ControlEvent::ButtonClicked;
    return code == CBN_SELCHANGE ? ControlEvent::SelectionChanged : ControlEvent::Other;
}

ControlEvent NotifyEvent(UINT code)
{
    if (code == NM_CLICK)
        return ControlEvent::LinkClicked;
    return code == NM_RETURN ? ControlEvent::LinkReturn : ControlEvent::Other;
}

// The handlers in the shape the windowsx.h crackers call them.
BOOL OnInitDialog(HWND dialog, HWND, LPARAM parameter)
{
    auto* view = reinterpret_cast<MainDialogView*>(parameter);
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(view));
    return view != nullptr ? view->OnInitDialog(dialog) : TRUE;
}

void OnCommand(HWND dialog, int controlId, HWND, UINT code)
{
    if (MainDialogView* view = ViewOf(dialog))
        view->OnCommand(controlId, code);
}

LRESULT OnNotify(HWND dialog, int, NMHDR* header)
{
    if (MainDialogView* view = ViewOf(dialog))
        view->OnNotify(header);
    return 0;
}

void OnPaint(HWND dialog)
{
    if (MainDialogView* view = ViewOf(dialog)) {
        view->OnPaint();
    } else {
        PAINTSTRUCT paint;
        BeginPaint(dialog, &paint);
        EndPaint(dialog, &paint);
    }
}

void OnDestroy(HWND dialog)
{
    if (MainDialogView* view = ViewOf(dialog))
        view->OnDestroy();
}

// The lists measure their items while the dialog is being made, before
// the view knows the window: the window's own resolution is asked.
void OnMeasureItem(HWND dialog, MEASUREITEMSTRUCT* item) { MeasureColorListItem(*item, GetDpiForWindow(dialog)); }

// A copy of the client area into another surface (PrintWindow and the
// like): the preview too.
void OnPrintClient(HWND dialog, HDC surface)
{
    if (MainDialogView* view = ViewOf(dialog))
        view->PaintClient(surface);
}
} // namespace

void MeasureColorListItem(MEASUREITEMSTRUCT& item, UINT dpi)
{
    const ColorItemSize size = MeasureColorItem();
    const int scale = dpi != 0 ? static_cast<int>(dpi) : USER_DEFAULT_SCREEN_DPI;
    item.itemWidth = static_cast<UINT>(MulDiv(size.width, scale, USER_DEFAULT_SCREEN_DPI));
    item.itemHeight = static_cast<UINT>(MulDiv(size.height, scale, USER_DEFAULT_SCREEN_DPI));
}

BOOL DrawColorListItem(const DRAWITEMSTRUCT& item)
{
    const ColorItemDraw request = {static_cast<int>(item.itemID),
                                   (item.itemState & ODS_SELECTED) != 0 ? kItemStateSelected : 0u,
                                   {item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom},
                                   static_cast<std::intptr_t>(item.itemData)};
    Canvas swatch;
    if (PaintColorSwatch(request, swatch) == 0)
        return FALSE;
    BlitCanvas(item.hDC, item.rcItem.left, item.rcItem.top, swatch);
    return TRUE;
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
        HANDLE_WM_COMMAND(dialog, wParam, lParam, OnCommand);
        return LOWORD(wParam) == kExitId && HIWORD(wParam) == 0 ? TRUE : FALSE;
    case WM_NOTIFY:
        HANDLE_WM_NOTIFY(dialog, wParam, lParam, OnNotify);
        return FALSE;
    case WM_MEASUREITEM:
        HANDLE_WM_MEASUREITEM(dialog, wParam, lParam, OnMeasureItem);
        return TRUE;
    case WM_DRAWITEM:
        // The cracker drops the handler's answer, which this message needs.
        return DrawColorListItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_PAINT:
        HANDLE_WM_PAINT(dialog, wParam, lParam, OnPaint);
        return TRUE;
    case WM_DESTROY:
        HANDLE_WM_DESTROY(dialog, wParam, lParam, OnDestroy);
        return FALSE;
    case WM_PRINTCLIENT:
        OnPrintClient(dialog, reinterpret_cast<HDC>(wParam));
        return TRUE;
    case WM_DPICHANGED:
        if (MainDialogView* view = ViewOf(dialog))
            view->OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

MainDialogView::MainDialogView(ImageLayer* imageLayer, UserPrompts* prompts, UrlOpener* urlOpener)
    : template_(WriteDialogTemplate(MainDialogTemplate)),
      controller_(*this, {prompts != nullptr ? prompts : &ownPrompts_, urlOpener != nullptr ? urlOpener : &ownOpener_,
                          imageLayer})
{
}

INT_PTR MainDialogView::RunModal(HINSTANCE instance, DecagonRecord* record)
{
    record_ = record;
    return DialogBoxIndirectParamA(instance, reinterpret_cast<const DLGTEMPLATE*>(template_.data()), nullptr,
                                   MainDialogProc, reinterpret_cast<LPARAM>(this));
}

HWND MainDialogView::CreateModeless(HINSTANCE instance, DecagonRecord* record, HWND owner)
{
    record_ = record;
    return CreateDialogIndirectParamA(instance, reinterpret_cast<const DLGTEMPLATE*>(template_.data()), owner,
                                      MainDialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL MainDialogView::OnInitDialog(HWND dialog)
{
    dialog_ = dialog;
    FindControls();
    const UINT dpi = GetDpiForWindow(dialog);
    dpi_ = dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
    ShowArtwork();
    ownPrompts_.SetOwner(dialog);
    // The record is the window's user data, as the handlers of the
    // program's other front ends reach it; the controller keeps its own
    // pointer as well.
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record_));
    // The keystroke filter goes on the dialog window itself, before the
    // controller fills the window.
    InstallNumericFilter(dialog);
    controller_.InitMainDialog(record_);
    // The system gives the focus to the first tab stop, the height field.
    return TRUE;
}

void MainDialogView::FindControls()
{
    controls_.clear();
    order_.clear();
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(child, name, sizeof name);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        const LONG type = style & BS_TYPEMASK;
        const bool isRadio = lstrcmpiA(name, "Button") == 0 && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
        order_.push_back({child, name, (style & WS_GROUP) != 0, isRadio});
        // Of two controls with one id, the system finds the first.
        controls_.try_emplace(GetDlgCtrlID(child), order_.size() - 1);
    }
}

void MainDialogView::OnDestroy()
{
    // The controls go with the window; the scaled picture and icon are the
    // view's to free.
    controls_.clear();
    order_.clear();
    if (picture_ != nullptr)
        DeleteObject(picture_);
    if (icon_ != nullptr)
        DestroyIcon(icon_);
    picture_ = nullptr;
    icon_ = nullptr;
}

namespace {
// The bitmap resource drawn at twice the picture's size.
constexpr int kConstructionBitmap2xId = kConstructionBitmapId + 1;

// The picture at width x height: the source drawn for the scale (at twice
// the size for anything beyond 100 %), scaled with the system's smoothing
// when its size differs. Null when the resources lack it.
HBITMAP ScaledPicture(HINSTANCE instance, int width, int height)
{
    const auto source = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(kConstructionBitmap2xId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (source == nullptr)
        return nullptr;
    BITMAP size = {};
    GetObjectW(source, sizeof size, &size);
    if (size.bmWidth == width && size.bmHeight == height)
        return source;
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (from != nullptr && to != nullptr && scaled != nullptr) {
        const HGDIOBJ oldFrom = SelectObject(from, source);
        const HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from != nullptr)
        DeleteDC(from);
    if (to != nullptr)
        DeleteDC(to);
    DeleteObject(source);
    return scaled;
}
} // namespace

void MainDialogView::ShowArtwork()
{
    if (dpi_ == USER_DEFAULT_SCREEN_DPI && picture_ == nullptr && icon_ == nullptr)
        return; // the template's own, drawn for 96 dpi
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog_, GWLP_HINSTANCE));
    for (const ControlEntry& entry : order_) {
        if (lstrcmpiA(entry.windowClass.c_str(), "Static") != 0)
            continue;
        const LONG type = GetWindowLongW(entry.window, GWL_STYLE) & SS_TYPEMASK;
        if (type == SS_BITMAP) {
            const auto original = static_cast<HBITMAP>(
                LoadImageW(instance, MAKEINTRESOURCEW(kConstructionBitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            BITMAP size = {};
            if (original == nullptr || GetObjectW(original, sizeof size, &size) == 0)
                continue;
            HBITMAP scaled = dpi_ == USER_DEFAULT_SCREEN_DPI
                                 ? original
                                 : ScaledPicture(instance, Scaled(size.bmWidth), Scaled(size.bmHeight));
            if (scaled != original)
                DeleteObject(original);
            if (scaled == nullptr)
                continue;
            SendMessageW(entry.window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled));
            if (picture_ != nullptr)
                DeleteObject(picture_);
            picture_ = scaled;
        } else if (type == SS_ICON) {
            // The icon file holds 48, 72 and 96 pixels; the system takes the
            // one of the size asked for, or scales the nearest.
            const auto icon = static_cast<HICON>(
                LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, Scaled(48), Scaled(48), 0));
            if (icon == nullptr)
                continue;
            SendMessageW(entry.window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            if (icon_ != nullptr)
                DestroyIcon(icon_);
            icon_ = icon;
        }
    }
}

void MainDialogView::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    dpi_ = dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
    // The system scales the dialog's controls and fonts itself (per-monitor
    // awareness, version 2); the window takes the rectangle it suggests.
    if (suggested != nullptr)
        SetWindowPos(dialog_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    MEASUREITEMSTRUCT item = {};
    MeasureColorListItem(item, dpi_);
    for (const ControlEntry& entry : order_) {
        if ((GetWindowLongW(entry.window, GWL_STYLE) & CBS_OWNERDRAWFIXED) == 0 ||
            lstrcmpiA(entry.windowClass.c_str(), "ComboBox") != 0)
            continue;
        // The selection field (-1) and the items of the list.
        SendMessageW(entry.window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), static_cast<LPARAM>(item.itemHeight));
        SendMessageW(entry.window, CB_SETITEMHEIGHT, 0, static_cast<LPARAM>(item.itemHeight));
    }
    ShowArtwork();
    InvalidateRect(dialog_, nullptr, TRUE);
}

void MainDialogView::OnCommand(int controlId, UINT code) { controller_.DispatchCommand(controlId, CommandEvent(code)); }

void MainDialogView::OnNotify(const NMHDR* header)
{
    if (header == nullptr)
        return;
    const int controlId = GetDlgCtrlID(header->hwndFrom);
    const ControlEvent event = NotifyEvent(header->code);
    // Only a link's click and Enter carry the link item.
    if (IsClass(header->hwndFrom, "SysLink") && event != ControlEvent::Other) {
        const auto* link = reinterpret_cast<const NMLINK*>(header);
        controller_.OpenLink(controlId, link->item.iLink, Utf8OfWide(link->item.szUrl), event);
        return;
    }
    controller_.OpenLink(controlId, -1, std::string(), event);
}

void MainDialogView::OnPaint()
{
    PAINTSTRUCT paint;
    HDC surface = BeginPaint(dialog_, &paint);
    if (surface != nullptr)
        PaintClient(surface);
    EndPaint(dialog_, &paint);
}

void MainDialogView::PaintClient(HDC surface)
{
    // The preview keeps its pixel rules on its 250 x 250 box of 96-dpi
    // pixels; at a higher scale each of its pixels becomes a block, as the
    // Qt view shows it.
    if (!HasPixels(preview_))
        return;
    if (dpi_ == USER_DEFAULT_SCREEN_DPI)
        BlitCanvas(surface, previewAt_.x, previewAt_.y, preview_);
    else
        StretchCanvas(surface, PreviewDeviceRect(), preview_);
}

RECT MainDialogView::PreviewDeviceRect() const
{
    return {Scaled(previewAt_.x), Scaled(previewAt_.y), Scaled(previewAt_.x + preview_.width),
            Scaled(previewAt_.y + preview_.height)};
}

const MainDialogView::ControlEntry* MainDialogView::Find(int controlId, const char* windowClass) const
{
    const auto found = controls_.find(controlId);
    if (found == controls_.end())
        return nullptr;
    const ControlEntry& entry = order_[found->second];
    return windowClass == nullptr || lstrcmpiA(entry.windowClass.c_str(), windowClass) == 0 ? &entry : nullptr;
}

HWND MainDialogView::Control(int controlId, const char* windowClass) const
{
    const ControlEntry* entry = Find(controlId, windowClass);
    return entry != nullptr ? entry->window : nullptr;
}

std::string MainDialogView::ItemText(int controlId) const
{
    HWND control = Control(controlId);
    if (control == nullptr)
        return {};
    const int length = GetWindowTextLengthA(control);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void MainDialogView::SetItemText(int controlId, const std::string& text)
{
    if (HWND control = Control(controlId))
        SetWindowTextA(control, text.c_str());
}

bool MainDialogView::IsButtonChecked(int controlId) const
{
    HWND button = Control(controlId, "Button");
    return button != nullptr && SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainDialogView::SetButtonChecked(int controlId, bool checked)
{
    const ControlEntry* button = Find(controlId, "Button");
    if (button == nullptr)
        return;
    if (checked && button->isRadio) {
        const auto at = static_cast<std::size_t>(button - order_.data());
        // The other radio buttons of its group lose their mark: back to the
        // button that starts the group, then on to the next group.
        std::size_t first = at;
        while (first > 0 && !order_[first].startsGroup)
            --first;
        for (std::size_t other = first; other < order_.size(); ++other) {
            if (other != first && order_[other].startsGroup)
                break;
            if (other != at && order_[other].isRadio)
                SendMessageA(order_[other].window, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
    SendMessageA(button->window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int MainDialogView::AddListItem(int controlId, const std::string& text, std::int32_t data)
{
    HWND list = Control(controlId, "ComboBox");
    if (list == nullptr)
        return -1;
    const LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0)
        return -1;
    SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    return static_cast<int>(index);
}

int MainDialogView::ListItemCount(int controlId) const
{
    HWND list = Control(controlId, "ComboBox");
    const LRESULT count = list != nullptr ? SendMessageA(list, CB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? static_cast<int>(count) : 0;
}

int MainDialogView::ListSelection(int controlId) const
{
    HWND list = Control(controlId, "ComboBox");
    const LRESULT index = list != nullptr ? SendMessageA(list, CB_GETCURSEL, 0, 0) : CB_ERR;
    return index < 0 ? -1 : static_cast<int>(index);
}

void MainDialogView::SetListSelection(int controlId, int index)
{
    if (HWND list = Control(controlId, "ComboBox"))
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::int32_t MainDialogView::ListItemData(int controlId, int index) const
{
    HWND list = Control(controlId, "ComboBox");
    if (list == nullptr || index < 0 || index >= ListItemCount(controlId))
        return -1;
    return static_cast<std::int32_t>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void MainDialogView::FocusItem(int controlId)
{
    HWND control = Control(controlId);
    if (control != nullptr)
        SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void MainDialogView::SelectItemText(int controlId, int first, int last)
{
    if (HWND field = Control(controlId, "Edit"))
        SendMessageA(field, EM_SETSEL, static_cast<WPARAM>(first), static_cast<LPARAM>(last));
}

void MainDialogView::LimitItemText(int controlId, int limit)
{
    if (HWND field = Control(controlId, "Edit"))
        SendMessageA(field, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

PixelRect MainDialogView::ClientRect() const
{
    // In 96-dpi pixels, as the controller places the preview.
    RECT client = {};
    if (dialog_ != nullptr)
        GetClientRect(dialog_, &client);
    const auto logical = [this](LONG device) {
        return static_cast<std::int32_t>(MulDiv(device, USER_DEFAULT_SCREEN_DPI, static_cast<int>(dpi_)));
    };
    return {logical(client.left), logical(client.top), logical(client.right), logical(client.bottom)};
}

void MainDialogView::PresentPreview(const Canvas& box, PixelPoint where)
{
    const RECT before = PreviewDeviceRect();
    preview_ = box;
    previewAt_ = where;
    const RECT after = PreviewDeviceRect();
    // A new box over exactly the old one covers it; anything else needs the
    // background behind the old one back.
    const bool samePlace = EqualRect(&before, &after) != FALSE;
    if (dialog_ == nullptr)
        return;
    InvalidateRect(dialog_, &before, samePlace ? FALSE : TRUE);
    InvalidateRect(dialog_, &after, samePlace ? FALSE : TRUE);
}

void MainDialogView::EndDialog(int result)
{
    endResult_ = result;
    if (dialog_ != nullptr)
        ::EndDialog(dialog_, result);
}
