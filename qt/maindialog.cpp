#include "qt/maindialog.h"

#include "qt/colorlist.h"
#include "qt/dialogbuilder.h"
#include "qt/editlimit.h"
#include "qt/linklabel.h"
#include "qt/numericfilter.h"
#include "export/textfile.h"
#include "model/decagon.h"
#include "model/numtext.h"
#include "render/figure.h"
#include "render/painter.h"
#include "render/palette.h"
#include "resources/dialogtemplate.h"
#include "settings/settings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>
#include <cstring>

namespace {
constexpr double kEmptyAngleValue = 40.0;
constexpr int kFourDecimals = 4;

// The colour lists in the order they are filled, and in the order their
// selections are set and read.
constexpr std::array<int, 14> kColorFillOrder = {1027, 1013, 1014, 1015, 1017, 1018, 1019,
                                                 1020, 1021, 1022, 1023, 1024, 1025, 1026};
constexpr std::array<int, 14> kColorSelectOrder = {1013, 1014, 1015, 1027, 1017, 1018, 1019,
                                                   1020, 1021, 1022, 1023, 1024, 1025, 1026};

bool IsVertexColorList(int controlId) { return controlId >= kFirstVertexColorId && controlId <= kLastVertexColorId; }

// The record field that a colour list shows and sets.
std::int32_t& ColorField(DecagonRecord& record, int controlId)
{
    switch (controlId) {
    case kExternalCircleColorId:
        return record.externalCircleColor;
    case kInternalCircleColorId:
        return record.internalCircleColor;
    case kBackgroundColorId:
        return record.backgroundColor;
    case kOutlineColorId:
        return record.outlineColor;
    default:
        return record.diagonalColors[controlId - kFirstVertexColorId];
    }
}

// The text of a field as the bytes a number is read from. The whole text is
// read, however long: a value the dialog itself showed reads back as itself.
QByteArray FieldBytes(const QLineEdit* field) { return field == nullptr ? QByteArray() : field->text().toLatin1(); }
} // namespace

MainDialog::MainDialog(DecagonRecord* record, UrlOpener& opener, UserPrompts* prompts, QWidget* parent)
    : QDialog(parent), opener_(opener), ownPrompts_(this), prompts_(prompts != nullptr ? *prompts : ownPrompts_)
{
    BuildDialog(*this, MainDialogTemplate, [](QWidget* owner) -> QComboBox* { return new ColorList(owner); });
    ConnectControls();
    InitMainDialog(record);
}

void MainDialog::SetImageCommands(DialogCommand exportImage, DialogCommand copyImage)
{
    exportImage_ = std::move(exportImage);
    copyImage_ = std::move(copyImage);
}

QLineEdit* MainDialog::Field(int controlId) const { return DialogItemAs<QLineEdit>(*this, controlId); }

QComboBox* MainDialog::List(int controlId) const { return DialogItemAs<QComboBox>(*this, controlId); }

void MainDialog::ConnectControls()
{
    for (int id : {kExitId, kComputeId, kExportImageId, kExportTextId, kCopyImageId}) {
        if (auto* button = DialogItemAs<QPushButton>(*this, id))
            connect(button, &QPushButton::clicked, this, [this, id] { DispatchCommand(id, kButtonClicked); });
    }
    // A change that the user makes; the program's own selections send nothing.
    for (int id = kFirstVertexColorId; id <= kLastVertexColorId; ++id) {
        if (QComboBox* list = List(id))
            connect(list, &QComboBox::activated, this, [this, id] { DispatchCommand(id, kSelectionChanged); });
    }
    for (int id : {kWikipediaLinkId, kForumLinkId}) {
        if (auto* link = DialogItemAs<LinkLabel>(*this, id))
            connect(link, &LinkLabel::linkTriggered, this,
                    [this, id](int index, const QString& url) { OpenLink(id, index, url, kLinkClicked); });
    }
}

void MainDialog::InitMainDialog(DecagonRecord* record)
{
    // 1, 2: clear and attach the record.
    if (record != nullptr)
        std::memset(record, 0, sizeof *record);
    record_ = record;
    // 3: the keystroke filter, on the dialog window itself.
    InstallNumericFilter(this);
    // 4: defaults, then the colours from the settings file.
    if (record != nullptr)
        InitDecagonRecord(record);

    // 5: the diagonal list.
    if (QComboBox* list = List(kDiagonalChoiceId)) {
        int selected = 0;
        for (const DiagonalChoice* row = DiagonalChoices; row->code != -1; ++row) {
            list->addItem(QString::fromLatin1(row->label), row->code);
            if (record != nullptr && row->code == record->diagonalChoice)
                selected = list->count() - 1;
        }
        list->setCurrentIndex(selected);
    }

    // 6 to 8: the colour lists, one item per palette row. Each list is
    // looked up once, not once per item.
    std::array<ColorList*, kColorFillOrder.size()> lists{};
    for (std::size_t slot = 0; slot < kColorFillOrder.size(); ++slot)
        lists[slot] = qobject_cast<ColorList*>(List(kColorFillOrder[slot]));
    std::array<int, kColorFillOrder.size()> selected{};
    for (std::int32_t position = 0; ColorPalette[position].id != -1; ++position) {
        for (std::size_t slot = 0; slot < kColorFillOrder.size(); ++slot) {
            if (lists[slot] == nullptr)
                continue;
            const int index = lists[slot]->addColorItem(position);
            if (record != nullptr && ColorField(*record, kColorFillOrder[slot]) == position)
                selected[slot] = index;
        }
    }
    for (int id : kColorSelectOrder) {
        const auto slot = static_cast<std::size_t>(std::find(kColorFillOrder.begin(), kColorFillOrder.end(), id) -
                                                   kColorFillOrder.begin());
        if (lists[slot] != nullptr)
            lists[slot]->setCurrentIndex(selected[slot]);
    }

    // 9, 10: compute once (which writes the settings file) and show.
    if (record != nullptr) {
        ComputeDecagon(record);
        ShowResults(record);
    }

    // 11: the circle options.
    const bool external = record != nullptr && record->showExternalCircle != 0;
    const bool internal = record != nullptr && record->showInternalCircle != 0;
    if (auto* button = DialogItemAs<QRadioButton>(*this, external ? kExternalYesId : kExternalNoId))
        button->setChecked(true);
    if (auto* button = DialogItemAs<QRadioButton>(*this, internal ? kInternalYesId : kInternalNoId))
        button->setChecked(true);

    // 12: the typed-text limits.
    for (int id : {kHeightFieldId, kAngleFieldId}) {
        if (QLineEdit* field = Field(id))
            LimitTypedText(field, kTypedTextLimit);
    }

    // The focus starts on the first tab stop, the height field, with its
    // text selected so that typing replaces it.
    if (QLineEdit* height = Field(kHeightFieldId)) {
        height->setFocus(Qt::OtherFocusReason);
        height->selectAll();
    }
}

void MainDialog::RunCompute()
{
    // Without a record, or with an empty height field, nothing is read and
    // nothing else happens either.
    if (ReadInputs(record_) == 0)
        return;
    ComputeDecagon(record_);
    ShowResults(record_);
    DrawPreview(*this, record_);
}

int MainDialog::ReadInputs(DecagonRecord* record)
{
    if (record == nullptr)
        return 0;
    const QByteArray height = FieldBytes(Field(kHeightFieldId));
    if (height.isEmpty())
        return 0;
    record->expectedHeight = ParseNumber(height.constData());
    const QByteArray angle = FieldBytes(Field(kAngleFieldId));
    record->angle3D = angle.isEmpty() ? kEmptyAngleValue : ParseNumber(angle.constData());
    record->showExternalCircle = IsButtonChecked(kExternalYesId) ? 1 : 0;
    record->showInternalCircle = IsButtonChecked(kInternalYesId) ? 1 : 0;
    record->externalCircleColor = SelectedItemData(kExternalCircleColorId);
    record->internalCircleColor = SelectedItemData(kInternalCircleColorId);
    record->backgroundColor = SelectedItemData(kBackgroundColorId);
    record->diagonalChoice = SelectedItemData(kDiagonalChoiceId);
    record->outlineColor = SelectedItemData(kOutlineColorId);
    for (int id = kFirstVertexColorId; id <= kLastVertexColorId; ++id)
        record->diagonalColors[id - kFirstVertexColorId] = SelectedItemData(id);
    return 1;
}

void MainDialog::ShowResults(const DecagonRecord* record)
{
    if (record == nullptr)
        return;
    const double values[] = {record->expectedHeight, record->angle3D, record->externalRadius, record->internalRadius,
                             record->hypotenuse,     record->chord,   record->angle,          record->arc,
                             record->pointD,         record->centerX, record->centerY};
    int id = kHeightFieldId;
    for (double value : values) {
        if (QLineEdit* field = Field(id))
            SetFieldText(field, QString::fromLatin1(FormatFixed(value, kFourDecimals)));
        ++id;
    }
    for (int row = 0; row < kVertexCount; ++row) {
        if (QLineEdit* field = Field(kFirstVertexFieldId + 2 * row))
            SetFieldText(field, QString::fromLatin1(FormatFixed(record->vertices[row].x, kFourDecimals)));
        if (QLineEdit* field = Field(kFirstVertexFieldId + 2 * row + 1))
            SetFieldText(field, QString::fromLatin1(FormatFixed(record->vertices[row].y, kFourDecimals)));
    }
}

void MainDialog::StoreVertexColor(int controlId, int code)
{
    if (record_ == nullptr || !IsVertexColorList(controlId) || code != kSelectionChanged)
        return;
    record_->diagonalColors[controlId - kFirstVertexColorId] = SelectedItemData(controlId);
}

void MainDialog::SaveSettingsOnExit()
{
    if (record_ != nullptr)
        SaveSettings(record_, 0, 0, SettingsFilePath);
}

void MainDialog::OpenLink(int controlId, int linkIndex, const QString& url, int code)
{
    if (code != kLinkClicked && code != kLinkReturn)
        return;
    if ((controlId == kWikipediaLinkId || controlId == kForumLinkId) && linkIndex == 0)
        opener_.OpenUrl(url);
}

void MainDialog::DispatchCommand(int controlId, int code)
{
    if (IsVertexColorList(controlId)) {
        StoreVertexColor(controlId, code);
        return;
    }
    if (code != kButtonClicked)
        return;
    switch (controlId) {
    case kExitId:
        SaveSettingsOnExit();
        done(kExitId);
        break;
    case kComputeId:
        RunCompute();
        break;
    case kExportImageId:
        if (exportImage_)
            exportImage_(*this, prompts_);
        break;
    case kExportTextId:
        ExportTextFile(record_, prompts_);
        break;
    case kCopyImageId:
        if (copyImage_)
            copyImage_(*this, prompts_);
        break;
    default:
        break;
    }
}

void MainDialog::reject() { DispatchCommand(kExitId, kButtonClicked); }

bool MainDialog::IsButtonChecked(int controlId) const
{
    const auto* button = DialogItemAs<QRadioButton>(*this, controlId);
    return button != nullptr && button->isChecked();
}

std::int32_t MainDialog::SelectedItemData(int controlId) const
{
    const QComboBox* list = List(controlId);
    if (list == nullptr || list->currentIndex() < 0)
        return -1;
    bool ok = false;
    const int value = list->currentData(kItemDataRole).toInt(&ok);
    return ok ? value : -1;
}

void MainDialog::PresentPreview(const QImage& box, QPoint where)
{
    const QRect old(previewAt_, preview_.size());
    preview_ = box;
    previewAt_ = where;
    update(old.united(QRect(previewAt_, preview_.size())));
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
