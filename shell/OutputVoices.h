#pragma once
// What one export output sings. Before a segment is loaded, the plan of its
// job tells, note by note, whether the singer's bank has a voice for it (a
// segment without a synthesizer has none for any); a segment whose bank
// cannot be read whole or sung is not sung (also when its plan met a
// content record that could not be read), nor one whose synthesizer takes
// none of its notes; after loading, a job that laid out no output cannot be
// sung at all. Once the output is written, a segment is not sung when its
// job met a record that could not be read, or when its score asks its
// notes to sound but what the output wrote of its voice is all zeros: its
// bank gave silence. A score that silences its notes itself (the Amplitude
// curve at its bottom over them, the track muted or at volume 0) asks for
// no sound, and its silence is written as it is. The reports name the
// tracks, the places and lyrics of the notes without a voice and of those
// sung with another syllable than their own (and what they sing), and the
// segments that are not sung and why. After the output is written, the
// segments whose voice did not fit 16 bits are named with how many of their
// samples were clipped.
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/current/Segments.h"
#include "platform/CString.h"
#include "shell/UnsungSegments.h"

class CSSSynthesizerDoc;
class ExportMix;
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

    // Once the loaded segments have been sung into written (null: the
    // output has no frames to write): those whose bank turned out damaged,
    // or whose score asks for sound where written holds only zeros of their
    // voice, are not sung. Of an output that failed only the damaged banks
    // are judged. Judges once; later calls change nothing. True when the
    // output still sings a note or plays a clip.
    bool checkSung(const ExportMix* written);

    // No note is sung and no clip is played.
    bool holdsNothing() const { return voiced_ == 0 && clips_ == 0; }
    // Whether the output checkSung judged could not be written.
    bool writeFailed() const { return writeFailed_; }
    // A segment's bank cannot be read or sung, or its job could not be laid
    // out or gave silence where its score asks for sound.
    bool hasUnsungSegment() const { return !unsung_.empty() || !unsungWhenSung_.empty(); }
    // Shows the notes without a voice, the notes sung with another syllable,
    // the segments with nothing to sing and those that cannot be sung, one
    // message box each when there are any.
    void report() const;
    // Shows the segments checkSung found not sung, when there are any.
    void reportSung() const { unsungWhenSung_.show(); }
    // The loaded segments, in order.
    const std::vector<SungSegment>& sung() const { return sung_; }

private:
    // When fault is not "" (the segment's bank cannot be read whole or
    // sung): the segment is not sung, and is named with the fault in list.
    bool unsungForFault(std::size_t trackIndex, const HVCurrentModel::SingSegment* seg, const std::string& fault,
                        UnsungSegments& list);

    const CSSSynthesizerDoc& doc_;
    std::map<const HVCurrentModel::SingSegment*, int> voicedBySegment_;
    std::set<const HVCurrentModel::SingSegment*> unreadBanks_;
    // The segments whose score asks at least one voiced note to sound.
    std::set<const HVCurrentModel::SingSegment*> asksSound_;
    int voiced_ = 0;
    int clips_ = 0;
    bool judged_ = false;
    bool writeFailed_ = false;
    std::vector<std::string> silentNotes_;
    std::vector<std::string> replacedNotes_;
    std::vector<std::string> emptySegments_;
    UnsungSegments unsung_;
    UnsungSegments unsungWhenSung_;
    std::vector<SungSegment> sung_;
};

// After the outputs are written: one message box naming each segment some of
// whose samples did not fit 16 bits, with how many.
void reportClippedVoices(const CSSSynthesizerDoc& doc, const std::vector<SungSegment>& segments);
