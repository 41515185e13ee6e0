#pragma once
// The demo bank: every unit and continuant of a list, each spoken by the
// speech synthesiser at one or more pitches, analysed and stored as a "3.1"
// record at the note nearest its median f0. A record holds only the frames
// the cells read: a syllable from its beginning to the end of its decay, a
// continuant from the first syllable's end part to where the next cell
// takes over. Each pitch is a timbre of the bank (RecordingPitches.h).
#include <map>
#include <string>
#include <vector>

#include "BankUnits.h"
#include "LevelCalibration.h"
#include "RecordFrames.h"
#include "RecordingPitches.h"
#include "SyllableSpeech.h"
#include "lyrics/ChnSymbolMgr.h"
#include "tools/bankwriter/BankWriter.h"
#include "tools/bankwriter/SingingUnits.h"

namespace demobank {

struct MadeBank {
    // The package: every record as its bytes, in the order of the units.
    bankwriter::BankDescription package;
    std::size_t voices = 0;
    std::size_t continuants = 0;
    // Each syllable or continuant that could not be made, with the reason.
    std::vector<std::string> leftOut;
};

class DemoBankMaker {
public:
    // threads: how many records are made at once; the records do not
    // depend on it. pitches: from the lowest to the highest.
    DemoBankMaker(LevelCalibration calibration, unsigned threads,
                  std::vector<RecordingPitch> pitches = {RecordingPitch{}});

    MadeBank bank(const BankUnits& units);

    // A syllable's record, and a continuant's, at pitch number `pitch`.
    // Throw std::runtime_error naming what cannot be made.
    bankwriter::SingingVoice voice(const UnitRecord& unit, std::size_t pitch = 0);
    bankwriter::SingingContinuant continuant(const ContinuantRecord& c, std::size_t pitch = 0);

    static constexpr std::int32_t kHop = 128;

private:
    // A word's speech at 44100 Hz: events in samples, the samples.
    struct Heard {
        Speech speech;
        std::vector<std::int16_t> samples;
        std::string failure;  // why it could not be spoken; empty when it was
    };
    // What one thread makes the records of one pitch with.
    struct Workshop {
        Workshop(LevelCalibration calibration, float levelTone) : levelToneHz(levelTone), frames(calibration) {}
        float levelToneHz;
        Halvoren::ChnSymbolMgr symbols;
        RecordFrameMaker frames;
    };

    using Hearing = std::map<std::string, Heard>;

    // Speaks every word not yet heard at the pitch.
    void hearAll(std::size_t pitch, std::vector<std::string> words);
    // Every word the records of the units need.
    static std::vector<std::string> wordsOf(const BankUnits& units);
    static const Heard& heard(const Hearing& hearing, const std::string& word);
    bankwriter::SingingVoice makeVoice(Workshop& w, const Hearing& hearing, const UnitRecord& unit) const;
    bankwriter::SingingContinuant makeContinuant(Workshop& w, const Hearing& hearing, const ContinuantRecord& c) const;
    // Every record at the pitch, appended to the package; the semitone of
    // each voice record goes to `notes`.
    void addRecords(std::size_t pitch, const BankUnits& units, MadeBank& made, std::vector<int>& notes);
    // The calibration of a pitch's records: the levels, with its gain.
    LevelCalibration calibrationAt(std::size_t pitch) const;

    LevelCalibration calibration_;
    unsigned threads_;
    std::vector<RecordingPitch> pitches_;
    std::vector<Hearing> heard_;  // per pitch
};

}  // namespace demobank
