#pragma once
// Records of the notes of a sing segment.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/current/Segments.h"
#include "model/history/CommonActs.h"

using HVCurrentModel::Note;
using HVCurrentModel::SingSegment;

class CInsertNoteAct : public CommonInsertAct<Note, SingSegment> {
public:
    using CommonInsertAct::CommonInsertAct;
    void undo() override { container->notes.remove(element); }
    void redo() override { container->notes.insertSorted(element); }
};

// Edit records that write a value into a note: undo writes before, redo after.
template <class Value>
class NoteValueAct : public IHistoryRec {
public:
    NoteValueAct(Note* note, Value before, Value after)
        : note(note), before(std::move(before)), after(std::move(after)) {}

    void undo() override { Value::writeTo(*note, before); }
    void redo() override { Value::writeTo(*note, after); }
    void freeIfUndone() override {}
    void freeIfDone() override {}

    Note* note;
    Value before;
    Value after;
};

struct ElementTimesValue {
    float timeFactor1 = 1.0f;
    uint8_t timesFlag = 0;
    float timeFactor2 = 1.0f;
    float timeFactor3 = 1.0f;
    float timeFactor4 = 1.0f;

    static ElementTimesValue of(const Note& n);
    void applyTo(Note& n) const;
};

struct PhoneticValue {
    std::string phoneticSymbol;
    std::string lyric;
    ElementTimesValue times;
    static void writeTo(Note& n, const PhoneticValue& v);
};

struct VibratoValue {
    int32_t vibPercent = 0;
    HVCurrentModel::VibratoCycle cycle;
    HVCurrentModel::Vibrato vibrato;
    static VibratoValue of(const Note& n);
    static void writeTo(Note& n, const VibratoValue& v);
};

struct ExpressionValue {
    int32_t bendDep = 0;
    int32_t bendLen = 0;
    int32_t tailChg = 25;
    int32_t headChg = 20;
    static ExpressionValue of(const Note& n);
    static void writeTo(Note& n, const ExpressionValue& v);
};

struct TimbreValue {
    int32_t timbreIndex = -1;
    static void writeTo(Note& n, const TimbreValue& v) { n.timbreIndex = v.timbreIndex; }
};

struct FusionValue {
    int32_t crossTimbre = -1;
    std::string crossSymbol;
    static void writeTo(Note& n, const FusionValue& v);
};

using ElemTimeTable = std::array<int32_t, 8>;

class CEditNotePhoneticSymbolAct : public NoteValueAct<PhoneticValue> {
public:
    using NoteValueAct::NoteValueAct;
};

class CEditVibratoForNoteAct : public NoteValueAct<VibratoValue> {
public:
    using NoteValueAct::NoteValueAct;
};

class CEditExpressionForNoteAct : public NoteValueAct<ExpressionValue> {
public:
    using NoteValueAct::NoteValueAct;
};

class CEditTimbreIndexForNoteAct : public NoteValueAct<TimbreValue> {
public:
    CEditTimbreIndexForNoteAct(Note* note, int32_t before, int32_t after)
        : NoteValueAct(note, TimbreValue{before}, TimbreValue{after}) {}
};

class CEditFusionDataForNoteAct : public NoteValueAct<FusionValue> {
public:
    using NoteValueAct::NoteValueAct;
};

// Position, width and key of a note.
struct PosWidthKeyValue {
    int32_t pos = 0;
    int32_t width = 0;
    int32_t key = 0;
    static PosWidthKeyValue of(const Note& n) { return {n.pos, n.width, n.key}; }
    void applyTo(Note& n) const;
};

// Moves notes within their segment as one change: each note gets position,
// width and key, and all are put in order again together, after the notes
// of equal position, in the order listed. Undo puts each note back where it
// stood, with its values, and the flags the move changed as they were.
class CMoveNotesAct : public IHistoryRec {
public:
    struct Moved {
        Note* note;
        size_t index;  // in the segment's notes before the move
        PosWidthKeyValue before;
        PosWidthKeyValue after;
    };

    // Made before the move: each note once, in the order they go in.
    CMoveNotesAct(SingSegment* segment, std::vector<Moved> moved)
        : segment(segment), moved(std::move(moved)) {}

    void undo() override;
    void redo() override;
    void freeIfUndone() override {}
    void freeIfDone() override {}

    SingSegment* segment;
    std::vector<Moved> moved;
    std::vector<std::pair<Note*, bool>> flagsBefore;  // of the notes whose flag the move changed
};

// Element-time factors and table of a note, and the table of its neighbour
// (written only when there is one).
struct ElementTimesEdit {
    ElementTimesValue times;
    ElemTimeTable noteTable{};
    ElemTimeTable neighbourTable{};
};

class CEditElementTimesForNoteAct : public IHistoryRec {
public:
    CEditElementTimesForNoteAct(Note* note, Note* neighbour, const ElementTimesEdit& before,
                                const ElementTimesEdit& after)
        : note(note), neighbour(neighbour), before(before), after(after) {}

    void undo() override { apply(before); }
    void redo() override { apply(after); }
    void freeIfUndone() override {}
    void freeIfDone() override {}

    Note* note;
    Note* neighbour;
    ElementTimesEdit before;
    ElementTimesEdit after;

private:
    void apply(const ElementTimesEdit& v);
};
