#include "qt/colorlist.h"

#include "qt/qtcanvas.h"
#include "render/palette.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <vector>

namespace {
// The names of the palette's colours, made once: all fourteen lists share them.
const QString& PaletteAccessibleName(std::int32_t position)
{
    static const std::vector<QString> names = [] {
        std::vector<QString> list;
        list.reserve(kPaletteSize);
        for (std::int32_t row = 0; row < kPaletteSize; ++row)
            list.push_back(ColorAccessibleName(row));
        return list;
    }();
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

// A colour list's items: a text and a palette position each, read-only. The
// position is the item data; the accessible text is the colour's name.
class ColorItemModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const Row& row = rows_[static_cast<std::size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return row.text;
        case kItemDataRole:
            return row.position;
        case Qt::AccessibleTextRole:
            return row.position >= 0 && row.position < kPaletteSize ? PaletteAccessibleName(row.position)
                                                                    : ColorAccessibleName(row.position);
        default:
            return {};
        }
    }

    int append(std::int32_t position, const QString& text)
    {
        const int index = rowCount();
        beginInsertRows(QModelIndex(), index, index);
        rows_.push_back({text, position});
        endInsertRows();
        return index;
    }

private:
    struct Row {
        QString text;
        std::int32_t position;
    };
    std::vector<Row> rows_;
};

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

ColorList::ColorList(QWidget* parent) : DropList(parent), items_(new ColorItemModel(this))
{
    setModel(items_);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        setAccessibleDescription(index < 0 ? QString() : itemData(index, Qt::AccessibleTextRole).toString());
    });
}

int ColorList::addColorItem(std::int32_t position, const QString& text)
{
    const int index = items_->append(position, text);
    if (index == currentIndex()) // the first item becomes current as it is added
        setAccessibleDescription(itemData(index, Qt::AccessibleTextRole).toString());
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
