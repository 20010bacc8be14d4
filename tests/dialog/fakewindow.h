#pragma once

#include "dialog/dialogwindow.h"
#include "resources/dialogtemplate.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The main dialog's controls as plain data, made from the template: edit
// fields with their text, radio buttons in pairs, drop-down lists with their
// items. The test reads and sets them as a user would; what the controller
// presents and how the dialog ended are kept for the test to look at.
class FakeWindow : public DialogWindow {
public:
    struct List {
        std::vector<std::string> texts;
        std::vector<std::int32_t> data;
        int selection = -1;
    };

    // With every control of the template, or with none.
    explicit FakeWindow(bool withControls = true)
    {
        if (!withControls)
            return;
        for (int index = 0; index < MainDialogTemplate.controlCount; ++index) {
            const ControlTemplate& item = MainDialogTemplate.controls[index];
            if (item.kind == ControlKind::Edit)
                fields[item.id] = item.text;
            else if (item.kind == ControlKind::Radio)
                checks[item.id] = false;
            else if (item.kind == ControlKind::DropList)
                lists[item.id] = List{};
        }
    }

    std::string ItemText(int controlId) const override
    {
        const auto found = fields.find(controlId);
        return found == fields.end() ? std::string() : found->second;
    }
    void SetItemText(int controlId, const std::string& text) override
    {
        if (fields.count(controlId) != 0)
            fields[controlId] = text;
    }
    bool IsButtonChecked(int controlId) const override
    {
        const auto found = checks.find(controlId);
        return found != checks.end() && found->second;
    }
    void SetButtonChecked(int controlId, bool checked) override
    {
        if (checks.count(controlId) == 0)
            return;
        checks[controlId] = checked;
        // 1060 and 1061 are a pair, as are 1062 and 1063.
        if (checked && checks.count(controlId ^ 1) != 0)
            checks[controlId ^ 1] = false;
    }
    int AddListItem(int controlId, const std::string& text, std::int32_t data) override
    {
        const auto found = lists.find(controlId);
        if (found == lists.end())
            return -1;
        found->second.texts.push_back(text);
        found->second.data.push_back(data);
        return static_cast<int>(found->second.texts.size()) - 1;
    }
    int ListItemCount(int controlId) const override
    {
        const auto found = lists.find(controlId);
        return found == lists.end() ? 0 : static_cast<int>(found->second.texts.size());
    }
    int ListSelection(int controlId) const override
    {
        const auto found = lists.find(controlId);
        return found == lists.end() ? -1 : found->second.selection;
    }
    void SetListSelection(int controlId, int index) override
    {
        const auto found = lists.find(controlId);
        if (found != lists.end())
            found->second.selection = index >= 0 && index < ListItemCount(controlId) ? index : -1;
    }
    std::int32_t ListItemData(int controlId, int index) const override
    {
        const auto found = lists.find(controlId);
        if (found == lists.end() || index < 0 || index >= static_cast<int>(found->second.data.size()))
            return -1;
        return found->second.data[static_cast<std::size_t>(index)];
    }
    void FocusItem(int controlId) override { focused = controlId; }
    void SelectItemText(int controlId, int first, int last) override { selected = {controlId, first, last}; }
    void LimitItemText(int controlId, int limit) override { limits[controlId] = limit; }
    PixelRect ClientRect() const override { return client; }
    void PresentPreview(const Canvas& box, PixelPoint where) override
    {
        ++presented;
        lastBox = box;
        lastWhere = where;
    }
    void EndDialog(int result) override
    {
        ++ends;
        endedWith = result;
    }

    std::map<int, std::string> fields;
    std::map<int, bool> checks;
    std::map<int, List> lists;
    std::map<int, int> limits;
    int focused = 0;
    struct Selection {
        int controlId = 0;
        int first = 0;
        int last = 0;
    } selected;
    PixelRect client{0, 0, 1287, 478};
    int presented = 0;
    Canvas lastBox;
    PixelPoint lastWhere{0, 0};
    int ends = 0;
    int endedWith = 0;
};
