#include "platform/ReadBudget.h"

#include <limits>

namespace {

// per * n + base, held at the largest value instead of wrapping.
std::uint64_t growingLimit(std::uint64_t per, std::uint64_t n, std::uint64_t base) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (per != 0 && n > kMax / per) return kMax;
    const std::uint64_t scaled = per * n;
    return scaled > kMax - base ? kMax : scaled + base;
}

}  // namespace

ReadBudget::ReadBudget(std::uint64_t fileSize, const ReadLimits& limits)
    : recordLimit_(growingLimit(limits.recordsPerFileByte, fileSize, limits.recordBase)),
      byteLimit_(growingLimit(limits.bytesPerFileByte, fileSize, limits.byteBase)),
      maxDepth_(limits.maxDepth) {}

bool ReadBudget::takeRecord(std::uint64_t builtBytes) {
    if (spent_ || records_ == recordLimit_ || builtBytes > byteLimit_ - bytes_) {
        spent_ = true;
        return false;
    }
    ++records_;
    bytes_ += builtBytes;
    return true;
}

bool ReadBudget::allowsDepth(std::uint32_t depth) {
    if (depth > maxDepth_) spent_ = true;
    return !spent_;
}
