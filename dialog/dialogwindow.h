#pragma once

#include "render/canvas.h"
#include "render/figure.h"

#include <cstdint>
#include <string>

// The main dialog's window as the controller sees it: a few operations on
// its controls, each named by its template id (resources/dialogtemplate.h),
// in the terms every window system's dialogs offer. A front end implements
// it over its own widgets; tests over a fake. An id that names no control
// of the right kind reads as empty, unchecked or without items, and setting
// it does nothing.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    // The whole text of an edit field or a button, one byte per character;
    // empty for an empty field.
    virtual std::string ItemText(int controlId) const = 0;
    // Sets the text whole, whatever the field's typed-text limit.
    virtual void SetItemText(int controlId, const std::string& text) = 0;

    // A radio button's check mark. Checking one button of a group clears the
    // others; clearing a button leaves the others alone.
    virtual bool IsButtonChecked(int controlId) const = 0;
    virtual void SetButtonChecked(int controlId, bool checked) = 0;

    // A drop-down list: adds an item at the end with its text and data value
    // and returns its index (-1 when the list cannot take it).
    virtual int AddListItem(int controlId, const std::string& text, std::int32_t data) = 0;
    virtual int ListItemCount(int controlId) const = 0;
    // The index of the current selection; -1 when there is none.
    virtual int ListSelection(int controlId) const = 0;
    // Selects an item, as the program's choice: the list reports no change.
    virtual void SetListSelection(int controlId, int index) = 0;
    // The data value of an item; -1 for an index the list does not have.
    virtual std::int32_t ListItemData(int controlId, int index) const = 0;

    // Gives a control the keyboard focus.
    virtual void FocusItem(int controlId) = 0;
    // Selects the characters [first, last) of an edit field's text; last -1
    // selects to the end.
    virtual void SelectItemText(int controlId, int first, int last) = 0;
    // Limits what the user can type into an edit field to `limit` characters.
    virtual void LimitItemText(int controlId, int limit) = 0;

    // The client area in pixels; left and top are 0, right and bottom
    // exclusive.
    virtual PixelRect ClientRect() const = 0;
    // Shows the preview: the window keeps this picture and paints it with its
    // top-left corner at `where` in the client area, now and at every
    // repaint, until the next preview replaces it. The canvas's pixels are
    // shared, so the window may keep them without a copy.
    virtual void PresentPreview(const Canvas& box, PixelPoint where) = 0;

    // Ends the modal dialog with this result.
    virtual void EndDialog(int result) = 0;
};
