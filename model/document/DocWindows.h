#pragma once
// What the document needs of the windows that show it. The editing windows,
// the main frame and the panel's mode buttons implement these; the document
// holds plain non-owning pointers and never draws anything itself.

namespace HVCurrentModel {
class SingSegment;
}

// A registered editing window (the track window, the note editor).
class IDocView {
public:
    virtual ~IDocView() = default;
    // Rebuilds the window's views from the document's model.
    virtual void refreshFromDoc() = 0;
    // Re-lays the tempo and beat tag rows.
    virtual void updateTags() = 0;
    // Re-lays the play start and end tags.
    virtual void updatePlayRange() = 0;
    // Marks the whole client area for repainting.
    virtual void invalidate(bool erase) = 0;
};

// The note editor as the document drives it.
class IDocNoteEditor {
public:
    virtual ~IDocNoteEditor() = default;
    // Shows the segment (null: none) and tells the document about it.
    virtual void setEditSeg(HVCurrentModel::SingSegment* segment) = 0;
    // Selects the parameter curve kind edited in parameter mode.
    virtual void selParm(int curveKind) = 0;
    // Switches to edit mode 0 (music score) or 1 (parameter) and repaints.
    virtual void switchEditMode(int mode) = 0;
    virtual void getVisibleTickRange(int& tickFrom, int& tickTo, int& keyFrom, int& keyTo) const = 0;
    virtual void invalidate(bool erase) = 0;
};

// The main frame as the document drives it.
class IDocMainFrame {
public:
    virtual ~IDocMainFrame() = default;
    // Rebuilds the title from the document's path and modified state.
    virtual void updateTitle() = 0;
    // Sets the panel's mode button and switches the note editor to the mode.
    virtual void setEditMode(int mode) = 0;
    virtual void setScoreMode() = 0;
};

// The panel's group of edit-mode buttons.
class IDocModeButtons {
public:
    virtual ~IDocModeButtons() = default;
    // Checks the button at index and unchecks the others; with notify the
    // group's delegate hears of it.
    virtual void selectBtnAt(int index, bool notify) = 0;
};
