#pragma once
// A document with recording stand-ins for the windows it drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/document/SSSynthesizerDoc.h"
#include "shell/services/AppConfig.h"
#include "support/model_document/ProjectBuilder.h"

struct RecordingView : IDocView {
    int refreshes = 0, tags = 0, ranges = 0, invalidates = 0;
    void refreshFromDoc() override { ++refreshes; }
    void updateTags() override { ++tags; }
    void updatePlayRange() override { ++ranges; }
    void invalidate(bool) override { ++invalidates; }
};

// Forwards to the document as the note editor does.
struct RecordingNoteEditor : IDocNoteEditor {
    explicit RecordingNoteEditor(CSSSynthesizerDoc& d) : doc(d) {}
    CSSSynthesizerDoc& doc;
    std::vector<HVCurrentModel::SingSegment*> shown;
    std::vector<int> parms, modes;
    void setEditSeg(HVCurrentModel::SingSegment* s) override {
        shown.push_back(s);
        doc.setEditingSegment(s);
    }
    void selParm(int kind) override { parms.push_back(kind); }
    void switchEditMode(int mode) override { modes.push_back(mode); }
    void getVisibleTickRange(int& a, int& b, int& c, int& d) const override { a = 1, b = 2, c = 3, d = 4; }
    void invalidate(bool) override {}
};

struct RecordingFrame : IDocMainFrame {
    int titles = 0;
    std::vector<int> modes;
    int scoreModes = 0;
    void updateTitle() override { ++titles; }
    void setEditMode(int mode) override { modes.push_back(mode); }
    void setScoreMode() override { ++scoreModes; }
};

struct RecordingButtons : IDocModeButtons {
    std::vector<std::pair<int, bool>> picks;
    void selectBtnAt(int index, bool notify) override { picks.emplace_back(index, notify); }
};

class DocFixture : public ::testing::Test {
protected:
    DocFixture() {
        doc.addView(&view);
        doc.setNoteEditor(&editor);
        doc.setMainFrame(&frame);
        doc.setModeButtons(&buttons);
        auto m = projtest::markersOnly();
        model = m.get();
        track = projtest::addTrack(*model, HVCurrentModel::kSingingTrack, "t1");
        seg = projtest::addSingSeg(*track, 7680, 1920, "singer");
        doc.newProject(m.release());
        savedConfig = getAppConfig();
    }
    ~DocFixture() override { getAppConfig() = savedConfig; }

    CSSSynthesizerDoc doc;
    RecordingView view;
    RecordingNoteEditor editor{doc};
    RecordingFrame frame;
    RecordingButtons buttons;
    HVCurrentModel::HalvorenModel* model = nullptr;
    HVCurrentModel::Track* track = nullptr;
    HVCurrentModel::SingSegment* seg = nullptr;
    CAppConfigModel savedConfig;
};
