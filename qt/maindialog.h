#pragma once

#include "qt/qtprompts.h"
#include "qt/urlopener.h"
#include "model/record.h"
#include "render/dialogview.h"

#include <QDialog>
#include <QImage>
#include <QPoint>

#include <cstdint>
#include <functional>

class QComboBox;
class QLineEdit;

// Notification codes that the handlers test, as the platform numbers them.
constexpr int kButtonClicked = 0;    // a push button was clicked
constexpr int kSelectionChanged = 1; // a list's selection was changed by the user
constexpr int kLinkClicked = -2;     // a link was clicked
constexpr int kLinkReturn = -4;      // Enter was pressed on a focused link
constexpr int kTypedTextLimit = 9;   // characters the user may type into 1028 and 1029

// A command of the dialog that another part of the program provides.
using DialogCommand = std::function<void(DialogView& dialog, UserPrompts& prompts)>;

// The program's one window: built from template 1002, it takes the height,
// options and colours, shows the results and the preview, and runs the
// commands. The record is the program's; the dialog attaches it while it
// initialises and every handler reaches it from there.
class MainDialog : public QDialog, public DialogView {
    Q_OBJECT
public:
    // Builds the window and initialises it with the record (InitMainDialog).
    // Links open through opener; the export commands talk to the user
    // through prompts, or through Qt dialogs owned by this one when null.
    MainDialog(DecagonRecord* record, UrlOpener& opener, UserPrompts* prompts = nullptr, QWidget* parent = nullptr);

    // The image commands of buttons 1004 ("Generate JPEG image") and 1006
    // ("Copy the image into the clipboard"). Until they are set, the buttons
    // do nothing.
    void SetImageCommands(DialogCommand exportImage, DialogCommand copyImage);

    // What the dialog does, in the order the commands run them.
    void InitMainDialog(DecagonRecord* record);
    void RunCompute();
    int ReadInputs(DecagonRecord* record);
    void ShowResults(const DecagonRecord* record);
    void StoreVertexColor(int controlId, int code);
    void SaveSettingsOnExit();
    void OpenLink(int controlId, int linkIndex, const QString& url, int code);

    // A command from a control, as its id and notification code.
    void DispatchCommand(int controlId, int code);

    // DialogView.
    DecagonRecord* AttachedRecord() override { return record_; }
    bool IsButtonChecked(int controlId) const override;
    std::int32_t SelectedItemData(int controlId) const override;
    QRect ClientRect() const override { return rect(); }
    void PresentPreview(const QImage& box, QPoint where) override;

    // The preview as last presented; null before the first Compute.
    const QImage& previewImage() const { return preview_; }
    QPoint previewPosition() const { return previewAt_; }

public slots:
    // The Escape key and the close box: the "Exit" command.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* Field(int controlId) const;
    QComboBox* List(int controlId) const;
    void ConnectControls();

    DecagonRecord* record_ = nullptr;
    UrlOpener& opener_;
    QtUserPrompts ownPrompts_;
    UserPrompts& prompts_;
    DialogCommand exportImage_;
    DialogCommand copyImage_;
    QImage preview_;
    QPoint previewAt_;
};
