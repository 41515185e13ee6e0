#include "voicebank/package/IndexedPackage.h"

namespace Halvoren {

IndexedPackage::IndexedPackage(std::string basePath, const IndexFormat& format, std::ostream& log)
    : basePath_(std::move(basePath)), tie_(format.tie), content_(basePath_, log)
{
    indexFault_ = readPackageIndex(basePath_ + "HVI", format, index_, log);
}

std::string IndexedPackage::findRecordKey(const std::string& unit, const std::string& pitch, std::int32_t& offset,
                                          std::int32_t& part) const
{
    return findNearestVariant(index_.unitIndex, unit, pitch, offset, part, tie_);
}

}  // namespace Halvoren
