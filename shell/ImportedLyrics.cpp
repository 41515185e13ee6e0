#include "shell/ImportedLyrics.h"

#include <algorithm>
#include <string>

#include "model/document/SSSynthesizerDoc.h"
#include "model/import/LyricReading.h"
#include "model/import/ScoreImportContext.h"
#include "shell/RenderChecks.h"

using namespace HVCurrentModel;

void reportImportedLyrics(const CSSSynthesizerDoc& doc, const std::vector<Track*>& tracks) {
    const std::vector<Track*>& all = doc.getModel()->tracks;
    std::vector<std::string> lines;
    for (const Track* track : tracks) {
        const auto at = std::find(all.begin(), all.end(), track);
        if (at == all.end() || track->kind != kSingingTrack || track->singSegs == nullptr) continue;
        const auto index = static_cast<size_t>(at - all.begin());
        for (size_t i = 0; i < track->singSegs->size(); ++i) {
            const SingSegment* seg = track->singSegs->segAt(i);
            ILyricDict* dict = findSingerLyricDict(seg->singer);
            for (const Note* n : seg->notes)
                if (!singsItsLyric(dict, *n))
                    lines.push_back(notePlace(doc, index, *seg, *n) + " sings \"" + n->phoneticSymbol + "\"");
        }
    }
    showPlaceList("Lyrics their singer's dictionary does not read as one word (the notes sing another):", lines);
}
