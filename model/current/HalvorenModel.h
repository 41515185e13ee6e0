#pragma once
// The root of the project model: tempo markers, beat markers and tracks.
#include <cstdint>
#include <vector>

#include "model/current/Markers.h"
#include "model/current/Track.h"
#include "model/legacy/ModelV1.h"
#include "model/legacy/ObjWithVersion.h"
#include "platform/CString.h"

namespace HVCurrentModel {

class HalvorenModel : public UpgradableObj<HVModel_V1::HalvorenModel>, public ObjWithVersion {
public:
    // Becomes the upgrade of an older root of either legacy generation.
    bool upgrade(const ObjWithVersion& older) override;
    // Converts a generation-1 root into this (new) model.
    bool upgradeFrom(const HVModel_V1::HalvorenModel& previous) override;

    // Version 5, no extension flags, empty path and lists; the defaults of a
    // new project come from makeDefaultProject.
    HalvorenModel() = default;
    HalvorenModel(const HalvorenModel&) = delete;
    HalvorenModel& operator=(const HalvorenModel&) = delete;
    virtual ~HalvorenModel();

    // Deletes every track.
    void clearTracks();

    // The version (5) the writer puts into the file header is ObjWithVersion's.
    // Which optional field groups the file this model was read from holds.
    bool ext1 = false;
    bool ext2 = false;
    bool ext3 = false;
    bool ext4 = false;
    bool ext5 = false;
    bool ext6 = false;
    bool ext7 = false;
    CString path;
    std::vector<Tempo*> tempos;  // owned, sorted by position
    std::vector<Beat*> beats;    // owned, sorted by position
    std::vector<Track*> tracks;  // owned, in display order
};

}  // namespace HVCurrentModel
