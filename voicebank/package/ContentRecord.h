#pragma once
// The content files ("HVC", "HVC_1", ...) of the voice packages from the
// third generation on: one framed record is read per load, from a file
// opened for that load only, so loads may run on several threads at once.
#include <cstdint>
#include <ostream>
#include <string>

#include "dsp/CMemoryBuffer.h"

namespace Halvoren {

// basePath + "HVC", followed by "_" and the part number for parts above 0.
std::string contentPartPath(const std::string& basePath, std::int32_t part);

// Reads the record (int32 length, then the bytes) at offset of the content
// part into buffer. False, writing "fail to read package content file" and
// the path to log, when the part cannot be opened, the offset is negative or
// past the file's end, or the record holds fewer than minBytes bytes (a
// record cut short by the end of the file keeps the bytes it has).
bool readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part, std::int32_t minBytes,
                       CMemoryBuffer& buffer, std::ostream& log);

}  // namespace Halvoren
