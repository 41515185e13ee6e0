#include "model/audio/Mp3FeedLoop.h"

#include <mpg123.h>

#include <vector>

bool runMp3FeedLoop(const Mp3ReadBlock& read, const Mp3InputEnded& inputEnded, const Mp3DecodeCall& decode,
                    size_t blockSize)
{
    std::vector<unsigned char> input(blockSize);
    for (;;) {
        const size_t got = read(input.data(), input.size());
        if (got == 0) return true;
        int ret = decode(input.data(), got);
        // Only OK and NEW_FORMAT promise more output from the block already
        // fed; every other code ends the drain.
        while (ret == MPG123_OK || ret == MPG123_NEW_FORMAT) ret = decode(nullptr, 0);
        if (ret == MPG123_NEED_MORE) {
            if (inputEnded()) return true;
            continue;
        }
        // DONE ends the stream normally; ERR and the positive error codes fail.
        return ret == MPG123_DONE;
    }
}
