#include "render/synth/SynthVersionTable.h"

#include "render/synth/Synth_v3.h"
#include "render/synth/Synth_v1.h"
#include "render/synth/Synth_v6.h"
#include "render/synth/Synth_v4.h"
#include "render/synth/Synth_v3_1.h"

SynthMakerTable programSynthMakers()
{
    SynthMakerTable table;
    for (const char* version : {"3.1", "3.2", "3.3"})
        table[version] = &makeTimbreSynth<Synth_v3>;
    table["1"] = [](const std::string& path) -> ISynth* { return new Synth_v1(path); };
    table["2"] = [](const std::string& path) -> ISynth* { return new Synth_v2(path); };
    for (const char* version : {"6.0", "6.1"})
        table[version] = &makeTimbreSynth<Synth_v6>;
    for (const char* version : {"4.0", "4.01", "4.02", "4.03"})
        table[version] = &makeTimbreSynth<Synth_v4>;
    table["3.4"] = &makeTimbreSynth<Synth_v3_1>;
    table["3.5"] = &makeTimbreSynth<Synth_v3_2>;
    return table;
}
