#include "render/synth/SynthVersionTable.h"

#include "render/synth/Synth_v3.h"

SynthMakerTable programSynthMakers()
{
    SynthMakerTable table;
    for (const char* version : {"3.1", "3.2", "3.3"})
        table[version] = &makeTimbreSynth<Synth_v3>;
    return table;
}
