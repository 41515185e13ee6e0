#pragma once
// The main frame. Headless: it holds the child windows the document talks
// to (a track window, the note editor and the panel's edit-mode buttons),
// registers them with the document, and keeps the title, the project name
// and the cursor texts instead of drawing them.
#include <string>

#include "editor/EditWnd.h"
#include "editor/LineWnd.h"
#include "model/document/DocWindows.h"
#include "model/import/MidiImport.h"
#include "shell/SelectMidiTrackDlg.h"
#include "uikit/UIRadioButton.h"

class CSSSynthesizerDoc;

namespace HVCurrentModel {
class HalvorenModel;
}

class CMainFrame : public IDocMainFrame {
public:
    static constexpr int kCursorStartTick = 7680;

    // doc null: the one document.
    explicit CMainFrame(CSSSynthesizerDoc* doc = nullptr);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // The project name followed by " *" while the document is modified.
    void updateTitle() override;
    void setEditMode(int mode) override;
    void setScoreMode() override { setEditMode(0); }
    // Replaces the document's model with a new default project.
    void newModel();
    // With a model the document takes it in place of its own; then the view
    // state and the windows are reset and the cursor goes back to measure 1.
    void resetAllViews(HVCurrentModel::HalvorenModel* model = nullptr);
    // Refreshes the cursor texts (time, tempo, beat).
    void updatePosInfo();
    // A standard MIDI file as a new project, or its chosen tracks added to
    // the open one; the track choice is answered by midiTrackAnswer. Tells
    // whether the file was imported, could not be read, was too large (why,
    // with its sizes, in refusal), or the choice was cancelled or empty.
    MidiImportResult::Status importMidiFile(const CString& path, bool newProject, ImportRefusal* refusal = nullptr);
    // A VSQX score as a new project. The score is read before anything is
    // replaced: a file that cannot be read leaves the open project as it
    // was. False then, with the read message, or, for a score too large to
    // read or import, without it and with the sizes in refusal.
    bool importVsqxFile(const CString& path, ImportRefusal* refusal = nullptr);

    void setProjectName(const std::string& name) { projectName_ = name; }
    const std::string& getTitle() const { return title_; }
    int getEditMode() const { return editMode_; }

    CLineWnd trackWnd;
    CEditWnd editWnd;
    CUIRadioButton scoreModeBtn;
    CUIRadioButton parmModeBtn;
    CUIRadioButtonGroup modeButtons;
    // Stands in for the user of the MIDI track dialog.
    CSelectMidiTrackDlg::Answer midiTrackAnswer;
    int titleUpdateCount = 0;
    // The cursor texts.
    float posSeconds = 0.0f;
    int posTempo = 0;
    int posNumerator = 0;
    int posDenominator = 0;
    int posInfoCount = 0;

private:
    CSSSynthesizerDoc* doc_;
    std::string projectName_;
    std::string title_;
    int editMode_ = 0;
};
