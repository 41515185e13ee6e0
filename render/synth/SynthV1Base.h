#pragma once
// The editor-side synthesizer of the first two engine generations, which
// hold their engine front directly and fill its SynthScoreV1 (with the power
// curve in the second generation).
#include <vector>

#include "engine/SynthScoreV1.h"
#include "render/synth/SynthBase.h"

class SynthV1Base : public SynthBase {
public:
    // engine (owned; may be null) and the input it reads: score, and power
    // for the second generation (null for the first).
    SynthV1Base(HalvorenEngine::IHVSynthesizer* engine, HalvorenEngine::SynthScoreV1* score,
                std::vector<HalvorenEngine::CurvePoint>* power);
    // Stops the engine front and hands it to the engine manager.
    ~SynthV1Base() override;

    // Nothing, and false, without an engine or while its job is not idle.
    bool loadSegment(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                     int fromTick, int toTick, float leadIn) override;
    // One entry per note record the range would make, in order, untimed
    // (these generations plan no timing ahead), sung when the bank's index
    // has the record's syllable; each note taken gets its renderFlag as
    // loadSegment gives it. Nothing (out cleared) without an engine or while
    // its job is not idle; the job's input and the segment's curves are not
    // touched.
    void getNoteTimes(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                      int fromTick, int toTick, float leadIn, std::vector<NoteTimesRec>& out) override;

protected:
    HalvorenEngine::IHVSynthesizer* engine() const override { return engine_; }
    // Whether the bank's index holds the syllable of the note record (at any
    // recorded pitch); only called with an engine.
    virtual bool hasVoiceFor(const HalvorenEngine::SynthNoteV1& note) const = 0;

private:
    HalvorenEngine::IHVSynthesizer* engine_;
    HalvorenEngine::SynthScoreV1* score_;
    std::vector<HalvorenEngine::CurvePoint>* power_;
};
