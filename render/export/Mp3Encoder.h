#pragma once
// Encodes interleaved 16-bit PCM at 44100 Hz into an open file as MP3:
// 192 kbit/s, constant bit rate, mono mode for one channel. The samples may
// come in pieces of any size; they are fed to the encoder in chunks of 32768
// bytes (16384 for mono), so the stream does not depend on how they came.
// The first frame carries the encoder's tag (frame count, encoder delay and
// padding), filled in by finish, so decoders that read it give back exactly
// the input length.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

struct lame_global_struct;

class Mp3Encoder {
public:
    Mp3Encoder();
    ~Mp3Encoder();
    Mp3Encoder(const Mp3Encoder&) = delete;
    Mp3Encoder& operator=(const Mp3Encoder&) = delete;

    // Sets up the encoder for 1 or 2 channels writing into file (not
    // owned, positioned at its start); false when it cannot be set up.
    bool begin(std::FILE* file, int channels);
    // Encodes frames interleaved frames; false on an encoder or write error.
    bool encode(const int16_t* samples, std::size_t frames);
    // Encodes what is staged, flushes the encoder and fills in the tag
    // frame; false on any error. The file stays open.
    bool finish();

private:
    bool encodeStaged();

    struct Closer {
        void operator()(lame_global_struct* gf) const;
    };
    std::unique_ptr<lame_global_struct, Closer> gf_;
    std::FILE* file_ = nullptr;
    int channels_ = 0;
    std::vector<int16_t> staging_;
    std::size_t staged_ = 0;  // samples waiting for a whole chunk
    std::vector<unsigned char> out_;
};
