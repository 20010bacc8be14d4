#include "dialog/controller.h"

#include "export/imageexport.h"
#include "export/textfile.h"
#include "model/decagon.h"
#include "model/numtext.h"
#include "render/figure.h"
#include "render/painter.h"
#include "render/palette.h"
#include "resources/dialogtemplate.h"
#include "settings/settings.h"

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

// The text of every colour-list item; the item is painted as a swatch.
constexpr char kColorItemText[] = " ";

bool IsVertexColorList(int controlId) { return controlId >= kFirstVertexColorId && controlId <= kLastVertexColorId; }

bool IsPushButton(int controlId)
{
    switch (controlId) {
    case kExitId:
    case kComputeId:
    case kExportImageId:
    case kExportTextId:
    case kCopyImageId:
        return true;
    default:
        return false;
    }
}

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

// The data value of a list's current selection; -1 when it has none.
std::int32_t SelectedItemData(const DialogWindow& window, int controlId)
{
    const int index = window.ListSelection(controlId);
    return index < 0 ? -1 : window.ListItemData(controlId, index);
}
} // namespace

DialogController::DialogController(DialogWindow& window, const DialogServices& services)
    : window_(window), services_(services)
{
}

void DialogController::InitMainDialog(DecagonRecord* record)
{
    // 1, 2: clear and attach the record.
    if (record != nullptr)
        std::memset(record, 0, sizeof *record);
    record_ = record;
    // 3: the keystroke filter is the window's own; the front end installs it
    // before it hands over.
    // 4: defaults, then the colours from the settings file.
    if (record != nullptr)
        InitDecagonRecord(record);

    // 5: the diagonal list.
    int selectedChoice = 0;
    for (const DiagonalChoice* row = DiagonalChoices; row->code != -1; ++row) {
        const int index = window_.AddListItem(kDiagonalChoiceId, row->label, row->code);
        if (index >= 0 && record != nullptr && row->code == record->diagonalChoice)
            selectedChoice = index;
    }
    window_.SetListSelection(kDiagonalChoiceId, selectedChoice);

    // 6 to 8: the colour lists, one item per palette row.
    std::array<int, kColorFillOrder.size()> selected{};
    for (std::int32_t position = 0; ColorPalette[position].id != -1; ++position) {
        for (std::size_t slot = 0; slot < kColorFillOrder.size(); ++slot) {
            const int index = window_.AddListItem(kColorFillOrder[slot], kColorItemText, position);
            if (index >= 0 && record != nullptr && ColorField(*record, kColorFillOrder[slot]) == position)
                selected[slot] = index;
        }
    }
    for (int id : kColorSelectOrder) {
        for (std::size_t slot = 0; slot < kColorFillOrder.size(); ++slot) {
            if (kColorFillOrder[slot] == id)
                window_.SetListSelection(id, selected[slot]);
        }
    }

    // 9, 10: compute once (which writes the settings file) and show.
    if (record != nullptr) {
        ComputeDecagon(record);
        ShowResults(record);
    }

    // 11: the circle options; the checked button first, so that clearing
    // the other one never leaves the pair without a mark.
    const bool external = record != nullptr && record->showExternalCircle != 0;
    const bool internal = record != nullptr && record->showInternalCircle != 0;
    window_.SetButtonChecked(external ? kExternalYesId : kExternalNoId, true);
    window_.SetButtonChecked(external ? kExternalNoId : kExternalYesId, false);
    window_.SetButtonChecked(internal ? kInternalYesId : kInternalNoId, true);
    window_.SetButtonChecked(internal ? kInternalNoId : kInternalYesId, false);

    // 12: the typed-text limits.
    window_.LimitItemText(kHeightFieldId, kTypedTextLimit);
    window_.LimitItemText(kAngleFieldId, kTypedTextLimit);

    // The focus starts on the first tab stop, the height field, with its
    // text selected so that typing replaces it.
    window_.FocusItem(kHeightFieldId);
    window_.SelectItemText(kHeightFieldId, 0, -1);
}

void DialogController::RunCompute()
{
    // Without a record, or with an empty height field, nothing is read and
    // nothing else happens either.
    if (ReadInputs(record_) == 0)
        return;
    ComputeDecagon(record_);
    ShowResults(record_);
    DrawPreview(window_, record_);
}

int DialogController::ReadInputs(DecagonRecord* record)
{
    if (record == nullptr)
        return 0;
    // The whole text is read, however long: a value the dialog itself showed
    // reads back as itself.
    const std::string height = window_.ItemText(kHeightFieldId);
    if (height.empty())
        return 0;
    record->expectedHeight = ParseNumber(height.c_str());
    const std::string angle = window_.ItemText(kAngleFieldId);
    record->angle3D = angle.empty() ? kEmptyAngleValue : ParseNumber(angle.c_str());
    record->showExternalCircle = window_.IsButtonChecked(kExternalYesId) ? 1 : 0;
    record->showInternalCircle = window_.IsButtonChecked(kInternalYesId) ? 1 : 0;
    record->externalCircleColor = SelectedItemData(window_, kExternalCircleColorId);
    record->internalCircleColor = SelectedItemData(window_, kInternalCircleColorId);
    record->backgroundColor = SelectedItemData(window_, kBackgroundColorId);
    record->diagonalChoice = SelectedItemData(window_, kDiagonalChoiceId);
    record->outlineColor = SelectedItemData(window_, kOutlineColorId);
    for (int id = kFirstVertexColorId; id <= kLastVertexColorId; ++id)
        record->diagonalColors[id - kFirstVertexColorId] = SelectedItemData(window_, id);
    return 1;
}

void DialogController::ShowResults(const DecagonRecord* record)
{
    if (record == nullptr)
        return;
    int id = kHeightFieldId;
    for (const LeadingValue& value : LeadingValues)
        window_.SetItemText(id++, FormatFixed(record->*value.field, kFourDecimals));
    for (int row = 0; row < kVertexCount; ++row) {
        window_.SetItemText(kFirstVertexFieldId + 2 * row, FormatFixed(record->vertices[row].x, kFourDecimals));
        window_.SetItemText(kFirstVertexFieldId + 2 * row + 1, FormatFixed(record->vertices[row].y, kFourDecimals));
    }
}

void DialogController::StoreVertexColor(int controlId, ControlEvent event)
{
    if (record_ == nullptr || !IsVertexColorList(controlId) || event != ControlEvent::SelectionChanged)
        return;
    record_->diagonalColors[controlId - kFirstVertexColorId] = SelectedItemData(window_, controlId);
}

void DialogController::SaveSettingsOnExit()
{
    if (record_ != nullptr)
        SaveSettings(record_, 0, 0, SettingsFilePath);
}

void DialogController::OpenLink(int controlId, int linkIndex, const std::string& url, ControlEvent event)
{
    if (event != ControlEvent::LinkClicked && event != ControlEvent::LinkReturn)
        return;
    if ((controlId == kWikipediaLinkId || controlId == kForumLinkId) && linkIndex == 0 &&
        services_.urlOpener != nullptr)
        services_.urlOpener->OpenUrl(url);
}

FigureOptions DialogController::ShownFigureOptions() const
{
    FigureOptions options = record_ != nullptr ? FigureOptionsOf(*record_) : FigureOptions{};
    options.showExternalCircle = window_.IsButtonChecked(kExternalYesId) ? 1 : 0;
    options.showInternalCircle = window_.IsButtonChecked(kInternalYesId) ? 1 : 0;
    options.diagonalChoice = SelectedItemData(window_, kDiagonalChoiceId);
    return options;
}

void DialogController::DispatchCommand(int controlId, ControlEvent event)
{
    if (IsVertexColorList(controlId)) {
        StoreVertexColor(controlId, event);
        return;
    }
    if (event != ControlEvent::ButtonClicked)
        return;
    switch (controlId) {
    case kExitId:
        SaveSettingsOnExit();
        window_.EndDialog(kExitId);
        break;
    case kComputeId:
        RunCompute();
        break;
    case kExportImageId:
        if (services_.imageLayer != nullptr && services_.prompts != nullptr)
            ExportImageFile(record_, ShownFigureOptions(), *services_.prompts, *services_.imageLayer);
        break;
    case kExportTextId:
        if (services_.prompts != nullptr)
            ExportTextFile(record_, *services_.prompts);
        break;
    case kCopyImageId:
        if (services_.imageLayer != nullptr && services_.prompts != nullptr)
            CopyImageToClipboard(record_, ShownFigureOptions(), *services_.prompts, *services_.imageLayer);
        break;
    default:
        break;
    }
}

void DialogController::DispatchKey(DialogKey key, int focusedControlId)
{
    if (key == DialogKey::Escape) {
        DispatchCommand(kExitId, ControlEvent::ButtonClicked);
        return;
    }
    DispatchCommand(IsPushButton(focusedControlId) ? focusedControlId : kComputeId, ControlEvent::ButtonClicked);
}

void DialogController::DispatchClose() { DispatchCommand(kExitId, ControlEvent::ButtonClicked); }

void DrawPreview(DialogWindow& window, const DecagonRecord* record)
{
    if (record == nullptr)
        return;
    Canvas box;
    if (!PaintPreviewBox(*record, box))
        return;
    const PixelRect client = window.ClientRect();
    window.PresentPreview(box, PreviewBoxPosition(client.right, client.top));
}
