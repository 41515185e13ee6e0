#include "shell/CommandLineImport.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/RegularFile.h"
#include "shell/HalvorenApp.h"
#include "shell/MainFrame.h"

namespace {

using Rows = std::vector<CSelectMidiTrackDlg::Row>;

std::string listOf(const Rows& rows) {
    std::string text;
    for (const CSelectMidiTrackDlg::Row& row : rows) text += (text.empty() ? "" : ", ") + std::to_string(row.index);
    return text;
}

// The track choice for --midi-tracks: every offered row when none are given;
// a number that names no offered row (out of range, or a track without
// notes) cancels the choice with the reason in `refusal`.
std::optional<std::vector<int>> chooseTracks(const Rows& rows, const std::vector<int>& wanted, const std::string& file,
                                             std::string& refusal) {
    if (wanted.empty()) {
        std::vector<int> chosen;
        for (const CSelectMidiTrackDlg::Row& row : rows) chosen.push_back(row.index);
        return chosen;
    }
    for (int n : wanted) {
        const bool offered =
            std::any_of(rows.begin(), rows.end(), [n](const CSelectMidiTrackDlg::Row& row) { return row.index == n; });
        if (!offered) {
            refusal = "--midi-tracks: " + file + " has no MIDI track " + std::to_string(n) + " with notes" +
                      (rows.empty() ? std::string(" (none has notes)") : " (tracks with notes: " + listOf(rows) + ")");
            return std::nullopt;
        }
    }
    return wanted;
}

// Why a score could not be read: the system's reason when the file cannot
// be opened, else that its contents are not what the reader takes.
std::string unreadable(const std::string& file, const char* kind) {
    const std::string problem = regularFileProblem(absolutePath(file));
    return ": " + (problem.empty() ? std::string("not a readable ") + kind : problem);
}

// "1.5 MiB", or "58.6 KiB" below a mebibyte.
std::string mebibytes(uint64_t bytes) {
    const bool small = bytes < (uint64_t{1} << 20);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", static_cast<double>(bytes) / (small ? 1024.0 : 1024.0 * 1024.0),
                  small ? "KiB" : "MiB");
    return text;
}

std::string tooLargeToImport(const ImportSize& size) {
    return ": too large to import: its " + std::to_string(size.notes) + " notes would take " +
           mebibytes(size.bytesNeeded) + ", and the import of a file of " + mebibytes(size.fileBytes) +
           " may take at most " + mebibytes(size.bytesAllowed);
}

// The exact count of bytes: at the bound, both sizes round to one figure.
std::string tooLargeToRead(const ImportSize& size, const char* kind) {
    return ": too large to import: its " + std::to_string(size.fileBytes) + " bytes (" + mebibytes(size.fileBytes) +
           ") are more than the " + mebibytes(size.bytesAllowed) + " " + kind + " may have";
}

// Why a score of this kind ("a MIDI file") was refused for its size, with
// the sizes; "" when it was not.
std::string tooLarge(const ImportRefusal& refusal, const char* kind) {
    switch (refusal.kind) {
        case ImportRefusal::Kind::fileTooLarge: return tooLargeToRead(refusal.size, kind);
        case ImportRefusal::Kind::tooLarge: return tooLargeToImport(refusal.size);
        case ImportRefusal::Kind::none: break;
    }
    return "";
}

// The message boxes of a MIDI import. The overlap question is answered by
// --fix-overlaps: given, it is answered yes without being asked; not given,
// it is printed with its answer, no.
class ImportQuestions : public IMessageBoxService {
public:
    explicit ImportQuestions(bool fixOverlaps) : fixOverlaps_(fixOverlaps) {}
    MbResult show(const CString& text, const CString& caption, MbButtons buttons, MbIcon icon) override {
        if (buttons == MbButtons::yesNo && fixOverlaps_) return MbResult::yes;
        return printed_.show(text, caption, buttons, icon);
    }

private:
    bool fixOverlaps_;
    HeadlessMessageBoxService printed_;
};

ScoreReadOutcome readMidi(CMainFrame& frame, const std::string& file, bool newProject, const CommandLine& line) {
    std::string choice;
    frame.midiTrackAnswer = [&](const Rows& rows) { return chooseTracks(rows, line.midiTracks, file, choice); };
    ImportQuestions boxes(line.fixOverlaps);
    MidiImportResult::Status status;
    ImportRefusal refusal;
    {
        ScopedMessageBoxService scoped(&boxes);
        status = frame.importMidiFile(absolutePath(file), newProject, &refusal);
    }
    frame.midiTrackAnswer = {};
    const std::string verb = newProject ? "cannot open " : "cannot import ";
    switch (status) {
        case MidiImportResult::Status::imported: return {};
        case MidiImportResult::Status::readFailed: return {kExitCannotOpen, verb + file + unreadable(file, "MIDI file")};
        case MidiImportResult::Status::tooLarge: return {kExitCannotOpen, verb + file + tooLarge(refusal, "a MIDI file")};
        case MidiImportResult::Status::cancelled: break;
    }
    if (!choice.empty()) return {kExitUsage, choice};
    return {kExitCannotOpen, verb + file + ": no MIDI track holds notes"};
}

}  // namespace

ScoreReadOutcome openScore(CMainFrame& frame, const std::string& file, const CommandLine& line) {
    if (lowerCaseExt(file) == "mid") return readMidi(frame, file, true, line);
    ImportRefusal refusal;
    if (frame.importVsqxFile(absolutePath(file), &refusal)) return {};
    const std::string verb = "cannot open " + file;
    if (refusal.kind != ImportRefusal::Kind::none) return {kExitCannotOpen, verb + tooLarge(refusal, "a VSQX score")};
    return {kExitCannotOpen, verb + unreadable(file, "VSQX score")};
}

ScoreReadOutcome importMidi(CMainFrame& frame, const std::string& file, const CommandLine& line) {
    return readMidi(frame, file, false, line);
}
