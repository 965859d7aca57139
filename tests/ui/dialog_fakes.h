// Stand-ins for the dialog's window system: controls kept in a table that
// raise change notifications the way the platform does, a window that records
// what it was asked to do, and a profile store over an ordered key list.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "layout/layout_table.h"
#include "ui/control_text.h"
#include "ui/dialog_ids.h"
#include "ui/main_dialog.h"

namespace gridsmith::ui::testing {

// Keys in the order they were first written, as a new INI file holds them.
class MapProfileStore : public ProfileStore {
public:
    std::vector<std::pair<std::u16string, std::u16string>> Lines;

    size_t WritesLeft = SIZE_MAX;  // then every write fails

    bool WriteString(std::u16string_view key, std::u16string_view value) override {
        if (WritesLeft == 0) return false;
        --WritesLeft;
        if (std::u16string* existing = Find(key)) {
            *existing = value;
            return true;
        }
        Lines.emplace_back(key, value);
        return true;
    }
    int32_t ReadInt(std::u16string_view key, int32_t fallback) override {
        const std::u16string* value = Find(key);
        return value ? SizeTokenValue(value->c_str()) : fallback;
    }
    std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                              size_t maxUnits) override {
        const std::u16string* value = Find(key);
        return std::u16string(value ? std::u16string_view(*value) : fallback).substr(0, maxUnits);
    }

    std::u16string* Find(std::u16string_view key) {
        for (auto& [name, value] : Lines)
            if (name == key) return &value;
        return nullptr;
    }
    void Remove(std::u16string_view key) {
        for (auto it = Lines.begin(); it != Lines.end(); ++it)
            if (it->first == key) {
                Lines.erase(it);
                return;
            }
    }
};

class FakeControls : public DialogControls {
public:
    struct Control {
        std::u16string text;
        bool checked = false;
        int selection = -1;
        bool enabled = true;
    };

    MainDialog* Dialog = nullptr;  // receives the edits' change notifications
    std::map<int, Control> Controls;
    std::map<int, int> TextWrites;
    std::vector<std::pair<std::u16string, int>> Warnings;  // message, focus

    std::u16string Text(int id, size_t maxUnits) override {
        return Controls[id].text.substr(0, maxUnits);
    }
    void SetText(int id, std::u16string_view text) override {
        Controls[id].text = text;
        ++TextWrites[id];
        if (Dialog && IsEdit(id)) Dialog->OnCommand(id, NOTIFY_EDIT_CHANGE);
    }
    bool Checked(int id) override { return Controls[id].checked; }
    void SetChecked(int id, bool checked) override { Controls[id].checked = checked; }
    int Selection(int id) override { return Controls[id].selection; }
    void Select(int id, int index) override { Controls[id].selection = index; }
    bool Enabled(int id) override { return Controls[id].enabled; }
    void Enable(int id, bool enabled) override { Controls[id].enabled = enabled; }
    void Warn(std::u16string_view message, int focusId) override {
        Warnings.emplace_back(message, focusId);
    }

    // What a user does.
    void Type(int id, std::u16string_view text) {
        if (IsEdit(id)) return SetText(id, text);
        Controls[id].text = text;
        if (Dialog) Dialog->OnCommand(id, NOTIFY_COMBO_EDIT_CHANGE);
    }
    void Choose(int comboId, int index) {
        Controls[comboId].selection = index;
        Controls[comboId].text = FormatSigned(index + 1);
        if (Dialog) Dialog->OnCommand(comboId, NOTIFY_COMBO_SELECTION_CHANGE);
    }
    void Click(int id) {
        if (IsCheckBox(id)) Controls[id].checked = !Controls[id].checked;
        if (Dialog) Dialog->OnCommand(id, NOTIFY_BUTTON_CLICKED);
    }

    static bool IsEdit(int id) {
        static const std::set<int> edits = {
            IDC_ROW_SIZES,   IDC_COL_SIZES,    IDC_LINE_COLOR,   IDC_FIRST_BACK_COLOR,
            IDC_TABLE_WIDTH, IDC_TABLE_HEIGHT, IDC_BACK_COLOR,   IDC_BACK_COLOR2,
            IDC_BACK_OPACITY, IDC_LEFT_MARGIN, IDC_TOP_MARGIN,   IDC_LINE_OPACITY};
        return edits.count(id) != 0;
    }
    static bool IsCheckBox(int id) {
        return (id >= IDC_BORDER_LEFT && id <= IDC_BORDER_BOTTOM) || id == IDC_FILL_BACKGROUND ||
               id == IDC_DOCK_BORDER || id == IDC_SHOW_EFFECT;
    }
};

class RecordingWindow : public DialogWindow {
public:
    std::vector<std::string> Calls;
    bool SizeEditorExists = true;
    bool ConfirmFile = true;
    std::u16string ChosenPath = u"C:\\tables\\a.txt";
    std::u16string OfferedPath;  // what the file dialog started with
    std::map<std::u16string, MapProfileStore> Files;

    void EndDialog(int result) override { Record("EndDialog " + std::to_string(result)); }
    void RepaintPreview() override { Record("RepaintPreview"); }
    void RepaintSwatch(int id) override { Record("RepaintSwatch " + std::to_string(id)); }
    void RepaintBackgroundSwatches(bool erase) override {
        Record(erase ? "RepaintBackground erase" : "RepaintBackground");
    }
    bool ChooseParamsFile(std::u16string& path, bool save) override {
        Record(save ? "ChooseSave" : "ChooseOpen");
        OfferedPath = path;
        if (ConfirmFile) path = ChosenPath;
        return ConfirmFile;
    }
    FileOutcome FileFault;  // what the next save or load meets

    FileOutcome SaveParamsFile(const std::u16string& path, const TableParams& params) override {
        Record("Save");
        if (FileFault.ok()) SaveParams(Files[path], params);
        return FileFault;
    }
    FileOutcome LoadParamsFile(const std::u16string& path, TableParams& params) override {
        Record("Load");
        if (FileFault.ok()) LoadParams(Files[path], params);
        return FileFault;
    }
    void CenterTable() override { Record("CenterTable"); }
    void ZoomIn() override { Record("ZoomIn"); }
    void ZoomOut() override { Record("ZoomOut"); }
    void ShowAbout() override { Record("ShowAbout"); }
    bool HasSizeEditor() override { return SizeEditorExists; }
    void ShowSizeEditor(int buttonId) override {
        Record("ShowSizeEditor " + std::to_string(buttonId));
    }
    void HideSizeEditor() override { Record("HideSizeEditor"); }

    int Count(const std::string& call) const {
        int n = 0;
        for (const std::string& c : Calls) n += c == call;
        return n;
    }

private:
    void Record(std::string call) { Calls.push_back(std::move(call)); }
};

// A dialog over the module's parameters at their defaults, with layout arrays
// and a grip placement that counts its calls.
struct DialogRig {
    DialogState State{};
    int32_t ColWidths[MaxTableCells] = {};
    int32_t RowHeights[MaxTableCells] = {};
    int GripPlacements = 0;
    FakeControls Controls;
    RecordingWindow Window;
    MainDialog Dialog;

    explicit DialogRig(UiLanguage language = UiLanguage::Chinese) : Dialog(State, Controls, Window, language) {
        ApplyDefaultParams(State.Params);
        State.ColWidths = ColWidths;
        State.RowHeights = RowHeights;
        State.PlaceGrips = [](void* rig, const TableParams&, const TableLayout&) {
            ++static_cast<DialogRig*>(rig)->GripPlacements;
        };
        State.GripContext = this;
        Controls.Dialog = &Dialog;
    }
    DialogRig(const DialogRig&) = delete;
    DialogRig& operator=(const DialogRig&) = delete;

    TableParams& Params() { return State.Params; }
    std::u16string TextOf(int id) { return Controls.Controls[id].text; }
};

}  // namespace gridsmith::ui::testing
