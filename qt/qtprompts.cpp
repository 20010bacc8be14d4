#include "qt/qtprompts.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include <memory>

QStringList SaveDialogNameFilters(const SaveFileRequest& request)
{
    QStringList filters;
    for (int index = 0; index < request.filterCount; ++index) {
        QString description = QString::fromLatin1(request.filters[index].description);
        QString pattern = QString::fromLatin1(request.filters[index].pattern);
        if (pattern == QLatin1String("*.*")) {
            description.replace(QLatin1String("(*.*)"), QLatin1String("(*)"));
            pattern = QStringLiteral("*");
        }
        const QString patternPart = QLatin1Char('(') + pattern + QLatin1Char(')');
        if (!description.endsWith(patternPart))
            description += QLatin1Char(' ') + patternPart;
        filters.append(description);
    }
    return filters;
}

void ConfigureSaveDialog(QFileDialog& dialog, const SaveFileRequest& request)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = SaveDialogNameFilters(request);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (request.defaultExtension != nullptr && request.defaultExtension[0] != '\0')
        dialog.setDefaultSuffix(QString::fromLatin1(request.defaultExtension));
}

bool QtUserPrompts::PromptSaveFile(const SaveFileRequest& request, std::string& path)
{
    QFileDialog dialog(owner_.data());
    ConfigureSaveDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return false;
    path = QFile::encodeName(chosen.first()).toStdString();
    return true;
}

QMessageBox* MakeErrorBox(const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    return box;
}

QMessageBox* MakeInformationBox(QWidget* owner, const QString& text)
{
    return new QMessageBox(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok, owner);
}

void QtUserPrompts::ShowError(const std::string& text)
{
    const std::unique_ptr<QMessageBox> box(MakeErrorBox(QString::fromLocal8Bit(text)));
    box->exec();
}

void QtUserPrompts::ShowInformation(const std::string& text)
{
    const std::unique_ptr<QMessageBox> box(MakeInformationBox(owner_.data(), QString::fromLocal8Bit(text)));
    box->exec();
}
