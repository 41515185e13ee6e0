#pragma once
// Radio buttons and their group. Headless: a button keeps its checked state;
// nothing is drawn.
#include <vector>

#include "model/document/DocWindows.h"

class CUIRadioButtonGroup;

class CUIRadioButton {
public:
    bool isChecked() const { return checked_; }
    void setCheck(bool checked) { checked_ = checked; }

private:
    bool checked_ = false;
};

// Told when the user (or a notifying selectBtn) picks a button of a group.
class CUIRadioButtonDelegate {
public:
    virtual ~CUIRadioButtonDelegate() = default;
    virtual void onRadioBtnSelected(CUIRadioButtonGroup* group, CUIRadioButton* button) = 0;
};

class CUIRadioButtonGroup : public IDocModeButtons {
public:
    // The buttons are not owned.
    void addBtn(CUIRadioButton* button) { buttons_.push_back(button); }
    void setDelegate(CUIRadioButtonDelegate* delegate) { delegate_ = delegate; }

    // Checks the button and unchecks every other one; with notify the
    // delegate hears of it. A button of another group does nothing.
    void selectBtn(CUIRadioButton* button, bool notify);
    // The checked button, or null.
    CUIRadioButton* getSelBtn() const;

    void selectBtnAt(int index, bool notify) override;

private:
    std::vector<CUIRadioButton*> buttons_;
    CUIRadioButtonDelegate* delegate_ = nullptr;
};
