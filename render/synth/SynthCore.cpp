#include "render/synth/SynthCore.h"

#include "render/synth/SynthBase.h"

SynthCore::~SynthCore() { releaseEngineFront(engine_); }
