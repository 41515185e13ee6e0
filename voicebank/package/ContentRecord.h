#pragma once
// The content files ("HVC", "HVC_1", ...) of the voice packages: one framed
// record is read per load, from a file opened for that load only, so loads
// may run on several threads at once.
#include <cstdint>
#include <functional>
#include <string>

#include "voicebank/package/RecordParse.h"

namespace Halvoren {

// basePath + "HVC", followed by "_" and the part number for parts above 0.
std::string contentPartPath(const std::string& basePath, std::int32_t part);

// Why the content part cannot be read at all: the system's reason, or "not
// a regular file" (a FIFO or a device is refused at once); "" when it opens.
std::string contentPartProblem(const std::string& basePath, std::int32_t part);

// What one read of a record found.
struct RecordRead {
    std::string fault;          // "" when the record was read whole
    bool parsed = false;        // the record lay in its file, held its values and was parsed
    std::int32_t length = 0;    // its length word, once parsed
    std::int64_t bytesRead = 0;  // how far the parse read, from the length word on
};

// Reads the record (int32 length, then the bytes) at offset of the content
// part with parse, which takes its parts through a RecordParse over the
// record's bytes. The bytes come from the file as the parse reads them, so
// a record costs what its parse reads, whatever length it claims; bytes
// left unread at its end are never touched. The fault says what is wrong:
// the part cannot be opened ("cannot be opened: <reason>"), the offset lies
// outside the file, the file ends inside the length, the length passes the
// file's end, the record holds fewer than minBytes bytes, or one of its
// parts is wrong (RecordParse::fault).
RecordRead readContentRecord(const std::string& basePath, std::int32_t offset, std::int32_t part,
                             std::int32_t minBytes, const std::function<void(RecordParse&)>& parse);

}  // namespace Halvoren
