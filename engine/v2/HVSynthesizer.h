#pragma once
// The front of a second-generation job (banks "2"), and its factory, which
// puts it on the engine manager's live list.
#include <string>

#include "engine/JobSynthesizer.h"
#include "engine/v2/SynthJobV2.h"

namespace HalvorenEngineV2 {

class HVSynthesizer : public HalvorenEngine::JobSynthesizer {
public:
    explicit HVSynthesizer(const std::string& packagePath)
        : JobSynthesizer(std::make_unique<SynthJobV2>(packagePath), packagePath)
    {
    }
    SynthJobV2& body() { return static_cast<SynthJobV2&>(job().body()); }
    HalvorenEngine::SynthScoreV2& score() { return body().score(); }
};

// Null when memory runs out.
HalvorenEngine::IHVSynthesizer* createSynthesizerV2(const std::string& packagePath);

}  // namespace HalvorenEngineV2
