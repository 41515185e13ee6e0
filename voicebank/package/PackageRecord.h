#pragma once
// Package files are a run of records, each an int32 byte length n followed by
// n bytes.
#include <istream>

#include "dsp/CMemoryBuffer.h"

namespace Halvoren {

// Reads the length; when it is at least 1, empties buffer and fills it with
// the record's bytes (only those the file still holds, so a damaged length
// never allocates more than the file has). A length below 1 consumes just the
// 4 length bytes and leaves buffer as it was. The caller detects the end of
// the file through the stream's state after the call.
void readRecord(std::istream& file, CMemoryBuffer& buffer);

}  // namespace Halvoren
