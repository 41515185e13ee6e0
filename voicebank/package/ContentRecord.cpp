#include "voicebank/package/ContentRecord.h"

#include <fstream>

#include "voicebank/package/PackageRecord.h"

namespace Halvoren {

std::string contentPartPath(const std::string& basePath, std::int32_t part)
{
    std::string path = basePath + "HVC";
    if (part > 0)
        path += "_" + std::to_string(part);
    return path;
}

bool readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part, std::int32_t minBytes,
                       CMemoryBuffer& buffer, std::ostream& log)
{
    const std::string path = contentPartPath(basePath, part);
    buffer.bytes().clear();
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    bool whole = file.is_open() && offset >= 0;
    if (whole) {
        const std::streamoff size = file.tellg();
        whole = size >= 0 && offset < size && file.seekg(offset);
    }
    if (whole) {
        readRecord(file, buffer);
        whole = std::int64_t(buffer.size()) >= std::int64_t(minBytes) && buffer.size() > 0;
    }
    if (!whole)
        log << "fail to read package content file" << path << std::endl;
    return whole;
}

}  // namespace Halvoren
