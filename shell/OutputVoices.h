#pragma once
// What one export output sings. Before a segment is loaded, the plan of its
// job tells, note by note, whether the singer's bank has a voice for it (a
// segment without a synthesizer has none for any); a segment whose bank
// cannot be read whole or sung is not sung (also when its plan met a
// content record that could not be read), nor one whose synthesizer takes
// none of its notes; after loading, a job that laid out no output cannot be
// sung at all. Once sung, a segment whose job met a record that could not
// be read, or whose output is silence throughout, is not sung either. The
// reports name the tracks, the places and lyrics of the notes without a
// voice and of those sung with another syllable than their own (and what
// they sing), and the segments that are not sung and why. After the output
// is written, the segments whose voice did not fit 16 bits are named with
// how many of their samples were clipped.
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/current/Segments.h"
#include "platform/CString.h"

class CSSSynthesizerDoc;
class ISynth;

// A segment handed to an output, with the track it is on.
struct SungSegment {
    std::size_t trackIndex = 0;
    const HVCurrentModel::SingSegment* seg = nullptr;
    ISynth* synth = nullptr;
};

class OutputVoices {
public:
    explicit OutputVoices(const CSSSynthesizerDoc& doc) : doc_(doc) {}

    // The notes of the segment's range [fromTick, toTick]; synth null: no
    // synthesizer could be made for it.
    void inspect(std::size_t trackIndex, HVCurrentModel::SingSegment* seg, ISynth* synth, int fromTick, int toTick);
    // After the segment was loaded: its job must have laid out its output.
    void loaded(std::size_t trackIndex, HVCurrentModel::SingSegment* seg, ISynth* synth);
    // The segment's synthesizer took none of its notes.
    void nothingToSing(std::size_t trackIndex, HVCurrentModel::SingSegment* seg);
    void addClip() { ++clips_; }

    // Once the loaded segments have been sung: those whose bank turned out
    // damaged or whose voice is silence are not sung. True when the output
    // still sings a note or plays a clip.
    bool checkSung();

    // No note is sung and no clip is played.
    bool holdsNothing() const { return voiced_ == 0 && clips_ == 0; }
    // A segment's bank cannot be read or sung, or its job could not be laid
    // out or sang only silence.
    bool hasUnsungSegment() const { return !unsungSegments_.empty() || !unsungWhenSung_.empty(); }
    // Shows the notes without a voice, the notes sung with another syllable,
    // the segments with nothing to sing and those that cannot be sung, one
    // message box each when there are any.
    void report() const;
    // Shows the segments checkSung found not sung, when there are any.
    void reportSung() const;
    // The loaded segments, in order.
    const std::vector<SungSegment>& sung() const { return sung_; }

private:
    // When the segment's bank cannot be read whole or sung (fault not ""):
    // the segment is not sung, and is named with the fault in list.
    bool unsungForFault(std::size_t trackIndex, const HVCurrentModel::SingSegment* seg, const std::string& fault,
                        std::vector<std::string>& list);

    const CSSSynthesizerDoc& doc_;
    std::map<const HVCurrentModel::SingSegment*, int> voicedBySegment_;
    std::set<const HVCurrentModel::SingSegment*> unreadBanks_;
    int voiced_ = 0;
    int clips_ = 0;
    std::vector<std::string> silentNotes_;
    std::vector<std::string> replacedNotes_;
    std::vector<std::string> emptySegments_;
    std::vector<std::string> unsungSegments_;
    std::vector<std::string> unsungWhenSung_;
    std::vector<SungSegment> sung_;
};

// After the outputs are written: one message box naming each segment some of
// whose samples did not fit 16 bits, with how many.
void reportClippedVoices(const CSSSynthesizerDoc& doc, const std::vector<SungSegment>& segments);
