#include "model/audio/Mp3FeedLoop.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <deque>
#include <utility>
#include <vector>

namespace {

// A decoder that answers from a script and an input of `blocks` blocks.
struct ScriptedDecoder {
    explicit ScriptedDecoder(std::deque<int> script, int inputBlocks = 3) : codes(std::move(script)), blocks(inputBlocks) {}

    std::deque<int> codes;
    int blocks;
    int reads = 0;
    std::vector<size_t> inputSizes;

    bool run()
    {
        return runMp3FeedLoop(
            [this](unsigned char*, size_t capacity) { return reads < blocks ? (++reads, capacity) : size_t(0); },
            [this] { return reads >= blocks; },
            [this](const unsigned char* input, size_t size) {
                inputSizes.push_back(input ? size : 0);
                if (codes.empty()) {
                    ADD_FAILURE() << "decoder called after the script ended";
                    return int(MPG123_ERR);
                }
                const int code = codes.front();
                codes.pop_front();
                return code;
            },
            16);
    }
};

}  // namespace

TEST(Mp3FeedLoop, EndsOnEveryCode)
{
    // Each block is drained until the decoder needs more; the input's end
    // then ends the loop.
    ScriptedDecoder whole({MPG123_NEW_FORMAT, MPG123_OK, MPG123_NEED_MORE, MPG123_NEED_MORE, MPG123_OK,
                           MPG123_NEED_MORE});
    EXPECT_TRUE(whole.run());
    EXPECT_EQ(whole.inputSizes, (std::vector<size_t>{16, 0, 0, 16, 16, 0}));

    // The end of the stream stops the drain at once and is no failure.
    ScriptedDecoder done({MPG123_NEW_FORMAT, MPG123_OK, MPG123_DONE});
    EXPECT_TRUE(done.run());
    EXPECT_EQ(done.reads, 1);

    // ERR and the positive error codes end the loop as failures.
    for (int code : {int(MPG123_ERR), int(MPG123_BAD_OUTFORMAT), int(MPG123_OUT_OF_MEM)}) {
        ScriptedDecoder failing({MPG123_OK, code});
        EXPECT_FALSE(failing.run()) << code;
        EXPECT_TRUE(failing.codes.empty());
    }

    // An empty input never reaches the decoder.
    ScriptedDecoder empty({}, 0);
    EXPECT_TRUE(empty.run());
}
