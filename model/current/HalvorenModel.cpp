#include "model/current/HalvorenModel.h"

namespace HVCurrentModel {

HalvorenModel::~HalvorenModel()
{
    clearTracks();
    for (Tempo* t : tempos) delete t;
    for (Beat* b : beats) delete b;
}

void HalvorenModel::clearTracks()
{
    for (Track* t : tracks) delete t;
    tracks.clear();
}

}  // namespace HVCurrentModel
