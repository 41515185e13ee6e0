#pragma once
// The synthesizer of a singer whose package files cannot both be opened: it
// has no engine and sings nothing (loadSegment takes no note), and its bank
// fault names the file and the system's reason, so that whoever sings the
// segment names the bank instead of the segment's notes. Like every
// synthesizer without an engine it is never ready, so the next user makes a
// new one and finds the file again once it is there.
#include <string>

#include "render/synth/SynthBase.h"

// "<basePath>HVI: cannot be opened: <reason>", else the same for "HVC"; ""
// when both open as regular files. The index is looked at first.
std::string packageFileFault(const std::string& basePath);

class UnopenedBankSynth : public SynthBase {
public:
    explicit UnopenedBankSynth(std::string fault) : fault_(std::move(fault)) {}

    bool loadSegment(HVCurrentModel::SingSegment*, const std::vector<HVCurrentModel::Tempo*>&, int, int,
                     float) override
    {
        return false;
    }
    std::string bankFault() override { return fault_; }

protected:
    HalvorenEngine::IHVSynthesizer* engine() const override { return nullptr; }

private:
    std::string fault_;
};
