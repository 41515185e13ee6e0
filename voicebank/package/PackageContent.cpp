#include "voicebank/package/PackageContent.h"

#include <algorithm>

#include "voicebank/package/SayOnce.h"

namespace Halvoren {

namespace {
// How many records before a stray offset are read to find the one holding
// it: a file of damaged records costs at most these reads per load.
constexpr int kHoldersLooked = 8;
}  // namespace

void PackageContent::sortStarts()
{
    std::sort(starts_.begin(), starts_.end());
    starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
    starts_.shrink_to_fit();
}

std::int64_t PackageContent::wholeExtent(std::int32_t part, std::int32_t start) const
{
    const auto key = std::make_pair(part, start);
    {
        const std::lock_guard<std::mutex> guard(lock_);
        if (const auto found = extents_.find(key); found != extents_.end())
            return found->second;
    }
    std::int64_t extent = 0;
    for (const RecordKind& kind : kinds_) {
        const RecordRead read = readContentRecord(basePath_, start, part, 1, kind);
        if (read.fault.empty())
            extent = std::max(extent, read.bytesRead);
    }
    const std::lock_guard<std::mutex> guard(lock_);
    extents_.emplace(key, extent);
    return extent;
}

std::int64_t PackageContent::holderOf(std::int32_t part, std::int32_t offset) const
{
    // The bytes read of records that read whole never overlap (an entry
    // pointing into them would not read whole itself), so the nearest such
    // record before offset is the only one that can hold it. Records that do
    // not read whole are passed over.
    auto at = std::lower_bound(starts_.begin(), starts_.end(), std::make_pair(part, offset));
    for (int looked = 0; at != starts_.begin() && looked < kHoldersLooked; ++looked) {
        --at;
        if (at->first != part)
            break;
        const std::int64_t extent = wholeExtent(part, at->second);
        if (extent > 0)
            return std::int64_t(at->second) + extent > offset ? at->second : -1;
    }
    return -1;
}

void PackageContent::noteLoadFault(const std::string& unit, const std::string& pitch, std::int32_t offset,
                                   std::int32_t part, const std::string& fault) const
{
    const std::int64_t holder = holderOf(part, offset);
    if (holder < 0) {
        noteFault(part, fault);
        return;
    }
    const std::string index = basePath_ + "HVI";
    const std::string wrong = "the entry of \"" + unit + "\" at " + pitch + " places its record at byte " +
                              std::to_string(offset) + " of " + contentPartPath(basePath_, part) +
                              ", inside the record at byte " + std::to_string(holder);
    say(index, "fail to read package index file " + index + ": " + wrong, index + ": " + wrong);
}

void PackageContent::noteFault(std::int32_t part, const std::string& fault) const
{
    const std::string path = contentPartPath(basePath_, part);
    say(path, "fail to read package content file " + path + ": " + fault, path + ": " + fault);
}

void PackageContent::say(const std::string& file, const std::string& line, const std::string& fault) const
{
    sayOnce(*log_, file, line);
    const std::lock_guard<std::mutex> guard(lock_);
    if (firstFault_.empty())
        firstFault_ = fault;
}

std::string PackageContent::firstFault() const
{
    const std::lock_guard<std::mutex> guard(lock_);
    return firstFault_;
}

}  // namespace Halvoren
