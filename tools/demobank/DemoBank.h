#pragma once
// The demo bank: every unit and continuant of a list, each spoken by the
// speech synthesiser, analysed and stored as a "3.1" record at the note
// nearest its median f0. A record holds only the frames the cells read: a
// syllable from its beginning to the end of its decay, a continuant from the
// first syllable's end part to where the next cell takes over.
#include <map>
#include <string>
#include <vector>

#include "BankUnits.h"
#include "LevelCalibration.h"
#include "RecordFrames.h"
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
    // depend on it.
    DemoBankMaker(LevelCalibration calibration, unsigned threads);

    MadeBank bank(const BankUnits& units);

    // A syllable's record, and a continuant's. Throw std::runtime_error
    // naming what cannot be made.
    bankwriter::SingingVoice voice(const UnitRecord& unit);
    bankwriter::SingingContinuant continuant(const ContinuantRecord& c);

    static constexpr std::int32_t kHop = 128;

private:
    // A word's speech at 44100 Hz: events in samples, the samples.
    struct Heard {
        Speech speech;
        std::vector<std::int16_t> samples;
        std::string failure;  // why it could not be spoken; empty when it was
    };
    // What one thread makes records with.
    struct Workshop {
        explicit Workshop(LevelCalibration calibration) : frames(calibration) {}
        Halvoren::ChnSymbolMgr symbols;
        RecordFrameMaker frames;
    };

    // Speaks every word not yet heard.
    void hearAll(std::vector<std::string> words);
    const Heard& heard(const std::string& word) const;
    bankwriter::SingingVoice makeVoice(Workshop& w, const UnitRecord& unit) const;
    bankwriter::SingingContinuant makeContinuant(Workshop& w, const ContinuantRecord& c) const;

    LevelCalibration calibration_;
    unsigned threads_;
    std::map<std::string, Heard> heard_;
};

// The pitch name nearest the median of the voiced f0 over frames first .. last.
std::string medianPitchName(const std::vector<float>& f0, std::int32_t first, std::int32_t last);

}  // namespace demobank
