#include "shell/MainFrame.h"

#include "model/current/DefaultProject.h"
#include "model/current/TempoMap.h"
#include "model/document/SSSynthesizerDoc.h"

CMainFrame::CMainFrame(CSSSynthesizerDoc* doc) : editWnd(doc), doc_(doc ? doc : getDoc()) {
    modeButtons.addBtn(&scoreModeBtn);
    modeButtons.addBtn(&parmModeBtn);
    modeButtons.selectBtn(&scoreModeBtn, false);
    doc_->addView(&trackWnd);
    doc_->addView(&editWnd);
    doc_->setNoteEditor(&editWnd);
    doc_->setModeButtons(&modeButtons);
    doc_->setMainFrame(this);
}

CMainFrame::~CMainFrame() {
    doc_->removeView(&trackWnd);
    doc_->removeView(&editWnd);
    doc_->setNoteEditor(nullptr);
    doc_->setModeButtons(nullptr);
    doc_->setMainFrame(nullptr);
}

void CMainFrame::updateTitle() {
    ++titleUpdateCount;
    title_ = projectName_;
    if (doc_->isModified()) title_ += " *";
}

void CMainFrame::setEditMode(int mode) {
    editMode_ = mode;
    modeButtons.selectBtn(mode == 1 ? &parmModeBtn : &scoreModeBtn, false);
    editWnd.WindowProc(CEditWnd::kMsgSetEditMode, 0, mode);
    editWnd.invalidate(true);
}

void CMainFrame::newModel() {
    doc_->newProject(HVCurrentModel::makeDefaultProject().release());
    resetAllViews();
}

void CMainFrame::resetAllViews(HVCurrentModel::HalvorenModel* model) {
    if (model) doc_->newProject(model);
    doc_->resetEditWndSegment();
    editMode_ = 0;
    doc_->refreshAllViews();
    doc_->playPos = kCursorStartTick;
    updatePosInfo();
}

void CMainFrame::updatePosInfo() {
    ++posInfoCount;
    posSeconds = HVCurrentModel::TempoMap(doc_->getModel()->tempos).tickToSec(doc_->playPos);
    TimeSignature sig{posNumerator, posDenominator};
    doc_->getTempoBeatAtTick(doc_->playPos, &posTempo, &sig);
    posNumerator = sig.numerator;
    posDenominator = sig.denominator;
}
