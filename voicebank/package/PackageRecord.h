#pragma once
// Package files are a run of records, each an int32 byte length n followed by
// n bytes.
#include <cstdint>
#include <cstdio>

#include "dsp/CMemoryBuffer.h"

namespace Halvoren {

// Reads the length into *length (when given; untouched when it cannot be
// read). A length of 1 to maxBytes whose bytes the file holds empties buffer
// and fills it with them; a length past maxBytes or past the file's end
// reads nothing and leaves buffer as it was, so a damaged length never
// allocates more than the file has. A length below 1 consumes just the 4
// length bytes and leaves buffer as it was. False when the length cannot be
// read, passes maxBytes or the file, or the file cannot tell its size or
// ends early.
bool readRecord(FILE* file, CMemoryBuffer& buffer, std::uint64_t maxBytes = UINT64_MAX,
                std::int32_t* length = nullptr);

}  // namespace Halvoren
