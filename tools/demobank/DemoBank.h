#pragma once
// The demo bank: every unit and continuant of a list, each spoken by the
// speech synthesiser at one or more pitches, analysed and stored as a "3.1"
// record at the note nearest its median f0. A record holds only the frames
// the cells read: a syllable from its beginning to the end of its decay, a
// continuant from the first syllable's end part to where the next cell
// takes over. Each pitch is a timbre of the bank (RecordingPitches.h).
// Where two pitches meet, each syllable's records of the upper one are
// raised or lowered so that, sung at its lowest note, its body comes out at
// the level of the lower one's sung a semitone under it (SungLevel.h): the
// two voices differ per syllable, not by one gain; but lowered no further
// than keeps it audible at the top of the upper pitch's notes. Sung where
// the pitches meet, a vowel and its coda carry on near the body's level
// until the next consonant (or the fade) begins, and a syllable's initial
// and a join's stay within a floor under the vowel: the harmonics, and the
// bands through which the synthesis bends a vowel towards a join, so a
// legato join into a nasal or a glide, or a held vowel before the next
// syllable, does not drop out.
#include <map>
#include <memory>
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

    // A syllable's record, and a continuant's, at pitch number `pitch`
    // (matched to the records of the pitches below, which are made for it).
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
        Workshop(LevelCalibration calibration, float levelTone, double held)
            : levelToneHz(levelTone), heldHz(held), frames(calibration)
        {
        }
        float levelToneHz;
        double heldHz;  // the pitch of the heldNote
        Halvoren::ChnSymbolMgr symbols;
        RecordFrameMaker frames;
    };

    using Hearing = std::map<std::string, Heard>;
    // Per syllable (as spoken), the dB by which its records are raised.
    using Matching = std::map<std::string, float>;

    // Speaks every word not yet heard at the pitch.
    void hearAll(std::size_t pitch, std::vector<std::string> words);
    // Every word the records of the units need.
    static std::vector<std::string> wordsOf(const BankUnits& units);
    static const Heard& heard(const Hearing& hearing, const std::string& word);
    bankwriter::SingingVoice makeVoice(Workshop& w, const Hearing& hearing, const UnitRecord& unit) const;
    // consonantFrom: the first of its frames from the second syllable's
    // beginning on.
    bankwriter::SingingContinuant makeContinuant(Workshop& w, const Hearing& hearing, const ContinuantRecord& c,
                                                 std::size_t& consonantFrom) const;
    std::unique_ptr<Workshop> workshop(std::size_t pitch) const;
    // Every record at the pitch, appended to the package; the semitone of
    // each voice record goes to `notes`.
    void addRecords(std::size_t pitch, const BankUnits& units, MadeBank& made, std::vector<int>& notes);
    // A syllable's record at the pitch, matched; its body's level sung a
    // semitone under the next pitch's lowest note goes to `levelBelowNext`.
    bankwriter::SingingVoice matchedVoice(std::size_t pitch, Workshop& w, const UnitRecord& unit, float& raise,
                                          double& levelBelowNext) const;
    // The highest note sung from the pitch's records (a semitone under the
    // next pitch's lowest).
    int highestNote(std::size_t pitch) const;
    // The note at which the pitch's joins and voiced initials are held up:
    // where it meets the pitch below (the lowest: the one above), so both
    // sides of a meeting hold alike.
    int heldNote(std::size_t pitch) const;
    // The raise of a syllable's records at the pitch (its gain when not
    // matched).
    float raiseOf(std::size_t pitch, const std::string& symbol) const;
    // A continuant's record at the pitch, matched from its first syllable's
    // raise to its second's over its frames.
    bankwriter::SingingContinuant matchedContinuant(std::size_t pitch, Workshop& w, const ContinuantRecord& c) const;
    // Makes the records of the pitches below `pitch` of the syllables, for
    // their levels, where they are not known yet.
    void matchBelow(std::size_t pitch, const std::vector<UnitRecord>& units);

    LevelCalibration calibration_;
    unsigned threads_;
    std::vector<RecordingPitch> pitches_;
    std::vector<Hearing> heard_;  // per pitch
    // Per pitch, each syllable's body level sung a semitone under the next
    // pitch's lowest note; and the raise of each syllable's records.
    std::vector<std::map<std::string, double>> levelsBelowNext_;
    std::vector<Matching> raised_;
};

}  // namespace demobank
