#pragma once
// The note editor. Headless: it keeps the shown segment, the edit mode, the
// selected curve kind and the visible range, and keeps the document told.
#include "editor/LineWnd.h"

class CSSSynthesizerDoc;

namespace HVCurrentModel {
class SingSegment;
}

class CEditWnd : public CLineWnd, public IDocNoteEditor {
public:
    // Private message that switches the edit mode (lParam: 0 score, 1 parameter).
    static constexpr unsigned kMsgSetEditMode = 0x20E9;

    // doc null: the one document.
    explicit CEditWnd(CSSSynthesizerDoc* doc = nullptr);

    void setEditSeg(HVCurrentModel::SingSegment* segment) override;
    void selParm(int curveKind) override;
    void switchEditMode(int mode) override;
    void getVisibleTickRange(int& tickFrom, int& tickTo, int& keyFrom, int& keyTo) const override;
    void invalidate(bool erase) override { CLineWnd::invalidate(erase); }

    // Handles the window messages sent to the note editor; true when handled.
    bool WindowProc(unsigned msg, long wParam, long lParam);

    HVCurrentModel::SingSegment* getEditSeg() const { return editSeg_; }
    int getEditMode() const { return editMode_; }
    int getParmKind() const { return parmKind_; }
    int setEditSegCount = 0;

private:
    CSSSynthesizerDoc* doc_;
    HVCurrentModel::SingSegment* editSeg_ = nullptr;
    int editMode_ = 0;
    int parmKind_ = 0;
    int visTickFrom_ = 0;
    int visTickTo_ = 0;
    int visKeyFrom_ = 0;
    int visKeyTo_ = 0;
};
