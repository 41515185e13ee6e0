#pragma once
// The front of a fourth-generation job (banks "4.0" to "4.03"), and its
// factory, which puts it on the engine manager's live list.
#include <string>

#include "engine/JobSynthesizer.h"
#include "engine/v4/SynthJobV4.h"

namespace HalvorenEngineV4 {

class HVSynthesizer : public HalvorenEngine::JobSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath, CellBuilder builder = &buildCells)
        : JobSynthesizer(std::make_unique<SynthJobV4>(packagePath, builder), packagePath)
    {
    }
    SynthJobV4& body() { return static_cast<SynthJobV4&>(job().body()); }
    HalvorenEngine::SynthScoreV3& score() { return body().score(); }
};

// Null when memory runs out.
HalvorenEngine::IHVSynthesizer* createSynthesizerV4(const std::string& packagePath);

}  // namespace HalvorenEngineV4
