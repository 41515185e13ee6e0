#include "voicebank/package/ContentRecord.h"

#include <cstdio>
#include <optional>

#include "platform/CString.h"
#include "platform/FileUtil.h"
#include "voicebank/package/PackageRecord.h"

namespace Halvoren {

std::string contentPartPath(const std::string& basePath, std::int32_t part)
{
    std::string path = basePath + "HVC";
    if (part > 0) {
        path += '_';
        path += std::to_string(part);
    }
    return path;
}

bool readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part, std::int32_t minBytes,
                       CMemoryBuffer& buffer, std::ostream& log)
{
    const std::string path = contentPartPath(basePath, part);
    buffer.bytes().clear();
    // Only a regular file is opened: a FIFO or a device in a part's place
    // would block the load or feed it without end.
    const FilePtr file(openFile(CString::fromPathBytes(path), "rb"));
    const std::optional<std::uint64_t> size = file ? bytesLeftInFile(file.get()) : std::nullopt;
    bool whole = size && offset >= 0 && std::uint64_t(offset) < *size && fseeko(file.get(), offset, SEEK_SET) == 0;
    if (whole) {
        readRecord(file.get(), buffer);
        whole = std::int64_t(buffer.size()) >= std::int64_t(minBytes) && buffer.size() > 0;
    }
    if (!whole)
        log << "fail to read package content file " << path << std::endl;
    return whole;
}

}  // namespace Halvoren
