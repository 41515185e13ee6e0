#include "render/synth/SynthVersionTable.h"

#include "render/synth/Synth_v3.h"
#include "render/synth/Synth_v6.h"

SynthMakerTable programSynthMakers()
{
    SynthMakerTable table;
    for (const char* version : {"3.1", "3.2", "3.3"})
        table[version] = &makeTimbreSynth<Synth_v3>;
    for (const char* version : {"6.0", "6.1"})
        table[version] = &makeTimbreSynth<Synth_v6>;
    return table;
}
