#include "support/audio/RiffWriter.h"

#include <fstream>

namespace hvtest {

namespace {

void append(Bytes& out, const ByteBuilder& b) { out.insert(out.end(), b.bytes.begin(), b.bytes.end()); }

}  // namespace

Bytes fmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size)
{
    const uint16_t blockAlign = static_cast<uint16_t>(channels * ((bits + 7) / 8));
    ByteBuilder fields;
    fields.u16(tag).u16(channels).u32(rate).u32(static_cast<uint32_t>(uint64_t(rate) * blockAlign));
    fields.u16(blockAlign).u16(bits);
    Bytes b;
    append(b, fields);
    b.resize(size, 0);
    return b;
}

RiffWriter& RiffWriter::chunk(std::string_view id, const Bytes& body, std::optional<uint32_t> declaredSize)
{
    chunks_.insert(chunks_.end(), id.begin(), id.end());
    append(chunks_, ByteBuilder().u32(declaredSize.value_or(static_cast<uint32_t>(body.size()))));
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
    append(out, ByteBuilder().u32(static_cast<uint32_t>(4 + chunks_.size())));
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
