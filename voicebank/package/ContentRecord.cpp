#include "voicebank/package/ContentRecord.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/CString.h"
#include "platform/FileUtil.h"
#include "platform/RegularFile.h"
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

std::string contentPartProblem(const std::string& basePath, std::int32_t part)
{
    const std::string problem = regularFileProblem(CString::fromPathBytes(contentPartPath(basePath, part)));
    return problem.empty() ? problem : "cannot be opened: " + problem;
}

std::string readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part,
                              std::int32_t minBytes, std::int64_t recordEnd, CMemoryBuffer& buffer)
{
    buffer.bytes().clear();
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
    const auto end = [&size] { return "the end at byte " + std::to_string(*size); };
    if (offset < 0)
        return record() + " lies before the start of the file";
    if (std::uint64_t(offset) >= *size)
        return record() + " lies past " + end();
    if (*size - std::uint64_t(offset) < 4)
        return "ends inside the length of " + record();
    if (fseeko(file.get(), offset, SEEK_SET) != 0)
        return "cannot be read";
    // The record's bytes stop at the file's end and at the next record.
    const std::uint64_t fileRoom = *size - std::uint64_t(offset) - 4;
    const bool nextIsCloser = recordEnd >= 0 && std::uint64_t(recordEnd) < *size;
    const std::uint64_t room =
        nextIsCloser ? std::uint64_t(std::max<std::int64_t>(recordEnd - std::int64_t(offset) - 4, 0)) : fileRoom;
    std::int32_t length = 0;
    const bool read = readRecord(file.get(), buffer, room, &length);
    if (length >= 1 && std::uint64_t(length) > room)
        return record() + " claims " + std::to_string(length) + " bytes, past " +
               (nextIsCloser ? "the next record at byte " + std::to_string(recordEnd) : end());
    if (!read)
        return "cannot be read";
    if (length < std::max(minBytes, 1))
        return record() + " claims " + std::to_string(length) + " bytes, fewer than the " +
               std::to_string(std::max(minBytes, 1)) + " its values take";
    return std::string();
}

}  // namespace Halvoren
