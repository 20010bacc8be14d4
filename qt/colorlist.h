#pragma once

#include "qt/droplist.h"

#include <QAbstractItemDelegate>

#include <cstdint>

// The item data role that holds an item's value (the palette position of a
// colour item, the code of a diagonal choice), as the platform's item data.
constexpr int kItemDataRole = Qt::UserRole;

// Paints every item of a colour list as a swatch of its colour, at the fixed
// item size; no text.
class ColorItemDelegate : public QAbstractItemDelegate {
public:
    using QAbstractItemDelegate::QAbstractItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A drop-down list of colours: its items are painted as swatches, in the
// dropped-down list and in the closed box alike.
class ColorList : public DropList {
    Q_OBJECT
public:
    explicit ColorList(QWidget* parent = nullptr);

    // Adds an item (text " " unless given) that stands for a palette
    // position, with an accessible name that says its colour. Returns the new
    // item's index.
    int addColorItem(std::int32_t position, const QString& text = QStringLiteral(" "));

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Puts the swatch painter on the dropped-down list, the first time it
    // is needed.
    void prepareView();
    bool viewPrepared_ = false;
};

// What a screen reader says for a palette position: "Red (255, 0, 0)".
QString ColorAccessibleName(std::int32_t position);
