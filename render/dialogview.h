#pragma once

#include "model/record.h"

#include <QImage>
#include <QRect>

#include <cstdint>

// What the figure renderer and the export commands need of the main dialog.
// The dialog implements it; tests use a fake, so that rendering and exporting
// run without any window.
class DialogView {
public:
    virtual ~DialogView() = default;

    // The record attached to the dialog, or null before one is attached.
    virtual DecagonRecord* AttachedRecord() = 0;

    // Whether the button with this control id is checked.
    virtual bool IsButtonChecked(int controlId) const = 0;

    // The item data of the current selection of the list with this control
    // id; -1 when the list has no current selection.
    virtual std::int32_t SelectedItemData(int controlId) const = 0;

    // The dialog's client area, in pixels, with its origin at (0, 0).
    virtual QRect ClientRect() const = 0;

    // Shows the preview: the dialog keeps this picture of the 250 x 250 box
    // and paints it at the top-left corner `where` of its client area, now and
    // at every repaint, until the next preview replaces it.
    virtual void PresentPreview(const QImage& box, QPoint where) = 0;
};

// Control ids that the renderer reads.
constexpr int kExternalCircleYesId = 1060;
constexpr int kInternalCircleYesId = 1062;
constexpr int kDiagonalListId = 1016;
