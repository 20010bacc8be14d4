#include "qt/droplist.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QProxyStyle>

#include <algorithm>

namespace {
// The list drops down below the box, as a list of its own height, rather
// than opening over the box at the current item (which some styles do and
// which ignores the height limit).
class DropBelowStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* SharedDropBelowStyle()
{
    // Lives as long as the process: widgets keep a plain pointer to their style.
    static QStyle* const style = new DropBelowStyle;
    return style;
}
} // namespace

DropList::DropList(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    takingStyle_ = true;
    setStyle(SharedDropBelowStyle());
    takingStyle_ = false;
}

void DropList::changeEvent(QEvent* event)
{
    // A new box has no popup yet, and QComboBox would build one here only to
    // restyle it: a list view and its frame for each of the dialog's lists at
    // every start. The popup is built when first needed, and then takes the
    // box's style and matching item delegate as it is made.
    if (takingStyle_ && event->type() == QEvent::StyleChange) {
        QWidget::changeEvent(event);
        return;
    }
    QComboBox::changeEvent(event);
}

int DropList::visibleRowsWhenDropped() const
{
    if (droppedHeight_ <= 0)
        return maxVisibleItems();
    int rowHeight = count() > 0 ? view()->sizeHintForRow(0) : 0;
    if (rowHeight <= 0)
        rowHeight = fontMetrics().height();
    return std::max(1, (droppedHeight_ - height()) / rowHeight);
}

void DropList::showPopup()
{
    setMaxVisibleItems(visibleRowsWhenDropped());
    QComboBox::showPopup();
}
