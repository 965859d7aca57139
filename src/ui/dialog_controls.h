// The dialog's controls as the portable code sees them: text, check and
// selection state moved in and out by control ID. The Windows layer implements
// it over the real dialog; tests implement it over a table.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace gridsmith::ui {

class DialogControls {
public:
    virtual ~DialogControls() = default;

    // At most `maxUnits` UTF-16 units of the control's text.
    virtual std::u16string Text(int id, size_t maxUnits) = 0;
    // Writing a control from code raises its change notification like typing.
    virtual void SetText(int id, std::u16string_view text) = 0;
    virtual bool Checked(int id) = 0;
    // Setting a box's state from code does not run its click handler.
    virtual void SetChecked(int id, bool checked) = 0;
    // The selected item of a list, -1 when none.
    virtual int Selection(int id) = 0;
    virtual void Select(int id, int index) = 0;
    virtual bool Enabled(int id) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    // A warning message box (caption "Gridsmith", OK button); afterwards the
    // keyboard focus moves to `focusId` unless it is 0.
    virtual void Warn(std::u16string_view message, int focusId) = 0;
};

}  // namespace gridsmith::ui
