// A standard MIDI file imported into a new project, every track offered
// chosen; the project made is then saved and read back.
#include <string>
#include <vector>

#include "model/document/SSSynthesizerDoc.h"
#include "model/import/ISelectMidiTrackDlg.h"
#include "model/import/MidiImport.h"
#include "support/ProjectRoundTrip.h"

namespace {

class ChooseEveryTrack : public ISelectMidiTrackDlg {
public:
    void addTrack(const CString&, int index, int) override { offered.push_back(index); }
    bool doModal() override { return true; }
    std::vector<int> getSelTracks() const override { return offered; }
    std::vector<int> offered;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CSSSynthesizerDoc doc;
    ScoreImportContext context;
    context.singerName = "Ann";
    ChooseEveryTrack dialog;
    const std::string path = hvfuzz::writeScratchFile("input.mid", data, size);
    const MidiImportResult result = runMidiImport(doc, CString::fromUtf8(path), true, dialog, context);
    if (result.newModel) hvfuzz::saveAndReopen(*result.newModel);
    return 0;
}
