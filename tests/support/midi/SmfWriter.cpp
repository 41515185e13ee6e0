#include "support/midi/SmfWriter.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace hvtest {

namespace {

std::string bigEndian(uint32_t value, int bytes)
{
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}

}  // namespace

std::string vlq(uint32_t value)
{
    std::string out(1, static_cast<char>(value & 0x7F));
    while (value >>= 7) out.insert(out.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return out;
}

SmfTrack& SmfTrack::runningStatus(bool on)
{
    running_ = on;
    return *this;
}

void SmfTrack::delta(uint32_t tick)
{
    if (tick < lastTick_) throw std::logic_error("events must not go back in time");
    body_ += vlq(tick - lastTick_);
    lastTick_ = tick;
}

void SmfTrack::channelMessage(uint32_t tick, uint8_t status, char data1, char data2)
{
    delta(tick);
    if (!running_ || status != lastStatus_) body_ += static_cast<char>(status);
    lastStatus_ = status;
    body_ += data1;
    body_ += data2;
}

SmfTrack& SmfTrack::noteOn(uint32_t tick, int note, int velocity, int channel)
{
    channelMessage(tick, static_cast<uint8_t>(0x90 | channel), static_cast<char>(note), static_cast<char>(velocity));
    return *this;
}

SmfTrack& SmfTrack::noteOff(uint32_t tick, int note, bool asNoteOn, int channel)
{
    const uint8_t status = static_cast<uint8_t>((asNoteOn ? 0x90 : 0x80) | channel);
    channelMessage(tick, status, static_cast<char>(note), 0);
    return *this;
}

SmfTrack& SmfTrack::control(uint32_t tick, int controller, int value, int channel)
{
    channelMessage(tick, static_cast<uint8_t>(0xB0 | channel),
                   static_cast<char>(controller), static_cast<char>(value));
    return *this;
}

SmfTrack& SmfTrack::meta(uint32_t tick, uint8_t type, std::string_view data)
{
    delta(tick);
    body_ += '\xFF';
    body_ += static_cast<char>(type);
    body_ += vlq(static_cast<uint32_t>(data.size()));
    body_ += data;
    lastStatus_ = 0;
    return *this;
}

SmfTrack& SmfTrack::tempo(uint32_t tick, uint32_t microsPerQuarter)
{
    return meta(tick, 0x51, bigEndian(microsPerQuarter, 3));
}

SmfTrack& SmfTrack::sysex(uint32_t tick, std::string_view data)
{
    delta(tick);
    body_ += '\xF0';
    body_ += vlq(static_cast<uint32_t>(data.size()));
    body_ += data;
    lastStatus_ = 0;
    return *this;
}

SmfTrack& SmfTrack::raw(std::string_view bytes)
{
    body_ += bytes;
    return *this;
}

SmfTrack& SmfTrack::declaredLength(uint32_t length)
{
    declared_ = length;
    return *this;
}

std::string SmfTrack::chunk() const
{
    return "MTrk" + bigEndian(declared_.value_or(static_cast<uint32_t>(body_.size())), 4) + body_;
}

SmfWriter& SmfWriter::track(const SmfTrack& track)
{
    chunks_ += track.chunk();
    ++tracksAdded_;
    return *this;
}

SmfWriter& SmfWriter::chunk(std::string_view id, std::string_view body)
{
    chunks_ += std::string(id) + bigEndian(static_cast<uint32_t>(body.size()), 4) + std::string(body);
    return *this;
}

SmfWriter& SmfWriter::trackCount(uint16_t count)
{
    trackCount_ = count;
    return *this;
}

std::string SmfWriter::bytes() const
{
    return "MThd" + bigEndian(6, 4) + bigEndian(format_, 2) + bigEndian(trackCount_.value_or(tracksAdded_), 2) +
           bigEndian(division_, 2) + chunks_;
}

bool SmfWriter::writeTo(const std::string& path) const { return writeFileBytes(path, bytes()); }

bool writeFileBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string readHexFile(const std::string& path)
{
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::string out, line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::string digits;
        for (char c : line)
            if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
        if (digits.size() % 2) throw std::runtime_error("odd hex digits in " + path);
        for (size_t i = 0; i < digits.size(); i += 2)
            out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    }
    return out;
}

}  // namespace hvtest
