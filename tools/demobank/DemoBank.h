#pragma once
// The demo bank: every unit and continuant a song asks for, each spoken by
// the speech synthesiser, analysed and stored as a "3.1" record at the note
// nearest its median f0.
#include <map>
#include <string>

#include "LevelCalibration.h"
#include "RecordFrames.h"
#include "SongUnits.h"
#include "SyllableMarks.h"
#include "lyrics/ISymbolMgr.h"
#include "support/bank/SingingBank.h"

namespace demobank {

class DemoBankMaker {
public:
    DemoBankMaker(Halvoren::ISymbolMgr& symbols, LevelCalibration calibration);

    // Throws std::runtime_error naming the syllable or continuant that
    // cannot be made.
    testbank::SingingBank bank(const SongUnits& units);

    // A syllable's record, and a continuant's.
    testbank::SingingVoice voice(const UnitRecord& unit);
    testbank::SingingContinuant continuant(const ContinuantRecord& c);

    static constexpr std::int32_t kHop = 128;

private:
    struct Heard {
        Speech speech;  // events in samples at 44100 Hz
        std::vector<std::int16_t> samples;
        SpeechAnalysis analysis;
    };
    const Heard& hear(const std::string& word);
    SyllableMarks marksOf(const std::string& syllable, const std::vector<PhonemeEvent>& events,
                          const SpeechAnalysis& analysis);

    Halvoren::ISymbolMgr& symbols_;
    RecordFrameMaker frames_;
    std::map<std::string, Heard> heard_;
};

// The pitch name nearest the median of the voiced f0 over frames first .. last.
std::string medianPitchName(const std::vector<float>& f0, std::int32_t first, std::int32_t last);

}  // namespace demobank
