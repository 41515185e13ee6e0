#pragma once
// Package files are a run of records, each an int32 byte length n followed by
// n bytes.
#include <cstdio>

#include "dsp/CMemoryBuffer.h"

namespace Halvoren {

// Reads the length; when it is at least 1, empties buffer and fills it with
// the record's bytes (only those the file still holds, so a damaged length
// never allocates more than the file has). A length below 1 consumes just the
// 4 length bytes and leaves buffer as it was. False when the length cannot
// be read or the file ends inside the record; a file that cannot tell its
// size gives nothing.
bool readRecord(FILE* file, CMemoryBuffer& buffer);

}  // namespace Halvoren
