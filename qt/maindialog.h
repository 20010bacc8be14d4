#pragma once

#include "dialog/controller.h"
#include "dialog/dialogwindow.h"
#include "dialog/urlopener.h"
#include "export/imagelayer.h"
#include "model/record.h"
#include "qt/qtprompts.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QPoint>

class QComboBox;
class QLineEdit;

// The program's one window as Qt widgets: built from template 1002, it shows
// what the controller sets and forwards every command, key and link to it.
// It holds no decisions of its own.
class MainDialog : public QDialog, public DialogWindow {
    Q_OBJECT
public:
    // Builds the window, installs the numeric filter on it and initialises it
    // with the record (InitMainDialog). Links open through opener; the export
    // commands talk to the user through prompts, or through Qt dialogs owned
    // by this one when null; without an image layer the image buttons do
    // nothing.
    MainDialog(DecagonRecord* record, UrlOpener& opener, UserPrompts* prompts = nullptr,
               ImageLayer* imageLayer = nullptr, QWidget* parent = nullptr);

    DialogController& controller() { return controller_; }
    DecagonRecord* AttachedRecord() const { return controller_.AttachedRecord(); }

    // DialogWindow.
    std::string ItemText(int controlId) const override;
    void SetItemText(int controlId, const std::string& text) override;
    bool IsButtonChecked(int controlId) const override;
    void SetButtonChecked(int controlId, bool checked) override;
    int AddListItem(int controlId, const std::string& text, std::int32_t value) override;
    int ListItemCount(int controlId) const override;
    int ListSelection(int controlId) const override;
    void SetListSelection(int controlId, int index) override;
    std::int32_t ListItemData(int controlId, int index) const override;
    void FocusItem(int controlId) override;
    void SelectItemText(int controlId, int first, int last) override;
    void LimitItemText(int controlId, int limit) override;
    PixelRect ClientRect() const override;
    void PresentPreview(const Canvas& box, PixelPoint where) override;
    void EndDialog(int result) override;

    // The preview as last presented; null before the first Compute.
    const QImage& previewImage() const { return preview_; }
    QPoint previewPosition() const { return previewAt_; }

public slots:
    // The close box, and anything else that asks a dialog to go away.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* Item(int controlId) const { return items_.value(controlId, nullptr); }
    QLineEdit* Field(int controlId) const;
    QComboBox* List(int controlId) const;
    void ConnectControls();

    QHash<int, QWidget*> items_; // every control by its id, looked up once
    QtUserPrompts ownPrompts_;
    DialogController controller_;
    QImage preview_;
    QPoint previewAt_;
};
