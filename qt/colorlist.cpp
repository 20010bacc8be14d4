#include "qt/colorlist.h"

#include "qt/qtcanvas.h"
#include "render/palette.h"

#include <QAbstractItemView>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <vector>

namespace {
// The names of the palette's colours, made once: all fourteen lists share them.
QString PaletteAccessibleName(std::int32_t position)
{
    static const std::vector<QString> names = [] {
        std::vector<QString> list;
        list.reserve(kPaletteSize);
        for (std::int32_t row = 0; row < kPaletteSize; ++row)
            list.push_back(ColorAccessibleName(row));
        return list;
    }();
    if (position < 0 || position >= kPaletteSize)
        return ColorAccessibleName(position);
    return names[static_cast<std::size_t>(position)];
}

ColorItemDraw ItemRequest(int itemId, bool selected, const QRect& rect, const QVariant& data)
{
    return {itemId, selected ? kItemStateSelected : 0u, ToPixelRect(rect),
            static_cast<std::intptr_t>(data.toLongLong())};
}
} // namespace

QString ColorAccessibleName(std::int32_t position)
{
    const ColorValue color = PaletteColor(position);
    return QString::fromLatin1(PaletteColorName(position)) + QStringLiteral(" (") + QString::number(ColorRed(color)) +
           QStringLiteral(", ") + QString::number(ColorGreen(color)) + QStringLiteral(", ") +
           QString::number(ColorBlue(color)) + QLatin1Char(')');
}

void ColorItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    DrawColorSwatch(*painter, ItemRequest(index.row(), selected, option.rect, index.data(kItemDataRole)));
}

QSize ColorItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    const ColorItemSize size = MeasureColorItem();
    return {size.width, size.height};
}

ColorList::ColorList(QWidget* parent) : DropList(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        setAccessibleDescription(index < 0 ? QString() : itemData(index, Qt::AccessibleTextRole).toString());
    });
}

int ColorList::addColorItem(std::int32_t position, const QString& text)
{
    const int index = count();
    const QString name = PaletteAccessibleName(position);
    if (auto* items = qobject_cast<QStandardItemModel*>(model())) {
        // The whole item at once: one insertion, no change signal per role.
        auto* item = new QStandardItem(text);
        item->setData(position, kItemDataRole);
        item->setData(name, Qt::AccessibleTextRole);
        items->appendRow(item);
    } else {
        addItem(text, position);
        setItemData(index, name, Qt::AccessibleTextRole);
    }
    if (index == currentIndex()) // the first item becomes current as it is added
        setAccessibleDescription(name);
    return index;
}

QSize ColorList::sizeHint() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const ColorItemSize item = MeasureColorItem();
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(item.width, item.height), this);
}

QSize ColorList::minimumSizeHint() const { return sizeHint(); }

void ColorList::prepareView()
{
    if (viewPrepared_)
        return;
    viewPrepared_ = true;
    setItemDelegate(new ColorItemDelegate(this));
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ColorList::showPopup()
{
    prepareView();
    DropList::showPopup();
}

void ColorList::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    // The current item in the box, as a swatch over the whole text field,
    // framed while the list has the focus.
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawColorSwatch(painter, ItemRequest(currentIndex(), hasFocus(), field, currentData(kItemDataRole)));
}
