#pragma once

#include "export/prompts.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QFileDialog;
class QMessageBox;

// The save dialog and the message boxes of the export commands, as Qt
// dialogs. The owner is the main dialog (or none, before it exists).
class QtUserPrompts : public UserPrompts {
public:
    explicit QtUserPrompts(QWidget* owner = nullptr) : owner_(owner) {}

    bool PromptSaveFile(const SaveFileRequest& request, std::string& path) override;
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

private:
    QPointer<QWidget> owner_;
};

// The name filters of a request as the file dialog writes them
// ("Description (pattern)"). A pattern that matches every name elsewhere
// ("*.*") becomes "*", which does so here.
QStringList SaveDialogNameFilters(const SaveFileRequest& request);

// Sets up a save dialog for a request: the filters with the requested one
// selected, the default extension, and no question before replacing a file.
void ConfigureSaveDialog(QFileDialog& dialog, const SaveFileRequest& request);

// The error box: no owner, caption "Error", the critical icon, one OK
// button, above every other window. The caller runs it.
QMessageBox* MakeErrorBox(const QString& text);

// The confirmation box owned by the dialog: caption "Information", the
// information icon, one OK button. The caller runs it.
QMessageBox* MakeInformationBox(QWidget* owner, const QString& text);
