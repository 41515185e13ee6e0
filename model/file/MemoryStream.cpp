#include "model/file/MemoryStream.h"

#include <algorithm>
#include <cstring>

#include "platform/LittleEndian.h"

namespace HalvorenWin {

void CMemoryStream::writeBytes(const void* bytes, size_t n)
{
    const size_t before = buffer->size();
    if (!bytes || n == 0 || pos > before) return;
    buffer->writeAt(bytes, n, pos);
    pos += n;
}

void CMemoryStream::writeUInt(uint32_t value)
{
    char bytes[4];
    storeLittleEndian32(bytes, value);
    writeBytes(bytes, 4);
}

void CMemoryStream::writeInt(int32_t value) { writeUInt(static_cast<uint32_t>(value)); }

void CMemoryStream::writeByte(uint8_t value) { writeBytes(&value, 1); }

void CMemoryStream::writeFloat(float value) { writeUInt(floatBits(value)); }

void CMemoryStream::writeString(const char* text)
{
    if (!text) return;
    const size_t n = std::strlen(text);
    writeUInt(static_cast<uint32_t>(n));
    writeBytes(text, n);
}

void CMemoryStream::writeBlock(const CMemoryBuffer& source)
{
    writeUInt(static_cast<uint32_t>(source.size()));
    writeBytes(source.data.data(), source.size());
}

ByteCursor CMemoryStream::cursor() const
{
    const size_t end = std::min(end_, buffer->size());
    return pos < end ? ByteCursor(buffer->data.data() + pos, end - pos) : ByteCursor();
}

bool CMemoryStream::moved(bool ok, const ByteCursor& c)
{
    if (ok)
        pos += static_cast<size_t>(c.position());
    else
        stopHere("cut short");
    return ok;
}

CMemoryStream CMemoryStream::inner(size_t begin, size_t end) const
{
    CMemoryStream block(*buffer, begin, end);
    block.budget = budget;
    block.depth = depth + 1;
    block.stop = stop;
    block.damaged = damaged;
    return block;
}

template <class Text>
void CMemoryStream::record(size_t at, bool everywhere, Text text)
{
    if (!(everywhere ? stop != nullptr && !stop->stopped : recordsStop())) return;
    damaged = true;
    if (everywhere || depth == 0)
        stop->at(at, text());
    else
        stop->damagedBlocks.note(at, text);
}

void CMemoryStream::stopAt(size_t at, const std::string& how)
{
    record(at, false, [&] { return std::string(what) + " " + how; });
}

void CMemoryStream::stopEverywhere(const std::string& how)
{
    record(pos, true, [&] { return std::string(what) + " " + how; });
}

void CMemoryStream::endShort(uint32_t held, uint32_t count)
{
    // A list ends its block, so even the body's own list is counted apart.
    if (!recordsStop()) return;
    damaged = true;
    stop->shortLists.note(pos, [&] {
        return std::string(what) + " holds " + std::to_string(held) + " of its " + std::to_string(count) + " records";
    });
}

void CMemoryStream::expectEnd()
{
    if (remaining() > 0 && recordsStop()) stopHere("has " + std::to_string(remaining()) + " bytes left unread");
}

bool CMemoryStream::readBytes(void* target, size_t n)
{
    ByteCursor c = cursor();
    return moved(c.bytes(target, n), c);
}

bool CMemoryStream::readUInt(uint32_t& target)
{
    ByteCursor c = cursor();
    return moved(c.u32(target), c);
}

bool CMemoryStream::readInt(int32_t& target)
{
    ByteCursor c = cursor();
    return moved(c.i32(target), c);
}

bool CMemoryStream::readByte(uint8_t& target)
{
    ByteCursor c = cursor();
    return moved(c.u8(target), c);
}

bool CMemoryStream::readFloat(float& target)
{
    ByteCursor c = cursor();
    return moved(c.f32(target), c);
}

uint32_t CMemoryStream::readCount()
{
    uint32_t n = 0;
    readUInt(n);
    return n;
}

void CMemoryStream::readString(std::string& target)
{
    const uint32_t n = readCount();
    if (static_cast<int32_t>(n) < 0) {
        if (recordsStop()) stopHere("holds a text of " + std::to_string(n) + " bytes");
        return;
    }
    ByteCursor c = cursor();
    if (!moved(c.text(n, target), c)) target.clear();
}

void CMemoryStream::readBlock(CMemoryBuffer& target)
{
    const uint32_t n = readCount();
    if (n == 0) return;
    ByteCursor c = cursor();
    ByteCursor block;
    if (!c.sub(n, block)) {
        stopHere("cut short");
        target.data.resize(target.size() + remaining(), '\0');
        return;
    }
    target.append(block.here(), n);
    pos += n;
}

CMemoryStream CMemoryStream::readSubBlock(const char* name)
{
    const size_t at = pos;
    const uint32_t n = readCount();
    ByteCursor c = cursor();
    ByteCursor block;
    const bool whole = c.sub(n, block);
    const bool allowed = whole && (!budget || budget->allowsDepth(depth + 1));
    if (!allowed) {
        // Too deep spends the budget: no loop of the file makes a record again.
        record(at, whole, [&] { return std::string(name) + (whole ? " nested too deep" : " block cut short"); });
        CMemoryStream empty = inner(pos, pos);
        empty.what = name;
        return empty;
    }
    pos += n;
    CMemoryStream content = inner(pos - n, pos);
    content.what = name;
    return content;
}

bool CMemoryStream::readTag(const char tag[4])
{
    // A marker that is not next is not missing bytes: older bodies lack some.
    ByteCursor c = cursor();
    if (!c.tag(tag, 4)) return false;
    pos += 4;
    return true;
}

}  // namespace HalvorenWin
