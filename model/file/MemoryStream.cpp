#include "model/file/MemoryStream.h"

#include <algorithm>
#include <cstring>

#include "model/file/LittleEndian.h"

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
    storeU32(bytes, value);
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

bool CMemoryStream::readBytes(void* target, size_t n)
{
    if (!target || n > remaining()) return false;
    std::memcpy(target, buffer->data.data() + pos, n);
    pos += n;
    return true;
}

bool CMemoryStream::readUInt(uint32_t& target)
{
    char bytes[4];
    if (!readBytes(bytes, 4)) return false;
    target = loadU32(bytes);
    return true;
}

bool CMemoryStream::readInt(int32_t& target)
{
    uint32_t v;
    if (!readUInt(v)) return false;
    target = static_cast<int32_t>(v);
    return true;
}

bool CMemoryStream::readByte(uint8_t& target) { return readBytes(&target, 1); }

bool CMemoryStream::readFloat(float& target)
{
    uint32_t v;
    if (!readUInt(v)) return false;
    target = floatFromBits(v);
    return true;
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
    if (static_cast<int32_t>(n) < 0) return;
    if (n > remaining()) {
        target.clear();
        return;
    }
    const char* first = buffer->data.data() + pos;
    target.assign(first, std::find(first, first + n, '\0'));
    pos += n;
}

void CMemoryStream::readBlock(CMemoryBuffer& target)
{
    const uint32_t n = readCount();
    if (n == 0) return;
    if (n > remaining()) {
        target.data.resize(target.size() + remaining(), '\0');
        return;
    }
    target.append(buffer->data.data() + pos, n);
    pos += n;
}

CMemoryStream CMemoryStream::readSubBlock()
{
    const uint32_t n = readCount();
    if (n > remaining()) return CMemoryStream(*buffer, pos, pos);
    pos += n;
    return CMemoryStream(*buffer, pos - n, pos);
}

bool CMemoryStream::readTag(const char tag[4])
{
    if (remaining() < 4 || std::memcmp(buffer->data.data() + pos, tag, 4) != 0) return false;
    pos += 4;
    return true;
}

}  // namespace HalvorenWin
