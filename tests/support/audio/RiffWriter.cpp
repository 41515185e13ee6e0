#include "support/audio/RiffWriter.h"

#include <fstream>

namespace hvtest {

void putLE(Bytes& out, uint64_t v, int bytes)
{
    for (int k = 0; k < bytes; ++k, v >>= 8) out.push_back(static_cast<uint8_t>(v & 0xFF));
}

Bytes fmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size)
{
    const uint16_t blockAlign = static_cast<uint16_t>(channels * ((bits + 7) / 8));
    Bytes b;
    putLE(b, tag, 2);
    putLE(b, channels, 2);
    putLE(b, rate, 4);
    putLE(b, uint64_t(rate) * blockAlign, 4);
    putLE(b, blockAlign, 2);
    putLE(b, bits, 2);
    b.resize(size, 0);
    return b;
}

RiffWriter& RiffWriter::chunk(std::string_view id, const Bytes& body, std::optional<uint32_t> declaredSize)
{
    chunks_.insert(chunks_.end(), id.begin(), id.end());
    putLE(chunks_, declaredSize.value_or(static_cast<uint32_t>(body.size())), 4);
    chunks_.insert(chunks_.end(), body.begin(), body.end());
    if (body.size() % 2 == 1) chunks_.push_back(0);
    return *this;
}

RiffWriter& RiffWriter::fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size)
{
    return chunk("fmt ", fmtBody(tag, channels, rate, bits, size));
}

RiffWriter& RiffWriter::data(const Bytes& samples, std::optional<uint32_t> declaredSize)
{
    return chunk("data", samples, declaredSize);
}

Bytes RiffWriter::bytes() const
{
    Bytes out{'R', 'I', 'F', 'F'};
    putLE(out, 4 + chunks_.size(), 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), chunks_.begin(), chunks_.end());
    return out;
}

bool RiffWriter::writeTo(const std::string& path) const { return writeBytes(path, bytes()); }

Bytes simpleWav(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples)
{
    return RiffWriter().fmt(tag, channels, rate, bits).data(samples).bytes();
}

bool writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

}  // namespace hvtest
