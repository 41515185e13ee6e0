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

RecordRead readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part,
                             std::int32_t minBytes, const std::function<void(RecordParse&)>& parse)
{
    RecordRead read;
    // Only a regular file is opened: a FIFO or a device in a part's place
    // would block the load or feed it without end.
    const FilePtr file(openFile(CString::fromPathBytes(contentPartPath(basePath, part)), "rb"));
    if (!file) {
        read.fault = contentPartProblem(basePath, part);
        return read;
    }
    const std::optional<std::uint64_t> size = bytesLeftInFile(file.get());
    if (!size) {
        read.fault = "cannot be read";
        return read;
    }
    const std::uint64_t end = *size;
    // The texts of a fault, built only when one is met: a healthy load
    // builds none.
    const auto record = [offset] { return "the record at byte " + std::to_string(offset); };
    unsigned char lengthBytes[4] = {};
    if (offset < 0)
        read.fault = record() + " lies before the start of the file";
    else if (std::uint64_t(offset) >= end)
        read.fault = record() + " lies past the end at byte " + std::to_string(end);
    else if (end - std::uint64_t(offset) < 4)
        read.fault = "ends inside the length of " + record();
    else if (fseeko(file.get(), offset, SEEK_SET) != 0 || std::fread(lengthBytes, 1, 4, file.get()) != 4)
        read.fault = "cannot be read";
    if (!read.fault.empty())
        return read;
    const auto length = std::int32_t(littleEndian32(lengthBytes));
    if (length >= 1 && std::uint64_t(length) > end - std::uint64_t(offset) - 4) {
        read.fault = record() + " claims " + std::to_string(length) + " bytes, past the end at byte " +
                     std::to_string(end);
    } else if (length < std::max(minBytes, 1)) {
        read.fault = record() + " claims " + std::to_string(length) + " bytes, fewer than the " +
                     std::to_string(std::max(minBytes, 1)) + " its values take";
    } else {
        CMemoryStream stream(file.get(), length);
        RecordParse reading(stream);
        parse(reading);
        read.parsed = true;
        read.length = length;
        read.bytesRead = 4 + std::int64_t(stream.getPosition());
        read.fault = reading.fault(offset, length);
    }
    return read;
}

}  // namespace Halvoren
