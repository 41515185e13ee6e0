#pragma once
// The record loop of the project readers. Every record of the project files
// starts with a 4-byte field; a record is read only while that field is
// there, so a count read from a damaged file cannot make the loop create
// records beyond the bytes that remain.
#include <cstdint>

#include "model/file/MemoryStream.h"

namespace HalvorenWin {

template <class ReadOne>
void readRecords(CMemoryStream& in, uint32_t count, ReadOne readOne)
{
    for (uint32_t i = 0; i < count && in.remaining() >= 4; ++i) readOne();
}

}  // namespace HalvorenWin
