#include "model/import/MidiImport.h"

#include <algorithm>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "lyrics/ILyricDict.h"
#include "model/current/DefaultProject.h"
#include "model/current/Markers.h"
#include "model/import/ClampToInt32.h"
#include "model/import/ImportBudget.h"
#include "model/document/SSSynthesizerDoc.h"
#include "model/import/MidiText.h"
#include "model/import/MidiTrackRecord.h"
#include "model/import/SortedFill.h"
#include "model/import/midi/MIDIFileRead.h"
#include "platform/MessageBox.h"
#include "platform/TextConvert.h"
#include "shell/services/LanguageMgr.h"

using namespace HVCurrentModel;

namespace {

constexpr int64_t kModelTicksPerQuarter = 480;
constexpr int32_t kKeyBase = 115;

// File ticks at the file's division into model ticks, in 64 bits.
int32_t scaleTicks(int64_t ticks, int32_t ticksPerQuarter)
{
    return clampToInt32(ticks * kModelTicksPerQuarter / ticksPerQuarter);
}

enum class FileRead { ok, unreadable, tooLarge };

// A division of 0 or an SMPTE time base cannot be scaled: such a file is
// refused like an unreadable one. fileBytes is the file's size, also when
// it is too large to read.
FileRead readMidiFile(const CString& path, hvmidi::MIDIMultiTrack& tracks, uint64_t& fileBytes)
{
    const hvmidi::MIDIFileReadStreamFile stream(path);
    fileBytes = stream.fileBytes();
    if (stream.tooLarge()) return FileRead::tooLarge;
    hvmidi::MIDIFileReadMultiTrack sink(&tracks);
    hvmidi::MIDIFileRead reader(stream, sink);
    if (!reader.parse() || tracks.getNumTracks() <= 0 || tracks.getClocksPerBeat() <= 0) return FileRead::unreadable;
    return FileRead::ok;
}

Track* newImportTrack(const std::string& singer)
{
    auto* seg = new SingSegment(kDefaultSegmentPos, kDefaultSegmentWidth);
    seg->singer = singer;
    auto* track = new Track(kSingingTrack);
    insertSegmentSorted(*track->singSegs, seg);
    return track;
}

Note* makeNote(const MidiNoteRecord& record, int32_t ticksPerQuarter, const MidiTextDecoder& text,
               const ScoreImportContext& context)
{
    auto* note = new Note;
    note->key = kKeyBase - record.note;
    note->pos = scaleTicks(record.start, ticksPerQuarter);
    note->width = scaleTicks(int64_t{record.end} - record.start, ticksPerQuarter);
    if (record.lyric.empty()) {
        note->lyric = context.defaultSymbol;
        note->phoneticSymbol = context.defaultSymbol;
        return note;
    }
    note->lyric = text.toUtf8(record.lyric);
    if (!context.lyricDict) {
        note->phoneticSymbol = note->lyric;
        return note;
    }
    std::vector<std::string> words, symbols;
    context.lyricDict->lookup(note->lyric, words, symbols);
    if (!symbols.empty()) note->phoneticSymbol = symbols.front();
    return note;
}

// Puts the notes into the new, empty segment as the document's note adding
// does (the settings' vibrato and expression, then sorted insertion with
// overlap flags), in one pass.
void addNotesToNewSeg(const std::vector<Note*>& notes, SingSegment* seg)
{
    for (Note* n : notes) CSSSynthesizerDoc::setNoteDefaultVibExp(n);
    fillSorted(seg->notes, notes);
}

// Fills the segment with the notes of one MIDI track, releasing the
// record's notes once they are built; trackNumber is the segment's track in
// the project, counted from 1. Returns the tick at which its first note (in
// finishing order) starts, when it has one.
std::optional<int32_t> fillSegment(CSSSynthesizerDoc& doc, MidiTrackRecord& record, size_t trackNumber,
                                   SingSegment* seg, const MidiTextDecoder& text, const ScoreImportContext& context)
{
    std::vector<Note*> notes;
    notes.reserve(record.notes.size());
    for (const MidiNoteRecord& r : record.notes) {
        Note* note = makeNote(r, record.ticksPerQuarter, text, context);
        // A note of no width (its ends fall on one model tick) could not be
        // edited or fixed; it is left out.
        if (note->width <= 0) {
            delete note;
            continue;
        }
        notes.push_back(note);
    }
    std::vector<MidiNoteRecord>().swap(record.notes);
    seg->name = text.toUtf8(record.name);
    const int64_t lastEnd = notes.empty() ? 0 : spanEnd(*notes.back());
    // The last note's end rounded up to a whole measure, plus one measure.
    seg->width = clampToInt32((lastEnd + 2 * kWholeNoteTicks - 1) / kWholeNoteTicks * kWholeNoteTicks);
    seg->extendCurveEnds();
    std::optional<int32_t> first;
    if (!notes.empty()) first = clampToInt32(int64_t{seg->pos} + notes.front()->pos);

    addNotesToNewSeg(notes, seg);
    if (seg->notes.hasOverlapped()) {
        const std::string number = std::to_string(trackNumber);
        const CString text = translate("track") + CString::fromUtf8(" " + number + " ") +
                             translate("exist note overlap, do you want to auto-fix it?");
        if (showMessageBox(text, CString(u">_<"), MbButtons::yesNo, MbIcon::question) == MbResult::yes)
            doc.fixNoteOverlaps(seg);
    }
    return first;
}

// New-project mode: the tempo changes of MIDI track 0 after the segment
// start. Appended, then sorted stably: the order of inserting each after
// every marker of equal or lower position.
void addTempos(const MidiTrackRecord& record, HalvorenModel& model)
{
    for (const MidiTempoChange& change : record.tempos) {
        const int32_t pos = clampToInt32(kDefaultSegmentPos + int64_t{scaleTicks(change.tick, record.ticksPerQuarter)});
        model.tempos.push_back(new Tempo{pos, static_cast<int32_t>(change.bpm * 100)});
    }
    std::stable_sort(model.tempos.begin(), model.tempos.end(),
                     [](const Tempo* a, const Tempo* b) { return a->pos < b->pos; });
}

// Counts what the chosen tracks, of the given numbers of notes (and, for a
// new project, the tempos) will build beside the records the notes are built
// from; false, with the sizes in size, when that passes what an import of
// the file may build.
bool tracksWithinBudget(const std::vector<int>& chosen, const std::map<int, size_t>& notesOf,
                        const MidiTrackRecord* tempoTrack, uint64_t fileBytes, ImportSize& size)
{
    ReadBudget budget = makeImportBudget(fileBytes);
    size.fileBytes = fileBytes;
    size.bytesAllowed = budget.byteLimit();
    uint64_t records = 0;
    for (int m : chosen) {
        size.notes += notesOf.at(m);
        size.bytesNeeded += notesOf.at(m) * (kNoteBuildBytes + sizeof(MidiNoteRecord));
        records += notesOf.at(m);
    }
    if (tempoTrack) {
        size.bytesNeeded += tempoTrack->tempos.size() * sizeof(Tempo);
        records += tempoTrack->tempos.size();
    }
    return records <= budget.recordLimit() && size.bytesNeeded <= size.bytesAllowed;
}

// Offers the dialog every track that has notes; returns their indices, and
// their numbers of notes in notesOf.
std::vector<int> offerTracks(const hvmidi::MIDIMultiTrack& tracks, const MidiTextDecoder& text,
                             ISelectMidiTrackDlg& dialog, std::map<int, size_t>& notesOf)
{
    std::vector<int> offered;
    MidiTrackRecord record;
    for (int i = 0; i < tracks.getNumTracks(); ++i) {
        fillMidiTrackRecord(tracks, i, record);
        if (record.notes.empty()) continue;
        CString name;
        utf8ToCstr(text.toUtf8(record.name).c_str(), name);
        dialog.addTrack(name, i, static_cast<int>(record.notes.size()));
        offered.push_back(i);
        notesOf[i] = record.notes.size();
    }
    return offered;
}

MidiImportResult readFailed()
{
    showMessageBox(translate("Error in reading midi file..."), CString(u"(＞﹏＜)"));
    MidiImportResult result;
    result.status = MidiImportResult::Status::readFailed;
    return result;
}

// A file refused for its size is no read error: the caller names it with
// its sizes.
MidiImportResult tooLarge(const ImportRefusal& refusal)
{
    MidiImportResult result;
    result.status = MidiImportResult::Status::tooLarge;
    result.refusal = refusal;
    return result;
}

}  // namespace

MidiImportResult runMidiImport(CSSSynthesizerDoc& doc, const CString& path, bool newProject,
                               ISelectMidiTrackDlg& dialog, const ScoreImportContext& context)
{
    MidiImportResult result;
    hvmidi::MIDIMultiTrack tracks;
    uint64_t fileBytes = 0;
    switch (readMidiFile(path, tracks, fileBytes)) {
        case FileRead::ok: break;
        case FileRead::unreadable: return readFailed();
        case FileRead::tooLarge:
            return tooLarge({ImportRefusal::Kind::fileTooLarge,
                             {.fileBytes = fileBytes, .bytesAllowed = hvmidi::MIDIFileReadStreamFile::kMaxFileBytes}});
    }

    const MidiTextDecoder text(tracks);
    std::map<int, size_t> notesOf;
    const std::vector<int> offered = offerTracks(tracks, text, dialog, notesOf);
    if (!dialog.doModal()) return result;
    std::vector<int> chosen;
    for (int m : dialog.getSelTracks())
        if (std::find(offered.begin(), offered.end(), m) != offered.end()) chosen.push_back(m);
    if (chosen.empty()) return result;

    MidiTrackRecord tempoTrack;
    if (newProject) fillMidiTrackRecord(tracks, 0, tempoTrack);
    // A file that would build too much is refused before its chosen tracks
    // are read again.
    ImportSize size;
    if (!tracksWithinBudget(chosen, notesOf, newProject ? &tempoTrack : nullptr, fileBytes, size))
        return tooLarge({ImportRefusal::Kind::tooLarge, size});
    std::vector<MidiTrackRecord> records(chosen.size());
    for (size_t k = 0; k < chosen.size(); ++k) fillMidiTrackRecord(tracks, chosen[k], records[k]);
    // The records hold all the import takes from the file: its events go
    // before the notes are built.
    tracks.clear();

    std::vector<Track*> newTracks;
    if (newProject) {
        result.newModel = makeDefaultProject();
        newTracks.push_back(result.newModel->tracks.front());
        // The default project is sung by the default singer, the one the
        // context names.
        newTracks.front()->singSegs->segAt(0)->singer = context.singerName;
    }
    while (newTracks.size() < chosen.size()) {
        newTracks.push_back(newImportTrack(context.singerName));
        if (newProject) result.newModel->tracks.push_back(newTracks.back());
    }

    // The tracks' places in the project: a new project's first ones, or
    // where the document inserts singing tracks, before the first
    // instrumental track.
    const std::vector<Track*>& present = doc.getModel()->tracks;
    const size_t firstIndex =
        newProject ? 0
                   : size_t(std::find_if(present.begin(), present.end(),
                                         [](const Track* t) { return t->kind == kInstrumentTrack; }) -
                            present.begin());
    for (size_t k = 0; k < chosen.size(); ++k) {
        SingSegment* seg = newTracks[k]->singSegs->segAt(0);
        const std::optional<int32_t> first = fillSegment(doc, records[k], firstIndex + k + 1, seg, text, context);
        if (first && (!result.firstNoteTick || *first < *result.firstNoteTick)) result.firstNoteTick = first;
    }

    if (newProject)
        addTempos(tempoTrack, *result.newModel);
    else
        doc.insertTracks(newTracks);
    result.tracks = std::move(newTracks);
    result.status = MidiImportResult::Status::imported;
    return result;
}
