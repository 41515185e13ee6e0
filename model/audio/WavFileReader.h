#pragma once
// Reader of RIFF/WAVE files with integer (tag 1) or IEEE float (tag 3)
// samples into a CWavBuf.
//
// The file stays on disk: each chunk header and the part of the fmt chunk
// that is used are read into a few bytes of memory and parsed with a
// ByteCursor, skipped chunk bodies are seeked past and the samples are
// streamed. Every chunk walked counts against a ReadBudget made from the
// file's size, so a file of endless empty chunks ends its walk as a file
// without the chunk does.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

#include "model/audio/ClipLimits.h"
#include "model/audio/CWavBuf.h"
#include "platform/CString.h"
#include "platform/ByteCursor.h"
#include "platform/FileUtil.h"
#include "platform/ReadBudget.h"

class WavFileReader {
public:
    WavFileReader() = default;
    WavFileReader(const WavFileReader&) = delete;
    WavFileReader& operator=(const WavFileReader&) = delete;

    // Parses the file into the buffer. On failure the buffer holds no
    // samples; its format is the default one, or the fmt chunk's when the
    // read failed at the data. Samples that would pass the clip limits are
    // not read: the read fails with tooLarge() true.
    bool read(const CString& path, const ReadLimits& limits = ReadLimits(), const ClipLimits& clip = ClipLimits());
    const HalvorenEditor::CWavBuf& buffer() const { return wavBuf; }
    // Hands the buffer over, leaving this reader's empty.
    HalvorenEditor::CWavBuf takeBuffer() { return std::move(wavBuf); }
    bool tooLarge() const { return refusedForSize; }

private:
    void open(const CString& path, const ReadLimits& limits, const ClipLimits& clip);
    void close() { stream.reset(); }
    bool readRiffHeader();
    bool findFmtChunk();
    bool readFmtChunk();
    bool findDataChunk();
    bool readData();

    // A cursor over the next n (at most kHeadBytes) bytes of the file, or
    // over those that were left.
    ByteCursor next(size_t n);
    bool skip(uint64_t n);
    // Walks the chunks from the current position up to the one named id and
    // reads its size; false at the end of the file.
    bool findChunk(const char* id, uint32_t& size);
    bool formatIsUsable() const;

    static constexpr size_t kHeadBytes = 16;
    unsigned char head[kHeadBytes] = {};
    ReadBudget budget{0};
    ClipLimits clipLimits;
    bool refusedForSize = false;

    bool fmtOk = false;
    bool riffOk = false;
    bool fmtFound = false;
    bool dataRead = false;
    bool dataFound = false;
    FilePtr stream;
    bool floatFormat = false;
    uint16_t fmtChannels = 0;
    uint32_t fmtSampleRate = 0;
    uint32_t fmtByteRate = 0;
    uint16_t fmtBlockAlign = 0;
    uint16_t fmtBitsPerSample = 0;
    uint32_t dataSize = 0;
    uint32_t fmtSize = 0;
    HalvorenEditor::CWavBuf wavBuf;
};
