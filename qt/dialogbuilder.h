#pragma once

#include "resources/dialogtemplate.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <functional>

class QComboBox;
class QDialog;
class QLabel;
class QWidget;

// The dialog font's base units in pixels: the average character width and
// the character height, which dialog units are quarters and eighths of.
struct DialogBaseUnits {
    int charWidth;
    int charHeight;
};

// The template's font when it is installed; otherwise the closest
// sans-serif face that is, at the same point size.
QFont DialogFont(const DialogTemplate& dialog);

// The base units of a font, measured as the Windows dialog manager does:
// the width of the 52 Latin letters, halved and rounded from twenty-sixths,
// and the font's full line height.
DialogBaseUnits MeasureBaseUnits(const QFont& font);

// a * b / c rounded half away from zero.
int MulDivRound(int a, int b, int c);

// A rectangle in dialog units as pixels.
QRect DialogUnitsToPixels(const DialogRect& rect, const DialogBaseUnits& units);

// Makes the drop lists that the dialog paints itself (owner-drawn); null
// gives a plain DropList.
using OwnerDrawnListFactory = std::function<QComboBox*(QWidget* parent)>;

// Builds the window and all its items from the template onto a dialog that
// has no children yet: caption, font, icon, fixed size, frame buttons, then
// every item in template order, so that the controls' tab order is the
// template's. Each control's object name is its id; a static's is
// "static<position in the template>". Returns the base units used.
DialogBaseUnits BuildDialog(QDialog& dialog, const DialogTemplate& layout,
                            const OwnerDrawnListFactory& ownerDrawnList = {});

// A label one line high shows its text on that line: where the text is
// wider than the box (a face wider than the template's), the box grows
// sideways away from the aligned edge rather than losing words. Returns the
// box to use; a label two or more lines high keeps its box and wraps.
QRect FitOneLineLabel(QLabel& label, QRect area);

// The object name of the control with this id.
QString ControlName(int id);

// The control with this id on the dialog, or null.
QWidget* DialogItem(const QWidget& dialog, int id);

template <class Widget> Widget* DialogItemAs(const QWidget& dialog, int id)
{
    return qobject_cast<Widget*>(DialogItem(dialog, id));
}
