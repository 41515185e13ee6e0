#pragma once
// Base of the windows that lie along the time line (the ruler windows, the
// note editor and the track window). Headless: it keeps what the document
// asked of it and counts refreshes; nothing is drawn.
#include "model/document/DocWindows.h"

class CLineWnd : public IDocView {
public:
    // Rebuilds the window's views from the document's model.
    void refreshFromDoc() override { ++refreshCount; }
    // Re-lays the tempo and beat tag rows and repaints.
    void updateTags() override {
        ++tagsUpdateCount;
        invalidate(true);
    }
    // Re-lays the play start and end tags and repaints.
    void updatePlayRange() override {
        ++playRangeUpdateCount;
        invalidate(true);
    }
    void invalidate(bool erase) override { ++invalidateCount; }

    int refreshCount = 0;
    int tagsUpdateCount = 0;
    int playRangeUpdateCount = 0;
    int invalidateCount = 0;
};
