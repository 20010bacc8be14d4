#include "qt/qtprompts.h"

#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
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

namespace {
// A save dialog that refuses a name the command could not write, says why
// and stays open, so that the command never sees such a name.
class CheckedSaveDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        const QString refusal = chosen.isEmpty() ? QString() : SaveNameRefusal(chosen.first());
        if (refusal.isEmpty()) {
            QFileDialog::accept();
            return;
        }
        QMessageBox box(QMessageBox::Warning, windowTitle(), refusal, QMessageBox::Ok, this);
        box.setWindowModality(Qt::WindowModal);
        box.exec();
    }
};
} // namespace

QString SaveNameRefusal(const QString& path)
{
    const QFileInfo file(path);
    if (file.isDir())
        return {};
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir())
        return file.fileName() + QStringLiteral("\nThis folder does not exist.\nCheck the path and try again.");
    constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (file.exists() && (!(file.permissions() & kAnyWrite) || !file.isWritable()))
        return file.fileName() + QStringLiteral("\nThis file is read-only.\nTry again with a different file name.");
    return {};
}

void ConfigureSaveDialog(QFileDialog& dialog, const SaveFileRequest& request)
{
    // Qt's own dialog, where a name can be refused while the dialog stays
    // open; a desktop's native dialog closes before the name can be checked.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
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
    CheckedSaveDialog dialog(owner_.data());
    if (owner_ != nullptr)
        dialog.setWindowModality(Qt::WindowModal);
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
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok, owner);
    if (owner != nullptr)
        box->setWindowModality(Qt::WindowModal);
    return box;
}

void RunUnowned(QDialog& window)
{
    // QDialog::exec() would make the window modal to the whole program.
    window.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
    window.show();
    loop.exec(QEventLoop::DialogExec);
}

void QtUserPrompts::ShowError(const std::string& text)
{
    const std::unique_ptr<QMessageBox> box(MakeErrorBox(QString::fromLocal8Bit(text)));
    RunUnowned(*box);
}

void QtUserPrompts::ShowInformation(const std::string& text)
{
    const std::unique_ptr<QMessageBox> box(MakeInformationBox(owner_.data(), QString::fromLocal8Bit(text)));
    box->exec();
}
