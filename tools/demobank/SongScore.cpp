#include "SongScore.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "model/current/HalvorenModel.h"
#include "model/current/Note.h"
#include "model/current/TempoMap.h"
#include "model/current/Track.h"
#include "model/file/ProjectFile.h"
#include "render/synth/PitchNames.h"

namespace demobank {

HalvorenEngine::SynthScoreV3 songScore(const std::string& projectPath, const std::string& singer)
{
    const std::unique_ptr<HVCurrentModel::HalvorenModel> model(
        loadProjectFile(CString::fromUtf8(projectPath.c_str())));
    if (!model)
        throw std::runtime_error("the project \"" + projectPath + "\" cannot be read");
    const HVCurrentModel::TempoMap tempo(model->tempos);
    HalvorenEngine::SynthScoreV3 score;
    for (const HVCurrentModel::Track* track : model->tracks) {
        if (track->singSegs == nullptr)
            continue;
        for (std::size_t s = 0; s < track->singSegs->size(); ++s) {
            const HVCurrentModel::SingSegment* seg = track->singSegs->segAt(s);
            if (seg->singer != singer)
                continue;
            for (const HVCurrentModel::Note* n : seg->notes) {
                HalvorenEngine::SynthNoteV3 note;
                const std::int32_t from = seg->pos + n->pos;
                note.start = tempo.tickToSec(from);
                note.duration = tempo.tickToSec(from + n->width) - note.start;
                note.symbol = n->phoneticSymbol;
                note.timbre = keyIndexToPitchName(n->key);
                note.crossTimbre = note.timbre;
                score.notes.push_back(note);
            }
        }
    }
    if (score.notes.empty())
        throw std::runtime_error("the singer \"" + singer + "\" sings no note in \"" + projectPath + "\"");
    std::stable_sort(score.notes.begin(), score.notes.end(),
                     [](const auto& a, const auto& b) { return a.start < b.start; });
    return score;
}

}  // namespace demobank
