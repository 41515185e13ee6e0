#pragma once
// The record loop of the project readers. Every record of the project files
// starts with a 4-byte field; a record is read only while that field is
// there, so a count read from a damaged file cannot make the loop create
// records beyond the bytes that remain. A list ends its block in every
// layout: one whose bytes end first is a short list, and what follows its
// block still reads as written (the one to three bytes it may leave after
// its last whole record are part of that damage). Each record is also
// counted, with the bytes it builds, against the stream's budget: once that
// is spent no loop of the file makes another record, as if the file ended
// there, which is where the body stopped reading as written.
#include <cstdint>
#include <string>

#include "model/file/MemoryStream.h"

namespace HalvorenWin {

template <class ReadOne>
void readRecords(CMemoryStream& in, uint32_t count, uint64_t builtBytes, ReadOne readOne)
{
    for (uint32_t i = 0; i < count; ++i) {
        if (in.remaining() < 4) {
            in.endShort(i, count);
            return;
        }
        if (in.budget && !in.budget->takeRecord(builtBytes)) {
            in.stopEverywhere("builds more than a file of its size may");
            return;
        }
        readOne();
    }
}

}  // namespace HalvorenWin
