#pragma once
// A document, scripted message boxes, a scratch folder and fixed import
// settings for the score import tests.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "lyrics/ILyricDict.h"
#include "model/current/DefaultProject.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/file/ProjectFile.h"
#include "model/import/ISelectMidiTrackDlg.h"
#include "model/import/MidiImport.h"
#include "platform/FileUtil.h"
#include "platform/MessageBox.h"
#include "shell/services/AppConfig.h"
#include "support/ScratchDir.h"
#include "support/midi/SmfWriter.h"

// Rows are kept as (name, MIDI track number, note count); the choice is
// every offered row unless pick says otherwise.
struct FakeTrackDialog : ISelectMidiTrackDlg {
    std::vector<std::tuple<std::string, int, int>> rows;
    bool confirm = true;
    std::optional<std::vector<int>> pick;

    void addTrack(const CString& name, int index, int noteCount) override
    {
        rows.emplace_back(name.toUtf8(), index, noteCount);
    }
    bool doModal() override { return confirm; }
    std::vector<int> getSelTracks() const override
    {
        if (pick) return *pick;
        std::vector<int> all;
        for (const auto& row : rows) all.push_back(std::get<1>(row));
        return all;
    }
};

// Gives every text the symbols "sym1" and "sym2".
struct StubLyricDict : ILyricDict {
    std::vector<std::string> asked;
    void lookup(const std::string& text, std::vector<std::string>& words, std::vector<std::string>& symbols) override
    {
        asked.push_back(text);
        words = {text};
        symbols = {"sym1", "sym2"};
    }
};

class ImportFixture : public ::testing::Test {
protected:
    ImportFixture() : boxes_(&boxes)
    {
        getAppConfig().isAutoVib = false;
        doc.newProject(HVCurrentModel::makeDefaultProject().release());
        context.defaultSymbol = "a";
        context.singerName = "Ann";
    }

    // Writes the file and imports it with the fake dialog.
    MidiImportResult importMidi(const hvtest::SmfWriter& smf, bool newProject = true)
    {
        const std::string path = scratch.file("in.mid");
        smf.writeTo(path);
        return runMidiImport(doc, CString::fromUtf8(path), newProject, dialog, context);
    }

    // The first sing segment of track t of the model.
    static HVCurrentModel::SingSegment* segOf(const HVCurrentModel::HalvorenModel& model, size_t t)
    {
        return model.tracks.at(t)->singSegs->segAt(0);
    }

    // The project file bytes of a model.
    std::string savedBytes(const HVCurrentModel::HalvorenModel& model)
    {
        const CString path = CString::fromUtf8(scratch.file("saved.hvp"));
        std::string bytes;
        EXPECT_EQ(saveProjectFile(model, path), 0);
        EXPECT_TRUE(readWholeFile(path, bytes, uint64_t{1} << 30));
        return bytes;
    }

    hvtest::ScratchDir scratch{"import"};
    ScriptedMessageBoxService boxes;
    CSSSynthesizerDoc doc;
    FakeTrackDialog dialog;
    ScoreImportContext context;

private:
    ScopedMessageBoxService boxes_;
};
