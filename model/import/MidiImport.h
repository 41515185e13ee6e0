#pragma once
// Standard MIDI files into singing tracks: each chosen MIDI track becomes a
// singing track holding one sing segment at 7680 with the track's notes and
// lyrics. In the new-project mode the tracks fill a new default project that
// also takes the tempo changes of MIDI track 0; in the import mode they are
// added to the document's project as one undoable step.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/current/HalvorenModel.h"
#include "model/import/ImportBudget.h"
#include "model/import/ISelectMidiTrackDlg.h"
#include "model/import/ScoreImportContext.h"
#include "platform/CString.h"

class CSSSynthesizerDoc;

struct MidiImportResult {
    // tooLarge: refused for its size, as `refusal` says.
    enum class Status { readFailed, tooLarge, cancelled, imported };
    Status status = Status::cancelled;
    // tooLarge: the file, or the chosen tracks, that were too large, with
    // the sizes that refused them.
    ImportRefusal refusal;
    // New-project mode: the project to install in the document.
    std::unique_ptr<HVCurrentModel::HalvorenModel> newModel;
    // Where the earliest imported note starts, when there is one.
    std::optional<int32_t> firstNoteTick;
    // The tracks the notes went into, owned by the project.
    std::vector<HVCurrentModel::Track*> tracks;
};

// Reads the file and asks the dialog. A file that cannot be read (also one
// without a tick-based division) gives the read message and changes
// nothing; a file too large to read or to import, or a cancelled or empty
// choice, changes nothing without a message. Overlapping notes of an
// imported segment are offered to be fixed.
MidiImportResult runMidiImport(CSSSynthesizerDoc& doc, const CString& path, bool newProject,
                               ISelectMidiTrackDlg& dialog, const ScoreImportContext& context);
