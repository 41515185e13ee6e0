#pragma once
// The feed loop of a feed-mode MP3 decoder: input blocks go in one by one,
// and after each block the decoder is called without input until it asks
// for more.
#include <cstddef>
#include <functional>

// Fills the buffer with up to `capacity` input bytes; 0 at the end.
using Mp3ReadBlock = std::function<size_t(unsigned char* buffer, size_t capacity)>;
// True once the input can give no more bytes.
using Mp3InputEnded = std::function<bool()>;
// One decode call with the given input (none to drain); returns the
// decoder's code.
using Mp3DecodeCall = std::function<int(const unsigned char* input, size_t size)>;

// Runs the loop until the input ends, the stream is done or the decoder
// fails; false when it failed.
bool runMp3FeedLoop(const Mp3ReadBlock& read, const Mp3InputEnded& inputEnded, const Mp3DecodeCall& decode,
                    size_t blockSize);
