#include "qt/maindialog.h"

#include "qt/colorlist.h"
#include "qt/dialogbuilder.h"
#include "qt/editlimit.h"
#include "qt/linklabel.h"
#include "qt/numericfilter.h"
#include "qt/qtcanvas.h"
#include "resources/dialogtemplate.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {
QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The id of a control (its object name), or kNoControlId.
int ControlId(const QWidget* widget)
{
    bool ok = false;
    const int id = widget == nullptr ? 0 : widget->objectName().toInt(&ok);
    return ok ? id : kNoControlId;
}
} // namespace

MainDialog::MainDialog(DecagonRecord* record, UrlOpener& opener, UserPrompts* prompts, ImageLayer* imageLayer,
                       QWidget* parent)
    : QDialog(parent), ownPrompts_(this),
      controller_(*this, DialogServices{prompts != nullptr ? prompts : &ownPrompts_, &opener, imageLayer})
{
    BuildDialog(*this, MainDialogTemplate, [](QWidget* owner) -> QComboBox* { return new ColorList(owner); });
    // Every control by its id, in one walk over the children.
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        const int id = ControlId(widget);
        if (id != kNoControlId && !items_.contains(id))
            items_.insert(id, widget);
    }
    ConnectControls();
    // The keystroke filter, on the dialog window itself.
    InstallNumericFilter(this);
    controller_.InitMainDialog(record);
}

QLineEdit* MainDialog::Field(int controlId) const { return qobject_cast<QLineEdit*>(Item(controlId)); }

QComboBox* MainDialog::List(int controlId) const { return qobject_cast<QComboBox*>(Item(controlId)); }

void MainDialog::ConnectControls()
{
    for (int id : {kExitId, kComputeId, kExportImageId, kExportTextId, kCopyImageId}) {
        if (auto* button = qobject_cast<QPushButton*>(Item(id)))
            connect(button, &QPushButton::clicked, this,
                    [this, id] { controller_.DispatchCommand(id, ControlEvent::ButtonClicked); });
    }
    // A change that the user makes; the program's own selections send nothing.
    for (int id = kFirstVertexColorId; id <= kLastVertexColorId; ++id) {
        if (QComboBox* list = List(id))
            connect(list, &QComboBox::activated, this,
                    [this, id] { controller_.DispatchCommand(id, ControlEvent::SelectionChanged); });
    }
    for (int id : {kWikipediaLinkId, kForumLinkId}) {
        if (auto* link = qobject_cast<LinkLabel*>(Item(id)))
            connect(link, &LinkLabel::linkTriggered, this, [this, id](int index, const QString& url) {
                controller_.OpenLink(id, index, url.toStdString(), ControlEvent::LinkClicked);
            });
    }
}

std::string MainDialog::ItemText(int controlId) const
{
    const QWidget* item = Item(controlId);
    if (const auto* field = qobject_cast<const QLineEdit*>(item))
        return field->text().toLatin1().toStdString();
    if (const auto* button = qobject_cast<const QAbstractButton*>(item))
        return button->text().toLatin1().toStdString();
    return {};
}

void MainDialog::SetItemText(int controlId, const std::string& text)
{
    QWidget* item = Item(controlId);
    if (auto* field = qobject_cast<QLineEdit*>(item))
        SetFieldText(field, Latin1(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(item))
        button->setText(Latin1(text));
}

bool MainDialog::IsButtonChecked(int controlId) const
{
    const auto* button = qobject_cast<const QRadioButton*>(Item(controlId));
    return button != nullptr && button->isChecked();
}

void MainDialog::SetButtonChecked(int controlId, bool checked)
{
    if (auto* button = qobject_cast<QRadioButton*>(Item(controlId)))
        button->setChecked(checked);
}

int MainDialog::AddListItem(int controlId, const std::string& text, std::int32_t value)
{
    QComboBox* list = List(controlId);
    if (list == nullptr)
        return -1;
    // A colour list's items are swatches with their colour's name for screen
    // readers; the text stays as given.
    if (auto* colors = qobject_cast<ColorList*>(list))
        return colors->addColorItem(value, Latin1(text));
    list->addItem(Latin1(text), value);
    return list->count() - 1;
}

int MainDialog::ListItemCount(int controlId) const
{
    const QComboBox* list = List(controlId);
    return list == nullptr ? 0 : list->count();
}

int MainDialog::ListSelection(int controlId) const
{
    const QComboBox* list = List(controlId);
    return list == nullptr ? -1 : list->currentIndex();
}

void MainDialog::SetListSelection(int controlId, int index)
{
    if (QComboBox* list = List(controlId))
        list->setCurrentIndex(index);
}

std::int32_t MainDialog::ListItemData(int controlId, int index) const
{
    const QComboBox* list = List(controlId);
    if (list == nullptr || index < 0 || index >= list->count())
        return -1;
    bool ok = false;
    const int value = list->itemData(index, kItemDataRole).toInt(&ok);
    return ok ? value : -1;
}

void MainDialog::FocusItem(int controlId)
{
    if (QWidget* item = Item(controlId))
        item->setFocus(Qt::OtherFocusReason);
}

void MainDialog::SelectItemText(int controlId, int first, int last)
{
    QLineEdit* field = Field(controlId);
    if (field == nullptr)
        return;
    const int length = static_cast<int>(field->text().size());
    const int from = std::clamp(first, 0, length);
    const int to = last < 0 ? length : std::clamp(last, from, length);
    if (from == 0 && to == length)
        field->selectAll();
    else
        field->setSelection(from, to - from);
}

void MainDialog::LimitItemText(int controlId, int limit)
{
    if (QLineEdit* field = Field(controlId))
        LimitTypedText(field, limit);
}

PixelRect MainDialog::ClientRect() const { return ToPixelRect(rect()); }

void MainDialog::PresentPreview(const Canvas& box, PixelPoint where)
{
    const QRect old(previewAt_, preview_.size());
    preview_ = CanvasImage(box);
    previewAt_ = ToQPoint(where);
    update(old.united(QRect(previewAt_, preview_.size())));
}

void MainDialog::EndDialog(int result) { done(result); }

void MainDialog::reject() { controller_.DispatchClose(); }

void MainDialog::keyPressEvent(QKeyEvent* event)
{
    // What reaches the dialog is what no control took: a focused push button
    // presses itself on Enter, a focused link opens.
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       ((event->modifiers() & Qt::KeypadModifier) != 0 && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        controller_.DispatchKey(DialogKey::Enter, ControlId(focusWidget()));
        return;
    }
    if (event->matches(QKeySequence::Cancel)) {
        controller_.DispatchKey(DialogKey::Escape, ControlId(focusWidget()));
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // The last preview, again at every repaint, so that it survives being
    // covered by another window.
    if (!preview_.isNull()) {
        QPainter painter(this);
        painter.drawImage(previewAt_, preview_);
    }
}
