#include "render/synth/SynthVersionTable.h"

#include "render/synth/Synth_v3.h"
#include "render/synth/Synth_v4.h"

SynthMakerTable programSynthMakers()
{
    SynthMakerTable table;
    for (const char* version : {"3.1", "3.2", "3.3"})
        table[version] = &makeTimbreSynth<Synth_v3>;
    for (const char* version : {"4.0", "4.01", "4.02", "4.03"})
        table[version] = &makeTimbreSynth<Synth_v4>;
    return table;
}
