#pragma once
// What one export output sings. Before a segment is loaded, the plan of its
// job tells, note by note, whether the singer's bank has a voice for it (a
// segment without a synthesizer has none for any); after loading, a job that
// laid out no output cannot be sung at all. The report names the tracks,
// the places and lyrics of the notes without a voice and of those sung with
// another syllable than their own (and what they sing), and the segments
// that cannot be sung.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "model/current/Segments.h"
#include "platform/CString.h"

class CSSSynthesizerDoc;
class ISynth;

class OutputVoices {
public:
    explicit OutputVoices(const CSSSynthesizerDoc& doc) : doc_(doc) {}

    // The notes of the segment's range [fromTick, toTick]; synth null: no
    // synthesizer could be made for it.
    void inspect(std::size_t trackIndex, HVCurrentModel::SingSegment* seg, ISynth* synth, int fromTick, int toTick);
    // After the segment was loaded: its job must have laid out its output.
    void loaded(std::size_t trackIndex, HVCurrentModel::SingSegment* seg, ISynth* synth);
    void addClip() { ++clips_; }

    // No note is sung and no clip is played.
    bool holdsNothing() const { return voiced_ == 0 && clips_ == 0; }
    // A segment's job could not be laid out.
    bool hasUnsungSegment() const { return !unsungSegments_.empty(); }
    // Shows the notes without a voice, the notes sung with another syllable
    // and the segments that cannot be sung, one message box each when there
    // are any.
    void report() const;

private:
    const CSSSynthesizerDoc& doc_;
    std::map<const HVCurrentModel::SingSegment*, int> voicedBySegment_;
    int voiced_ = 0;
    int clips_ = 0;
    std::vector<std::string> silentNotes_;
    std::vector<std::string> replacedNotes_;
    std::vector<std::string> unsungSegments_;
};
