#pragma once
// The shapes of the package records of generations 1 to 4, written once and
// instantiated per generation (see v1/ to v4/ SourceRecords.h). A record is
// a parameter part (unit name, pitch name, numbers placing the unit in its
// recording) and, in its loaded forms, the analysed sound it owns (its
// material). Every number a constructor does not set starts at 0.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "dsp/GHR_modelPkg.h"
#include "dsp/HPR_model.h"
#include "dsp/StepTable.h"
#include "voicebank/package/PosAtRatio.h"

namespace Halvoren {

// The twelve numbers every generation up to 3 stores for a voice source.
struct VoiceValues12 {
    std::int32_t beginPos = 0;
    std::int32_t endPos = 0;
    std::int32_t param3 = 0;
    std::int32_t param4 = 0;
    std::int32_t param5 = 0;
    float param7 = 0.0f;
    std::int32_t param8 = 0;
    std::int32_t param9 = 0;
    float param10 = 0.0f;
    std::int32_t param11 = 0;  // the material's hop
    float param12 = 0.0f;
    float param13 = 0.0f;
};

template <int Generation>
struct VoiceValues;
template <>
struct VoiceValues<1> : VoiceValues12 {};
template <>
struct VoiceValues<2> : VoiceValues12 {
    float ratio1 = 0.5f;
    float ratio2 = 0.5f;
    float ratio3 = 0.5f;
};
template <>
struct VoiceValues<3> : VoiceValues<2> {
    std::int32_t param6 = 0;  // stored last in the record; its bits are kept as stored
};

// A record's names: the unit and the canonical pitch name it was loaded for.
struct RecordNames {
    RecordNames(std::string unitName, std::string pitchName) : name(std::move(unitName)), pitch(std::move(pitchName)) {}
    virtual ~RecordNames() = default;
    std::string name;
    std::string pitch;
};

template <int Generation>
struct BasicSrcParameter : RecordNames, VoiceValues<Generation> {
    using RecordNames::RecordNames;

    // Copies every number of other; the names stay.
    void assignValues(const BasicSrcParameter& other) requires(Generation == 2)
    {
        static_cast<VoiceValues<Generation>&>(*this) = other;
    }
    // beginPos + (endPos - beginPos) * ratio1, in double, toward zero.
    std::int32_t posAtRatio() const requires(Generation == 3)
    {
        return positionAtRatio(this->beginPos, this->endPos, this->ratio1);
    }
};

template <int Generation>
struct BasicSrcContinuantParameter : RecordNames {
    using RecordNames::RecordNames;
    std::int32_t param1 = 0;
    std::int32_t param2 = 0;
    std::int32_t hop = 0;  // the material's hop
};

// A parameter part that owns its material (null until loaded); the material
// goes before the parameter part.
template <class Parameter, class Material>
struct WithMaterial : Parameter {
    using Parameter::Parameter;
    std::unique_ptr<Material> material;
};

// Generations 1 and 2: a harmonic-plus-residual model with the names.
template <int Generation>
struct HprSrcMaterial : Halvoren::HPR_model, RecordNames {
    using RecordNames::RecordNames;
};

// Generations 3 and 4: the stored band model for 44100 Hz with the names and
// the voice's "ext1" phase table (step, columns, rows, values; column
// counter -1 until the synthesis starts it).
template <int Generation>
struct GhrSrcMaterial : Halvoren::GHR_modelPkg, RecordNames {
    GhrSrcMaterial(std::string unitName, std::string pitchName)
        : Halvoren::GHR_modelPkg(44100.0f), RecordNames(std::move(unitName), std::move(pitchName))
    {
    }
    Halvoren::StepTable ext1;
};

// Generations 1 and 2: the model a synthesis is run from, with the parameter
// values it was built from.
template <int Generation>
struct BasicSynthetiseSource : Halvoren::HPR_model, BasicSrcParameter<Generation> {
    using BasicSrcParameter<Generation>::BasicSrcParameter;
};

}  // namespace Halvoren
