#pragma once
// What one clip load may hold, checked from the format and the size of the
// samples before they are read or while they are decoded, so that a clip
// beyond either limit is refused without being held.
#include <cstdint>
#include <limits>

#include "model/audio/CWavBuf.h"

struct ClipLimits {
    // At any time while the clip is brought to the players' format.
    uint64_t peakBytes = std::numeric_limits<uint64_t>::max();
    // The clip in the players' format.
    uint64_t clipBytes = std::numeric_limits<uint64_t>::max();

    // The limits of a clip read from a file of fileBytes bytes: at most
    // CWavBuf::kMaxBytesPerFileByte bytes per byte of it at any time, and
    // at most clipBytes once loaded.
    static ClipLimits forFile(uint64_t fileBytes, uint64_t clipBytes)
    {
        const uint64_t perByte = HalvorenEditor::CWavBuf::kMaxBytesPerFileByte;
        const uint64_t peak =
            fileBytes > std::numeric_limits<uint64_t>::max() / perByte ? std::numeric_limits<uint64_t>::max()
                                                                         : fileBytes * perByte;
        return {peak, clipBytes};
    }

    // True when sourceBytes of samples of this format stay within both.
    bool allow(uint64_t sourceBytes, int32_t bytesPerSample, int32_t channels, int32_t rate) const
    {
        using HalvorenEditor::CWavBuf;
        const uint64_t samples = bytesPerSample > 0 ? sourceBytes / uint64_t(bytesPerSample) : 0;
        return CWavBuf::conversionPeakBytes(sourceBytes, bytesPerSample, channels, rate) <= peakBytes &&
               CWavBuf::playerFormatBytes(samples, channels, rate) <= clipBytes;
    }
};
