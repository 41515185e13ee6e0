#pragma once
// The project a user starts with: tempo 12000 at tick 0, 4/4 at measure -3,
// and one singing track holding one sing segment at 7680 of width 307200,
// named "New segment" in the UI language, sung by the default singer.
#include <memory>

#include "model/current/HalvorenModel.h"

namespace HVCurrentModel {

inline constexpr int32_t kDefaultSegmentPos = 7680;
inline constexpr int32_t kDefaultSegmentWidth = 307200;

std::unique_ptr<HalvorenModel> makeDefaultProject();

}  // namespace HVCurrentModel
