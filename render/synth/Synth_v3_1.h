#pragma once
// The editor-side synthesizers of banks "3.4" and "3.5": the third
// generation's, over the front of their own engine.
#include <string>

#include "render/synth/Synth_v3.h"

class Synth_V3_core_v3_1 : public Synth_V3_core_v3 {
public:
    explicit Synth_V3_core_v3_1(const std::string& bankPath);
};

class Synth_V3_core_v3_2 : public Synth_V3_core_v3 {
public:
    explicit Synth_V3_core_v3_2(const std::string& bankPath);
};

class Synth_v3_1 : public Synth_v3 {
public:
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V3_core_v3_1(bankPath); }
};

class Synth_v3_2 : public Synth_v3 {
public:
    SynthCore* createCore(const std::string& bankPath) override { return new Synth_V3_core_v3_2(bankPath); }
};
