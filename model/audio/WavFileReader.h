#pragma once
// Reader of RIFF/WAVE files with integer (tag 1) or IEEE float (tag 3)
// samples into a CWavBuf.
#include <cstdint>
#include <cstdio>
#include <memory>

#include "model/audio/CWavBuf.h"
#include "platform/CString.h"
#include "platform/FileUtil.h"

class WavFileReader {
public:
    WavFileReader() = default;
    WavFileReader(const WavFileReader&) = delete;
    WavFileReader& operator=(const WavFileReader&) = delete;

    // Parses the file into the buffer. On failure the buffer holds no
    // samples; its format is the default one, or the fmt chunk's when the
    // read failed at the data.
    bool read(const CString& path);
    const HalvorenEditor::CWavBuf& buffer() const { return wavBuf; }

private:
    void open(const CString& path);
    void close() { stream.reset(); }
    bool readRiffHeader();
    bool findFmtChunk();
    bool readFmtChunk();
    bool findDataChunk();
    bool readData();

    bool readBytes(void* out, size_t n);
    bool readU16(uint16_t& v);
    bool readU32(uint32_t& v);
    bool skip(uint64_t n);
    // Walks the chunks from the current position up to the one named id and
    // reads its size; false at the end of the file.
    bool findChunk(const char* id, uint32_t& size);
    bool formatIsUsable() const;

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
