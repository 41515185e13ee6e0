#include "voicebank/package/ContentRecord.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/CString.h"
#include "platform/FileUtil.h"
#include "platform/LittleEndian.h"
#include "platform/RegularFile.h"

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

std::string contentPartProblem(const std::string& basePath, std::int32_t part)
{
    const std::string problem = regularFileProblem(CString::fromPathBytes(contentPartPath(basePath, part)));
    return problem.empty() ? problem : "cannot be opened: " + problem;
}

std::string readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part,
                              std::int32_t minBytes, const std::function<void(RecordParse&)>& parse,
                              std::int64_t* bytesRead)
{
    // Only a regular file is opened: a FIFO or a device in a part's place
    // would block the load or feed it without end.
    const FilePtr file(openFile(CString::fromPathBytes(contentPartPath(basePath, part)), "rb"));
    if (!file)
        return contentPartProblem(basePath, part);
    const std::optional<std::uint64_t> size = bytesLeftInFile(file.get());
    if (!size)
        return "cannot be read";
    // The texts of a fault, built only when one is met: a healthy load
    // builds none.
    const auto record = [offset] { return "the record at byte " + std::to_string(offset); };
    if (offset < 0)
        return record() + " lies before the start of the file";
    if (std::uint64_t(offset) >= *size)
        return record() + " lies past the end at byte " + std::to_string(*size);
    if (*size - std::uint64_t(offset) < 4)
        return "ends inside the length of " + record();
    unsigned char lengthBytes[4];
    if (fseeko(file.get(), offset, SEEK_SET) != 0 || std::fread(lengthBytes, 1, 4, file.get()) != 4)
        return "cannot be read";
    const auto length = std::int32_t(littleEndian32(lengthBytes));
    if (length >= 1 && std::uint64_t(length) > *size - std::uint64_t(offset) - 4)
        return record() + " claims " + std::to_string(length) + " bytes, past the end at byte " +
               std::to_string(*size);
    if (length < std::max(minBytes, 1))
        return record() + " claims " + std::to_string(length) + " bytes, fewer than the " +
               std::to_string(std::max(minBytes, 1)) + " its values take";
    CMemoryStream stream(file.get(), length);
    RecordParse reading(stream);
    parse(reading);
    if (bytesRead)
        *bytesRead = 4 + std::int64_t(stream.getPosition());
    return reading.fault(offset, length);
}

}  // namespace Halvoren
