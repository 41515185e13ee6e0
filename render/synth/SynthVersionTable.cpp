#include "render/synth/SynthVersionTable.h"

#include "render/synth/Synth_v3.h"
#include "render/synth/Synth_v3_1.h"

SynthMakerTable programSynthMakers()
{
    SynthMakerTable table;
    for (const char* version : {"3.1", "3.2", "3.3"})
        table[version] = &makeTimbreSynth<Synth_v3>;
    table["3.4"] = &makeTimbreSynth<Synth_v3_1>;
    table["3.5"] = &makeTimbreSynth<Synth_v3_2>;
    return table;
}
