#pragma once
// The editor-side synthesizer of one sing segment: it turns the segment's
// notes and curves into its engine's input, starts and stops the engine job
// and hands out the job's output. One class per engine generation; users get
// them from SegmentSynthMgr, which owns them.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/current/Markers.h"
#include "model/current/Segments.h"

class ISynth;

// The eight timing values of one sung note (the first in seconds on the
// project's time line) and the note they belong to.
struct NoteTimesRec {
    std::array<float, 8> values{};
    HVCurrentModel::Note* note = nullptr;
    bool sung = true;  // false: the bank has no record for the note
    // The symbol sung in place of the note's own, which the bank does not
    // know; empty when the note sings its own.
    std::string singsInstead;
    // false: the generation plans no timing (the values are zeros), only
    // whether the note has a voice.
    bool timed = true;
};

// Told when a synthesizer's job has written its whole output.
class ISynthCallback {
public:
    virtual ~ISynthCallback() = default;
    // Called on the finishing job's worker thread.
    virtual void onSynthFinished(ISynth* synth) = 0;
    // Called on the main thread when synth stops using this callback (it gets
    // another one, or none before it is deleted). Returns once no call of this
    // callback still uses synth.
    virtual void forgetSynth(ISynth* synth) {}
};

class ISynth {
public:
    virtual ~ISynth() = default;

    // Fills the engine's input from the notes between fromTick and toTick
    // (ticks relative to the segment; toTick is clamped to its width) and
    // prepares the job; true when at least one note was taken. leadIn in
    // seconds. False without an engine.
    virtual bool loadSegment(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                             int fromTick, int toTick, float leadIn) = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    // True for a new job and for one stopped and cleaned up.
    virtual bool isReady() = 0;
    // The job's 16-bit mono output and its length in samples (0 and null
    // without an engine).
    virtual const short* getOutput(int* count) = 0;
    virtual int samplesDone() = 0;
    virtual int samplesReady() = 0;
    // Output samples that did not fit 16 bits and were saturated (0 without
    // an engine).
    virtual std::int64_t samplesSaturated() = 0;
    // Why the singer's bank cannot be read whole or sung ("<file>: <what is
    // wrong>"), or "" when it can (also without an engine).
    virtual std::string bankFault() = 0;
    // The plan of every sung note of the range; clears out by default.
    virtual void getNoteTimes(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                              int fromTick, int toTick, float leadIn, std::vector<NoteTimesRec>& out)
    {
        out.clear();
    }
    // The voice bank's timbres: how many, and the low, high and centre pitch
    // names of one.
    virtual int timbreCount() { return 0; }
    virtual void timbrePitchNames(int index, std::string& a, std::string& b, std::string& c) {}

    // Whoever is told when the job is done; null after construction. The
    // callback replaced is told forgetSynth first.
    virtual void setCallback(ISynthCallback* callback) = 0;
    virtual ISynthCallback* getCallback() const = 0;
};
