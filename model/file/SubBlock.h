#pragma once
// Writes a sub-block in place: a u32 byte count, patched once the content is
// written, then the content. The bytes equal those of a block assembled in a
// separate buffer and appended, without copying every nested level again.
#include <cstdint>

#include "platform/LittleEndian.h"
#include "model/file/MemoryStream.h"

namespace HalvorenWin {

template <class WriteContent>
void writeSubBlock(CMemoryStream& out, WriteContent writeContent)
{
    const size_t countAt = out.pos;
    out.writeUInt(0);
    writeContent();
    char count[4];
    storeLittleEndian32(count, static_cast<uint32_t>(out.pos - countAt - 4));
    out.buffer->writeAt(count, 4, countAt);
}

}  // namespace HalvorenWin
