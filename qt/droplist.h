#pragma once

#include <QComboBox>

// A drop-down list to pick from (no typing) whose list, when dropped down,
// is at most a given height in pixels, counted from the top of the closed
// box, as the dialog template gives it.
class DropList : public QComboBox {
    Q_OBJECT
public:
    explicit DropList(QWidget* parent = nullptr);

    void setDroppedHeight(int pixels) { droppedHeight_ = pixels; }
    int droppedHeight() const { return droppedHeight_; }

    // How many items the dropped-down list shows at once.
    int visibleRowsWhenDropped() const;

    void showPopup() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    int droppedHeight_ = 0;
    bool takingStyle_ = false;
};
