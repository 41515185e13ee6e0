#pragma once
// A document with recording stand-ins for the windows it drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/document/SSSynthesizerDoc.h"
#include "shell/services/AppConfig.h"
#include "support/model_document/ProjectBuilder.h"

struct RecordingView : IDocView {
    int refreshes = 0, ranges = 0;
    void refreshFromDoc() override { ++refreshes; }
    void updateTags() override {}
    void updatePlayRange() override { ++ranges; }
    void invalidate(bool) override {}
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
    void getVisibleTickRange(int&, int&, int&, int&) const override {}
    void invalidate(bool) override {}
};

struct RecordingFrame : IDocMainFrame {
    int titles = 0, scoreModes = 0;
    std::vector<int> modes;
    void updateTitle() override { ++titles; }
    void setEditMode(int mode) override { modes.push_back(mode); }
    void setScoreMode() override { ++scoreModes; }
};

struct RecordingButtons : IDocModeButtons {
    std::vector<std::pair<int, bool>> picks;
    void selectBtnAt(int index, bool notify) override { picks.emplace_back(index, notify); }
};

// A document over markersOnly() plus track "t1" holding one segment of
// 1920 ticks at measure 1, with every window attached; restores the
// settings the test changed.
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
    CAppConfigModel savedConfig = getAppConfig();
};
