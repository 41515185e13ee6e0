#include "voicebank/package/PackageContent.h"

#include <algorithm>
#include <limits>

#include "voicebank/package/ContentRecord.h"

namespace Halvoren {

void PackageContent::sortStarts()
{
    std::sort(starts_.begin(), starts_.end());
    starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
    starts_.shrink_to_fit();
}

std::int64_t PackageContent::recordEnd(std::int32_t part, std::int32_t offset) const
{
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), std::make_pair(part, offset));
    return next != starts_.end() && next->first == part ? next->second : std::numeric_limits<std::int64_t>::max();
}

bool PackageContent::read(std::int32_t offset, std::int32_t part, std::int32_t minBytes, CMemoryBuffer& buffer) const
{
    const std::string fault = readContentRecord(basePath_, offset, part, minBytes, recordEnd(part, offset), buffer);
    if (!fault.empty())
        noteFault(part, fault);
    return fault.empty();
}

void PackageContent::noteFault(std::int32_t part, const std::string& fault) const
{
    const std::string path = contentPartPath(basePath_, part);
    const std::lock_guard<std::mutex> guard(lock_);
    if (!faultedParts_.insert(part).second)
        return;
    *log_ << "fail to read package content file " << path << ": " << fault << std::endl;
    if (firstFault_.empty())
        firstFault_ = path + ": " + fault;
}

std::string PackageContent::firstFault() const
{
    const std::lock_guard<std::mutex> guard(lock_);
    return firstFault_;
}

}  // namespace Halvoren
