#include "uikit/UIRadioButton.h"

#include "platform/StringUtil.h"

void CUIRadioButtonGroup::selectBtn(CUIRadioButton* button, bool notify) {
    if (!containsPtr(buttons_, button)) return;
    for (CUIRadioButton* b : buttons_) b->setCheck(b == button);
    if (notify && delegate_) delegate_->onRadioBtnSelected(this, button);
}

CUIRadioButton* CUIRadioButtonGroup::getSelBtn() const {
    for (CUIRadioButton* b : buttons_)
        if (b->isChecked()) return b;
    return nullptr;
}

void CUIRadioButtonGroup::selectBtnAt(int index, bool notify) {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
    selectBtn(buttons_[index], notify);
}
