#include "render/synth/SynthVersionTable.h"

SynthMakerTable programSynthMakers() { return {}; }
