#pragma once
// The editor-side synthesizer of the engine generations that know timbres:
// it holds a core with the engine front, keeps the bank's timbre table and
// fills the engine's SynthScoreV3 with one record per sung note and seven
// curves. The sixth generation keeps symbols that the bank does not know.
#include <memory>
#include <string>
#include <vector>

#include "render/synth/SynthBase.h"
#include "render/synth/SynthCore.h"
#include "render/synth/TimbrePianoValueMgr.h"

class TimbreAwareSynth : public SynthBase {
public:
    explicit TimbreAwareSynth(bool keepUnknownSymbols = false) : keepUnknownSymbols_(keepUnknownSymbols) {}
    // Deletes the core, which hands its engine front to the engine manager.
    ~TimbreAwareSynth() override = default;

    // Builds the core with the generation's engine front over the bank.
    virtual SynthCore* createCore(const std::string& bankPath) = 0;
    // After construction: makes the core and reads the bank's timbre table.
    void attachCore(const std::string& bankPath);

    bool loadSegment(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                     int fromTick, int toTick, float leadIn) override;
    // Nothing (out cleared, notes untouched) without an engine or while its
    // job is not idle; else out[i] is the plan's entry i with the segment's
    // start added to its first value and the symbol sung in place of one the
    // bank does not know, for as many entries as both the notes and the plan
    // have. The plan reads a score of its own, never the job's.
    void getNoteTimes(HVCurrentModel::SingSegment* seg, const std::vector<HVCurrentModel::Tempo*>& tempos,
                      int fromTick, int toTick, float leadIn, std::vector<NoteTimesRec>& out) override;
    int timbreCount() override;
    void timbrePitchNames(int index, std::string& a, std::string& b, std::string& c) override;

    // The centre pitch name of the note's timbre (the note's own pitch name
    // while the table is empty); out is untouched without an engine.
    void timbreNameFor(const HVCurrentModel::Note& note, std::string& out);
    // The same for the timbre of the note's cross settings.
    void crossTimbreNameFor(const HVCurrentModel::Note& note, std::string& out);

    // Refills the engine's input from the notes of the range; the notes that
    // got a record are appended to outNotes when given. withCurves adds the
    // seven curves; startJob prepares the job when a record was made. False
    // without an engine or when no note was taken.
    bool buildScore(std::vector<HVCurrentModel::Note*>* outNotes, HVCurrentModel::SingSegment& seg,
                    const std::vector<HVCurrentModel::Tempo*>& tempos, int fromTick, int toTick, float leadIn,
                    bool withCurves, bool startJob);

    SynthCore* core() const { return core_.get(); }
    const CTimbrePianoValueMgr& timbres() const { return timbres_; }

protected:
    HalvorenEngine::IHVSynthesizer* engine() const override { return core_ ? core_->engine() : nullptr; }

private:
    // Refills score from the notes of the range (see buildScore); false,
    // with score cleared, when no note was selected.
    bool fillScore(HalvorenEngine::SynthScoreV3& score, std::vector<HVCurrentModel::Note*>* outNotes,
                   HVCurrentModel::SingSegment& seg, const std::vector<HVCurrentModel::Tempo*>& tempos, int fromTick,
                   int toTick, float leadIn, bool withCurves);
    void timbreName(int key, int timbreIndex, std::string& out);
    // The symbol a note of this phonetic symbol is sung with; replaced (when
    // given) tells whether it stands in for a symbol the bank does not know.
    std::string symbolFor(const std::string& phoneticSymbol, bool* replaced = nullptr);

    std::unique_ptr<SynthCore> core_;
    CTimbrePianoValueMgr timbres_;
    bool keepUnknownSymbols_;
};

// The version-table maker of a timbre-aware class.
template <class T>
ISynth* makeTimbreSynth(const std::string& bankPath)
{
    auto synth = std::make_unique<T>();
    synth->attachCore(bankPath);
    return synth.release();
}
