#pragma once
// What one clip load may hold. The clip's samples are its content: only the
// clip budget refuses them, checked from the format and the size of the
// samples before they are read or while they are decoded. What a reader
// holds beyond the samples it has (room reserved ahead of them) is bounded
// by the size of its file.
#include <cstdint>
#include <limits>

#include "model/audio/CWavBuf.h"

struct ClipLimits {
    // Room a reader may reserve beyond the samples it holds.
    uint64_t spareBytes = std::numeric_limits<uint64_t>::max();
    // The clip in the players' format.
    uint64_t clipBytes = std::numeric_limits<uint64_t>::max();

    // The limits of a clip read from a file of fileBytes bytes: at most
    // CWavBuf::kMaxBytesPerFileByte bytes per byte of it reserved beyond the
    // samples, and at most clipBytes once loaded.
    static ClipLimits forFile(uint64_t fileBytes, uint64_t clipBytes)
    {
        const uint64_t perByte = HalvorenEditor::CWavBuf::kMaxBytesPerFileByte;
        const uint64_t spare =
            fileBytes > std::numeric_limits<uint64_t>::max() / perByte ? std::numeric_limits<uint64_t>::max()
                                                                         : fileBytes * perByte;
        return {spare, clipBytes};
    }

    // True when sourceBytes of samples of this format, brought to the
    // players' format, stay within the clip's bytes.
    bool allow(uint64_t sourceBytes, int32_t bytesPerSample, int32_t channels, int32_t rate) const
    {
        const uint64_t samples = bytesPerSample > 0 ? sourceBytes / uint64_t(bytesPerSample) : 0;
        return HalvorenEditor::CWavBuf::playerFormatBytes(samples, channels, rate) <= clipBytes;
    }

    // True when room for capacity bytes, of which samplesHeld hold samples,
    // keeps the room beyond them within spareBytes.
    bool allowRoom(uint64_t capacity, uint64_t samplesHeld) const
    {
        return capacity <= samplesHeld || capacity - samplesHeld <= spareBytes;
    }
};
