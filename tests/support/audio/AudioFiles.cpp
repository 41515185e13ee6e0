#include "support/audio/AudioFiles.h"

#include <mpg123.h>

#include <fstream>
#include <iterator>

#include "support/audio/Mp3Fixture.h"

namespace hvtest {

std::vector<int16_t> wavSamples(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> out;
    for (size_t i = 44; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return out;
}

double DecodedMp3::hz(int channel) const
{
    std::vector<int16_t> one;
    for (size_t i = static_cast<size_t>(channel); i < pcm.size(); i += static_cast<size_t>(channels))
        one.push_back(pcm[i]);
    return zeroCrossingFrequency(one, 44100);
}

DecodedMp3 decodeMp3(const std::string& path)
{
    DecodedMp3 d;
    int encoding = 0, err = MPG123_ERR;
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_GAPLESS, 0.0);
    if (mpg123_open(h, path.c_str()) == MPG123_OK &&
        mpg123_getformat(h, &d.rate, &d.channels, &encoding) == MPG123_OK && encoding == MPG123_ENC_SIGNED_16) {
        int16_t buf[8192];
        size_t got = 0;
        do {
            err = mpg123_read(h, buf, sizeof buf, &got);
            d.pcm.insert(d.pcm.end(), buf, buf + got / 2);
        } while (err == MPG123_OK);
    }
    if (err != MPG123_DONE) d.channels = 0;
    mpg123_delete(h);
    return d;
}

}  // namespace hvtest
