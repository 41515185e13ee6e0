#include "render/synth/UnopenedBankSynth.h"

#include "platform/RegularFile.h"

std::string packageFileFault(const std::string& basePath)
{
    for (const char* name : {"HVI", "HVC"}) {
        const std::string path = basePath + name;
        if (const std::string problem = regularFileProblem(CString::fromPathBytes(path)); !problem.empty())
            return path + ": cannot be opened: " + problem;
    }
    return std::string();
}
