#pragma once
// The content files ("HVC", "HVC_1", ...) of the voice packages: one framed
// record is read per load, from a file opened for that load only, so loads
// may run on several threads at once.
#include <cstdint>
#include <string>

#include "dsp/CMemoryBuffer.h"

namespace Halvoren {

// basePath + "HVC", followed by "_" and the part number for parts above 0.
std::string contentPartPath(const std::string& basePath, std::int32_t part);

// Why the content part cannot be read at all: the system's reason, or "not
// a regular file" (a FIFO or a device is refused at once); "" when it opens.
std::string contentPartProblem(const std::string& basePath, std::int32_t part);

// Reads the record (int32 length, then the bytes) at offset of the content
// part into buffer. Returns "" when it was read whole, else what is wrong,
// with nothing more read than the file holds: the part cannot be opened
// ("cannot be opened: <reason>"), the offset lies outside the file, the
// file ends inside the length, the length passes the file's end or
// recordEnd (where the next record starts, INT64_MAX for none: records
// never overlap), or the record holds fewer than minBytes bytes.
std::string readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part,
                              std::int32_t minBytes, std::int64_t recordEnd, CMemoryBuffer& buffer);

}  // namespace Halvoren
