#pragma once

#include "render/dialogview.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <set>

// A dialog without a window: buttons, one list selection and a client area
// set by the test; the previews it is handed are kept for the test to look at.
class FakeDialog : public DialogView {
public:
    DecagonRecord* AttachedRecord() override { return record; }
    bool IsButtonChecked(int controlId) const override { return checked.count(controlId) != 0; }
    std::int32_t SelectedItemData(int controlId) const override
    {
        return controlId == kDiagonalListId ? selectedDiagonal : -1;
    }
    QRect ClientRect() const override { return client; }
    void PresentPreview(const QImage& box, QPoint where) override
    {
        ++presented;
        lastBox = box;
        lastWhere = where;
    }

    DecagonRecord* record = nullptr;
    std::set<int> checked;
    std::int32_t selectedDiagonal = -1;
    QRect client{0, 0, 800, 600};
    int presented = 0;
    QImage lastBox;
    QPoint lastWhere;
};
