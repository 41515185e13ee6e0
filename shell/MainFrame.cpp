#include "shell/MainFrame.h"

#include "model/current/DefaultProject.h"
#include "model/current/TempoMap.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/import/vsqx/VsqxImport.h"
#include "platform/FileUtil.h"
#include "platform/MessageBox.h"
#include "shell/ClipsNotLoaded.h"
#include "shell/ImportedLyrics.h"
#include "shell/services/LanguageMgr.h"
#include "voicebank/SingerMgr.h"

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

MidiImportResult::Status CMainFrame::importMidiFile(const CString& path, bool newProject, ImportRefusal* refusal) {
    CSelectMidiTrackDlg dialog(midiTrackAnswer);
    MidiImportResult result = runMidiImport(*doc_, path, newProject, dialog, ScoreImportContext::fromSettings());
    if (refusal) *refusal = result.refusal;
    if (result.status != MidiImportResult::Status::imported) return result.status;
    if (result.newModel) resetAllViews(result.newModel.release());
    reportImportedLyrics(*doc_, result.tracks);
    setScoreMode();
    if (result.firstNoteTick) doc_->playPos = *result.firstNoteTick;
    doc_->updateViewsTags();
    updatePosInfo();
    doc_->refreshAllViews();
    return result.status;
}

bool CMainFrame::importVsqxFile(const CString& path, ImportRefusal* refusal) {
    ImportRefusal why;
    std::unique_ptr<HVCurrentModel::HalvorenModel> model = loadVsqx(path, getDefaultSingerName(), &why);
    if (refusal) *refusal = why;
    if (!model) {
        // A score refused for its size is named by the caller, with its sizes.
        if (why.kind == ImportRefusal::Kind::none)
            showMessageBox(translate("Error in reading vsqx file..."), CString(u">_<"));
        return false;
    }
    resetAllViews(model.release());
    nameClipsNotLoaded(*doc_);
    reportImportedLyrics(*doc_, doc_->getModel()->tracks);
    setScoreMode();
    projectName_ = fileNameOfStoredPath(path).toUtf8();
    updateTitle();
    return true;
}
