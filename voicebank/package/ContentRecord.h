#pragma once
// The content files ("HVC", "HVC_1", ...) of the voice packages from the
// third generation on: one framed record is read per load, from a file
// opened for that load only, so loads may run on several threads at once.
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "dsp/CMemoryBuffer.h"
#include "dsp/CMemoryStream.h"

namespace Halvoren {

// basePath + "HVC", followed by "_" and the part number for parts above 0.
std::string contentPartPath(const std::string& basePath, std::int32_t part);

// Reads the record (int32 length, then the bytes) at offset of the content
// part into buffer. False, writing "fail to read package content file " and
// the path to log, when the part cannot be opened or is no regular file (a
// FIFO or a device is refused at once), the offset is negative or
// past the file's end, or the record holds fewer than minBytes bytes (a
// record cut short by the end of the file keeps the bytes it has).
bool readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part, std::int32_t minBytes,
                       CMemoryBuffer& buffer, std::ostream& log);

// A new Record(unit, pitch) filled by parse(stream, record) from the record
// at offset of the part; null, with the content message, when the record
// cannot be reached or holds fewer than minBytes bytes.
template <class Record, class Parse>
std::unique_ptr<Record> loadContentRecord(const std::string& basePath, const std::string& unit,
                                          const std::string& pitch, std::int32_t offset, std::int32_t part,
                                          std::int32_t minBytes, std::ostream& log, Parse parse)
{
    CMemoryBuffer buffer;
    if (!readContentRecord(basePath, offset, part, minBytes, buffer, log))
        return nullptr;
    CMemoryStream stream(&buffer);
    auto record = std::make_unique<Record>(unit, pitch);
    parse(stream, *record);
    return record;
}

}  // namespace Halvoren
