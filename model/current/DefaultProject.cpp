#include "model/current/DefaultProject.h"

#include "shell/services/LanguageMgr.h"
#include "voicebank/SingerMgr.h"

namespace HVCurrentModel {

std::unique_ptr<HalvorenModel> makeDefaultProject()
{
    auto model = std::make_unique<HalvorenModel>();
    model->tempos.push_back(new Tempo{0, 12000});
    model->beats.push_back(new Beat{-3, 4, 4});

    auto* seg = new SingSegment(kDefaultSegmentPos, kDefaultSegmentWidth);
    seg->name = translate("New segment").toUtf8();
    seg->singer = getDefaultSingerName();
    auto* track = new Track(kSingingTrack);
    insertSegmentSorted(*track->singSegs, seg);
    model->tracks.push_back(track);
    return model;
}

}  // namespace HVCurrentModel
