#include "editor/EditWnd.h"

#include "model/document/SSSynthesizerDoc.h"

CEditWnd::CEditWnd(CSSSynthesizerDoc* doc) : doc_(doc ? doc : getDoc()) {}

void CEditWnd::setEditSeg(HVCurrentModel::SingSegment* segment) {
    ++setEditSegCount;
    editSeg_ = segment;
    doc_->setEditingSegment(segment);
    invalidate(true);
}

void CEditWnd::selParm(int curveKind) {
    parmKind_ = curveKind;
    doc_->curveKind = curveKind;
    invalidate(true);
}

void CEditWnd::switchEditMode(int mode) {
    editMode_ = mode;
    doc_->editMode = mode;
    invalidate(true);
}

bool CEditWnd::WindowProc(unsigned msg, long wParam, long lParam) {
    if (msg != kMsgSetEditMode) return false;
    switchEditMode(static_cast<int>(lParam));
    return true;
}

void CEditWnd::getVisibleTickRange(int& tickFrom, int& tickTo, int& keyFrom, int& keyTo) const {
    tickFrom = visTickFrom_;
    tickTo = visTickTo_;
    keyFrom = visKeyFrom_;
    keyTo = visKeyTo_;
}
